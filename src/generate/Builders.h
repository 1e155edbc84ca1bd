#pragma once

#include "generate/MapLooks.h"
#include "generate/SeededRandom.h"
#include "generate/Sketch.h"
#include "symbols/SymbolShapes.h"

#include <array>
#include <span>

// The pieces every recipe draws with: walls with their gates and guard posts,
// lakes and rivers, streets lined with buildings, and terrain. Each returns
// false when the map has no room for what was asked; the recipe then fails
// and the generator starts again from a fresh attempt.
namespace vellumor::generate {

// ---- Walls

struct Gateway
{
    CellPlace place;
    Side outward = Side::North; // the side of the gate that faces the country
};

// The ground a wall goes round: a rectangle with up to two of its corners
// cut away, so that its outline has right angles only (an L, a cut corner).
struct Outline
{
    CellRect rect;
    std::array<CellRect, 2> cuts {};
    int cutCount = 0;

    bool contains(CellPlace place) const;
    // In the outline with a cell outside it all round: where the wall stands.
    bool isEdge(CellPlace place) const;
    bool isRectangle() const { return cutCount == 0; }
};

// The rectangle with up to two of its corners cut away, as many as `cuts`
// draws (weighted by chance), each cut three cells or more and up to a third
// of the side; two cuts along one wall leave a run of it between them.
Outline cutCorners(SeededRandom &random, const CellRect &rect, std::span<const Weighted<int>> cuts);
// Whether the outline's corner (0 top left, 1 top right, 2 bottom left, 3
// bottom right) was cut away.
bool isCutCorner(const Outline &outline, int corner);

struct WallRing
{
    CellRect bounds; // the wall and all it encloses
    CellSet inside; // the cells within the wall
    std::array<Gateway, 4> gates {};
    int gateCount = 0;
};

struct WallPlan
{
    Outline outline; // the wall itself stands on its edge cells
    int gateCount = 1; // 1 to 4
    SideSet gateSides = kAllSides; // the sides a gate may face outward to
    int cornerClearance = 2; // straight wall kept between a gate and a corner
    int guardSpacing = 6; // about this many cells between guard posts; 0: none
    GateMaterial material = GateMaterial::None; // None: wood or iron, by chance
};

// A closed ring of wall with its corners, gates and guard posts. The cells on
// both sides of each gate are claimed and kept open ground, and so are two
// more cells of road leading out of it.
bool buildWallRing(Sketch &sketch, SeededRandom &random, const WallPlan &plan, WallRing &ring);
// The ring the user drew and kept, its gates and what it encloses; false
// when the kept cells enclose nothing.
bool keptWallRing(const Sketch &sketch, WallRing &ring);
// Open ground from the gate straight out to the map's edge, as far as it is
// free: the road into the country.
void roadOut(Sketch &sketch, const Gateway &gate);

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
    int leaveAt = 0; // and of the last cell, where it aims
    // How far from leaveAt the last cell may be: into a lake anywhere along
    // its side, to the map's edge anywhere; 0 to meet a pond.
    int leaveSpread = 0;
    int low = 0; // the columns (or rows) it may wander between
    int high = 0;
    int bendPercent = 35;
};
// Anywhere a river may leave by: for a course that runs to the map's edge.
inline constexpr int kLeaveAnywhere = kMapColumns;

struct RiverPath
{
    std::array<CellPlace, kCellCount> cells {};
    int length = 0;
};

// Rivers meander in straight runs of kShortestRun to kLongestRun cells
// between their bends (MapLooks.h), across the flow as along it; the first
// and the last run are no longer. False when the course leaves no room.
bool layRiver(Sketch &sketch, SeededRandom &random, const RiverCourse &course, RiverPath &path);
// The side a river flowing this way leaves its last cell by.
Side downstream(Flow flow);

// The spring a river rises from: forest, hills or a mountain at `place`, in
// a group of at least three such cells grown away from the river, which
// leaves the spring by `riverSide`. False when there is no room for the group.
bool raiseSpring(Sketch &sketch, SeededRandom &random, CellPlace place, Side riverSide);

// Turns a straight stretch of the river into the pond where a stream joins
// it from the side `toward`: from the map's edge, or from a spring under
// trees, hills or a mountain short of it. False, and nothing drawn, when the
// stream found no way.
bool addBranch(
    Sketch &sketch, SeededRandom &random, const RiverPath &river, Side toward, bool fromSpring);

// ---- Buildings

// A building drawn over one or two rows, up to five cells wide; Blank leaves
// a cell of its rectangle open ground.
struct Building
{
    int width = 1;
    int height = 1;
    std::array<std::array<SymbolCode, 5>, 2> cells {};
};

Building single(SymbolCode code);
// A fixed picture spanning cells (the inn, the church, the castle, a tower),
// drawn as it stands in its shape.
Building picture(const PictureShape &shape);
// Two buildings side by side, `left` first; both one or two rows high.
Building beside(const Building &left, const Building &right);
Building row(std::span<const SymbolCode> codes);
Building block(std::array<SymbolCode, 2> top, std::array<SymbolCode, 2> bottom);
// A long house of this many pieces, windows at its ends and a door or tavern
// between.
Building longHouse(SeededRandom &random, int length);

using BuildingSource = Building (*)(SeededRandom &random);

// Where streets are laid out: the cells of `cells` within `bounds`.
struct StreetArea
{
    CellRect bounds;
    CellSet cells;
};
StreetArea streetArea(const CellRect &rect);
// The cells of the ring's inside a cell or more from the wall.
StreetArea streetArea(const WallRing &ring);

// Lays out the area as rows of buildings with a street between each two
// (rows of two where a two-row building needs them), puts each required
// building somewhere in it and fills the rest from `fill`, leaving a cell
// between neighbours. Every building touches a street; the whole area is
// claimed afterwards.
bool fillStreets(Sketch &sketch, SeededRandom &random, const StreetArea &area,
    std::span<const Building> required, BuildingSource fill, int fillPercent);

// ---- Terrain (drawn on free cells only)

void scatter(Sketch &sketch, SeededRandom &random, const CellRect &area,
    std::span<const SymbolCode> codes, int percent);
// A blob of about `size` cells grown from a cell, each drawn by chance.
void clump(Sketch &sketch, SeededRandom &random, CellPlace from, int size,
    std::span<const SymbolCode> codes, int percent);
// The same grown from a cell anywhere in the area.
void clump(Sketch &sketch, SeededRandom &random, const CellRect &area, int size,
    std::span<const SymbolCode> codes, int percent);
// A mountain ridge of `length` cells from `from` along `heading`, wandering
// aside only within `band`, hills on its flanks.
void ridge(Sketch &sketch, SeededRandom &random, CellPlace from, int length, Side heading,
    const CellRect &band);
// Turns up to `most` mountains deep in a range into volcanoes.
void crownVolcanoes(Sketch &sketch, SeededRandom &random, int most);
void field(Sketch &sketch, const CellRect &area, SymbolCode code);
// The last touch on the country: grass and swamp kept a cell clear of water,
// no lone cell of them, no blank hole inside a patch or a forest, and dead
// trees only at a forest's edge.
void tidyTerrain(Sketch &sketch, SeededRandom &random);

} // namespace vellumor::generate
