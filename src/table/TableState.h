#pragma once

#include "document/Standard.h"

#include <QJsonValue>
#include <QString>

#include <bitset>
#include <optional>

namespace vellumor::table {

// Cells on the wire and in the state file are numbered in reading order:
// row * kMapColumns + column, row 0 at the top (not the map file's order).
using CellSet = std::bitset<kCellCount>;

constexpr int readingIndex(int column, int row)
{
    return row * kMapColumns + column;
}

// The map's codes, from the map file's order into reading order.
MapCodes inReadingOrder(const MapCodes &fileOrder);

// The part of the map the players' screens show, in cells.
struct Frame
{
    int column = 0;
    int row = 0;
    int columns = kMapColumns;
    int rows = kMapRows;
    friend bool operator==(const Frame &, const Frame &) = default;
};
using PlayerFrame = std::optional<Frame>; // nothing: the whole map

// What the players of one map may see, and what the GM holds ready for them.
struct MapState
{
    qint64 rev = 0;
    CellSet revealed;
    CellSet prepared;
    PlayerFrame frame;
    bool grid = true;

    // The same for anyone looking, whatever the revision.
    bool sameView(const MapState &other) const
    {
        return revealed == other.revealed && prepared == other.prepared && frame == other.frame
            && grid == other.grid;
    }
};

// "0011…", one character a cell.
QString cellSetText(const CellSet &cells);
std::optional<CellSet> parseCellSet(const QJsonValue &value);

// A JSON number that is a whole number from low to high, or nothing.
std::optional<qint64> jsonWholeNumber(const QJsonValue &value, qint64 low, qint64 high);

QJsonValue frameJson(const PlayerFrame &frame);
// A frame inside the map, at least one cell, or null; nothing when it is neither.
std::optional<PlayerFrame> parseFrame(const QJsonValue &value);

} // namespace vellumor::table
