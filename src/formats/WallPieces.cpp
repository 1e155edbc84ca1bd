#include "formats/WallPieces.h"

#include "symbols/SymbolJoins.h"

#include <vector>

namespace vellumor::mapexport {

namespace {

constexpr int M = kCellUnits / 2; // the middle of the cell
constexpr int E = kCellUnits; // its far edge
// A wooden or iron gate's frame spans pixels 3 to 11 of its 15, with wall on
// either side.
constexpr int kGateStart = 6;
constexpr int kGateEnd = 24;

std::vector<PieceLine> linesFromJoins()
{
    using K = PieceLine::Kind;
    std::vector<PieceLine> lines;
    for (int code = 0; code <= kHighestSymbolCode; ++code) {
        const SymbolJoins &joins = symbolJoins(code);
        if (joins.gate != GateMaterial::None) {
            if (joins.wall == kHorizontalSides) {
                lines.push_back({code, K::Wall, 0, M, kGateStart, M});
                lines.push_back({code, K::Gate, kGateStart, M, kGateEnd, M});
                lines.push_back({code, K::Wall, kGateEnd, M, E, M});
            } else {
                lines.push_back({code, K::Wall, M, 0, M, kGateStart});
                lines.push_back({code, K::Gate, M, kGateStart, M, kGateEnd});
                lines.push_back({code, K::Wall, M, kGateEnd, M, E});
            }
            continue;
        }
        // Every other wall piece draws an arm from the middle to each side it
        // leaves by.
        for (const Side side : kSides) {
            if (has(joins.wall, side))
                lines.push_back(
                    {code, K::Wall, M, M, M + columnStep(side) * M, M + rowStep(side) * M});
        }
    }
    return lines;
}

} // namespace

std::span<const PieceLine> wallPieceLines()
{
    static const std::vector<PieceLine> lines = linesFromJoins();
    return lines;
}

} // namespace vellumor::mapexport
