#include "generate/Builders.h"
#include "generate/Recipes.h"
#include "symbols/SymbolNames.h"

// A fort in the desert: sand with scrub and palms, sometimes a ridge of
// mountains along the top on bare rock; the fort's walls with guard posts and
// one or two gates, a watchtower in each inner corner, barracks, stores,
// stables with their wagon and one well inside; an oasis with its pond, a
// caravan or an old graveyard out in the sand. On sand only what is drawn on
// sand stands, so no picture shows a white box.
namespace vellumor::generate {

namespace {

Building fortBuilding(SeededRandom &random)
{
    enum Kind { Barracks, Stables, Stores, Quarters };
    static constexpr Weighted<Kind> kKinds[]
        = {{Barracks, 4}, {Stables, 1}, {Stores, 2}, {Quarters, 2}};
    switch (random.weighted(kKinds)) {
    case Barracks:
        return longHouse(random, random.between(3, 5));
    case Stables:
        return row(std::array<SymbolCode, 2> {sym::Stables, sym::Stables});
    case Stores:
        return single(random.oneIn(2) ? sym::Shop : sym::GeneralStore);
    case Quarters:
        break;
    }
    return row(std::array<SymbolCode, 2> {sym::House, sym::Shack});
}

void towerAt(Sketch &sketch, CellPlace top)
{
    const Building tower = picture(kTower);
    for (int row = 0; row < tower.height; ++row)
        sketch.put(across(top, Side::South, row), tower.cells[std::size_t(row)][0]);
}

// The wall's outline: in most forts a rectangle with a corner or two cut
// away (an L, a cut corner), in the rest a plain rectangle.
Outline planWalls(SeededRandom &random)
{
    const int width = random.between(13, 21);
    const int height = random.between(11, 17);
    const int left = random.between(3, kMapColumns - 3 - width);
    const int top = random.between(2, kMapRows - 2 - height);
    static constexpr Weighted<int> kCuts[] = {{0, 2}, {1, 2}, {2, 1}};
    return cutCorners(random, {left, top, left + width - 1, top + height - 1}, kCuts);
}

// How the yard is laid out: rows of buildings with streets between, or
// around a parade ground kept open in its middle.
enum class Yard { Rows, ParadeGround };
constexpr Weighted<Yard> kYards[] = {{Yard::Rows, 1}, {Yard::ParadeGround, 1}};

StreetArea layYard(Sketch &sketch, SeededRandom &random, const WallRing &ring)
{
    StreetArea yard = streetArea(ring);
    if (random.weighted(kYards) == Yard::Rows)
        return yard;
    const CellRect &area = yard.bounds;
    const int width = std::max(3, area.width() * random.between(35, 50) / 100);
    const int height = std::max(3, area.height() * random.between(35, 50) / 100);
    const int left = area.left + (area.width() - width) / 2;
    const int top = area.top + (area.height() - height) / 2;
    const CellRect parade {left, top, left + width - 1, top + height - 1};
    StreetArea around {area, {}};
    area.forEach([&](CellPlace place) {
        if (yard.cells.contains(place) && !parade.contains(place))
            around.cells.add(place);
    });
    parade.forEach([&](CellPlace place) {
        if (sketch.isFree(place))
            sketch.claim(place);
    });
    return around;
}

// The walls with their gates, a tower in each inner corner not cut away, the
// yard.
bool buildFort(Sketch &sketch, SeededRandom &random, const Outline &walls,
    const MapChoices &choices, WallRing &ring)
{
    if (!keptWallRing(sketch, ring)) {
        const CellRect &rect = walls.rect;
        rect.forEach([&](CellPlace place) {
            if (walls.contains(place) && !walls.isEdge(place))
                sketch.paint(place, kBlankSymbol);
        });
        static constexpr Weighted<int> kGates[] = {{1, 1}, {2, 2}};
        WallPlan plan;
        plan.outline = walls;
        plan.gateCount = choices.gates > 0 ? choices.gates : random.weighted(kGates);
        plan.cornerClearance = 3;
        plan.guardSpacing = random.between(4, 7);
        if (!buildWallRing(sketch, random, plan, ring))
            return false;
        const std::array<CellPlace, 4> towers {CellPlace {rect.left + 1, rect.top + 1},
            {rect.right - 1, rect.top + 1}, {rect.left + 1, rect.bottom - 2},
            {rect.right - 1, rect.bottom - 2}};
        for (int corner = 0; corner < 4; ++corner) {
            if (!isCutCorner(walls, corner))
                towerAt(sketch, towers[std::size_t(corner)]);
        }
    } else {
        ring.bounds.forEach([&](CellPlace place) {
            if (ring.inside.contains(place) && sketch.isFree(place))
                sketch.paint(place, kBlankSymbol);
        });
    }
    const Building required[] = {
        longHouse(random, random.between(4, 5)), // barracks
        block({sym::Stables, sym::Stables}, {sym::Wagon, sym::Blank}),
        single(sym::Well),
    };
    const StreetArea yard = layYard(sketch, random, ring);
    if (!fillStreets(sketch, random, yard, required, fortBuilding, random.between(55, 90)))
        return false;
    ring.bounds.forEach([&](CellPlace place) {
        if (ring.inside.contains(place))
            sketch.claim(place);
    });
    return true;
}

// Mountains along the top on a strip of bare rock, two cells or more clear of
// the walls; the ridge runs its whole length within the strip.
void maybeRidge(Sketch &sketch, SeededRandom &random, const WallRing &ring)
{
    // The strip of rock reaches a row past the ridge, so that no mountain
    // stands on the sand's edge.
    const int lastRow = std::min(ring.bounds.top - 3, 3);
    if (lastRow < 1 || !random.oneIn(2))
        return;
    const CellRect rock {0, 0, kMapColumns - 1, lastRow};
    const CellRect band {0, 0, kMapColumns - 1, lastRow - 1};
    sketch.fill(rock, kBlankSymbol);
    rock.forEach([&](CellPlace place) { // a road out of a gate goes on as bare rock
        if (sketch.at(place) == sym::Sand)
            sketch.put(place, kBlankSymbol);
    });
    const int length = random.between(kMapColumns / 2, kMapColumns - 2);
    const int start = random.between(0, kMapColumns - length);
    ridge(sketch, random, {start, random.between(0, band.bottom)}, length, Side::East, band);
    sketch.claim(rock);
}

// A pond in a clearing ringed by grass, with palms on the sand around it.
void maybeOasis(Sketch &sketch, SeededRandom &random, const WallRing &ring)
{
    if (!random.oneIn(2))
        return;
    for (int tries = 0; tries < 12; ++tries) {
        const CellPlace pond {random.between(3, kMapColumns - 4), random.between(3, kMapRows - 4)};
        const CellRect around {pond.column - 3, pond.row - 3, pond.column + 3, pond.row + 3};
        const CellRect bounds = ring.bounds;
        const bool nearWalls = around.right >= bounds.left - 1 && around.left <= bounds.right + 1
            && around.bottom >= bounds.top - 1 && around.top <= bounds.bottom + 1;
        if (nearWalls || !sketch.isAllFree(around))
            continue;
        static constexpr SymbolCode kPlains[] = {sym::Grass};
        static constexpr SymbolCode kPalms[] = {sym::SandPalm};
        clump(sketch, random, pond, random.between(14, 24), kPlains, 100);
        const CellRect clearing {pond.column - 1, pond.row - 1, pond.column + 1, pond.row + 1};
        clearing.forEach([&](CellPlace place) { sketch.put(place, kBlankSymbol); });
        sketch.put(pond, sym::PondRiverJoint);
        clump(sketch, random, pond, 30, kPalms, 30);
        return;
    }
}

// Wagons of a caravan on its way across the sand, on a slant.
void maybeCaravan(Sketch &sketch, SeededRandom &random)
{
    if (!random.oneIn(2))
        return;
    CellPlace at {random.between(1, kMapColumns - 6), random.between(1, kMapRows - 6)};
    for (int wagons = random.between(2, 4); wagons > 0; --wagons) {
        if (sketch.isFree(at))
            sketch.put(at, sym::Wagon);
        at = across(across(at, Side::East), Side::South);
    }
}

void dressDesert(Sketch &sketch, SeededRandom &random)
{
    if (random.oneIn(3)) {
        static constexpr SymbolCode kGraveyard[]
            = {sym::DryGrass, sym::DryGrass, sym::CemeteryDestroyed};
        clump(sketch, random, kWholeMap, random.between(5, 9), kGraveyard, 100);
    }
    static constexpr SymbolCode kScrub[] = {sym::SandScrub};
    static constexpr SymbolCode kPalms[] = {sym::SandPalm};
    scatter(sketch, random, kWholeMap, kScrub, random.between(5, 14));
    scatter(sketch, random, kWholeMap, kPalms, random.between(0, 2));
    tidyTerrain(sketch, random);
}

} // namespace

bool drawFort(Sketch &sketch, SeededRandom &random, const MapChoices &choices)
{
    sketch.layGround(sym::Sand);
    const Outline walls = planWalls(random);
    WallRing ring;
    if (!buildFort(sketch, random, walls, choices, ring))
        return false;
    maybeRidge(sketch, random, ring);
    maybeOasis(sketch, random, ring);
    maybeCaravan(sketch, random);
    dressDesert(sketch, random);
    return true;
}

} // namespace vellumor::generate
