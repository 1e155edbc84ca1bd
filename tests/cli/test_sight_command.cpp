// sight run as a separate process, the way people and scripts run it.
#include "cli/ToolRunner.h"
#include "document/MapCodec.h"
#include "rules/MapSketch.h"
#include "support/TestFiles.h"
#include "symbols/SymbolNames.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace vellumor;
using namespace vellumor::testing;

class TestSightCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // A hut of four walls in the top left corner, a house in the open.
        const MapCodes codes = sketch({{0, 0, {{sym::WallSE, sym::WallHorizontal, sym::WallSW}}},
            {0, 1, {{sym::WallVertical, 0, sym::WallVertical}}},
            {0, 2, {{sym::WallNE, sym::WoodenGateHorizontal, sym::WallNW}}},
            {10, 2, {{sym::House}}}});
        QVERIFY(writeFile(m_dir.filePath("hut.map"), mapfile::encode(codes)));
        QVERIFY(writeFile(m_dir.filePath("bad.map"), "1\r\nx\r\n"));
    }

    void printsTheMapAsRowsOfCharacters()
    {
        Run run = runTool({"sight", "hut.map", "1", "1"}, m_dir.path());
        QCOMPARE(run.status, 0);
        QStringList rows = run.out.split('\n');
        QCOMPARE(rows.size(), 26);
        QCOMPARE(rows.takeLast(), QString());
        QCOMPARE(rows[0], QStringLiteral("###") + QString(32, '.'));
        QCOMPARE(rows[1], QStringLiteral("#@#") + QString(32, '.'));
        QCOMPARE(rows[2], QStringLiteral("###") + QString(32, '.'));
        QCOMPARE(rows.mid(3), QStringList(22, QString(35, '.')));

        // In the open the house hides the cells behind it; a torch sees four cells.
        run = runTool({"sight", "hut.map", "14", "2"}, m_dir.path());
        QCOMPARE(run.out.split('\n')[2].left(16), QStringLiteral("..........####@#"));
        run = runTool({"sight", "hut.map", "20", "12", "--range", "4"}, m_dir.path());
        QCOMPARE(run.out.count('#'), 48);
        QCOMPARE(run.out.split('\n')[12].mid(15, 11), QStringLiteral(".####@####."));
    }

    void pngShadesWhatIsNotSeen()
    {
        QCOMPARE(runTool({"sight", "hut.map", "1", "1", "--png", "s.png"}, m_dir.path()).status, 0);
        QCOMPARE(runTool({"export", "hut.map", "-o", "plain.png"}, m_dir.path()).status, 0);
        const QImage shaded = QImage(m_dir.filePath("s.png")).convertToFormat(QImage::Format_RGB32);
        const QImage plain
            = QImage(m_dir.filePath("plain.png")).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shaded.size(), plain.size());
        QCOMPARE(shaded.pixel(2 * 15 + 7, 7), plain.pixel(2 * 15 + 7, 7)); // a wall, seen
        QVERIFY(qGray(shaded.pixel(20 * 15 + 7, 20 * 15 + 7))
            < qGray(plain.pixel(20 * 15 + 7, 20 * 15 + 7)) - 64);
    }

    void mistakesAreOneLineAndAStatus_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("problem");
        QTest::newRow("off the map") << QStringList {"hut.map", "35",
            "0"} << 2 << "column 35, row 0 is not on the map: columns 0 to 34, rows 0 to 24";
        QTest::newRow("not a number") << QStringList {"hut.map", "1",
            "x"} << 2 << "column 1, row x is not on the map: columns 0 to 34, rows 0 to 24";
        QTest::newRow("range under 1") << QStringList {"hut.map", "1", "1", "--range", "0"} << 2
                                       << "--range takes 1 to 99, not '0'";
        QTest::newRow("no cell") << QStringList {"hut.map"} << 2
                                 << "give the map, a column and a row";
        QTest::newRow("unreadable map") << QStringList {"bad.map", "1", "1"} << 1 << "bad.map:2:";
    }
    void mistakesAreOneLineAndAStatus()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, problem);
        const Run run = runTool(QStringList {"sight"} + arguments, m_dir.path());
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.contains(problem), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestSightCommand)
#include "test_sight_command.moc"
