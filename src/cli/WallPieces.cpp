#include "cli/WallPieces.h"

#include <array>

namespace vellumor::maptool {

namespace {

using K = PieceLine::Kind;
constexpr int M = kCellUnits / 2; // the middle of the cell
constexpr int E = kCellUnits; // its far edge

// Read off the pictures: a corner's two arms meet in the middle; a guard post
// stands where four arms of wall meet; a wooden or iron gate's frame spans
// pixels 3 to 11 of its 15, with wall on either side.
constexpr std::array<PieceLine, 26> kLines {{
    {53, K::Wall, M, M, E, M}, // Wall: S-E corner
    {53, K::Wall, M, M, M, E},
    {54, K::Wall, 0, M, E, M}, // Wall: Horizontal
    {55, K::Wall, 0, M, M, M}, // Wall: S-W corner
    {55, K::Wall, M, M, M, E},
    {56, K::Wall, M, 0, M, E}, // Wall: Vertical
    {57, K::Wall, M, 0, M, M}, // Wall: N-E corner
    {57, K::Wall, M, M, E, M},
    {58, K::Wall, 0, M, 6, M}, // Wooden Gate: Horizontal
    {58, K::Gate, 6, M, 24, M},
    {58, K::Wall, 24, M, E, M},
    {59, K::Wall, M, 0, M, M}, // Wall: N-W corner
    {59, K::Wall, 0, M, M, M},
    {60, K::Wall, M, 0, M, 6}, // Wooden Gate: Vertical
    {60, K::Gate, M, 6, M, 24},
    {60, K::Wall, M, 24, M, E},
    {61, K::Wall, 0, M, E, M}, // Guard Post: Square
    {61, K::Wall, M, 0, M, E},
    {62, K::Wall, 0, M, 6, M}, // Iron Gate: Horizontal
    {62, K::Gate, 6, M, 24, M},
    {62, K::Wall, 24, M, E, M},
    {63, K::Wall, 0, M, E, M}, // Guard Post: Round
    {63, K::Wall, M, 0, M, E},
    {64, K::Wall, M, 0, M, 6}, // Iron Gate: Vertical
    {64, K::Gate, M, 6, M, 24},
    {64, K::Wall, M, 24, M, E},
}};

} // namespace

std::span<const PieceLine> wallPieceLines()
{
    return kLines;
}

} // namespace vellumor::maptool
