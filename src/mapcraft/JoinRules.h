#pragma once

#include "mapcraft/FindingSink.h"
#include "symbols/SymbolJoins.h"

namespace vellumor::mapcraft {

enum class Network { River, Wall };

inline SideSet networkSides(const SymbolJoins &joins, Network network)
{
    return network == Network::River ? joins.river : joins.wall;
}

// The river and wall findings of one cell: open ends, gaps, misjoins, gates
// across their wall and gates that open onto something no one walks through.
void appendJoinFindings(const MapCodes &codes, int column, int row, FindingSink &sink);

// A gate turned across the wall it stands in: more wall runs point into its
// sides than meet it along its own axis.
bool standsAcross(const MapCodes &codes, int column, int row);

// The sides the river or wall piece at the cell would leave by if it matched
// its neighbours: every side a neighbouring piece leads into, and every side
// it leaves by already that ends well (at the map's edge, a junction, or for a
// river open water or spring ground).
SideSet matchingSides(const MapCodes &codes, int column, int row, Network network);

} // namespace vellumor::mapcraft
