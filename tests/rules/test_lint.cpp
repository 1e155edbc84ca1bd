#include "MapSketch.h"

#include "rules/MapLint.h"
#include "symbols/SymbolNames.h"

#include <QTest>

using namespace vellumor;
using namespace vellumor::rules;
using vellumor::testing::across;
using vellumor::testing::down;
using vellumor::testing::sketch;

Q_DECLARE_METATYPE(vellumor::MapCodes)

namespace {

QStringList linted(const MapCodes &codes)
{
    QStringList lines;
    for (const Finding &finding : lintMap(codes))
        lines << describe(finding);
    return lines;
}

} // namespace

class TestLint : public QObject
{
    Q_OBJECT
private slots:
    void findings_data()
    {
        QTest::addColumn<MapCodes>("map");
        QTest::addColumn<QStringList>("lines");

        QTest::newRow("blank map") << MapCodes {} << QStringList {};

        // Pictures that span several cells.
        QTest::newRow("church without its right side")
            << sketch({{12, 4, {{sym::ChurchLeft}}}})
            << QStringList {"column 12, row 4: error: church-incomplete: \"Church: Left Side\" "
                            "has no \"Church: Right Side\" to its east"};
        QTest::newRow("inn piece alone: one line per missing side")
            << sketch({{0, 0, {{sym::InnTopLeft}}}})
            << QStringList {"column 0, row 0: error: inn-incomplete: \"Inn: Top Left\" has no "
                            "\"Inn: Top Right\" to its east",
                   "column 0, row 0: error: inn-incomplete: \"Inn: Top Left\" has no \"Inn: "
                   "Bottom Left\" to its south"};
        QTest::newRow("castle cut by the map's edge")
            << sketch({{33, 23,
                   {{sym::CastleTopLeft, sym::CastleTopCenter},
                       {sym::CastleBottomLeft, sym::CastleBottomCenter}}}})
            << QStringList {"column 34, row 23: error: castle-incomplete: \"Castle: Top Center\" "
                            "has no \"Castle: Top Right\" to its east",
                   "column 34, row 24: error: castle-incomplete: \"Castle: Bottom Center\" has "
                   "no \"Castle: Bottom Right\" to its east"};
        QTest::newRow("tower without its top")
            << sketch({{3, 0, {{sym::TowerBottom}}}})
            << QStringList {"column 3, row 0: error: tower-incomplete: \"Tower: Bottom\" has no "
                            "\"Tower: Top\" to its north"};
        QTest::newRow("whole pictures") << sketch(
            {{1, 1,
                 {{sym::InnTopLeft, sym::InnTopRight, sym::ChurchLeft, sym::ChurchRight,
                      sym::TowerTop},
                     {sym::InnBottomLeft, sym::InnBottomRight, sym::Blank, sym::Blank,
                         sym::TowerBottom}}},
                {1, 5,
                    {{sym::CastleTopLeft, sym::CastleTopCenter, sym::CastleTopRight},
                        {sym::CastleBottomLeft, sym::CastleBottomCenter, sym::CastleBottomRight}}}})
                                        << QStringList {};
        QTest::newRow("lake corner with no water beside it")
            << sketch({{5, 5, {{sym::LakeTopLeft, sym::Blank}, {sym::Water, sym::Water}}}})
            << QStringList {"column 5, row 5: error: lake-incomplete: \"Lake: Top Left\" has no "
                            "\"Water\" or \"Lake: Top Right\" to its east"};
        QTest::newRow("lake running on beyond the map's edge") << sketch({{33, 22,
            {{sym::LakeTopLeft, sym::Water}, {sym::Water, sym::Water},
                {sym::LakeBottomLeft, sym::Water}}}}) << QStringList {};
        QTest::newRow("long house piece alone, and a long house")
            << sketch({{8, 2, {{sym::LongHouseDoor}}},
                   {8, 4,
                       {{sym::LongHouseWindows, sym::LongHouseDoor, sym::LongHouseTavern,
                           sym::LongHouseWindows}}}})
            << QStringList {"column 8, row 2: error: longhouse-alone: \"Long House: Door\" stands "
                            "alone: no piece of its picture to its east or west"};

        // Rivers.
        QTest::newRow("river ending in a field at both ends")
            << sketch({down(20, 6, sym::RiverVertical, 2)})
            << QStringList {"column 20, row 6: error: river-open-end: the river ends at this "
                            "cell's north side",
                   "column 20, row 7: error: river-open-end: the river ends at this cell's "
                   "south side"};
        QTest::newRow("river from a spring to the edge, into a lake and through the pond")
            << sketch({{5, 0, {{sym::Mountain}}}, down(5, 1, sym::RiverVertical, 3),
                   {5, 4, {{sym::Water}}}, across(0, 10, sym::RiverHorizontal, 6),
                   {6, 10, {{sym::PondRiverJoint}}}, down(6, 11, sym::RiverVertical, 14)})
            << QStringList {};
        QTest::newRow("bend flowing into the side of a straight piece")
            << sketch({down(5, 0, sym::RiverVertical, 25), {4, 5, {{sym::RiverSE}}},
                   down(4, 6, sym::RiverVertical, 19)})
            << QStringList {"column 4, row 5 and column 5, row 5: error: river-misjoin: the river "
                            "leaves the east side of \"River: S-E turn\" into the west side of "
                            "\"River: Vertical\", which does not join it"};
        QTest::newRow("misjoin on the piece at odds with more of its neighbours")
            << sketch({down(8, 0, sym::RiverVertical, 25), {8, 9, {{sym::RiverSE}}}})
            << QStringList {"column 8, row 9: error: river-misjoin: \"River: Vertical\" leads the "
                            "river into this cell's north side, which does not join it",
                   "column 8, row 9: error: river-open-end: the river ends at this cell's east "
                   "side"};
        QTest::newRow("turn past a tree in a straight river: both cells named")
            << sketch({down(8, 0, sym::RiverVertical, 25), {7, 9, {{sym::TreesDeciduous}}},
                   {8, 9, {{sym::RiverSW}}}})
            << QStringList {"column 8, row 8 and column 8, row 9: error: river-misjoin: the river "
                            "leaves the south side of \"River: Vertical\" into the north side of "
                            "\"River: S-W turn\", which does not join it"};
        QTest::newRow("river running into a wall")
            << sketch({across(0, 3, sym::RiverHorizontal, 4), down(4, 0, sym::WallVertical, 25)})
            << QStringList {"column 3, row 3: error: river-open-end: the river ends at this "
                            "cell's east side"};

        // Walls and gates.
        QTest::newRow("wall with a gap")
            << sketch({down(9, 11, sym::WallVertical, 14)})
            << QStringList {"column 9, row 11: error: wall-gap: the wall stops at this cell's "
                            "north side"};
        QTest::newRow("gate turned across its wall, and nothing else said of it")
            << sketch(
                   {across(0, 12, sym::WallHorizontal, 35), {9, 12, {{sym::WoodenGateVertical}}}})
            << QStringList {"column 9, row 12: error: gate-across: \"Wooden Gate: Vertical\" "
                            "stands in a horizontal wall"};
        QTest::newRow("wall running into the side of another")
            << sketch({across(0, 12, sym::WallHorizontal, 9), down(9, 0, sym::WallVertical, 25)})
            << QStringList {"column 8, row 12 and column 9, row 12: error: wall-misjoin: the wall "
                            "leaves the east side of \"Wall: Horizontal\" into the west side of "
                            "\"Wall: Vertical\", which does not join it"};
        QTest::newRow("gates in no wall, and a double gate in one")
            << sketch({down(4, 4, sym::IronGateVertical, 2), {20, 4, {{sym::WoodenGateHorizontal}}},
                   across(0, 15, sym::WallHorizontal, 35),
                   {9, 15, {{sym::IronGateHorizontal, sym::IronGateHorizontal}}}})
            << QStringList {"column 4, row 4: error: gate-without-wall: \"Iron Gate: Vertical\" "
                            "stands in no wall: none meets its north or south side",
                   "column 20, row 4: error: gate-without-wall: \"Wooden Gate: Horizontal\" "
                   "stands in no wall: none meets its west or east side",
                   "column 4, row 5: error: gate-without-wall: \"Iron Gate: Vertical\" stands in "
                   "no wall: none meets its north or south side"};
        QTest::newRow("enclosure with guard posts, their free arms and gates") << sketch({{2, 2,
            {{sym::WallSE, sym::WallHorizontal, sym::GuardPostSquare, sym::IronGateHorizontal,
                 sym::WallSW},
                {sym::WallVertical, sym::Blank, sym::Blank, sym::Blank, sym::IronGateVertical},
                {sym::WallNE, sym::WallHorizontal, sym::GuardPostRound, sym::WallHorizontal,
                    sym::WallNW}}}}) << QStringList {};
        QTest::newRow("gate opening onto water and onto a house")
            << sketch({across(0, 12, sym::WallHorizontal, 35),
                   {17, 11, {{sym::House}, {sym::WoodenGateHorizontal}, {sym::Water}}}})
            << QStringList {"column 17, row 12: warning: gate-blocked: \"Wooden Gate: "
                            "Horizontal\" opens onto \"House\" to its north",
                   "column 17, row 12: warning: gate-blocked: \"Wooden Gate: Horizontal\" opens "
                   "onto \"Water\" to its south"};
        QTest::newRow("findings in cell order, row by row")
            << sketch({{30, 1, {{sym::ChurchRight}}}, {2, 8, {{sym::ChurchLeft}}},
                   down(20, 3, sym::WallVertical, 1)})
            << QStringList {"column 30, row 1: error: church-incomplete: \"Church: Right Side\" "
                            "has no \"Church: Left Side\" to its west",
                   "column 20, row 3: error: wall-gap: the wall stops at this cell's north side",
                   "column 20, row 3: error: wall-gap: the wall stops at this cell's south side",
                   "column 2, row 8: error: church-incomplete: \"Church: Left Side\" has no "
                   "\"Church: Right Side\" to its east"};
    }

    void findings()
    {
        QFETCH(MapCodes, map);
        QFETCH(QStringList, lines);
        QCOMPARE(linted(map), lines);
    }
};

QTEST_GUILESS_MAIN(TestLint)
#include "test_lint.moc"
