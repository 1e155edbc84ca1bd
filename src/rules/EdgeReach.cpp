#include "rules/EdgeReach.h"

#include "document/CellGrid.h"

#include <cstdint>

namespace vellumor::rules {

EdgeReach reachFromEdge(const MapCodes &codes, bool (*passable)(int code))
{
    EdgeReach reached;
    std::array<CellPlace, kCellCount> queue {};
    int head = 0, tail = 0;
    const auto visit = [&](int column, int row) {
        const CellPlace place {column, row};
        if (onMap(place) && !reached.contains(place)
            && passable(codes[std::size_t(cellIndex(column, row))])) {
            reached.add(place);
            queue[std::size_t(tail++)] = place;
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
        const CellPlace place = queue[std::size_t(head++)];
        for (const Side side : kSides)
            visit(place.column + columnStep(side), place.row + rowStep(side));
    }
    return reached;
}

} // namespace vellumor::rules
