#pragma once

#include "table/Table.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>

#include <optional>
#include <vector>

namespace vellumor::table {

// The messages the server sends, as JSON text. What a player receives is built
// from playerCodes alone, so a hidden cell's code never reaches a player.

// The map's codes as players see them, in reading order: -1 in every hidden cell.
std::array<int, kCellCount> playerCodes(const MapCodes &codes, const MapState &state);

// What every page is told of the table in each state and gm-state, so that
// none keeps constants of its own: the grid's size, the number of symbol
// pictures in /symbols.png, and the players' address (its QR code is
// /join.png).
QJsonObject tableFacts(const QString &joinAddress);

QByteArray playerState(const TableMap &map, qint64 view, const QJsonObject &facts);
// What players must apply to go from before (with codesBefore) to the map as
// it is now.
QByteArray playerChange(const TableMap &map, qint64 view, const Applied &applied);

// The GM's whole state, sent after every change. Qt's JSON writer would turn
// each map's 875 codes into text again every time, most of a reveal's cost;
// the codes change only with the map file, so their text is kept per version
// of them and set into the objects Qt writes for everything else.
class GmStateMessages
{
public:
    QByteArray message(const Table &table, const QJsonObject &facts);

private:
    struct Cells
    {
        MapCodes codes;
        QByteArray json; // "cells":[...],
    };
    std::vector<Cells> m_cells;
};

struct PlayerStatus
{
    int id;
    bool upToDate;
    std::optional<Screen> screen; // as the page said it
    QString name; // the GM's name for the screen
    bool operator==(const PlayerStatus &) const = default;
};
QByteArray playersMessage(const std::vector<PlayerStatus> &players);

QByteArray noticeMessage(const QString &level, const QString &text);

// To the GMs after an undo or redo: "Undid: revealed the inn on castle.map".
QByteArray steppedMessage(const Applied::Stepped &stepped, const QString &mapName);
// To the players of the map: a ring where the GM points; only the cell's
// place, never its code.
QByteArray pointerMessage(const Point &point);

// Sent to a GM whose secret was refused, just before the connection closes.
QByteArray refusedMessage(const QString &text);

QByteArray compact(const QJsonObject &object);

} // namespace vellumor::table
