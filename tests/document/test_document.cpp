#include "document/CellGrid.h"
#include "document/CellSet.h"
#include "document/Standard.h"

#include <QTest>

#include <algorithm>

using namespace vellumor;

class TestDocument : public QObject
{
    Q_OBJECT
private slots:
    void startsEmpty()
    {
        const Standard document;
        QVERIFY(std::all_of(document.MapCells.begin(), document.MapCells.end(),
            [](SymbolCode c) { return c == 0; }));
        QCOMPARE(document.CurrentSymbol, SymbolCode(0));
        QVERIFY(!document.hasCurrentFile());
    }

    void currentFileNeedsBothNames()
    {
        Standard document;
        document.MapDirectory = QStringLiteral("/maps");
        QVERIFY(!document.hasCurrentFile());
        document.MapFileName = QStringLiteral("castle.map");
        QVERIFY(document.hasCurrentFile());
        document.MapDirectory.clear();
        QVERIFY(!document.hasCurrentFile());
    }

    void landmarkCells_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::newRow("bottom-left") << 0 << 0 << 24;
        QTest::newRow("top-left") << 24 << 0 << 0;
        QTest::newRow("bottom of second column") << 25 << 1 << 24;
        QTest::newRow("centre") << 437 << 17 << 12;
        QTest::newRow("bottom-right") << 850 << 34 << 24;
        QTest::newRow("top-right") << 874 << 34 << 0;
    }
    void landmarkCells()
    {
        QFETCH(int, index);
        QFETCH(int, column);
        QFETCH(int, row);
        QCOMPARE(cellPlace(index), (CellPlace {column, row}));
        QCOMPARE(cellIndex(column, row), index);
    }

    void numberingIsABijection()
    {
        QVector<bool> seen(kCellCount, false);
        for (int column = 0; column < kMapColumns; ++column) {
            for (int row = 0; row < kMapRows; ++row) {
                const int index = cellIndex(column, row);
                QVERIFY(isCellIndex(index));
                QVERIFY(!seen[index]);
                seen[index] = true;
                QCOMPARE(cellPlace(index), (CellPlace {column, row}));
            }
        }
        QVERIFY(!isCellIndex(-1));
        QVERIFY(!isCellIndex(kCellCount));
    }

    // The reading order runs row by row from the top left, the other way
    // round from the file's; a set of cells keeps them in it, and has no
    // cells off the map.
    void readingOrderAndSetsOfCells()
    {
        QCOMPARE(readingIndex({0, 0}), 0);
        QCOMPARE(readingIndex({34, 0}), 34);
        QCOMPARE(readingIndex({0, 1}), 35);
        QCOMPARE(readingIndex({34, 24}), kCellCount - 1);
        for (int index = 0; index < kCellCount; ++index)
            QCOMPARE(readingIndex(fromReadingIndex(index)), index);

        CellSet cells;
        for (const CellPlace place : {CellPlace {3, 2}, CellPlace {0, 24}, CellPlace {-1, 0},
                 CellPlace {35, 0}, CellPlace {0, 25}})
            cells.add(place);
        QCOMPARE(cells.count(), std::size_t(2));
        QVERIFY(cells.contains({3, 2}) && !cells.contains({2, 3}) && !cells.contains({-1, 0}));
        QVector<CellPlace> order;
        cells.forEach([&](CellPlace place) { order.append(place); });
        QCOMPARE(order, (QVector<CellPlace> {{3, 2}, {0, 24}}));
        QCOMPARE(CellRect(kWholeMap).width() * kWholeMap.height(), kCellCount);
    }
};

QTEST_GUILESS_MAIN(TestDocument)
#include "test_document.moc"
