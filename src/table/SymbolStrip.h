#pragma once

#include <QByteArray>

class QImage;

namespace vellumor::table {

// The 65 symbol pictures side by side as a PNG, 15 x 15 pixels each: code c
// at x = 15 c, code 0 (blank) white. The same for every map, so anyone may
// fetch it.
QByteArray symbolStripPng();

// The program's icon as a 32 x 32 PNG, served as the pages' favicon.
QByteArray programIconPng();

inline constexpr int kSymbolSize = 15;

// A picture the table serves, as PNG bytes.
QByteArray pngBytes(const QImage &image);

} // namespace vellumor::table
