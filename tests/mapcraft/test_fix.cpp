#include "MapSketch.h"

#include "mapcraft/MapFix.h"
#include "symbols/SymbolJoins.h"

#include <QTest>

#include <cstdint>

using namespace vellumor;
using namespace vellumor::mapcraft;
using vellumor::testing::across;
using vellumor::testing::down;
using vellumor::testing::sketch;

Q_DECLARE_METATYPE(vellumor::MapCodes)

namespace {

// The cells fix changed, as diff prints them: "column 13, row 4: 0 -> 14".
QStringList changes(const MapCodes &before, const MapCodes &after)
{
    QStringList lines;
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            const auto index = std::size_t(cellIndex(column, row));
            if (before[index] != after[index]) {
                lines << QStringLiteral("column %1, row %2: %3 -> %4")
                             .arg(column)
                             .arg(row)
                             .arg(before[index])
                             .arg(after[index]);
            }
        }
    }
    return lines;
}

QStringList rules(const QList<Finding> &findings)
{
    QStringList names;
    for (const Finding &finding : findings)
        names << finding.rule;
    return names;
}

// Maps of river and wall pieces, gates, posts, picture pieces and blanks
// thrown together, the same on every run.
MapCodes scrambled(std::uint64_t seed)
{
    static constexpr SymbolCode kPieces[]
        = {0, 0, 0, 5, 13, 14, 17, 20, 25, 28, 30, 32, 33, 36, 53, 54, 56, 58, 59, 60, 61, 64};
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
            << sketch({{12, 4, {{13}}}}) << QStringList {"column 13, row 4: 0 -> 14"}
            << QStringList {};
        QTest::newRow("inn completed from its bottom right piece")
            << sketch({{1, 1, {{10}}}})
            << QStringList {"column 0, row 0: 0 -> 5", "column 1, row 0: 0 -> 6",
                   "column 0, row 1: 0 -> 9"}
            << QStringList {};
        QTest::newRow("church whose right side is built over")
            << sketch({{12, 4, {{13, 1}}}}) << QStringList {} << QStringList {"church-incomplete"};
        QTest::newRow("two churches that would share a cell")
            << sketch({{3, 3, {{13, 0, 14}}}}) << QStringList {}
            << QStringList {"church-incomplete", "church-incomplete"};
        QTest::newRow("castle cut by the map's edge")
            << sketch({{34, 0, {{17}}}}) << QStringList {}
            << QStringList {"castle-incomplete", "castle-incomplete"};
        QTest::newRow("lake corner: more than one answer")
            << sketch({{5, 5, {{26}}}}) << QStringList {}
            << QStringList {"lake-incomplete", "lake-incomplete"};
        QTest::newRow("straight river where a bend belongs")
            << sketch({down(5, 0, 32, 6), across(6, 5, 28, 29)})
            << QStringList {"column 5, row 5: 32 -> 33"} << QStringList {};
        QTest::newRow("corner where two walls meet")
            << sketch({across(0, 12, 54, 10), down(9, 13, 56, 12)})
            << QStringList {"column 9, row 12: 54 -> 55"} << QStringList {};
        QTest::newRow("gates turned to fit their walls, keeping their material")
            << sketch({across(0, 12, 54, 35), {9, 12, {{60}}}, {20, 12, {{62}}}})
            << QStringList {"column 9, row 12: 60 -> 58"} << QStringList {};
        QTest::newRow("iron gate in a vertical wall")
            << sketch({down(3, 0, 56, 25), {3, 7, {{62}}}})
            << QStringList {"column 3, row 7: 62 -> 64"} << QStringList {};
        QTest::newRow("wall that stops: no piece fits")
            << sketch({down(9, 11, 56, 14)}) << QStringList {} << QStringList {"wall-gap"};
        QTest::newRow("wall into the side of another: no piece fits")
            << sketch({across(0, 12, 54, 9), down(9, 0, 56, 25)}) << QStringList {}
            << QStringList {"wall-misjoin"};
        QTest::newRow("guard posts are never replaced")
            << sketch({across(0, 4, 54, 35), {10, 4, {{61}}}, down(10, 0, 56, 4)}) << QStringList {}
            << QStringList {};
        QTest::newRow("a blocked gate is only warned of")
            << sketch({across(0, 12, 54, 35), {17, 13, {{25}}}, {17, 12, {{58}}}}) << QStringList {}
            << QStringList {"gate-blocked"};
    }

    void mends()
    {
        QFETCH(MapCodes, map);
        QFETCH(QStringList, changed);
        QFETCH(QStringList, left);
        const FixResult fixed = fixMap(map);
        QCOMPARE(changes(map, fixed.codes), changed);
        QCOMPARE(rules(fixed.unmended), left);
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
