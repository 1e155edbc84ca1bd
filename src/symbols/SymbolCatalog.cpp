#include "symbols/SymbolCatalog.h"

#include <array>

namespace vellumor {

namespace {

using S = SymbolSet;
using K = KeyGroup;

constexpr std::array<SymbolInfo, kHighestSymbolCode + 1> kSymbols {{
    {0, "Empty Square", S::None, K::None, -1, -1},
    // Town
    {1, "House", S::Town, K::Town, 0, 0},
    {2, "Shack", S::Town, K::Town, 1, 0},
    {3, "Shop", S::Town, K::Town, 2, 0},
    {4, "General Store", S::Town, K::Town, 3, 0},
    {5, "Inn: Top Left", S::Town, K::Town, 0, 1},
    {6, "Inn: Top Right", S::Town, K::Town, 1, 1},
    {7, "Long House: Windows", S::Town, K::Town, 2, 1},
    {8, "Long House: Door", S::Town, K::Town, 3, 1},
    {9, "Inn: Bottom Left", S::Town, K::Town, 0, 2},
    {10, "Inn: Bottom Right", S::Town, K::Town, 1, 2},
    {11, "Long House: Tavern", S::Town, K::Town, 2, 2},
    {12, "Stables", S::Town, K::Town, 3, 2},
    {13, "Church: Left Side", S::Town, K::Town, 0, 3},
    {14, "Church: Right Side", S::Town, K::Town, 1, 3},
    {15, "Cemetary", S::Town, K::Town, 2, 3},
    {16, "Well", S::Town, K::Town, 3, 3},
    {17, "Castle: Top Left", S::Town, K::Castle, 0, 5},
    {18, "Castle: Top Center", S::Town, K::Castle, 1, 5},
    {19, "Castle: Top Right", S::Town, K::Castle, 2, 5},
    {20, "Tower: Top", S::Town, K::Castle, 3, 5},
    {21, "Castle: Bottom Left", S::Town, K::Castle, 0, 6},
    {22, "Castle: Bottom Center", S::Town, K::Castle, 1, 6},
    {23, "Castle: Bottom Right", S::Town, K::Castle, 2, 6},
    {24, "Tower: Bottom", S::Town, K::Castle, 3, 6},
    // Terrain 1
    {25, "Water", S::Terrain1, K::WaterRiver, 0, 0},
    {26, "Lake: Top Left", S::Terrain1, K::WaterRiver, 1, 0},
    {27, "Lake: Top Right", S::Terrain1, K::WaterRiver, 2, 0},
    {28, "River: Horizontal", S::Terrain1, K::WaterRiver, 3, 0},
    {29, "Lake: Bottom Left", S::Terrain1, K::WaterRiver, 1, 1},
    {30, "Small Pond/River Joint", S::Terrain1, K::WaterRiver, 0, 1},
    {31, "Lake: Bottom Right", S::Terrain1, K::WaterRiver, 2, 1},
    {32, "River: Vertical", S::Terrain1, K::WaterRiver, 3, 1},
    {33, "River: N-E turn", S::Terrain1, K::WaterRiver, 0, 2},
    {34, "River: N-W turn", S::Terrain1, K::WaterRiver, 1, 2},
    {35, "River: S-E turn", S::Terrain1, K::WaterRiver, 2, 2},
    {36, "River: S-W turn", S::Terrain1, K::WaterRiver, 3, 2},
    {37, "Trees: Evergreen", S::Terrain1, K::Forest, 0, 4},
    {38, "Trees: Deciduous", S::Terrain1, K::Forest, 1, 4},
    {39, "Trees: Old Evergreen", S::Terrain1, K::Forest, 2, 4},
    {40, "Trees: Dead", S::Terrain1, K::Forest, 3, 4},
    {41, "Mountain", S::Terrain1, K::Mountain, 0, 6},
    {42, "Mountain: Cave", S::Terrain1, K::Mountain, 1, 6},
    {43, "Volcano", S::Terrain1, K::Mountain, 2, 6},
    {44, "Hills", S::Terrain1, K::Mountain, 3, 6},
    // Terrain 2
    {45, "Sand", S::Terrain2, K::Desert, 0, 0},
    {46, "Sand with scrub", S::Terrain2, K::Desert, 1, 0},
    {47, "Sand with palm tree", S::Terrain2, K::Desert, 2, 0},
    {48, "wagon", S::Terrain2, K::Desert, 3, 0},
    {49, "Swamp", S::Terrain2, K::SwampPlains, 0, 2},
    {50, "Cemetary: Destroyed", S::Terrain2, K::SwampPlains, 1, 2},
    {51, "Plains: Grass", S::Terrain2, K::SwampPlains, 2, 2},
    {52, "Plains: Dry Grass", S::Terrain2, K::SwampPlains, 3, 2},
    {53, "Wall: S-E corner", S::Terrain2, K::Walls, 0, 4},
    {54, "Wall: Horizontal", S::Terrain2, K::Walls, 1, 4},
    {55, "Wall: S-W corner", S::Terrain2, K::Walls, 2, 4},
    {56, "Wall: Vertical", S::Terrain2, K::Walls, 3, 4},
    {57, "Wall: N-E corner", S::Terrain2, K::Walls, 0, 5},
    {58, "Wooden Gate: Horizontal", S::Terrain2, K::Walls, 1, 5},
    {59, "Wall: N-W corner", S::Terrain2, K::Walls, 2, 5},
    {60, "Wooden Gate: Vertical", S::Terrain2, K::Walls, 3, 5},
    {61, "Guard Post: Square", S::Terrain2, K::Walls, 0, 6},
    {62, "Iron Gate: Horizontal", S::Terrain2, K::Walls, 1, 6},
    {63, "Guard Post: Round", S::Terrain2, K::Walls, 2, 6},
    {64, "Iron Gate: Vertical", S::Terrain2, K::Walls, 3, 6},
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
