#pragma once

#include "document/Standard.h"

namespace vellumor {

// A cell of the map by its column and row, rows counted from the top: the one
// way the program names a cell. Two orders number the cells, each worked out
// here and nowhere else: the map file's, column by column from the left, each
// column from the bottom row up; and the reading order, row by row from the
// top left, in which sets of cells are kept and the table's pages number them.
struct CellPlace
{
    int column;
    int row;
    friend constexpr bool operator==(CellPlace, CellPlace) = default;
};

constexpr bool onMap(int column, int row)
{
    return column >= 0 && column < kMapColumns && row >= 0 && row < kMapRows;
}

constexpr bool onMap(CellPlace place)
{
    return onMap(place.column, place.row);
}

constexpr bool isCellIndex(int index)
{
    return index >= 0 && index < kCellCount;
}

// The map file's order.
constexpr CellPlace cellPlace(int index)
{
    return {index / kMapRows, kMapRows - 1 - index % kMapRows};
}

constexpr int cellIndex(int column, int row)
{
    return kMapRows * column + (kMapRows - 1 - row);
}

// The reading order.
constexpr int readingIndex(CellPlace place)
{
    return place.row * kMapColumns + place.column;
}

constexpr CellPlace fromReadingIndex(int index)
{
    return {index % kMapColumns, index / kMapColumns};
}

} // namespace vellumor
