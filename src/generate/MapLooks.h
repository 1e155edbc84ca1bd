#pragma once

#include "document/Standard.h"
#include "rules/MapKind.h"

#include <vector>

// How a generated map looks to a game master, beyond being sound: the goals
// every generated map is held to, and the counts the figures report.
namespace vellumor::generate {

using rules::MapKind;

// Patches of grass, dry grass or swamp are of one code joined along their
// sides, and none is smaller than this.
inline constexpr int kSmallestPatch = 3;
// The cells of patches smaller than that.
int loneTerrainCells(const MapCodes &codes);
// Dead trees with no tree, living or dead, around them.
int loneDeadTrees(const MapCodes &codes);
// Buildings, a picture spanning cells (the inn, a long house) counted once.
int buildingCount(const MapCodes &codes);
// A town has at least this many, however small.
inline constexpr int kFewestTownBuildings = 6;
// Blank cells whose every neighbour on the map is of one patch, or trees.
int terrainHoles(const MapCodes &codes);
int cellsOf(const MapCodes &codes, SymbolCode code);
// The wall's corner pieces: four for a rectangle, more for any other outline.
int wallCorners(const MapCodes &codes);

// A straight run of a river, in cells, and whether a bend stands at both of
// its ends; otherwise it runs from a bend or where the river rises to where
// it ends, meets the pond or bends.
inline constexpr int kShortestRun = 3;
inline constexpr int kLongestRun = 7;
struct RiverRun
{
    int length = 0;
    bool betweenBends = false;
};
std::vector<RiverRun> riverRuns(const MapCodes &codes);

// The goals:
// - at most two wells, one in a fort or castle; at most two volcanoes, each
//   beside a mountain; no patch smaller than kSmallestPatch and no hole; no
//   dead tree alone;
// - grass and swamp a cell clear of rivers, lakes and the pond;
// - beside sand, only what is drawn on sand, open ground and the walls;
// - every spring in a group of three or more cells of forest, hills or
//   mountains joined along their sides;
// - in a fort, mountains two cells or more from the walls;
// - rivers in runs of 3 to 7 straight cells between their bends, and no run
//   longer than 7 anywhere;
// - a town of kFewestTownBuildings buildings or more.
// Gives the first goal missed, or nullptr.
const char *missedGoal(const MapCodes &codes, MapKind kind);

} // namespace vellumor::generate
