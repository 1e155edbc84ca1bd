#include "MapSketch.h"
#include "document/MapFileReader.h"
#include "generate/MapGenerator.h"
#include "rules/Sight.h"
#include "symbols/SymbolJoins.h"
#include "symbols/SymbolNames.h"

#include <QDir>
#include <QTest>

#include <variant>

using namespace vellumor;
using namespace vellumor::sym;
using rules::MapSight;
using testing::across;
using testing::down;
using testing::sketch;

namespace {

QList<MapCodes> sampleMaps()
{
    QList<MapCodes> maps;
    const QDir examples(QStringLiteral(VELLUMOR_EXAMPLES_DIR));
    for (const QString &name : examples.entryList({QStringLiteral("*.map")}, QDir::Files)) {
        const auto read = readMapFile(examples.filePath(name));
        if (std::holds_alternative<MapCodes>(read))
            maps.append(std::get<MapCodes>(read));
    }
    return maps;
}

CellPlace placeOf(std::size_t index)
{
    return fromReadingIndex(int(index));
}

// A ring of wall pieces from (left, top) to (right, bottom), a gate in its top
// side, on grass inside and `outside` beyond.
MapCodes walledRectangle(int left, int top, int right, int bottom, int outside)
{
    MapCodes codes = sketch({});
    codes.fill(SymbolCode(outside));
    const int width = right - left - 1, height = bottom - top - 1;
    const MapCodes ring = sketch({{left, top, {{WallSE}}},
        across(left + 1, top, WallHorizontal, width), {right, top, {{WallSW}}},
        down(left, top + 1, WallVertical, height), down(right, top + 1, WallVertical, height),
        {left, bottom, {{WallNE}}}, across(left + 1, bottom, WallHorizontal, width),
        {right, bottom, {{WallNW}}}, {(left + right) / 2, top, {{IronGateHorizontal}}}});
    for (int column = left; column <= right; ++column) {
        for (int row = top; row <= bottom; ++row) {
            const bool inside = column > left && column < right && row > top && row < bottom;
            const auto index = std::size_t(cellIndex(column, row));
            codes[index] = inside ? SymbolCode(Grass) : ring[index];
        }
    }
    return codes;
}

} // namespace

class TestSight : public QObject
{
    Q_OBJECT

private slots:
    void blockingFollowsTheSymbols()
    {
        for (const int code :
            {House, InnTopLeft, ChurchRight, CastleTopCenter, TowerBottom, WallHorizontal, WallNW,
                WoodenGateVertical, IronGateHorizontal, GuardPostRound, Mountain, MountainCave,
                Volcano, TreesEvergreen, TreesDeciduous, TreesOldEvergreen})
            QVERIFY2(blocksSight(code), qPrintable(QString::number(code)));
        for (const int code :
            {Blank, TreesDead, Hills, Water, LakeTopLeft, RiverNE, PondRiverJoint, Grass, DryGrass,
                Sand, SandScrub, SandPalm, Swamp, Wagon, Well, Cemetery, CemeteryDestroyed})
            QVERIFY2(!blocksSight(code), qPrintable(QString::number(code)));
    }

    // Two cells that do not block see each other or neither does, on every
    // sample and on generated maps of every kind, with and without a range.
    void sightIsSymmetric()
    {
        QList<MapCodes> maps = sampleMaps();
        QCOMPARE(maps.size(), 3);
        for (std::uint64_t seed = 0; seed < 250; ++seed) {
            for (const auto kind : rules::kMapKinds)
                maps.append(*generate::generateMap(kind, seed));
        }
        for (int m = 0; m < maps.size(); ++m) {
            const MapSight sight(maps[m]);
            const std::optional<int> range = m % 7 == 3 ? std::optional<int>(4) : std::nullopt;
            std::vector<CellSet> seen(kCellCount);
            for (std::size_t i = 0; i < seen.size(); ++i)
                seen[i] = sight.seenFrom(placeOf(i), range);
            for (std::size_t a = 0; a < seen.size(); ++a) {
                if (sight.blocks(placeOf(a)))
                    continue;
                for (std::size_t b = a + 1; b < seen.size(); ++b) {
                    if (!sight.blocks(placeOf(b)) && seen[a][b] != seen[b][a])
                        QFAIL(qPrintable(
                            QStringLiteral("map %1: cells %2 and %3").arg(m).arg(a).arg(b)));
                }
            }
        }
    }

    // From every cell of a walled yard, every piece of its wall is seen, the
    // corners too, and nothing beyond it, whatever stands outside.
    void aClosedRingShowsAllOfItselfAndNothingBeyond()
    {
        const struct
        {
            int left, top, right, bottom, outside;
        } yards[] = {{2, 2, 12, 8, Grass}, {0, 0, 34, 24, Grass}, {20, 10, 22, 12, Sand},
            {5, 3, 30, 21, TreesDead}, {15, 1, 19, 23, Water}};
        for (const auto &yard : yards) {
            const MapCodes codes
                = walledRectangle(yard.left, yard.top, yard.right, yard.bottom, yard.outside);
            const MapSight sight(codes);
            for (int column = yard.left + 1; column < yard.right; ++column) {
                for (int row = yard.top + 1; row < yard.bottom; ++row) {
                    const CellSet seen = sight.seenFrom({column, row});
                    for (std::size_t i = 0; i < seen.size(); ++i) {
                        const CellPlace cell = placeOf(i);
                        const bool inRing = cell.column >= yard.left && cell.column <= yard.right
                            && cell.row >= yard.top && cell.row <= yard.bottom;
                        QVERIFY2(seen[i] == inRing,
                            qPrintable(QStringLiteral("from %1,%2: %3,%4")
                                           .arg(column)
                                           .arg(row)
                                           .arg(cell.column)
                                           .arg(cell.row)));
                    }
                }
            }
        }
    }

    // A line of trees standing corner to corner hides all that lies beyond it,
    // in either diagonal and from either side.
    void noSightThroughACornerJoint()
    {
        for (int offset = -20; offset <= 50; offset += 7) {
            for (const bool falling : {false, true}) {
                MapCodes codes = sketch({});
                auto beyond = [&](CellPlace cell) {
                    return falling ? cell.row - cell.column - offset
                                   : cell.row + cell.column - offset;
                };
                for (int column = 0; column < kMapColumns; ++column) {
                    const int row = falling ? column + offset : offset - column;
                    if (row >= 0 && row < kMapRows)
                        codes[std::size_t(cellIndex(column, row))] = TreesDeciduous;
                }
                const MapSight sight(codes);
                for (std::size_t from = 0; from < std::size_t(kCellCount); ++from) {
                    if (sight.blocks(placeOf(from)))
                        continue;
                    const CellSet seen = sight.seenFrom(placeOf(from));
                    for (std::size_t to = 0; to < seen.size(); ++to) {
                        if (seen[to] && !sight.blocks(placeOf(to)))
                            QVERIFY((beyond(placeOf(from)) > 0) == (beyond(placeOf(to)) > 0));
                    }
                }
            }
        }
    }

    void aRangeCutsSightBetweenCentres()
    {
        const MapSight sight(sketch({}));
        const CellPlace origin {10, 10};
        const CellSet torch = sight.seenFrom(origin, 4);
        for (std::size_t i = 0; i < torch.size(); ++i) {
            const CellPlace cell = placeOf(i);
            const int dx = cell.column - origin.column, dy = cell.row - origin.row;
            QCOMPARE(torch[i], dx * dx + dy * dy <= 16);
        }
        QVERIFY(sight.seenFrom(origin).all());
        QVERIFY(sight.seenFrom({-1, 3}).none());
    }
};

QTEST_GUILESS_MAIN(TestSight)
#include "test_sight.moc"
