#include "rules/MapProperties.h"

#include "document/CellGrid.h"
#include "rules/EdgeReach.h"
#include "rules/MapCells.h"
#include "symbols/SymbolJoins.h"

#include <array>

namespace vellumor::rules {

namespace {

// The map row by row from the top, and a step across each side.
class Cells
{
public:
    explicit Cells(const MapCodes &codes)
    {
        for (int index = 0; index < kCellCount; ++index) {
            const CellPlace place = cellPlace(index);
            m_codes[std::size_t(readingIndex(place))] = codes[std::size_t(index)];
        }
    }
    SymbolCode at(int column, int row) const
    {
        return m_codes[std::size_t(readingIndex({column, row}))];
    }
    const SymbolJoins &joins(int column, int row) const { return symbolJoins(at(column, row)); }

private:
    std::array<SymbolCode, kCellCount> m_codes {};
};

bool wallsClose(const Cells &cells)
{
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            const SymbolJoins &joins = cells.joins(column, row);
            if (joins.junction)
                continue;
            for (const Side side : kSides) {
                const int c = column + columnStep(side), r = row + rowStep(side);
                if (!has(joins.wall, side) || !onMap(c, r))
                    continue;
                if (!has(cells.joins(c, r).wall, opposite(side)))
                    return false;
            }
        }
    }
    return true;
}

enum class RiverEnd { Joined, Open, Spring, DeadEnd };

RiverEnd riverEnd(const Cells &cells, int column, int row, Side side)
{
    const int c = column + columnStep(side), r = row + rowStep(side);
    if (!onMap(c, r))
        return RiverEnd::Open;
    const SymbolJoins &next = cells.joins(c, r);
    if (has(next.river, opposite(side)))
        return RiverEnd::Joined;
    if (next.openWater)
        return RiverEnd::Open;
    return next.springGround ? RiverEnd::Spring : RiverEnd::DeadEnd;
}

// Follows a river from an end it rises at to where it stops.
bool endsAtSpring(const Cells &cells, int column, int row, Side cameFrom)
{
    for (int steps = 0; steps < kCellCount; ++steps) {
        const SymbolJoins &joins = cells.joins(column, row);
        Side onward = cameFrom;
        for (const Side side : kSides) {
            if (side != cameFrom && has(joins.river, side))
                onward = side;
        }
        const RiverEnd end = riverEnd(cells, column, row, onward);
        if (end != RiverEnd::Joined)
            return end == RiverEnd::Spring;
        column += columnStep(onward);
        row += rowStep(onward);
        if (cells.joins(column, row).junction)
            return false;
        cameFrom = opposite(onward);
    }
    return false;
}

bool riversRun(const Cells &cells)
{
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            const SymbolJoins &joins = cells.joins(column, row);
            if (joins.junction)
                continue;
            for (const Side side : kSides) {
                if (!has(joins.river, side))
                    continue;
                const RiverEnd end = riverEnd(cells, column, row, side);
                if (end == RiverEnd::DeadEnd)
                    return false;
                if (end == RiverEnd::Spring && endsAtSpring(cells, column, row, side))
                    return false;
            }
        }
    }
    return true;
}

bool picturesWhole(const Cells &cells)
{
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            for (const PiecePartner &need : piecePartners(cells.at(column, row))) {
                bool met = false;
                for (const Side side : kSides) {
                    const int c = column + columnStep(side), r = row + rowStep(side);
                    if (!has(need.sides, side) || !onMap(c, r))
                        continue;
                    for (const SymbolCode accepted : need.accepts)
                        met = met || (accepted != 0 && cells.at(c, r) == accepted);
                }
                if (!met)
                    return false;
            }
        }
    }
    return true;
}

bool gatesApart(const Cells &cells, MapKind kind)
{
    int gates = 0;
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            if (cells.joins(column, row).gate == GateMaterial::None)
                continue;
            ++gates;
            for (const Side side : kSides) {
                const int c = column + columnStep(side), r = row + rowStep(side);
                if (onMap(c, r) && cells.joins(c, r).gate != GateMaterial::None)
                    return false;
            }
        }
    }
    const bool walled = kind == MapKind::Town || kind == MapKind::Fort;
    return !walled || (gates >= 1 && gates <= 4);
}

bool reachable(const MapCodes &codes, const Cells &cells)
{
    // Every walkable cell reached on foot from a walkable cell of the edge.
    const EdgeReach reached = reachFromEdge(codes, isWalkable);
    const auto reachedAt = [&](int column, int row) { return reached.contains({column, row}); };

    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            const SymbolJoins &joins = cells.joins(column, row);
            if (joins.gate != GateMaterial::None) {
                // Through the gate: the cells across its wall on either side.
                const bool across = has(joins.wall, Side::East);
                const Side in = across ? Side::North : Side::West;
                const Side out = opposite(in);
                if (!reachedAt(column, row)
                    || !reachedAt(column + columnStep(in), row + rowStep(in))
                    || !reachedAt(column + columnStep(out), row + rowStep(out)))
                    return false;
            }
            if (isBuilding(cells.at(column, row))) {
                bool beside = false;
                for (const Side side : kSides)
                    beside = beside || reachedAt(column + columnStep(side), row + rowStep(side));
                if (!beside)
                    return false;
            }
        }
    }
    return true;
}

} // namespace

const char *brokenProperty(const MapCodes &codes, MapKind kind)
{
    const Cells cells(codes);
    if (!wallsClose(cells))
        return "a wall run ends in the open";
    if (!riversRun(cells))
        return "a river ends in the open";
    if (!picturesWhole(cells))
        return "a picture lacks a piece";
    if (!gatesApart(cells, kind))
        return "too few, too many or neighbouring gates";
    if (!reachable(codes, cells))
        return "a gate or a building cannot be reached on foot";
    return nullptr;
}

} // namespace vellumor::rules
