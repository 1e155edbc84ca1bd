#include "generate/Builders.h"

#include "generate/TerrainKinds.h"
#include "symbols/SymbolNames.h"

#include <algorithm>

namespace vellumor::generate {

namespace {

// Rivers are worked out along their flow ("along", growing downstream) and
// across it, then turned into map columns and rows.
struct Axes
{
    Flow flow;

    int along(int value) const
    {
        if (flow == Flow::North)
            return kMapRows - 1 - value;
        if (flow == Flow::West)
            return kMapColumns - 1 - value;
        return value;
    }
    CellPlace place(int along, int across) const
    {
        switch (flow) {
        case Flow::South:
            return {across, along};
        case Flow::North:
            return {across, kMapRows - 1 - along};
        case Flow::East:
            return {along, across};
        case Flow::West:
            break;
        }
        return {kMapColumns - 1 - along, across};
    }
};

Side sideToward(CellPlace from, CellPlace to)
{
    if (to.column > from.column)
        return Side::East;
    if (to.column < from.column)
        return Side::West;
    return to.row > from.row ? Side::South : Side::North;
}

// A bend moves the river across by this many cells: the straight cells
// between its two turns are a run of their own.
constexpr int kShortestShift = kShortestRun + 1;
constexpr int kLongestShift = kLongestRun + 1;

// Where the river goes next across the flow, at a row where it may bend: the
// cell it bends to, or where it is when it runs on straight.
int nextAcross(SeededRandom &random, const RiverCourse &course, int acrossAt, int straight,
    int remaining, int leaveLow, int leaveHigh)
{
    const auto room = [&](int direction) {
        return direction > 0 ? course.high - acrossAt : acrossAt - course.low;
    };
    // A shift of shortest..longest cells one way, no further than `far` cells.
    const auto shift = [&](int direction, int shortest, int far) {
        const int longest = std::min({kLongestShift, room(direction), far});
        return shortest <= longest ? acrossAt + direction * random.between(shortest, longest)
                                   : acrossAt;
    };
    const int below = leaveLow - acrossAt; // > 0 when the river must go up to leave
    const int above = leaveHigh - acrossAt; // < 0 when it must go down
    if (below > 0 || above < 0) {
        // Heading for where it leaves: at once when little is left, or when
        // the next run would be too long, otherwise now and then.
        const int direction = below > 0 ? 1 : -1;
        const int near = below > 0 ? below : -above;
        const int farEnd = below > 0 ? above : -below;
        const bool urgent = remaining <= 2 * kLongestRun || straight >= kLongestRun;
        if (!urgent && !random.percent(std::uint32_t(course.bendPercent)))
            return acrossAt;
        if (near > kLongestShift) // part of the way, leaving a whole bend to go
            return shift(direction, kShortestShift, near - kShortestShift);
        // Onto where it leaves, once what is left can run straight there, or
        // where there is room to bend on inside it.
        const bool canStay = remaining <= kLongestRun || farEnd - near >= kShortestShift;
        if (farEnd >= kShortestShift && canStay)
            return shift(direction, std::max(near, kShortestShift), farEnd);
        if (!canStay && straight < kLongestRun)
            return acrossAt;
        // Too near to bend onto, or too soon: away first, to come back later.
        return remaining > kShortestRun + 1 ? shift(-direction, kShortestShift, kShortestShift + 1)
                                            : acrossAt;
    }
    // Where it may leave already: a bend only when the rest cannot run
    // straight, or now and then to meander while there is room to return.
    const bool mustBend = straight + 1 + remaining > kLongestRun;
    const bool meander = remaining > 3 * kLongestRun;
    // The last row it may bend at, or a run already as long as may be, forces it.
    const bool forced = straight >= kLongestRun || remaining <= 1;
    if (!(mustBend && (forced || random.percent(std::uint32_t(course.bendPercent))))
        && !(meander && random.percent(std::uint32_t(course.bendPercent))))
        return acrossAt;
    std::array<int, 2> directions {1, -1};
    if (random.oneIn(2))
        std::swap(directions[0], directions[1]);
    for (const int direction : directions) {
        // Staying where it may leave, when that leaves room; otherwise out
        // and back again, which needs the rows for two runs.
        const int within = direction > 0 ? leaveHigh - acrossAt : acrossAt - leaveLow;
        if (within >= kShortestShift)
            return shift(direction, kShortestShift, within);
        if (remaining > 2 * (kShortestRun + 1) && room(direction) >= kShortestShift)
            return shift(direction, kShortestShift, kLongestShift);
    }
    return acrossAt;
}

} // namespace

Side downstream(Flow flow)
{
    switch (flow) {
    case Flow::South:
        return Side::South;
    case Flow::North:
        return Side::North;
    case Flow::East:
        return Side::East;
    case Flow::West:
        break;
    }
    return Side::West;
}

bool layLake(Sketch &sketch, const CellRect &lake)
{
    if (lake.width() < 2 || lake.height() < 2 || !sketch.isAllFree(lake))
        return false;
    const PictureShape &frame = *shapePlace(sym::LakeTopLeft).shape;
    lake.forEach([&](CellPlace place) { sketch.put(place, frame.fill); });
    sketch.put({lake.left, lake.top}, frame.at(0, 0));
    sketch.put({lake.right, lake.top}, frame.at(1, 0));
    sketch.put({lake.left, lake.bottom}, frame.at(0, 1));
    sketch.put({lake.right, lake.bottom}, frame.at(1, 1));
    return true;
}

bool layRiver(Sketch &sketch, SeededRandom &random, const RiverCourse &course, RiverPath &path)
{
    const Axes axes {course.flow};
    const int from = axes.along(course.from);
    const int to = axes.along(course.to);
    path.length = 0;
    if (to < from || course.low > course.high)
        return false;

    // Each step along, the river may bend aside and run across for a while,
    // in runs of kShortestRun to kLongestRun straight cells between its turns.
    const int leaveLow = std::max(course.low, course.leaveAt - course.leaveSpread);
    const int leaveHigh = std::min(course.high, course.leaveAt + course.leaveSpread);
    int acrossAt = course.enterAt;
    int straight = 0; // cells run straight along since the last bend, or the start
    for (int along = from; along <= to; ++along) {
        int target = acrossAt;
        // A bend needs a straight run before it and a cell after it before
        // the end; the first cell takes the water in.
        if (along > from && along < to && (straight >= kShortestRun || along == from + 1))
            target
                = nextAcross(random, course, acrossAt, straight, to - along, leaveLow, leaveHigh);
        if (target == acrossAt && straight >= kLongestRun)
            return false; // a run longer than the longest

        const int bend = target > acrossAt ? 1 : target < acrossAt ? -1 : 0;
        for (int step = acrossAt;; step += bend) {
            path.cells[std::size_t(path.length++)] = axes.place(along, step);
            if (step == target)
                break;
        }
        straight = bend != 0 ? 0 : straight + 1;
        acrossAt = target;
    }
    if (acrossAt < leaveLow || acrossAt > leaveHigh)
        return false;

    // The river's cells must be free, and touch no other water but where it
    // takes its water in and lets it out.
    const auto cellAt = [&](int i) { return path.cells[std::size_t(i)]; };
    for (int i = 0; i < path.length; ++i) {
        if (!sketch.isFree(cellAt(i)))
            return false;
        for (const Side side : kSides) {
            if (i == 0 && side == opposite(downstream(course.flow)))
                continue;
            if (i == path.length - 1 && side == downstream(course.flow))
                continue;
            if (isWater(sketch.at(across(cellAt(i), side))))
                return false;
        }
    }
    for (int i = 0; i < path.length; ++i) {
        SideSet sides = 0;
        if (i == 0)
            sides |= sideBit(opposite(downstream(course.flow)));
        else
            sides |= sideBit(sideToward(cellAt(i), cellAt(i - 1)));
        if (i == path.length - 1)
            sides |= sideBit(downstream(course.flow));
        else
            sides |= sideBit(sideToward(cellAt(i), cellAt(i + 1)));
        const SymbolCode piece = riverPiece(sides);
        if (piece == sym::Blank)
            return false;
        sketch.put(cellAt(i), piece);
    }
    return true;
}

bool raiseSpring(Sketch &sketch, SeededRandom &random, CellPlace place, Side riverSide)
{
    static constexpr SymbolCode kHighland[] = {sym::Mountain, sym::Hills, sym::Hills};
    const std::span<const SymbolCode> kinds
        = random.oneIn(2) ? livingTrees() : std::span(kHighland);
    if (!sketch.isFree(place))
        return false;
    // The group grows from the spring, never onto the river's first cell.
    std::array<CellPlace, 6> group {place};
    int count = 1;
    const int size = random.between(3, 6);
    for (int tries = 0; tries < 24 && count < size; ++tries) {
        const CellPlace grownFrom = group[random.below(std::uint32_t(count))];
        const CellPlace next = across(grownFrom, kSides[random.below(4)]);
        if (next == across(place, riverSide) || !sketch.isFree(next)
            || std::find(group.begin(), group.begin() + count, next) != group.begin() + count)
            continue;
        group[std::size_t(count++)] = next;
    }
    if (count < 3)
        return false;
    for (int i = 0; i < count; ++i)
        sketch.put(group[std::size_t(i)], random.pick(kinds));
    return true;
}

bool addBranch(
    Sketch &sketch, SeededRandom &random, const RiverPath &river, Side toward, bool fromSpring)
{
    const bool sideways = toward == Side::East || toward == Side::West;
    const auto straightAt = [&](int i) {
        for (int k = i - 2; k < i + 2; ++k) {
            const CellPlace a = river.cells[std::size_t(k)], b = river.cells[std::size_t(k + 1)];
            if (sideways ? (a.column != b.column) : (a.row != b.row))
                return false;
        }
        return true;
    };
    for (int tries = 0; tries < 6 && river.length >= 7; ++tries) {
        const int i = random.between(3, river.length - 4);
        if (!straightAt(i))
            continue;
        const CellPlace pond = river.cells[std::size_t(i)];
        // The stream flows toward the pond from its far end.
        const int limit = sideways ? (toward == Side::East ? kMapColumns - 1 : 0)
                                   : (toward == Side::South ? kMapRows - 1 : 0);
        const int start = sideways ? pond.column : pond.row;
        const int step = toward == Side::East || toward == Side::South ? 1 : -1;
        if ((limit - start) * step < 5)
            continue;
        int far = limit;
        if (fromSpring)
            far = start + step * random.between(4, (limit - start) * step - 2);
        const int acrossAt = sideways ? pond.row : pond.column;
        const int acrossLimit = (sideways ? kMapRows : kMapColumns) - 2;
        RiverCourse course;
        course.flow = sideways ? (step > 0 ? Flow::West : Flow::East)
                               : (step > 0 ? Flow::North : Flow::South);
        course.from = far;
        course.to = start + step;
        course.low = std::max(1, acrossAt - 4);
        course.high = std::min(acrossLimit, acrossAt + 4);
        course.enterAt = random.between(course.low, course.high);
        course.leaveAt = acrossAt;
        const CellPlace spring = sideways ? CellPlace {far + step, course.enterAt}
                                          : CellPlace {course.enterAt, far + step};
        if (fromSpring && !sketch.isFree(spring))
            continue;
        const SymbolCode straight = sketch.at(pond);
        sketch.put(pond, sym::PondRiverJoint);
        RiverPath stream;
        if (!layRiver(sketch, random, course, stream)) {
            sketch.put(pond, straight);
            continue;
        }
        if (fromSpring && !raiseSpring(sketch, random, spring, opposite(toward))) {
            // No room for the spring's group: the stream goes, the river
            // runs straight on.
            for (int k = 0; k < stream.length; ++k)
                sketch.put(stream.cells[std::size_t(k)], sym::Blank);
            sketch.put(pond, straight);
            continue;
        }
        return true;
    }
    return false;
}

} // namespace vellumor::generate
