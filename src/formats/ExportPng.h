#pragma once

#include "document/Standard.h"

#include <QImage>

namespace vellumor::mapexport {

// The pictures' own size: 15 x 15 pixels a cell, so 525 x 375 for the map.
inline constexpr int kPictureSize = 15;
inline constexpr int kMaxPngScale = 16;

// The map at the pictures' own size with no margins, blank cells white, every
// pixel enlarged to scale x scale. Grid lines are one pixel wide at any scale:
// along each cell's top and left edge and the map's right and bottom edge.
QImage exportImage(const MapCodes &codes, int scale, bool gridLines);

QByteArray encodePng(const QImage &image);

} // namespace vellumor::mapexport
