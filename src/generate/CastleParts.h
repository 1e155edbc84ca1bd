#pragma once

#include "generate/Builders.h"
#include "generate/MapGenerator.h"

#include <optional>

// What every castle map is built of, whatever its layout: the keep inside
// its ring of wall (around what the user drew of either), and the lowland
// country round about. The layouts differ in where the keep, the water and
// the high ground go.
namespace vellumor::generate {

// Where a layout wants the walls, and the sides its gates may face.
struct KeepPlan
{
    CellRect walls;
    SideSet gateSides = kAllSides;
};

// The walls the user drew and kept (their bounds), or around a castle drawn
// without walls: the rectangle a ring must take to hold it with a yard
// round it. Nothing when neither was drawn.
std::optional<CellRect> keptKeepWalls(const Sketch &sketch, SeededRandom &random);

// The walls of the plan as the keep would stand: those drawn, or `wanted`
// when nothing was.
CellRect keepWalls(const std::optional<CellRect> &kept, const CellRect &wanted);

// The ring of wall (or the one the user drew) with the keep and its yard;
// a castle the user drew is the keep.
bool buildKeep(Sketch &sketch, SeededRandom &random, const KeepPlan &plan,
    const MapChoices &choices, WallRing &ring);

// A village outside the ring, in `area`, its inn or church among the houses.
void village(Sketch &sketch, SeededRandom &random, const CellRect &area);

// Woods, swamp by the water at `shore`, grass, scattered hills and trees,
// and the last tidy.
void dressLowland(Sketch &sketch, SeededRandom &random, const CellRect &lowland, CellPlace shore);

// Around a drawing, a river that finds no room between what was drawn is
// left out rather than the layout given up, unless a river was asked for.
inline bool riversMayGo(const Sketch &sketch, const MapChoices &choices)
{
    return sketch.hasKept() && choices.river != RiverChoice::Always;
}

// The castle's layouts besides the highland over the lake (CastleRecipe.cpp).
bool drawLakeBeforeGate(Sketch &sketch, SeededRandom &random, const MapChoices &choices);
bool drawBetweenRivers(Sketch &sketch, SeededRandom &random, const MapChoices &choices);
// On one bank of a river the user drew across the map.
bool drawOnTheBank(Sketch &sketch, SeededRandom &random, const MapChoices &choices);

} // namespace vellumor::generate
