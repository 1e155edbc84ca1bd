#include "pictures/BmpImage.h"

#include <QtEndian>

#include <cstdint>
#include <cstdlib>

namespace vellumor::bmp {

namespace {

constexpr quint16 kSignature = 0x4D42; // "BM" read little-endian
constexpr quint32 kUncompressed = 0;

// Sixteen base colours, a 6 x 6 x 6 colour cube and a grey ramp: 256 entries.
std::array<QRgb, kColourTableEntries> makeColourTable()
{
    std::array<QRgb, kColourTableEntries> table {};
    constexpr std::array<QRgb, 16> base {
        0x000000,
        0x800000,
        0x008000,
        0x808000,
        0x000080,
        0x800080,
        0x008080,
        0xC0C0C0,
        0x808080,
        0xFF0000,
        0x00FF00,
        0xFFFF00,
        0x0000FF,
        0xFF00FF,
        0x00FFFF,
        0xFFFFFF,
    };
    std::size_t next = 0;
    for (QRgb colour : base)
        table[next++] = colour;
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b)
                table[next++] = qRgb(r * 51, g * 51, b * 51) & 0xFFFFFF;
        }
    }
    for (int grey = 0; next < table.size(); ++grey) {
        const int level = 8 + grey * 10;
        table[next++] = qRgb(level, level, level) & 0xFFFFFF;
    }
    return table;
}

class Reader
{
public:
    explicit Reader(QByteArrayView bytes)
        : m_bytes(bytes)
    { }
    bool has(qsizetype offset, qsizetype length) const
    {
        return offset >= 0 && length >= 0 && offset <= m_bytes.size()
            && length <= m_bytes.size() - offset;
    }
    quint16 u16(qsizetype offset) const
    {
        return qFromLittleEndian<quint16>(m_bytes.data() + offset);
    }
    quint32 u32(qsizetype offset) const
    {
        return qFromLittleEndian<quint32>(m_bytes.data() + offset);
    }
    qint32 s32(qsizetype offset) const
    {
        return qFromLittleEndian<qint32>(m_bytes.data() + offset);
    }
    const uchar *at(qsizetype offset) const
    {
        return reinterpret_cast<const uchar *>(m_bytes.data() + offset);
    }

private:
    QByteArrayView m_bytes;
};

class Writer
{
public:
    explicit Writer(QByteArray &bytes)
        : m_bytes(bytes)
    { }
    void u16(quint16 value) { put(qToLittleEndian(value)); }
    void u32(quint32 value) { put(qToLittleEndian(value)); }
    void s32(qint32 value) { put(qToLittleEndian(value)); }
    void byte(uchar value) { m_bytes.append(char(value)); }

private:
    template<typename T> void put(T littleEndian)
    {
        m_bytes.append(reinterpret_cast<const char *>(&littleEndian), sizeof littleEndian);
    }
    QByteArray &m_bytes;
};

} // namespace

const std::array<QRgb, kColourTableEntries> &colourTable()
{
    static const auto table = makeColourTable();
    return table;
}

std::optional<QImage> decode(QByteArrayView bytes)
{
    const Reader in(bytes);
    if (!in.has(0, kFileHeaderSize + kInfoHeaderSize) || in.u16(0) != kSignature)
        return std::nullopt;

    const quint32 pixelOffset = in.u32(10);
    const quint32 infoSize = in.u32(14);
    if (infoSize < quint32(kInfoHeaderSize) || !in.has(kFileHeaderSize, qsizetype(infoSize)))
        return std::nullopt;

    const qint32 width = in.s32(18);
    const qint32 storedHeight = in.s32(22);
    if (in.u16(26) != 1 || in.u16(28) != 24 || in.u32(30) != kUncompressed)
        return std::nullopt;
    if (width <= 0 || width > kLargestSide || storedHeight == 0 || storedHeight < -kLargestSide
        || storedHeight > kLargestSide)
        return std::nullopt;

    const bool bottomUp = storedHeight > 0;
    const int height = std::abs(storedHeight);
    const qsizetype rowSize = storedRowSize(width);
    if (pixelOffset < quint32(kFileHeaderSize) + infoSize
        || !in.has(qsizetype(pixelOffset), rowSize * height))
        return std::nullopt;

    QImage image(width, height, QImage::Format_RGB888);
    if (image.isNull())
        return std::nullopt;
    for (int y = 0; y < height; ++y) {
        const int storedRow = bottomUp ? height - 1 - y : y;
        const uchar *source = in.at(qsizetype(pixelOffset) + storedRow * rowSize);
        uchar *target = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            target[3 * x] = source[3 * x + 2];
            target[3 * x + 1] = source[3 * x + 1];
            target[3 * x + 2] = source[3 * x];
        }
    }
    return image;
}

QByteArray encode(const QImage &image)
{
    if (image.isNull() || image.width() > kLargestSide || image.height() > kLargestSide)
        return {};
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const qsizetype rowSize = storedRowSize(rgb.width());
    const qsizetype pixelBytes = rowSize * rgb.height();

    QByteArray bytes;
    bytes.reserve(kPixelDataOffset + pixelBytes);
    Writer out(bytes);
    out.u16(kSignature);
    out.u32(quint32(kPixelDataOffset + pixelBytes));
    out.u32(0); // reserved
    out.u32(kPixelDataOffset);

    out.u32(kInfoHeaderSize);
    out.s32(rgb.width());
    out.s32(rgb.height());
    out.u16(1); // planes
    out.u16(24); // bits per pixel
    out.u32(kUncompressed);
    out.u32(0); // image size, may be 0 when uncompressed
    out.s32(kPixelsPerMetre);
    out.s32(kPixelsPerMetre);
    out.u32(0); // colours used
    out.u32(kColourTableEntries); // colours important

    for (QRgb colour : colourTable()) {
        out.byte(uchar(qBlue(colour)));
        out.byte(uchar(qGreen(colour)));
        out.byte(uchar(qRed(colour)));
        out.byte(0);
    }

    for (int y = rgb.height() - 1; y >= 0; --y) {
        const uchar *source = rgb.constScanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            out.byte(source[3 * x + 2]);
            out.byte(source[3 * x + 1]);
            out.byte(source[3 * x]);
        }
        for (qsizetype pad = qsizetype(rgb.width()) * 3; pad < rowSize; ++pad)
            out.byte(0);
    }
    return bytes;
}

} // namespace vellumor::bmp
