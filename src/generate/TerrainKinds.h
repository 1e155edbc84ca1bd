#pragma once

#include "symbols/SymbolJoins.h"
#include "symbols/SymbolNames.h"

// Which symbols belong together as country: the patches of grass and swamp
// that fill whole cells with their ground, forests, the highland. The
// generator draws by these, and the figures of generated maps count by them.
namespace vellumor::generate {

// Grass, dry grass and swamp: pictures that are ground all over.
constexpr bool isPatch(SymbolCode code)
{
    return code == sym::Grass || code == sym::DryGrass || code == sym::Swamp;
}

constexpr bool isTrees(SymbolCode code)
{
    return code == sym::TreesEvergreen || code == sym::TreesDeciduous
        || code == sym::TreesOldEvergreen || code == sym::TreesDead;
}

constexpr bool isHighland(SymbolCode code)
{
    return code == sym::Mountain || code == sym::MountainCave || code == sym::Volcano;
}

// Rivers, lakes and the pond.
inline bool isWater(SymbolCode code)
{
    return symbolJoins(code).river != 0 || symbolJoins(code).openWater;
}

// A patch's own code, TreesEvergreen for any trees, Blank for the rest: what
// a cell's neighbours must share for it to be a hole in them.
constexpr SymbolCode terrainFamily(SymbolCode code)
{
    if (isPatch(code))
        return code;
    return isTrees(code) ? SymbolCode(sym::TreesEvergreen) : SymbolCode(sym::Blank);
}

} // namespace vellumor::generate
