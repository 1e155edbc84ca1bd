#pragma once

#include "document/CellSet.h"
#include "document/Standard.h"

#include <QImage>

namespace vellumor::mapexport {

// The map as export draws it at scale 1, each cell not seen from `origin`
// shaded, the origin ringed.
QImage sightImage(const MapCodes &codes, CellPlace origin, const CellSet &seen);

} // namespace vellumor::mapexport
