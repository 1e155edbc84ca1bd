#include "CellGrid.h"
#include "Standard.h"

#include <QTest>

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
};

QTEST_GUILESS_MAIN(TestDocument)
#include "test_document.moc"
