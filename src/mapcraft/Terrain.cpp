#include "mapcraft/Builders.h"

namespace vellumor::mapcraft {

void scatter(Sketch &sketch, SeededRandom &random, const CellRect &area,
    std::span<const SymbolCode> codes, int percent)
{
    for (int row = area.top; row <= area.bottom; ++row) {
        for (int column = area.left; column <= area.right; ++column) {
            if (sketch.isFree(column, row) && random.percent(std::uint32_t(percent)))
                sketch.paint(column, row, random.pick(codes));
        }
    }
}

void clump(Sketch &sketch, SeededRandom &random, int column, int row, int size,
    std::span<const SymbolCode> codes, int percent)
{
    constexpr int kMaxSize = 96;
    std::array<std::array<int, 2>, kMaxSize> cells {};
    int count = 0;
    cells[std::size_t(count++)] = {column, row};
    size = std::min(size, kMaxSize);
    for (int tries = 0; count < size && tries < 4 * size; ++tries) {
        const auto from = cells[random.below(std::uint32_t(count))];
        const Side side = kSides[random.below(4)];
        const std::array<int, 2> next {from[0] + columnStep(side), from[1] + rowStep(side)};
        if (!Sketch::onMap(next[0], next[1]))
            continue;
        bool known = false;
        for (int i = 0; i < count && !known; ++i)
            known = cells[std::size_t(i)] == next;
        if (!known)
            cells[std::size_t(count++)] = next;
    }
    for (int i = 0; i < count; ++i) {
        const auto cell = cells[std::size_t(i)];
        if (sketch.isFree(cell[0], cell[1]) && random.percent(std::uint32_t(percent)))
            sketch.paint(cell[0], cell[1], random.pick(codes));
    }
}

void clump(Sketch &sketch, SeededRandom &random, const CellRect &area, int size,
    std::span<const SymbolCode> codes, int percent)
{
    const int column = random.between(area.left, area.right);
    const int row = random.between(area.top, area.bottom);
    clump(sketch, random, column, row, size, codes, percent);
}

void ridge(Sketch &sketch, SeededRandom &random, int column, int row, int length, Side heading)
{
    static constexpr SymbolCode kPeaks[] = {41, 41, 41, 41, 42, 43};
    const Side left = Side((unsigned(heading) + 3) % 4);
    const Side right = opposite(left);
    for (int i = 0; i < length && Sketch::onMap(column, row); ++i) {
        if (sketch.isFree(column, row))
            sketch.paint(column, row, random.pick(std::span<const SymbolCode>(kPeaks)));
        for (const Side flank : {left, right}) {
            const int c = column + columnStep(flank), r = row + rowStep(flank);
            if (sketch.isFree(c, r) && random.percent(45))
                sketch.paint(c, r, random.oneIn(4) ? SymbolCode(41) : SymbolCode(44));
        }
        // Mostly onwards, now and then a step aside.
        const int turn = int(random.below(6));
        const Side step = turn == 0 ? left : turn == 1 ? right : heading;
        column += columnStep(step);
        row += rowStep(step);
    }
}

void field(Sketch &sketch, const CellRect &area, SymbolCode code)
{
    for (int row = area.top; row <= area.bottom; ++row) {
        for (int column = area.left; column <= area.right; ++column) {
            if (sketch.isFree(column, row))
                sketch.paint(column, row, code);
        }
    }
}

} // namespace vellumor::mapcraft
