// The one table of formats: which format each suffix names for reading and for
// writing, and that every format the table writes has its writer and options.
#include "formats/ExportFormats.h"
#include "formats/MapFormats.h"

#include <QSet>
#include <QTest>

using namespace vellumor;
using formats::Use;

namespace {

QString nameOf(const formats::MapFormat *format)
{
    return format ? format->name : QStringLiteral("none");
}

} // namespace

class TestFormatRegistry : public QObject
{
    Q_OBJECT

private slots:
    void eachSuffixNamesItsFormat_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QString>("writer");
        QTest::newRow("csv") << "plan.csv"
                             << "csv"
                             << "csv";
        QTest::newRow("tmx in capitals") << "dir.d/PLAN.TMX"
                                         << "tmx"
                                         << "tmx";
        QTest::newRow("tmj") << "plan.tmj"
                             << "tmj"
                             << "tmj";
        QTest::newRow("png, written only") << "plan.Png"
                                           << "none"
                                           << "png";
        QTest::newRow("dd2vtt, the second name of uvtt") << "plan.dd2vtt"
                                                         << "none"
                                                         << "uvtt";
        QTest::newRow("pdf") << "plan.pdf"
                             << "none"
                             << "pdf";
        QTest::newRow("map files are no format of these") << "plan.map"
                                                          << "none"
                                                          << "none";
        QTest::newRow("no suffix") << "csv"
                                   << "none"
                                   << "none";
        QTest::newRow("only the last suffix counts") << "plan.csv.bak"
                                                     << "none"
                                                     << "none";
    }

    void eachSuffixNamesItsFormat()
    {
        QFETCH(QString, file);
        QFETCH(QString, reader);
        QFETCH(QString, writer);
        QCOMPARE(nameOf(formats::formatOf(file, Use::Read)), reader);
        QCOMPARE(nameOf(formats::formatOf(file, Use::Write)), writer);
    }

    // A suffix names one format, and each format says what it can do through
    // what it holds: a reader, or a writer found by its name.
    void theTableHoldsTogether()
    {
        QSet<QString> suffixes;
        QSet<QString> optionsTaken;
        for (const formats::MapFormat &format : formats::mapFormats()) {
            QVERIFY(!format.suffixes.isEmpty());
            for (const QString &suffix : format.suffixes) {
                QCOMPARE(suffix, suffix.toLower());
                QVERIFY2(!suffixes.contains(suffix), qPrintable(suffix));
                suffixes.insert(suffix);
            }
            if (format.can(Use::Read)) {
                QVERIFY(format.reader->decode);
                QVERIFY(format.reader->maxFileSize > 0);
            }
            const mapexport::FormatWriter *writer = mapexport::writerOf(format);
            QCOMPARE(writer != nullptr, format.can(Use::Write));
            QVERIFY(!writer || writer->write);
            for (const QString &option : format.options)
                optionsTaken.insert(option);
        }
        QSet<QString> options;
        for (const mapexport::ExportOption &option : mapexport::exportOptions())
            options.insert(option.name);
        QCOMPARE(optionsTaken, options);
    }

    void suffixesAreListedAsHelpNamesThem()
    {
        QCOMPARE(
            formats::listed(formats::suffixesFor(Use::Read)), QStringLiteral(".csv, .tmx or .tmj"));
        QCOMPARE(formats::listed(formats::suffixesFor(Use::Write, {QStringLiteral("map")})),
            QStringLiteral(".map, .png, .uvtt, .dd2vtt, .pdf, .tmx, .tmj or .csv"));
        QCOMPARE(formats::suffixesTaking(QStringLiteral("tileset")), QStringLiteral(".tmx, .tmj"));
        QCOMPARE(formats::listed({QStringLiteral("csv")}), QStringLiteral(".csv"));
    }
};

QTEST_GUILESS_MAIN(TestFormatRegistry)
#include "test_formatregistry.moc"
