#include "mapcraft/Builders.h"

#include <cstdlib>

namespace vellumor::mapcraft {

namespace {

// A place along one wall: which wall and how far from its first corner.
struct WallSpot
{
    Side wall;
    int offset;
};

int wallLength(const CellRect &rect, Side wall)
{
    return wall == Side::North || wall == Side::South ? rect.width() : rect.height();
}

void cellOf(const CellRect &rect, WallSpot spot, int &column, int &row)
{
    switch (spot.wall) {
    case Side::North:
        column = rect.left + spot.offset, row = rect.top;
        break;
    case Side::South:
        column = rect.left + spot.offset, row = rect.bottom;
        break;
    case Side::West:
        column = rect.left, row = rect.top + spot.offset;
        break;
    case Side::East:
        column = rect.right, row = rect.top + spot.offset;
        break;
    }
}

bool isGate(const WallRing &ring, int column, int row, int within)
{
    for (int i = 0; i < ring.gateCount; ++i) {
        if (std::abs(ring.gates[std::size_t(i)].column - column)
                + std::abs(ring.gates[std::size_t(i)].row - row)
            <= within)
            return true;
    }
    return false;
}

bool placeGate(
    Sketch &sketch, SeededRandom &random, const WallPlan &plan, Side wall, WallRing &ring)
{
    const int length = wallLength(plan.rect, wall);
    const int first = plan.cornerClearance;
    const int last = length - 1 - plan.cornerClearance;
    if (last < first)
        return false;
    for (int tries = 0; tries < 8; ++tries) {
        int column = 0, row = 0;
        cellOf(plan.rect, {wall, random.between(first, last)}, column, row);
        // Gates stand apart, with wall between them.
        if (isGate(ring, column, row, 3))
            continue;
        const int outColumn = column + columnStep(wall), outRow = row + rowStep(wall);
        const int inColumn = column - columnStep(wall), inRow = row - rowStep(wall);
        if (!sketch.isFree(outColumn, outRow) || !sketch.isFree(inColumn, inRow))
            continue;
        ring.gates[std::size_t(ring.gateCount++)] = {column, row, wall};
        return true;
    }
    return false;
}

// Most gates of a ring are of one material, now and then one of the other.
GateMaterial gateMaterial(SeededRandom &random, GateMaterial usual)
{
    if (!random.oneIn(3))
        return usual;
    return usual == GateMaterial::Wood ? GateMaterial::Iron : GateMaterial::Wood;
}

} // namespace

bool buildWallRing(Sketch &sketch, SeededRandom &random, const WallPlan &plan, WallRing &ring)
{
    const CellRect &rect = plan.rect;
    ring = {};
    ring.rect = rect;
    if (rect.left < 0 || rect.top < 0 || rect.right >= kMapColumns || rect.bottom >= kMapRows
        || rect.width() < 5 || rect.height() < 5)
        return false;
    for (int column = rect.left; column <= rect.right; ++column) {
        if (!sketch.isFree(column, rect.top) || !sketch.isFree(column, rect.bottom))
            return false;
    }
    for (int row = rect.top; row <= rect.bottom; ++row) {
        if (!sketch.isFree(rect.left, row) || !sketch.isFree(rect.right, row))
            return false;
    }

    // The gates go in different walls first, in an order left to chance.
    std::array<Side, 4> walls = kSides;
    random.shuffle(std::span<Side>(walls));
    int wallIndex = 0;
    for (int tries = 0; ring.gateCount < plan.gateCount && tries < 16; ++tries) {
        const Side wall = walls[std::size_t(wallIndex++ % 4)];
        if (has(plan.gateSides, wall))
            placeGate(sketch, random, plan, wall, ring);
    }
    if (ring.gateCount == 0)
        return false;

    for (int column = rect.left; column <= rect.right; ++column) {
        for (int row : {rect.top, rect.bottom}) {
            SideSet sides = kHorizontalSides;
            if (column == rect.left)
                sides = sideBit(Side::East);
            else if (column == rect.right)
                sides = sideBit(Side::West);
            if (column == rect.left || column == rect.right)
                sides |= sideBit(row == rect.top ? Side::South : Side::North);
            sketch.put(column, row, wallPiece(sides));
        }
    }
    for (int row = rect.top + 1; row < rect.bottom; ++row) {
        sketch.put(rect.left, row, wallPiece(kVerticalSides));
        sketch.put(rect.right, row, wallPiece(kVerticalSides));
    }

    // Guard posts along the straight runs, never right beside a gate or a
    // corner.
    if (plan.guardSpacing > 0) {
        for (const Side wall : kSides) {
            const int length = wallLength(rect, wall);
            const int spacing = random.between(plan.guardSpacing - 1, plan.guardSpacing + 1);
            if (length < 2 * spacing)
                continue;
            const int posts = (length - 1) / spacing;
            const int margin = (length - 1 - (posts - 1) * spacing) / 2;
            for (int i = 0; i < posts; ++i) {
                int column = 0, row = 0;
                cellOf(rect, {wall, margin + i * spacing}, column, row);
                const int offset = margin + i * spacing;
                if (offset < 2 || offset > length - 3 || isGate(ring, column, row, 1))
                    continue;
                sketch.put(column, row, random.oneIn(2) ? 61 : 63);
            }
        }
    }

    const GateMaterial usual = random.oneIn(2) ? GateMaterial::Wood : GateMaterial::Iron;
    for (int i = 0; i < ring.gateCount; ++i) {
        const Gateway &gate = ring.gates[std::size_t(i)];
        const GateMaterial material
            = plan.material != GateMaterial::None ? plan.material : gateMaterial(random, usual);
        const bool across = gate.outward == Side::North || gate.outward == Side::South;
        sketch.put(
            gate.column, gate.row, gatePiece(material, across ? kHorizontalSides : kVerticalSides));
        // Open ground on both sides of the gate, and a little road outside.
        const int dc = columnStep(gate.outward), dr = rowStep(gate.outward);
        sketch.put(gate.column - dc, gate.row - dr, kBlankSymbol);
        for (int step = 1; step <= 3; ++step) {
            if (sketch.isFree(gate.column + step * dc, gate.row + step * dr))
                sketch.put(gate.column + step * dc, gate.row + step * dr, sketch.ground());
        }
    }
    return true;
}

} // namespace vellumor::mapcraft
