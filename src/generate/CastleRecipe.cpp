#include "generate/CastleParts.h"
#include "generate/KeptDrawing.h"
#include "generate/Recipes.h"
#include "symbols/SymbolNames.h"

#include <algorithm>

// A castle in one of several layouts. The first, here: the highland along
// the top or the bottom of the map, a river rising under it and falling into
// a lake, another running out of the lake to the map's edge, the keep with
// its tower inside a ring of wall on the other side of the map, and
// sometimes a village outside its gate. The others are in CastleLayouts.cpp.
namespace vellumor::generate {

namespace {

// The highland layout is planned as if the highland lay along the top; with
// it along the bottom, rows and the ways north and south are turned over.
struct Facing
{
    bool south = false;

    int row(int r) const { return south ? kMapRows - 1 - r : r; }
    CellRect rect(const CellRect &r) const
    {
        return south ? CellRect {r.left, row(r.bottom), r.right, row(r.top)} : r;
    }
    Side side(Side s) const
    {
        return south && (s == Side::North || s == Side::South) ? opposite(s) : s;
    }
    RiverCourse course(RiverCourse c) const
    {
        if (!south)
            return c;
        if (c.flow == Flow::South || c.flow == Flow::North) {
            c.flow = c.flow == Flow::South ? Flow::North : Flow::South;
            c.from = row(c.from);
            c.to = row(c.to);
        } else {
            c.enterAt = row(c.enterAt);
            c.leaveAt = row(c.leaveAt);
            const int low = row(c.high), high = row(c.low);
            c.low = low;
            c.high = high;
        }
        return c;
    }
};

// Where everything goes, decided before anything is drawn, as seen with the
// highland along the top.
struct HighlandPlan
{
    Facing facing;
    bool castleWest = false;
    int highland = 2; // rows of mountains and forest along the top
    CellRect walls;
    CellRect lake;
    bool lakeKept = false;
    bool rivers = true;
    bool riversMayGo = false;
    // The columns between the castle and the map's far edge.
    int sideLow = 0;
    int sideHigh = 0;
};

std::optional<HighlandPlan> planHighland(
    const Sketch &sketch, SeededRandom &random, const MapChoices &choices)
{
    HighlandPlan plan;
    plan.facing.south = random.oneIn(2);
    const Facing &facing = plan.facing;
    const auto keptLake = keptBounds(sketch, Family::Lake);
    const auto keptWalls = keptKeepWalls(sketch, random);
    plan.castleWest = keptWalls ? keptWalls->left + keptWalls->right < kMapColumns
        : keptLake              ? keptLake->left + keptLake->right >= kMapColumns
                                : random.oneIn(2);
    plan.highland = random.between(2, 3);
    const int width = random.between(13, 17);
    const int height = random.between(8, 11);
    const int left
        = plan.castleWest ? random.between(1, 3) : kMapColumns - width - random.between(1, 3);
    const int top = random.between(plan.highland + 1, plan.highland + 3);
    plan.walls = keepWalls(keptWalls ? std::optional(facing.rect(*keptWalls)) : std::nullopt,
        {left, top, left + width - 1, top + height - 1});
    if (keptLake) {
        plan.lake = facing.rect(*keptLake);
        plan.lakeKept = true;
    } else {
        const int lakeWidth = random.between(6, 9);
        const int lakeHeight = random.between(5, 7);
        const int lakeLeft = plan.castleWest
            ? random.between(plan.walls.right + 4, kMapColumns - 2 - lakeWidth)
            : random.between(1, plan.walls.left - 3 - lakeWidth);
        const int lakeTop
            = random.between(std::max(plan.highland + 5, 9), kMapRows - 2 - lakeHeight);
        plan.lake = {lakeLeft, lakeTop, lakeLeft + lakeWidth - 1, lakeTop + lakeHeight - 1};
    }
    if (plan.walls.top <= plan.highland || plan.lake.top < plan.highland + 3)
        return std::nullopt;
    plan.rivers = wantsRiver(random, choices, 100);
    plan.riversMayGo = riversMayGo(sketch, choices);
    plan.sideLow = plan.castleWest ? plan.walls.right + 3 : 1;
    plan.sideHigh = plan.castleWest ? kMapColumns - 2 : plan.walls.left - 3;
    return plan;
}

// The lake, and the river from a spring under the highland down into it.
bool layLakeAndSpring(Sketch &sketch, SeededRandom &random, const HighlandPlan &plan)
{
    const CellRect &lake = plan.lake;
    const Facing &facing = plan.facing;
    const bool besideWalls = lake.left <= plan.walls.right + 2 && lake.right >= plan.walls.left - 2;
    if (lake.left < 1 || lake.right > kMapColumns - 2 || besideWalls
        || (!plan.lakeKept && !layLake(sketch, facing.rect(lake))))
        return false;
    if (!plan.rivers)
        return true;
    RiverCourse spring;
    spring.from = plan.highland;
    spring.to = lake.top - 1;
    spring.enterAt = random.between(plan.sideLow, plan.sideHigh);
    spring.leaveAt = (lake.left + lake.right) / 2;
    spring.leaveSpread = (lake.width() - 3) / 2;
    spring.low = plan.sideLow;
    spring.high = plan.sideHigh;
    RiverPath path;
    if (!layRiver(sketch, random, facing.course(spring), path))
        return plan.riversMayGo;
    return raiseSpring(
        sketch, random, {spring.enterAt, facing.row(plan.highland - 1)}, facing.side(Side::South));
}

// Out of the lake to the map's edge: below the castle to the far edge,
// straight down, or away from the castle; the first that finds its way.
// Gives whether the village below the castle keeps its room.
bool layOutflow(Sketch &sketch, SeededRandom &random, const HighlandPlan &plan, bool &villageRoom)
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
        course.leaveSpread = kLeaveAnywhere;
        RiverPath out;
        if (layRiver(sketch, random, plan.facing.course(course), out)) {
            villageRoom = way != PastTheCastle;
            return true;
        }
    }
    return false;
}

// Mountains and forest along the highland's rows, then the lowland.
void dressCountry(Sketch &sketch, SeededRandom &random, const HighlandPlan &plan)
{
    const Facing &facing = plan.facing;
    static constexpr SymbolCode kHighland[]
        = {sym::Mountain, sym::Mountain, sym::Mountain, sym::MountainCave, sym::Hills, sym::Hills,
            sym::TreesEvergreen, sym::TreesDeciduous, sym::TreesOldEvergreen};
    scatter(sketch, random, facing.rect({0, 0, kMapColumns - 1, plan.highland - 1}), kHighland, 90);
    static constexpr Weighted<int> kVolcanoes[] = {{0, 2}, {1, 3}, {2, 3}};
    crownVolcanoes(sketch, random, random.weighted(kVolcanoes));
    scatter(sketch, random, facing.rect({0, plan.highland, kMapColumns - 1, plan.highland}),
        livingTrees(), 50);
    const CellPlace shore {
        plan.castleWest ? plan.lake.right + 2 : plan.lake.left - 2, facing.row(plan.lake.bottom)};
    dressLowland(
        sketch, random, facing.rect({0, plan.highland, kMapColumns - 1, kMapRows - 1}), shore);
}

bool drawHighland(Sketch &sketch, SeededRandom &random, const MapChoices &choices)
{
    const auto planned = planHighland(sketch, random, choices);
    if (!planned)
        return false;
    const HighlandPlan &plan = *planned;
    bool villageRoom = true;
    if (!layLakeAndSpring(sketch, random, plan)
        || (plan.rivers && !layOutflow(sketch, random, plan, villageRoom) && !plan.riversMayGo))
        return false;
    const Facing &facing = plan.facing;
    WallRing ring;
    const KeepPlan keepPlan {
        facing.rect(plan.walls), SideSet(kAllSides & ~sideBit(facing.side(Side::North)))};
    if (!buildKeep(sketch, random, keepPlan, choices, ring))
        return false;
    if (villageRoom) {
        const CellRect below {plan.walls.left, plan.walls.bottom + 4, plan.walls.right,
            std::min(plan.walls.bottom + 8, kMapRows - 2)};
        village(sketch, random, facing.rect(below));
    }
    dressCountry(sketch, random, plan);
    return true;
}

using Layout = bool (*)(Sketch &, SeededRandom &, const MapChoices &);

} // namespace

bool drawCastle(Sketch &sketch, SeededRandom &random, const MapChoices &choices)
{
    if (keptRiverAcross(sketch))
        return drawOnTheBank(sketch, random, choices);
    // No layout in more than half the maps; between rivers has no lake, so
    // not where the user drew one.
    static constexpr Weighted<Layout> kLayouts[]
        = {{drawHighland, 1}, {drawLakeBeforeGate, 1}, {drawBetweenRivers, 1}};
    static constexpr Weighted<Layout> kWithLake[] = {{drawHighland, 1}, {drawLakeBeforeGate, 1}};
    const bool lakeKept = keptBounds(sketch, Family::Lake).has_value();
    const Layout layout = lakeKept ? random.weighted(kWithLake) : random.weighted(kLayouts);
    // A river the user drew is the castle's river: no second one beside it.
    MapChoices withRivers = choices;
    if (keptBounds(sketch, Family::River))
        withRivers.river = RiverChoice::Never;
    return layout(sketch, random, withRivers);
}

} // namespace vellumor::generate
