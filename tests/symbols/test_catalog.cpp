#include "pictures/SymbolPictures.h"
#include "symbols/SymbolCatalog.h"
#include "symbols/SymbolNames.h"

#include <QSet>
#include <QTest>

using namespace vellumor;

namespace {

struct Range
{
    int first;
    int last;
};

} // namespace

class TestCatalog : public QObject
{
    Q_OBJECT
private slots:
    // The families the rules and the generator count by, held against what
    // the names say, so that a row given the wrong family is caught.
    void familiesAgreeWithTheNames()
    {
        for (int code = 0; code <= kHighestSymbolCode; ++code) {
            const QString name = symbolName(code);
            const auto startsWith
                = [&](const char *text) { return name.startsWith(QLatin1String(text)); };
            QCOMPARE(isTrees(code), startsWith("Trees"));
            QCOMPARE(isHighland(code), startsWith("Mountain") || startsWith("Volcano"));
            QCOMPARE(isLake(code), name == QLatin1String("Water") || startsWith("Lake"));
            QCOMPARE(
                isWater(code), isLake(code) || startsWith("River") || startsWith("Small Pond"));
            QCOMPARE(
                symbolFamily(code) == Family::Castle, startsWith("Castle:") || startsWith("Tower"));
            QCOMPARE(isPatch(code), startsWith("Plains") || startsWith("Swamp"));
            QCOMPARE(
                isBuilding(code), symbolInfo(code)->set == SymbolSet::Town && !isWalkable(code));
        }
        const std::vector<SymbolCode> living(livingTrees().begin(), livingTrees().end());
        QCOMPARE(living,
            (std::vector<SymbolCode> {
                sym::TreesEvergreen, sym::TreesDeciduous, sym::TreesOldEvergreen}));
        for (const int outside : {-1, kHighestSymbolCode + 1}) {
            QVERIFY(!isWalkable(outside) && !blocksSight(outside) && !isBuilding(outside));
            QCOMPARE(symbolFamily(outside), Family::Open);
        }
    }

    void tableIsIndexedByCodeAndComplete()
    {
        QCOMPARE(symbolTable().size(), std::size_t(65));
        for (int code = 0; code <= 64; ++code) {
            const auto info = symbolInfo(code);
            QVERIFY(info);
            QCOMPARE(int(info->code), code);
            QVERIFY(!QString::fromLatin1(info->name).isEmpty());
        }
    }

    void namesAreExactlyAsUsersKnowThem_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("name");
        QTest::newRow("blank") << 0 << "Empty Square";
        QTest::newRow("first") << 1 << "House";
        QTest::newRow("store") << 4 << "General Store";
        QTest::newRow("inn") << 10 << "Inn: Bottom Right";
        QTest::newRow("misspelt cemetery") << 15 << "Cemetary";
        QTest::newRow("castle centre") << 22 << "Castle: Bottom Center";
        QTest::newRow("joint") << 30 << "Small Pond/River Joint";
        QTest::newRow("turn, lower-case") << 33 << "River: N-E turn";
        QTest::newRow("old evergreen") << 39 << "Trees: Old Evergreen";
        QTest::newRow("scrub, lower-case") << 46 << "Sand with scrub";
        QTest::newRow("lower-case wagon") << 48 << "wagon";
        QTest::newRow("ruined cemetery") << 50 << "Cemetary: Destroyed";
        QTest::newRow("wall corner") << 53 << "Wall: S-E corner";
        QTest::newRow("last") << 64 << "Iron Gate: Vertical";
    }
    void namesAreExactlyAsUsersKnowThem()
    {
        QFETCH(int, code);
        QFETCH(QString, name);
        QCOMPARE(symbolName(code), name);
    }

    void namesAreUnique()
    {
        QSet<QString> names;
        for (int code = 0; code <= 64; ++code)
            names.insert(symbolName(code));
        QCOMPARE(names.size(), 65);
    }

    void codesOutsideTheCatalogHaveNoEntry()
    {
        for (int code : {-32768, -1, 65, 100, 32767}) {
            QVERIFY2(!symbolInfo(code), qPrintable(QString::number(code)));
            QVERIFY(symbolName(code).isEmpty());
            QVERIFY(!SymbolPicture(code));
        }
    }

    void everyCodeBelongsToTheSetOfItsRange()
    {
        QCOMPARE(symbolInfo(0)->set, SymbolSet::None);
        QCOMPARE(symbolInfo(0)->keyGroup, KeyGroup::None);
        const std::pair<Range, SymbolSet> ranges[] = {{{1, 24}, SymbolSet::Town},
            {{25, 44}, SymbolSet::Terrain1}, {{45, 64}, SymbolSet::Terrain2}};
        for (const auto &[range, set] : ranges) {
            for (int code = range.first; code <= range.last; ++code)
                QCOMPARE(symbolInfo(code)->set, set);
        }
        QCOMPARE(symbolSets().size(), std::size_t(3));
        for (const SymbolSetInfo &set : symbolSets()) {
            const auto [first, last]
                = std::find_if(std::begin(ranges), std::end(ranges), [&](const auto &r) {
                      return r.second == set.set;
                  })->first;
            QCOMPARE(int(set.firstCode), first);
            QCOMPARE(int(set.lastCode), last);
        }
    }

    void setCaptionsDifferFromFrameCaptions()
    {
        const SymbolSetInfo *sets = symbolSets().data();
        QCOMPARE(QString::fromLatin1(sets[0].buttonCaption), "Town");
        QCOMPARE(QString::fromLatin1(sets[1].buttonCaption), "Terrain1");
        QCOMPARE(QString::fromLatin1(sets[1].frameCaption), "Terrain 1");
        QCOMPARE(QString::fromLatin1(sets[2].buttonCaption), "Terrain2");
        QCOMPARE(QString::fromLatin1(sets[2].frameCaption), "Terrain 2");
        QCOMPARE(QString::fromLatin1(sets[2].frameObjectName), "fraTerrain2");
    }

    void keyGroupsCoverTheirCodes()
    {
        const std::pair<Range, KeyGroup> groups[] = {
            {{1, 16}, KeyGroup::Town},
            {{17, 24}, KeyGroup::Castle},
            {{25, 36}, KeyGroup::WaterRiver},
            {{37, 40}, KeyGroup::Forest},
            {{41, 44}, KeyGroup::Mountain},
            {{45, 48}, KeyGroup::Desert},
            {{49, 52}, KeyGroup::SwampPlains},
            {{53, 64}, KeyGroup::Walls},
        };
        for (const auto &[range, group] : groups) {
            for (int code = range.first; code <= range.last; ++code)
                QCOMPARE(symbolInfo(code)->keyGroup, group);
        }
    }

    void positionsAreUniqueWithinASetAndFindTheirSymbol()
    {
        for (int code = 1; code <= 64; ++code) {
            const SymbolInfo info = *symbolInfo(code);
            QVERIFY(info.column >= 0 && info.column <= 3);
            QVERIFY(info.row >= 0 && info.row <= 6);
            QCOMPARE(symbolAt(info.set, info.column, info.row), std::optional<SymbolCode>(code));
        }
        QVERIFY(!symbolAt(SymbolSet::Town, 4, 0));
    }

    void codesRunRowByRowExceptThePondBeforeTheLake()
    {
        QCOMPARE(symbolAt(SymbolSet::Terrain1, 0, 1), std::optional<SymbolCode>(30));
        QCOMPARE(symbolAt(SymbolSet::Terrain1, 1, 1), std::optional<SymbolCode>(29));
        for (const SymbolSetInfo &set : symbolSets()) {
            int previous = 0;
            for (int row = 0; row <= 6; ++row) {
                for (int column = 0; column <= 3; ++column) {
                    const auto code = symbolAt(set.set, column, row);
                    if (!code || *code == 29 || *code == 30)
                        continue;
                    QVERIFY2(*code > previous, qPrintable(QString::number(*code)));
                    previous = *code;
                }
            }
        }
    }

    void piecesStandInThePaletteAsTheyJoin()
    {
        // code, the code to its right, the code below it
        const int layout[][3] = {{5, 6, 9}, {9, 10, 0}, {13, 14, 0}, {17, 18, 21}, {18, 19, 22},
            {21, 22, 0}, {22, 23, 0}, {20, 0, 24}, {26, 27, 29}, {27, 0, 31}, {29, 31, 0}};
        for (const auto &[code, right, below] : layout) {
            const SymbolInfo info = *symbolInfo(code);
            if (right)
                QCOMPARE(symbolAt(info.set, info.column + 1, info.row),
                    std::optional<SymbolCode>(right));
            if (below)
                QCOMPARE(symbolAt(info.set, info.column, info.row + 1),
                    std::optional<SymbolCode>(below));
        }
    }

    void emptyRowsHoldTheLabelOfTheRowBelow()
    {
        const std::pair<SymbolSet, QList<int>> emptyRows[] = {
            {SymbolSet::Town, {4}}, {SymbolSet::Terrain1, {3, 5}}, {SymbolSet::Terrain2, {1, 3}}};
        for (const auto &[set, rows] : emptyRows) {
            for (int row = 0; row <= 6; ++row) {
                bool hasButton = false;
                for (int column = 0; column <= 3; ++column)
                    hasButton = hasButton || symbolAt(set, column, row).has_value();
                QCOMPARE(hasButton, !rows.contains(row));
            }
            for (int row : rows) {
                const auto label = std::find_if(
                    keyLabels().begin(), keyLabels().end(), [&, set = set](const KeyLabelInfo &l) {
                        return l.set == set && l.row == row + 1;
                    });
                QVERIFY2(label != keyLabels().end(), qPrintable(QString::number(row)));
            }
        }
    }

    void keyLabelsHeadTheRowsOfTheirGroup()
    {
        struct Expected
        {
            const char *objectName;
            const char *caption;
            SymbolSet set;
            int row;
        };
        const Expected expected[] = {
            {"lblTownKey", "Town", SymbolSet::Town, 0},
            {"lblCastleKey", "Castle", SymbolSet::Town, 5},
            {"lblWaterKey", "Water/River", SymbolSet::Terrain1, 0},
            {"lblForestKey", "Forest", SymbolSet::Terrain1, 4},
            {"lblMountainKey", "Mountain", SymbolSet::Terrain1, 6},
            {"lblDesertKey", "Desert", SymbolSet::Terrain2, 0},
            {"lblSwampKey", "Swamp/Plains", SymbolSet::Terrain2, 2},
            {"lblWallKey", "Walls", SymbolSet::Terrain2, 4},
        };
        QCOMPARE(keyLabels().size(), std::size(expected));
        for (std::size_t i = 0; i < std::size(expected); ++i) {
            const KeyLabelInfo &label = keyLabels()[i];
            QCOMPARE(
                QString::fromLatin1(label.objectName), QString::fromLatin1(expected[i].objectName));
            QCOMPARE(QString::fromLatin1(label.caption), QString::fromLatin1(expected[i].caption));
            QCOMPARE(label.set, expected[i].set);
            QCOMPARE(label.row, expected[i].row);
            // the first symbol of the headed row is in the label's group
            const auto first = symbolAt(label.set, 0, label.row);
            QVERIFY(first);
            QCOMPARE(symbolInfo(*first)->keyGroup, label.group);
        }
    }
};

QTEST_GUILESS_MAIN(TestCatalog)
#include "test_catalog.moc"
