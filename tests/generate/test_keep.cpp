// Generating around what the user drew: every kept cell stands as drawn and
// the map lints clean over many seeds, the same bytes every run; a drawing
// nothing can be built around is refused with its cells named; the gates and
// the river asked for are there.
#include "document/CellGrid.h"
#include "generate/KeptDrawing.h"
#include "generate/MapGenerator.h"
#include "rules/EdgeReach.h"
#include "rules/MapLint.h"
#include "rules/MapProperties.h"
#include "rules/MapSketch.h"
#include "symbols/SymbolJoins.h"
#include "symbols/SymbolNames.h"

#include <QTest>

#include <algorithm>

using namespace vellumor;
using namespace vellumor::generate;
using namespace vellumor::rules;
using vellumor::testing::Patch;

namespace {

// A ring of wall from (left, top) to (right, bottom), a wooden gate in the
// middle of its top and an iron one in its bottom.
MapCodes wallRing(int left, int top, int right, int bottom)
{
    const int width = right - left + 1, height = bottom - top + 1;
    MapCodes codes = testing::sketch({
        testing::across(left, top, sym::WallHorizontal, width),
        testing::across(left, bottom, sym::WallHorizontal, width),
        testing::down(left, top, sym::WallVertical, height),
        testing::down(right, top, sym::WallVertical, height),
        {left, top, {{sym::WallSE}}},
        {right, top, {{sym::WallSW}}},
        {left, bottom, {{sym::WallNE}}},
        {right, bottom, {{sym::WallNW}}},
        {(left + right) / 2, top, {{sym::WoodenGateHorizontal}}},
        {(left + right) / 2, bottom, {{sym::IronGateHorizontal}}},
    });
    return codes;
}

// Both drawings on one map, the second's drawn cells over the first's.
MapCodes overlay(MapCodes under, const MapCodes &over)
{
    for (std::size_t i = 0; i < under.size(); ++i)
        under[i] = over[i] != kBlankSymbol ? over[i] : under[i];
    return under;
}

bool keeps(const MapCodes &kept, const MapCodes &made)
{
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (kept[i] != kBlankSymbol && made[i] != kept[i])
            return false;
    }
    return true;
}

int gates(const MapCodes &codes)
{
    return int(std::count_if(codes.begin(), codes.end(),
        [](SymbolCode code) { return symbolJoins(code).gate != GateMaterial::None; }));
}

int riverCells(const MapCodes &codes)
{
    return int(std::count_if(
        codes.begin(), codes.end(), [](SymbolCode code) { return symbolJoins(code).river != 0; }));
}

} // namespace

class TestKeep : public QObject
{
    Q_OBJECT
private slots:
    void buildsAroundTheDrawing_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<MapCodes>("kept");
        using namespace sym;
        QTest::newRow("town in a wall ring") << int(MapKind::Town) << wallRing(8, 5, 24, 18);
        QTest::newRow("fort in a wall ring") << int(MapKind::Fort) << wallRing(6, 4, 26, 19);
        QTest::newRow("castle keep")
            << int(MapKind::Castle)
            << testing::sketch({{10, 8,
                   {{CastleTopLeft, CastleTopCenter, CastleTopRight},
                       {CastleBottomLeft, CastleBottomCenter, CastleBottomRight}}}});
        QTest::newRow("lake with its river")
            << int(MapKind::Valley)
            << testing::sketch({{20, 10,
                                    {{LakeTopLeft, Water, Water, Water, LakeTopRight},
                                        {Water, Water, Water, Water, Water},
                                        {LakeBottomLeft, Water, Water, Water, LakeBottomRight}}},
                   testing::down(22, 13, RiverVertical, 12)});
        QTest::newRow("castle keep in its ring")
            << int(MapKind::Castle)
            << overlay(wallRing(8, 5, 24, 16),
                   testing::sketch({{12, 9,
                       {{CastleTopLeft, CastleTopCenter, CastleTopRight, TowerTop},
                           {CastleBottomLeft, CastleBottomCenter, CastleBottomRight,
                               TowerBottom}}}}));
        QTest::newRow("castle by a drawn lake")
            << int(MapKind::Castle)
            << testing::sketch(
                   {{24, 14, {{LakeTopLeft, LakeTopRight}, {LakeBottomLeft, LakeBottomRight}}}});
        QTest::newRow("church in a corner")
            << int(MapKind::Town) << testing::sketch({{0, 0, {{ChurchLeft, ChurchRight}}}});
        QTest::newRow("scattered houses") << int(MapKind::Fort)
                                          << testing::sketch({{5, 5, {{House}}}, {20, 2, {{Shack}}},
                                                 {30, 21, {{Shop}}}, {12, 20, {{House}}}});
    }

    void buildsAroundTheDrawing()
    {
        QFETCH(int, kind);
        QFETCH(MapCodes, kept);
        QVERIFY(lintMap(kept).isEmpty());
        for (std::uint64_t seed = 0; seed < 1000; ++seed) {
            const Generated made = generateAround(MapKind(kind), seed, {}, kept);
            if (!made.codes)
                QFAIL(qPrintable(QStringLiteral("seed %1: %2 cells in the way")
                                     .arg(seed)
                                     .arg(made.inTheWay.size())));
            QVERIFY2(keeps(kept, *made.codes), qPrintable(QString::number(seed)));
            QVERIFY2(errorCount(*made.codes) == 0, qPrintable(QString::number(seed)));
            QVERIFY2(brokenProperty(*made.codes, MapKind(kind)) == nullptr,
                qPrintable(QString::number(seed)));
        }
        QCOMPARE(generateAround(MapKind(kind), 5, {}, kept).codes,
            generateAround(MapKind(kind), 5, {}, kept).codes);
    }

    // What was drawn is used, never drawn a second time: the castle is the
    // keep inside the walls, the lake is the castle's lake.
    void aDrawnCastleOrLakeIsTheOne()
    {
        using namespace sym;
        const MapCodes castle = testing::sketch({{20, 8,
            {{CastleTopLeft, CastleTopCenter, CastleTopRight},
                {CastleBottomLeft, CastleBottomCenter, CastleBottomRight}}}});
        const MapCodes lake = testing::sketch(
            {{25, 15, {{LakeTopLeft, LakeTopRight}, {LakeBottomLeft, LakeBottomRight}}}});
        for (std::uint64_t seed = 0; seed < 100; ++seed) {
            const auto keep = generateAround(MapKind::Castle, seed, {}, castle).codes;
            QVERIFY(keep);
            QCOMPARE(std::count(keep->begin(), keep->end(), CastleTopLeft), 1);
            const EdgeReach outside
                = reachFromEdge(*keep, [](int code) { return symbolJoins(code).wall == 0; });
            QVERIFY2(!outside.contains({20, 8}), "the drawn castle is walled in");
            const auto lakeMap = generateAround(MapKind::Castle, seed, {}, lake).codes;
            QVERIFY(lakeMap);
            QCOMPARE(std::count(lakeMap->begin(), lakeMap->end(), LakeTopLeft), 1);
        }
        // A river drawn from the edge into a lake is the town's and the
        // castle's river: neither lays a second beside it.
        const MapCodes fed
            = overlay(lake, testing::sketch({testing::down(25, 0, RiverVertical, 15)}));
        QVERIFY(lintMap(fed).isEmpty());
        for (std::uint64_t seed = 0; seed < 50; ++seed) {
            for (const MapKind kind : {MapKind::Town, MapKind::Castle}) {
                const auto made = generateAround(kind, seed, {0, RiverChoice::Always}, fed).codes;
                QVERIFY(made);
                QCOMPARE(riverCells(*made), riverCells(fed));
            }
        }
    }

    // A river drawn across the map: the town or castle stands on a bank of
    // it and lays no river of its own; a desert fort is refused at once.
    void aRiverDrawnAcrossTheMap()
    {
        using namespace sym;
        for (const MapCodes &river :
            {testing::sketch({testing::across(0, 12, RiverHorizontal, kMapColumns)}),
                testing::sketch({testing::down(17, 0, RiverVertical, kMapRows)})}) {
            for (const MapKind kind : {MapKind::Town, MapKind::Castle}) {
                int made = 0;
                for (std::uint64_t seed = 0; seed < 20; ++seed) {
                    const auto codes = generateAround(kind, seed, {}, river).codes;
                    if (!codes)
                        continue;
                    ++made;
                    QVERIFY(keeps(river, *codes));
                    QCOMPARE(riverCells(*codes), riverCells(river));
                }
                QVERIFY2(made >= 18, qPrintable(mapKindName(kind) + QString::number(made)));
            }
            const Generated fort = generateAround(MapKind::Fort, 0, {}, river);
            QVERIFY(!fort.codes && fort.inTheWay.isEmpty());
            QVERIFY(fort.refused.contains(QLatin1String("desert")));
        }
    }

    // The bank a town or castle takes is the larger side of the river, kept
    // clear of it, whichever way the river runs.
    void theLargerBankIsTaken()
    {
        Sketch acrossRows(
            testing::sketch({testing::across(0, 16, sym::RiverHorizontal, kMapColumns)}));
        const auto rows = keptRiverAcross(acrossRows);
        QVERIFY(rows && rows->alongRows);
        const Bank north = largerBank(*rows, 2);
        QCOMPARE(north.land, (CellRect {0, 0, kMapColumns - 1, 13}));
        QCOMPARE(north.river, Side::South);
        Sketch downColumns(testing::sketch({testing::down(8, 0, sym::RiverVertical, kMapRows)}));
        const auto columns = keptRiverAcross(downColumns);
        QVERIFY(columns && !columns->alongRows);
        const Bank east = largerBank(*columns, 1);
        QCOMPARE(east.land, (CellRect {10, 0, kMapColumns - 1, kMapRows - 1}));
        QCOMPARE(east.river, Side::West);
        // A river that stops short of the far edge crosses nothing.
        QVERIFY(!keptRiverAcross(
            Sketch(testing::sketch({testing::across(0, 5, sym::RiverHorizontal, 20)}))));
    }

    // A ring drawn without a gate, or gates asked of a ring drawn with
    // others, is refused in one line before any attempt.
    void aDrawnRingKeepsItsGates()
    {
        using namespace sym;
        MapCodes closed = wallRing(8, 5, 24, 18);
        for (SymbolCode &code : closed) {
            if (symbolJoins(code).gate != GateMaterial::None)
                code = WallHorizontal;
        }
        const Generated gateless = generateAround(MapKind::Town, 1, {}, closed);
        QVERIFY(!gateless.codes && gateless.inTheWay.isEmpty());
        QVERIFY2(gateless.refused.contains(QLatin1String("no gate")), qPrintable(gateless.refused));
        const MapCodes twoGates = wallRing(8, 5, 24, 18);
        const Generated three
            = generateAround(MapKind::Town, 1, {3, RiverChoice::ByChance}, twoGates);
        QVERIFY2(
            three.refused.contains(QLatin1String("2 gates, not the 3")), qPrintable(three.refused));
        QVERIFY(generateAround(MapKind::Town, 1, {2, RiverChoice::ByChance}, twoGates).codes);
    }

    void refusesWhatCannotBeBuiltAround()
    {
        // A ring too small for any town: the town cannot be built in it, and
        // the cells named are kept cells of the ring.
        const MapCodes kept = wallRing(10, 8, 16, 13);
        const Generated made = generateAround(MapKind::Town, 1, {}, kept, 8);
        QVERIFY(!made.codes);
        QVERIFY(!made.inTheWay.isEmpty() && made.inTheWay.size() <= 8);
        for (const Finding &finding : made.inTheWay) {
            QCOMPARE(finding.rule, QStringLiteral("kept-in-the-way"));
            QCOMPARE(finding.severity, Severity::Error);
            QVERIFY(kept[std::size_t(cellIndex(finding.column, finding.row))] != kBlankSymbol);
        }
    }

    void choicesAreHonoured()
    {
        for (std::uint64_t seed = 0; seed < 200; ++seed) {
            for (const MapKind kind : {MapKind::Town, MapKind::Fort, MapKind::Castle}) {
                const int asked = int(seed % 4) + 1;
                const auto made = generateAround(kind, seed, {asked, RiverChoice::ByChance}, {});
                QVERIFY(made.codes);
                QCOMPARE(gates(*made.codes), asked);
            }
            for (const MapKind kind : {MapKind::Town, MapKind::Castle}) {
                const auto with = generateAround(kind, seed, {0, RiverChoice::Always}, {});
                const auto without = generateAround(kind, seed, {0, RiverChoice::Never}, {});
                QVERIFY(with.codes && without.codes);
                QVERIFY(riverCells(*with.codes) > 0);
                QCOMPARE(riverCells(*without.codes), 0);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestKeep)
#include "test_keep.moc"
