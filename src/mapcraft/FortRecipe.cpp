#include "mapcraft/Builders.h"
#include "mapcraft/Recipes.h"

// A fort in the desert: sand with scrub, palms and dunes of hills, sometimes
// a ridge of mountains along the top; the fort's walls with guard posts and
// one or two gates, a watchtower in each inner corner, barracks, stables with
// their wagons and a well inside; an oasis with its pond, a caravan or an old
// graveyard out in the sand.
namespace vellumor::mapcraft {

namespace {

Building fortBuilding(SeededRandom &random)
{
    switch (random.below(8)) {
    case 0:
    case 1:
    case 2:
        return longHouse(random, random.between(3, 5)); // barracks
    case 3:
        return row(std::array<SymbolCode, 2> {12, 12});
    case 4:
        return single(48);
    case 5:
        return row(
            std::array<SymbolCode, 3> {1, 2, random.oneIn(2) ? SymbolCode(2) : SymbolCode(1)});
    case 6:
        return single(random.oneIn(2) ? 3 : 4);
    default:
        return single(16);
    }
}

void towerAt(Sketch &sketch, int column, int top)
{
    sketch.put(column, top, 20);
    sketch.put(column, top + 1, 24);
}

// Plains around the pond, palms at their rim.
void oasis(Sketch &sketch, SeededRandom &random, const CellRect &walls)
{
    for (int tries = 0; tries < 12; ++tries) {
        const int column = random.between(2, kMapColumns - 3);
        const int row = random.between(2, kMapRows - 3);
        const CellRect around {column - 2, row - 2, column + 2, row + 2};
        const bool nearWalls = around.right >= walls.left - 2 && around.left <= walls.right + 2
            && around.bottom >= walls.top - 2 && around.top <= walls.bottom + 2;
        if (nearWalls || !sketch.isFree(around))
            continue;
        static constexpr SymbolCode kPlains[] = {51};
        static constexpr SymbolCode kPalms[] = {47};
        clump(sketch, random, column, row, random.between(10, 18), kPlains, 100);
        sketch.put(column, row, 30);
        clump(sketch, random, column, row, 24, kPalms, 35);
        return;
    }
}

} // namespace

bool drawFort(Sketch &sketch, SeededRandom &random)
{
    sketch.layGround(45);

    const int width = random.between(13, 21);
    const int height = random.between(11, 17);
    const int left = random.between(3, kMapColumns - 3 - width);
    const int top = random.between(2, kMapRows - 2 - height);
    const CellRect walls {left, top, left + width - 1, top + height - 1};
    sketch.fill(walls.inset(1), kBlankSymbol);

    WallPlan plan;
    plan.rect = walls;
    plan.gateCount = random.oneIn(3) ? 1 : 2;
    plan.cornerClearance = 3;
    plan.guardSpacing = random.between(4, 7);
    WallRing ring;
    if (!buildWallRing(sketch, random, plan, ring))
        return false;
    towerAt(sketch, walls.left + 1, walls.top + 1);
    towerAt(sketch, walls.right - 1, walls.top + 1);
    towerAt(sketch, walls.left + 1, walls.bottom - 2);
    towerAt(sketch, walls.right - 1, walls.bottom - 2);

    const Building required[] = {
        longHouse(random, random.between(4, 5)), // barracks
        block({12, 12}, {48, 0}), // stables and a wagon
        single(16),
    };
    const CellRect yard {walls.left + 3, walls.top + 2, walls.right - 3, walls.bottom - 2};
    if (!fillStreets(sketch, random, yard, required, fortBuilding, random.between(55, 90)))
        return false;
    sketch.claim(walls.inset(1));

    if (random.oneIn(2))
        ridge(sketch, random, 0, 0, kMapColumns, Side::East);

    if (random.oneIn(2))
        oasis(sketch, random, walls);
    if (random.oneIn(2)) {
        // A caravan on its way: wagons on a slant.
        int column = random.between(1, kMapColumns - 6), row = random.between(1, kMapRows - 6);
        for (int wagons = random.between(3, 5); wagons > 0; --wagons, ++column, ++row) {
            if (sketch.isFree(column, row))
                sketch.put(column, row, 48);
        }
    }
    if (random.oneIn(3)) {
        static constexpr SymbolCode kGraveyard[] = {52, 52, 50};
        clump(sketch, random, kWholeMap, random.between(5, 9), kGraveyard, 100);
    }
    static constexpr SymbolCode kScrub[] = {46};
    static constexpr SymbolCode kDunes[] = {44, 47, 40};
    scatter(sketch, random, kWholeMap, kScrub, random.between(5, 14));
    scatter(sketch, random, kWholeMap, kDunes, random.between(1, 3));
    return true;
}

} // namespace vellumor::mapcraft
