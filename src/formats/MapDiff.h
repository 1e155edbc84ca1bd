#pragma once

#include "document/Standard.h"

#include <QImage>
#include <QStringList>

namespace vellumor::mapexport {

// One line per cell that differs, in cell order, its column and row counted
// from 0 at the top left: "column 17, row 12: Blank -> Water".
QStringList diffLines(const MapCodes &before, const MapCodes &after);

// The .png export of after, each cell that differs from before outlined.
QImage diffImage(const MapCodes &before, const MapCodes &after);

} // namespace vellumor::mapexport
