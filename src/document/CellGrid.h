#pragma once

#include "document/Standard.h"

namespace vellumor {

// Cells are numbered column by column from the left, each column from the
// bottom row up. Rows here are counted from the top.
struct CellPlace
{
    int column;
    int row;
    friend constexpr bool operator==(CellPlace, CellPlace) = default;
};

constexpr bool isCellIndex(int index)
{
    return index >= 0 && index < kCellCount;
}

constexpr CellPlace cellPlace(int index)
{
    return {index / kMapRows, kMapRows - 1 - index % kMapRows};
}

constexpr int cellIndex(int column, int row)
{
    return kMapRows * column + (kMapRows - 1 - row);
}

} // namespace vellumor
