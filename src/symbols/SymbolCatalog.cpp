#include "symbols/SymbolCatalog.h"

#include "symbols/SymbolNames.h"

#include <algorithm>
#include <array>

namespace vellumor {

namespace {

using Set = SymbolSet;
using Key = KeyGroup;

constexpr SideSet kN = sideBit(Side::North);
constexpr SideSet kE = sideBit(Side::East);
constexpr SideSet kS = sideBit(Side::South);
constexpr SideSet kW = sideBit(Side::West);

// How the pictures meet their neighbours, as each is drawn.
constexpr SymbolJoins kNoJoins {};
constexpr SymbolJoins kOpenWater {.openWater = true};
constexpr SymbolJoins kSpring {.springGround = true};
constexpr SymbolJoins kPond {.river = kAllSides, .junction = true, .openWater = true};
constexpr SymbolJoins kGuardPost {.wall = kAllSides, .junction = true};
constexpr SymbolJoins river(SideSet sides)
{
    return {.river = sides};
}
constexpr SymbolJoins wall(SideSet sides)
{
    return {.wall = sides};
}
constexpr SymbolJoins gate(SideSet sides, GateMaterial material)
{
    return {.wall = sides, .gate = material};
}

// clang-format off
constexpr std::array<SymbolInfo, kHighestSymbolCode + 1> kSymbols {{
    {sym::Blank, "Empty Square", Set::None, Key::None, -1, -1, Family::Open, kNoJoins, Walk::Yes, Sight::Open},
    // Town
    {sym::House, "House", Set::Town, Key::Town, 0, 0, Family::Building, kNoJoins, Walk::No, Sight::Blocks},
    {sym::Shack, "Shack", Set::Town, Key::Town, 1, 0, Family::Building, kNoJoins, Walk::No, Sight::Blocks},
    {sym::Shop, "Shop", Set::Town, Key::Town, 2, 0, Family::Building, kNoJoins, Walk::No, Sight::Blocks},
    {sym::GeneralStore, "General Store", Set::Town, Key::Town, 3, 0, Family::Building, kNoJoins, Walk::No, Sight::Blocks},
    {sym::InnTopLeft, "Inn: Top Left", Set::Town, Key::Town, 0, 1, Family::Building, kNoJoins, Walk::No, Sight::Blocks},
    {sym::InnTopRight, "Inn: Top Right", Set::Town, Key::Town, 1, 1, Family::Building, kNoJoins, Walk::No, Sight::Blocks},
    {sym::LongHouseWindows, "Long House: Windows", Set::Town, Key::Town, 2, 1, Family::Building, kNoJoins, Walk::No, Sight::Blocks},
    {sym::LongHouseDoor, "Long House: Door", Set::Town, Key::Town, 3, 1, Family::Building, kNoJoins, Walk::No, Sight::Blocks},
    {sym::InnBottomLeft, "Inn: Bottom Left", Set::Town, Key::Town, 0, 2, Family::Building, kNoJoins, Walk::No, Sight::Blocks},
    {sym::InnBottomRight, "Inn: Bottom Right", Set::Town, Key::Town, 1, 2, Family::Building, kNoJoins, Walk::No, Sight::Blocks},
    {sym::LongHouseTavern, "Long House: Tavern", Set::Town, Key::Town, 2, 2, Family::Building, kNoJoins, Walk::No, Sight::Blocks},
    {sym::Stables, "Stables", Set::Town, Key::Town, 3, 2, Family::Building, kNoJoins, Walk::No, Sight::Blocks},
    {sym::ChurchLeft, "Church: Left Side", Set::Town, Key::Town, 0, 3, Family::Building, kNoJoins, Walk::No, Sight::Blocks},
    {sym::ChurchRight, "Church: Right Side", Set::Town, Key::Town, 1, 3, Family::Building, kNoJoins, Walk::No, Sight::Blocks},
    {sym::Cemetery, "Cemetary", Set::Town, Key::Town, 2, 3, Family::Graveyard, kNoJoins, Walk::Yes, Sight::Open},
    {sym::Well, "Well", Set::Town, Key::Town, 3, 3, Family::Well, kNoJoins, Walk::No, Sight::Open},
    {sym::CastleTopLeft, "Castle: Top Left", Set::Town, Key::Castle, 0, 5, Family::Castle, kNoJoins, Walk::No, Sight::Blocks},
    {sym::CastleTopCenter, "Castle: Top Center", Set::Town, Key::Castle, 1, 5, Family::Castle, kNoJoins, Walk::No, Sight::Blocks},
    {sym::CastleTopRight, "Castle: Top Right", Set::Town, Key::Castle, 2, 5, Family::Castle, kNoJoins, Walk::No, Sight::Blocks},
    {sym::TowerTop, "Tower: Top", Set::Town, Key::Castle, 3, 5, Family::Castle, kNoJoins, Walk::No, Sight::Blocks},
    {sym::CastleBottomLeft, "Castle: Bottom Left", Set::Town, Key::Castle, 0, 6, Family::Castle, kNoJoins, Walk::No, Sight::Blocks},
    {sym::CastleBottomCenter, "Castle: Bottom Center", Set::Town, Key::Castle, 1, 6, Family::Castle, kNoJoins, Walk::No, Sight::Blocks},
    {sym::CastleBottomRight, "Castle: Bottom Right", Set::Town, Key::Castle, 2, 6, Family::Castle, kNoJoins, Walk::No, Sight::Blocks},
    {sym::TowerBottom, "Tower: Bottom", Set::Town, Key::Castle, 3, 6, Family::Castle, kNoJoins, Walk::No, Sight::Blocks},
    // Terrain 1
    {sym::Water, "Water", Set::Terrain1, Key::WaterRiver, 0, 0, Family::Lake, kOpenWater, Walk::No, Sight::Open},
    {sym::LakeTopLeft, "Lake: Top Left", Set::Terrain1, Key::WaterRiver, 1, 0, Family::Lake, kOpenWater, Walk::No, Sight::Open},
    {sym::LakeTopRight, "Lake: Top Right", Set::Terrain1, Key::WaterRiver, 2, 0, Family::Lake, kOpenWater, Walk::No, Sight::Open},
    {sym::RiverHorizontal, "River: Horizontal", Set::Terrain1, Key::WaterRiver, 3, 0, Family::River, river(kE | kW), Walk::No, Sight::Open},
    {sym::LakeBottomLeft, "Lake: Bottom Left", Set::Terrain1, Key::WaterRiver, 1, 1, Family::Lake, kOpenWater, Walk::No, Sight::Open},
    {sym::PondRiverJoint, "Small Pond/River Joint", Set::Terrain1, Key::WaterRiver, 0, 1, Family::River, kPond, Walk::No, Sight::Open},
    {sym::LakeBottomRight, "Lake: Bottom Right", Set::Terrain1, Key::WaterRiver, 2, 1, Family::Lake, kOpenWater, Walk::No, Sight::Open},
    {sym::RiverVertical, "River: Vertical", Set::Terrain1, Key::WaterRiver, 3, 1, Family::River, river(kN | kS), Walk::No, Sight::Open},
    {sym::RiverNE, "River: N-E turn", Set::Terrain1, Key::WaterRiver, 0, 2, Family::River, river(kN | kE), Walk::No, Sight::Open},
    {sym::RiverNW, "River: N-W turn", Set::Terrain1, Key::WaterRiver, 1, 2, Family::River, river(kN | kW), Walk::No, Sight::Open},
    {sym::RiverSE, "River: S-E turn", Set::Terrain1, Key::WaterRiver, 2, 2, Family::River, river(kS | kE), Walk::No, Sight::Open},
    {sym::RiverSW, "River: S-W turn", Set::Terrain1, Key::WaterRiver, 3, 2, Family::River, river(kS | kW), Walk::No, Sight::Open},
    {sym::TreesEvergreen, "Trees: Evergreen", Set::Terrain1, Key::Forest, 0, 4, Family::Trees, kSpring, Walk::Yes, Sight::Blocks},
    {sym::TreesDeciduous, "Trees: Deciduous", Set::Terrain1, Key::Forest, 1, 4, Family::Trees, kSpring, Walk::Yes, Sight::Blocks},
    {sym::TreesOldEvergreen, "Trees: Old Evergreen", Set::Terrain1, Key::Forest, 2, 4, Family::Trees, kSpring, Walk::Yes, Sight::Blocks},
    {sym::TreesDead, "Trees: Dead", Set::Terrain1, Key::Forest, 3, 4, Family::DeadTrees, kSpring, Walk::Yes, Sight::Open},
    {sym::Mountain, "Mountain", Set::Terrain1, Key::Mountain, 0, 6, Family::Highland, kSpring, Walk::No, Sight::Blocks},
    {sym::MountainCave, "Mountain: Cave", Set::Terrain1, Key::Mountain, 1, 6, Family::Highland, kSpring, Walk::No, Sight::Blocks},
    {sym::Volcano, "Volcano", Set::Terrain1, Key::Mountain, 2, 6, Family::Highland, kSpring, Walk::No, Sight::Blocks},
    {sym::Hills, "Hills", Set::Terrain1, Key::Mountain, 3, 6, Family::Hills, kSpring, Walk::Yes, Sight::Open},
    // Terrain 2
    {sym::Sand, "Sand", Set::Terrain2, Key::Desert, 0, 0, Family::Sand, kNoJoins, Walk::Yes, Sight::Open},
    {sym::SandScrub, "Sand with scrub", Set::Terrain2, Key::Desert, 1, 0, Family::Sand, kNoJoins, Walk::Yes, Sight::Open},
    {sym::SandPalm, "Sand with palm tree", Set::Terrain2, Key::Desert, 2, 0, Family::Sand, kNoJoins, Walk::Yes, Sight::Open},
    {sym::Wagon, "wagon", Set::Terrain2, Key::Desert, 3, 0, Family::Wagon, kNoJoins, Walk::No, Sight::Open},
    {sym::Swamp, "Swamp", Set::Terrain2, Key::SwampPlains, 0, 2, Family::Patch, kNoJoins, Walk::Yes, Sight::Open},
    {sym::CemeteryDestroyed, "Cemetary: Destroyed", Set::Terrain2, Key::SwampPlains, 1, 2, Family::Graveyard, kNoJoins, Walk::Yes, Sight::Open},
    {sym::Grass, "Plains: Grass", Set::Terrain2, Key::SwampPlains, 2, 2, Family::Patch, kNoJoins, Walk::Yes, Sight::Open},
    {sym::DryGrass, "Plains: Dry Grass", Set::Terrain2, Key::SwampPlains, 3, 2, Family::Patch, kNoJoins, Walk::Yes, Sight::Open},
    {sym::WallSE, "Wall: S-E corner", Set::Terrain2, Key::Walls, 0, 4, Family::Wall, wall(kS | kE), Walk::No, Sight::Blocks},
    {sym::WallHorizontal, "Wall: Horizontal", Set::Terrain2, Key::Walls, 1, 4, Family::Wall, wall(kE | kW), Walk::No, Sight::Blocks},
    {sym::WallSW, "Wall: S-W corner", Set::Terrain2, Key::Walls, 2, 4, Family::Wall, wall(kS | kW), Walk::No, Sight::Blocks},
    {sym::WallVertical, "Wall: Vertical", Set::Terrain2, Key::Walls, 3, 4, Family::Wall, wall(kN | kS), Walk::No, Sight::Blocks},
    {sym::WallNE, "Wall: N-E corner", Set::Terrain2, Key::Walls, 0, 5, Family::Wall, wall(kN | kE), Walk::No, Sight::Blocks},
    {sym::WoodenGateHorizontal, "Wooden Gate: Horizontal", Set::Terrain2, Key::Walls, 1, 5, Family::Gate, gate(kE | kW, GateMaterial::Wood), Walk::Yes, Sight::Blocks},
    {sym::WallNW, "Wall: N-W corner", Set::Terrain2, Key::Walls, 2, 5, Family::Wall, wall(kN | kW), Walk::No, Sight::Blocks},
    {sym::WoodenGateVertical, "Wooden Gate: Vertical", Set::Terrain2, Key::Walls, 3, 5, Family::Gate, gate(kN | kS, GateMaterial::Wood), Walk::Yes, Sight::Blocks},
    {sym::GuardPostSquare, "Guard Post: Square", Set::Terrain2, Key::Walls, 0, 6, Family::GuardPost, kGuardPost, Walk::No, Sight::Blocks},
    {sym::IronGateHorizontal, "Iron Gate: Horizontal", Set::Terrain2, Key::Walls, 1, 6, Family::Gate, gate(kE | kW, GateMaterial::Iron), Walk::Yes, Sight::Blocks},
    {sym::GuardPostRound, "Guard Post: Round", Set::Terrain2, Key::Walls, 2, 6, Family::GuardPost, kGuardPost, Walk::No, Sight::Blocks},
    {sym::IronGateVertical, "Iron Gate: Vertical", Set::Terrain2, Key::Walls, 3, 6, Family::Gate, gate(kN | kS, GateMaterial::Iron), Walk::Yes, Sight::Blocks},
}};
// clang-format on

constexpr std::array<KeyLabelInfo, 8> kKeyLabels {{
    {Key::Town, "lblTownKey", "Town", Set::Town, 0},
    {Key::Castle, "lblCastleKey", "Castle", Set::Town, 5},
    {Key::WaterRiver, "lblWaterKey", "Water/River", Set::Terrain1, 0},
    {Key::Forest, "lblForestKey", "Forest", Set::Terrain1, 4},
    {Key::Mountain, "lblMountainKey", "Mountain", Set::Terrain1, 6},
    {Key::Desert, "lblDesertKey", "Desert", Set::Terrain2, 0},
    {Key::SwampPlains, "lblSwampKey", "Swamp/Plains", Set::Terrain2, 2},
    {Key::Walls, "lblWallKey", "Walls", Set::Terrain2, 4},
}};

constexpr std::array<SymbolSetInfo, kSymbolSetCount> kSets {{
    {Set::Town, "Town", "fraTown", "Town", 1, 24},
    {Set::Terrain1, "Terrain1", "fraTerrain1", "Terrain 1", 25, 44},
    {Set::Terrain2, "Terrain2", "fraTerrain2", "Terrain 2", 45, 64},
}};

constexpr bool tableIsIndexedByCode()
{
    for (std::size_t i = 0; i < kSymbols.size(); ++i) {
        if (kSymbols[i].code != SymbolCode(i))
            return false;
    }
    return true;
}
static_assert(tableIsIndexedByCode());

constexpr auto kLivingTrees = [] {
    constexpr auto count = std::count_if(kSymbols.begin(), kSymbols.end(),
        [](const SymbolInfo &symbol) { return symbol.family == Family::Trees; });
    std::array<SymbolCode, std::size_t(count)> trees {};
    std::size_t next = 0;
    for (const SymbolInfo &symbol : kSymbols) {
        if (symbol.family == Family::Trees)
            trees[next++] = symbol.code;
    }
    return trees;
}();

// What a code outside the table is: nothing at all.
constexpr SymbolInfo kNoSymbol {
    -1, "", Set::None, Key::None, -1, -1, Family::Open, kNoJoins, Walk::No, Sight::Open};

const SymbolInfo &row(int code)
{
    return isSymbolCode(code) ? kSymbols[std::size_t(code)] : kNoSymbol;
}

} // namespace

std::span<const SymbolInfo> symbolTable()
{
    return kSymbols;
}

std::span<const KeyLabelInfo> keyLabels()
{
    return kKeyLabels;
}

std::span<const SymbolSetInfo> symbolSets()
{
    return kSets;
}

std::optional<SymbolInfo> symbolInfo(int code)
{
    if (!isSymbolCode(code))
        return std::nullopt;
    return kSymbols[std::size_t(code)];
}

QString symbolName(int code)
{
    const auto info = symbolInfo(code);
    return info ? QString::fromLatin1(info->name) : QString();
}

std::optional<SymbolCode> symbolAt(SymbolSet set, int column, int row)
{
    for (const SymbolInfo &symbol : kSymbols) {
        if (symbol.set == set && symbol.column == column && symbol.row == row)
            return symbol.code;
    }
    return std::nullopt;
}

const SymbolJoins &symbolJoins(int code)
{
    return row(code).joins;
}

Family symbolFamily(int code)
{
    return row(code).family;
}

bool isWalkable(int code)
{
    return row(code).walk == Walk::Yes;
}

bool blocksSight(int code)
{
    return row(code).sight == Sight::Blocks;
}

bool isBuilding(int code)
{
    const Family family = symbolFamily(code);
    return family == Family::Building || family == Family::Castle || family == Family::Well;
}

bool isLake(int code)
{
    return symbolFamily(code) == Family::Lake;
}

bool isTrees(int code)
{
    return symbolFamily(code) == Family::Trees || symbolFamily(code) == Family::DeadTrees;
}

bool isHighland(int code)
{
    return symbolFamily(code) == Family::Highland;
}

bool isPatch(int code)
{
    return symbolFamily(code) == Family::Patch;
}

bool isWater(int code)
{
    return symbolFamily(code) == Family::Lake || symbolFamily(code) == Family::River;
}

std::span<const SymbolCode> livingTrees()
{
    return kLivingTrees;
}

} // namespace vellumor
