#pragma once

#include <QString>

#include <array>
#include <optional>

namespace vellumor::rules {

// The kinds of map the generator makes, which some rules hold maps to as well.
enum class MapKind { Town, Fort, Castle, Valley };

inline constexpr std::array<MapKind, 4> kMapKinds {
    MapKind::Town, MapKind::Fort, MapKind::Castle, MapKind::Valley};

// "town", "fort", "castle", "valley".
QString mapKindName(MapKind kind);
std::optional<MapKind> mapKindNamed(const QString &name);

} // namespace vellumor::rules
