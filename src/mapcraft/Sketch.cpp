#include "mapcraft/Sketch.h"

#include "document/CellGrid.h"

namespace vellumor::mapcraft {

bool Sketch::isFree(const CellRect &rect) const
{
    for (int row = rect.top; row <= rect.bottom; ++row) {
        for (int column = rect.left; column <= rect.right; ++column) {
            if (!isFree(column, row))
                return false;
        }
    }
    return true;
}

void Sketch::put(int column, int row, SymbolCode code)
{
    if (!onMap(column, row))
        return;
    m_cells[slot(column, row)] = code;
    m_claimed[slot(column, row)] = true;
}

void Sketch::claim(int column, int row)
{
    if (onMap(column, row))
        m_claimed[slot(column, row)] = true;
}

void Sketch::claim(const CellRect &rect)
{
    for (int row = rect.top; row <= rect.bottom; ++row) {
        for (int column = rect.left; column <= rect.right; ++column)
            claim(column, row);
    }
}

void Sketch::fill(const CellRect &rect, SymbolCode code)
{
    for (int row = rect.top; row <= rect.bottom; ++row) {
        for (int column = rect.left; column <= rect.right; ++column) {
            if (onMap(column, row) && !m_claimed[slot(column, row)])
                m_cells[slot(column, row)] = code;
        }
    }
}

MapCodes Sketch::codes() const
{
    MapCodes codes {};
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column)
            codes[std::size_t(cellIndex(column, row))] = m_cells[slot(column, row)];
    }
    return codes;
}

} // namespace vellumor::mapcraft
