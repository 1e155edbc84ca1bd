#pragma once

#include "rules/MapCells.h"

#include <array>
#include <cstdint>

namespace vellumor::generate {

// The generators draw by the rules' reading of cells and maps.
using rules::across;
using rules::codeAcross;
using rules::codeAt;
using rules::onMap;
using rules::quotedName;

// A rectangle of cells, its edges included; rows counted from the top.
struct CellRect
{
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    bool contains(CellPlace place) const
    {
        return place.column >= left && place.column <= right && place.row >= top
            && place.row <= bottom;
    }
    CellRect inset(int by) const { return {left + by, top + by, right - by, bottom - by}; }
    // Every cell, row by row from the top left.
    template<typename Visit> void forEach(Visit visit) const
    {
        for (int row = top; row <= bottom; ++row) {
            for (int column = left; column <= right; ++column)
                visit(CellPlace {column, row});
        }
    }
};

inline constexpr CellRect kWholeMap {0, 0, kMapColumns - 1, kMapRows - 1};

// A set of cells of the map.
class CellSet
{
public:
    bool contains(CellPlace place) const { return onMap(place) && m_cells[slot(place)]; }
    void add(CellPlace place)
    {
        if (onMap(place))
            m_cells[slot(place)] = true;
    }
    static std::size_t slot(CellPlace place)
    {
        return std::size_t(place.row * kMapColumns + place.column);
    }

private:
    std::array<bool, kCellCount> m_cells {};
};

// A map while a recipe draws it. A cell is free while it is blank and nothing
// has claimed it; claimed cells (gateways, streets, river banks kept clear,
// what the user drew and asked to keep) stay as they are when terrain is
// scattered later.
class Sketch
{
public:
    Sketch() = default;
    // Starts from what the user drew: every drawn cell is claimed as it is.
    explicit Sketch(const MapCodes &kept);

    SymbolCode at(CellPlace place) const
    {
        return onMap(place) ? m_cells[CellSet::slot(place)] : kBlankSymbol;
    }
    // Blank or the ground laid under everything, and not claimed.
    bool isFree(CellPlace place) const;
    bool isAllFree(const CellRect &rect) const;
    bool isClaimed(CellPlace place) const
    {
        return onMap(place) && m_claimed[CellSet::slot(place)];
    }
    // Nothing stands there: blank or the ground, claimed or not (a street).
    bool isOpen(CellPlace place) const
    {
        return onMap(place) && (at(place) == kBlankSymbol || at(place) == m_ground);
    }
    bool isKept(CellPlace place) const { return m_kept.contains(place); }

    // Draws the code and claims the cell.
    void put(CellPlace place, SymbolCode code);
    // Draws the code and leaves the cell unclaimed: terrain.
    void paint(CellPlace place, SymbolCode code)
    {
        if (onMap(place) && !m_claimed[CellSet::slot(place)])
            m_cells[CellSet::slot(place)] = code;
    }
    // Keeps the cell as it is from now on.
    void claim(CellPlace place);
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
    bool hasKept() const { return m_keptCount > 0; }

    // How often a builder wanted a kept cell for something of its own.
    int timesInTheWay(CellPlace place) const { return m_inTheWay[CellSet::slot(place)]; }

    MapCodes codes() const;

private:
    std::array<SymbolCode, kCellCount> m_cells {};
    std::array<bool, kCellCount> m_claimed {};
    mutable std::array<int, kCellCount> m_inTheWay {};
    CellSet m_kept;
    int m_keptCount = 0;
    SymbolCode m_ground = kBlankSymbol;
};

} // namespace vellumor::generate
