#pragma once

#include "mapcraft/SeededRandom.h"
#include "mapcraft/Sketch.h"

// One recipe for each kind of map. Each draws a whole map on a blank sketch
// and returns false when this attempt did not come together.
namespace vellumor::mapcraft {

bool drawTown(Sketch &sketch, SeededRandom &random);
bool drawFort(Sketch &sketch, SeededRandom &random);
bool drawCastle(Sketch &sketch, SeededRandom &random);
bool drawValley(Sketch &sketch, SeededRandom &random);

} // namespace vellumor::mapcraft
