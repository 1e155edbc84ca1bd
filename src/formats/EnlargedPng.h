#pragma once

#include <QByteArray>
#include <QImage>

namespace vellumor::mapexport {

// A PNG of picture enlarged without smoothing to width x height: each target
// pixel shows the picture pixel it falls in, counted in whole numbers
// (x * picture width / width), so that the edges of equal blocks of the picture
// fall exactly on multiples of the enlargement.
QByteArray encodeEnlargedPng(const QImage &picture, int width, int height);

} // namespace vellumor::mapexport
