#include "mapcraft/MapLint.h"

namespace vellumor::mapcraft {

QList<Finding> lintMap(const MapCodes &)
{
    return {};
}

} // namespace vellumor::mapcraft
