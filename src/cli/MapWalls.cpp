#include "cli/MapWalls.h"

#include "cli/WallPieces.h"
#include "document/CellGrid.h"

#include <algorithm>
#include <map>
#include <vector>

namespace vellumor::maptool {

namespace {

// Spans along one line, in thirtieths of a cell, joined where they touch or
// overlap; the line is a row of fixed y (horizontal) or x (vertical).
using Spans = std::map<int, std::vector<std::pair<int, int>>>;

void joinSpans(const Spans &spans, bool horizontal, QList<QLineF> &lines)
{
    constexpr qreal kUnit = kCellUnits;
    for (const auto &line : spans) {
        const int at = line.first;
        auto pieces = line.second;
        std::sort(pieces.begin(), pieces.end());
        std::pair<int, int> run = pieces.front();
        const auto addLine = [&](std::pair<int, int> span) {
            if (horizontal)
                lines.append(
                    QLineF(span.first / kUnit, at / kUnit, span.second / kUnit, at / kUnit));
            else
                lines.append(
                    QLineF(at / kUnit, span.first / kUnit, at / kUnit, span.second / kUnit));
        };
        for (std::size_t i = 1; i < pieces.size(); ++i) {
            if (pieces[i].first <= run.second) {
                run.second = std::max(run.second, pieces[i].second);
            } else {
                addLine(run);
                run = pieces[i];
            }
        }
        addLine(run);
    }
}

} // namespace

MapWalls mapWalls(const MapCodes &codes)
{
    Spans horizontal;
    Spans vertical;
    MapWalls result;
    for (int index = 0; index < kCellCount; ++index) {
        const int code = codes[std::size_t(index)];
        const CellPlace place = cellPlace(index);
        const int left = place.column * kCellUnits;
        const int top = place.row * kCellUnits;
        for (const PieceLine &line : wallPieceLines()) {
            if (line.code != code)
                continue;
            const int x1 = left + line.x1, y1 = top + line.y1;
            const int x2 = left + line.x2, y2 = top + line.y2;
            if (line.kind == PieceLine::Kind::Gate) {
                result.gates.append(QLineF(x1 / qreal(kCellUnits), y1 / qreal(kCellUnits),
                    x2 / qreal(kCellUnits), y2 / qreal(kCellUnits)));
            } else if (y1 == y2) {
                horizontal[y1].push_back({std::min(x1, x2), std::max(x1, x2)});
            } else {
                vertical[x1].push_back({std::min(y1, y2), std::max(y1, y2)});
            }
        }
    }
    joinSpans(horizontal, true, result.walls);
    joinSpans(vertical, false, result.walls);
    return result;
}

} // namespace vellumor::maptool
