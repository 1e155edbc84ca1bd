#include "dialogs/MapNameRule.h"

#include <QTest>

using namespace vellumor;

class TestMapNameRule : public QObject
{
    Q_OBJECT
private slots:
    void givesEveryNameTheMapSuffix_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("already a map") << "Map1.map"
                                       << "Map1.map";
        QTest::newRow("no dot") << "castle"
                                << "castle.map";
        QTest::newRow("other suffix") << "castle.txt"
                                      << "castle.map";
        QTest::newRow("suffix in capitals") << "castle.MAP"
                                            << "castle.map";
        QTest::newRow("two dots") << "town.old.map"
                                  << "town.map";
        QTest::newRow("trailing dot") << "castle."
                                      << "castle.map";
        QTest::newRow("empty") << ""
                               << ".map";
        QTest::newRow("only the suffix") << ".map"
                                         << ".map";
        QTest::newRow("leading dot") << ".hidden.txt"
                                     << ".map";
        QTest::newRow("non-ASCII")
            << QStringLiteral("château.bak") << QStringLiteral("château.map");
    }
    void givesEveryNameTheMapSuffix()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QCOMPARE(withMapSuffix(before), after);
        QCOMPARE(withMapSuffix(after), after); // a second focus loss changes nothing
    }
};

QTEST_APPLESS_MAIN(TestMapNameRule)
#include "test_map_name_rule.moc"
