#include "mapcraft/Builders.h"
#include "mapcraft/Recipes.h"

#include <algorithm>

// A castle by a lake: mountains and forest along the top of the map, a river
// rising under them and falling into the lake, and another running out of the
// lake to the map's edge; the keep with its tower inside a ring of wall on
// the other side of the map, and sometimes a village outside its gate.
namespace vellumor::mapcraft {

namespace {

constexpr SymbolCode kTrees[] = {37, 38, 39};

Building castleBuilding(SeededRandom &random)
{
    switch (random.below(7)) {
    case 0:
        return block({20, 0}, {24, 0}); // a tower
    case 1:
    case 2:
        return longHouse(random, random.between(2, 4));
    case 3:
        return row(std::array<SymbolCode, 2> {12, 12});
    case 4:
        return single(16);
    case 5:
        return single(38);
    default:
        return single(random.oneIn(2) ? 1 : 3);
    }
}

Building villageBuilding(SeededRandom &random)
{
    static constexpr SymbolCode kHouses[] = {1, 1, 2, 3};
    if (random.oneIn(5))
        return single(38);
    std::array<SymbolCode, 3> houses {};
    for (SymbolCode &house : houses)
        house = random.pick(std::span<const SymbolCode>(kHouses));
    return row(std::span<const SymbolCode>(houses.data(), std::size_t(random.between(1, 3))));
}

Building keep(SeededRandom &random)
{
    if (random.oneIn(2))
        return Building {4, 2, {{{17, 18, 19, 20, 0}, {21, 22, 23, 24, 0}}}};
    return Building {4, 2, {{{20, 17, 18, 19, 0}, {24, 21, 22, 23, 0}}}};
}

} // namespace

bool drawCastle(Sketch &sketch, SeededRandom &random)
{
    const bool castleWest = random.oneIn(2);
    const int highland = random.between(2, 3); // rows of mountains and forest

    const int width = random.between(13, 17);
    const int height = random.between(8, 11);
    const int left = castleWest ? random.between(1, 3) : kMapColumns - width - random.between(1, 3);
    const int top = random.between(highland + 1, highland + 3);
    const CellRect walls {left, top, left + width - 1, top + height - 1};

    // The lake on the other side of the map, lower down.
    const int lakeWidth = random.between(6, 9);
    const int lakeHeight = random.between(5, 7);
    const int lakeLeft = castleWest ? random.between(walls.right + 4, kMapColumns - 2 - lakeWidth)
                                    : random.between(1, walls.left - 3 - lakeWidth);
    const int lakeTop = random.between(std::max(highland + 5, 9), kMapRows - 2 - lakeHeight);
    const CellRect lake {lakeLeft, lakeTop, lakeLeft + lakeWidth - 1, lakeTop + lakeHeight - 1};
    const bool besideWalls = lake.left <= walls.right + 2 && lake.right >= walls.left - 2;
    if (lake.left < 1 || lake.right > kMapColumns - 2 || besideWalls || !layLake(sketch, lake))
        return false;

    // From a spring under the highland down into the lake.
    const int sideLow = castleWest ? walls.right + 3 : 1;
    const int sideHigh = castleWest ? kMapColumns - 2 : walls.left - 3;
    RiverCourse spring;
    spring.from = highland;
    spring.to = lake.top - 1;
    spring.enterAt = random.between(sideLow, sideHigh);
    spring.leaveAt = random.between(lake.left + 1, lake.right - 1);
    spring.low = sideLow;
    spring.high = sideHigh;
    RiverPath path;
    if (!layRiver(sketch, random, spring, path))
        return false;
    static constexpr SymbolCode kSprings[] = {37, 39, 41, 41, 42};
    sketch.put(spring.enterAt, highland - 1, random.pick(std::span<const SymbolCode>(kSprings)));

    // Out of the lake: below the castle to the far edge, straight down, or
    // away from the castle; the first that finds its way.
    const int belowCastle = walls.bottom + 5;
    std::array<int, 3> ways {0, 1, 2};
    random.shuffle(std::span<int>(ways));
    bool outflow = false;
    bool villageRoom = true;
    for (const int way : ways) {
        RiverCourse course;
        if (way == 0) {
            if (belowCastle > lake.bottom - 1 || belowCastle > kMapRows - 2)
                continue;
            course.flow = castleWest ? Flow::West : Flow::East;
            course.from = castleWest ? lake.left - 1 : lake.right + 1;
            course.to = castleWest ? 0 : kMapColumns - 1;
            course.enterAt = random.between(std::max(lake.top + 1, belowCastle), lake.bottom - 1);
            course.low = belowCastle;
            course.high = kMapRows - 2;
        } else if (way == 1) {
            if (lake.bottom >= kMapRows - 1)
                continue;
            course.flow = Flow::South;
            course.from = lake.bottom + 1;
            course.to = kMapRows - 1;
            course.enterAt = random.between(lake.left + 1, lake.right - 1);
            course.low = sideLow;
            course.high = sideHigh;
        } else {
            course.flow = castleWest ? Flow::East : Flow::West;
            course.from = castleWest ? lake.right + 1 : lake.left - 1;
            course.to = castleWest ? kMapColumns - 1 : 0;
            course.enterAt = random.between(lake.top + 1, lake.bottom - 1);
            course.low = lake.top + 1;
            course.high = kMapRows - 2;
        }
        course.leaveAt = random.between(course.low, course.high);
        RiverPath out;
        if (layRiver(sketch, random, course, out)) {
            outflow = true;
            villageRoom = way != 0;
            break;
        }
    }
    if (!outflow)
        return false;

    WallPlan plan;
    plan.rect = walls;
    plan.gateCount = random.oneIn(3) ? 2 : 1;
    plan.gateSides = SideSet(kAllSides & ~sideBit(Side::North));
    plan.guardSpacing = random.between(5, 7);
    WallRing ring;
    if (!buildWallRing(sketch, random, plan, ring))
        return false;
    const Building required[] = {keep(random)};
    if (!fillStreets(
            sketch, random, walls.inset(2), required, castleBuilding, random.between(60, 95)))
        return false;
    sketch.claim(walls.inset(1));

    // A village below the castle, its inn or church among the houses.
    const CellRect village {
        walls.left, walls.bottom + 4, walls.right, std::min(walls.bottom + 8, kMapRows - 2)};
    if (villageRoom && village.height() >= 3 && random.oneIn(2)) {
        const Building landmark[]
            = {random.oneIn(2) ? block({5, 6}, {9, 10}) : row(std::array<SymbolCode, 2> {13, 14})};
        fillStreets(sketch, random, village, landmark, villageBuilding, random.between(30, 60));
    }

    static constexpr SymbolCode kHighland[] = {41, 41, 41, 42, 43, 44, 44, 37, 38, 39};
    scatter(sketch, random, {0, 0, kMapColumns - 1, highland - 1}, kHighland, 90);
    sketch.claim({0, 0, kMapColumns - 1, highland - 1});
    scatter(sketch, random, {0, highland, kMapColumns - 1, highland}, kTrees, 50);
    for (int woods = random.between(2, 5); woods > 0; --woods) {
        const CellRect lowland {0, highland, kMapColumns - 1, kMapRows - 1};
        clump(sketch, random, lowland, random.between(5, 20), kTrees, 55);
    }
    static constexpr SymbolCode kSwamp[] = {49};
    if (random.oneIn(2))
        clump(sketch, random, castleWest ? lake.right + 1 : lake.left - 1, lake.bottom,
            random.between(5, 12), kSwamp, 90);
    if (random.oneIn(2)) {
        static constexpr SymbolCode kPlains[] = {51, 52};
        const auto grass = std::span<const SymbolCode>(kPlains).subspan(random.below(2), 1);
        const CellRect lowland {0, highland, kMapColumns - 1, kMapRows - 1};
        clump(sketch, random, lowland, random.between(6, 14), grass, 95);
    }
    static constexpr SymbolCode kHills[] = {44};
    scatter(sketch, random, kWholeMap, kHills, random.between(1, 3));
    scatter(sketch, random, kWholeMap, kTrees, random.between(3, 8));
    return true;
}

} // namespace vellumor::mapcraft
