#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

#include <array>
#include <optional>

namespace vellumor::bmp {

// The layout every symbol picture is stored in: a 14-byte file header, a
// 40-byte information header, a 256-entry colour table that 24-bit pixels do
// not index, then the pixel rows bottom-up, each padded to four bytes.
inline constexpr int kFileHeaderSize = 14;
inline constexpr int kInfoHeaderSize = 40;
inline constexpr int kColourTableEntries = 256;
inline constexpr int kPixelDataOffset = kFileHeaderSize + kInfoHeaderSize + 4 * kColourTableEntries;
inline constexpr qint32 kPixelsPerMetre = 14173; // 360 dots per inch
inline constexpr int kLargestSide = 4096; // refuses absurd sizes before allocating

// The colour table written into every file; the same in all of them.
const std::array<QRgb, kColourTableEntries> &colourTable();

// Bytes of a picture's pixel rows as stored: each row holds three bytes a pixel,
// padded with zeros to a multiple of four.
constexpr qsizetype storedRowSize(int width)
{
    return (qsizetype(width) * 3 + 3) / 4 * 4;
}

// Reads an uncompressed 24-bit bitmap (information header of 40 bytes or any
// later, larger kind; rows bottom-up, or top-down when the height is negative).
// The pixels are taken from the offset the file header gives. Anything else,
// truncated or inconsistent input included, gives nothing.
std::optional<QImage> decode(QByteArrayView bytes);

// Writes an image in the stored layout above. A null image gives an empty
// array; an image wider or taller than kLargestSide likewise.
QByteArray encode(const QImage &image);

} // namespace vellumor::bmp
