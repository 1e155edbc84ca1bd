#pragma once

#include "generate/Sketch.h"
#include "symbols/SymbolCatalog.h"

#include <optional>

// What the user drew and asked to keep, as the recipes plan around it: a keep
// already drawn is walled in, a lake is fed, a river across the map is a bank
// to build on, never a second one laid beside it.
namespace vellumor::generate {

// The smallest rectangle round the kept cells of the family; nothing when
// none is kept.
std::optional<CellRect> keptBounds(const Sketch &sketch, Family family);

// A river the user drew from one edge of the map to the opposite one, and
// the band of rows (flowing west to east) or columns it takes.
struct KeptRiver
{
    CellRect band;
    bool alongRows = true; // crosses from the west edge to the east
};
std::optional<KeptRiver> keptRiverAcross(const Sketch &sketch);

// The land on the larger side of the river, `margin` cells clear of it, and
// the side of that land the river lies on.
struct Bank
{
    CellRect land;
    Side river = Side::South;
};
Bank largerBank(const KeptRiver &river, int margin);

} // namespace vellumor::generate
