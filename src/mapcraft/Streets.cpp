#include "mapcraft/Builders.h"

#include <algorithm>

namespace vellumor::mapcraft {

namespace {

struct Band
{
    int top;
    int height; // 1 or 2
};

constexpr int kMaxBands = kMapRows;

// Free with a free cell to each side (or the street beyond the area).
bool fits(const Sketch &sketch, const CellRect &area, int column, int row, const Building &building)
{
    if (column < area.left || column + building.width - 1 > area.right
        || row + building.height - 1 > area.bottom)
        return false;
    for (int r = row; r < row + building.height; ++r) {
        for (int c = column - 1; c <= column + building.width; ++c) {
            if (c < area.left || c > area.right)
                continue;
            if (!sketch.isFree(c, r))
                return false;
        }
    }
    return true;
}

void draw(Sketch &sketch, int column, int row, const Building &building)
{
    for (int r = 0; r < building.height; ++r) {
        for (int c = 0; c < building.width; ++c) {
            const SymbolCode code = building.cells[std::size_t(r)][std::size_t(c)];
            if (code != kBlankSymbol)
                sketch.put(column + c, row + r, code);
        }
    }
}

// Somewhere the building fits, by chance; false when it fits nowhere.
bool placeAnywhere(Sketch &sketch, SeededRandom &random, const CellRect &area,
    std::span<const Band> bands, const Building &building)
{
    std::array<std::array<int, 2>, kCellCount> places {};
    int count = 0;
    for (const Band &band : bands) {
        if (band.height < building.height)
            continue;
        for (int column = area.left; column <= area.right; ++column) {
            if (fits(sketch, area, column, band.top, building))
                places[std::size_t(count++)] = {column, band.top};
        }
    }
    if (count == 0)
        return false;
    const auto place = places[random.below(std::uint32_t(count))];
    draw(sketch, place[0], place[1], building);
    return true;
}

} // namespace

Building single(SymbolCode code)
{
    Building building;
    building.cells[0][0] = code;
    return building;
}

Building row(std::span<const SymbolCode> codes)
{
    Building building;
    building.width = int(std::min<std::size_t>(codes.size(), 5));
    for (int i = 0; i < building.width; ++i)
        building.cells[0][std::size_t(i)] = codes[std::size_t(i)];
    return building;
}

Building block(std::array<SymbolCode, 2> top, std::array<SymbolCode, 2> bottom)
{
    Building building;
    building.width = 2;
    building.height = 2;
    building.cells[0] = {top[0], top[1]};
    building.cells[1] = {bottom[0], bottom[1]};
    return building;
}

Building longHouse(SeededRandom &random, int length)
{
    length = std::clamp(length, 2, 5);
    Building building;
    building.width = length;
    for (int i = 0; i < length; ++i) {
        const bool end = i == 0 || i == length - 1;
        building.cells[0][std::size_t(i)] = end && length > 2 ? 7 : random.oneIn(3) ? 11 : 8;
    }
    if (length == 2)
        building.cells[0][0] = 7;
    return building;
}

bool fillStreets(Sketch &sketch, SeededRandom &random, const CellRect &area,
    std::span<const Building> required, BuildingSource fill, int fillPercent)
{
    // How many rows of two the required buildings need, and one more now
    // and then for a bigger block.
    int doubles = 0;
    for (const Building &building : required)
        doubles += building.height == 2 ? 1 : 0;
    doubles = std::min(doubles, 2) + (random.oneIn(3) ? 1 : 0);
    while (doubles > 0 && 3 * doubles - 1 > area.height())
        --doubles;
    const int singles = std::max(0, (area.height() + 1 - 3 * doubles) / 2);
    std::array<Band, kMaxBands> bands {};
    const int bandCount = std::min(doubles + singles, kMaxBands);
    std::array<int, kMaxBands> heights {};
    for (int i = 0; i < bandCount; ++i)
        heights[std::size_t(i)] = i < doubles ? 2 : 1;
    random.shuffle(std::span<int>(heights.data(), std::size_t(bandCount)));
    for (int i = 0, top = area.top; i < bandCount; ++i) {
        bands[std::size_t(i)] = {top, heights[std::size_t(i)]};
        top += heights[std::size_t(i)] + 1;
    }

    // The buildings of two rows first: only the rows of two take them.
    for (const int height : {2, 1}) {
        for (const Building &building : required) {
            if (building.height == height
                && !placeAnywhere(sketch, random, area,
                    std::span(bands.data(), std::size_t(bandCount)), building))
                return false;
        }
    }

    for (int i = 0; i < bandCount; ++i) {
        const Band band = bands[std::size_t(i)];
        for (int column = area.left; column <= area.right;) {
            if (!random.percent(std::uint32_t(fillPercent))) {
                ++column;
                continue;
            }
            const Building building = fill(random);
            if (building.height <= band.height && fits(sketch, area, column, band.top, building)) {
                draw(sketch, column, band.top, building);
                column += building.width + 1;
            } else {
                ++column;
            }
        }
    }
    sketch.claim(area);
    return true;
}

} // namespace vellumor::mapcraft
