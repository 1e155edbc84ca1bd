#pragma once

#include "document/Standard.h"

#include <array>
#include <cstdint>
#include <span>

namespace vellumor {

// How the symbols join their neighbours, as their pictures draw them: the
// sides rivers and walls leave a cell by, the pieces of pictures that span
// several cells, and where a person can walk. The command-line checker, the
// generator and the Universal VTT walls all read this one table.

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

enum class GateMaterial : std::uint8_t { None, Wood, Iron };

struct SymbolJoins
{
    SideSet river = 0; // the sides a river leaves by
    SideSet wall = 0; // the sides a wall leaves by (a gate: the wall it stands in)
    // Guard posts and the pond draw an arm on every side; an arm joins
    // whatever meets it, and one that meets nothing is part of the picture.
    bool junction = false;
    GateMaterial gate = GateMaterial::None;
    bool openWater = false; // water a river may flow into: Water, the lake, the pond
    // Trees, mountains and hills: a river may rise from a spring beneath them,
    // as the castle's river does under the forest.
    bool springGround = false;
    // A person can step into the cell: open ground, plains, sand, scrub and
    // palms, swamp, trees, hills, graveyards and gates; not buildings, walls,
    // water, mountains, the well or a wagon.
    bool walkable = false;
};

const SymbolJoins &symbolJoins(int code); // a code outside 0..64 joins nothing

struct PictureShape;

// A piece of a picture that spans several cells needs one of `accepts` on
// `side` (on any side of `sides` for a long house, which only must not stand
// alone). `rule` names the picture for the checker. Made from the pictures'
// shapes in SymbolShapes.h.
struct PiecePartner
{
    SymbolCode code;
    SideSet sides;
    std::array<SymbolCode, 3> accepts; // 0 where unused
    const char *rule;
    // The cell can be completed with accepts[0] when it is blank: the
    // picture has exactly one piece there.
    bool completable;
    const PictureShape *shape;
};

std::span<const PiecePartner> piecePartners();
// The needs of one code, in the table's order.
std::span<const PiecePartner> piecePartners(int code);

// What a cell holds, as the generator and the figures count it. A building is
// any town or castle symbol no one walks into: the well counts, the cemetery
// does not. A lake is open water drawn as a lake: Water and the lake's
// corners; the pond is a river's joint, not a lake.
bool isBuilding(int code);
bool isLake(int code);
// Whether the symbol hides what lies behind it: buildings, walls, gates (drawn
// closed) and guard posts, mountains, caves and volcanoes, and living trees.
bool blocksSight(int code);

// The river or wall piece (gates and junctions excluded) that leaves by exactly
// these sides, or 0.
SymbolCode riverPiece(SideSet sides);
SymbolCode wallPiece(SideSet sides);
// The gate of this material standing in a wall along these sides
// (kHorizontalSides or kVerticalSides), or 0.
SymbolCode gatePiece(GateMaterial material, SideSet wallSides);

} // namespace vellumor
