#pragma once

#include "document/Standard.h"

#include "rules/Finding.h"
#include "rules/MapKind.h"

#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace vellumor::generate {

using rules::Finding;
using rules::MapKind;
using rules::mapKindName;

// Raised whenever a change to the generator changes the map some seed makes;
// with the kind and the seed it names a map for good.
inline constexpr int kGeneratorVersion = 3;

// Attempts at one map before giving up; each starts afresh from the seed.
inline constexpr int kMaxAttempts = 64;

enum class RiverChoice { ByChance, Always, Never };

// What the user chose before the map was made.
struct MapChoices
{
    int gates = 0; // gates in the wall, 1 to 4; 0: by chance
    RiverChoice river = RiverChoice::ByChance;
};

// The map of this kind made from this seed, the same on every build; nothing
// when no map came together within the bounded number of tries. Every map it
// gives lints clean and holds the properties of MapProperties.h.
std::optional<MapCodes> generateMap(MapKind kind, std::uint64_t seed, int attempts = kMaxAttempts);

struct Generated
{
    std::optional<MapCodes> codes;
    // When no map came together: the kept cells most in the way, as errors.
    QList<Finding> inTheWay;
    // Why the drawing rules this map out before any attempt, in one line: a
    // kept wall ring without a gate, gates asked of a ring drawn with others,
    // a river across a desert fort.
    QString refused;
};

// Why no map of this kind can be made around the drawing with these
// choices, whatever the seed; empty when one may.
QString refusal(MapKind kind, const MapChoices &choices, const MapCodes &kept);

// The same, around the cells the user drew in `kept` (blank cells are left to
// the generator): every drawn cell stands in the map exactly as drawn.
Generated generateAround(MapKind kind, std::uint64_t seed, const MapChoices &choices,
    const MapCodes &kept, int attempts = kMaxAttempts);

} // namespace vellumor::generate
