#include "document/MapCodec.h"
#include "document/MapStorage.h"
#include "support/DocumentFakes.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace vellumor;
using namespace vellumor::testing;

class TestMapStorage : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_document = Standard {};
        m_title = RecordingTitle {};
    }

    void pathRuleKeepsADoubledSeparator()
    {
        Standard document;
        document.MapDirectory = QStringLiteral("/maps");
        document.MapFileName = QStringLiteral("castle.map");
        QCOMPARE(mapFilePath(document), QStringLiteral("/maps/castle.map"));
        document.MapDirectory = m_dir.path() + QLatin1Char('/');
        QCOMPARE(mapFilePath(document), m_dir.path() + QStringLiteral("//castle.map"));

        // The doubled separator is harmless: the file lands in the directory.
        m_document.MapDirectory = m_dir.path() + QLatin1Char('/');
        m_document.MapFileName = QStringLiteral("castle.map");
        QVERIFY(!SaveMap(m_document, m_title));
        QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("castle.map"))));
    }

    void saveWritesTheFileThenTheTitle()
    {
        m_document.MapCells[0] = 17;
        QVERIFY(!SaveMapAs(m_document, m_title, m_dir.path(), QStringLiteral("castle.map")));
        const QByteArray bytes = readFile(m_dir.filePath(QStringLiteral("castle.map")));
        QCOMPARE(bytes.size(), 2626);
        QVERIFY(bytes.startsWith("17\r\n0\r\n"));
        QCOMPARE(m_title.titles, QStringList {QStringLiteral("Vellumor  v1.1: castle.map")});
        QCOMPARE(m_document.MapDirectory, m_dir.path());
        QCOMPARE(m_document.MapFileName, QStringLiteral("castle.map"));
    }

    void saveOverALongerFileLeavesNothingOfIt()
    {
        const QString path = m_dir.filePath(QStringLiteral("long.map"));
        QVERIFY(writeFile(path, QByteArray(10000, 'x')));
        QVERIFY(!SaveMapAs(m_document, m_title, m_dir.path(), QStringLiteral("long.map")));
        QCOMPARE(readFile(path), mapfile::encode(MapCodes {}));
    }

    void roundTripRepaintsEveryCellInOrder()
    {
        for (int i = 0; i < kCellCount; ++i)
            m_document.MapCells[i] = SymbolCode((i * 13) % 65);
        const MapCodes saved = m_document.MapCells;
        QVERIFY(!SaveMapAs(m_document, m_title, m_dir.path(), QStringLiteral("round.map")));

        Standard other;
        other.MapCells.fill(5);
        RecordingPainter painter(other);
        RecordingTitle title;
        QVERIFY(!OpenMap(other, painter, title, m_dir.path(), QStringLiteral("round.map")));
        QVERIFY(other.MapCells == saved);
        QCOMPARE(painter.painted.size(), kCellCount);
        for (int i = 0; i < kCellCount; ++i)
            QCOMPARE(painter.painted[i], i);
        QCOMPARE(title.current(), QStringLiteral("Vellumor  v1.1: round.map"));
        QCOMPARE(other.MapFileName, QStringLiteral("round.map"));
    }

    void loadReadsOnlyTheFirst875Lines()
    {
        QByteArray bytes = mapfile::encode(MapCodes {});
        bytes.replace(0, 1, "9");
        QVERIFY(writeFile(
            m_dir.filePath(QStringLiteral("more.map")), bytes + "12\r\nnot a number\r\n"));
        RecordingPainter painter(m_document);
        QVERIFY(!OpenMap(m_document, painter, m_title, m_dir.path(), QStringLiteral("more.map")));
        QCOMPARE(m_document.MapCells[0], SymbolCode(9));
        QCOMPARE(m_document.MapCells[874], SymbolCode(0));
    }

    // A file that is no map changes nothing: cells, pictures, title and names.
    void failedLoadChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("too short") << mapfile::encode(MapCodes {}).left(100)
                                   << QStringLiteral("Line 35: the file ends after 34 lines");
        QTest::newRow("bad line") << QByteArray("1\r\n2\r\nthree\r\n")
                                  << QStringLiteral("Line 3: \"three\"");
        QTest::newRow("unknown code")
            << mapfile::encode(MapCodes {}).replace(0, 1, "70") << QStringLiteral("Line 1: 70");
    }
    void failedLoadChangesNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, mentions);
        QVERIFY(writeFile(m_dir.filePath(QStringLiteral("bad.map")), bytes));
        checkFailedOpen(QStringLiteral("bad.map"), mentions);
    }

    void failedLoadOfWhatIsNoFile()
    {
        checkFailedOpen(QStringLiteral("missing.map"), QStringLiteral("There is no such file."));
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder.map")));
        checkFailedOpen(QStringLiteral("folder.map"), QStringLiteral("not a map file"));
    }

    void failedSaveKeepsOldFileTitleAndNames()
    {
        const QString path = m_dir.filePath(QStringLiteral("keep.map"));
        const QByteArray old = "old contents";
        QVERIFY(writeFile(path, old));
        m_document.MapDirectory = QStringLiteral("/before");
        m_document.MapFileName = QStringLiteral("before.map");
        const auto failing = [](const QString &, const QByteArray &) -> std::optional<QString> {
            return QStringLiteral("No space left on device.");
        };
        const auto outcome
            = SaveMapAs(m_document, m_title, m_dir.path(), QStringLiteral("keep.map"), failing);
        QVERIFY(outcome);
        QVERIFY(outcome->text.contains(path));
        QVERIFY(outcome->text.contains(QStringLiteral("No space left on device.")));
        QCOMPARE(readFile(path), old);
        QVERIFY(m_title.titles.isEmpty());
        QCOMPARE(m_document.MapDirectory, QStringLiteral("/before"));
        QCOMPARE(m_document.MapFileName, QStringLiteral("before.map"));
    }

    void saveIntoAMissingDirectoryOrOverAFolderFails()
    {
        const QString missing = m_dir.filePath(QStringLiteral("gone"));
        auto outcome = SaveMapAs(m_document, m_title, missing, QStringLiteral("a.map"));
        QVERIFY(outcome);
        QCOMPARE(outcome->title, QStringLiteral("Error: Map not saved"));
        QVERIFY(!QFile::exists(missing));

        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("taken.map")));
        outcome = SaveMapAs(m_document, m_title, m_dir.path(), QStringLiteral("taken.map"));
        QVERIFY(outcome);
        QVERIFY(outcome->text.contains(QStringLiteral("folder")));
        QVERIFY(QFileInfo(m_dir.filePath(QStringLiteral("taken.map"))).isDir());
        QVERIFY(m_title.titles.isEmpty());
        QVERIFY(!m_document.hasCurrentFile());
    }

private:
    void checkFailedOpen(const QString &name, const QString &mentions)
    {
        m_document.MapCells.fill(3);
        m_document.MapDirectory = QStringLiteral("/before");
        m_document.MapFileName = QStringLiteral("before.map");
        RecordingPainter painter(m_document);
        const auto outcome = OpenMap(m_document, painter, m_title, m_dir.path(), name);
        QVERIFY(outcome);
        QCOMPARE(outcome->title, QStringLiteral("Error: Map not opened"));
        QVERIFY2(outcome->text.contains(mentions), qPrintable(outcome->text));
        QVERIFY(outcome->text.contains(m_dir.filePath(name)));
        QVERIFY(painter.painted.isEmpty());
        QVERIFY(std::all_of(m_document.MapCells.begin(), m_document.MapCells.end(),
            [](SymbolCode c) { return c == 3; }));
        QVERIFY(m_title.titles.isEmpty());
        QCOMPARE(m_document.MapDirectory, QStringLiteral("/before"));
        QCOMPARE(m_document.MapFileName, QStringLiteral("before.map"));
    }

    QTemporaryDir m_dir;
    Standard m_document;
    RecordingTitle m_title;
};

QTEST_GUILESS_MAIN(TestMapStorage)
#include "test_mapstorage.moc"
