#pragma once

#include "document/CellSet.h"
#include "document/Standard.h"

#include <QJsonValue>
#include <QString>

#include <array>
#include <optional>

namespace vellumor::table {

// Cells on the wire and in the state file are numbered in reading order
// (readingIndex), not the map file's order.

// The map's codes, from the map file's order into reading order.
MapCodes inReadingOrder(const MapCodes &fileOrder);

// The part of the map the players' screens show; on the wire as its top left
// cell and its size, {"column", "row", "columns", "rows"}.
using PlayerFrame = std::optional<CellRect>; // nothing: the whole map

// The party on the map: up to six markers, one of each colour, each on a cell
// in reading order, or kNoMarker where that colour is not placed.
inline constexpr int kMarkerColours = 6;
inline constexpr int kNoMarker = -1;
using Party = std::array<int, kMarkerColours>;
inline constexpr Party kNoParty {kNoMarker, kNoMarker, kNoMarker, kNoMarker, kNoMarker, kNoMarker};

// How far the party sees, in cells between centres; nothing is daylight (as far
// as the map goes). A torch lights kTorchRange.
using SightRange = std::optional<int>;
inline constexpr int kTorchRange = 4;
inline constexpr int kLongestRange = 99;

// What the players of one map may see, and what the GM holds ready for them.
struct MapState
{
    qint64 rev = 0;
    CellSet revealed;
    CellSet prepared;
    PlayerFrame frame;
    bool grid = true;
    Party party = kNoParty;
    // Every move of the party reveals what it sees from where it stands.
    bool follow = false;
    SightRange range;

    // The same for anyone looking, whatever the revision.
    bool sameView(const MapState &other) const
    {
        return revealed == other.revealed && prepared == other.prepared && frame == other.frame
            && grid == other.grid && party == other.party && follow == other.follow
            && range == other.range;
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

// [{"colour":0,"cell":36},…], placed markers only, by colour; with `shown`,
// only the markers on cells in it.
QJsonValue partyJson(const Party &party, const CellSet *shown = nullptr);
// At most one marker of each colour, each with exactly a colour and a cell; a
// cell off the map is read as kCellCount, for the table to refuse.
std::optional<Party> parseParty(const QJsonValue &value);
QJsonValue rangeJson(const SightRange &range);
// null, or a whole number; one out of 1..kLongestRange is read as 0 for the
// table to refuse.
std::optional<SightRange> parseRange(const QJsonValue &value);

} // namespace vellumor::table
