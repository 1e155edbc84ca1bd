#pragma once

#include <span>

namespace vellumor::mapexport {

// Where the wall pieces' pictures draw their walls and gates, in thirtieths of a
// cell from the cell's top left corner: a wall runs along the middle of its
// cell (15), and a gate fills the cell's middle from 6 to 24 between two stubs
// of wall.
inline constexpr int kCellUnits = 30;

struct PieceLine
{
    int code;
    enum class Kind { Wall, Gate } kind;
    int x1, y1, x2, y2;
};

// Every line of every wall, corner, guard post and gate piece, in code order,
// as the symbols' join table says they run.
std::span<const PieceLine> wallPieceLines();

} // namespace vellumor::mapexport
