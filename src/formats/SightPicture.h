#pragma once

#include "document/CellGrid.h"
#include "document/Standard.h"

#include <QImage>

#include <bitset>

namespace vellumor::mapexport {

// The map as export draws it at scale 1, each cell not seen from `origin`
// shaded, the origin ringed. `seen` is in reading order, row by row.
QImage sightImage(const MapCodes &codes, CellPlace origin, const std::bitset<kCellCount> &seen);

} // namespace vellumor::mapexport
