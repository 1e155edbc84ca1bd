// lint and fix run as a separate process, the way people and scripts run them.
#include "cli/ToolRunner.h"
#include "document/MapCodec.h"
#include "rules/MapSketch.h"
#include "support/TestFiles.h"
#include "symbols/SymbolNames.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace vellumor;
using namespace vellumor::testing;

namespace {

const QString kChurchLine = QStringLiteral("column 12, row 4: error: church-incomplete: \"Church: "
                                           "Left Side\" has no \"Church: Right Side\" to its east");
const QString kGapLine
    = QStringLiteral("column 9, row 11: error: wall-gap: the wall stops at this cell's north side");

// Maps written into a temporary folder that each test works in.
class MapFolder
{
public:
    MapFolder()
    {
        write(QStringLiteral("church.map"), sketch({{12, 4, {{sym::ChurchLeft}}}}));
        write(QStringLiteral("gap.map"), sketch({down(9, 11, sym::WallVertical, 14)}));
        write(QStringLiteral("gate.map"),
            sketch({across(0, 12, sym::WallHorizontal, 35),
                {17, 12, {{sym::WoodenGateHorizontal}, {sym::Water}}}}));
        // The gap's error, and a gate onto water to warn of.
        write(QStringLiteral("both.map"),
            sketch({down(9, 11, sym::WallVertical, 14), across(0, 5, sym::WallHorizontal, 35),
                {17, 5, {{sym::WoodenGateHorizontal}, {sym::Water}}}}));
        QVERIFY(writeFile(path(QStringLiteral("bad.map")), "1\r\n2\r\nx7\r\n"));
    }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString dir() const { return m_dir.path(); }
    QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden); }

private:
    void write(const QString &name, const MapCodes &codes)
    {
        QVERIFY(writeFile(path(name), mapfile::encode(codes)));
    }
    QTemporaryDir m_dir;
};

} // namespace

class TestLintFix : public QObject
{
    Q_OBJECT
private slots:
    void lintPrintsOneLinePerProblemAndFailsOnErrors()
    {
        MapFolder maps;
        const Run run = runTool({"lint", "church.map", "gap.map"}, maps.dir());
        QCOMPARE(run.status, 1);
        QCOMPARE(
            run.out, QStringLiteral("church.map: %1\ngap.map: %2\n").arg(kChurchLine, kGapLine));
        QCOMPARE(run.err, QString());

        const Run warned = runTool({"lint", "gate.map"}, maps.dir());
        QCOMPARE(warned.status, 0);
        QVERIFY2(warned.out.startsWith("gate.map: column 17, row 12: warning: gate-blocked: "),
            qPrintable(warned.out));
    }

    void lintReportsAnUnreadableMapAsCheckDoes()
    {
        MapFolder maps;
        const Run lint = runTool({"lint", "bad.map", "gate.map"}, maps.dir());
        const Run check = runTool({"check", "bad.map"}, maps.dir());
        QCOMPARE(lint.status, 1);
        QVERIFY(!check.out.isEmpty());
        QVERIFY2(lint.out.startsWith(check.out), qPrintable(lint.out));
        QVERIFY(lint.out.contains("gate.map: column 17"));
    }

    void lintPngFramesTheCellsOfItsFindings()
    {
        MapFolder maps;
        const Run run = runTool({"lint", "both.map", "--png", "both.png"}, maps.dir());
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out.count(QLatin1Char('\n')), 2);
        QCOMPARE(runTool({"export", "both.map", "-o", "plain.png"}, maps.dir()).status, 0);
        const QImage framed = QImage(maps.path("both.png")).convertToFormat(QImage::Format_RGB32);
        const QImage plain = QImage(maps.path("plain.png")).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(framed.size(), plain.size());

        // The error's frame and the warning's differ in lightness as well as in
        // hue; every pixel but the two frames is the export's.
        const QRgb error = framed.pixel(9 * 15, 11 * 15 + 7);
        const QRgb warning = framed.pixel(17 * 15 + 14, 5 * 15);
        QVERIFY(qAbs(qGray(error) - qGray(warning)) >= 64);
        for (int y = 0; y < framed.height(); ++y) {
            for (int x = 0; x < framed.width(); ++x) {
                const QPoint cell(x / 15, y / 15);
                const bool inFrame = x % 15 < 2 || x % 15 > 12 || y % 15 < 2 || y % 15 > 12;
                QRgb expected = plain.pixel(x, y);
                if (inFrame && cell == QPoint(9, 11))
                    expected = error;
                else if (inFrame && cell == QPoint(17, 5))
                    expected = warning;
                if (framed.pixel(x, y) != expected)
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
        }

        // Nothing is drawn of a map that cannot be read.
        QCOMPARE(runTool({"lint", "bad.map", "--png", "bad.png"}, maps.dir()).status, 1);
        QVERIFY(!maps.files().contains("bad.png"));
    }

    void lintJsonHoldsTheSameFindings()
    {
        MapFolder maps;
        const Run run = runTool(
            {"lint", "--format", "json", "church.map", "bad.map", "gate.map"}, maps.dir());
        QCOMPARE(run.status, 1);
        QJsonParseError error;
        const QJsonArray files
            = QJsonDocument::fromJson(run.out.toUtf8(), &error).object()["files"].toArray();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(files.size(), 3);
        const QJsonObject church = files[0].toObject();
        QCOMPARE(church["file"].toString(), QStringLiteral("church.map"));
        QCOMPARE(church["ok"].toBool(), false);
        const QJsonObject finding = church["findings"].toArray().first().toObject();
        QCOMPARE(finding["column"].toInt(), 12);
        QCOMPARE(finding["row"].toInt(), 4);
        QCOMPARE(
            finding["cells"].toArray(), QJsonArray({QJsonObject {{"column", 12}, {"row", 4}}}));
        QCOMPARE(finding["severity"].toString(), QStringLiteral("error"));
        QCOMPARE(finding["rule"].toString(), QStringLiteral("church-incomplete"));
        QVERIFY(kChurchLine.endsWith(finding["message"].toString()));
        QVERIFY(files[1].toObject()["error"].toString().startsWith("bad.map:3: "));
        QCOMPARE(files[2].toObject()["ok"].toBool(), true); // warnings only
    }

    void fixWritesTheMendedMapAndLeavesTheInputAlone()
    {
        MapFolder maps;
        const QByteArray before = readFile(maps.path("church.map"));
        const Run run = runTool({"fix", "church.map", "-o", "out.map"}, maps.dir());
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, QStringLiteral("column 13, row 4: Blank -> Church: Right Side\n"));
        QCOMPARE(readFile(maps.path("church.map")), before);
        QCOMPARE(runTool({"lint", "out.map"}, maps.dir()).status, 0);

        // Mending the output again changes nothing, and still writes it.
        const Run again = runTool({"fix", "out.map", "-o", "again.map"}, maps.dir());
        QCOMPARE(again.status, 0);
        QCOMPARE(again.out, QString());
        QCOMPARE(readFile(maps.path("again.map")), readFile(maps.path("out.map")));
        // Nothing is left beside the maps by the replacing write.
        QCOMPARE(maps.files(),
            QStringList({"again.map", "bad.map", "both.map", "church.map", "gap.map", "gate.map",
                "out.map"}));
    }

    void fixSaysWhatItCannotMend()
    {
        MapFolder maps;
        const Run run = runTool({"fix", "gap.map", "-o", "gap.map"}, maps.dir());
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out,
            QStringLiteral("gap.map: %1 (only one side joins a wall, and no piece ends one here)\n")
                .arg(kGapLine));

        const Run unreadable = runTool({"fix", "bad.map", "-o", "out.map"}, maps.dir());
        QCOMPARE(unreadable.status, 1);
        QVERIFY2(
            unreadable.err.startsWith("vellumor-map: bad.map:3: "), qPrintable(unreadable.err));
        QVERIFY(!maps.files().contains("out.map"));
    }
};

QTEST_GUILESS_MAIN(TestLintFix)
#include "test_lint_fix.moc"
