// vellumor-map export, import and diff as users run them, checked where
// possible by the programs that read the files: Tiled's tmxrasterizer and
// Tiled itself, and poppler's pdfinfo and pdftotext.
#include "cli/ToolRunner.h"
#include "document/CellGrid.h"
#include "document/MapCodec.h"
#include "formats/MapFormats.h"
#include "pictures/SymbolPictures.h"
#include "support/TestFiles.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineF>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace vellumor;
using namespace vellumor::testing;

namespace {

QString example(const char *name)
{
    return QStringLiteral(VELLUMOR_EXAMPLES_DIR "/") + QLatin1String(name);
}

MapCodes codesOf(const QString &mapFile)
{
    return std::get<MapCodes>(mapfile::decode(readFile(mapFile)));
}

// Output of a helper program with the offscreen platform, or a null string
// when it is not installed.
QString runHelper(const QString &program, const QStringList &arguments, int *status = nullptr)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return QString();
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.remove(QStringLiteral("QT_FATAL_WARNINGS"));
    process.setProcessEnvironment(environment);
    process.start(path, arguments);
    process.waitForFinished(60000);
    if (status)
        *status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromLocal8Bit(process.readAllStandardOutput()) + QLatin1Char(' ');
}

QImage onWhite(const QImage &image)
{
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter(&flat).drawImage(0, 0, image);
    return flat;
}

QString pdfInfo(const QString &pdf, const QString &field)
{
    const QString info = runHelper(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpression line(field + QStringLiteral(":\\s*(.*)"));
    return line.match(info).captured(1).trimmed();
}

bool segmentsCross(const QLineF &a, const QLineF &b)
{
    return a.intersects(b, nullptr) == QLineF::BoundedIntersection;
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT
private slots:
    void pngShowsEveryCellAtThePicturesSize()
    {
        QTemporaryDir dir;
        const QString plain = dir.filePath(QStringLiteral("plain.png"));
        const QString large = dir.filePath(QStringLiteral("large.png"));
        QCOMPARE(runTool({"export", example("castle.map"), "-o", plain}).status, 0);
        QCOMPARE(runTool({"export", example("castle.map"), "-o", large, "--scale", "3", "--grid"})
                     .status,
            0);
        const QImage image = QImage(plain).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(image.size(), QSize(525, 375));
        const MapCodes codes = codesOf(example("castle.map"));
        for (int index = 0; index < kCellCount; ++index) {
            const CellPlace place = cellPlace(index);
            const QImage cell = image.copy(place.column * 15, place.row * 15, 15, 15);
            QImage expected(15, 15, QImage::Format_RGB32);
            expected.fill(Qt::white);
            if (const auto picture = SymbolPicture(codes[std::size_t(index)]))
                QPainter(&expected).drawImage(0, 0, *picture);
            QVERIFY2(cell == expected, qPrintable(QStringLiteral("cell %1").arg(index)));
        }

        // Scaled: each pixel a 3 x 3 block; grid lines one pixel on cell edges.
        const QImage scaled = QImage(large).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(scaled.size(), QSize(525 * 3, 375 * 3));
        const QRgb line = scaled.pixel(45, 1);
        QCOMPARE(scaled.pixel(45, 200), line);
        QCOMPARE(scaled.pixel(1574, 300), line);
        QCOMPARE(scaled.pixel(46, 2), image.pixel(15, 0));
        QCOMPARE(scaled.pixel(47, 4), image.pixel(15, 1));
        QVERIFY(line != qRgb(255, 255, 255));
    }

    void everyExportIsTheSameBytesOnEveryRun_data()
    {
        QTest::addColumn<QString>("map");
        QTest::addColumn<QString>("suffix");
        const QDir examples(QStringLiteral(VELLUMOR_EXAMPLES_DIR));
        for (const QString &map : examples.entryList({QStringLiteral("*.map")})) {
            for (const QString &suffix : formats::suffixesFor(formats::Use::Write)) {
                QTest::addRow("%s, %s", qPrintable(map), qPrintable(suffix))
                    << examples.filePath(map) << suffix;
            }
        }
    }

    // Each run a process of its own, as the order of a hash changes from one
    // process to the next; every file an export writes is compared.
    void everyExportIsTheSameBytesOnEveryRun()
    {
        QFETCH(QString, map);
        QFETCH(QString, suffix);
        QTemporaryDir first, second;
        for (const QTemporaryDir *dir : {&first, &second}) {
            const Run run
                = runTool({"export", map, "-o", QStringLiteral("out.") + suffix}, dir->path());
            QCOMPARE(run.status, 0);
        }
        const QStringList files = QDir(first.path()).entryList(QDir::Files);
        QVERIFY(!files.isEmpty());
        QCOMPARE(QDir(second.path()).entryList(QDir::Files), files);
        for (const QString &file : files) {
            QVERIFY2(readFile(QDir(first.path()).filePath(file))
                    == readFile(QDir(second.path()).filePath(file)),
                qPrintable(file));
        }
    }

    void tiledDrawsTheMapAsThePngShowsIt_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("tmx") << "tmx";
        QTest::newRow("tmj") << "tmj";
    }

    void tiledDrawsTheMapAsThePngShowsIt()
    {
        QFETCH(QString, suffix);
        if (QStandardPaths::findExecutable(QStringLiteral("tmxrasterizer")).isEmpty())
            QSKIP("tmxrasterizer (Debian package tiled) is not installed");
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("maps")));
        const QString png = dir.filePath(QStringLiteral("fort.png"));
        const QString tiled = dir.filePath(QStringLiteral("maps/fort.") + suffix);
        const QString tileset = dir.filePath(QStringLiteral("art/symbols.png"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("art")));
        QCOMPARE(runTool({"export", example("desert-fort.map"), "-o", png}).status, 0);
        QCOMPARE(runTool({"export", example("desert-fort.map"), "-o", tiled, "--tileset", tileset})
                     .status,
            0);
        QVERIFY(readFile(tiled).contains("../art/symbols.png"));

        const QString drawn = dir.filePath(QStringLiteral("drawn.png"));
        int status = -1;
        runHelper(QStringLiteral("tmxrasterizer"), {tiled, drawn}, &status);
        QCOMPARE(status, 0);
        // tmxrasterizer leaves empty tiles clear; the map's background is white.
        QCOMPARE(onWhite(QImage(drawn)), QImage(png).convertToFormat(QImage::Format_RGB32));
    }

    void mapsComeBackByteForByte_data()
    {
        QTest::addColumn<QString>("map");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("town, csv") << example("town.map") << "csv";
        QTest::newRow("castle, tmx") << example("castle.map") << "tmx";
        QTest::newRow("desert fort, tmj") << example("desert-fort.map") << "tmj";
    }

    void mapsComeBackByteForByte()
    {
        QFETCH(QString, map);
        QFETCH(QString, suffix);
        QTemporaryDir dir;
        const QString exported = dir.filePath(QStringLiteral("out.") + suffix);
        const QString back = dir.filePath(QStringLiteral("back.map"));
        QCOMPARE(runTool({"export", map, "-o", exported}).status, 0);
        const Run imported = runTool({"import", exported, "-o", back});
        QCOMPARE(imported.status, 0);
        QCOMPARE(imported.out + imported.err, QString());
        QCOMPARE(readFile(back), readFile(map));

        // Saved again by Tiled itself, in the other of its two formats.
        if (suffix == QLatin1String("csv"))
            return;
        if (QStandardPaths::findExecutable(QStringLiteral("tiled")).isEmpty())
            QSKIP("Tiled is not installed");
        const QString other
            = dir.filePath(suffix == QLatin1String("tmx") ? QStringLiteral("saved.tmj")
                                                          : QStringLiteral("saved.tmx"));
        int status = -1;
        runHelper(QStringLiteral("tiled"), {"--export-map", exported, other}, &status);
        QCOMPARE(status, 0);
        QVERIFY(QFile::remove(back));
        QCOMPARE(runTool({"import", other, "-o", back}).status, 0);
        QCOMPARE(readFile(back), readFile(map));
    }

    void refusedImportWritesNothing()
    {
        QTemporaryDir dir;
        const QString csv = dir.filePath(QStringLiteral("bad.csv"));
        const QString map = dir.filePath(QStringLiteral("out.map"));
        QVERIFY(writeFile(csv, QByteArray("0,0\n")));
        const Run refused = runTool({"import", csv, "-o", map});
        QCOMPARE(refused.status, 1);
        QCOMPARE(refused.err,
            QStringLiteral("vellumor-map: %1:1: the row has 2 codes; a row has 35\n").arg(csv));
        QVERIFY(!QFile::exists(map));

        QVERIFY(writeFile(map, QByteArray("an older map")));
        QCOMPARE(runTool({"import", csv, "-o", map}).status, 1);
        QCOMPARE(readFile(map), QByteArray("an older map"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    void uvttHasEveryKeyImportersRead()
    {
        QTemporaryDir dir;
        const QString uvtt = dir.filePath(QStringLiteral("fort.dd2vtt"));
        const QString png = dir.filePath(QStringLiteral("fort.png"));
        QCOMPARE(
            runTool({"export", example("desert-fort.map"), "-o", uvtt, "--grid-size", "70"}).status,
            0);
        QCOMPARE(runTool({"export", example("desert-fort.map"), "-o", png}).status, 0);
        const QJsonObject file = QJsonDocument::fromJson(readFile(uvtt)).object();
        QCOMPARE(file.value(QLatin1String("format")).toDouble(), 0.3);
        const QJsonObject resolution = file.value(QLatin1String("resolution")).toObject();
        QCOMPARE(resolution.value(QLatin1String("pixels_per_grid")).toInt(), 70);
        QCOMPARE(resolution.value(QLatin1String("map_size"))
                     .toObject()
                     .value(QLatin1String("x"))
                     .toInt(),
            35);
        QCOMPARE(resolution.value(QLatin1String("map_size"))
                     .toObject()
                     .value(QLatin1String("y"))
                     .toInt(),
            25);
        QVERIFY(resolution.value(QLatin1String("map_origin")).isObject());
        for (const char *list : {"line_of_sight", "objects_line_of_sight", "portals", "lights"})
            QVERIFY2(file.value(QLatin1String(list)).isArray(), list);
        QVERIFY(file.value(QLatin1String("environment")).isObject());

        // The picture: exactly 35 x 25 cells of 70 pixels, each cell the
        // picture's own pixels enlarged without smoothing.
        const QImage image = QImage::fromData(
            QByteArray::fromBase64(file.value(QLatin1String("image")).toString().toLatin1()), "PNG")
                                 .convertToFormat(QImage::Format_RGB32);
        QCOMPARE(image.size(), QSize(35 * 70, 25 * 70));
        const QImage small = QImage(png).convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < image.height(); y += 5) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != small.pixel(x * 15 / 70, y * 15 / 70))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 differs").arg(x).arg(y)));
            }
        }

        // The fort's walls close it: from its yard, no line to a cell outside
        // gets out without meeting a wall or a closed gate.
        QList<QLineF> blocking;
        const auto toPoint = [](const QJsonValue &value) {
            return QPointF(
                value[QLatin1String("x")].toDouble(), value[QLatin1String("y")].toDouble());
        };
        // Walls are the fewest polylines: the ring is cut only by its four
        // gates, each guard post's cross arm is a short line of its own, and
        // no two polylines end at the same point (Foundry would join them
        // with a wall of no length).
        QSet<QPair<double, double>> ends;
        int ringParts = 0;
        for (const QJsonValue &line : file.value(QLatin1String("line_of_sight")).toArray()) {
            const QJsonArray points = line.toArray();
            QVERIFY(points.size() >= 2);
            for (qsizetype i = 1; i < points.size(); ++i)
                blocking << QLineF(toPoint(points[i - 1]), toPoint(points[i]));
            const QPointF first = toPoint(points.first()), last = toPoint(points.last());
            if (points.size() > 2)
                ++ringParts;
            if (first == last)
                continue;
            for (const QPointF end : {first, last}) {
                const QPair<double, double> key {end.x(), end.y()};
                QVERIFY2(!ends.contains(key),
                    qPrintable(QStringLiteral("two walls end at %1,%2").arg(end.x()).arg(end.y())));
                ends.insert(key);
            }
        }
        const QJsonArray portals = file.value(QLatin1String("portals")).toArray();
        QCOMPARE(portals.size(), 4); // two wooden gates, two iron gates
        QCOMPARE(ringParts, 4);
        for (const QJsonValue &portal : portals) {
            QVERIFY(portal[QLatin1String("closed")].toBool());
            const QJsonArray bounds = portal[QLatin1String("bounds")].toArray();
            QCOMPARE(bounds.size(), 2);
            blocking << QLineF(toPoint(bounds[0]), toPoint(bounds[1]));
        }
        const QPointF yard(17.5, 12.5);
        for (int column = 0; column < kMapColumns; ++column) {
            for (int row = 0; row < kMapRows; ++row) {
                if (column >= 9 && column <= 25 && row >= 5 && row <= 19)
                    continue; // the fort itself
                const QLineF sight(yard, QPointF(column + 0.5, row + 0.5));
                const bool blocked = std::any_of(blocking.begin(), blocking.end(),
                    [&](const QLineF &wall) { return segmentsCross(sight, wall); });
                QVERIFY2(blocked,
                    qPrintable(
                        QStringLiteral("the yard sees column %1, row %2").arg(column).arg(row)));
            }
        }
    }

    void pdfPrintsAtScaleOverPages_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("pageSize");
        // Upright, A4 holds 7 x 10 one-inch cells and Letter 7 x 9: 5 x 3 pages
        // either way, one fewer than across the page.
        QTest::newRow("a4, one inch") << QStringList {} << 15 << "595 x 842 pts (A4)";
        QTest::newRow("letter, one inch")
            << QStringList {"--paper", "letter"} << 15 << "612 x 792 pts (letter)";
        QTest::newRow("a4, 2 cm") << QStringList {"--cell", "2cm"} << 8 << "595 x 842 pts (A4)";
        QTest::newRow("a4, fit") << QStringList {"--fit"} << 1 << "842 x 595 pts (A4)";
        QTest::newRow("letter, fit")
            << QStringList {"--fit", "--paper", "letter"} << 1 << "792 x 612 pts (letter)";
    }

    void pdfPrintsAtScaleOverPages()
    {
        QFETCH(QStringList, options);
        QFETCH(int, pages);
        QFETCH(QString, pageSize);
        if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
            QSKIP("pdfinfo (Debian package poppler-utils) is not installed");
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("town.pdf"));
        const Run run = runTool(QStringList {"export", example("town.map"), "-o", pdf} + options);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QString());
        QCOMPARE(pdfInfo(pdf, QStringLiteral("Pages")).toInt(), pages);
        QCOMPARE(pdfInfo(pdf, QStringLiteral("Page size")), pageSize);
        if (pages > 1) {
            const QString last = runHelper(QStringLiteral("pdftotext"),
                {"-f", QString::number(pages), "-l", QString::number(pages), pdf, "-"});
            QVERIFY2(last.contains(QRegularExpression(
                         QStringLiteral("row (\\d+), column (\\d+) of \\1 x \\2"))),
                qPrintable(last));
        }
    }

    void diffListsTheChangedCells()
    {
        QTemporaryDir dir;
        MapCodes before = codesOf(example("town.map"));
        MapCodes after = before;
        after[std::size_t(cellIndex(17, 12))] = 25; // Water
        after[std::size_t(cellIndex(0, 0))] = 0;
        const QString a = dir.filePath(QStringLiteral("a.map"));
        const QString b = dir.filePath(QStringLiteral("b.map"));
        const QString png = dir.filePath(QStringLiteral("diff.png"));
        QVERIFY(writeFile(a, mapfile::encode(before)));
        QVERIFY(writeFile(b, mapfile::encode(after)));

        const Run same = runTool({"diff", a, a});
        QCOMPARE(same.status, 0);
        QCOMPARE(same.out + same.err, QString());
        const Run differ = runTool({"diff", a, b, "--png", png});
        QCOMPARE(differ.status, 1);
        QCOMPARE(differ.out,
            QStringLiteral("column 0, row 0: %1 -> Blank\ncolumn 17, row 12: Blank -> Water\n")
                .arg(QLatin1String(
                    before[std::size_t(cellIndex(0, 0))] == 51 ? "Plains: Grass" : "?")));
        const QImage outlined = QImage(png).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(outlined.size(), QSize(525, 375));
        QCOMPARE(outlined.pixel(17 * 15, 12 * 15 + 7), qRgb(230, 0, 0));
        QCOMPARE(outlined.pixel(17 * 15 + 7, 12 * 15 + 7), SymbolPicture(25)->pixel(7, 7));
        QVERIFY(outlined.pixel(16 * 15, 12 * 15 + 7) != qRgb(230, 0, 0));

        const Run broken = runTool({"diff", a, dir.filePath(QStringLiteral("none.map"))});
        QCOMPARE(broken.status, 1);
        QVERIFY(broken.err.contains(QStringLiteral("There is no such file.")));
    }

    void commandLineMistakes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("complaint");
        const QString map = example("town.map");
        QTest::newRow("unknown suffix") << QStringList {"export", map, "-o", "a.jpg"} << "'a.jpg'";
        QTest::newRow("option of another format") << QStringList {"export", map, "-o", "a.pdf",
            "--scale", "2"} << "--scale does not apply to .pdf";
        QTest::newRow("scale 17") << QStringList {"export", map, "-o", "a.png", "--scale", "17"}
                                  << "'17'";
        QTest::newRow("grid size 49, below what Foundry keeps")
            << QStringList {"export", map, "-o", "a.uvtt", "--grid-size", "49"} << "'49'";
        QTest::newRow("grid size 201")
            << QStringList {"export", map, "-o", "a.dd2vtt", "--grid-size", "201"} << "'201'";
        QTest::newRow("cell without unit")
            << QStringList {"export", map, "-o", "a.pdf", "--cell", "25"} << "'25'";
        QTest::newRow("cell larger than a page")
            << QStringList {"export", map, "-o", "a.pdf", "--cell", "16cm"} << "'16cm'";
        QTest::newRow("paper a3") << QStringList {"export", map, "-o", "a.pdf", "--paper", "a3"}
                                  << "'a3'";
        QTest::newRow("import of a map")
            << QStringList {"import", map, "-o", "a.map"} << "use .csv, .tmx or .tmj";
        QTest::newRow("import without output")
            << QStringList {"import", "a.csv"} << "no output file";
        QTest::newRow("diff of one map") << QStringList {"diff", map} << "two map files";
    }

    void commandLineMistakes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, complaint);
        QTemporaryDir dir;
        const Run run = runTool(arguments, dir.path());
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(complaint), qPrintable(run.err));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 0);
    }

    // bash completes import's IN and export's and generate's OUT with exactly
    // the suffixes of the formats each takes.
    void completionOffersEverySuffix()
    {
        const auto offered = [](formats::Use use, const QStringList &first = {}) {
            return QStringLiteral("_filedir '@(%1)'")
                .arg(formats::suffixesFor(use, first).join(QLatin1Char('|')))
                .toUtf8();
        };
        const QByteArray completion = readFile(QStringLiteral(VELLUMOR_COMPLETION));
        QVERIFY2(completion.contains("export) " + offered(formats::Use::Write)),
            offered(formats::Use::Write).constData());
        QVERIFY(completion.contains("generate) " + offered(formats::Use::Write, {"map"})));
        QVERIFY2(completion.contains("import) " + offered(formats::Use::Read)),
            offered(formats::Use::Read).constData());
    }

    // A file whose suffix no format takes is refused alike on the way in and on
    // the way out, naming every suffix that would do; nothing is written.
    void unknownSuffixesAreRefusedAlike()
    {
        QTemporaryDir dir;
        const QString map = example("town.map");
        const QList<std::pair<QStringList, formats::Use>> lines {
            {{"import", "plan.jpg", "-o", "a.map"}, formats::Use::Read},
            {{"import", map, "-o", "a.map"}, formats::Use::Read},
            {{"export", map, "-o", "plan.jpg"}, formats::Use::Write},
            {{"export", map, "-o", "plan.PNG.bak"}, formats::Use::Write},
        };
        for (const auto &[arguments, use] : lines) {
            const QString file = arguments[arguments[0] == QLatin1String("import") ? 1 : 3];
            const Run run = runTool(arguments, dir.path());
            QCOMPARE(run.status, 2);
            QCOMPARE(run.err,
                QStringLiteral("vellumor-map: %1: %2\nTry 'vellumor-map %1 --help'.\n")
                    .arg(arguments[0], formats::unknownFormat(file, use)));
        }
        QCOMPARE(formats::unknownFormat(QStringLiteral("a.jpg"), formats::Use::Read),
            QStringLiteral("cannot tell the format of 'a.jpg': use .csv, .tmx or .tmj"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 0);
    }

    void everyCommandHasHelp()
    {
        for (const char *command :
            {"check", "render", "export", "import", "diff", "generate", "lint", "fix"}) {
            const Run run = runTool({QLatin1String(command), "--help"});
            QCOMPARE(run.status, 0);
            QVERIFY2(
                run.out.startsWith(QStringLiteral("Usage: vellumor-map ") + QLatin1String(command)),
                qPrintable(run.out));
            QVERIFY(run.out.contains(QStringLiteral("Exit status")));
        }
    }
};

QTEST_MAIN(TestExport)
#include "test_export.moc"
