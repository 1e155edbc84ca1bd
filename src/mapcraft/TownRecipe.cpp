#include "mapcraft/Builders.h"
#include "mapcraft/Recipes.h"

// A walled town: a ring of wall with one to four gates and guard posts along
// its runs, streets inside lined with houses, shops and long houses around the
// inn, the church with its cemetery, the general store, stables and the well;
// fields, woods and hills outside, and now and then a river past the walls.
namespace vellumor::mapcraft {

namespace {

constexpr SymbolCode kTrees[] = {37, 38, 39};
constexpr SymbolCode kHouses[] = {1, 1, 1, 2, 2, 3};

Building townBuilding(SeededRandom &random)
{
    switch (random.below(12)) {
    case 0:
    case 1:
        return longHouse(random, random.between(2, 5));
    case 2:
        return random.oneIn(2) ? single(12) : row(std::array<SymbolCode, 2> {12, 12});
    case 3:
        return single(38); // a tree in a garden
    case 4:
        return single(4);
    default: {
        std::array<SymbolCode, 5> houses {};
        for (SymbolCode &house : houses)
            house = random.pick(std::span<const SymbolCode>(kHouses));
        return row(std::span<const SymbolCode>(houses.data(), std::size_t(random.between(2, 5))));
    }
    }
}

Building church(SeededRandom &random)
{
    Building building;
    building.width = 4;
    building.height = 2;
    if (random.oneIn(2))
        building.cells = {{{13, 14, 15, 15}, {0, 0, 15, 15}}};
    else
        building.cells = {{{15, 15, 13, 14}, {15, 15, 0, 0}}};
    return building;
}

} // namespace

bool drawTown(Sketch &sketch, SeededRandom &random)
{
    // The walls take most of the map; a river needs room beside them.
    const bool river = random.oneIn(2);
    const int width = river ? random.between(17, 25) : random.between(19, 29);
    const int height = random.between(13, 21);
    const int left = random.between(2, kMapColumns - 3 - width);
    const int top = random.between(1, kMapRows - 2 - height);
    const CellRect walls {left, top, left + width - 1, top + height - 1};
    const bool riverEast = kMapColumns - 1 - walls.right > walls.left;
    const Side riverSide = riverEast ? Side::East : Side::West;

    WallPlan plan;
    plan.rect = walls;
    static constexpr int kGateCounts[] = {1, 2, 2, 2, 3, 3, 4};
    plan.gateCount = random.pick(std::span<const int>(kGateCounts));
    if (river)
        plan.gateSides = SideSet(kAllSides & ~sideBit(riverSide));
    plan.guardSpacing = random.between(6, 11);
    WallRing ring;
    if (!buildWallRing(sketch, random, plan, ring))
        return false;

    // The river runs from the top of the map to the bottom past the walls,
    // sometimes with a stream joining it at the pond.
    if (river) {
        RiverCourse course;
        course.low = riverEast ? walls.right + 2 : 0;
        course.high = riverEast ? kMapColumns - 1 : walls.left - 2;
        if (course.high - course.low < 1)
            return false;
        course.from = 0;
        course.to = kMapRows - 1;
        course.enterAt = random.between(course.low, course.high);
        course.leaveAt = random.between(course.low, course.high);
        course.bendPercent = random.between(10, 40);
        RiverPath path;
        if (!layRiver(sketch, random, course, path))
            return false;
        if (random.oneIn(2))
            addBranch(sketch, random, path, riverSide, random.oneIn(3));
    }

    // Inside: rows of buildings with streets between, and a street all the
    // way round inside the wall.
    const Building required[] = {
        block({5, 6}, {9, 10}), // the inn
        church(random),
        single(4), // the general store
        longHouse(random, random.between(3, 5)), row(std::array<SymbolCode, 2> {12, 12}), // stables
        single(16), // the well
    };
    if (!fillStreets(
            sketch, random, walls.inset(2), required, townBuilding, random.between(80, 100)))
        return false;
    sketch.claim(walls.inset(1));

    // The country outside: fields in the corners, woods, hills, lone trees.
    for (int fields = random.between(1, 3); fields > 0; --fields) {
        const int column = random.oneIn(2) ? random.between(0, 2) : random.between(28, 32);
        const int row = random.oneIn(2) ? random.between(0, 1) : random.between(20, 22);
        const int width = random.between(2, 5);
        const int height = random.between(1, 3);
        const SymbolCode grass = random.oneIn(2) ? SymbolCode(51) : SymbolCode(52);
        field(sketch, {column, row, column + width, row + height}, grass);
    }
    for (int woods = random.between(1, 4); woods > 0; --woods) {
        clump(sketch, random, kWholeMap, random.between(6, 24), kTrees, 60);
    }
    if (random.oneIn(4)) {
        static constexpr SymbolCode kSwamp[] = {49};
        clump(sketch, random, kWholeMap, random.between(4, 12), kSwamp, 90);
    }
    static constexpr SymbolCode kHills[] = {44};
    scatter(sketch, random, kWholeMap, kHills, random.between(1, 4));
    scatter(sketch, random, kWholeMap, kTrees, random.between(4, 12));
    return true;
}

} // namespace vellumor::mapcraft
