#include "rules/MapRegions.h"

#include "document/CellSet.h"
#include "rules/MapCells.h"
#include "symbols/SymbolJoins.h"
#include "symbols/SymbolNames.h"

#include <algorithm>
#include <array>

namespace vellumor::rules {

namespace {

using Joined = bool (*)(const MapCodes &, CellPlace, Side);

int code(const MapCodes &codes, CellPlace cell)
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

bool pictureJoined(const MapCodes &codes, CellPlace cell, Side side)
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

bool walkJoined(const MapCodes &codes, CellPlace cell, Side side)
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

template<bool kRiver> bool runJoined(const MapCodes &codes, CellPlace cell, Side side)
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

CellSet flood(const MapCodes &codes, CellPlace start, Joined joined)
{
    CellSet reached;
    std::vector<CellPlace> queue {start};
    reached.add(start);
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const CellPlace cell = queue[head];
        for (const Side side : kSides) {
            const CellPlace next = across(cell, side);
            if (!onMap(next) || reached.contains(next) || !joined(codes, cell, side))
                continue;
            reached.add(next);
            queue.push_back(next);
        }
    }
    return reached;
}

// What bounds a walk: every cell beside (or diagonally beside) a walked cell
// that no one walks into from it.
void addBounds(CellSet &walked, const MapCodes &codes)
{
    const CellSet inside = walked;
    inside.forEach([&](CellPlace cell) {
        for (int dr = -1; dr <= 1; ++dr) {
            for (int dc = -1; dc <= 1; ++dc) {
                const CellPlace next {cell.column + dc, cell.row + dr};
                if (!onMap(next))
                    continue;
                const int there = code(codes, next);
                if (!isWalkable(there) || isGate(there))
                    walked.add(next);
            }
        }
    });
}

} // namespace

std::vector<CellPlace> mapRegion(const MapCodes &codes, CellPlace start, RegionKind kind)
{
    if (!onMap(start))
        return {};
    const SymbolJoins &joins = symbolJoins(code(codes, start));
    CellSet cells;
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
    std::vector<CellPlace> region;
    cells.forEach([&](CellPlace cell) { region.push_back(cell); });
    return region;
}

} // namespace vellumor::rules
