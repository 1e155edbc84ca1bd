#pragma once

#include "document/Standard.h"
#include "rules/MapKind.h"

// How a generated map looks to a game master, beyond being sound: the goals
// every generated map is held to, and the counts the figures report.
namespace vellumor::generate {

using rules::MapKind;

// Terrain cells of a patch (grass, dry grass, swamp) with no side neighbour
// of the same patch.
int loneTerrainCells(const MapCodes &codes);
// Blank cells whose every neighbour on the map is of one patch, or trees.
int terrainHoles(const MapCodes &codes);
int cellsOf(const MapCodes &codes, SymbolCode code);
// The wall's corner pieces: four for a rectangle, more for any other outline.
int wallCorners(const MapCodes &codes);

// The goals:
// - at most two wells, one in a fort or castle; at most two volcanoes, each
//   beside a mountain; no lone patch cell and no hole;
// - grass and swamp a cell clear of rivers, lakes and the pond;
// - beside sand, only what is drawn on sand, open ground and the walls;
// - every spring in a group of three or more cells of forest, hills or
//   mountains joined along their sides;
// - in a fort, mountains two cells or more from the walls.
// Gives the first goal missed, or nullptr.
const char *missedGoal(const MapCodes &codes, MapKind kind);

} // namespace vellumor::generate
