#pragma once

#include "document/Standard.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace vellumor::mapcraft {

enum class MapKind { Town, Fort, Castle, Valley };

// The map of this kind made from this seed, the same on every build; nothing
// when no map came together within the bounded number of tries.
std::optional<MapCodes> generateMap(MapKind kind, std::uint64_t seed);

} // namespace vellumor::mapcraft
