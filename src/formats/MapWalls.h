#pragma once

#include "document/Standard.h"

#include <QLineF>
#include <QList>
#include <QPolygonF>

namespace vellumor::mapexport {

// The lines that block sight on a map, in cells from the map's top left
// corner. Walls come as the fewest polylines: runs that meet at a corner or
// pass straight through a guard post are one polyline, a ring without a gate
// is closed (its first point repeated last), and no two polylines end at the
// same point. Each gate is a line of its own across its opening, between the
// ends of the wall on either side.
struct MapWalls
{
    QList<QPolygonF> walls;
    QList<QLineF> gates;
};

MapWalls mapWalls(const MapCodes &codes);

} // namespace vellumor::mapexport
