#include "table/TableState.h"

#include "document/CellGrid.h"

#include <QJsonArray>
#include <QJsonObject>

namespace vellumor::table {

MapCodes inReadingOrder(const MapCodes &fileOrder)
{
    MapCodes codes {};
    for (int index = 0; index < kCellCount; ++index) {
        const CellPlace place = cellPlace(index);
        codes[std::size_t(readingIndex(place))] = fileOrder[std::size_t(index)];
    }
    return codes;
}

QString cellSetText(const CellSet &cells)
{
    QString text(kCellCount, QLatin1Char('0'));
    for (int index = 0; index < kCellCount; ++index) {
        if (cells[std::size_t(index)])
            text[index] = QLatin1Char('1');
    }
    return text;
}

std::optional<CellSet> parseCellSet(const QJsonValue &value)
{
    const QString text = value.toString();
    if (!value.isString() || text.size() != kCellCount)
        return std::nullopt;
    CellSet cells;
    for (int index = 0; index < kCellCount; ++index) {
        if (text[index] == QLatin1Char('1'))
            cells.set(std::size_t(index));
        else if (text[index] != QLatin1Char('0'))
            return std::nullopt;
    }
    return cells;
}

QJsonValue frameJson(const PlayerFrame &frame)
{
    if (!frame)
        return QJsonValue::Null;
    return QJsonObject {{QStringLiteral("column"), frame->left},
        {QStringLiteral("row"), frame->top}, {QStringLiteral("columns"), frame->width()},
        {QStringLiteral("rows"), frame->height()}};
}

std::optional<qint64> jsonWholeNumber(const QJsonValue &value, qint64 low, qint64 high)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (!(number >= double(low) && number <= double(high)) || number != double(qint64(number)))
        return std::nullopt;
    return qint64(number);
}

namespace {

std::optional<int> wholeNumber(const QJsonObject &object, const QString &key, int low, int high)
{
    const auto number = jsonWholeNumber(object.value(key), low, high);
    return number ? std::optional<int>(int(*number)) : std::nullopt;
}

} // namespace

std::optional<PlayerFrame> parseFrame(const QJsonValue &value)
{
    if (value.isNull())
        return PlayerFrame {};
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const auto column = wholeNumber(object, QStringLiteral("column"), 0, kMapColumns - 1);
    const auto row = wholeNumber(object, QStringLiteral("row"), 0, kMapRows - 1);
    const auto columns = wholeNumber(object, QStringLiteral("columns"), 1, kMapColumns);
    const auto rows = wholeNumber(object, QStringLiteral("rows"), 1, kMapRows);
    if (!column || !row || !columns || !rows || *column + *columns > kMapColumns
        || *row + *rows > kMapRows)
        return std::nullopt;
    return PlayerFrame {CellRect {*column, *row, *column + *columns - 1, *row + *rows - 1}};
}

QJsonValue partyJson(const Party &party, const CellSet *shown)
{
    QJsonArray markers;
    for (int colour = 0; colour < kMarkerColours; ++colour) {
        const int cell = party[std::size_t(colour)];
        if (cell == kNoMarker || (shown && !(*shown)[std::size_t(cell)]))
            continue;
        markers.append(
            QJsonObject {{QStringLiteral("colour"), colour}, {QStringLiteral("cell"), cell}});
    }
    return markers;
}

std::optional<Party> parseParty(const QJsonValue &value)
{
    if (!value.isArray() || value.toArray().size() > kMarkerColours)
        return std::nullopt;
    Party party = kNoParty;
    for (const QJsonValue &each : value.toArray()) {
        const QJsonObject marker = each.toObject();
        const auto colour = wholeNumber(marker, QStringLiteral("colour"), 0, kMarkerColours - 1);
        const auto cell = jsonWholeNumber(
            marker.value(QStringLiteral("cell")), -(qint64(1) << 53), qint64(1) << 53);
        if (!each.isObject() || marker.size() != 2 || !colour || !cell
            || party[std::size_t(*colour)] != kNoMarker)
            return std::nullopt;
        party[std::size_t(*colour)] = *cell < 0 || *cell >= kCellCount ? kCellCount : int(*cell);
    }
    return party;
}

QJsonValue rangeJson(const SightRange &range)
{
    return range ? QJsonValue(*range) : QJsonValue(QJsonValue::Null);
}

std::optional<SightRange> parseRange(const QJsonValue &value)
{
    std::optional<SightRange> parsed;
    if (value.isNull()) {
        parsed.emplace(std::nullopt);
        return parsed;
    }
    if (const auto number = jsonWholeNumber(value, -(qint64(1) << 53), qint64(1) << 53))
        parsed.emplace(*number >= 1 && *number <= kLongestRange ? int(*number) : 0);
    return parsed;
}

} // namespace vellumor::table
