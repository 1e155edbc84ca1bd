#pragma once

#include "document/Standard.h"

#include <QImage>
#include <QList>
#include <QPoint>
#include <QStringList>

namespace vellumor::mapexport {

// One line per cell that differs, in cell order, its column and row counted
// from 0 at the top left: "column 17, row 12: Blank -> Water".
QStringList diffLines(const MapCodes &before, const MapCodes &after);

// The .png export of after, each cell that differs from before outlined.
QImage diffImage(const MapCodes &before, const MapCodes &after);

// Warnings are framed in amber, errors in the red a diff marks changes with:
// apart in lightness as well as in hue, for readers who tell red from yellow
// poorly.
inline constexpr QRgb kWarningAmber = qRgb(255, 200, 0);

// The .png export of codes with each cell lint names framed, columns in x and
// rows in y: those it warns of in amber, those with an error in red, the red
// seen where a cell has both.
QImage findingsImage(
    const MapCodes &codes, const QList<QPoint> &warnings, const QList<QPoint> &errors);

} // namespace vellumor::mapexport
