#include "generate/KeptDrawing.h"

#include <algorithm>

namespace vellumor::generate {

std::optional<CellRect> keptBounds(const Sketch &sketch, Family family)
{
    CellRect bounds {kMapColumns, kMapRows, -1, -1};
    kWholeMap.forEach([&](CellPlace place) {
        if (!sketch.isKept(place) || symbolFamily(sketch.at(place)) != family)
            return;
        bounds = {std::min(bounds.left, place.column), std::min(bounds.top, place.row),
            std::max(bounds.right, place.column), std::max(bounds.bottom, place.row)};
    });
    return bounds.right < 0 ? std::nullopt : std::optional<CellRect>(bounds);
}

std::optional<KeptRiver> keptRiverAcross(const Sketch &sketch)
{
    const auto river = keptBounds(sketch, Family::River);
    if (!river)
        return std::nullopt;
    if (river->left == 0 && river->right == kMapColumns - 1)
        return KeptRiver {*river, true};
    if (river->top == 0 && river->bottom == kMapRows - 1)
        return KeptRiver {*river, false};
    return std::nullopt;
}

Bank largerBank(const KeptRiver &river, int margin)
{
    const CellRect &band = river.band;
    if (river.alongRows) {
        const bool north = band.top >= kMapRows - 1 - band.bottom;
        return north
            ? Bank {{0, 0, kMapColumns - 1, band.top - 1 - margin}, Side::South}
            : Bank {{0, band.bottom + 1 + margin, kMapColumns - 1, kMapRows - 1}, Side::North};
    }
    const bool west = band.left >= kMapColumns - 1 - band.right;
    return west ? Bank {{0, 0, band.left - 1 - margin, kMapRows - 1}, Side::East}
                : Bank {{band.right + 1 + margin, 0, kMapColumns - 1, kMapRows - 1}, Side::West};
}

} // namespace vellumor::generate
