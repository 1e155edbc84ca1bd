#pragma once

#include "rules/FindingSink.h"
#include "symbols/SymbolJoins.h"

namespace vellumor::rules {

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

// What the neighbours of a cell ask of the river or wall piece in it: the
// sides a neighbouring piece leads into are demanded; the sides that face the
// map's edge, a junction that carries the network, or for a river open water
// or spring ground are free, neither demanded nor forbidden; every other side
// is forbidden.
struct SideDemand
{
    SideSet demanded = 0;
    SideSet free = 0;

    bool allows(SideSet sides) const
    {
        return (sides & demanded) == demanded && (sides & ~(demanded | free)) == 0;
    }
};
SideDemand sideDemand(const MapCodes &codes, int column, int row, Network network);

// How many sides of the cell's piece disagree with what its neighbours ask:
// demanded sides it lacks and forbidden sides it has.
int disagreements(const MapCodes &codes, int column, int row, Network network);

} // namespace vellumor::rules
