#pragma once

#include "document/Standard.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace vellumor::mapcraft {

enum class MapKind { Town, Fort, Castle, Valley };

inline constexpr std::array<MapKind, 4> kMapKinds {
    MapKind::Town, MapKind::Fort, MapKind::Castle, MapKind::Valley};

// Raised whenever a change to the generator changes the map some seed makes;
// with the kind and the seed it names a map for good.
inline constexpr int kGeneratorVersion = 1;

// Attempts at one map before giving up; each starts afresh from the seed.
inline constexpr int kMaxAttempts = 64;

// "town", "fort", "castle", "valley".
QString mapKindName(MapKind kind);
std::optional<MapKind> mapKindNamed(const QString &name);

// The map of this kind made from this seed, the same on every build; nothing
// when no map came together within the bounded number of tries. Every map it
// gives lints clean and holds the properties of MapProperties.h.
std::optional<MapCodes> generateMap(MapKind kind, std::uint64_t seed, int attempts = kMaxAttempts);

} // namespace vellumor::mapcraft
