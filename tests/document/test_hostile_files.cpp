// Files that are no map, or no file at all, opened through the real storage:
// each is refused with its name and the line at fault, reading stops early, and
// the map, the title and the current file stay exactly as they were.
#include "document/MapCodec.h"
#include "document/MapStorage.h"
#include "support/DocumentFakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace vellumor;
using namespace vellumor::testing;

namespace {

// 875 lines of "1", with the given text as line number `line` (1-based).
QByteArray mapWithLine(int line, const QByteArray &text, const QByteArray &end = "\r\n")
{
    QByteArray bytes;
    for (int i = 1; i <= kCellCount; ++i)
        bytes += (i == line ? text : QByteArray("1")) + end;
    return bytes;
}

QByteArray linesOf(const QByteArray &text, int count, const QByteArray &end = "\r\n")
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += text + end;
    return bytes;
}

// Bytes this process has read through read() and the like so far.
qint64 bytesReadSoFar()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = io.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    }
    return -1;
}

} // namespace

class TestHostileFiles : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    Standard m_document;
    RecordingTitle m_title;
    MapCodes m_before {};

    // A map that was opened from before.map, to compare against after a refusal.
    void startFromAnOpenMap()
    {
        m_document = Standard {};
        m_title = RecordingTitle {};
        for (int i = 0; i < kCellCount; ++i)
            m_before[std::size_t(i)] = SymbolCode(i % 65);
        m_document.MapCells = m_before;
        m_document.CurrentSymbol = 12;
        m_document.MapDirectory = m_dir.path();
        m_document.MapFileName = QStringLiteral("before.map");
        m_title.showTitle(titles::forFile(QStringLiteral("before.map")));
    }

    void verifyNothingChanged(const RecordingPainter &painter)
    {
        QVERIFY(painter.painted.isEmpty());
        QVERIFY(m_document.MapCells == m_before);
        QCOMPARE(m_document.CurrentSymbol, SymbolCode(12));
        QCOMPARE(m_document.MapDirectory, m_dir.path());
        QCOMPARE(m_document.MapFileName, QStringLiteral("before.map"));
        QCOMPARE(m_title.titles, QStringList {titles::forFile(QStringLiteral("before.map"))});
    }

    // Opens name from the test directory and expects a refusal whose text
    // names the file and holds expectedReason.
    void verifyRefused(const QString &name, const QString &expectedReason)
    {
        RecordingPainter painter(m_document);
        const StorageOutcome outcome = OpenMap(m_document, painter, m_title, m_dir.path(), name);
        QVERIFY(outcome);
        QCOMPARE(outcome->title, QStringLiteral("Error: Map not opened"));
        QVERIFY2(outcome->text.contains(QDir::toNativeSeparators(m_dir.filePath(name))),
            qPrintable(outcome->text));
        QVERIFY2(outcome->text.contains(expectedReason), qPrintable(outcome->text));
        verifyNothingChanged(painter);
    }

    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        startFromAnOpenMap();
    }

    // What the reader takes and what it refuses, and the line it then names.
    void readerDecision_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("refusedLine"); // 0: accepted
        QTest::addColumn<int>("cell299"); // when accepted; every other cell holds 1

        QTest::newRow("CR LF, as written") << mapWithLine(1, "1") << 0 << 1;
        QTest::newRow("LF alone") << mapWithLine(1, "1", "\n") << 0 << 1;
        QTest::newRow("blanks around") << mapWithLine(300, " 7 ") << 0 << 7;
        QTest::newRow("tabs around") << mapWithLine(300, "\t7\t") << 0 << 7;
        QTest::newRow("no last line end") << mapWithLine(1, "1").chopped(2) << 0 << 1;
        QTest::newRow("875 lines then garbage")
            << mapWithLine(1, "1") + QByteArray("x\0\xff\r\rz", 6) << 0 << 1;
        QTest::newRow("-0") << mapWithLine(300, "-0") << 0 << 0;
        QTest::newRow("leading zeros") << mapWithLine(300, "007") << 0 << 7;

        QTest::newRow("empty file") << QByteArray() << 1 << 0;
        QTest::newRow("874 lines") << linesOf("1", 874) << 875 << 0;
        QTest::newRow("letter") << mapWithLine(300, "a") << 300 << 0;
        QTest::newRow("+5") << mapWithLine(300, "+5") << 300 << 0;
        QTest::newRow("1e3") << mapWithLine(300, "1e3") << 300 << 0;
        QTest::newRow("0x10") << mapWithLine(300, "0x10") << 300 << 0;
        QTest::newRow("65") << mapWithLine(300, "65") << 300 << 0;
        QTest::newRow("-1") << mapWithLine(300, "-1") << 300 << 0;
        QTest::newRow("32768") << mapWithLine(300, "32768") << 300 << 0;
        QTest::newRow("-32769") << mapWithLine(300, "-32769") << 300 << 0;
        QTest::newRow("twenty nines") << mapWithLine(300, "99999999999999999999") << 300 << 0;
        QTest::newRow("NUL byte") << mapWithLine(300, QByteArray("1\0", 2)) << 300 << 0;
        QTest::newRow("blank line") << mapWithLine(300, "") << 300 << 0;
        QTest::newRow("two numbers") << mapWithLine(300, "1 2") << 300 << 0;
        QTest::newRow("100-byte line") << mapWithLine(300, QByteArray(100, '1')) << 300 << 0;
        QTest::newRow("UTF-8 byte-order mark") << "\xef\xbb\xbf" + mapWithLine(1, "1") << 1 << 0;
        const QString text = QString::fromLatin1(mapWithLine(1, "1"));
        const QByteArray utf16 = QByteArray("\xff\xfe")
            + QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        QTest::newRow("UTF-16 text") << utf16 << 1 << 0;
        QTest::newRow("CR alone as line end") << mapWithLine(1, "1", "\r") << 1 << 0;
    }

    void readerDecision()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, refusedLine);
        QFETCH(int, cell299);
        writeFile(QStringLiteral("hostile.map"), bytes);

        if (refusedLine > 0) {
            verifyRefused(
                QStringLiteral("hostile.map"), QStringLiteral("Line %1: ").arg(refusedLine));
            return;
        }
        RecordingPainter painter(m_document);
        QVERIFY(
            !OpenMap(m_document, painter, m_title, m_dir.path(), QStringLiteral("hostile.map")));
        QCOMPARE(painter.painted.size(), kCellCount);
        QCOMPARE(m_title.current(), titles::forFile(QStringLiteral("hostile.map")));
        QCOMPARE(m_document.MapFileName, QStringLiteral("hostile.map"));
        MapCodes expected;
        expected.fill(1);
        expected[299] = SymbolCode(cell299);
        QVERIFY(m_document.MapCells == expected);
    }

    // Not regular files: refused at once, without blocking or reading forever.
    void refusesWhatIsNoFile()
    {
        const QByteArray fifo = QFile::encodeName(m_dir.filePath(QStringLiteral("pipe.map")));
        QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
        verifyRefused(QStringLiteral("pipe.map"), QStringLiteral("not a map file"));

        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder.map")));
        verifyRefused(QStringLiteral("folder.map"), QStringLiteral("not a map file"));

        QVERIFY(
            QFile::link(QStringLiteral("/dev/zero"), m_dir.filePath(QStringLiteral("zero.map"))));
        verifyRefused(QStringLiteral("zero.map"), QStringLiteral("not a map file"));

        verifyRefused(QStringLiteral("missing.map"), QStringLiteral("There is no such file."));
    }

    void refusesAFileDeletedAfterItWasListed()
    {
        writeFile(QStringLiteral("gone.map"), mapWithLine(1, "1"));
        const QStringList listed
            = QDir(m_dir.path()).entryList({QStringLiteral("*.map*")}, QDir::Files);
        QVERIFY(listed.contains(QStringLiteral("gone.map")));
        QVERIFY(QFile::remove(m_dir.filePath(QStringLiteral("gone.map"))));
        verifyRefused(QStringLiteral("gone.map"), QStringLiteral("There is no such file."));
    }

    // The system would cut the name at the NUL and open "cut" instead.
    void refusesANameWithANul()
    {
        writeFile(QStringLiteral("cut"), mapWithLine(1, "1"));
        verifyRefused(
            QStringLiteral("cut") + QChar(0) + QStringLiteral(".map"), QStringLiteral("NUL"));
    }

    // Reading stops as soon as the file shows itself to be a map or no map.
    void readsLittleOfAHugeFile_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("isMap");
        QTest::newRow("a single 100 MB line")
            << QByteArray(4096, '7') << (qint64(100) << 20) << false;
        QTest::newRow("2 GB of NUL bytes") << QByteArray() << (qint64(2) << 30) << false;
        QTest::newRow("a map, then 2 GB") << mapWithLine(1, "1") << (qint64(2) << 30) << true;
    }

    void readsLittleOfAHugeFile()
    {
        QFETCH(QByteArray, head);
        QFETCH(qint64, size);
        QFETCH(bool, isMap);
        if (bytesReadSoFar() < 0)
            QSKIP("this system does not count the bytes a process reads");
        writeFile(QStringLiteral("huge.map"), head);
        // Sparse: the file system stores nothing for the rest.
        QVERIFY(QFile::resize(m_dir.filePath(QStringLiteral("huge.map")), size));

        const qint64 readBefore = bytesReadSoFar();
        RecordingPainter painter(m_document);
        const StorageOutcome outcome
            = OpenMap(m_document, painter, m_title, m_dir.path(), QStringLiteral("huge.map"));
        const qint64 read = bytesReadSoFar() - readBefore;
        QVERIFY2(read < 64 * 1024, qPrintable(QStringLiteral("read %1 bytes").arg(read)));
        if (isMap) {
            QVERIFY(!outcome);
            QCOMPARE(painter.painted.size(), kCellCount);
        } else {
            QVERIFY(outcome);
            QVERIFY2(outcome->text.contains(QStringLiteral("Line 1: ")), qPrintable(outcome->text));
            verifyNothingChanged(painter);
        }
    }
};

QTEST_GUILESS_MAIN(TestHostileFiles)
#include "test_hostile_files.moc"
