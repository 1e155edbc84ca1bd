// The pieces the recipes draw with: the random source's bounds, rivers that
// join and that draw nothing when they find no way, and wall rings whose
// gates stand where they were asked to.
#include "document/CellGrid.h"
#include "mapcraft/Builders.h"
#include "mapcraft/MapProperties.h"

#include <QSet>
#include <QTest>

#include <algorithm>

using namespace vellumor;
using namespace vellumor::mapcraft;

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
};

QTEST_GUILESS_MAIN(TestBuilders)
#include "test_builders.moc"
