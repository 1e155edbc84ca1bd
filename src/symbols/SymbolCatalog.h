#pragma once

#include "document/Standard.h"
#include "symbols/Sides.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <span>

namespace vellumor {

// What each symbol is, one row a symbol: its name, where it stands in the
// palette, what kind of thing it draws, how it joins its neighbours, whether a
// person can walk into it and whether it hides what lies behind it. Every part
// of the program that asks what a symbol means reads this one table.

enum class SymbolSet { None = -1, Town = 0, Terrain1 = 1, Terrain2 = 2 };
inline constexpr int kSymbolSetCount = 3;

enum class KeyGroup {
    None,
    Town,
    Castle,
    WaterRiver,
    Forest,
    Mountain,
    Desert,
    SwampPlains,
    Walls
};

// What kind of thing a symbol draws, as the rules and the generator speak of
// it.
enum class Family : std::uint8_t {
    Open, // the blank cell
    Building, // houses, shops, the inn, long houses, stables, the church
    Castle, // the castle and its towers: one picture however they stand together
    Well,
    Graveyard, // the cemetery, whole or destroyed
    Lake, // Water and the lake's corners; the pond belongs to the rivers
    River, // river pieces and the pond where they meet
    Trees, // living trees
    DeadTrees,
    Highland, // mountains, caves and volcanoes
    Hills,
    Sand, // sand, with scrub or a palm
    Wagon,
    Patch, // grass, dry grass and swamp: ground all over
    Wall,
    Gate,
    GuardPost,
};

enum class GateMaterial : std::uint8_t { None, Wood, Iron };

// How a symbol's picture meets its neighbours.
struct SymbolJoins
{
    SideSet river = 0; // the sides a river leaves by
    SideSet wall = 0; // the sides a wall leaves by (a gate: the wall it stands in)
    // Guard posts and the pond draw an arm on every side; an arm joins
    // whatever meets it, and one that meets nothing is part of the picture.
    bool junction = false;
    GateMaterial gate = GateMaterial::None;
    bool openWater = false; // water a river may flow into: Water, the lake, the pond
    // Trees, mountains and hills: a river may rise from a spring beneath them,
    // as the castle's river does under the forest.
    bool springGround = false;
};

enum class Walk : std::uint8_t { No, Yes };
enum class Sight : std::uint8_t { Open, Blocks };

struct SymbolInfo
{
    SymbolCode code;
    const char *name; // the button's tooltip, exactly as users know it
    SymbolSet set;
    KeyGroup keyGroup;
    int column; // 0 to 3 in the set's frame; -1 for the Blank symbol
    int row; // 0 to 6 in the set's frame; -1 for the Blank symbol
    Family family;
    SymbolJoins joins;
    // A person can step into the cell: open ground, plains, sand, scrub and
    // palms, swamp, trees, hills, graveyards and gates; not buildings, walls,
    // water, mountains, the well or a wagon.
    Walk walk;
    // Hides what lies behind it: buildings, walls, gates (drawn closed) and
    // guard posts, mountains, caves and volcanoes, and living trees.
    Sight sight;
};

struct KeyLabelInfo
{
    KeyGroup group;
    const char *objectName;
    const char *caption;
    SymbolSet set;
    int row; // the palette row it heads; it stands just above it
};

struct SymbolSetInfo
{
    SymbolSet set;
    const char *buttonCaption; // "Terrain1"
    const char *frameObjectName; // "fraTerrain1"
    const char *frameCaption; // "Terrain 1"
    SymbolCode firstCode;
    SymbolCode lastCode;
};

// Every symbol, indexed by code: entry c describes code c.
std::span<const SymbolInfo> symbolTable();
std::span<const KeyLabelInfo> keyLabels();
std::span<const SymbolSetInfo> symbolSets();

// Lookups by code; empty for a code that names no symbol.
std::optional<SymbolInfo> symbolInfo(int code);
QString symbolName(int code);
// The symbol at a palette position of a set, if one stands there.
std::optional<SymbolCode> symbolAt(SymbolSet set, int column, int row);

// The table's columns by code. A code outside 0..64 joins nothing, is no
// family's (Open), cannot be walked into and hides nothing.
const SymbolJoins &symbolJoins(int code);
Family symbolFamily(int code);
bool isWalkable(int code);
bool blocksSight(int code);

// Families as the rules and the generator count them. A building is any town
// or castle symbol no one walks into: the well counts, the cemetery does not.
bool isBuilding(int code);
bool isLake(int code);
bool isTrees(int code); // living or dead
bool isHighland(int code);
bool isPatch(int code);
bool isWater(int code); // rivers, lakes and the pond

// The living trees, in the order of the palette: what the generator plants.
std::span<const SymbolCode> livingTrees();

} // namespace vellumor
