#include "generate/Builders.h"

#include "symbols/SymbolNames.h"

#include <algorithm>
#include <string_view>

namespace vellumor::generate {

namespace {

struct Band
{
    int top;
    int height; // 1 or 2
};

constexpr int kMaxBands = kMapRows;

// Free cells of the area, with open ground to each side (or the street
// beyond the area).
bool fits(const Sketch &sketch, const StreetArea &area, CellPlace at, const Building &building)
{
    for (int r = at.row; r < at.row + building.height; ++r) {
        for (int c = at.column - 1; c <= at.column + building.width; ++c) {
            const bool end = c < at.column || c == at.column + building.width;
            if (end ? area.cells.contains({c, r}) && !sketch.isOpen({c, r})
                    : !area.cells.contains({c, r}) || !sketch.isFree({c, r}))
                return false;
        }
    }
    return true;
}

void draw(Sketch &sketch, CellPlace at, const Building &building)
{
    for (int r = 0; r < building.height; ++r) {
        for (int c = 0; c < building.width; ++c) {
            const SymbolCode code = building.cells[std::size_t(r)][std::size_t(c)];
            if (code != kBlankSymbol)
                sketch.put({at.column + c, at.row + r}, code);
        }
    }
}

// Somewhere the building fits, by chance; false when it fits nowhere.
bool placeAnywhere(Sketch &sketch, SeededRandom &random, const StreetArea &area,
    std::span<const Band> bands, const Building &building)
{
    std::array<CellPlace, kCellCount> places {};
    int count = 0;
    for (const Band &band : bands) {
        if (band.height < building.height)
            continue;
        for (int column = area.bounds.left; column <= area.bounds.right; ++column) {
            if (fits(sketch, area, {column, band.top}, building))
                places[std::size_t(count++)] = {column, band.top};
        }
    }
    if (count == 0)
        return false;
    draw(sketch, places[random.below(std::uint32_t(count))], building);
    return true;
}

} // namespace

Building single(SymbolCode code)
{
    Building building;
    building.cells[0][0] = code;
    return building;
}

Building picture(const PictureShape &shape)
{
    Building building;
    building.width = shape.columns;
    building.height = shape.rows;
    for (int row = 0; row < shape.rows; ++row) {
        for (int column = 0; column < shape.columns; ++column)
            building.cells[std::size_t(row)][std::size_t(column)] = shape.at(column, row);
    }
    return building;
}

Building beside(const Building &left, const Building &right)
{
    Building building = left;
    building.width = std::min(left.width + right.width, 5);
    building.height = std::max(left.height, right.height);
    for (int row = 0; row < right.height; ++row) {
        for (int column = 0; left.width + column < building.width; ++column)
            building.cells[std::size_t(row)][std::size_t(left.width + column)]
                = right.cells[std::size_t(row)][std::size_t(column)];
    }
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
    static constexpr Weighted<SymbolCode> kMiddles[]
        = {{sym::LongHouseDoor, 2}, {sym::LongHouseTavern, 1}};
    length = std::clamp(length, 2, 5);
    Building building;
    building.width = length;
    for (int i = 0; i < length; ++i) {
        const bool end = i == 0 || i == length - 1;
        building.cells[0][std::size_t(i)]
            = end && length > 2 ? SymbolCode(sym::LongHouseWindows) : random.weighted(kMiddles);
    }
    if (length == 2)
        building.cells[0][0] = sym::LongHouseWindows;
    return building;
}

StreetArea streetArea(const CellRect &rect)
{
    StreetArea area {rect, {}};
    rect.forEach([&](CellPlace place) { area.cells.add(place); });
    return area;
}

StreetArea streetArea(const WallRing &ring)
{
    StreetArea area {ring.bounds.inset(2), {}};
    area.bounds.forEach([&](CellPlace place) {
        bool clear = true;
        for (int dr = -1; dr <= 1; ++dr) {
            for (int dc = -1; dc <= 1; ++dc)
                clear = clear && ring.inside.contains({place.column + dc, place.row + dr});
        }
        if (clear)
            area.cells.add(place);
    });
    return area;
}

bool fillStreets(Sketch &sketch, SeededRandom &random, const StreetArea &streets,
    std::span<const Building> required, BuildingSource fill, int fillPercent)
{
    const CellRect &area = streets.bounds;
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
                && !placeAnywhere(sketch, random, streets,
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
            if (building.height <= band.height
                && fits(sketch, streets, {column, band.top}, building)) {
                draw(sketch, {column, band.top}, building);
                column += building.width + 1;
            } else {
                ++column;
            }
        }
    }
    area.forEach([&](CellPlace place) {
        if (streets.cells.contains(place))
            sketch.claim(place);
    });
    return true;
}

} // namespace vellumor::generate
