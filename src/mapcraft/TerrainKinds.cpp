#include "mapcraft/TerrainKinds.h"

#include "mapcraft/MapCells.h"

namespace vellumor::mapcraft {

namespace {

template<typename Counts> int countPlaces(Counts counts)
{
    int count = 0;
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column)
            count += counts(CellPlace {column, row}) ? 1 : 0;
    }
    return count;
}

SymbolCode at(const MapCodes &codes, CellPlace place)
{
    return SymbolCode(codeAt(codes, place.column, place.row));
}

} // namespace

int loneTerrainCells(const MapCodes &codes)
{
    return countPlaces([&](CellPlace place) {
        const SymbolCode code = at(codes, place);
        if (!isPatch(code))
            return false;
        for (const Side side : kSides) {
            if (codeAt(codes, place.column + columnStep(side), place.row + rowStep(side)) == code)
                return false;
        }
        return true;
    });
}

int terrainHoles(const MapCodes &codes)
{
    return countPlaces([&](CellPlace place) {
        if (at(codes, place) != sym::Blank)
            return false;
        SymbolCode family = sym::Blank;
        for (const Side side : kSides) {
            const CellPlace next = across(place, side);
            if (!onMap(next))
                continue;
            const SymbolCode code = terrainFamily(at(codes, next));
            if (code == sym::Blank || (family != sym::Blank && code != family))
                return false;
            family = code;
        }
        return family != sym::Blank;
    });
}

} // namespace vellumor::mapcraft
