#pragma once

#include "document/CellSet.h"
#include "document/Standard.h"

#include <bitset>
#include <optional>

namespace vellumor::rules {

// What can be seen on one map from any of its cells. Sight is cast from the
// centre of the origin's cell (symmetric shadowcasting): a cell that does not
// block sight is seen when its centre is lit, one that blocks when any of it
// is; two blocking cells meeting at a corner close it. A range, in cells, cuts
// sight at that distance between centres; none is daylight.
class MapSight
{
public:
    explicit MapSight(const MapCodes &codes);

    CellSet seenFrom(CellPlace origin, std::optional<int> range = std::nullopt) const;
    bool blocks(CellPlace place) const { return m_blocks.contains(place); }

private:
    CellSet m_blocks;
};

} // namespace vellumor::rules
