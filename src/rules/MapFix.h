#pragma once

#include "document/Standard.h"
#include "rules/MapLint.h"

namespace vellumor::rules {

struct FixResult
{
    MapCodes codes {};
    QList<Finding> unmended; // what is left, as lint reports it
};

// Mends the problems that have one right answer and leaves the rest: a river
// or wall piece becomes the one piece whose sides its neighbours ask for (a
// gate keeps its material and only turns), a one-cell hole between two ends
// of a river or a wall that point at it is filled, and a picture missing
// pieces is completed where the cells it needs are blank. No other cell
// changes, the map never has more errors than before, and mending the result
// changes nothing.
FixResult fixMap(const MapCodes &codes);

// Why fix left a finding of the mended map as it is, for the line that
// reports it: "more than one piece would do".
QString unmendedReason(const MapCodes &mended, const Finding &finding);

} // namespace vellumor::rules
