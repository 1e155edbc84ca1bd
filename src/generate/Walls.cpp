#include "generate/Builders.h"
#include "rules/EdgeReach.h"
#include "symbols/SymbolNames.h"

#include <cstdlib>

namespace vellumor::generate {

namespace {

// The sides along which the wall runs on from an edge cell of the outline.
SideSet wallSides(const Outline &outline, CellPlace place)
{
    SideSet sides = 0;
    for (const Side side : kSides) {
        if (outline.isEdge(across(place, side)))
            sides |= sideBit(side);
    }
    return sides;
}

bool nearGate(const WallRing &ring, CellPlace place, int within)
{
    for (int i = 0; i < ring.gateCount; ++i) {
        const CellPlace gate = ring.gates[std::size_t(i)].place;
        if (std::abs(gate.column - place.column) + std::abs(gate.row - place.row) <= within)
            return true;
    }
    return false;
}

// The side of a straight piece of wall that faces out of the outline.
Side outwardOf(const Outline &outline, CellPlace place, SideSet sides)
{
    const Side first = sides == kHorizontalSides ? Side::North : Side::West;
    return outline.contains(across(place, first)) ? opposite(first) : first;
}

// A straight piece with `clearance` straight pieces on either side of it.
bool clearOfCorners(const Outline &outline, CellPlace place, SideSet sides, int clearance)
{
    const Side along = sides == kHorizontalSides ? Side::East : Side::South;
    for (int step = -clearance; step <= clearance; ++step) {
        if (wallSides(outline, across(place, along, step)) != sides)
            return false;
    }
    return true;
}

bool placeGate(
    Sketch &sketch, SeededRandom &random, const WallPlan &plan, Side outward, WallRing &ring)
{
    const Outline &outline = plan.outline;
    std::array<CellPlace, kCellCount> spots {};
    int count = 0;
    outline.rect.forEach([&](CellPlace place) {
        if (!outline.isEdge(place))
            return;
        const SideSet sides = wallSides(outline, place);
        if ((sides != kHorizontalSides && sides != kVerticalSides)
            || outwardOf(outline, place, sides) != outward
            || !clearOfCorners(outline, place, sides, plan.cornerClearance)
            || nearGate(ring, place, 3) || !sketch.isFree(across(place, outward))
            || !sketch.isFree(across(place, opposite(outward))))
            return;
        spots[std::size_t(count++)] = place;
    });
    if (count == 0)
        return false;
    ring.gates[std::size_t(ring.gateCount++)]
        = {spots[random.below(std::uint32_t(count))], outward};
    return true;
}

// Most gates of a ring are of one material, now and then one of the other.
GateMaterial gateMaterial(SeededRandom &random, GateMaterial usual)
{
    if (!random.oneIn(3))
        return usual;
    return usual == GateMaterial::Wood ? GateMaterial::Iron : GateMaterial::Wood;
}

// Guard posts along each straight run between two corners, evenly spaced,
// never at or beside a gate or a corner.
void postGuards(Sketch &sketch, SeededRandom &random, const WallPlan &plan, const WallRing &ring)
{
    const Outline &outline = plan.outline;
    outline.rect.forEach([&](CellPlace corner) {
        const SideSet sides = outline.isEdge(corner) ? wallSides(outline, corner) : SideSet(0);
        if (sides == 0 || sides == kHorizontalSides || sides == kVerticalSides)
            return;
        for (const Side along : {Side::East, Side::South}) {
            if (!has(sides, along))
                continue;
            int length = 1;
            while (wallSides(outline, across(corner, along, length))
                == (sideBit(along) | sideBit(opposite(along))))
                ++length;
            ++length; // the corner at the far end
            const int spacing = random.between(plan.guardSpacing - 1, plan.guardSpacing + 1);
            if (length < 2 * spacing)
                continue;
            const int posts = (length - 1) / spacing;
            const int margin = (length - 1 - (posts - 1) * spacing) / 2;
            for (int i = 0; i < posts; ++i) {
                const int offset = margin + i * spacing;
                const CellPlace place = across(corner, along, offset);
                if (offset < 2 || offset > length - 3 || nearGate(ring, place, 1))
                    continue;
                sketch.put(place, random.oneIn(2) ? sym::GuardPostSquare : sym::GuardPostRound);
            }
        }
    });
}

} // namespace

bool Outline::contains(CellPlace place) const
{
    if (!rect.contains(place))
        return false;
    for (int i = 0; i < cutCount; ++i) {
        if (cuts[std::size_t(i)].contains(place))
            return false;
    }
    return true;
}

bool Outline::isEdge(CellPlace place) const
{
    if (!contains(place))
        return false;
    for (int dr = -1; dr <= 1; ++dr) {
        for (int dc = -1; dc <= 1; ++dc) {
            if (!contains({place.column + dc, place.row + dr}))
                return true;
        }
    }
    return false;
}

Outline cutCorners(SeededRandom &random, const CellRect &rect, std::span<const Weighted<int>> cuts)
{
    Outline outline;
    outline.rect = rect;
    std::array<int, 4> corners {0, 1, 2, 3};
    random.shuffle(std::span<int>(corners));
    for (int wanted = random.weighted(cuts); outline.cutCount < wanted;) {
        const int corner = corners[std::size_t(outline.cutCount)];
        const int cutWidth = random.between(3, std::max(3, rect.width() / 3));
        const int cutHeight = random.between(3, std::max(3, rect.height() / 3));
        const int cutLeft = corner % 2 == 0 ? rect.left : rect.right - cutWidth + 1;
        const int cutTop = corner / 2 == 0 ? rect.top : rect.bottom - cutHeight + 1;
        outline.cuts[std::size_t(outline.cutCount++)]
            = {cutLeft, cutTop, cutLeft + cutWidth - 1, cutTop + cutHeight - 1};
    }
    if (outline.cutCount == 2) {
        const CellRect &a = outline.cuts[0], &b = outline.cuts[1];
        const bool apartAcross = a.right < b.left - 4 || b.right < a.left - 4;
        const bool apartDown = a.bottom < b.top - 4 || b.bottom < a.top - 4;
        if (!apartAcross && !apartDown)
            outline.cutCount = 1;
    }
    return outline;
}

bool isCutCorner(const Outline &outline, int corner)
{
    const CellRect &rect = outline.rect;
    const CellPlace place {
        corner % 2 == 0 ? rect.left : rect.right, corner / 2 == 0 ? rect.top : rect.bottom};
    return !outline.contains(place);
}

bool buildWallRing(Sketch &sketch, SeededRandom &random, const WallPlan &plan, WallRing &ring)
{
    const Outline &outline = plan.outline;
    const CellRect &rect = outline.rect;
    ring = {};
    ring.bounds = rect;
    if (!kWholeMap.contains({rect.left, rect.top}) || !kWholeMap.contains({rect.right, rect.bottom})
        || rect.width() < 5 || rect.height() < 5)
        return false;
    bool fits = true;
    rect.forEach([&](CellPlace place) {
        if (outline.isEdge(place))
            fits = fits && sketch.isFree(place) && wallPiece(wallSides(outline, place)) != 0;
        else if (outline.contains(place))
            ring.inside.add(place);
    });
    if (!fits)
        return false;

    // The gates face different ways first, in an order left to chance.
    std::array<Side, 4> ways = kSides;
    random.shuffle(std::span<Side>(ways));
    for (int tries = 0; ring.gateCount < plan.gateCount && tries < 16; ++tries) {
        const Side outward = ways[std::size_t(tries % 4)];
        if (has(plan.gateSides, outward))
            placeGate(sketch, random, plan, outward, ring);
    }
    if (ring.gateCount < plan.gateCount)
        return false;

    rect.forEach([&](CellPlace place) {
        if (outline.isEdge(place))
            sketch.put(place, wallPiece(wallSides(outline, place)));
    });
    if (plan.guardSpacing > 0)
        postGuards(sketch, random, plan, ring);

    const GateMaterial usual = random.oneIn(2) ? GateMaterial::Wood : GateMaterial::Iron;
    for (int i = 0; i < ring.gateCount; ++i) {
        const Gateway &gate = ring.gates[std::size_t(i)];
        const GateMaterial material
            = plan.material != GateMaterial::None ? plan.material : gateMaterial(random, usual);
        const bool across = gate.outward == Side::North || gate.outward == Side::South;
        sketch.put(gate.place, gatePiece(material, across ? kHorizontalSides : kVerticalSides));
        // Open ground on both sides of the gate, and a little road outside.
        sketch.put(rules::across(gate.place, opposite(gate.outward)), sym::Blank);
        for (int step = 1; step <= 3; ++step) {
            const CellPlace road = rules::across(gate.place, gate.outward, step);
            if (sketch.isFree(road))
                sketch.put(road, sketch.ground());
        }
    }
    return true;
}

bool keptWallRing(const Sketch &sketch, WallRing &ring)
{
    ring = {};
    const MapCodes codes = sketch.codes();
    const rules::EdgeReach outside
        = rules::reachFromEdge(codes, [](int code) { return symbolJoins(code).wall == 0; });
    const auto isOutside
        = [&](CellPlace place) { return !onMap(place) || outside.contains(place); };
    int left = kMapColumns, top = kMapRows, right = -1, bottom = -1;
    kWholeMap.forEach([&](CellPlace place) {
        const SymbolJoins &joins = symbolJoins(sketch.at(place));
        if (!isOutside(place) && joins.wall == 0) {
            ring.inside.add(place);
            left = std::min(left, place.column - 1), right = std::max(right, place.column + 1);
            top = std::min(top, place.row - 1), bottom = std::max(bottom, place.row + 1);
        }
        if (joins.gate != GateMaterial::None && ring.gateCount < int(ring.gates.size())) {
            const Side first = has(joins.wall, Side::East) ? Side::North : Side::West;
            const Side outward = isOutside(across(place, first)) ? first : opposite(first);
            ring.gates[std::size_t(ring.gateCount++)] = {place, outward};
        }
    });
    ring.bounds = {left, top, right, bottom};
    return right >= 0;
}

void roadOut(Sketch &sketch, const Gateway &gate)
{
    for (CellPlace road = across(gate.place, gate.outward);; road = across(road, gate.outward)) {
        if (sketch.isFree(road))
            sketch.put(road, sketch.ground());
        else if (!sketch.isOpen(road))
            return;
    }
}

} // namespace vellumor::generate
