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
    const std::size_t at = slot(place);
    if (m_claimed[at]) {
        if (m_kept.contains(place))
            ++m_inTheWay[at];
        return false;
    }
    return m_cells[at] == kBlankSymbol || m_cells[at] == m_ground;
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
    m_cells[slot(place)] = code;
    m_claimed[slot(place)] = true;
}

void Sketch::claim(CellPlace place)
{
    if (onMap(place))
        m_claimed[slot(place)] = true;
}

void Sketch::claim(const CellRect &rect)
{
    rect.forEach([&](CellPlace place) { claim(place); });
}

void Sketch::fill(const CellRect &rect, SymbolCode code)
{
    rect.forEach([&](CellPlace place) {
        if (onMap(place) && !m_claimed[slot(place)])
            m_cells[slot(place)] = code;
    });
}

MapCodes Sketch::codes() const
{
    MapCodes codes {};
    kWholeMap.forEach([&](CellPlace place) {
        codes[std::size_t(cellIndex(place.column, place.row))] = m_cells[slot(place)];
    });
    return codes;
}

} // namespace vellumor::generate
