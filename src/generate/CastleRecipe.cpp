#include "generate/Builders.h"
#include "generate/Recipes.h"
#include "symbols/SymbolNames.h"

#include <algorithm>

// A castle by a lake: mountains and forest along the top of the map, a river
// rising under them and falling into the lake, and another running out of the
// lake to the map's edge; the keep with its tower inside a ring of wall on
// the other side of the map, and sometimes a village outside its gate.
namespace vellumor::generate {

namespace {

// What stands in a castle's yard, and how often.
enum YardBuilding { Tower, Barracks, YardStables, YardTree, Cottage };
constexpr Weighted<YardBuilding> kYardBuildings[]
    = {{Tower, 1}, {Barracks, 2}, {YardStables, 1}, {YardTree, 1}, {Cottage, 1}};

Building castleBuilding(SeededRandom &random)
{
    switch (random.weighted(kYardBuildings)) {
    case Tower:
        return picture(kTower);
    case Barracks:
        return longHouse(random, random.between(2, 4));
    case YardStables:
        return row(std::array<SymbolCode, 2> {sym::Stables, sym::Stables});
    case YardTree:
        return single(sym::TreesDeciduous);
    case Cottage:
        break;
    }
    return single(random.oneIn(2) ? sym::House : sym::Shop);
}

Building villageBuilding(SeededRandom &random)
{
    static constexpr Weighted<SymbolCode> kHouses[]
        = {{sym::House, 2}, {sym::Shack, 1}, {sym::Shop, 1}};
    if (random.oneIn(5))
        return single(sym::TreesDeciduous);
    std::array<SymbolCode, 3> houses {};
    for (SymbolCode &house : houses)
        house = random.weighted(kHouses);
    return row(std::span<const SymbolCode>(houses.data(), std::size_t(random.between(1, 3))));
}

Building keep(SeededRandom &random)
{
    return random.oneIn(2) ? beside(picture(kCastle), picture(kTower))
                           : beside(picture(kTower), picture(kCastle));
}

// Where everything goes, decided before anything is drawn.
struct CastlePlan
{
    bool castleWest = false;
    int highland = 2; // rows of mountains and forest along the top
    CellRect walls;
    CellRect lake;
    bool rivers = true;
    // The columns between the castle and the map's far edge.
    int sideLow = 0;
    int sideHigh = 0;
};

CastlePlan planCastle(SeededRandom &random, const MapChoices &choices)
{
    CastlePlan plan;
    plan.castleWest = random.oneIn(2);
    plan.highland = random.between(2, 3);
    const int width = random.between(13, 17);
    const int height = random.between(8, 11);
    const int left
        = plan.castleWest ? random.between(1, 3) : kMapColumns - width - random.between(1, 3);
    const int top = random.between(plan.highland + 1, plan.highland + 3);
    plan.walls = {left, top, left + width - 1, top + height - 1};
    const int lakeWidth = random.between(6, 9);
    const int lakeHeight = random.between(5, 7);
    const int lakeLeft = plan.castleWest
        ? random.between(plan.walls.right + 4, kMapColumns - 2 - lakeWidth)
        : random.between(1, plan.walls.left - 3 - lakeWidth);
    const int lakeTop = random.between(std::max(plan.highland + 5, 9), kMapRows - 2 - lakeHeight);
    plan.lake = {lakeLeft, lakeTop, lakeLeft + lakeWidth - 1, lakeTop + lakeHeight - 1};
    plan.rivers = wantsRiver(random, choices, 100);
    plan.sideLow = plan.castleWest ? plan.walls.right + 3 : 1;
    plan.sideHigh = plan.castleWest ? kMapColumns - 2 : plan.walls.left - 3;
    return plan;
}

// The lake, and the river from a spring under the highland down into it.
bool layLakeAndSpring(Sketch &sketch, SeededRandom &random, const CastlePlan &plan)
{
    const CellRect &lake = plan.lake;
    const bool besideWalls = lake.left <= plan.walls.right + 2 && lake.right >= plan.walls.left - 2;
    if (lake.left < 1 || lake.right > kMapColumns - 2 || besideWalls || !layLake(sketch, lake))
        return false;
    if (!plan.rivers)
        return true;
    RiverCourse spring;
    spring.from = plan.highland;
    spring.to = lake.top - 1;
    spring.enterAt = random.between(plan.sideLow, plan.sideHigh);
    spring.leaveAt = random.between(lake.left + 1, lake.right - 1);
    spring.low = plan.sideLow;
    spring.high = plan.sideHigh;
    RiverPath path;
    return layRiver(sketch, random, spring, path)
        && raiseSpring(sketch, random, {spring.enterAt, plan.highland - 1}, Side::South);
}

// Out of the lake to the map's edge: below the castle to the far edge,
// straight down, or away from the castle; the first that finds its way.
// Gives whether the village below the castle keeps its room.
bool layOutflow(Sketch &sketch, SeededRandom &random, const CastlePlan &plan, bool &villageRoom)
{
    const CellRect &lake = plan.lake;
    const int belowCastle = plan.walls.bottom + 5;
    enum Way { PastTheCastle, Down, Away };
    std::array<Way, 3> ways {PastTheCastle, Down, Away};
    random.shuffle(std::span<Way>(ways));
    for (const Way way : ways) {
        RiverCourse course;
        if (way == PastTheCastle) {
            if (belowCastle > lake.bottom - 1 || belowCastle > kMapRows - 2)
                continue;
            course.flow = plan.castleWest ? Flow::West : Flow::East;
            course.from = plan.castleWest ? lake.left - 1 : lake.right + 1;
            course.to = plan.castleWest ? 0 : kMapColumns - 1;
            course.enterAt = random.between(std::max(lake.top + 1, belowCastle), lake.bottom - 1);
            course.low = belowCastle;
            course.high = kMapRows - 2;
        } else if (way == Down) {
            if (lake.bottom >= kMapRows - 1)
                continue;
            course.flow = Flow::South;
            course.from = lake.bottom + 1;
            course.to = kMapRows - 1;
            course.enterAt = random.between(lake.left + 1, lake.right - 1);
            course.low = plan.sideLow;
            course.high = plan.sideHigh;
        } else {
            course.flow = plan.castleWest ? Flow::East : Flow::West;
            course.from = plan.castleWest ? lake.right + 1 : lake.left - 1;
            course.to = plan.castleWest ? kMapColumns - 1 : 0;
            course.enterAt = random.between(lake.top + 1, lake.bottom - 1);
            course.low = lake.top + 1;
            course.high = kMapRows - 2;
        }
        course.leaveAt = random.between(course.low, course.high);
        RiverPath out;
        if (layRiver(sketch, random, course, out)) {
            villageRoom = way != PastTheCastle;
            return true;
        }
    }
    return false;
}

// The ring of wall (or the one the user drew) with the keep and its yard.
bool buildKeep(Sketch &sketch, SeededRandom &random, const CastlePlan &plan,
    const MapChoices &choices, WallRing &ring)
{
    if (!keptWallRing(sketch, ring)) {
        static constexpr Weighted<int> kGates[] = {{1, 2}, {2, 1}};
        WallPlan walls;
        walls.outline.rect = plan.walls;
        walls.gateCount = choices.gates > 0 ? choices.gates : random.weighted(kGates);
        walls.gateSides = SideSet(kAllSides & ~sideBit(Side::North));
        walls.guardSpacing = random.between(5, 7);
        if (!buildWallRing(sketch, random, walls, ring))
            return false;
    }
    const Building required[] = {keep(random), single(sym::Well)};
    if (!fillStreets(
            sketch, random, streetArea(ring), required, castleBuilding, random.between(60, 95)))
        return false;
    ring.bounds.forEach([&](CellPlace place) {
        if (ring.inside.contains(place))
            sketch.claim(place);
    });
    return true;
}

// A village below the castle, its inn or church among the houses.
void maybeVillage(Sketch &sketch, SeededRandom &random, const WallRing &ring)
{
    const CellRect village {ring.bounds.left, ring.bounds.bottom + 4, ring.bounds.right,
        std::min(ring.bounds.bottom + 8, kMapRows - 2)};
    if (village.height() < 3 || !random.oneIn(2))
        return;
    const Building landmark[] = {random.oneIn(2) ? picture(kInn) : picture(kChurch)};
    fillStreets(
        sketch, random, streetArea(village), landmark, villageBuilding, random.between(30, 60));
}

// Mountains and forest along the top, woods, swamp by the lake and grass
// below.
void dressCountry(Sketch &sketch, SeededRandom &random, const CastlePlan &plan)
{
    static constexpr SymbolCode kHighland[]
        = {sym::Mountain, sym::Mountain, sym::Mountain, sym::MountainCave, sym::Hills, sym::Hills,
            sym::TreesEvergreen, sym::TreesDeciduous, sym::TreesOldEvergreen};
    const CellRect highland {0, 0, kMapColumns - 1, plan.highland - 1};
    const CellRect lowland {0, plan.highland, kMapColumns - 1, kMapRows - 1};
    scatter(sketch, random, highland, kHighland, 90);
    static constexpr Weighted<int> kVolcanoes[] = {{0, 2}, {1, 3}, {2, 3}};
    crownVolcanoes(sketch, random, random.weighted(kVolcanoes));
    scatter(sketch, random, {0, plan.highland, kMapColumns - 1, plan.highland}, livingTrees(), 50);
    for (int woods = random.between(2, 5); woods > 0; --woods)
        clump(sketch, random, lowland, random.between(5, 20), livingTrees(), 55);
    static constexpr SymbolCode kSwamp[] = {sym::Swamp};
    if (random.oneIn(2)) {
        const CellPlace shore {
            plan.castleWest ? plan.lake.right + 2 : plan.lake.left - 2, plan.lake.bottom};
        clump(sketch, random, shore, random.between(5, 12), kSwamp, 90);
    }
    if (random.oneIn(2)) {
        static constexpr SymbolCode kPlains[] = {sym::Grass, sym::DryGrass};
        const auto grass = std::span<const SymbolCode>(kPlains).subspan(random.below(2), 1);
        clump(sketch, random, lowland, random.between(6, 14), grass, 95);
    }
    static constexpr SymbolCode kHills[] = {sym::Hills};
    scatter(sketch, random, kWholeMap, kHills, random.between(1, 3));
    scatter(sketch, random, kWholeMap, livingTrees(), random.between(3, 8));
    tidyTerrain(sketch, random);
}

} // namespace

bool drawCastle(Sketch &sketch, SeededRandom &random, const MapChoices &choices)
{
    const CastlePlan plan = planCastle(random, choices);
    bool villageRoom = true;
    if (!layLakeAndSpring(sketch, random, plan)
        || (plan.rivers && !layOutflow(sketch, random, plan, villageRoom)))
        return false;
    WallRing ring;
    if (!buildKeep(sketch, random, plan, choices, ring))
        return false;
    if (villageRoom)
        maybeVillage(sketch, random, ring);
    dressCountry(sketch, random, plan);
    return true;
}

} // namespace vellumor::generate
