#include "generate/Sketch.h"

namespace vellumor::generate {

Sketch::Sketch(const MapCodes &kept)
{
    for (int index = 0; index < kCellCount; ++index) {
        const SymbolCode code = kept[std::size_t(index)];
        if (code == kBlankSymbol)
            continue;
        const CellPlace place = cellPlace(index);
        put(place, code);
        m_kept.add(place);
        ++m_keptCount;
    }
}

bool Sketch::isFree(CellPlace place) const
{
    if (!onMap(place))
        return false;
    const std::size_t slot = CellSet::slot(place);
    if (m_claimed[slot]) {
        if (m_kept.contains(place))
            ++m_inTheWay[slot];
        return false;
    }
    return m_cells[slot] == kBlankSymbol || m_cells[slot] == m_ground;
}

bool Sketch::isAllFree(const CellRect &rect) const
{
    bool free = true;
    rect.forEach([&](CellPlace place) { free = free && isFree(place); });
    return free;
}

void Sketch::put(CellPlace place, SymbolCode code)
{
    if (!onMap(place) || m_kept.contains(place))
        return;
    m_cells[CellSet::slot(place)] = code;
    m_claimed[CellSet::slot(place)] = true;
}

void Sketch::claim(CellPlace place)
{
    if (onMap(place))
        m_claimed[CellSet::slot(place)] = true;
}

void Sketch::claim(const CellRect &rect)
{
    rect.forEach([&](CellPlace place) { claim(place); });
}

void Sketch::fill(const CellRect &rect, SymbolCode code)
{
    rect.forEach([&](CellPlace place) {
        if (onMap(place) && !m_claimed[CellSet::slot(place)])
            m_cells[CellSet::slot(place)] = code;
    });
}

MapCodes Sketch::codes() const
{
    MapCodes codes {};
    kWholeMap.forEach([&](CellPlace place) {
        codes[std::size_t(cellIndex(place.column, place.row))] = m_cells[CellSet::slot(place)];
    });
    return codes;
}

} // namespace vellumor::generate
