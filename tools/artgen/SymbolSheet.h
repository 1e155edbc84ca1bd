#pragma once

#include <QImage>

#include <array>

namespace vellumor::art {

// A printable overview of the symbol pictures: every symbol at four times its
// size with its code and name, then the pieces that belong together assembled,
// a river, a walled yard and patches of the ground tiles.
QImage symbolSheet(const std::array<QImage, 65> &pictures);

} // namespace vellumor::art
