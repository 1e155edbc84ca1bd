#include "generate/CastleParts.h"
#include "generate/KeptDrawing.h"
#include "generate/Recipes.h"
#include "symbols/SymbolNames.h"

#include <algorithm>

// The castle's other layouts: the keep above a lake that lies before its
// gate, the keep on a hill between two rivers, and the keep on one bank of a
// river the user drew across the map.
namespace vellumor::generate {

namespace {

// A ridge of mountains with hills on its flanks along the east or the west
// edge of the map, now and then.
void maybeEdgeRidge(Sketch &sketch, SeededRandom &random, Side edge)
{
    if (!random.oneIn(2))
        return;
    const int column = edge == Side::East ? kMapColumns - 2 : 1;
    const CellRect band {column - 1, 0, column + 1, kMapRows - 1};
    const int length = random.between(kMapRows / 2, kMapRows - 2);
    ridge(
        sketch, random, {column, random.between(0, kMapRows - length)}, length, Side::South, band);
}

RiverCourse edgeToEdge(SeededRandom &random, int low, int high)
{
    RiverCourse course;
    course.flow = random.oneIn(2) ? Flow::South : Flow::North;
    course.from = course.flow == Flow::South ? 0 : kMapRows - 1;
    course.to = kMapRows - 1 - course.from;
    course.low = low;
    course.high = high;
    course.enterAt = random.between(low, high);
    course.leaveAt = random.between(low, high);
    course.leaveSpread = kLeaveAnywhere;
    course.bendPercent = random.between(15, 40);
    return course;
}

} // namespace

bool drawLakeBeforeGate(Sketch &sketch, SeededRandom &random, const MapChoices &choices)
{
    const auto keptLake = keptBounds(sketch, Family::Lake);
    const auto keptWalls = keptKeepWalls(sketch, random);
    const int width = random.between(13, 17);
    const int height = random.between(8, 10);
    const int left = random.between(4, kMapColumns - 4 - width);
    const int top = random.between(1, 3);
    const CellRect walls = keepWalls(keptWalls, {left, top, left + width - 1, top + height - 1});
    CellRect lake;
    if (keptLake) {
        lake = *keptLake;
    } else {
        const int lakeWidth = random.between(6, 9);
        const int lakeHeight = random.between(4, 6);
        const int middle = (walls.left + walls.right) / 2 + random.between(-2, 2);
        const int lakeTop = walls.bottom + random.between(4, 5);
        lake = {middle - lakeWidth / 2, lakeTop, middle - lakeWidth / 2 + lakeWidth - 1,
            lakeTop + lakeHeight - 1};
        if (lake.left < 1 || lake.right > kMapColumns - 2 || lake.bottom > kMapRows - 2
            || !layLake(sketch, lake))
            return false;
    }
    if (lake.top < walls.bottom + 3)
        return false;
    // A river from the map's side into the lake, and out of it to the edge
    // below or beyond.
    const bool fromWest = random.oneIn(2);
    if (wantsRiver(random, choices, 100)) {
        RiverCourse in;
        in.flow = fromWest ? Flow::East : Flow::West;
        in.from = fromWest ? 0 : kMapColumns - 1;
        in.to = fromWest ? lake.left - 1 : lake.right + 1;
        in.low = walls.bottom + 2;
        in.high = kMapRows - 2;
        in.enterAt = random.between(in.low, in.high);
        in.leaveAt = (lake.top + lake.bottom) / 2;
        in.leaveSpread = (lake.height() - 3) / 2;
        RiverCourse out;
        if (lake.bottom < kMapRows - 2) {
            out.flow = Flow::South;
            out.from = lake.bottom + 1;
            out.to = kMapRows - 1;
            out.enterAt = random.between(lake.left + 1, lake.right - 1);
            out.low = fromWest ? lake.left + 1 : 1;
            out.high = fromWest ? kMapColumns - 2 : lake.right - 1;
        } else {
            out.flow = fromWest ? Flow::East : Flow::West;
            out.from = fromWest ? lake.right + 1 : lake.left - 1;
            out.to = fromWest ? kMapColumns - 1 : 0;
            out.enterAt = random.between(lake.top + 1, lake.bottom - 1);
            out.low = walls.bottom + 2;
            out.high = kMapRows - 2;
        }
        out.leaveAt = random.between(out.low, out.high);
        out.leaveSpread = kLeaveAnywhere;
        RiverPath inPath, outPath;
        const bool fed = in.high >= in.low && layRiver(sketch, random, in, inPath);
        if ((!fed || !layRiver(sketch, random, out, outPath)) && !riversMayGo(sketch, choices))
            return false;
    }
    WallRing ring;
    const SideSet sides
        = random.oneIn(3) ? SideSet(kAllSides & ~sideBit(Side::North)) : sideBit(Side::South);
    if (!buildKeep(sketch, random, {walls, sides}, choices, ring))
        return false;
    maybeEdgeRidge(sketch, random, fromWest ? Side::East : Side::West);
    dressLowland(sketch, random, kWholeMap, {lake.left - 2, lake.bottom});
    return true;
}

bool drawBetweenRivers(Sketch &sketch, SeededRandom &random, const MapChoices &choices)
{
    const auto keptWalls = keptKeepWalls(sketch, random);
    const int width = random.between(11, 15);
    const int height = random.between(8, 11);
    const int left = (kMapColumns - width) / 2 + random.between(-2, 2);
    const int top = (kMapRows - height) / 2 + random.between(-2, 2);
    const CellRect walls = keepWalls(keptWalls, {left, top, left + width - 1, top + height - 1});
    if (walls.left < 7 || walls.right > kMapColumns - 8)
        return false;
    if (wantsRiver(random, choices, 100)) {
        for (const RiverCourse &course : {edgeToEdge(random, 1, walls.left - 4),
                 edgeToEdge(random, walls.right + 4, kMapColumns - 2)}) {
            RiverPath path;
            if (!layRiver(sketch, random, course, path)) {
                if (riversMayGo(sketch, choices))
                    continue;
                return false;
            }
            if (random.oneIn(3)) {
                const Side away = course.high < walls.left ? Side::West : Side::East;
                addBranch(sketch, random, path, away, random.oneIn(2));
            }
        }
    }
    WallRing ring;
    if (!buildKeep(sketch, random, {walls, kVerticalSides}, choices, ring))
        return false;
    // The hill the castle stands on: hills round its walls, the roads from
    // its gates kept open.
    static constexpr SymbolCode kHills[] = {sym::Hills};
    const CellRect hill {walls.left - 2, walls.top - 2, walls.right + 2, walls.bottom + 2};
    scatter(sketch, random, hill, kHills, random.between(35, 60));
    dressLowland(sketch, random, kWholeMap, {-1, -1});
    return true;
}

bool drawOnTheBank(Sketch &sketch, SeededRandom &random, const MapChoices &choices)
{
    const auto river = keptRiverAcross(sketch);
    if (!river)
        return false;
    const Bank bank = largerBank(*river, 2);
    const CellRect &land = bank.land;
    const auto keptWalls = keptKeepWalls(sketch, random);
    const int width = std::min(random.between(13, 17), land.width() - 2);
    const int height = std::min(random.between(8, 11), land.height() - 2);
    if (width < 9 || height < 7)
        return false;
    const int left = random.between(land.left + 1, land.right - width);
    const int top = random.between(land.top + 1, land.bottom - height);
    const CellRect walls = keepWalls(keptWalls, {left, top, left + width - 1, top + height - 1});
    WallRing ring;
    if (!buildKeep(
            sketch, random, {walls, SideSet(kAllSides & ~sideBit(bank.river))}, choices, ring))
        return false;
    const CellPlace shore = bank.river == Side::South ? CellPlace {walls.left, land.bottom}
        : bank.river == Side::North                   ? CellPlace {walls.left, land.top}
        : bank.river == Side::East                    ? CellPlace {land.right, walls.top}
                                                      : CellPlace {land.left, walls.top};
    dressLowland(sketch, random, kWholeMap, shore);
    return true;
}

} // namespace vellumor::generate
