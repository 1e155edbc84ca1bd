#pragma once

#include "document/Standard.h"

#include <QString>

#include <optional>
#include <span>

namespace vellumor {

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

struct SymbolInfo
{
    SymbolCode code;
    const char *name; // the button's tooltip, exactly as users know it
    SymbolSet set;
    KeyGroup keyGroup;
    int column; // 0 to 3 in the set's frame; -1 for the Blank symbol
    int row; // 0 to 6 in the set's frame; -1 for the Blank symbol
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

} // namespace vellumor
