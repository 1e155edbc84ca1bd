#include "symbols/SymbolCatalog.h"

#include "symbols/SymbolNames.h"

#include <array>

namespace vellumor {

namespace {

using S = SymbolSet;
using K = KeyGroup;

constexpr std::array<SymbolInfo, kHighestSymbolCode + 1> kSymbols {{
    {sym::Blank, "Empty Square", S::None, K::None, -1, -1},
    // Town
    {sym::House, "House", S::Town, K::Town, 0, 0},
    {sym::Shack, "Shack", S::Town, K::Town, 1, 0},
    {sym::Shop, "Shop", S::Town, K::Town, 2, 0},
    {sym::GeneralStore, "General Store", S::Town, K::Town, 3, 0},
    {sym::InnTopLeft, "Inn: Top Left", S::Town, K::Town, 0, 1},
    {sym::InnTopRight, "Inn: Top Right", S::Town, K::Town, 1, 1},
    {sym::LongHouseWindows, "Long House: Windows", S::Town, K::Town, 2, 1},
    {sym::LongHouseDoor, "Long House: Door", S::Town, K::Town, 3, 1},
    {sym::InnBottomLeft, "Inn: Bottom Left", S::Town, K::Town, 0, 2},
    {sym::InnBottomRight, "Inn: Bottom Right", S::Town, K::Town, 1, 2},
    {sym::LongHouseTavern, "Long House: Tavern", S::Town, K::Town, 2, 2},
    {sym::Stables, "Stables", S::Town, K::Town, 3, 2},
    {sym::ChurchLeft, "Church: Left Side", S::Town, K::Town, 0, 3},
    {sym::ChurchRight, "Church: Right Side", S::Town, K::Town, 1, 3},
    {sym::Cemetery, "Cemetary", S::Town, K::Town, 2, 3},
    {sym::Well, "Well", S::Town, K::Town, 3, 3},
    {sym::CastleTopLeft, "Castle: Top Left", S::Town, K::Castle, 0, 5},
    {sym::CastleTopCenter, "Castle: Top Center", S::Town, K::Castle, 1, 5},
    {sym::CastleTopRight, "Castle: Top Right", S::Town, K::Castle, 2, 5},
    {sym::TowerTop, "Tower: Top", S::Town, K::Castle, 3, 5},
    {sym::CastleBottomLeft, "Castle: Bottom Left", S::Town, K::Castle, 0, 6},
    {sym::CastleBottomCenter, "Castle: Bottom Center", S::Town, K::Castle, 1, 6},
    {sym::CastleBottomRight, "Castle: Bottom Right", S::Town, K::Castle, 2, 6},
    {sym::TowerBottom, "Tower: Bottom", S::Town, K::Castle, 3, 6},
    // Terrain 1
    {sym::Water, "Water", S::Terrain1, K::WaterRiver, 0, 0},
    {sym::LakeTopLeft, "Lake: Top Left", S::Terrain1, K::WaterRiver, 1, 0},
    {sym::LakeTopRight, "Lake: Top Right", S::Terrain1, K::WaterRiver, 2, 0},
    {sym::RiverHorizontal, "River: Horizontal", S::Terrain1, K::WaterRiver, 3, 0},
    {sym::LakeBottomLeft, "Lake: Bottom Left", S::Terrain1, K::WaterRiver, 1, 1},
    {sym::PondRiverJoint, "Small Pond/River Joint", S::Terrain1, K::WaterRiver, 0, 1},
    {sym::LakeBottomRight, "Lake: Bottom Right", S::Terrain1, K::WaterRiver, 2, 1},
    {sym::RiverVertical, "River: Vertical", S::Terrain1, K::WaterRiver, 3, 1},
    {sym::RiverNE, "River: N-E turn", S::Terrain1, K::WaterRiver, 0, 2},
    {sym::RiverNW, "River: N-W turn", S::Terrain1, K::WaterRiver, 1, 2},
    {sym::RiverSE, "River: S-E turn", S::Terrain1, K::WaterRiver, 2, 2},
    {sym::RiverSW, "River: S-W turn", S::Terrain1, K::WaterRiver, 3, 2},
    {sym::TreesEvergreen, "Trees: Evergreen", S::Terrain1, K::Forest, 0, 4},
    {sym::TreesDeciduous, "Trees: Deciduous", S::Terrain1, K::Forest, 1, 4},
    {sym::TreesOldEvergreen, "Trees: Old Evergreen", S::Terrain1, K::Forest, 2, 4},
    {sym::TreesDead, "Trees: Dead", S::Terrain1, K::Forest, 3, 4},
    {sym::Mountain, "Mountain", S::Terrain1, K::Mountain, 0, 6},
    {sym::MountainCave, "Mountain: Cave", S::Terrain1, K::Mountain, 1, 6},
    {sym::Volcano, "Volcano", S::Terrain1, K::Mountain, 2, 6},
    {sym::Hills, "Hills", S::Terrain1, K::Mountain, 3, 6},
    // Terrain 2
    {sym::Sand, "Sand", S::Terrain2, K::Desert, 0, 0},
    {sym::SandScrub, "Sand with scrub", S::Terrain2, K::Desert, 1, 0},
    {sym::SandPalm, "Sand with palm tree", S::Terrain2, K::Desert, 2, 0},
    {sym::Wagon, "wagon", S::Terrain2, K::Desert, 3, 0},
    {sym::Swamp, "Swamp", S::Terrain2, K::SwampPlains, 0, 2},
    {sym::CemeteryDestroyed, "Cemetary: Destroyed", S::Terrain2, K::SwampPlains, 1, 2},
    {sym::Grass, "Plains: Grass", S::Terrain2, K::SwampPlains, 2, 2},
    {sym::DryGrass, "Plains: Dry Grass", S::Terrain2, K::SwampPlains, 3, 2},
    {sym::WallSE, "Wall: S-E corner", S::Terrain2, K::Walls, 0, 4},
    {sym::WallHorizontal, "Wall: Horizontal", S::Terrain2, K::Walls, 1, 4},
    {sym::WallSW, "Wall: S-W corner", S::Terrain2, K::Walls, 2, 4},
    {sym::WallVertical, "Wall: Vertical", S::Terrain2, K::Walls, 3, 4},
    {sym::WallNE, "Wall: N-E corner", S::Terrain2, K::Walls, 0, 5},
    {sym::WoodenGateHorizontal, "Wooden Gate: Horizontal", S::Terrain2, K::Walls, 1, 5},
    {sym::WallNW, "Wall: N-W corner", S::Terrain2, K::Walls, 2, 5},
    {sym::WoodenGateVertical, "Wooden Gate: Vertical", S::Terrain2, K::Walls, 3, 5},
    {sym::GuardPostSquare, "Guard Post: Square", S::Terrain2, K::Walls, 0, 6},
    {sym::IronGateHorizontal, "Iron Gate: Horizontal", S::Terrain2, K::Walls, 1, 6},
    {sym::GuardPostRound, "Guard Post: Round", S::Terrain2, K::Walls, 2, 6},
    {sym::IronGateVertical, "Iron Gate: Vertical", S::Terrain2, K::Walls, 3, 6},
}};

constexpr std::array<KeyLabelInfo, 8> kKeyLabels {{
    {K::Town, "lblTownKey", "Town", S::Town, 0},
    {K::Castle, "lblCastleKey", "Castle", S::Town, 5},
    {K::WaterRiver, "lblWaterKey", "Water/River", S::Terrain1, 0},
    {K::Forest, "lblForestKey", "Forest", S::Terrain1, 4},
    {K::Mountain, "lblMountainKey", "Mountain", S::Terrain1, 6},
    {K::Desert, "lblDesertKey", "Desert", S::Terrain2, 0},
    {K::SwampPlains, "lblSwampKey", "Swamp/Plains", S::Terrain2, 2},
    {K::Walls, "lblWallKey", "Walls", S::Terrain2, 4},
}};

constexpr std::array<SymbolSetInfo, kSymbolSetCount> kSets {{
    {S::Town, "Town", "fraTown", "Town", 1, 24},
    {S::Terrain1, "Terrain1", "fraTerrain1", "Terrain 1", 25, 44},
    {S::Terrain2, "Terrain2", "fraTerrain2", "Terrain 2", 45, 64},
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

} // namespace vellumor
