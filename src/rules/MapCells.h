#pragma once

#include "document/CellGrid.h"
#include "document/Standard.h"
#include "symbols/SymbolJoins.h"

#include <QString>

namespace vellumor::rules {

// Reading a map by column and row (rows counted from the top), as the rules
// look at it: a cell and what lies across each of its sides.

// The cell `steps` cells across the side.
constexpr CellPlace across(CellPlace place, Side side, int steps = 1)
{
    return {place.column + steps * columnStep(side), place.row + steps * rowStep(side)};
}

// The code at the cell, or -1 off the map.
inline int codeAt(const MapCodes &codes, int column, int row)
{
    return onMap(column, row) ? int(codes[std::size_t(cellIndex(column, row))]) : -1;
}

inline int codeAcross(const MapCodes &codes, int column, int row, Side side)
{
    return codeAt(codes, column + columnStep(side), row + rowStep(side));
}

// The symbol's name in quotes, as the findings name pieces.
QString quotedName(int code);

} // namespace vellumor::rules
