#pragma once

#include "document/CellGrid.h"
#include "document/Standard.h"

#include <initializer_list>
#include <vector>

namespace vellumor::testing {

// Codes laid out as the map looks, from a top-left cell: each inner list is a
// row, 0 for blank.
struct Patch
{
    int column;
    int row;
    std::vector<std::vector<int>> rows;
};

// A run of one code from a cell, across or down.
inline Patch across(int column, int row, int code, int count)
{
    return {column, row, {std::vector<int>(std::size_t(count), code)}};
}

inline Patch down(int column, int row, int code, int count)
{
    return {column, row, std::vector<std::vector<int>>(std::size_t(count), {code})};
}

// A blank map with the patches painted on in order.
inline MapCodes sketch(std::initializer_list<Patch> patches)
{
    MapCodes codes {};
    for (const Patch &patch : patches) {
        for (std::size_t y = 0; y < patch.rows.size(); ++y) {
            for (std::size_t x = 0; x < patch.rows[y].size(); ++x) {
                codes[std::size_t(cellIndex(patch.column + int(x), patch.row + int(y)))]
                    = SymbolCode(patch.rows[y][x]);
            }
        }
    }
    return codes;
}

} // namespace vellumor::testing
