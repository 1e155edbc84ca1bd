// vellumor-map generate as users run it: every format export writes, the same
// bytes from the same seed, a printed command that makes the picked map
// again, and mistakes that write nothing.
#include "cli/ToolRunner.h"
#include "document/CellGrid.h"
#include "document/MapCodec.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace vellumor;
using namespace vellumor::testing;

class TestGenerateCommand : public QObject
{
    Q_OBJECT
private slots:
    void writesEveryFormat_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("map") << "town"
                             << "town.map" << QByteArray("");
        QTest::newRow("png") << "castle"
                             << "castle.png" << QByteArray("\x89PNG");
        QTest::newRow("pdf") << "valley"
                             << "valley.pdf" << QByteArray("%PDF");
        QTest::newRow("tmx") << "fort"
                             << "fort.tmx" << QByteArray("<?xml");
        QTest::newRow("tmj") << "town"
                             << "town.tmj" << QByteArray("{");
        QTest::newRow("csv") << "valley"
                             << "valley.csv" << QByteArray("");
    }

    void writesEveryFormat()
    {
        QFETCH(QString, kind);
        QFETCH(QString, file);
        QFETCH(QByteArray, start);
        QTemporaryDir dir;
        const QString out = dir.filePath(file);
        const Run run = runTool({QStringLiteral("generate"), kind, QStringLiteral("--seed"),
            QStringLiteral("3"), QStringLiteral("-o"), out});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QString());
        QCOMPARE(run.out, QString()); // the seed was given: nothing to repeat
        const QByteArray bytes = readFile(out);
        QVERIFY(bytes.size() > 100);
        QVERIFY(bytes.startsWith(start));
        if (file.endsWith(QLatin1String(".map")))
            QVERIFY(std::holds_alternative<MapCodes>(mapfile::decode(bytes)));
    }

    void fortForTheTabletopHasWallsAndDoors()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("fort.dd2vtt"));
        const Run run = runTool({QStringLiteral("generate"), QStringLiteral("fort"),
            QStringLiteral("--seed"), QStringLiteral("7"), QStringLiteral("-o"), out,
            QStringLiteral("--grid-size"), QStringLiteral("70")});
        QCOMPARE(run.status, 0);
        const QJsonObject uvtt = QJsonDocument::fromJson(readFile(out)).object();
        QVERIFY(uvtt.value(QLatin1String("line_of_sight")).toArray().size() >= 4);
        const int doors = int(uvtt.value(QLatin1String("portals")).toArray().size());
        QVERIFY2(doors >= 1 && doors <= 4, qPrintable(QString::number(doors)));
    }

    void sameSeedSameBytes_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("seed");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("castle, the largest seed") << "castle"
                                                  << "9223372036854775807"
                                                  << "map";
        // The picture inside is a PNG with a palette, in the same order every run.
        QTest::newRow("fort for the tabletop") << "fort"
                                               << "7"
                                               << "dd2vtt";
    }

    // Each run a process of its own, as a hash's order changes between processes.
    void sameSeedSameBytes()
    {
        QFETCH(QString, kind);
        QFETCH(QString, seed);
        QFETCH(QString, suffix);
        QTemporaryDir dir;
        QByteArray first;
        for (const char *name : {"a.", "b."}) {
            const QString out = dir.filePath(QLatin1String(name) + suffix);
            QCOMPARE(runTool({QStringLiteral("generate"), kind, QStringLiteral("--seed"), seed,
                                 QStringLiteral("-o"), out})
                         .status,
                0);
            if (first.isEmpty())
                first = readFile(out);
            else
                QVERIFY(readFile(out) == first);
        }
        const QString other = dir.filePath(QStringLiteral("c.") + suffix);
        QCOMPARE(runTool({QStringLiteral("generate"), kind, QStringLiteral("--seed"),
                             QStringLiteral("8"), QStringLiteral("-o"), other})
                     .status,
            0);
        QVERIFY(readFile(other) != first);
    }

    void pickedSeedIsPrintedToRepeat()
    {
        QTemporaryDir dir;
        const Run run = runTool({QStringLiteral("generate"), QStringLiteral("valley"),
                                    QStringLiteral("-o"), QStringLiteral("my valley.map")},
            dir.path());
        QCOMPARE(run.status, 0);
        const QString command = run.out.trimmed();
        QVERIFY2(command.startsWith(QLatin1String("vellumor-map generate valley --seed ")),
            qPrintable(command));
        QVERIFY(command.endsWith(QLatin1String(" -o 'my valley.map'")));
        const QByteArray made = readFile(dir.filePath(QStringLiteral("my valley.map")));
        QVERIFY(QFile::remove(dir.filePath(QStringLiteral("my valley.map"))));

        // The printed command, run by a shell, makes the same map again.
        QProcess shell;
        shell.setWorkingDirectory(dir.path());
        const QString script = QStringLiteral("\"$0\"") + command.mid(int(qstrlen("vellumor-map")));
        shell.start(QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"), script, QStringLiteral(VELLUMOR_MAP_TOOL)});
        QVERIFY(shell.waitForFinished(60000));
        QCOMPARE(shell.exitCode(), 0);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("my valley.map"))), made);
    }

    void keepsTheDrawingOrSaysWhyNot()
    {
        QTemporaryDir dir;
        // The church's left side alone: lint's error, and nothing written.
        MapCodes drawn {};
        drawn[std::size_t(cellIndex(3, 2))] = 13;
        QVERIFY(writeFile(dir.filePath(QStringLiteral("mine.map")), mapfile::encode(drawn)));
        const QStringList keep {QStringLiteral("generate"), QStringLiteral("town"),
            QStringLiteral("--keep"), QStringLiteral("mine.map"), QStringLiteral("--seed"),
            QStringLiteral("4"), QStringLiteral("-o"), QStringLiteral("out.map")};
        Run run = runTool(keep, dir.path());
        QCOMPARE(run.status, 1);
        QVERIFY2(run.out.startsWith(QLatin1String("mine.map: column 3, row 2: error: ")),
            qPrintable(run.out));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("out.map"))));

        // With its right side the church stands in the town as drawn, and
        // the same command makes the same bytes.
        drawn[std::size_t(cellIndex(4, 2))] = 14;
        QVERIFY(writeFile(dir.filePath(QStringLiteral("mine.map")), mapfile::encode(drawn)));
        run = runTool(keep, dir.path());
        QCOMPARE(run.status, 0);
        const QByteArray made = readFile(dir.filePath(QStringLiteral("out.map")));
        const MapCodes codes = std::get<MapCodes>(mapfile::decode(made));
        QCOMPARE(codes[std::size_t(cellIndex(3, 2))], SymbolCode(13));
        QCOMPARE(codes[std::size_t(cellIndex(4, 2))], SymbolCode(14));
        QCOMPARE(runTool(keep, dir.path()).status, 0);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("out.map"))), made);
    }

    void mistakesWriteNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        const QString out = QStringLiteral("out.map");
        QTest::newRow("unknown kind")
            << QStringList {"dungeon", "-o", out} << "unknown kind of map 'dungeon'";
        QTest::newRow("no kind") << QStringList {"-o", out} << "no kind of map given";
        QTest::newRow("negative seed")
            << QStringList {"town", "--seed", "-1", "-o", out} << "the seed must be";
        QTest::newRow("seed too large") << QStringList {"town", "--seed", "9223372036854775808",
            "-o", out} << "the seed must be";
        QTest::newRow("seed not a number")
            << QStringList {"town", "--seed", "7x", "-o", out} << "the seed must be";
        QTest::newRow("no output") << QStringList {"town"} << "no output file given";
        QTest::newRow("unknown suffix")
            << QStringList {"town", "-o", "town.txt"} << "cannot tell the format of 'town.txt'";
        QTest::newRow("option of another format")
            << QStringList {"fort", "--scale", "2", "-o", out} << "--scale does not apply";
        QTest::newRow("two seeds")
            << QStringList {"town", "--seed", "1", "--seed", "2", "-o", out} << "--seed given";
        QTest::newRow("two outputs") << QStringList {"town", "-o", "a.map", "--output", out}
                                     << "-o given more than once ('a.map', 'out.map')";
        QTest::newRow("five gates")
            << QStringList {"town", "--gates", "5", "-o", out} << "--gates takes 1 to 4";
        QTest::newRow("gates in a valley")
            << QStringList {"valley", "--gates", "2", "-o", out} << "a valley has no walls";
        QTest::newRow("river in a fort")
            << QStringList {"fort", "--river", "-o", out} << "--river and --no-river are for";
        QTest::newRow("river and none") << QStringList {"town", "--river", "--no-river", "-o", out}
                                        << "--river and --no-river contradict";
    }

    void mistakesWriteNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const Run run = runTool(QStringList {QStringLiteral("generate")} + arguments, dir.path());
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.startsWith(QStringLiteral("vellumor-map: generate: ") + message),
            qPrintable(run.err));
        QVERIFY2(run.err.endsWith(QStringLiteral("\nTry 'vellumor-map generate --help'.\n")),
            qPrintable(run.err));
        QCOMPARE(run.err.count(QLatin1Char('\n')), 2);
        QCOMPARE(
            QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestGenerateCommand)
#include "test_generate_command.moc"
