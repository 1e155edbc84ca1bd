#pragma once

#include <array>
#include <cstdint>

namespace vellumor {

// The four sides of a cell, and sets of them: the sides a river or a wall
// leaves a cell by, and one step across a side.

enum class Side : std::uint8_t { North, East, South, West };
inline constexpr std::array<Side, 4> kSides {Side::North, Side::East, Side::South, Side::West};

using SideSet = std::uint8_t; // one bit per Side
constexpr SideSet sideBit(Side side)
{
    return SideSet(1u << unsigned(side));
}
constexpr bool has(SideSet sides, Side side)
{
    return (sides & sideBit(side)) != 0;
}
constexpr Side opposite(Side side)
{
    return Side((unsigned(side) + 2) % 4);
}
// One step across a side, in columns to the right and rows down.
constexpr int columnStep(Side side)
{
    return side == Side::East ? 1 : side == Side::West ? -1 : 0;
}
constexpr int rowStep(Side side)
{
    return side == Side::South ? 1 : side == Side::North ? -1 : 0;
}
inline constexpr SideSet kHorizontalSides = sideBit(Side::East) | sideBit(Side::West);
inline constexpr SideSet kVerticalSides = sideBit(Side::North) | sideBit(Side::South);
inline constexpr SideSet kAllSides = kHorizontalSides | kVerticalSides;

// "north", "east", "south", "west".
const char *sideName(Side side);

} // namespace vellumor
