#pragma once

#include "document/CellGrid.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <algorithm>

namespace vellumor::mapgeometry {

// Where the cells lie in the map view, in logical pixels. Neighbouring cells
// overlap by one pixel, so that their borders fall on one shared line.
inline constexpr int kGridLeft = 20;
inline constexpr int kGridTop = 21;
inline constexpr int kCellPitch = 17;
inline constexpr int kCellSize = 18;
inline constexpr QSize kViewSize {633, 463};

// The right and bottom ends (exclusive) of the area the cells cover.
inline constexpr int kGridRight = kGridLeft + kCellPitch * kMapColumns + 1;
inline constexpr int kGridBottom = kGridTop + kCellPitch * kMapRows + 1;

constexpr QRect cellRect(int index)
{
    if (!isCellIndex(index))
        return {};
    const CellPlace place = cellPlace(index);
    return {kGridLeft + kCellPitch * place.column, kGridTop + kCellPitch * place.row, kCellSize,
        kCellSize};
}

// The cell under position, or -1 in the margin. A pixel on the line two cells
// share belongs to the cell to its right or below it, the one drawn on top.
constexpr int cellAt(QPoint position)
{
    const int x = position.x();
    const int y = position.y();
    if (x < kGridLeft || x >= kGridRight || y < kGridTop || y >= kGridBottom)
        return -1;
    const int column = std::min((x - kGridLeft) / kCellPitch, kMapColumns - 1);
    const int row = std::min((y - kGridTop) / kCellPitch, kMapRows - 1);
    return cellIndex(column, row);
}

} // namespace vellumor::mapgeometry
