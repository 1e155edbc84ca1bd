// Symmetric shadowcasting: the origin is the centre of its cell; each of the
// four quadrants is scanned row by row outwards, the lit part of a row being a
// sector between two slopes. A cell that does not block is seen when its centre
// lies in the sector; a blocking cell is seen when any of it does. Slopes are
// exact fractions, so every compiler sees the same cells.
//
// Walls in a row shadow the rows behind it as in the published algorithm. Two
// blocking cells that touch only at a corner leave a thin gap in that model, so
// the corner where they meet is closed by a segment between their rows: the
// sector of the row behind it loses the slopes that segment covers.
#include "rules/Sight.h"

#include "symbols/SymbolJoins.h"

#include <array>
#include <vector>

namespace vellumor::rules {

namespace {

struct Slope
{
    int num;
    int den; // > 0
};

constexpr bool lessThan(Slope a, Slope b)
{
    return a.num * b.den < b.num * a.den;
}

constexpr int floorDiv(int a, int b) // b > 0
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

constexpr int ceilDiv(int a, int b)
{
    return -floorDiv(-a, b);
}

// The columns of row `depth` whose centres lie within the slopes, ties taken
// inwards as the published algorithm rounds them.
constexpr int firstColumn(int depth, Slope start)
{
    return floorDiv(2 * depth * start.num + start.den, 2 * start.den);
}
constexpr int lastColumn(int depth, Slope end)
{
    return ceilDiv(2 * depth * end.num - end.den, 2 * end.den);
}

// The slope of a cell's near left edge on the row's centre line.
constexpr Slope leftEdge(int depth, int column)
{
    return {2 * column - 1, 2 * depth};
}

struct Quadrant
{
    int dx_depth, dy_depth, dx_column, dy_column; // map steps per depth and per column
};

constexpr std::array<Quadrant, 4> kQuadrants {{
    {0, -1, 1, 0}, // north
    {1, 0, 0, 1}, // east
    {0, 1, 1, 0}, // south
    {-1, 0, 0, 1}, // west
}};

class Scan
{
public:
    Scan(const CellSet &blockers, int column, int row, std::optional<int> range, CellSet &seen)
        : m_blockers(blockers)
        , m_column(column)
        , m_row(row)
        , m_range(range)
        , m_seen(seen)
    { }

    void quadrant(const Quadrant &q)
    {
        m_q = q;
        row(1, {-1, 1}, {1, 1});
    }

private:
    bool place(int depth, int column, int &x, int &y) const
    {
        x = m_column + depth * m_q.dx_depth + column * m_q.dx_column;
        y = m_row + depth * m_q.dy_depth + column * m_q.dy_column;
        return x >= 0 && x < kMapColumns && y >= 0 && y < kMapRows;
    }
    // Off the map counts as blocking, so the scan stops at the edge.
    bool blocks(int depth, int column) const
    {
        int x, y;
        return !place(depth, column, x, y) || m_blockers.contains({x, y});
    }
    bool blocksOnMap(int depth, int column) const
    {
        int x, y;
        return place(depth, column, x, y) && m_blockers.contains({x, y});
    }
    bool inRange(int depth, int column) const
    {
        return !m_range || depth * depth + column * column <= *m_range * *m_range;
    }
    void reveal(int depth, int column)
    {
        int x, y;
        if (place(depth, column, x, y) && inRange(depth, column))
            m_seen.add({x, y});
    }

    // The row's sector less the corners closed between this row and the one before.
    void row(int depth, Slope start, Slope end)
    {
        if (m_range && depth > *m_range)
            return;
        struct Cut
        {
            Slope from, to;
        };
        std::vector<Cut> cuts; // empty, and so not allocated, on most rows
        const int first = firstColumn(depth, start), last = lastColumn(depth, end);
        for (int c = first - 1; c <= last + 1; ++c) {
            const std::size_t before = cuts.size();
            // A blocking cell in the row before and one a column nearer the
            // middle in this row: the corner between them faces away from the
            // middle, and the gap it leaves opens outwards.
            if (c >= 1 && blocksOnMap(depth - 1, c) && blocksOnMap(depth, c - 1))
                cuts.push_back({{2 * c - 1, 2 * depth},
                    depth == 1 ? Slope {2, 1} : Slope {2 * c - 1, 2 * (depth - 1)}});
            if (c <= -1 && blocksOnMap(depth - 1, c) && blocksOnMap(depth, c + 1))
                cuts.push_back({depth == 1 ? Slope {-2, 1} : Slope {2 * c + 1, 2 * (depth - 1)},
                    {2 * c + 1, 2 * depth}});
            // The blocking cell behind such a corner is lit at that corner:
            // the corner of a courtyard's walls is seen from inside it.
            if (cuts.size() != before && c >= first && c <= last && blocksOnMap(depth, c))
                reveal(depth, c);
        }
        if (cuts.empty()) {
            sector(depth, start, end);
            return;
        }
        std::vector<std::pair<Slope, Slope>> parts {{start, end}};
        for (const Cut &cut : cuts) {
            std::vector<std::pair<Slope, Slope>> next;
            for (auto [s, e] : parts) {
                if (!lessThan(cut.from, e) || !lessThan(s, cut.to)) {
                    next.push_back({s, e});
                    continue;
                }
                if (lessThan(s, cut.from))
                    next.push_back({s, cut.from});
                if (lessThan(cut.to, e))
                    next.push_back({cut.to, e});
            }
            parts = std::move(next);
        }
        for (auto [s, e] : parts)
            sector(depth, s, e);
    }

    void sector(int depth, Slope start, Slope end)
    {
        bool previousBlocks = false, any = false;
        for (int c = firstColumn(depth, start), last = lastColumn(depth, end); c <= last; ++c) {
            const bool wall = blocks(depth, c);
            const bool centreLit
                = !lessThan(Slope {c, depth}, start) && !lessThan(end, Slope {c, depth});
            if (wall || centreLit)
                reveal(depth, c);
            if (any && previousBlocks && !wall)
                start = leftEdge(depth, c);
            if (any && !previousBlocks && wall)
                row(depth + 1, start, leftEdge(depth, c));
            previousBlocks = wall;
            any = true;
        }
        if (any && !previousBlocks)
            row(depth + 1, start, end);
    }

    const CellSet &m_blockers;
    int m_column, m_row;
    std::optional<int> m_range;
    CellSet &m_seen;
    Quadrant m_q {};
};

} // namespace

MapSight::MapSight(const MapCodes &codes)
{
    for (int index = 0; index < kCellCount; ++index) {
        if (blocksSight(codes[std::size_t(index)]))
            m_blocks.add(cellPlace(index));
    }
}

CellSet MapSight::seenFrom(CellPlace origin, std::optional<int> range) const
{
    CellSet seen;
    if (!onMap(origin))
        return seen;
    seen.add(origin);
    Scan scan(m_blocks, origin.column, origin.row, range, seen);
    for (const Quadrant &q : kQuadrants)
        scan.quadrant(q);
    return seen;
}

} // namespace vellumor::rules
