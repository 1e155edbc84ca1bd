// The walls a Universal VTT file carries, traced on small rings drawn here.
#include "formats/MapWalls.h"
#include "rules/MapSketch.h"
#include "symbols/SymbolNames.h"

#include <QTest>

using namespace vellumor;
using namespace vellumor::testing;

class TestMapWalls : public QObject
{
    Q_OBJECT

private slots:
    void ringWithoutGateIsOneClosedPolyline()
    {
        const auto walls = mapexport::mapWalls(sketch({{2, 3,
            {{sym::WallSE, sym::WallHorizontal, sym::WallSW},
                {sym::WallVertical, sym::Blank, sym::WallVertical},
                {sym::WallNE, sym::WallHorizontal, sym::WallNW}}}}));
        QCOMPARE(walls.walls.size(), 1);
        QCOMPARE(walls.gates.size(), 0);
        const QPolygonF ring = walls.walls.front();
        QCOMPARE(ring.size(), 5); // four corners, the first repeated last
        QCOMPARE(ring.front(), ring.back());
        for (const QPointF corner :
            {QPointF(2.5, 3.5), QPointF(4.5, 3.5), QPointF(4.5, 5.5), QPointF(2.5, 5.5)})
            QVERIFY2(ring.contains(corner),
                qPrintable(QStringLiteral("%1,%2").arg(corner.x()).arg(corner.y())));
    }

    void guardPostsAndGatesCutOnlyWhereTheyMust()
    {
        // A guard post in the top run leaves the ring closed and adds its cross
        // arm as a line of its own; a gate in the bottom run opens the ring
        // between the door's two ends.
        const auto walls = mapexport::mapWalls(sketch({{2, 3,
            {{sym::WallSE, sym::WallHorizontal, sym::GuardPostSquare, sym::WallHorizontal,
                 sym::WallSW},
                {sym::WallVertical, sym::Blank, sym::Blank, sym::Blank, sym::WallVertical},
                {sym::WallNE, sym::WallHorizontal, sym::WoodenGateHorizontal, sym::WallHorizontal,
                    sym::WallNW}}}}));
        QCOMPARE(walls.gates.size(), 1);
        QCOMPARE(walls.gates.front(), QLineF(4.2, 5.5, 4.8, 5.5));
        QCOMPARE(walls.walls.size(), 2);
        const QPolygonF ring = walls.walls[0].size() > 2 ? walls.walls[0] : walls.walls[1];
        const QPolygonF arm = walls.walls[0].size() > 2 ? walls.walls[1] : walls.walls[0];
        QCOMPARE(arm, QPolygonF({QPointF(4.5, 3), QPointF(4.5, 4)}));
        QCOMPARE(ring.size(), 6); // door end, four corners, door end
        const bool forwards = ring.front() == QPointF(4.2, 5.5);
        QCOMPARE(forwards ? ring.back() : ring.front(), QPointF(4.8, 5.5));
        QCOMPARE(forwards ? ring.front() : ring.back(), QPointF(4.2, 5.5));
    }
};

QTEST_MAIN(TestMapWalls)
#include "test_mapwalls.moc"
