#include "mapcraft/Builders.h"

#include <algorithm>

namespace vellumor::mapcraft {

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
    void place(int along, int across, int &column, int &row) const
    {
        switch (flow) {
        case Flow::South:
            column = across, row = along;
            break;
        case Flow::North:
            column = across, row = kMapRows - 1 - along;
            break;
        case Flow::East:
            column = along, row = across;
            break;
        case Flow::West:
            column = kMapColumns - 1 - along, row = across;
            break;
        }
    }
};

Side sideToward(int column, int row, int toColumn, int toRow)
{
    if (toColumn > column)
        return Side::East;
    if (toColumn < column)
        return Side::West;
    return toRow > row ? Side::South : Side::North;
}

// Rivers, lakes and the pond: a river runs beside none of them.
bool isWater(SymbolCode code)
{
    return symbolJoins(code).river != 0 || symbolJoins(code).openWater;
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
    if (lake.width() < 2 || lake.height() < 2 || !sketch.isFree(lake))
        return false;
    for (int row = lake.top; row <= lake.bottom; ++row) {
        for (int column = lake.left; column <= lake.right; ++column)
            sketch.put(column, row, 25);
    }
    sketch.put(lake.left, lake.top, 26);
    sketch.put(lake.right, lake.top, 27);
    sketch.put(lake.left, lake.bottom, 29);
    sketch.put(lake.right, lake.bottom, 31);
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

    // Each step along, the river may bend aside and run across for a while.
    // It never turns back the way it came across on the very next step, so
    // that no part of it lies beside another.
    int across = course.enterAt;
    int lastBend = 0;
    for (int along = from; along <= to; ++along) {
        int target = across;
        if (along == to - 1) {
            target = course.leaveAt;
        } else if (along > from && along < to - 2
            && random.percent(std::uint32_t(course.bendPercent))) {
            // Drifting toward where it must leave more often than away.
            const int toward = course.leaveAt > across ? 1 : course.leaveAt < across ? -1 : 0;
            const int direction
                = toward != 0 && !random.oneIn(3) ? toward : (random.oneIn(2) ? 1 : -1);
            if (direction != -lastBend)
                target = std::clamp(
                    across + direction * random.between(1, 3), course.low, course.high);
        }
        const int bend = target > across ? 1 : target < across ? -1 : 0;
        if (bend != 0 && bend == -lastBend)
            return false;
        for (int step = across;; step += bend) {
            int column = 0, row = 0;
            axes.place(along, step, column, row);
            path.cells[std::size_t(path.length++)] = {std::int8_t(column), std::int8_t(row)};
            if (step == target)
                break;
        }
        lastBend = bend;
        across = target;
    }
    if (across != course.leaveAt)
        return false;

    // The river's cells must be free, and touch no other water but where it
    // takes its water in and lets it out.
    for (int i = 0; i < path.length; ++i) {
        const int column = path.cells[std::size_t(i)][0], row = path.cells[std::size_t(i)][1];
        if (!sketch.isFree(column, row))
            return false;
        for (const Side side : kSides) {
            if (i == 0 && side == opposite(downstream(course.flow)))
                continue;
            if (i == path.length - 1 && side == downstream(course.flow))
                continue;
            if (isWater(sketch.at(column + columnStep(side), row + rowStep(side))))
                return false;
        }
    }
    for (int i = 0; i < path.length; ++i) {
        const int column = path.cells[std::size_t(i)][0], row = path.cells[std::size_t(i)][1];
        SideSet sides = 0;
        if (i == 0)
            sides |= sideBit(opposite(downstream(course.flow)));
        else
            sides |= sideBit(sideToward(
                column, row, path.cells[std::size_t(i - 1)][0], path.cells[std::size_t(i - 1)][1]));
        if (i == path.length - 1)
            sides |= sideBit(downstream(course.flow));
        else
            sides |= sideBit(sideToward(
                column, row, path.cells[std::size_t(i + 1)][0], path.cells[std::size_t(i + 1)][1]));
        const SymbolCode piece = riverPiece(sides);
        if (piece == 0)
            return false;
        sketch.put(column, row, piece);
    }
    return true;
}

bool addBranch(
    Sketch &sketch, SeededRandom &random, const RiverPath &river, Side toward, bool fromSpring)
{
    const bool sideways = toward == Side::East || toward == Side::West;
    const auto straightAt = [&](int i) {
        for (int k = i - 2; k < i + 2; ++k) {
            const auto a = river.cells[std::size_t(k)], b = river.cells[std::size_t(k + 1)];
            if (sideways ? (a[0] != b[0]) : (a[1] != b[1]))
                return false;
        }
        return true;
    };
    for (int tries = 0; tries < 6 && river.length >= 7; ++tries) {
        const int i = random.between(3, river.length - 4);
        if (!straightAt(i))
            continue;
        const int column = river.cells[std::size_t(i)][0], row = river.cells[std::size_t(i)][1];
        // The stream flows toward the pond from its far end.
        const int limit = sideways ? (toward == Side::East ? kMapColumns - 1 : 0)
                                   : (toward == Side::South ? kMapRows - 1 : 0);
        const int start = sideways ? column : row;
        const int step = toward == Side::East || toward == Side::South ? 1 : -1;
        if ((limit - start) * step < 5)
            continue;
        int far = limit;
        if (fromSpring)
            far = start + step * random.between(4, (limit - start) * step - 1);
        const int across = sideways ? row : column;
        const int acrossLimit = (sideways ? kMapRows : kMapColumns) - 2;
        RiverCourse course;
        course.flow = sideways ? (step > 0 ? Flow::West : Flow::East)
                               : (step > 0 ? Flow::North : Flow::South);
        course.from = far;
        course.to = start + step;
        course.low = std::max(1, across - 4);
        course.high = std::min(acrossLimit, across + 4);
        course.enterAt = random.between(course.low, course.high);
        course.leaveAt = across;
        const int springColumn = sideways ? far + step : course.enterAt;
        const int springRow = sideways ? course.enterAt : far + step;
        if (fromSpring && !sketch.isFree(springColumn, springRow))
            continue;
        const SymbolCode straight = sketch.at(column, row);
        sketch.put(column, row, 30);
        RiverPath stream;
        if (!layRiver(sketch, random, course, stream)) {
            sketch.put(column, row, straight);
            continue;
        }
        if (fromSpring) {
            static constexpr SymbolCode kSprings[] = {37, 39, 41, 44};
            sketch.put(springColumn, springRow, random.pick(std::span<const SymbolCode>(kSprings)));
        }
        return true;
    }
    return false;
}

} // namespace vellumor::mapcraft
