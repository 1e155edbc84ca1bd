#include "mapcraft/MapGenerator.h"

namespace vellumor::mapcraft {

std::optional<MapCodes> generateMap(MapKind, std::uint64_t)
{
    return std::nullopt;
}

} // namespace vellumor::mapcraft
