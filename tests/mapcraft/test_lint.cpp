#include "MapSketch.h"

#include "mapcraft/MapLint.h"

#include <QTest>

using namespace vellumor;
using namespace vellumor::mapcraft;
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
            << sketch({{12, 4, {{13}}}})
            << QStringList {"column 12, row 4: error: church-incomplete: \"Church: Left Side\" "
                            "has no \"Church: Right Side\" to its east"};
        QTest::newRow("inn piece alone: one line per missing side")
            << sketch({{0, 0, {{5}}}})
            << QStringList {"column 0, row 0: error: inn-incomplete: \"Inn: Top Left\" has no "
                            "\"Inn: Top Right\" to its east",
                   "column 0, row 0: error: inn-incomplete: \"Inn: Top Left\" has no \"Inn: "
                   "Bottom Left\" to its south"};
        QTest::newRow("castle cut by the map's edge")
            << sketch({{33, 23, {{17, 18}, {21, 22}}}})
            << QStringList {"column 34, row 23: error: castle-incomplete: \"Castle: Top Center\" "
                            "has no \"Castle: Top Right\" to its east",
                   "column 34, row 24: error: castle-incomplete: \"Castle: Bottom Center\" has "
                   "no \"Castle: Bottom Right\" to its east"};
        QTest::newRow("tower without its top")
            << sketch({{3, 0, {{24}}}})
            << QStringList {"column 3, row 0: error: tower-incomplete: \"Tower: Bottom\" has no "
                            "\"Tower: Top\" to its north"};
        QTest::newRow("whole pictures") << sketch(
            {{1, 1, {{5, 6, 13, 14, 20}, {9, 10, 0, 0, 24}}}, {1, 5, {{17, 18, 19}, {21, 22, 23}}}})
                                        << QStringList {};
        QTest::newRow("lake corner with no water beside it")
            << sketch({{5, 5, {{26, 0}, {25, 25}}}})
            << QStringList {"column 5, row 5: error: lake-incomplete: \"Lake: Top Left\" has no "
                            "\"Water\" or \"Lake: Top Right\" to its east"};
        QTest::newRow("lake running on beyond the map's edge")
            << sketch({{33, 22, {{26, 25}, {25, 25}, {29, 25}}}}) << QStringList {};
        QTest::newRow("long house piece alone, and a long house")
            << sketch({{8, 2, {{8}}}, {8, 4, {{7, 8, 11, 7}}}})
            << QStringList {"column 8, row 2: error: longhouse-alone: \"Long House: Door\" stands "
                            "alone: no piece of its picture to its east or west"};

        // Rivers.
        QTest::newRow("river ending in a field at both ends")
            << sketch({down(20, 6, 32, 2)})
            << QStringList {"column 20, row 6: error: river-open-end: the river ends at this "
                            "cell's north side",
                   "column 20, row 7: error: river-open-end: the river ends at this cell's "
                   "south side"};
        QTest::newRow("river from a spring to the edge, into a lake and through the pond")
            << sketch({{5, 0, {{41}}}, down(5, 1, 32, 3), {5, 4, {{25}}}, across(0, 10, 28, 6),
                   {6, 10, {{30}}}, down(6, 11, 32, 14)})
            << QStringList {};
        QTest::newRow("bend flowing into the side of a straight piece")
            << sketch({down(5, 0, 32, 25), {4, 5, {{35}}}, down(4, 6, 32, 19)})
            << QStringList {"column 4, row 5: error: river-misjoin: the river leaves this cell's "
                            "east side into \"River: Vertical\", which does not join it"};
        QTest::newRow("river running into a wall")
            << sketch({across(0, 3, 28, 4), down(4, 0, 56, 25)})
            << QStringList {"column 3, row 3: error: river-open-end: the river ends at this "
                            "cell's east side"};

        // Walls and gates.
        QTest::newRow("wall with a gap")
            << sketch({down(9, 11, 56, 14)})
            << QStringList {"column 9, row 11: error: wall-gap: the wall stops at this cell's "
                            "north side"};
        QTest::newRow("gate turned across its wall, and nothing else said of it")
            << sketch({across(0, 12, 54, 35), {9, 12, {{60}}}})
            << QStringList {"column 9, row 12: error: gate-across: \"Wooden Gate: Vertical\" "
                            "stands in a horizontal wall"};
        QTest::newRow("wall running into the side of another")
            << sketch({across(0, 12, 54, 9), down(9, 0, 56, 25)})
            << QStringList {"column 8, row 12: error: wall-misjoin: the wall leaves this cell's "
                            "east side into \"Wall: Vertical\", which does not join it"};
        QTest::newRow("enclosure with guard posts, their free arms and gates")
            << sketch({{2, 2, {{53, 54, 61, 62, 55}, {56, 0, 0, 0, 64}, {57, 54, 63, 54, 59}}}})
            << QStringList {};
        QTest::newRow("gate opening onto water and onto a house")
            << sketch({across(0, 12, 54, 35), {17, 11, {{1}, {58}, {25}}}})
            << QStringList {"column 17, row 12: warning: gate-blocked: \"Wooden Gate: "
                            "Horizontal\" opens onto \"House\" to its north",
                   "column 17, row 12: warning: gate-blocked: \"Wooden Gate: Horizontal\" opens "
                   "onto \"Water\" to its south"};
        QTest::newRow("findings in cell order, row by row")
            << sketch({{30, 1, {{14}}}, {2, 8, {{13}}}, down(20, 3, 56, 1)})
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
