// The pieces the recipes draw with: the random source's bounds, rivers that
// join, run straight between bends and draw nothing when they find no way,
// wall rings of any outline whose gates stand where they were asked to,
// ridges, volcanoes and springs, and the tidying of the country.
#include "document/CellGrid.h"
#include "generate/Builders.h"
#include "rules/MapProperties.h"
#include "symbols/SymbolNames.h"

#include <QSet>
#include <QTest>

#include <algorithm>

using namespace vellumor;
using namespace vellumor::generate;
using namespace vellumor::rules;

namespace {

int countCells(const Sketch &sketch, bool (*counts)(SymbolCode))
{
    const MapCodes codes = sketch.codes();
    return int(std::count_if(codes.begin(), codes.end(), counts));
}

bool isRiver(SymbolCode code)
{
    return symbolJoins(code).river != 0;
}

} // namespace

class TestBuilders : public QObject
{
    Q_OBJECT
private slots:
    void drawsStayWithinTheirBounds()
    {
        SeededRandom random(1, 0);
        QSet<int> seen;
        for (int i = 0; i < 500; ++i)
            seen.insert(random.between(-2, 2));
        QCOMPARE(seen, (QSet<int> {-2, -1, 0, 1, 2}));
        for (int i = 0; i < 100; ++i)
            QVERIFY(random.below(7) < 7u);
        QCOMPARE(random.between(4, 4), 4);
        QCOMPARE(random.between(5, 1), 5);
    }

    void riversJoinFromEdgeToEdge()
    {
        for (std::uint64_t seed = 0; seed < 300; ++seed) {
            SeededRandom random(seed, 0);
            Sketch sketch;
            RiverCourse course;
            course.flow = seed % 2 ? Flow::South : Flow::West;
            course.from = seed % 2 ? 0 : kMapColumns - 1;
            course.to = seed % 2 ? kMapRows - 1 : 0;
            course.low = 2;
            course.high = seed % 2 ? kMapColumns - 3 : kMapRows - 3;
            course.enterAt = random.between(course.low, course.high);
            course.leaveAt = random.between(course.low, course.high);
            course.leaveSpread = kLeaveAnywhere;
            course.bendPercent = 60;
            RiverPath path;
            QVERIFY(layRiver(sketch, random, course, path));
            QCOMPARE(countCells(sketch, isRiver), path.length);
            QCOMPARE(brokenProperty(sketch.codes(), MapKind::Valley), nullptr);
        }
    }

    void riverWithNoWayDrawsNothing()
    {
        SeededRandom random(3, 0);
        Sketch sketch;
        sketch.claim(CellRect {0, 12, kMapColumns - 1, 12});
        RiverCourse course;
        course.to = kMapRows - 1;
        course.enterAt = course.leaveAt = 10;
        course.low = 1;
        course.high = 30;
        RiverPath path;
        QVERIFY(!layRiver(sketch, random, course, path));
        QCOMPARE(countCells(sketch, isRiver), 0);
    }

    void wallRingsCloseWithGatesWhereAsked()
    {
        for (std::uint64_t seed = 0; seed < 200; ++seed) {
            SeededRandom random(seed, 0);
            Sketch sketch;
            WallPlan plan;
            plan.outline.rect = {5, 5, 25, 18};
            plan.gateCount = 4;
            plan.gateSides = sideBit(Side::North) | sideBit(Side::South);
            WallRing ring;
            QVERIFY(buildWallRing(sketch, random, plan, ring));
            QVERIFY(ring.gateCount >= 1 && ring.gateCount <= 4);
            for (int i = 0; i < ring.gateCount; ++i) {
                const Gateway &gate = ring.gates[std::size_t(i)];
                QVERIFY(gate.place.row == 5 || gate.place.row == 18);
                QVERIFY(gate.place.column >= 7 && gate.place.column <= 23);
            }
            QCOMPARE(brokenProperty(sketch.codes(), MapKind::Town), nullptr);
        }
    }

    void shapedWallRingsClose()
    {
        // An L and a ring with two corners cut: every piece joins, gates
        // stand on straight runs clear of the corners, posts never by a gate.
        Outline shapes[2];
        shapes[0].rect = {4, 3, 26, 20};
        shapes[0].cuts[0] = {20, 3, 26, 9};
        shapes[0].cutCount = 1;
        shapes[1] = shapes[0];
        shapes[1].cuts[1] = {4, 16, 9, 20};
        shapes[1].cutCount = 2;
        for (const Outline &outline : shapes) {
            for (std::uint64_t seed = 0; seed < 100; ++seed) {
                SeededRandom random(seed, 0);
                Sketch sketch;
                WallPlan plan;
                plan.outline = outline;
                plan.gateCount = 4;
                WallRing ring;
                QVERIFY(buildWallRing(sketch, random, plan, ring));
                QCOMPARE(ring.gateCount, 4);
                QCOMPARE(brokenProperty(sketch.codes(), MapKind::Town), nullptr);
                QVERIFY(!ring.inside.contains({22, 5}) && ring.inside.contains({12, 10}));
            }
        }
    }

    // Runs of 3 to 7 straight cells between bends, across as along, and
    // none longer anywhere; a river bound for one cell gets there.
    void riversRunStraightBetweenBends()
    {
        int laid = 0;
        for (std::uint64_t seed = 0; seed < 200; ++seed) {
            SeededRandom random(seed, 0);
            Sketch sketch;
            RiverCourse course;
            course.to = kMapRows - 1;
            course.low = 1;
            course.high = kMapColumns - 2;
            course.enterAt = 10;
            course.leaveAt = 25;
            course.bendPercent = 90;
            RiverPath path;
            if (!layRiver(sketch, random, course, path))
                continue;
            ++laid;
            QCOMPARE(path.cells[std::size_t(path.length - 1)], (CellPlace {25, kMapRows - 1}));
            for (const RiverRun &run : riverRuns(sketch.codes())) {
                QVERIFY2(run.length <= kLongestRun, qPrintable(QString::number(seed)));
                QVERIFY2(!run.betweenBends || run.length >= kShortestRun,
                    qPrintable(QString::number(seed)));
            }
        }
        QVERIFY2(laid >= 180, qPrintable(QString::number(laid)));
    }

    void terrainIsTidied()
    {
        SeededRandom random(1, 0);
        Sketch sketch;
        sketch.put({5, 5}, sym::RiverVertical);
        sketch.paint({6, 6}, sym::Grass); // against the river
        sketch.paint({7, 6}, sym::Grass);
        sketch.paint({20, 10}, sym::Swamp); // alone
        CellRect {10, 15, 12, 17}.forEach([&](CellPlace place) {
            if (place != CellPlace {11, 16})
                sketch.paint(place, sym::DryGrass); // a ring round a hole
        });
        sketch.paint({30, 20}, sym::TreesDead); // inside a forest
        for (const Side side : kSides)
            sketch.paint(across({30, 20}, side), sym::TreesEvergreen);
        tidyTerrain(sketch, random);
        QCOMPARE(sketch.at({6, 6}), SymbolCode(sym::Blank));
        QCOMPARE(sketch.at({7, 6}), SymbolCode(sym::Blank)); // left alone, so gone too
        QCOMPARE(sketch.at({20, 10}), SymbolCode(sym::Blank));
        QCOMPARE(sketch.at({11, 16}), SymbolCode(sym::DryGrass));
        QVERIFY(sketch.at({30, 20}) != sym::TreesDead);
        QCOMPARE(sketch.at({5, 5}), SymbolCode(sym::RiverVertical));
    }

    void ridgesRunTheirLengthAndVolcanoesAreFew()
    {
        for (std::uint64_t seed = 0; seed < 100; ++seed) {
            SeededRandom random(seed, 0);
            Sketch sketch;
            const CellRect band {0, 0, kMapColumns - 1, 1};
            ridge(sketch, random, {2, 0}, 20, Side::East, band);
            crownVolcanoes(sketch, random, 2);
            const MapCodes codes = sketch.codes();
            int last = -1, volcanoes = 0;
            kWholeMap.forEach([&](CellPlace place) {
                const SymbolCode code = codes[std::size_t(cellIndex(place.column, place.row))];
                if (code == kBlankSymbol)
                    return;
                QVERIFY(band.contains(place));
                last = std::max(last, place.column);
                volcanoes += code == sym::Volcano ? 1 : 0;
            });
            QCOMPARE(last, 21);
            QVERIFY(volcanoes <= 2);
        }
    }

    void springsRiseInGroups()
    {
        for (std::uint64_t seed = 0; seed < 100; ++seed) {
            SeededRandom random(seed, 0);
            Sketch sketch;
            sketch.put({10, 11}, sym::RiverVertical);
            QVERIFY(raiseSpring(sketch, random, {10, 10}, Side::South));
            int group = 0;
            CellRect {4, 4, 16, 16}.forEach(
                [&](CellPlace place) { group += symbolJoins(sketch.at(place)).springGround; });
            QVERIFY(group >= 3 && group <= 6);
            QCOMPARE(sketch.at({10, 11}), SymbolCode(sym::RiverVertical));
        }
        // No room around it: no spring.
        SeededRandom random(0, 0);
        Sketch sketch;
        for (const Side side : kSides)
            sketch.put(across({10, 10}, side), sym::House);
        QVERIFY(!raiseSpring(sketch, random, {10, 10}, Side::South));
    }
};

QTEST_GUILESS_MAIN(TestBuilders)
#include "test_builders.moc"
