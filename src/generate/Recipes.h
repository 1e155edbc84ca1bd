#pragma once

#include "generate/MapGenerator.h"
#include "generate/SeededRandom.h"
#include "generate/Sketch.h"

// One recipe for each kind of map. Each draws a whole map on a sketch, around
// whatever the user drew and kept there, and returns false when this attempt
// did not come together.
namespace vellumor::generate {

bool drawTown(Sketch &sketch, SeededRandom &random, const MapChoices &choices);
bool drawFort(Sketch &sketch, SeededRandom &random, const MapChoices &choices);
bool drawCastle(Sketch &sketch, SeededRandom &random, const MapChoices &choices);
bool drawValley(Sketch &sketch, SeededRandom &random, const MapChoices &choices);

// Whether to lay the river, by the user's choice or by chance.
inline bool wantsRiver(SeededRandom &random, const MapChoices &choices, int percent)
{
    const bool chance = random.percent(std::uint32_t(percent));
    return choices.river == RiverChoice::ByChance ? chance : choices.river == RiverChoice::Always;
}

} // namespace vellumor::generate
