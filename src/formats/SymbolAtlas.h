#pragma once

#include <QImage>

namespace vellumor::mapexport {

// The 64 symbol pictures in one 120 x 120 picture, 8 to a row in code order:
// symbol n stands at tile n - 1, as the Tiled tileset numbers its tiles.
QImage symbolAtlas();

} // namespace vellumor::mapexport
