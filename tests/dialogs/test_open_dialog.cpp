#include "dialogs/DialogTestKit.h"
#include "dialogs/frmOpen.h"
#include "support/DocumentFakes.h"
#include "support/ScriptedPrompt.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <memory>

using namespace vellumor;
using namespace vellumor::testing;

namespace {

// One Open dialog over a fresh document, started in a temporary directory.
struct OpenFixture
{
    explicit OpenFixture(const QString &start)
        : dialog(document, painter, title, prompt, nullptr, start)
    { }
    QLabel *chosenName() { return part<QLabel>(dialog, "lblFileNameData"); }
    QLabel *path() { return part<QLabel>(dialog, "lblPath"); }
    QListWidget *files() { return part<QListWidget>(dialog, "filFileList1"); }
    QTreeWidget *directories() { return part<QTreeWidget>(dialog, "dirDirectories1"); }
    QPushButton *ok() { return part<QPushButton>(dialog, "cmdOpenOK"); }
    void clickOk() { QTest::mouseClick(ok(), Qt::LeftButton); }

    Standard document;
    RecordingPainter painter {document};
    RecordingTitle title;
    ScriptedPrompt prompt;
    frmOpen dialog;
};

} // namespace

class TestOpenDialog : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void startsAsLaidOut()
    {
        OpenFixture f(m_dir->path());
        QCOMPARE(f.dialog.objectName(), QStringLiteral("frmOpen"));
        QCOMPARE(f.dialog.windowTitle(), QStringLiteral("Open"));
        QCOMPARE(f.dialog.size(), QSize(404, 260));
        QVERIFY(f.ok()->isDefault());
        QVERIFY(f.chosenName()->text().isEmpty());
        QCOMPARE(f.path()->text(), m_dir->path());
        QCOMPARE(f.dialog.focusWidget(), part<QWidget>(f.dialog, "cmdOpenHelp"));
        QCOMPARE(tabChain(f.dialog.focusWidget()),
            QStringList({"cmdOpenHelp", "cmdOpenCancel", "cmdOpenOK", "dirDirectories1",
                "filFileList1", "drvDrives1"}));

        QVERIFY(showActive(f.dialog));
        QTest::mouseClick(part<QPushButton>(f.dialog, "cmdOpenHelp"), Qt::LeftButton);
        QVERIFY(f.dialog.isVisible());
        QVERIFY(f.prompt.asked.isEmpty());
    }

    void okWithNothingChosenOnlyComplains()
    {
        OpenFixture f(m_dir->path());
        QVERIFY(writeFile(m_dir->filePath("castle.map"), mapOf(5)));
        QVERIFY(showActive(f.dialog));
        f.ok()->setFocus();
        f.clickOk();

        QCOMPARE(f.prompt.asked.size(), 1);
        QCOMPARE(f.prompt.asked[0].title, QStringLiteral("Error: No file choosen"));
        QCOMPARE(f.prompt.asked[0].text, QStringLiteral("You have not choosen a map to open."));
        QCOMPARE(f.prompt.asked[0].buttons, Prompt::Buttons::Ok);
        QCOMPARE(f.prompt.asked[0].icon, Prompt::Icon::Warning);
        QVERIFY(f.dialog.isVisible());
        QCOMPARE(f.dialog.focusWidget(), f.ok());
        QVERIFY(!f.document.hasCurrentFile());
        QVERIFY(f.painter.painted.isEmpty());
        QVERIFY(f.title.titles.isEmpty());
    }

    void opensTheLastChosenEntry()
    {
        QVERIFY(writeFile(m_dir->filePath("a.map"), mapOf(1)));
        QVERIFY(writeFile(m_dir->filePath("b.map"), mapOf(2)));
        OpenFixture f(m_dir->path());
        QVERIFY(showActive(f.dialog));
        clickEntry(f.files(), "a.map");
        QCOMPARE(f.chosenName()->text(), QStringLiteral("a.map"));
        clickEntry(f.files(), "b.map");
        QCOMPARE(f.chosenName()->text(), QStringLiteral("b.map"));
        f.clickOk();

        QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
        QVERIFY(!f.dialog.isVisible());
        QVERIFY(f.prompt.asked.isEmpty());
        QCOMPARE(f.document.MapDirectory, m_dir->path());
        QCOMPARE(f.document.MapFileName, QStringLiteral("b.map"));
        QVERIFY(allCellsAre(f.document, 2));
        QCOMPARE(f.painter.painted.size(), kCellCount);
        QCOMPARE(f.title.titles, QStringList({"Vellumor  v1.1: b.map"}));
    }

    void cancelOrCloseChangesNothing_data()
    {
        QTest::addColumn<bool>("byCloseControl");
        QTest::newRow("Cancel") << false;
        QTest::newRow("close control") << true;
    }
    void cancelOrCloseChangesNothing()
    {
        QFETCH(bool, byCloseControl);
        QVERIFY(writeFile(m_dir->filePath("castle.map"), mapOf(3)));
        OpenFixture f(m_dir->path());
        f.document.MapDirectory = QStringLiteral("/elsewhere");
        f.document.MapFileName = QStringLiteral("old.map");
        QVERIFY(showActive(f.dialog));
        clickEntry(f.files(), "castle.map");
        // Escape is bound to no button: the dialog stays as it was.
        QTest::keyClick(f.files(), Qt::Key_Escape);
        QTest::keyClick(&f.dialog, Qt::Key_Escape);
        QVERIFY(f.dialog.isVisible());
        QCOMPARE(f.chosenName()->text(), QStringLiteral("castle.map"));
        if (byCloseControl)
            f.dialog.close();
        else
            QTest::mouseClick(part<QPushButton>(f.dialog, "cmdOpenCancel"), Qt::LeftButton);

        QCOMPARE(f.dialog.result(), int(QDialog::Rejected));
        QVERIFY(!f.dialog.isVisible());
        QCOMPARE(f.document.MapDirectory, QStringLiteral("/elsewhere"));
        QCOMPARE(f.document.MapFileName, QStringLiteral("old.map"));
        QVERIFY(allCellsAre(f.document, 0));
        QVERIFY(f.title.titles.isEmpty());
    }

    void listsEveryMapFileAndOnlyThose()
    {
        QDir dir(m_dir->path());
        for (const char *name : {"map1.map.bak", ".map", "CAVE.MAP", "notes.txt", "map"})
            QVERIFY(writeFile(dir.filePath(name), mapOf(4)));
        QVERIFY(dir.mkdir("folder.map"));
        QVERIFY(QFile::link(dir.filePath("map1.map.bak"), dir.filePath("link.map")));
        QVERIFY(QFile::link(dir.filePath("missing"), dir.filePath("broken.map")));

        OpenFixture f(m_dir->path());
        QCOMPARE(listed(f.files()), QStringList({".map", "CAVE.MAP", "link.map", "map1.map.bak"}));

        // Chosen by keyboard this time: the first entry, then two down.
        QVERIFY(showActive(f.dialog));
        f.files()->setFocus(Qt::TabFocusReason);
        QVERIFY(f.chosenName()->text().isEmpty()); // entering the list chooses nothing
        QTest::keyClick(f.files(), Qt::Key_Space);
        QCOMPARE(f.chosenName()->text(), QStringLiteral(".map"));
        QTest::keyClick(f.files(), Qt::Key_Down);
        QTest::keyClick(f.files(), Qt::Key_Down);
        QTest::keyClick(f.files(), Qt::Key_Down);
        QCOMPARE(f.chosenName()->text(), QStringLiteral("map1.map.bak"));
        QTest::keyClick(f.files(), Qt::Key_Return);
        QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
        QCOMPARE(f.document.MapFileName, QStringLiteral("map1.map.bak"));
        QVERIFY(allCellsAre(f.document, 4));
    }

    void movingTheDirectoryListMovesTheWholeDialog()
    {
        QDir dir(m_dir->path());
        QVERIFY(dir.mkdir("sub"));
        QVERIFY(writeFile(dir.filePath("top.map"), mapOf(1)));
        QVERIFY(writeFile(dir.filePath("sub/deep.map"), mapOf(6)));
        OpenFixture f(m_dir->path());
        QVERIFY(showActive(f.dialog));
        clickEntry(f.files(), "top.map");

        enterDirectory(f.directories(), "sub");
        QVERIFY(f.dialog.isVisible()); // Enter moved the list and pressed no button
        QVERIFY(f.prompt.asked.isEmpty());
        QCOMPARE(f.path()->text(), dir.filePath("sub"));
        QCOMPARE(listed(f.files()), QStringList({"deep.map"}));
        QVERIFY(f.chosenName()->text().isEmpty()); // top.map is not in sub

        // Back up by double-click, and down again.
        QTreeWidgetItem *top
            = f.directories()->findItems(dir.dirName(), Qt::MatchExactly | Qt::MatchRecursive)[0];
        const QPoint topPlace = f.directories()->visualItemRect(top).center();
        QTest::mouseClick(f.directories()->viewport(), Qt::LeftButton, {}, topPlace);
        QCOMPARE(f.path()->text(), dir.filePath("sub")); // a single click only selects
        QTest::mouseDClick(f.directories()->viewport(), Qt::LeftButton, {}, topPlace);
        QCOMPARE(f.path()->text(), m_dir->path());
        QCOMPARE(listed(f.files()), QStringList({"top.map"}));
        enterDirectory(f.directories(), "sub");

        clickEntry(f.files(), "deep.map");
        f.clickOk();
        QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
        QCOMPARE(f.document.MapDirectory, dir.filePath("sub"));
        QCOMPARE(f.document.MapFileName, QStringLiteral("deep.map"));
        QVERIFY(allCellsAre(f.document, 6));
    }

    void choosingADriveMovesToItsRoot()
    {
        OpenFixture f(m_dir->path());
        auto *drives = part<QComboBox>(f.dialog, "drvDrives1");
        QVERIFY(drives->count() > 0);
        const QString root = drives->currentData().toString();
        QVERIFY(QDir(m_dir->path()).absolutePath().startsWith(root));

        emit drives->activated(drives->currentIndex());
        QCOMPARE(f.directories()->currentItem()->text(0),
            QDir(root).isRoot() ? root : QDir(root).dirName());
        QCOMPARE(f.path()->text(), QDir::cleanPath(root));
    }

    void aBadFileLeavesEverythingAsItWas_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("not numbers") << QByteArray("grass\r\nwater\r\n");
        QTest::newRow("removed after listing") << QByteArray();
    }
    void aBadFileLeavesEverythingAsItWas()
    {
        QFETCH(QByteArray, contents);
        const QString path = m_dir->filePath("bad.map");
        QVERIFY(writeFile(path, contents.isEmpty() ? mapOf(7) : contents));
        OpenFixture f(m_dir->path());
        f.document.MapDirectory = QStringLiteral("/elsewhere");
        f.document.MapFileName = QStringLiteral("old.map");
        QVERIFY(showActive(f.dialog));
        clickEntry(f.files(), "bad.map");
        if (contents.isEmpty())
            QVERIFY(QFile::remove(path));
        f.clickOk();

        QCOMPARE(f.prompt.asked.size(), 1);
        QCOMPARE(f.prompt.asked[0].title, QStringLiteral("Error: Map not opened"));
        QCOMPARE(f.prompt.asked[0].icon, Prompt::Icon::Warning);
        QVERIFY(f.dialog.isVisible());
        QCOMPARE(f.chosenName()->text(), QStringLiteral("bad.map"));
        QCOMPARE(f.document.MapDirectory, QStringLiteral("/elsewhere"));
        QCOMPARE(f.document.MapFileName, QStringLiteral("old.map"));
        QVERIFY(f.painter.painted.isEmpty());
        QVERIFY(f.title.titles.isEmpty());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(TestOpenDialog)
#include "test_open_dialog.moc"
