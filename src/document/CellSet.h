#pragma once

#include "document/CellGrid.h"

#include <bitset>
#include <cstddef>

namespace vellumor {

// A rectangle of cells, its edges included; rows counted from the top.
struct CellRect
{
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    constexpr int width() const { return right - left + 1; }
    constexpr int height() const { return bottom - top + 1; }
    constexpr bool contains(CellPlace place) const
    {
        return place.column >= left && place.column <= right && place.row >= top
            && place.row <= bottom;
    }
    constexpr CellRect inset(int by) const
    {
        return {left + by, top + by, right - by, bottom - by};
    }
    // Every cell, row by row from the top left.
    template<typename Visit> void forEach(Visit visit) const
    {
        for (int row = top; row <= bottom; ++row) {
            for (int column = left; column <= right; ++column)
                visit(CellPlace {column, row});
        }
    }
    friend constexpr bool operator==(const CellRect &, const CellRect &) = default;
};

inline constexpr CellRect kWholeMap {0, 0, kMapColumns - 1, kMapRows - 1};

// A set of cells of the map, one bit a cell in reading order: a standard
// bitset, so that sets are joined, compared and counted as bitsets are, with
// cells named by their place. Cells off the map are in no set.
class CellSet : public std::bitset<kCellCount>
{
public:
    CellSet() = default;
    CellSet(const std::bitset<kCellCount> &bits)
        : std::bitset<kCellCount>(bits)
    { }

    bool contains(CellPlace place) const
    {
        return onMap(place) && test(std::size_t(readingIndex(place)));
    }
    void add(CellPlace place)
    {
        if (onMap(place))
            set(std::size_t(readingIndex(place)));
    }
    // Each cell of the set, in reading order.
    template<typename Visit> void forEach(Visit visit) const
    {
        for (int index = 0; index < kCellCount; ++index) {
            if (test(std::size_t(index)))
                visit(fromReadingIndex(index));
        }
    }
};

} // namespace vellumor
