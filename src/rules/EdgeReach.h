#pragma once

#include "document/Standard.h"
#include "symbols/SymbolJoins.h"

#include <array>

namespace vellumor::rules {

// The cells reached from the map's edge by four-neighbour steps through cells
// that `passable` lets through, indexed by row * kMapColumns + column (rows
// counted from the top). Reachability on foot, and what walls shut off, are
// both this one walk.
using EdgeReach = std::array<bool, kCellCount>;
EdgeReach reachFromEdge(const MapCodes &codes, bool (*passable)(int code));

} // namespace vellumor::rules
