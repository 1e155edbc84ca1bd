#include "rules/MapRegions.h"

#include "rules/MapCells.h"
#include "symbols/SymbolJoins.h"
#include "symbols/SymbolNames.h"

#include <algorithm>
#include <array>

namespace vellumor::rules {

namespace {

using Joined = bool (*)(const MapCodes &, RegionCell, Side);

int slotOf(RegionCell cell)
{
    return cell.row * kMapColumns + cell.column;
}

RegionCell across(RegionCell cell, Side side)
{
    return {cell.column + columnStep(side), cell.row + rowStep(side)};
}

int code(const MapCodes &codes, RegionCell cell)
{
    return codeAt(codes, cell.column, cell.row);
}

bool accepts(const PiecePartner &partner, Side side, int neighbour)
{
    return has(partner.sides, side)
        && std::find(partner.accepts.begin(), partner.accepts.end(), neighbour)
        != partner.accepts.end()
        && neighbour != 0;
}

bool pictureJoined(const MapCodes &codes, RegionCell cell, Side side)
{
    const int here = code(codes, cell);
    const int there = code(codes, across(cell, side));
    if (there < 0)
        return false;
    // Lake corners and open water are one picture however they are laid out;
    // a castle's towers stand beside its walls as one picture with it.
    if (isLake(here) && isLake(there))
        return true;
    if (symbolFamily(here) == Family::Castle && symbolFamily(there) == Family::Castle
        && has(kHorizontalSides, side))
        return true;
    for (const PiecePartner &partner : piecePartners(here)) {
        if (accepts(partner, side, there))
            return true;
    }
    for (const PiecePartner &partner : piecePartners(there)) {
        if (accepts(partner, opposite(side), here))
            return true;
    }
    return false;
}

bool isGate(int code)
{
    return symbolJoins(code).gate != GateMaterial::None;
}

bool walkJoined(const MapCodes &codes, RegionCell cell, Side side)
{
    const int there = code(codes, across(cell, side));
    return there >= 0 && isWalkable(there) && !isGate(there);
}

// A river or a wall piece meets its neighbour when each reaches the other;
// a junction's arms reach whatever meets them.
SideSet runSides(const SymbolJoins &joins, bool river)
{
    if (joins.junction && joins.openWater == river)
        return kAllSides;
    return river ? joins.river : joins.wall;
}

template<bool kRiver> bool runJoined(const MapCodes &codes, RegionCell cell, Side side)
{
    const int there = code(codes, across(cell, side));
    if (there < 0)
        return false;
    const SymbolJoins &a = symbolJoins(code(codes, cell));
    const SymbolJoins &b = symbolJoins(there);
    if (a.junction && b.junction)
        return false;
    return has(runSides(a, kRiver), side) && has(runSides(b, kRiver), opposite(side))
        && (!b.junction || b.openWater == kRiver);
}

std::array<bool, kCellCount> flood(const MapCodes &codes, RegionCell start, Joined joined)
{
    std::array<bool, kCellCount> reached {};
    std::vector<RegionCell> queue {start};
    reached[std::size_t(slotOf(start))] = true;
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const RegionCell cell = queue[head];
        for (const Side side : kSides) {
            const RegionCell next = across(cell, side);
            if (!onMap(next.column, next.row) || reached[std::size_t(slotOf(next))]
                || !joined(codes, cell, side))
                continue;
            reached[std::size_t(slotOf(next))] = true;
            queue.push_back(next);
        }
    }
    return reached;
}

// What bounds a walk: every cell beside (or diagonally beside) a walked cell
// that no one walks into from it.
void addBounds(std::array<bool, kCellCount> &walked, const MapCodes &codes)
{
    const std::array<bool, kCellCount> inside = walked;
    for (int slot = 0; slot < kCellCount; ++slot) {
        if (!inside[std::size_t(slot)])
            continue;
        for (int dr = -1; dr <= 1; ++dr) {
            for (int dc = -1; dc <= 1; ++dc) {
                const RegionCell next {slot % kMapColumns + dc, slot / kMapColumns + dr};
                if (!onMap(next.column, next.row))
                    continue;
                const int there = code(codes, next);
                if (!isWalkable(there) || isGate(there))
                    walked[std::size_t(slotOf(next))] = true;
            }
        }
    }
}

} // namespace

std::vector<RegionCell> mapRegion(const MapCodes &codes, RegionCell start, RegionKind kind)
{
    if (!onMap(start.column, start.row))
        return {};
    const SymbolJoins &joins = symbolJoins(code(codes, start));
    std::array<bool, kCellCount> cells {};
    switch (kind) {
    case RegionKind::Picture:
        cells = flood(codes, start, pictureJoined);
        break;
    case RegionKind::Walk:
        if (!isWalkable(code(codes, start)))
            return {};
        cells = flood(codes, start, walkJoined);
        addBounds(cells, codes);
        break;
    case RegionKind::Run:
        if (runSides(joins, true) != 0)
            cells = flood(codes, start, runJoined<true>);
        else if (runSides(joins, false) != 0)
            cells = flood(codes, start, runJoined<false>);
        else
            return {};
        break;
    }
    std::vector<RegionCell> region;
    for (int slot = 0; slot < kCellCount; ++slot) {
        if (cells[std::size_t(slot)])
            region.push_back({slot % kMapColumns, slot / kMapColumns});
    }
    return region;
}

} // namespace vellumor::rules
