#include "MapSketch.h"

#include "rules/MapFix.h"
#include "symbols/SymbolCatalog.h"
#include "symbols/SymbolJoins.h"
#include "symbols/SymbolNames.h"

#include <QTest>

#include <cstdint>

using namespace vellumor;
using namespace vellumor::rules;
using vellumor::testing::across;
using vellumor::testing::down;
using vellumor::testing::sketch;

Q_DECLARE_METATYPE(vellumor::MapCodes)

namespace {

// The cells fix changed, as diff prints them: "column 13, row 4: Blank ->
// Church: Right Side".
QStringList changes(const MapCodes &before, const MapCodes &after)
{
    const auto name = [](int code) {
        return code == kBlankSymbol ? QStringLiteral("Blank") : symbolName(code);
    };
    QStringList lines;
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            const auto index = std::size_t(cellIndex(column, row));
            if (before[index] != after[index]) {
                lines << QStringLiteral("column %1, row %2: %3 -> %4")
                             .arg(column)
                             .arg(row)
                             .arg(name(before[index]), name(after[index]));
            }
        }
    }
    return lines;
}

// What fix left, by rule, with the reason it gives.
QStringList left(const FixResult &fixed)
{
    QStringList lines;
    for (const Finding &finding : fixed.unmended)
        lines << finding.rule + QStringLiteral(" (") + unmendedReason(fixed.codes, finding) + ')';
    return lines;
}

// Maps of river and wall pieces, gates, posts, picture pieces and blanks
// thrown together, the same on every run.
MapCodes scrambled(std::uint64_t seed)
{
    static constexpr SymbolCode kPieces[] = {sym::Blank, sym::Blank, sym::Blank, sym::InnTopLeft,
        sym::ChurchLeft, sym::ChurchRight, sym::CastleTopLeft, sym::TowerTop, sym::Water,
        sym::RiverHorizontal, sym::PondRiverJoint, sym::RiverVertical, sym::RiverNE, sym::RiverSW,
        sym::WallSE, sym::WallHorizontal, sym::WallVertical, sym::WoodenGateHorizontal, sym::WallNW,
        sym::WoodenGateVertical, sym::GuardPostSquare, sym::IronGateVertical};
    MapCodes codes {};
    std::uint64_t state = seed * 0x9E3779B97F4A7C15ull + 1;
    for (auto &code : codes) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        code = kPieces[state % std::size(kPieces)];
    }
    return codes;
}

} // namespace

class TestFix : public QObject
{
    Q_OBJECT
private slots:
    void mends_data()
    {
        QTest::addColumn<MapCodes>("map");
        QTest::addColumn<QStringList>("changed");
        QTest::addColumn<QStringList>("left");

        QTest::newRow("church completed")
            << sketch({{12, 4, {{sym::ChurchLeft}}}})
            << QStringList {"column 13, row 4: Blank -> Church: Right Side"} << QStringList {};
        QTest::newRow("inn completed from its bottom right piece")
            << sketch({{1, 1, {{sym::InnBottomRight}}}})
            << QStringList {"column 0, row 0: Blank -> Inn: Top Left",
                   "column 1, row 0: Blank -> Inn: Top Right",
                   "column 0, row 1: Blank -> Inn: Bottom Left"}
            << QStringList {};
        QTest::newRow("church whose right side is built over")
            << sketch({{12, 4, {{sym::ChurchLeft, sym::House}}}}) << QStringList {}
            << QStringList {"church-incomplete (the cells it needs are not blank)"};
        QTest::newRow("two churches that would share a cell")
            << sketch({{3, 3, {{sym::ChurchLeft, sym::Blank, sym::ChurchRight}}}}) << QStringList {}
            << QStringList {"church-incomplete (another picture needs the same cells)",
                   "church-incomplete (another picture needs the same cells)"};
        QTest::newRow("castle cut by the map's edge")
            << sketch({{34, 0, {{sym::CastleTopLeft}}}}) << QStringList {}
            << QStringList {"castle-incomplete (the map's edge cuts it)",
                   "castle-incomplete (the map's edge cuts it)"};
        QTest::newRow("lake corner: more than one answer")
            << sketch({{5, 5, {{sym::LakeTopLeft}}}}) << QStringList {}
            << QStringList {"lake-incomplete (more than one piece would do)",
                   "lake-incomplete (more than one piece would do)"};

        // River and wall pieces become the one piece their neighbours ask for.
        QTest::newRow("straight river where a bend belongs")
            << sketch({down(5, 0, sym::RiverVertical, 6), across(6, 5, sym::RiverHorizontal, 29)})
            << QStringList {"column 5, row 5: River: Vertical -> River: N-E turn"}
            << QStringList {};
        QTest::newRow("river turn where the river runs straight past a tree")
            << sketch({down(8, 0, sym::RiverVertical, 25), {7, 9, {{sym::TreesDeciduous}}},
                   {8, 9, {{sym::RiverSW}}}})
            << QStringList {"column 8, row 9: River: S-W turn -> River: Vertical"}
            << QStringList {};
        QTest::newRow("corner where two walls meet")
            << sketch({across(0, 12, sym::WallHorizontal, 10), down(9, 13, sym::WallVertical, 12)})
            << QStringList {"column 9, row 12: Wall: Horizontal -> Wall: S-W corner"}
            << QStringList {};
        QTest::newRow("upright piece and corner in a wall along the map's top row")
            << sketch({across(0, 0, sym::WallHorizontal, 35), {12, 0, {{sym::WallVertical}}},
                   {20, 0, {{sym::WallNE}}}})
            << QStringList {"column 12, row 0: Wall: Vertical -> Wall: Horizontal",
                   "column 20, row 0: Wall: N-E corner -> Wall: Horizontal"}
            << QStringList {};
        QTest::newRow("gates turned to fit their walls, keeping their material")
            << sketch({across(0, 12, sym::WallHorizontal, 35), {9, 12, {{sym::WoodenGateVertical}}},
                   {20, 12, {{sym::IronGateHorizontal}}}})
            << QStringList {"column 9, row 12: Wooden Gate: Vertical -> Wooden Gate: Horizontal"}
            << QStringList {};
        QTest::newRow("iron gate in a vertical wall")
            << sketch({down(3, 0, sym::WallVertical, 25), {3, 7, {{sym::IronGateHorizontal}}}})
            << QStringList {"column 3, row 7: Iron Gate: Horizontal -> Iron Gate: Vertical"}
            << QStringList {};
        QTest::newRow("gate across a wall that meets it through guard posts")
            << sketch({across(0, 6, sym::WallHorizontal, 35),
                   {9, 6, {{sym::GuardPostSquare, sym::IronGateVertical, sym::GuardPostRound}}}})
            << QStringList {"column 10, row 6: Iron Gate: Vertical -> Iron Gate: Horizontal"}
            << QStringList {};

        // One-cell holes between two ends that point at each other.
        QTest::newRow("hole in a wall and in a river")
            << sketch({across(0, 3, sym::WallHorizontal, 35), {17, 3, {{sym::Blank}}},
                   across(0, 20, sym::RiverHorizontal, 35), {12, 20, {{sym::Blank}}}})
            << QStringList {"column 17, row 3: Blank -> Wall: Horizontal",
                   "column 12, row 20: Blank -> River: Horizontal"}
            << QStringList {};
        QTest::newRow("hole at the corner of a wall")
            << sketch({across(0, 8, sym::WallHorizontal, 6), down(6, 9, sym::WallVertical, 16)})
            << QStringList {"column 6, row 8: Blank -> Wall: S-W corner"} << QStringList {};
        QTest::newRow("hole that a river and a wall both lead into")
            << sketch({across(0, 8, sym::WallHorizontal, 6), across(7, 8, sym::WallHorizontal, 28),
                   down(6, 0, sym::RiverVertical, 8), down(6, 9, sym::RiverVertical, 16)})
            << QStringList {}
            << QStringList {"river-open-end (only one side joins a river, and no piece ends "
                            "one here)",
                   "wall-gap (only one side joins a wall, and no piece ends one here)",
                   "wall-gap (only one side joins a wall, and no piece ends one here)",
                   "river-open-end (only one side joins a river, and no piece ends one here)"};

        // Left, with the true reason.
        QTest::newRow("wall that stops")
            << sketch({down(9, 11, sym::WallVertical, 14)}) << QStringList {}
            << QStringList {"wall-gap (only one side joins a wall, and no piece ends one here)"};
        QTest::newRow("wall into the side of another")
            << sketch({across(0, 12, sym::WallHorizontal, 9), down(9, 0, sym::WallVertical, 25)})
            << QStringList {}
            << QStringList {"wall-misjoin (more than two runs meet: only a junction joins them, "
                            "and fix adds none)"};
        QTest::newRow("gate where a wall turns")
            << sketch({across(0, 8, sym::WallHorizontal, 6), {6, 8, {{sym::WoodenGateHorizontal}}},
                   down(6, 9, sym::WallVertical, 16)})
            << QStringList {}
            << QStringList {"wall-gap (a gate stands only in a straight wall)",
                   "gate-blocked (left as drawn)",
                   "wall-misjoin (a gate stands only in a straight wall)"};
        QTest::newRow("gates in no wall")
            << sketch({down(4, 4, sym::IronGateVertical, 2)}) << QStringList {}
            << QStringList {"gate-without-wall (a gate needs a wall to stand in)",
                   "gate-without-wall (a gate needs a wall to stand in)"};
        QTest::newRow("guard posts are never replaced")
            << sketch({across(0, 4, sym::WallHorizontal, 35), {10, 4, {{sym::GuardPostSquare}}},
                   down(10, 0, sym::WallVertical, 4)})
            << QStringList {} << QStringList {};
        QTest::newRow("a blocked gate is only warned of")
            << sketch({across(0, 12, sym::WallHorizontal, 35), {17, 13, {{sym::Water}}},
                   {17, 12, {{sym::WoodenGateHorizontal}}}})
            << QStringList {} << QStringList {"gate-blocked (left as drawn)"};
    }

    void mends()
    {
        QFETCH(MapCodes, map);
        QFETCH(QStringList, changed);
        QFETCH(QStringList, left);
        const FixResult fixed = fixMap(map);
        QCOMPARE(changes(map, fixed.codes), changed);
        QCOMPARE(::left(fixed), left);
        QCOMPARE(fixed.unmended, lintMap(fixed.codes));
        QCOMPARE(fixMap(fixed.codes).codes, fixed.codes);
    }

    // Whatever it is given, fix changes only river and wall pieces and blank
    // cells, never leaves more errors, and changes nothing the second time.
    void neverWorseAndSettledAfterOneRun()
    {
        for (std::uint64_t seed = 0; seed < 200; ++seed) {
            const MapCodes map = scrambled(seed);
            const FixResult fixed = fixMap(map);
            QCOMPARE(errorCount(map), errorCount(lintMap(map)));
            QVERIFY2(
                errorCount(fixed.unmended) <= errorCount(map), qPrintable(QString::number(seed)));
            QVERIFY2(fixMap(fixed.codes).codes == fixed.codes, qPrintable(QString::number(seed)));
            for (std::size_t i = 0; i < map.size(); ++i) {
                const SymbolJoins &was = symbolJoins(map[i]);
                if (map[i] != fixed.codes[i])
                    QVERIFY(map[i] == kBlankSymbol || was.river || (was.wall && !was.junction));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestFix)
#include "test_fix.moc"
