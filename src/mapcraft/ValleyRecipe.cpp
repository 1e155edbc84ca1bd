#include "mapcraft/Builders.h"
#include "mapcraft/Recipes.h"

// Open country: a river from one edge of the map to the opposite one, bending
// as it goes, through up to two lakes and joined by a stream at the pond now
// and then; ranges of mountains with hills at their feet, forests, swamp and
// grassland around it.
namespace vellumor::mapcraft {

namespace {

constexpr SymbolCode kTrees[] = {37, 38, 39, 37, 38, 40};

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

} // namespace

bool drawValley(Sketch &sketch, SeededRandom &random)
{
    const bool southward = random.oneIn(2);
    const int breadth = southward ? kMapColumns : kMapRows;
    const int length = southward ? kMapRows : kMapColumns;
    const LakePlan lakes = planLakes(random, southward);

    // The river, one reach from the edge to each lake and on to the far
    // edge; it enters and leaves a lake away from its corners.
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
            course.leaveAt = southward ? random.between(lake.left + 1, lake.right - 1)
                                       : random.between(lake.top + 1, lake.bottom - 1);
            from = (southward ? lake.bottom : lake.right) + 1;
            enterAt = southward ? random.between(lake.left + 1, lake.right - 1)
                                : random.between(lake.top + 1, lake.bottom - 1);
        } else {
            course.to = length - 1;
            course.leaveAt = random.between(2, breadth - 3);
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

    // Mountain ranges with hills at their feet, then forests, swamp and
    // grassland.
    for (int ranges = random.between(1, 3); ranges > 0; --ranges) {
        const int column = random.between(0, kMapColumns - 1);
        const int row = random.between(0, kMapRows - 1);
        const int length = random.between(5, 14);
        ridge(sketch, random, column, row, length, kSides[random.below(4)]);
    }
    for (int forests = random.between(3, 7); forests > 0; --forests) {
        clump(sketch, random, kWholeMap, random.between(10, 45), kTrees, 70);
    }
    for (int swamps = random.between(0, 2); swamps > 0; --swamps) {
        static constexpr SymbolCode kSwamp[] = {49, 49, 49, 51};
        clump(sketch, random, kWholeMap, random.between(5, 16), kSwamp, 85);
    }
    for (int plains = random.between(1, 3); plains > 0; --plains) {
        static constexpr SymbolCode kGrass[] = {51, 51, 52};
        clump(sketch, random, kWholeMap, random.between(6, 20), kGrass, 90);
    }
    static constexpr SymbolCode kHills[] = {44};
    scatter(sketch, random, kWholeMap, kHills, random.between(2, 5));
    scatter(sketch, random, kWholeMap, kTrees, random.between(3, 8));
    return true;
}

} // namespace vellumor::mapcraft
