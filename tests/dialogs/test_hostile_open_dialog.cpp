// Hostile files chosen the way a person chooses them, in the Open dialog: OK
// shows the reason and leaves the dialog open, and the map, the title and the
// current file stay as they were.
#include "dialogs/DialogTestKit.h"
#include "dialogs/frmOpen.h"
#include "support/DocumentFakes.h"
#include "support/ScriptedPrompt.h"

#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>

#include <functional>
#include <sys/stat.h>

using namespace vellumor;
using namespace vellumor::testing;

namespace {

using Change = std::function<bool(const QString &path)>;

bool replaceWithPipe(const QString &path)
{
    return QFile::remove(path) && ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

bool replaceWithFolder(const QString &path)
{
    return QFile::remove(path) && QDir().mkdir(path);
}

bool replaceWithEndlessDevice(const QString &path)
{
    return QFile::remove(path) && QFile::link(QStringLiteral("/dev/zero"), path);
}

bool makeSparse(const QString &path, qint64 size)
{
    return QFile::resize(path, size);
}

} // namespace

class TestHostileOpenDialog : public QObject
{
    Q_OBJECT
private slots:
    // bytes is written as chosen.map and listed; change then runs on it before OK.
    void okRefusesAndKeepsEverything_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("reason");

        const Change none = [](const QString &) { return true; };
        const QByteArray map = mapOf(5);
        QTest::newRow("empty file") << QByteArray() << none << QStringLiteral("Line 1: ");
        QTest::newRow("874 lines") << map.left(874 * 3) << none << QStringLiteral("Line 875: ");
        QByteArray letter = map;
        letter[3] = 'x';
        QTest::newRow("letter on line 2") << letter << none << QStringLiteral("Line 2: ");
        QTest::newRow("65") << "65\r\n" + map << none << QStringLiteral("Line 1: ");
        QTest::newRow("32768") << "32768\r\n" + map << none << QStringLiteral("Line 1: ");
        QTest::newRow("NUL byte") << QByteArray("\0\r\n", 3) + map << none
                                  << QStringLiteral("Line 1: \"\\x00\"");
        QTest::newRow("byte-order mark")
            << "\xef\xbb\xbf" + map << none << QStringLiteral("Line 1: ");
        QTest::newRow("CR alone") << QByteArray(map).replace("\r\n", "\r") << none
                                  << QStringLiteral("Line 1: ");
        QTest::newRow("a single 100 MB line")
            << QByteArray(64, '1')
            << Change([](const QString &path) { return makeSparse(path, 100 << 20); })
            << QStringLiteral("Line 1: ");
        QTest::newRow("2 GB sparse file") << QByteArray() << Change([](const QString &path) {
            return makeSparse(path, qint64(2) << 30);
        }) << QStringLiteral("Line 1: ");
        QTest::newRow("deleted after listing")
            << map << Change([](const QString &path) { return QFile::remove(path); })
            << QStringLiteral("There is no such file.");
        QTest::newRow("a pipe by OK")
            << map << Change(replaceWithPipe) << QStringLiteral("not a map file");
        QTest::newRow("a folder by OK")
            << map << Change(replaceWithFolder) << QStringLiteral("not a map file");
        QTest::newRow("a link to /dev/zero by OK")
            << map << Change(replaceWithEndlessDevice) << QStringLiteral("not a map file");
    }

    void okRefusesAndKeepsEverything()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Change, change);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("chosen.map"));
        QVERIFY(writeFile(path, bytes));

        Standard document;
        document.MapCells.fill(9);
        document.MapDirectory = QStringLiteral("/maps");
        document.MapFileName = QStringLiteral("before.map");
        RecordingPainter painter(document);
        RecordingTitle title;
        ScriptedPrompt prompt;
        frmOpen dialog(document, painter, title, prompt, nullptr, dir.path());
        QVERIFY(showActive(dialog));
        clickEntry(part<QListWidget>(dialog, "filFileList1"), QStringLiteral("chosen.map"));
        QVERIFY(change(path));
        QTest::mouseClick(part<QPushButton>(dialog, "cmdOpenOK"), Qt::LeftButton);

        QCOMPARE(prompt.asked.size(), 1);
        QCOMPARE(prompt.asked[0].title, QStringLiteral("Error: Map not opened"));
        QVERIFY2(prompt.asked[0].text.contains(QDir::toNativeSeparators(path)),
            qPrintable(prompt.asked[0].text));
        QVERIFY2(prompt.asked[0].text.contains(reason), qPrintable(prompt.asked[0].text));
        QVERIFY(dialog.isVisible());
        QVERIFY(painter.painted.isEmpty());
        QVERIFY(allCellsAre(document, 9));
        QCOMPARE(document.MapDirectory, QStringLiteral("/maps"));
        QCOMPARE(document.MapFileName, QStringLiteral("before.map"));
        QVERIFY(title.titles.isEmpty());
    }

    // Pipes, devices and folders named like maps are not offered at all.
    void listsOnlyFiles()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(writeFile(dir.filePath(QStringLiteral("real.map")), mapOf(1)));
        QCOMPARE(
            ::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe.map"))).constData(), 0600),
            0);
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.map")));
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), dir.filePath(QStringLiteral("zero.map"))));

        Standard document;
        RecordingPainter painter(document);
        RecordingTitle title;
        ScriptedPrompt prompt;
        frmOpen dialog(document, painter, title, prompt, nullptr, dir.path());
        QCOMPARE(listed(part<QListWidget>(dialog, "filFileList1")),
            QStringList {QStringLiteral("real.map")});
    }
};

QTEST_MAIN(TestHostileOpenDialog)
#include "test_hostile_open_dialog.moc"
