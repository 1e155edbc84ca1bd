#pragma once

#include "document/Standard.h"

#include <QColor>
#include <QImage>

class QPainter;

namespace vellumor::mapexport {

// The pictures' own size: 15 x 15 pixels a cell, so 525 x 375 for the map.
inline constexpr int kPictureSize = 15;
inline constexpr int kMaxPngScale = 16;

// The map at the pictures' own size with no margins, blank cells white, every
// pixel enlarged to scale x scale. Grid lines are one pixel wide at any scale:
// along each cell's top and left edge and the map's right and bottom edge.
QImage exportImage(const MapCodes &codes, int scale, bool gridLines);

QByteArray encodePng(const QImage &image);

// The colour a cell is marked in on the pictures that point cells out.
inline constexpr QRgb kMarkRed = qRgb(230, 0, 0);

// Frames the cell at column and row of a picture exportImage drew at scale 1:
// two pixels wide inside the cell, so that neighbours' frames stay apart.
void outlineCell(QPainter &painter, int column, int row, const QColor &colour);

} // namespace vellumor::mapexport
