#include "formats/TileData.h"

#include "document/CellGrid.h"
#include "formats/BoundedInflate.h"

#include <QByteArray>

#include <charconv>

namespace vellumor::tiledata {

namespace {

QString shown(QByteArrayView text)
{
    constexpr qsizetype kShownLength = 20;
    QString shownText = QString::fromUtf8(text.first(qMin(text.size(), kShownLength)));
    if (text.size() > kShownLength)
        shownText += QStringLiteral("...");
    return QLatin1Char('"') + shownText + QLatin1Char('"');
}

// A whole decimal number with blanks around it, or nothing.
std::optional<quint64> wholeNumber(QByteArrayView field)
{
    field = field.trimmed();
    if (field.isEmpty() || field.size() > 12)
        return std::nullopt;
    quint64 value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size())
        return std::nullopt;
    return value;
}

} // namespace

std::optional<QString> readRow(QByteArrayView line, MapCodes &codes, int row)
{
    if (line.trimmed().isEmpty())
        return QStringLiteral("the row is empty; a row has %1 codes").arg(kMapColumns);
    int column = 0;
    qsizetype at = 0;
    while (at <= line.size()) {
        qsizetype end = line.indexOf(',', at);
        if (end < 0)
            end = line.size();
        if (column == kMapColumns) {
            return QStringLiteral("the row has more than %1 codes").arg(kMapColumns);
        }
        const QByteArrayView field = line.sliced(at, end - at);
        const auto value = wholeNumber(field);
        if (!value) {
            return QStringLiteral("code %1 of the row, %2, is not a whole number")
                .arg(column + 1)
                .arg(shown(field.trimmed()));
        }
        if (!isSymbolCode(int(qMin<quint64>(*value, 100000)))) {
            return QStringLiteral("code %1 of the row, %2, is not a symbol code (0 to %3)")
                .arg(column + 1)
                .arg(*value)
                .arg(kHighestSymbolCode);
        }
        codes[std::size_t(cellIndex(column, row))] = SymbolCode(*value);
        ++column;
        at = end + 1;
    }
    if (column < kMapColumns)
        return QStringLiteral("the row has %1 codes; a row has %2").arg(column).arg(kMapColumns);
    return std::nullopt;
}

std::variant<TileNumbers, formats::FormatError> parseCsvTiles(
    QByteArrayView text, int firstLine, QList<int> *lines)
{
    TileNumbers tiles;
    tiles.reserve(kCellCount);
    int line = firstLine;
    qsizetype at = 0;
    while (at < text.size()) {
        qsizetype end = at;
        while (end < text.size() && text[end] != ',' && text[end] != '\n')
            ++end;
        const QByteArrayView field = text.sliced(at, end - at);
        const bool atLineEnd = end < text.size() && text[end] == '\n';
        // A line may end with a comma and the text with blanks: nothing between.
        if (!field.trimmed().isEmpty() || (end < text.size() && text[end] == ',')) {
            const auto value = wholeNumber(field);
            if (!value || *value > 0xFFFFFFFFu)
                return formats::FormatError {line,
                    QStringLiteral("tile %1 is not a tile number").arg(shown(field.trimmed()))};
            if (tiles.size() == kCellCount)
                return formats::FormatError {
                    line, QStringLiteral("the layer holds more than %1 tiles").arg(kCellCount)};
            tiles.append(quint32(*value));
            if (lines)
                lines->append(line);
        }
        if (atLineEnd)
            ++line;
        at = end + 1;
    }
    if (tiles.size() != kCellCount)
        return formats::FormatError {line,
            QStringLiteral("the layer holds %1 tiles; a map has %2")
                .arg(tiles.size())
                .arg(kCellCount)};
    return tiles;
}

std::variant<TileNumbers, QString> parseBase64Tiles(QByteArrayView text, Compression compression)
{
    constexpr qsizetype kBytes = kCellCount * 4;
    const auto decoded = QByteArray::fromBase64Encoding(
        text.trimmed().toByteArray(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return QStringLiteral("the layer data is not valid base64");
    QByteArray bytes = *decoded;
    if (compression != Compression::None) {
        const auto inflated = formats::inflateBounded(bytes, kBytes);
        if (!inflated) {
            return QStringLiteral("the compressed layer data is damaged or unpacks to more "
                                  "than %1 tiles")
                .arg(kCellCount);
        }
        bytes = *inflated;
    }
    if (bytes.size() != kBytes) {
        return QStringLiteral("the layer data holds %1 bytes; %2 tiles take %3")
            .arg(bytes.size())
            .arg(kCellCount)
            .arg(kBytes);
    }
    TileNumbers tiles;
    tiles.reserve(kCellCount);
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    for (int i = 0; i < kCellCount; ++i) {
        const uchar *p = data + i * 4;
        tiles.append(
            quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24);
    }
    return tiles;
}

std::variant<Compression, QString> compressionNamed(QStringView name)
{
    if (name.isEmpty())
        return Compression::None;
    if (name == QLatin1String("zlib"))
        return Compression::Zlib;
    if (name == QLatin1String("gzip"))
        return Compression::Gzip;
    return QStringLiteral("the layer data is compressed with %1; only zlib and gzip are read")
        .arg(name);
}

} // namespace vellumor::tiledata
