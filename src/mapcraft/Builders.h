#pragma once

#include "mapcraft/SeededRandom.h"
#include "mapcraft/Sketch.h"

#include <array>
#include <span>

// The pieces every recipe draws with: walls with their gates and guard posts,
// lakes and rivers, streets lined with buildings, and terrain. Each returns
// false when the map has no room for what was asked; the recipe then fails
// and the generator starts again from a fresh attempt.
namespace vellumor::mapcraft {

// ---- Walls

struct Gateway
{
    int column = 0;
    int row = 0;
    Side outward = Side::North; // the side of the gate that faces the country
};

struct WallRing
{
    CellRect rect;
    std::array<Gateway, 4> gates {};
    int gateCount = 0;
};

struct WallPlan
{
    CellRect rect; // the wall itself: corners at its four corners
    int gateCount = 1; // 1 to 4
    SideSet gateSides = kAllSides; // the walls a gate may stand in
    int cornerClearance = 2; // cells kept between a gate and a corner
    int guardSpacing = 6; // about this many cells between guard posts; 0: none
    GateMaterial material = GateMaterial::None; // None: wood or iron, by chance
};

// A closed ring of wall with its corners, gates and guard posts. The cells on
// both sides of each gate are claimed and kept open ground, and so are two
// more cells of road leading out of it.
bool buildWallRing(Sketch &sketch, SeededRandom &random, const WallPlan &plan, WallRing &ring);

// ---- Water

// Water framed by the lake's four corners.
bool layLake(Sketch &sketch, const CellRect &lake);

enum class Flow { South, North, East, West };

// A river running in one direction with bends to either side: its first cell
// takes the water in from behind (the map's edge, a spring, a lake), its last
// cell lets it out ahead. Cells are given in map columns and rows.
struct RiverCourse
{
    Flow flow = Flow::South;
    int from = 0; // the row (flowing south or north) or column of the first cell
    int to = 0; // and of the last cell
    int enterAt = 0; // the column (or row) of the first cell
    int leaveAt = 0; // and of the last cell
    int low = 0; // the columns (or rows) it may wander between
    int high = 0;
    int bendPercent = 35;
};

struct RiverPath
{
    std::array<std::array<std::int8_t, 2>, kCellCount> cells {}; // column, row
    int length = 0;
};

bool layRiver(Sketch &sketch, SeededRandom &random, const RiverCourse &course, RiverPath &path);
// The side a river flowing this way leaves its last cell by.
Side downstream(Flow flow);

// Turns a straight stretch of the river into the pond where a stream joins
// it from the side `toward`: from the map's edge, or from a spring under
// trees, hills or a mountain short of it. False, and nothing drawn, when the
// stream found no way.
bool addBranch(
    Sketch &sketch, SeededRandom &random, const RiverPath &river, Side toward, bool fromSpring);

// ---- Buildings

// A building drawn over one or two rows, up to five cells wide; 0 leaves a
// cell of its rectangle open ground.
struct Building
{
    int width = 1;
    int height = 1;
    std::array<std::array<SymbolCode, 5>, 2> cells {};
};

Building single(SymbolCode code);
Building row(std::span<const SymbolCode> codes);
Building block(std::array<SymbolCode, 2> top, std::array<SymbolCode, 2> bottom);
// A long house of this many pieces, windows at its ends and a door or tavern
// between.
Building longHouse(SeededRandom &random, int length);

using BuildingSource = Building (*)(SeededRandom &random);

// Lays out the area as rows of buildings with a street between each two
// (rows of two where a two-row building needs them), puts each required
// building somewhere in it and fills the rest from `fill`, leaving a cell
// between neighbours. Every building touches a street; the whole area is
// claimed afterwards.
bool fillStreets(Sketch &sketch, SeededRandom &random, const CellRect &area,
    std::span<const Building> required, BuildingSource fill, int fillPercent);

// ---- Terrain (drawn on free cells only)

void scatter(Sketch &sketch, SeededRandom &random, const CellRect &area,
    std::span<const SymbolCode> codes, int percent);
// A blob of about `size` cells grown from a cell, each drawn by chance.
void clump(Sketch &sketch, SeededRandom &random, int column, int row, int size,
    std::span<const SymbolCode> codes, int percent);
// The same grown from a cell anywhere in the area.
void clump(Sketch &sketch, SeededRandom &random, const CellRect &area, int size,
    std::span<const SymbolCode> codes, int percent);
// A mountain ridge wandering along `heading`, hills on its flanks.
void ridge(Sketch &sketch, SeededRandom &random, int column, int row, int length, Side heading);
void field(Sketch &sketch, const CellRect &area, SymbolCode code);

} // namespace vellumor::mapcraft
