// Our own PNG writer, because an enlarged picture repeats each row many times:
// filtered "Up" the repeats are all zeros and compress to the same bytes every
// time, so each is compressed once; Qt's writer can choose neither the filter
// nor reuse anything, and takes seven times as long.
#include "formats/EnlargedPng.h"

#include <QHash>
#include <QSet>
#include <QtEndian>

#include <algorithm>
#include <vector>
#include <zlib.h>

namespace vellumor::mapexport {

namespace {

void appendChunk(QByteArray &png, const char *type, const QByteArray &data)
{
    char length[4];
    qToBigEndian(quint32(data.size()), length);
    png.append(length, 4);
    const qsizetype start = png.size();
    png.append(type, 4);
    png.append(data);
    const uLong crc = crc32(
        0, reinterpret_cast<const Bytef *>(png.constData() + start), uInt(png.size() - start));
    char crcBytes[4];
    qToBigEndian(quint32(crc), crcBytes);
    png.append(crcBytes, 4);
}

// The picture as one byte per pixel with its palette when it has at most 256
// colours, which the map's pictures keep to; as three bytes per pixel otherwise.
struct Pixels
{
    QImage image;
    int bytesPerPixel;
};

Pixels compactPixels(const QImage &picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    QSet<QRgb> colours;
    for (int y = 0; y < rgb.height() && colours.size() <= 256; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        colours.unite(QSet<QRgb>(line, line + rgb.width()));
    }
    if (colours.size() <= 256) {
        // A set's order changes from process to process; sorted, the palette
        // and so the file are the same bytes on every run.
        QList<QRgb> palette(colours.begin(), colours.end());
        std::sort(palette.begin(), palette.end());
        return {rgb.convertToFormat(QImage::Format_Indexed8, palette, Qt::ThresholdDither), 1};
    }
    return {rgb.convertToFormat(QImage::Format_RGB888), 3};
}

// Raw deflate of independent pieces: each starts afresh, refers to nothing
// before it and ends on a byte boundary without ending the stream, so that
// pieces can be laid end to end in any order and repeated.
class Deflater
{
public:
    Deflater() { deflateInit2(&m_stream, 6, Z_DEFLATED, -15, 8, Z_RLE); }
    ~Deflater() { deflateEnd(&m_stream); }
    Deflater(const Deflater &) = delete;
    Deflater &operator=(const Deflater &) = delete;

    QByteArray piece(const QByteArray &data)
    {
        deflateReset(&m_stream);
        QByteArray output(
            qsizetype(deflateBound(&m_stream, uLong(data.size()))) + 16, Qt::Uninitialized);
        m_stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
        m_stream.avail_in = uInt(data.size());
        m_stream.next_out = reinterpret_cast<Bytef *>(output.data());
        m_stream.avail_out = uInt(output.size());
        deflate(&m_stream, Z_SYNC_FLUSH);
        output.truncate(output.size() - qsizetype(m_stream.avail_out));
        return output;
    }

private:
    z_stream m_stream {};
};

} // namespace

QByteArray encodeEnlargedPng(const QImage &picture, int width, int height)
{
    const Pixels pixels = compactPixels(picture);
    const QImage &source = pixels.image;
    const int bytesPerPixel = pixels.bytesPerPixel;

    QByteArray header(13, '\0');
    qToBigEndian(quint32(width), header.data());
    qToBigEndian(quint32(height), header.data() + 4);
    header[8] = 8; // bits per sample
    header[9] = bytesPerPixel == 1 ? 3 : 2; // palette or RGB
    QByteArray palette;
    for (const QRgb colour : source.colorTable()) {
        palette += char(qRed(colour));
        palette += char(qGreen(colour));
        palette += char(qBlue(colour));
    }

    std::vector<int> sourceOffset(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        sourceOffset[std::size_t(x)] = int(qint64(x) * source.width() / width) * bytesPerPixel;

    // The image data is a zlib stream of pieces compressed each on its own and
    // ended byte-aligned: each picture row enlarged, then its repeats. Repeats
    // of the same count compress to the same bytes, so they are compressed once.
    const qsizetype rowBytes = 1 + qsizetype(width) * bytesPerPixel;
    Deflater deflater;
    QByteArray stream("\x78\x01", 2);
    uLong checksum = adler32(0, nullptr, 0);
    QHash<int, std::pair<QByteArray, uLong>> repeats; // by count: compressed, checksum
    QByteArray row(rowBytes, '\0');
    int y = 0;
    while (y < height) {
        const int sourceRow = int(qint64(y) * source.height() / height);
        int count = 1;
        while (y + count < height && int(qint64(y + count) * source.height() / height) == sourceRow)
            ++count;
        const uchar *from = source.constScanLine(sourceRow);
        auto *to = reinterpret_cast<uchar *>(row.data()) + 1;
        for (int x = 0; x < width; ++x) {
            for (int b = 0; b < bytesPerPixel; ++b)
                to[x * bytesPerPixel + b] = from[sourceOffset[std::size_t(x)] + b];
        }
        stream += deflater.piece(row);
        checksum = adler32_combine(checksum,
            adler32(1, reinterpret_cast<const Bytef *>(row.constData()), uInt(row.size())),
            z_off_t(row.size()));
        if (count > 1) {
            auto found = repeats.find(count);
            if (found == repeats.end()) {
                // Filter "Up": every byte the same as the row above, so all zeros.
                QByteArray same(rowBytes * (count - 1), '\0');
                for (int i = 0; i < count - 1; ++i)
                    same[i * rowBytes] = 2;
                found = repeats.insert(count,
                    {deflater.piece(same),
                        adler32(1, reinterpret_cast<const Bytef *>(same.constData()),
                            uInt(same.size()))});
            }
            stream += found->first;
            checksum = adler32_combine(checksum, found->second, z_off_t(rowBytes * (count - 1)));
        }
        y += count;
    }
    stream += QByteArray("\x03\x00", 2); // an empty last block
    char checksumBytes[4];
    qToBigEndian(quint32(checksum), checksumBytes);
    stream.append(checksumBytes, 4);

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    appendChunk(png, "IHDR", header);
    if (bytesPerPixel == 1)
        appendChunk(png, "PLTE", palette);
    appendChunk(png, "IDAT", stream);
    appendChunk(png, "IEND", QByteArray());
    return png;
}

} // namespace vellumor::mapexport
