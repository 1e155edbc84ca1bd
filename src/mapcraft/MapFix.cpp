#include "mapcraft/MapFix.h"

namespace vellumor::mapcraft {

FixResult fixMap(const MapCodes &codes)
{
    return {codes, lintMap(codes)};
}

} // namespace vellumor::mapcraft
