#pragma once

#include "symbols/SymbolCatalog.h"
#include "symbols/SymbolNames.h"

// Which symbols a patch of country is made of, as the generator fills holes
// in them; the families themselves are the catalog's.
namespace vellumor::generate {

// A patch's own code, TreesEvergreen for any trees, Blank for the rest: what
// a cell's neighbours must share for it to be a hole in them.
inline SymbolCode terrainFamily(SymbolCode code)
{
    if (isPatch(code))
        return code;
    return isTrees(code) ? SymbolCode(sym::TreesEvergreen) : SymbolCode(sym::Blank);
}

} // namespace vellumor::generate
