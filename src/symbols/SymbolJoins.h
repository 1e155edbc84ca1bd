#pragma once

#include "document/Standard.h"
#include "symbols/SymbolCatalog.h"

#include <array>
#include <cstdint>
#include <span>

namespace vellumor {

// How the symbols join their neighbours beyond what each cell's row in the
// catalog says: the pieces of pictures that span several cells, and the piece
// that leaves by a given set of sides. The command-line checker, the
// generator and the Universal VTT walls read these.

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

// The river or wall piece (gates and junctions excluded) that leaves by exactly
// these sides, or 0.
SymbolCode riverPiece(SideSet sides);
SymbolCode wallPiece(SideSet sides);
// The gate of this material standing in a wall along these sides
// (kHorizontalSides or kVerticalSides), or 0.
SymbolCode gatePiece(GateMaterial material, SideSet wallSides);

} // namespace vellumor
