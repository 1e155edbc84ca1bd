#include "rules/EdgeReach.h"

#include "document/CellGrid.h"

#include <cstdint>

namespace vellumor::rules {

EdgeReach reachFromEdge(const MapCodes &codes, bool (*passable)(int code))
{
    EdgeReach reached {};
    std::array<std::int16_t, kCellCount> queue {};
    int head = 0, tail = 0;
    const auto visit = [&](int column, int row) {
        if (column < 0 || column >= kMapColumns || row < 0 || row >= kMapRows)
            return;
        const std::size_t slot = std::size_t(row * kMapColumns + column);
        if (!reached[slot] && passable(codes[std::size_t(cellIndex(column, row))])) {
            reached[slot] = true;
            queue[std::size_t(tail++)] = std::int16_t(slot);
        }
    };
    for (int column = 0; column < kMapColumns; ++column) {
        visit(column, 0);
        visit(column, kMapRows - 1);
    }
    for (int row = 0; row < kMapRows; ++row) {
        visit(0, row);
        visit(kMapColumns - 1, row);
    }
    while (head < tail) {
        const int slot = queue[std::size_t(head++)];
        for (const Side side : kSides)
            visit(slot % kMapColumns + columnStep(side), slot / kMapColumns + rowStep(side));
    }
    return reached;
}

} // namespace vellumor::rules
