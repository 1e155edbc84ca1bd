#pragma once

#include "document/Standard.h"
#include "rules/MapKind.h"

namespace vellumor::rules {

// What every generated map holds, checked on the finished map alone:
// - walls close: every side a wall leaves by meets a wall that joins it back
//   or the map's edge, so runs end only in corners, guard posts or the edge;
// - rivers have no dead end: every side a river leaves by meets a river that
//   joins it back, open water, the map's edge or a spring (trees, mountains,
//   hills), and no river both rises from a spring and ends at one;
// - every piece of a picture that spans several cells has its partners;
// - a town or fort has 1 to 4 gates, none beside another;
// - both sides of every gate are walkable, every gate can be reached on foot
//   from the map's edge, and so can a cell beside every building.
// Gives the first property broken, or nullptr when the map holds them all.
const char *brokenProperty(const MapCodes &codes, MapKind kind);

} // namespace vellumor::rules
