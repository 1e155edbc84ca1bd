// vellumor-map run as a separate process, the way people and scripts run it:
// with no display and no platform chosen for it.
#include "cli/ToolRunner.h"
#include "document/MapCodec.h"
#include "mapview/frmChildMap.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace vellumor;
using namespace vellumor::testing;

namespace {

MapCodes sampleCodes()
{
    MapCodes codes {};
    // Every symbol, several times, in a pattern that tells the columns apart.
    for (int i = 0; i < kCellCount; ++i)
        codes[std::size_t(i)] = SymbolCode((i * 7 + i / 25) % (kHighestSymbolCode + 1));
    return codes;
}

const QStringList kCommands {QStringLiteral("check"), QStringLiteral("render"),
    QStringLiteral("export"), QStringLiteral("import"), QStringLiteral("diff"),
    QStringLiteral("generate"), QStringLiteral("lint"), QStringLiteral("fix")};

QImage viewGrab(const MapCodes &codes, bool gridLines)
{
    Standard document;
    document.MapCells = codes;
    frmChildMap view(document);
    if (!gridLines)
        view.toggleGridLines();
    return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestMapTool : public QObject
{
    Q_OBJECT
private slots:
    void checkReportsEachFileOnItsOwnLine()
    {
        QTemporaryDir dir;
        const QString good = dir.filePath(QStringLiteral("good.map"));
        const QString shortMap = dir.filePath(QStringLiteral("short.map"));
        const QString badLine = dir.filePath(QStringLiteral("bad line.map"));
        QVERIFY(writeFile(good, mapfile::encode(sampleCodes())));
        QVERIFY(writeFile(shortMap, mapfile::encode(sampleCodes()).left(30)));
        QVERIFY(
            writeFile(badLine, QByteArray("1\r\n2\r\n") + "x7\r\n" + mapfile::encode(MapCodes {})));

        const Run allGood = runTool({QStringLiteral("check"), good, good});
        QCOMPARE(allGood.status, 0);
        QCOMPARE(allGood.out, QStringLiteral("%1: ok\n%1: ok\n").arg(good));
        QCOMPARE(allGood.err, QString());

        // Relative names are reported as given, and every file is reported even
        // after one has failed.
        const Run mixed = runTool(
            {QStringLiteral("check"), QStringLiteral("short.map"), QStringLiteral("good.map"),
                QStringLiteral("bad line.map"), QStringLiteral("missing.map"), QStringLiteral(".")},
            dir.path());
        QCOMPARE(mixed.status, 1);
        const QStringList lines = mixed.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 5);
        QVERIFY2(lines[0].startsWith(QStringLiteral("short.map:")), qPrintable(lines[0]));
        QVERIFY2(lines[0].contains(QStringLiteral("ends after")), qPrintable(lines[0]));
        QCOMPARE(lines[1], QStringLiteral("good.map: ok"));
        QCOMPARE(lines[2], QStringLiteral("bad line.map:3: \"x7\" is not a whole number"));
        QCOMPARE(lines[3], QStringLiteral("missing.map: There is no such file."));
        QCOMPARE(lines[4], QStringLiteral(".: It is a folder or a device, not a map file."));
    }

    void commandLineMistakesAreUsageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("complaint");
        const QString map = QStringLiteral("a.map");
        QTest::newRow("nothing") << QStringList {} << "no command";
        QTest::newRow("unknown command") << QStringList {"draw", map} << "unknown command 'draw'";
        QTest::newRow("check without files") << QStringList {"check"} << "no map file";
        QTest::newRow("check, unknown option") << QStringList {"check", "-x", map} << "'-x'";
        QTest::newRow("render without output") << QStringList {"render", map} << "no output file";
        QTest::newRow("render without map")
            << QStringList {"render", "-o", "a.png"} << "no map file";
        QTest::newRow("output without value")
            << QStringList {"render", map, "-o"} << "Missing value after '-o'";
        QTest::newRow("two maps") << QStringList {"render", map, map, "-o", "a.png"} << "one map";
        QTest::newRow("scale 0") << QStringList {"render", map, "-o", "a.png", "--scale", "0"}
                                 << "'0'";
        QTest::newRow("scale too big")
            << QStringList {"render", map, "-o", "a.png", "--scale=9"} << "'9'";
        QTest::newRow("scale not a number")
            << QStringList {"render", map, "-o", "a.png", "--scale", "2x"} << "'2x'";
        QTest::newRow("size too small")
            << QStringList {"render", map, "-o", "a.png", "--size", "8"} << "'8'";
        QTest::newRow("size not a number")
            << QStringList {"render", map, "-o", "a.png", "--size=large"} << "'large'";
        QTest::newRow("unknown render option")
            << QStringList {"render", map, "-o", "a.png", "--grid"} << "'--grid'";
        QTest::newRow("lint without maps") << QStringList {"lint"} << "no map file";
        QTest::newRow("lint, unknown format")
            << QStringList {"lint", "--format", "xml", map} << "not 'xml'";
        QTest::newRow("fix without output") << QStringList {"fix", map} << "no output file";
        QTest::newRow("fix of two maps")
            << QStringList {"fix", map, map, "-o", "a.png"} << "one map";
        // A value given twice is refused, not settled by the last one given.
        QTest::newRow("two outputs") << QStringList {"render", map, "-o", "a.png", "-o", "b.png"}
                                     << "-o given more than once";
        QTest::newRow("two outputs, long and short") << QStringList {"fix", map, "--output=a.map",
            "-o", "b.map"} << "--output given more than once ('a.map', 'b.map')";
        QTest::newRow("two formats") << QStringList {"lint", "--format", "json", "--format", "text",
            map} << "--format given";
        QTest::newRow("lint picture of two maps")
            << QStringList {"lint", map, map, "--png", "a.png"} << "--png draws one map";
    }

    void commandLineMistakesAreUsageErrors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, complaint);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(QStringLiteral("a.map")), mapfile::encode(MapCodes {})));
        const Run run = runTool(arguments, dir.path());
        QCOMPARE(run.status, 2);
        QCOMPARE(run.out, QString());
        // One line that names the mistake, one that says where help is.
        const QStringList lines = run.err.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines[0].startsWith(QStringLiteral("vellumor-map: ")), qPrintable(run.err));
        QVERIFY2(lines[0].contains(complaint), qPrintable(run.err));
        const QString command = arguments.value(0);
        const bool known = kCommands.contains(command);
        QCOMPARE(lines[1],
            QStringLiteral("Try 'vellumor-map %1--help'.").arg(known ? command + ' ' : QString()));
        QCOMPARE(lines[2], QString());
        // Nothing is written on a mistaken command line.
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("a.png"))));
    }

    void helpIsPrintedAndSucceeds()
    {
        for (const QStringList &arguments :
            QList<QStringList> {{"--help"}, {"-h"}, {"check", "--help"}, {"render", "--help"},
                {"render", "a.map", "-h"}, {"lint", "--help"}, {"fix", "--help"}}) {
            const Run run = runTool(arguments);
            QCOMPARE(run.status, 0);
            QVERIFY2(
                run.out.startsWith(QStringLiteral("Usage: vellumor-map")), qPrintable(run.out));
            QCOMPARE(run.err, QString());
        }
        const Run version = runTool({QStringLiteral("--version")});
        QCOMPARE(version.status, 0);
        QCOMPARE(version.out, QStringLiteral("vellumor-map 1.1\n"));
    }

    void renderShowsWhatTheMapViewShows_data()
    {
        QTest::addColumn<bool>("gridLines");
        QTest::newRow("grid lines") << true;
        QTest::newRow("no grid lines") << false;
    }

    void renderShowsWhatTheMapViewShows()
    {
        QFETCH(bool, gridLines);
        QTemporaryDir dir;
        const QString map = dir.filePath(QStringLiteral("sample.map"));
        const QString png = dir.filePath(QStringLiteral("sample.png"));
        QVERIFY(writeFile(map, mapfile::encode(sampleCodes())));
        QStringList arguments {QStringLiteral("render"), map, QStringLiteral("-o"), png};
        if (!gridLines)
            arguments << QStringLiteral("--no-grid");

        const Run run = runTool(arguments);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out + run.err, QString());
        QCOMPARE(readFile(png).left(8), QByteArray("\x89PNG\r\n\x1a\n"));
        const QImage rendered = QImage(png).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(rendered.size(), QSize(633, 463));
        QCOMPARE(rendered, viewGrab(sampleCodes(), gridLines));
    }

    void renderScaleEnlargesEveryPixelToASquare()
    {
        QTemporaryDir dir;
        const QString map = dir.filePath(QStringLiteral("sample.map"));
        QVERIFY(writeFile(map, mapfile::encode(sampleCodes())));
        const QString one = dir.filePath(QStringLiteral("one.png"));
        const QString three = dir.filePath(QStringLiteral("three.png"));
        QCOMPARE(runTool({"render", map, "-o", one}).status, 0);
        QCOMPARE(runTool({"render", map, "--scale", "3", "--output", three}).status, 0);

        const QImage small = QImage(one).convertToFormat(QImage::Format_RGB32);
        const QImage large = QImage(three).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(large.size(), QSize(633 * 3, 463 * 3));
        for (int y = 0; y < large.height(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(large.constScanLine(y));
            const auto *source = reinterpret_cast<const QRgb *>(small.constScanLine(y / 3));
            for (int x = 0; x < large.width(); ++x) {
                if (line[x] != source[x / 3])
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 differs").arg(x).arg(y)));
            }
        }
    }

    void renderFailuresLeaveTheOutputAlone()
    {
        QTemporaryDir dir;
        const QString good = dir.filePath(QStringLiteral("good.map"));
        const QString bad = dir.filePath(QStringLiteral("bad.map"));
        const QString png = dir.filePath(QStringLiteral("out.png"));
        QVERIFY(writeFile(good, mapfile::encode(sampleCodes())));
        QVERIFY(writeFile(bad, QByteArray("3\r\n65536\r\n")));
        QVERIFY(writeFile(png, QByteArray("an older picture")));

        const Run invalid = runTool({"render", bad, "-o", png});
        QCOMPARE(invalid.status, 1);
        QVERIFY2(invalid.err.startsWith(QStringLiteral("vellumor-map: %1:2: ").arg(bad)),
            qPrintable(invalid.err));
        QCOMPARE(readFile(png), QByteArray("an older picture"));

        const Run missing
            = runTool({"render", dir.filePath(QStringLiteral("none.map")), "-o", png});
        QCOMPARE(missing.status, 1);
        QVERIFY(missing.err.contains(QStringLiteral("There is no such file.")));
        QCOMPARE(readFile(png), QByteArray("an older picture"));

        const QString nowhere = dir.filePath(QStringLiteral("no such folder/out.png"));
        const Run unwritable = runTool({"render", good, "-o", nowhere});
        QCOMPARE(unwritable.status, 1);
        QVERIFY2(unwritable.err.startsWith(
                     QStringLiteral("vellumor-map: cannot write %1: ").arg(nowhere)),
            qPrintable(unwritable.err));

        const Run ontoFolder = runTool({"render", good, "-o", dir.path()});
        QCOMPARE(ontoFolder.status, 1);
        QVERIFY(ontoFolder.err.contains(QStringLiteral("cannot write")));
        QVERIFY(QFileInfo(dir.path()).isDir());

        // A good map replaces the older picture whole.
        QCOMPARE(runTool({"render", good, "-o", png}).status, 0);
        QCOMPARE(QImage(png).size(), QSize(633, 463));
    }

    // As a file manager's thumbnailer runs it: into a file named without a
    // suffix, in a folder that must hold nothing else afterwards.
    void renderSizeMakesAThumbnail()
    {
        QTemporaryDir source;
        const QString map = source.filePath(QStringLiteral("sample.map"));
        QVERIFY(writeFile(map, mapfile::encode(sampleCodes())));
        for (const auto &[size, expected] :
            {std::pair {128, QSize(128, 93)}, {256, QSize(256, 187)}, {1024, QSize(633, 463)}}) {
            QTemporaryDir out;
            const QString thumbnail = out.filePath(QStringLiteral("thumbnail"));
            const Run run
                = runTool({"render", "--size", QString::number(size), "-o", thumbnail, map});
            QCOMPARE(run.status, 0);
            QCOMPARE(run.err, QString());
            QVERIFY(readFile(thumbnail).startsWith("\x89PNG\r\n\x1a\n"));
            QCOMPARE(QImage(thumbnail, "PNG").size(), expected);
            QCOMPARE(
                QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                QStringList {QStringLiteral("thumbnail")});
        }
    }

    // Every *.map file reaches the thumbnailer, a linker's and a source map's as
    // well: they get no picture, and leave nothing behind.
    void renderWritesNothingForFilesThatAreNoMaps()
    {
        QTemporaryDir dir;
        const QString linkerMap = dir.filePath(QStringLiteral("linker.map"));
        const QString sourceMap = dir.filePath(QStringLiteral("app.js.map"));
        const QString empty = dir.filePath(QStringLiteral("empty.map"));
        QVERIFY(writeFile(linkerMap, "Archive member included to satisfy reference\n"));
        QVERIFY(writeFile(sourceMap, R"({"version":3,"sources":["app.js"],"mappings":"AAAA"})"));
        QVERIFY(writeFile(empty, QByteArray()));
        QTemporaryDir out;
        for (const QString &file : {linkerMap, sourceMap, empty}) {
            const Run run = runTool(
                {"render", "--size", "256", "-o", out.filePath(QStringLiteral("thumbnail")), file});
            QCOMPARE(run.status, 1);
            QVERIFY(
                QDir(out.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
        }
    }
};

QTEST_MAIN(TestMapTool)
#include "test_maptool.moc"
