#include "generate/Builders.h"
#include "generate/TerrainKinds.h"
#include "symbols/SymbolNames.h"

#include <algorithm>

namespace vellumor::generate {

void scatter(Sketch &sketch, SeededRandom &random, const CellRect &area,
    std::span<const SymbolCode> codes, int percent)
{
    area.forEach([&](CellPlace place) {
        if (sketch.isFree(place) && random.percent(std::uint32_t(percent)))
            sketch.paint(place, random.pick(codes));
    });
}

void clump(Sketch &sketch, SeededRandom &random, CellPlace from, int size,
    std::span<const SymbolCode> codes, int percent)
{
    constexpr int kMaxSize = 96;
    std::array<CellPlace, kMaxSize> cells {};
    int count = 0;
    cells[std::size_t(count++)] = from;
    size = std::min(size, kMaxSize);
    for (int tries = 0; count < size && tries < 4 * size; ++tries) {
        // One draw after the other: the order of a call's arguments is the
        // compiler's to choose.
        const CellPlace grownFrom = cells[random.below(std::uint32_t(count))];
        const CellPlace next = across(grownFrom, kSides[random.below(4)]);
        if (onMap(next)
            && std::find(cells.begin(), cells.begin() + count, next) == cells.begin() + count)
            cells[std::size_t(count++)] = next;
    }
    for (int i = 0; i < count; ++i) {
        const CellPlace cell = cells[std::size_t(i)];
        if (sketch.isFree(cell) && random.percent(std::uint32_t(percent)))
            sketch.paint(cell, random.pick(codes));
    }
}

void clump(Sketch &sketch, SeededRandom &random, const CellRect &area, int size,
    std::span<const SymbolCode> codes, int percent)
{
    const int column = random.between(area.left, area.right);
    const int row = random.between(area.top, area.bottom);
    clump(sketch, random, CellPlace {column, row}, size, codes, percent);
}

void ridge(Sketch &sketch, SeededRandom &random, CellPlace from, int length, Side heading,
    const CellRect &band)
{
    static constexpr Weighted<SymbolCode> kPeaks[] = {{sym::Mountain, 5}, {sym::MountainCave, 1}};
    static constexpr Weighted<SymbolCode> kFlanks[] = {{sym::Hills, 3}, {sym::Mountain, 1}};
    const Side left = Side((unsigned(heading) + 3) % 4);
    const Side right = opposite(left);
    CellPlace at = from;
    // `length` steps onwards; steps aside come on top of them.
    for (int i = 0; i < length && band.contains(at);) {
        if (sketch.isFree(at))
            sketch.paint(at, random.weighted(kPeaks));
        for (const Side flank : {left, right}) {
            const CellPlace beside = across(at, flank);
            if (band.contains(beside) && sketch.isFree(beside) && random.percent(45))
                sketch.paint(beside, random.weighted(kFlanks));
        }
        // Mostly onwards, now and then a step aside within the band.
        const int turn = int(random.below(6));
        const Side step = turn == 0 ? left : turn == 1 ? right : heading;
        const bool aside = step != heading && band.contains(across(at, step));
        at = across(at, aside ? step : heading);
        i += aside ? 0 : 1;
    }
}

void crownVolcanoes(Sketch &sketch, SeededRandom &random, int most)
{
    // Mountains with mountains on two sides or more, in map order; then a
    // draw among them, each volcano well apart from the last.
    std::array<CellPlace, kCellCount> peaks {};
    int count = 0;
    kWholeMap.forEach([&](CellPlace place) {
        if (sketch.isClaimed(place) || sketch.at(place) != sym::Mountain)
            return;
        int mountains = 0;
        for (const Side side : kSides)
            mountains += isHighland(sketch.at(across(place, side))) ? 1 : 0;
        if (mountains >= 2)
            peaks[std::size_t(count++)] = place;
    });
    random.shuffle(std::span<CellPlace>(peaks.data(), std::size_t(count)));
    CellPlace last {-10, -10};
    for (int i = 0; i < count && most > 0; ++i) {
        const CellPlace peak = peaks[std::size_t(i)];
        if (std::abs(peak.column - last.column) + std::abs(peak.row - last.row) < 4)
            continue;
        sketch.paint(peak, sym::Volcano);
        last = peak;
        --most;
    }
}

void field(Sketch &sketch, const CellRect &area, SymbolCode code)
{
    area.forEach([&](CellPlace place) {
        if (sketch.isFree(place))
            sketch.paint(place, code);
    });
}

namespace {

bool nearWater(const Sketch &sketch, CellPlace place)
{
    for (int dr = -1; dr <= 1; ++dr) {
        for (int dc = -1; dc <= 1; ++dc) {
            if (isWater(sketch.at({place.column + dc, place.row + dr})))
                return true;
        }
    }
    return false;
}

// The family every on-map side neighbour shares (a patch's code, or trees),
// or Blank when they differ.
SymbolCode surroundingFamily(const Sketch &sketch, CellPlace place)
{
    SymbolCode family = sym::Blank;
    for (const Side side : kSides) {
        const CellPlace next = across(place, side);
        if (!onMap(next))
            continue;
        const SymbolCode code = terrainFamily(sketch.at(next));
        if (code == sym::Blank || (family != sym::Blank && code != family))
            return sym::Blank;
        family = code;
    }
    return family;
}

// The cells of the patch (one patch code, joined along sides) `place` is in.
CellSet patchOf(const Sketch &sketch, CellPlace place)
{
    const SymbolCode code = sketch.at(place);
    CellSet patch;
    std::array<CellPlace, kCellCount> queue {place};
    int head = 0, tail = 1;
    patch.add(place);
    while (head < tail) {
        const CellPlace cell = queue[std::size_t(head++)];
        for (const Side side : kSides) {
            const CellPlace next = across(cell, side);
            if (onMap(next) && !patch.contains(next) && sketch.at(next) == code) {
                patch.add(next);
                queue[std::size_t(tail++)] = next;
            }
        }
    }
    return patch;
}

bool nearTrees(const Sketch &sketch, CellPlace place)
{
    for (int dr = -1; dr <= 1; ++dr) {
        for (int dc = -1; dc <= 1; ++dc) {
            if ((dr != 0 || dc != 0) && isTrees(sketch.at({place.column + dc, place.row + dr})))
                return true;
        }
    }
    return false;
}

} // namespace

void tidyTerrain(Sketch &sketch, SeededRandom &random)
{
    const SymbolCode ground = sketch.ground();
    static constexpr SymbolCode kForest[] = {sym::TreesEvergreen, sym::TreesDeciduous};
    const auto tidy = [&](auto change) {
        kWholeMap.forEach([&](CellPlace place) {
            if (!sketch.isClaimed(place))
                change(place, sketch.at(place));
        });
    };
    // Patches drawn up to water would show the white ground of its picture;
    // then no patch is left a lone cell.
    tidy([&](CellPlace place, SymbolCode code) {
        if (isPatch(code) && nearWater(sketch, place))
            sketch.paint(place, ground);
    });
    tidy([&](CellPlace place, SymbolCode code) {
        if (!isPatch(code))
            return;
        const CellSet patch = patchOf(sketch, place);
        if (int(patch.count()) < kSmallestPatch)
            patch.forEach([&](CellPlace cell) { sketch.paint(cell, ground); });
    });
    // Holes closed: with the patch around them, or a tree by the water.
    tidy([&](CellPlace place, SymbolCode code) {
        const SymbolCode family = surroundingFamily(sketch, place);
        if ((code != sym::Blank && code != ground) || family == sym::Blank)
            return;
        const bool trees = family == sym::TreesEvergreen || nearWater(sketch, place);
        sketch.paint(place, trees ? random.pick(kForest) : family);
    });
    // Dead trees stand at a forest's edge, not inside it, nor alone in the
    // open: a lone one gets a second beside it, or goes.
    tidy([&](CellPlace place, SymbolCode code) {
        if (code == sym::TreesDead && surroundingFamily(sketch, place) == sym::TreesEvergreen)
            sketch.paint(place, random.pick(kForest));
    });
    tidy([&](CellPlace place, SymbolCode code) {
        if (code != sym::TreesDead || nearTrees(sketch, place))
            return;
        const CellPlace beside = across(place, kSides[random.below(4)]);
        if (sketch.isFree(beside) && !nearWater(sketch, beside))
            sketch.paint(beside, sym::TreesDead);
        else
            sketch.paint(place, ground);
    });
}

} // namespace vellumor::generate
