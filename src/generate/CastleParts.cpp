#include "generate/CastleParts.h"

#include "generate/KeptDrawing.h"
#include "symbols/SymbolNames.h"

#include <algorithm>

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

// The castle with its tower at one side or the other.
Building keep(SeededRandom &random)
{
    return random.oneIn(2) ? beside(picture(kCastle), picture(kTower))
                           : beside(picture(kTower), picture(kCastle));
}

bool holdsKeptCastle(const Sketch &sketch, const WallRing &ring)
{
    bool held = false;
    ring.bounds.forEach([&](CellPlace place) {
        held = held
            || (ring.inside.contains(place) && sketch.isKept(place)
                && symbolFamily(sketch.at(place)) == Family::Castle);
    });
    return held;
}

} // namespace

std::optional<CellRect> keptKeepWalls(const Sketch &sketch, SeededRandom &random)
{
    WallRing ring;
    if (keptWallRing(sketch, ring))
        return ring.bounds;
    const auto castle = keptBounds(sketch, Family::Castle);
    if (!castle)
        return std::nullopt;
    // A yard of two cells or more round the castle: the street inside the
    // wall, and a row of buildings now and then.
    const auto margin = [&] { return random.between(3, 5); };
    const int left = castle->left - margin(), right = castle->right + margin();
    const int top = castle->top - margin(), bottom = castle->bottom + margin();
    return CellRect {left, top, right, bottom};
}

CellRect keepWalls(const std::optional<CellRect> &kept, const CellRect &wanted)
{
    return kept ? *kept : wanted;
}

bool buildKeep(Sketch &sketch, SeededRandom &random, const KeepPlan &plan,
    const MapChoices &choices, WallRing &ring)
{
    if (!keptWallRing(sketch, ring)) {
        static constexpr Weighted<int> kGates[] = {{1, 2}, {2, 1}};
        WallPlan walls;
        walls.outline.rect = plan.walls;
        walls.gateCount = choices.gates > 0 ? choices.gates : random.weighted(kGates);
        walls.gateSides = plan.gateSides;
        walls.guardSpacing = random.between(5, 7);
        if (!buildWallRing(sketch, random, walls, ring))
            return false;
    }
    const Building withKeep[] = {keep(random), single(sym::Well)};
    // A castle the user drew is the keep; the yard has its well all the same.
    const auto required = holdsKeptCastle(sketch, ring)
        ? std::span<const Building>(withKeep).subspan(1)
        : std::span<const Building>(withKeep);
    if (!fillStreets(
            sketch, random, streetArea(ring), required, castleBuilding, random.between(60, 95)))
        return false;
    ring.bounds.forEach([&](CellPlace place) {
        if (ring.inside.contains(place))
            sketch.claim(place);
    });
    return true;
}

void village(Sketch &sketch, SeededRandom &random, const CellRect &area)
{
    if (area.height() < 3 || area.width() < 5 || !random.oneIn(2))
        return;
    const Building landmark[] = {random.oneIn(2) ? picture(kInn) : picture(kChurch)};
    fillStreets(
        sketch, random, streetArea(area), landmark, villageBuilding, random.between(30, 60));
}

void dressLowland(Sketch &sketch, SeededRandom &random, const CellRect &lowland, CellPlace shore)
{
    for (int woods = random.between(2, 5); woods > 0; --woods)
        clump(sketch, random, lowland, random.between(5, 20), livingTrees(), 55);
    static constexpr SymbolCode kSwamp[] = {sym::Swamp};
    if (random.oneIn(2) && onMap(shore))
        clump(sketch, random, shore, random.between(5, 12), kSwamp, 90);
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

} // namespace vellumor::generate
