#pragma once

#include "document/Standard.h"

#include <QLineF>
#include <QList>

namespace vellumor::maptool {

// The lines that block sight on a map, in cells from the map's top left
// corner: each straight run of wall joined into one line, and each gate a line
// of its own across its opening.
struct MapWalls
{
    QList<QLineF> walls;
    QList<QLineF> gates;
};

MapWalls mapWalls(const MapCodes &codes);

} // namespace vellumor::maptool
