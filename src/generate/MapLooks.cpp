#include "generate/MapLooks.h"

#include "generate/Sketch.h"
#include "generate/TerrainKinds.h"
#include "rules/MapCells.h"
#include "symbols/SymbolShapes.h"

#include <algorithm>

namespace vellumor::generate {

namespace {

SymbolCode at(const MapCodes &codes, CellPlace place)
{
    return onMap(place) ? codes[std::size_t(cellIndex(place.column, place.row))]
                        : SymbolCode(sym::Blank);
}

template<typename Counts> int countPlaces(Counts counts)
{
    int count = 0;
    kWholeMap.forEach([&](CellPlace place) { count += counts(place) ? 1 : 0; });
    return count;
}

template<typename Test> bool anyAround(CellPlace place, int reach, Test test)
{
    for (int dr = -reach; dr <= reach; ++dr) {
        for (int dc = -reach; dc <= reach; ++dc) {
            if ((dr != 0 || dc != 0) && test(CellPlace {place.column + dc, place.row + dr}))
                return true;
        }
    }
    return false;
}

bool isSpringGround(SymbolCode code)
{
    return symbolJoins(code).springGround;
}

// The spring-ground cells joined to this one along their sides, up to `enough`.
int groupSize(const MapCodes &codes, CellPlace from, int enough)
{
    std::array<CellPlace, 8> group {from};
    int count = 1;
    for (int i = 0; i < count && count < enough; ++i) {
        for (const Side side : kSides) {
            const CellPlace next = across(group[std::size_t(i)], side);
            if (count < enough && isSpringGround(at(codes, next))
                && std::find(group.begin(), group.begin() + count, next) == group.begin() + count)
                group[std::size_t(count++)] = next;
        }
    }
    return count;
}

bool springsInGroups(const MapCodes &codes)
{
    bool grouped = true;
    kWholeMap.forEach([&](CellPlace place) {
        // The pond's arms join whatever meets them: no spring rises there.
        const SymbolJoins &joins = symbolJoins(at(codes, place));
        const SideSet river = joins.junction ? SideSet(0) : joins.river;
        for (const Side side : kSides) {
            const CellPlace spring = across(place, side);
            if (has(river, side) && isSpringGround(at(codes, spring)))
                grouped = grouped && groupSize(codes, spring, 3) >= 3;
        }
    });
    return grouped;
}

// What may stand beside sand: what is drawn on sand, open ground, walls.
bool fitsOnSand(SymbolCode code)
{
    return code == sym::Blank || code == sym::Sand || code == sym::SandScrub
        || code == sym::SandPalm || code == sym::Wagon || isPatch(code)
        || code == sym::CemeteryDestroyed || symbolJoins(code).wall != 0;
}

} // namespace

int loneTerrainCells(const MapCodes &codes)
{
    // Patches are small, so each cell's patch is counted to kSmallestPatch.
    return countPlaces([&](CellPlace place) {
        const SymbolCode code = at(codes, place);
        if (!isPatch(code))
            return false;
        std::array<CellPlace, kSmallestPatch> patch {place};
        int size = 1;
        for (int i = 0; i < size && size < kSmallestPatch; ++i) {
            for (const Side side : kSides) {
                const CellPlace next = across(patch[std::size_t(i)], side);
                if (size < kSmallestPatch && onMap(next) && at(codes, next) == code
                    && std::find(patch.begin(), patch.begin() + size, next) == patch.begin() + size)
                    patch[std::size_t(size++)] = next;
            }
        }
        return size < kSmallestPatch;
    });
}

int buildingCount(const MapCodes &codes)
{
    return countPlaces([&](CellPlace place) {
        const SymbolCode code = at(codes, place);
        if (!isBuilding(code))
            return false;
        const ShapePlace piece = shapePlace(code);
        if (!piece.shape)
            return true;
        if (piece.shape->kind == ShapeKind::Run)
            return shapePlace(at(codes, across(place, Side::West))).shape != piece.shape;
        return piece.column == 0 && piece.row == 0;
    });
}

int loneDeadTrees(const MapCodes &codes)
{
    return countPlaces([&](CellPlace place) {
        return at(codes, place) == sym::TreesDead
            && !anyAround(place, 1, [&](CellPlace next) { return isTrees(at(codes, next)); });
    });
}

int terrainHoles(const MapCodes &codes)
{
    return countPlaces([&](CellPlace place) {
        if (at(codes, place) != sym::Blank)
            return false;
        SymbolCode family = sym::Blank;
        for (const Side side : kSides) {
            const CellPlace next = across(place, side);
            if (!onMap(next))
                continue;
            const SymbolCode code = terrainFamily(at(codes, next));
            if (code == sym::Blank || (family != sym::Blank && code != family))
                return false;
            family = code;
        }
        return family != sym::Blank;
    });
}

int cellsOf(const MapCodes &codes, SymbolCode code)
{
    return int(std::count(codes.begin(), codes.end(), code));
}

int wallCorners(const MapCodes &codes)
{
    return int(std::count_if(codes.begin(), codes.end(), [](SymbolCode code) {
        const SideSet wall = symbolJoins(code).wall;
        return !symbolJoins(code).junction && wall != 0 && wall != kHorizontalSides
            && wall != kVerticalSides;
    }));
}

namespace {

bool isTurn(SymbolCode code)
{
    const SymbolJoins &joins = symbolJoins(code);
    return !joins.junction && joins.river != 0 && joins.river != kHorizontalSides
        && joins.river != kVerticalSides;
}

bool isStraightAlong(SymbolCode code, Side heading)
{
    const SymbolJoins &joins = symbolJoins(code);
    return !joins.junction && joins.river == (sideBit(heading) | sideBit(opposite(heading)));
}

// A turn that the run reaches from `from`, heading `heading`.
bool turnMeets(const MapCodes &codes, CellPlace place, Side heading)
{
    const SymbolCode code = at(codes, place);
    return isTurn(code) && has(symbolJoins(code).river, opposite(heading));
}

} // namespace

std::vector<RiverRun> riverRuns(const MapCodes &codes)
{
    std::vector<RiverRun> runs;
    kWholeMap.forEach([&](CellPlace place) {
        const SymbolCode code = at(codes, place);
        for (const Side heading : {Side::East, Side::South}) {
            const CellPlace before = across(place, opposite(heading));
            if (isStraightAlong(code, heading) && !isStraightAlong(at(codes, before), heading)) {
                // The first cell of a run: count it to its far end.
                int length = 0;
                CellPlace end = place;
                for (; isStraightAlong(at(codes, end), heading); end = across(end, heading))
                    ++length;
                runs.push_back({length,
                    turnMeets(codes, before, opposite(heading)) && turnMeets(codes, end, heading)});
            } else if (isTurn(code) && has(symbolJoins(code).river, heading)
                && turnMeets(codes, across(place, heading), heading)) {
                runs.push_back({0, true}); // two bends side by side: a stair
            }
        }
    });
    return runs;
}

const char *missedGoal(const MapCodes &codes, MapKind kind)
{
    const int wells = cellsOf(codes, sym::Well);
    const bool yard = kind == MapKind::Fort || kind == MapKind::Castle;
    if (wells > (yard ? 1 : 2))
        return "too many wells";
    const int misplacedVolcanoes = countPlaces([&](CellPlace place) {
        return at(codes, place) == sym::Volcano
            && !anyAround(place, 1, [&](CellPlace next) { return isHighland(at(codes, next)); });
    });
    if (cellsOf(codes, sym::Volcano) > 2 || misplacedVolcanoes > 0)
        return "too many volcanoes, or one out of the mountains";
    if (loneTerrainCells(codes) > 0 || terrainHoles(codes) > 0)
        return "a patch of terrain too small, or a hole in one";
    if (loneDeadTrees(codes) > 0)
        return "a dead tree alone in the open";
    if (kind == MapKind::Town && buildingCount(codes) < kFewestTownBuildings)
        return "a town of too few buildings";
    const int wetPatches = countPlaces([&](CellPlace place) {
        return isPatch(at(codes, place))
            && anyAround(place, 1, [&](CellPlace next) { return isWater(at(codes, next)); });
    });
    if (wetPatches > 0)
        return "grass or swamp drawn up against water";
    const int offSand = countPlaces([&](CellPlace place) {
        return !fitsOnSand(at(codes, place))
            && std::any_of(kSides.begin(), kSides.end(),
                [&](Side side) { return at(codes, across(place, side)) == sym::Sand; });
    });
    if (offSand > 0 && kind == MapKind::Fort)
        return "a picture on white ground beside sand";
    if (!springsInGroups(codes))
        return "a spring in no group of forest, hills or mountains";
    const int mountainsByWalls = countPlaces([&](CellPlace place) {
        return isHighland(at(codes, place)) && anyAround(place, 2, [&](CellPlace next) {
            return symbolJoins(at(codes, next)).wall != 0;
        });
    });
    if (kind == MapKind::Fort && mountainsByWalls > 0)
        return "mountains against the fort's walls";
    for (const RiverRun &run : riverRuns(codes)) {
        if (run.length > kLongestRun || (run.betweenBends && run.length < kShortestRun))
            return "a river run straight too long, or bent again too soon";
    }
    return nullptr;
}

} // namespace vellumor::generate
