#include "formats/MapWalls.h"

#include "document/CellGrid.h"
#include "formats/WallPieces.h"

#include <map>
#include <vector>

namespace vellumor::mapexport {

namespace {

// Points in thirtieths of a cell, so that joining compares whole numbers.
using Point = std::pair<int, int>;

struct Edge
{
    Point from, to;
};

// The wall pieces as a graph whose edges are the pieces' arms. A trail goes
// straight on where it can and turns only where exactly two arms meet, so a
// run passes through a guard post and the post's cross arm is a trail of its
// own.
class WallGraph
{
public:
    void add(Point from, Point to)
    {
        const int index = int(m_edges.size());
        m_edges.push_back({from, to});
        m_incident[from].push_back(index);
        m_incident[to].push_back(index);
    }

    QList<QPolygonF> trails() const
    {
        std::vector<bool> used(m_edges.size(), false);
        QList<QPolygonF> result;
        // Open trails start where an arm continues into nothing ...
        for (const auto &[point, edges] : m_incident) {
            for (const int edge : edges) {
                if (!used[std::size_t(edge)] && next(point, edge) < 0)
                    result.append(walk(point, edge, used));
            }
        }
        // ... and what is left is closed rings, started at a corner.
        for (const auto &[point, edges] : m_incident) {
            if (edges.size() != 2 || isStraight(point, edges[0], edges[1]))
                continue;
            if (!used[std::size_t(edges[0])])
                result.append(walk(point, edges[0], used));
        }
        return result;
    }

private:
    Point otherEnd(int edge, Point at) const
    {
        const Edge &e = m_edges[std::size_t(edge)];
        return e.from == at ? e.to : e.from;
    }

    bool isStraight(Point at, int a, int b) const
    {
        const Point p = otherEnd(a, at), q = otherEnd(b, at);
        const int ax = p.first - at.first, ay = p.second - at.second;
        const int bx = q.first - at.first, by = q.second - at.second;
        return ax * by == ay * bx && ax * bx + ay * by < 0;
    }

    // The arm a trail arriving at `at` along `edge` leaves by, or -1.
    int next(Point at, int edge) const
    {
        const std::vector<int> &edges = m_incident.at(at);
        for (const int other : edges) {
            if (other != edge && isStraight(at, edge, other))
                return other;
        }
        if (edges.size() == 2)
            return edges[0] == edge ? edges[1] : edges[0];
        return -1;
    }

    QPolygonF walk(Point start, int edge, std::vector<bool> &used) const
    {
        std::vector<Point> points {start};
        Point at = start;
        while (edge >= 0 && !used[std::size_t(edge)]) {
            used[std::size_t(edge)] = true;
            at = otherEnd(edge, at);
            points.push_back(at);
            edge = next(at, edge);
        }
        return polyline(points);
    }

    // Drops the points where a trail goes straight on.
    static QPolygonF polyline(const std::vector<Point> &points)
    {
        QPolygonF line;
        const auto toCells = [](Point p) {
            return QPointF(p.first / qreal(kCellUnits), p.second / qreal(kCellUnits));
        };
        for (std::size_t i = 0; i < points.size(); ++i) {
            if (i > 0 && i + 1 < points.size()) {
                const Point a = points[i - 1], b = points[i], c = points[i + 1];
                if ((b.first - a.first) * (c.second - b.second)
                    == (b.second - a.second) * (c.first - b.first))
                    continue;
            }
            line.append(toCells(points[i]));
        }
        return line;
    }

    std::vector<Edge> m_edges;
    std::map<Point, std::vector<int>> m_incident;
};

} // namespace

MapWalls mapWalls(const MapCodes &codes)
{
    WallGraph graph;
    MapWalls result;
    for (int index = 0; index < kCellCount; ++index) {
        const int code = codes[std::size_t(index)];
        const CellPlace place = cellPlace(index);
        const int left = place.column * kCellUnits;
        const int top = place.row * kCellUnits;
        for (const PieceLine &line : wallPieceLines()) {
            if (line.code != code)
                continue;
            const Point from {left + line.x1, top + line.y1};
            const Point to {left + line.x2, top + line.y2};
            if (line.kind == PieceLine::Kind::Gate) {
                result.gates.append(
                    QLineF(from.first / qreal(kCellUnits), from.second / qreal(kCellUnits),
                        to.first / qreal(kCellUnits), to.second / qreal(kCellUnits)));
            } else {
                graph.add(from, to);
            }
        }
    }
    result.walls = graph.trails();
    return result;
}

} // namespace vellumor::mapexport
