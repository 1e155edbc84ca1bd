#pragma once

#include "table/Table.h"

#include <QByteArray>
#include <QJsonObject>

namespace vellumor::table {

// The messages the server sends, as JSON text. What a player receives is built
// from playerCodes alone, so a hidden cell's code never reaches a player.

// The map's codes as players see them, in reading order: -1 in every hidden cell.
std::array<int, kCellCount> playerCodes(const MapCodes &codes, const MapState &state);

QByteArray playerState(const TableMap &map, qint64 view);
// What players must apply to go from before (with codesBefore) to the map as
// it is now.
QByteArray playerChange(const TableMap &map, qint64 view, const Applied &applied);

QByteArray gmState(const Table &table);

struct PlayerStatus
{
    int id;
    bool upToDate;
};
QByteArray playersMessage(const std::vector<PlayerStatus> &players);

QByteArray noticeMessage(const QString &level, const QString &text);

QByteArray compact(const QJsonObject &object);

} // namespace vellumor::table
