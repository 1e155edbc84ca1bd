#include "formats/CsvFormat.h"

#include "document/CellGrid.h"
#include "formats/TileData.h"

namespace vellumor::csvformat {

using formats::FormatError;

QByteArray encode(const MapCodes &codes)
{
    QByteArray text;
    text.reserve(kCellCount * 3 + kMapRows);
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            if (column > 0)
                text += ',';
            text += QByteArray::number(codes[std::size_t(cellIndex(column, row))]);
        }
        text += '\n';
    }
    return text;
}

namespace {

bool isBlankLine(QByteArrayView line)
{
    return line.trimmed().isEmpty();
}

} // namespace

std::variant<MapCodes, FormatError> decode(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    MapCodes codes {};
    int row = 0;
    int lineNumber = 0;
    qsizetype at = 0;
    while (at < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', at);
        if (end < 0)
            end = bytes.size();
        QByteArrayView line = bytes.sliced(at, end - at);
        at = end + 1;
        ++lineNumber;
        if (line.endsWith('\r'))
            line.chop(1);
        if (row == kMapRows) {
            if (isBlankLine(line))
                continue;
            return FormatError {
                lineNumber, QStringLiteral("a map has %1 rows; this is one more").arg(kMapRows)};
        }
        const auto problem = tiledata::readRow(line, codes, row);
        if (problem)
            return FormatError {lineNumber, *problem};
        ++row;
    }
    if (row < kMapRows) {
        return FormatError {lineNumber + 1,
            QStringLiteral("the file ends after %1 rows; a map has %2").arg(row).arg(kMapRows)};
    }
    return codes;
}

} // namespace vellumor::csvformat
