#pragma once

#include "document/Standard.h"
#include "mapcraft/MapLint.h"

namespace vellumor::mapcraft {

struct FixResult
{
    MapCodes codes {};
    QList<Finding> unmended; // what is left, as lint reports it
};

// Mends the problems that have one right answer and leaves the rest.
FixResult fixMap(const MapCodes &codes);

} // namespace vellumor::mapcraft
