#pragma once

#include "document/CellSet.h"
#include "document/Standard.h"
#include "symbols/SymbolJoins.h"

#include <array>

namespace vellumor::rules {

// The cells reached from the map's edge by four-neighbour steps through cells
// that `passable` lets through. Reachability on foot, and what walls shut
// off, are both this one walk.
using EdgeReach = CellSet;
EdgeReach reachFromEdge(const MapCodes &codes, bool (*passable)(int code));

} // namespace vellumor::rules
