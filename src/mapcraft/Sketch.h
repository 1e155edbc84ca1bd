#pragma once

#include "document/Standard.h"
#include "symbols/SymbolJoins.h"

#include <array>
#include <cstdint>

namespace vellumor::mapcraft {

// A rectangle of cells, its edges included; rows counted from the top.
struct CellRect
{
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    bool contains(int column, int row) const
    {
        return column >= left && column <= right && row >= top && row <= bottom;
    }
    CellRect inset(int by) const { return {left + by, top + by, right - by, bottom - by}; }
};

inline constexpr CellRect kWholeMap {0, 0, kMapColumns - 1, kMapRows - 1};

// A map while a recipe draws it, row by row from the top. A cell is free while
// it is blank and nothing has claimed it; claimed cells (gateways, streets,
// river banks kept clear) stay as they are when terrain is scattered later.
class Sketch
{
public:
    static bool onMap(int column, int row)
    {
        return column >= 0 && column < kMapColumns && row >= 0 && row < kMapRows;
    }

    SymbolCode at(int column, int row) const
    {
        return onMap(column, row) ? m_cells[slot(column, row)] : kBlankSymbol;
    }
    // Blank or the ground laid under everything, and not claimed.
    bool isFree(int column, int row) const
    {
        if (!onMap(column, row) || m_claimed[slot(column, row)])
            return false;
        const SymbolCode code = m_cells[slot(column, row)];
        return code == kBlankSymbol || code == m_ground;
    }
    bool isClaimed(int column, int row) const
    {
        return onMap(column, row) && m_claimed[slot(column, row)];
    }
    bool isFree(const CellRect &rect) const;

    // Draws the code and claims the cell.
    void put(int column, int row, SymbolCode code);
    // Draws the code and leaves the cell unclaimed: terrain.
    void paint(int column, int row, SymbolCode code)
    {
        if (onMap(column, row))
            m_cells[slot(column, row)] = code;
    }
    // Keeps the cell as it is from now on.
    void claim(int column, int row);
    void claim(const CellRect &rect);
    // Draws the code over every cell of the rectangle that is not claimed,
    // leaving them free: the ground of the whole map, or blank open ground.
    void fill(const CellRect &rect, SymbolCode code);
    // The map's ground (sand in the desert) counts as free like blank cells.
    void layGround(SymbolCode code)
    {
        m_ground = code;
        fill(kWholeMap, code);
    }
    SymbolCode ground() const { return m_ground; }

    MapCodes codes() const;

private:
    static int slot(int column, int row) { return row * kMapColumns + column; }

    std::array<SymbolCode, kCellCount> m_cells {};
    std::array<bool, kCellCount> m_claimed {};
    SymbolCode m_ground = kBlankSymbol;
};

} // namespace vellumor::mapcraft
