#include "MapSketch.h"
#include "rules/MapRegions.h"
#include "symbols/SymbolNames.h"

#include <QTest>

#include <algorithm>

using namespace vellumor;
using namespace vellumor::sym;
using rules::mapRegion;

using rules::RegionKind;
using testing::across;
using testing::down;
using testing::sketch;

namespace {

std::vector<CellPlace> cells(std::initializer_list<CellPlace> list)
{
    std::vector<CellPlace> sorted(list);
    std::sort(sorted.begin(), sorted.end(), [](CellPlace a, CellPlace b) {
        return std::pair(a.row, a.column) < std::pair(b.row, b.column);
    });
    return sorted;
}

bool contains(const std::vector<CellPlace> &region, CellPlace cell)
{
    return std::find(region.begin(), region.end(), cell) != region.end();
}

// A walled yard: wall ring from (10,5) to (16,10) with a wooden gate in its
// south side at (13,10), a house inside at (12,7), plains outside.
MapCodes walledYard()
{
    return sketch({across(0, 0, Grass, 35), {10, 5, {{WallSE}}}, across(11, 5, WallHorizontal, 5),
        {16, 5, {{WallSW}}}, down(10, 6, WallVertical, 4), down(16, 6, WallVertical, 4),
        {10, 10, {{WallNE}}}, across(11, 10, WallHorizontal, 5), {16, 10, {{WallNW}}},
        {13, 10, {{WoodenGateHorizontal}}}, {12, 7, {{House}}}});
}

} // namespace

class TestMapRegions : public QObject
{
    Q_OBJECT

private slots:
    void picturesSpanTheirPieces()
    {
        const MapCodes inn
            = sketch({{4, 4, {{InnTopLeft, InnTopRight}, {InnBottomLeft, InnBottomRight}}},
                {6, 4, {{House}}}});
        QCOMPARE(
            mapRegion(inn, {5, 5}, RegionKind::Picture), cells({{4, 4}, {5, 4}, {4, 5}, {5, 5}}));
        QCOMPARE(mapRegion(inn, {6, 4}, RegionKind::Picture), cells({{6, 4}}));

        const MapCodes castle = sketch({{3, 3,
            {{TowerTop, CastleTopLeft, CastleTopCenter, CastleTopRight, TowerTop},
                {TowerBottom, CastleBottomLeft, CastleBottomCenter, CastleBottomRight,
                    TowerBottom}}}});
        QCOMPARE(mapRegion(castle, {5, 3}, RegionKind::Picture).size(), std::size_t(10));

        const MapCodes lake
            = sketch({{0, 0,
                          {{LakeTopLeft, Water, LakeTopRight}, {Water, Water, Water},
                              {LakeBottomLeft, Water, LakeBottomRight}}},
                {3, 1, {{RiverHorizontal}}}});
        const auto region = mapRegion(lake, {0, 0}, RegionKind::Picture);
        QCOMPARE(region.size(), std::size_t(9));
        QVERIFY(!contains(region, {3, 1}));
    }

    void walkingStopsAtWallsAndGates()
    {
        const MapCodes yard = walledYard();
        const auto inside = mapRegion(yard, {11, 6}, RegionKind::Walk);
        QVERIFY(contains(inside, {15, 9}));
        QVERIFY(contains(inside, {12, 7})); // the house bounds the walk
        QVERIFY(contains(inside, {10, 5}) && contains(inside, {13, 10})); // walls and gate
        QVERIFY(!contains(inside, {13, 11})); // nothing past the gate
        QCOMPARE(inside.size(), std::size_t(7 * 6));

        const auto outside = mapRegion(yard, {0, 0}, RegionKind::Walk);
        QVERIFY(contains(outside, {13, 10}) && !contains(outside, {13, 9}));
        // From the gate, both sides.
        const auto gate = mapRegion(yard, {13, 10}, RegionKind::Walk);
        QVERIFY(contains(gate, {13, 9}) && contains(gate, {13, 11}));
        QVERIFY(mapRegion(yard, {12, 7}, RegionKind::Walk).empty());
    }

    void runsFollowTheirJoins()
    {
        const MapCodes yard = walledYard();
        const auto wall = mapRegion(yard, {16, 7}, RegionKind::Run);
        QCOMPARE(wall.size(), std::size_t(22)); // the whole ring, gate included
        QVERIFY(contains(wall, {13, 10}));

        const MapCodes river = sketch({across(0, 2, RiverHorizontal, 4), {4, 2, {{RiverSW}}},
            down(4, 3, RiverVertical, 2), {4, 5, {{Water}}}, {6, 2, {{RiverHorizontal}}}});
        const auto run = mapRegion(river, {0, 2}, RegionKind::Run);
        QCOMPARE(run.size(), std::size_t(7));
        QVERIFY(!contains(run, {4, 5}) && !contains(run, {6, 2}));
        QVERIFY(mapRegion(river, {4, 5}, RegionKind::Run).empty());
        QVERIFY(mapRegion(river, {-1, 0}, RegionKind::Run).empty());
    }
};

QTEST_GUILESS_MAIN(TestMapRegions)
#include "test_map_regions.moc"
