#include "table/TableMessages.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace vellumor::table {

namespace {

QJsonArray numbers(const auto &values)
{
    QJsonArray array;
    for (const int value : values)
        array.append(value);
    return array;
}

} // namespace

QByteArray compact(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::array<int, kCellCount> playerCodes(const MapCodes &codes, const MapState &state)
{
    const MapCodes inOrder = inReadingOrder(codes);
    std::array<int, kCellCount> seen {};
    for (std::size_t index = 0; index < seen.size(); ++index)
        seen[index] = state.revealed[index] ? int(inOrder[index]) : -1;
    return seen;
}

QJsonObject tableFacts(const QString &joinAddress)
{
    return {{QStringLiteral("columns"), kMapColumns}, {QStringLiteral("rows"), kMapRows},
        {QStringLiteral("symbols"), int(kHighestSymbolCode) + 1},
        {QStringLiteral("join"), joinAddress}};
}

QByteArray playerState(const TableMap &map, qint64 view, const QJsonObject &facts)
{
    return compact(
        {{QStringLiteral("type"), QStringLiteral("state")}, {QStringLiteral("table"), facts},
            {QStringLiteral("view"), view}, {QStringLiteral("rev"), map.state.rev},
            {QStringLiteral("cells"), numbers(playerCodes(map.codes, map.state))},
            {QStringLiteral("frame"), frameJson(map.state.frame)},
            {QStringLiteral("grid"), map.state.grid},
            {QStringLiteral("party"), partyJson(map.state.party, &map.state.revealed)}});
}

QByteArray playerChange(const TableMap &map, qint64 view, const Applied &applied)
{
    QJsonObject change {{QStringLiteral("type"), QStringLiteral("change")},
        {QStringLiteral("view"), view}, {QStringLiteral("rev"), map.state.rev},
        {QStringLiteral("base"), applied.before.rev}};
    const auto before = playerCodes(applied.codesBefore, applied.before);
    const auto after = playerCodes(map.codes, map.state);
    QJsonArray cells;
    for (int index = 0; index < kCellCount; ++index) {
        if (before[std::size_t(index)] != after[std::size_t(index)])
            cells.append(QJsonArray {index, after[std::size_t(index)]});
    }
    if (!cells.isEmpty())
        change.insert(QStringLiteral("cells"), cells);
    if (applied.before.frame != map.state.frame)
        change.insert(QStringLiteral("frame"), frameJson(map.state.frame));
    if (applied.before.grid != map.state.grid)
        change.insert(QStringLiteral("grid"), map.state.grid);
    // Only the markers on cells the players see; one that stands on a hidden
    // cell is not there for them.
    const QJsonValue partyBefore = partyJson(applied.before.party, &applied.before.revealed);
    const QJsonValue party = partyJson(map.state.party, &map.state.revealed);
    if (party != partyBefore)
        change.insert(QStringLiteral("party"), party);
    return compact(change);
}

QByteArray GmStateMessages::message(const Table &table, const QJsonObject &facts)
{
    m_cells.resize(table.maps().size());
    QByteArray maps = "[";
    for (std::size_t index = 0; index < m_cells.size(); ++index) {
        const TableMap &map = table.maps()[index];
        Cells &cells = m_cells[index];
        if (cells.json.isEmpty() || cells.codes != map.codes) {
            cells = {map.codes,
                "\"cells\":"
                    + QJsonDocument(numbers(inReadingOrder(map.codes)))
                          .toJson(QJsonDocument::Compact)
                    + ','};
        }
        QByteArray object
            = compact({{QStringLiteral("name"), map.name}, {QStringLiteral("rev"), map.state.rev},
                {QStringLiteral("revealed"), cellSetText(map.state.revealed)},
                {QStringLiteral("prepared"), cellSetText(map.state.prepared)},
                {QStringLiteral("frame"), frameJson(map.state.frame)},
                {QStringLiteral("grid"), map.state.grid},
                {QStringLiteral("party"), partyJson(map.state.party)},
                {QStringLiteral("follow"), map.state.follow},
                {QStringLiteral("range"), rangeJson(map.state.range)}});
        maps += (index ? "," : "") + object.insert(1, cells.json);
    }
    maps += "],";
    return compact(
        {{QStringLiteral("type"), QStringLiteral("gm-state")}, {QStringLiteral("table"), facts},
            {QStringLiteral("shown"), table.shown()}, {QStringLiteral("canUndo"), table.canUndo()},
            {QStringLiteral("canRedo"), table.canRedo()}})
        .insert(1, "\"maps\":" + maps);
}

QByteArray playersMessage(const std::vector<PlayerStatus> &players)
{
    QJsonArray list;
    int upToDate = 0;
    for (const PlayerStatus &player : players) {
        upToDate += player.upToDate ? 1 : 0;
        QJsonObject each {
            {QStringLiteral("id"), player.id}, {QStringLiteral("upToDate"), player.upToDate}};
        if (player.screen) {
            // The screen's id stays with the server: it names the screen to
            // whoever holds it, and the GM names screens by connection.
            each.insert(QStringLiteral("screen"),
                QJsonObject {{QStringLiteral("kind"), player.screen->kind},
                    {QStringLiteral("width"), player.screen->width},
                    {QStringLiteral("height"), player.screen->height}});
        }
        if (!player.name.isEmpty())
            each.insert(QStringLiteral("name"), player.name);
        list.append(each);
    }
    return compact({{QStringLiteral("type"), QStringLiteral("players")},
        {QStringLiteral("count"), int(players.size())}, {QStringLiteral("upToDate"), upToDate},
        {QStringLiteral("players"), list}});
}

QByteArray noticeMessage(const QString &level, const QString &text)
{
    return compact({{QStringLiteral("type"), QStringLiteral("notice")},
        {QStringLiteral("level"), level}, {QStringLiteral("text"), text}});
}

QByteArray steppedMessage(const Applied::Stepped &stepped, const QString &mapName)
{
    const QString text
        = (stepped.undo ? QStringLiteral("Undid: %1 on %2") : QStringLiteral("Redid: %1 on %2"))
              .arg(stepped.what, mapName);
    return compact({{QStringLiteral("type"), QStringLiteral("stepped")},
        {QStringLiteral("undo"), stepped.undo}, {QStringLiteral("map"), stepped.map},
        {QStringLiteral("what"), stepped.what}, {QStringLiteral("text"), text}});
}

QByteArray pointerMessage(const Point &point)
{
    return compact({{QStringLiteral("type"), QStringLiteral("pointer")},
        {QStringLiteral("map"), point.map}, {QStringLiteral("cell"), point.cell}});
}

QByteArray refusedMessage(const QString &text)
{
    return compact(
        {{QStringLiteral("type"), QStringLiteral("refused")}, {QStringLiteral("text"), text}});
}

} // namespace vellumor::table
