#pragma once

#include "document/CellSet.h"
#include "rules/MapCells.h"

#include <array>
#include <cstdint>

namespace vellumor::generate {

// The generators draw by the rules' reading of cells and maps.
using rules::across;
using rules::codeAcross;
using rules::codeAt;
using rules::quotedName;

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
        return onMap(place) ? m_cells[slot(place)] : kBlankSymbol;
    }
    // Blank or the ground laid under everything, and not claimed.
    bool isFree(CellPlace place) const;
    bool isAllFree(const CellRect &rect) const;
    bool isClaimed(CellPlace place) const { return onMap(place) && m_claimed[slot(place)]; }
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
        if (onMap(place) && !m_claimed[slot(place)])
            m_cells[slot(place)] = code;
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
    int timesInTheWay(CellPlace place) const { return m_inTheWay[slot(place)]; }

    MapCodes codes() const;

private:
    static std::size_t slot(CellPlace place) { return std::size_t(readingIndex(place)); }

    std::array<SymbolCode, kCellCount> m_cells {};
    std::array<bool, kCellCount> m_claimed {};
    mutable std::array<int, kCellCount> m_inTheWay {};
    CellSet m_kept;
    int m_keptCount = 0;
    SymbolCode m_ground = kBlankSymbol;
};

} // namespace vellumor::generate
