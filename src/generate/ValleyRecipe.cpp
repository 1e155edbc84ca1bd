#include "generate/Builders.h"
#include "generate/Recipes.h"
#include "symbols/SymbolNames.h"

// Open country: a river from one edge of the map to the opposite one, bending
// as it goes, through up to two lakes and joined by a stream at the pond now
// and then; ranges of mountains with hills at their feet, forests, swamp and
// grassland around it.
namespace vellumor::generate {

namespace {

constexpr SymbolCode kTrees[] = {sym::TreesEvergreen, sym::TreesDeciduous, sym::TreesOldEvergreen,
    sym::TreesEvergreen, sym::TreesDeciduous, sym::TreesDead};

// Lakes strung along the river, in the order it meets them.
struct LakePlan
{
    std::array<CellRect, 2> lakes {};
    int count = 0;
};

LakePlan planLakes(SeededRandom &random, bool southward)
{
    LakePlan plan;
    const int length = southward ? kMapRows : kMapColumns;
    const int breadth = southward ? kMapColumns : kMapRows;
    plan.count = int(random.below(3));
    if (length < 30 && plan.count == 2)
        plan.count = 1;
    const int stretch = length / std::max(plan.count, 1);
    for (int i = 0; i < plan.count; ++i) {
        const int along = random.between(3, southward ? 4 : 6);
        const int across = random.between(4, southward ? 9 : 7);
        const int start = random.between(i * stretch + 5, (i + 1) * stretch - along - 5);
        const int side = random.between(2, breadth - 3 - across);
        plan.lakes[std::size_t(i)] = southward
            ? CellRect {side, start, side + across - 1, start + along - 1}
            : CellRect {start, side, start + along - 1, side + across - 1};
    }
    return plan;
}

// The river, one reach from the edge to each lake and on to the far edge;
// it enters and leaves a lake away from its corners.
bool layRiverAndLakes(Sketch &sketch, SeededRandom &random, bool southward, const LakePlan &lakes)
{
    const int breadth = southward ? kMapColumns : kMapRows;
    const int length = southward ? kMapRows : kMapColumns;
    int from = 0;
    int enterAt = random.between(3, breadth - 4);
    bool branched = false;
    for (int i = 0; i <= lakes.count; ++i) {
        RiverCourse course;
        course.flow = southward ? Flow::South : Flow::East;
        course.from = from;
        course.enterAt = enterAt;
        course.low = 1;
        course.high = breadth - 2;
        course.bendPercent = random.between(20, 55);
        if (i < lakes.count) {
            const CellRect &lake = lakes.lakes[std::size_t(i)];
            if (!layLake(sketch, lake))
                return false;
            course.to = (southward ? lake.top : lake.left) - 1;
            course.leaveAt
                = southward ? (lake.left + lake.right) / 2 : (lake.top + lake.bottom) / 2;
            course.leaveSpread = ((southward ? lake.width() : lake.height()) - 3) / 2;
            from = (southward ? lake.bottom : lake.right) + 1;
            enterAt = southward ? random.between(lake.left + 1, lake.right - 1)
                                : random.between(lake.top + 1, lake.bottom - 1);
        } else {
            course.to = length - 1;
            course.leaveAt = random.between(2, breadth - 3);
            course.leaveSpread = kLeaveAnywhere;
        }
        RiverPath path;
        if (!layRiver(sketch, random, course, path))
            return false;
        if (!branched && random.oneIn(2)) {
            const Side toward = southward ? (random.oneIn(2) ? Side::East : Side::West)
                                          : (random.oneIn(2) ? Side::North : Side::South);
            branched = addBranch(sketch, random, path, toward, random.oneIn(2));
        }
    }
    return true;
}

// Mountain ranges with hills at their feet, each running its whole length,
// and now and then a volcano or two among them.
void raiseRanges(Sketch &sketch, SeededRandom &random)
{
    for (int ranges = random.between(1, 3); ranges > 0; --ranges) {
        const Side heading = kSides[random.below(4)];
        const int length = random.between(5, 14);
        const bool across = heading == Side::East || heading == Side::West;
        const int room = (across ? kMapColumns : kMapRows) - length;
        const int start = random.between(0, room);
        const int along
            = heading == Side::East || heading == Side::South ? start : start + length - 1;
        const int side = random.between(1, (across ? kMapRows : kMapColumns) - 2);
        const CellPlace from = across ? CellPlace {along, side} : CellPlace {side, along};
        ridge(sketch, random, from, length, heading, kWholeMap);
    }
    static constexpr Weighted<int> kVolcanoes[] = {{0, 11}, {1, 6}, {2, 3}};
    crownVolcanoes(sketch, random, random.weighted(kVolcanoes));
}

void growCountry(Sketch &sketch, SeededRandom &random)
{
    for (int forests = random.between(3, 7); forests > 0; --forests)
        clump(sketch, random, kWholeMap, random.between(10, 45), kTrees, 70);
    for (int swamps = random.between(0, 2); swamps > 0; --swamps) {
        static constexpr SymbolCode kSwamp[] = {sym::Swamp};
        clump(sketch, random, kWholeMap, random.between(5, 16), kSwamp, 90);
    }
    for (int plains = random.between(1, 3); plains > 0; --plains) {
        static constexpr SymbolCode kGrass[][1] = {{sym::Grass}, {sym::DryGrass}};
        const int size = random.between(6, 20);
        clump(sketch, random, kWholeMap, size, kGrass[random.below(2)], 95);
    }
    static constexpr SymbolCode kHills[] = {sym::Hills};
    scatter(sketch, random, kWholeMap, kHills, random.between(2, 5));
    scatter(sketch, random, kWholeMap, kTrees, random.between(3, 8));
    tidyTerrain(sketch, random);
}

} // namespace

bool drawValley(Sketch &sketch, SeededRandom &random, const MapChoices &)
{
    const bool southward = random.oneIn(2);
    const LakePlan lakes = planLakes(random, southward);
    // A river the user drew is the valley's river.
    bool keptRiver = false;
    kWholeMap.forEach([&](CellPlace place) {
        keptRiver = keptRiver || (sketch.isKept(place) && symbolJoins(sketch.at(place)).river != 0);
    });
    if (!keptRiver && !layRiverAndLakes(sketch, random, southward, lakes))
        return false;
    raiseRanges(sketch, random);
    growCountry(sketch, random);
    return true;
}

} // namespace vellumor::generate
