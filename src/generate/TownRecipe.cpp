#include "generate/Builders.h"
#include "generate/KeptDrawing.h"
#include "generate/Recipes.h"
#include "symbols/SymbolNames.h"

#include <algorithm>
#include <optional>

// A walled town, from a hamlet to a crowded town: a ring of wall, not always
// a rectangle, with one to four gates and guard posts along its runs; a
// square with the well where the main streets from the gates meet, and a road
// from each gate out to the map's edge; streets of houses, shops and long
// houses around the inn, the church with its cemetery, the general store and
// the stables with a wagon; fields, woods and hills outside, and now and then
// a river past the walls on any side.
namespace vellumor::generate {

namespace {

struct TownSize
{
    int minWidth, maxWidth, minHeight, maxHeight;
    int fillLow, fillHigh; // how full the streets are, in percent
    int guardSpacing;
};

enum Size { Hamlet, MarketTown, Crowded };
constexpr TownSize kSizes[] = {
    {9, 12, 8, 10, 75, 100, 5},
    {16, 23, 12, 17, 65, 90, 8},
    {22, 29, 15, 20, 90, 100, 9},
};
constexpr Weighted<Size> kSizeChances[] = {{Hamlet, 3}, {MarketTown, 4}, {Crowded, 3}};

// What stands along a town's streets, and how often: mostly rows of houses.
enum TownBuilding { LongHouse, TownStables, GardenTree, LoneShop, Houses };
constexpr Weighted<TownBuilding> kTownBuildings[]
    = {{LongHouse, 2}, {TownStables, 1}, {GardenTree, 1}, {LoneShop, 1}, {Houses, 7}};

Building townBuilding(SeededRandom &random)
{
    static constexpr Weighted<SymbolCode> kHouses[]
        = {{sym::House, 3}, {sym::Shack, 2}, {sym::Shop, 1}};
    switch (random.weighted(kTownBuildings)) {
    case LongHouse:
        return longHouse(random, random.between(2, 5));
    case TownStables:
        return single(sym::Stables);
    case GardenTree:
        return single(sym::TreesDeciduous); // a tree in a garden
    case LoneShop:
        return single(sym::Shop);
    case Houses:
        break;
    }
    std::array<SymbolCode, 5> houses {};
    for (SymbolCode &house : houses)
        house = random.weighted(kHouses);
    return row(std::span<const SymbolCode>(houses.data(), std::size_t(random.between(2, 5))));
}

// The church with its cemetery beside it, on either side, one or two wide.
Building church(SeededRandom &random)
{
    Building cemetery;
    cemetery.width = random.between(1, 2);
    cemetery.height = 2;
    for (auto &cells : cemetery.cells)
        cells = {sym::Cemetery, sym::Cemetery};
    return random.oneIn(2) ? beside(picture(kChurch), cemetery)
                           : beside(cemetery, picture(kChurch));
}

// The wall's outline: a rectangle on the land, clear of the river's side,
// with one or two of its corners cut away in many towns. A river the town
// lays itself needs more room than one drawn beyond the land's edge.
Outline planOutline(SeededRandom &random, const TownSize &size, std::optional<Side> riverSide,
    const CellRect &land, int riverRoom)
{
    const auto room = [&](Side side) { return riverSide == side ? riverRoom : 2; };
    const int maxWidth = land.width() - room(Side::West) - room(Side::East);
    const int maxHeight = land.height() - std::max(room(Side::North), 1) - room(Side::South);
    const int width = std::min(random.between(size.minWidth, size.maxWidth), maxWidth);
    const int height = std::min(random.between(size.minHeight, size.maxHeight), maxHeight);
    const int left
        = random.between(land.left + room(Side::West), land.right + 1 - room(Side::East) - width);
    const int top = random.between(
        land.top + std::max(room(Side::North), 1), land.bottom + 1 - room(Side::South) - height);
    static constexpr Weighted<int> kCuts[] = {{0, 5}, {1, 3}, {2, 2}};
    return cutCorners(random, {left, top, left + width - 1, top + height - 1}, kCuts);
}

// The square with the well, and the main streets from each gate to it.
bool layMainStreets(Sketch &sketch, SeededRandom &random, const WallRing &ring)
{
    const StreetArea area = streetArea(ring);
    std::array<CellPlace, kCellCount> spots {};
    int count = 0;
    const CellRect middle {area.bounds.left + area.bounds.width() / 4,
        area.bounds.top + area.bounds.height() / 4, area.bounds.right - area.bounds.width() / 4,
        area.bounds.bottom - area.bounds.height() / 4};
    middle.forEach([&](CellPlace place) {
        bool clear = true;
        CellRect {place.column - 1, place.row - 1, place.column + 1, place.row + 1}.forEach(
            [&](CellPlace cell) {
                clear = clear && area.cells.contains(cell) && sketch.isFree(cell);
            });
        if (clear)
            spots[std::size_t(count++)] = place;
    });
    if (count == 0)
        return false;
    const CellPlace well = spots[random.below(std::uint32_t(count))];
    CellRect {well.column - 1, well.row - 1, well.column + 1, well.row + 1}.forEach(
        [&](CellPlace cell) { sketch.put(cell, sym::Blank); });
    sketch.put(well, sym::Well);

    for (int i = 0; i < ring.gateCount; ++i) {
        const Gateway &gate = ring.gates[std::size_t(i)];
        const Side inward = opposite(gate.outward);
        const bool northSouth = inward == Side::North || inward == Side::South;
        CellPlace at = across(gate.place, inward);
        // In from the gate to the square's row (or column), then along it.
        const auto reached = [&](CellPlace cell) {
            return northSouth ? cell.row == well.row : cell.column == well.column;
        };
        for (int steps = 0; !reached(at) && steps < kMapRows + kMapColumns; ++steps) {
            at = across(at, inward);
            if (!ring.inside.contains(at))
                return false;
            if (at != well)
                sketch.put(at, sym::Blank);
        }
        const Side toward = northSouth ? (well.column > at.column ? Side::East : Side::West)
                                       : (well.row > at.row ? Side::South : Side::North);
        while (std::abs(at.column - well.column) + std::abs(at.row - well.row) > 1) {
            at = across(at, toward);
            if (!ring.inside.contains(at))
                return false;
            if (at != well)
                sketch.put(at, sym::Blank);
        }
        roadOut(sketch, gate);
    }
    return true;
}

// A river past the walls along one side of the map, from edge to edge.
bool layRiverBeside(Sketch &sketch, SeededRandom &random, const CellRect &walls, Side side)
{
    RiverCourse course;
    const bool alongColumns = side == Side::East || side == Side::West;
    course.flow = alongColumns ? (random.oneIn(2) ? Flow::South : Flow::North)
                               : (random.oneIn(2) ? Flow::East : Flow::West);
    const int last = (alongColumns ? kMapRows : kMapColumns) - 1;
    const bool forward = course.flow == Flow::South || course.flow == Flow::East;
    course.from = forward ? 0 : last;
    course.to = forward ? last : 0;
    switch (side) {
    case Side::East:
        course.low = walls.right + 2, course.high = kMapColumns - 2;
        break;
    case Side::West:
        course.low = 1, course.high = walls.left - 2;
        break;
    case Side::South:
        course.low = walls.bottom + 2, course.high = kMapRows - 2;
        break;
    case Side::North:
        course.low = 1, course.high = walls.top - 2;
        break;
    }
    if (course.high < course.low)
        return false;
    course.enterAt = random.between(course.low, course.high);
    course.leaveAt = random.between(course.low, course.high);
    course.leaveSpread = kLeaveAnywhere;
    course.bendPercent = random.between(15, 40);
    RiverPath path;
    if (!layRiver(sketch, random, course, path))
        return false;
    if (random.oneIn(2))
        addBranch(sketch, random, path, side, random.oneIn(3));
    return true;
}

// Inside the walls: the inn, the church and the rest in streets.
bool fillTown(
    Sketch &sketch, SeededRandom &random, const WallRing &ring, const TownSize &size, bool hamlet)
{
    std::array<Building, 5> required {
        church(random),
        row(std::array<SymbolCode, 3> {sym::Stables, sym::Stables, sym::Wagon}),
        picture(kInn),
        single(sym::GeneralStore),
        longHouse(random, random.between(3, 5)),
    };
    const int count = hamlet ? 3 : 5;
    random.shuffle(std::span<Building>(required.data() + 1, 4));
    if (!fillStreets(sketch, random, streetArea(ring),
            std::span<const Building>(required.data(), std::size_t(count)), townBuilding,
            random.between(size.fillLow, size.fillHigh)))
        return false;
    ring.bounds.forEach([&](CellPlace place) {
        if (ring.inside.contains(place))
            sketch.claim(place);
    });
    return true;
}

// Fields by the roads out of the gates, a little way from the walls, on
// either side, each grown to an outline of its own.
void fieldsByTheRoads(Sketch &sketch, SeededRandom &random, const WallRing &ring)
{
    for (int i = 0; i < ring.gateCount; ++i) {
        const Gateway &gate = ring.gates[std::size_t(i)];
        const bool northSouth = gate.outward == Side::North || gate.outward == Side::South;
        for (const Side flank : northSouth ? std::array {Side::East, Side::West}
                                           : std::array {Side::North, Side::South}) {
            if (random.oneIn(3))
                continue;
            const CellPlace road = across(gate.place, gate.outward, random.between(3, 6));
            const SymbolCode grass[] = {random.oneIn(3) ? sym::DryGrass : sym::Grass};
            // One draw a statement: the order of a call's arguments is the
            // compiler's, and every compiler must make the same map.
            const CellPlace from = across(road, flank, random.between(2, 3));
            const int size = random.between(6, 16);
            clump(sketch, random, from, size, grass, 100);
        }
    }
}

// The country outside: fields by the roads, woods, now and then swamp, hills,
// lone trees.
void dressCountry(Sketch &sketch, SeededRandom &random, const WallRing &ring)
{
    fieldsByTheRoads(sketch, random, ring);
    for (int woods = random.between(1, 4); woods > 0; --woods)
        clump(sketch, random, kWholeMap, random.between(6, 24), livingTrees(), 60);
    if (random.oneIn(4)) {
        static constexpr SymbolCode kSwamp[] = {sym::Swamp};
        clump(sketch, random, kWholeMap, random.between(6, 14), kSwamp, 95);
    }
    static constexpr SymbolCode kHills[] = {sym::Hills};
    scatter(sketch, random, kWholeMap, kHills, random.between(1, 4));
    scatter(sketch, random, kWholeMap, livingTrees(), random.between(4, 12));
    tidyTerrain(sketch, random);
}

} // namespace

bool drawTown(Sketch &sketch, SeededRandom &random, const MapChoices &choices)
{
    const Size sizeKind = random.weighted(kSizeChances);
    const TownSize &size = kSizes[sizeKind];
    // A river drawn across the map: the town stands on one bank of it, its
    // gates facing away; otherwise the town may lay a river of its own.
    const auto keptRiver = keptRiverAcross(sketch);
    std::optional<Side> riverSide;
    CellRect land = kWholeMap;
    if (keptRiver) {
        const Bank bank = largerBank(*keptRiver, 1);
        land = bank.land;
        riverSide = bank.river;
    } else if (wantsRiver(random, choices, 50) && !keptBounds(sketch, Family::River)) {
        // A river the user drew is the town's river: none is laid beside it.
        riverSide = kSides[random.below(4)];
    }

    WallRing ring;
    if (!keptWallRing(sketch, ring)) {
        static constexpr Weighted<int> kGates[] = {{1, 2}, {2, 4}, {3, 2}, {4, 1}};
        WallPlan plan;
        plan.outline = planOutline(random, size, riverSide, land, keptRiver ? 1 : 6);
        plan.gateCount = choices.gates > 0 ? choices.gates : random.weighted(kGates);
        if (riverSide)
            plan.gateSides = SideSet(kAllSides & ~sideBit(*riverSide));
        plan.guardSpacing = random.between(size.guardSpacing - 1, size.guardSpacing + 2);
        if (!buildWallRing(sketch, random, plan, ring))
            return false;
    }
    if (!layMainStreets(sketch, random, ring))
        return false;
    if (riverSide && !keptRiver && !layRiverBeside(sketch, random, ring.bounds, *riverSide))
        return false;
    if (!fillTown(sketch, random, ring, size, sizeKind == Hamlet))
        return false;
    dressCountry(sketch, random, ring);
    return true;
}

} // namespace vellumor::generate
