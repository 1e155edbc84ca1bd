// Saving and opening maps through the real windows, from the menus and toolbar.
#include "document/MapCodec.h"
#include "mainwindow/MainWindowFixture.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

using namespace vellumor;
using namespace vellumor::testing;

namespace {

// Types a name into Save As and presses OK.
std::function<void(QDialog &)> saveAs(const QString &name)
{
    return [name](QDialog &dialog) {
        dialog.show();
        auto *field = dialog.findChild<QLineEdit *>(QStringLiteral("txtFileName"));
        QVERIFY(field);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, name);
        clickButton(dialog, "cmdSaveAsOK");
    };
}

std::function<void(QDialog &)> open(const QString &name)
{
    return [name](QDialog &dialog) {
        dialog.show();
        clickListEntry(dialog, name);
        clickButton(dialog, "cmdOpenOK");
    };
}

} // namespace

class TestMapFiles : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir->path()));
    }
    void cleanup() { QDir::setCurrent(m_previous); }

    void saveFromToolbarAsksForANameThenSavesAtOnce()
    {
        MainWindowFixture f;
        f.chooseSymbol(17);
        f.clickCell(0);
        f.prompt.dialogSteps = {saveAs(QStringLiteral("castle.map"))};
        QTest::mouseClick(f.button("cmdSave"), Qt::LeftButton);
        QCOMPARE(f.prompt.dialogsRun, 1);

        const QString path = m_dir->filePath(QStringLiteral("castle.map"));
        QByteArray bytes = readFile(path);
        QCOMPARE(bytes.size(), 2626);
        QVERIFY(bytes.startsWith("17\r\n0\r\n"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Vellumor  v1.1: castle.map"));
        QCOMPARE(f.window->focusWidget(), f.window.get());

        // With a current file, Save writes at once.
        f.clickCell(874);
        f.window->mnuFile_Save_Click();
        QCOMPARE(f.prompt.dialogsRun, 1);
        QVERIFY(readFile(path).endsWith("\r\n17\r\n"));
    }

    void openReplacesAChangedMap()
    {
        MainWindowFixture f;
        f.chooseSymbol(30);
        f.clickCell(437);
        f.prompt.dialogSteps = {saveAs(QStringLiteral("lake.map"))};
        f.window->mnuFile_SaveAs_Click();
        const MapCodes saved = f.document.MapCells;

        f.chooseSymbol(50);
        for (int i : {0, 437, 874})
            f.clickCell(i);
        f.prompt.answers = {Prompt::Answer::Yes};
        f.window->mnuFile_NewMap_Click();
        f.clickCell(12);

        f.prompt.dialogSteps = {open(QStringLiteral("lake.map"))};
        f.window->mnuFile_Open_Click();
        QVERIFY(f.document.MapCells == saved);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Vellumor  v1.1: lake.map"));
        QCOMPARE(f.document.MapFileName, QStringLiteral("lake.map"));
        const QImage shown = f.window->mapView()->grab().toImage();
        QVERIFY(shown.pixelColor(frmChildMap::cellRect(437).center()) != QColor(Qt::white));
        QCOMPARE(shown.pixelColor(frmChildMap::cellRect(12).center()), QColor(Qt::white));
    }

    void saveAfterClearWritesTheSameFileAndAfterNewAsksAgain()
    {
        MainWindowFixture f;
        f.chooseSymbol(5);
        f.clickCell(3);
        f.prompt.dialogSteps = {saveAs(QStringLiteral("inn.map"))};
        f.window->mnuFile_Save_Click();

        f.prompt.answers = {Prompt::Answer::Yes};
        f.window->mnuEdit_ClearMap_Click();
        f.window->mnuFile_Save_Click();
        QCOMPARE(f.prompt.dialogsRun, 1);
        QCOMPARE(
            readFile(m_dir->filePath(QStringLiteral("inn.map"))), mapfile::encode(MapCodes {}));

        f.prompt.answers = {Prompt::Answer::Yes};
        f.window->mnuFile_NewMap_Click();
        f.window->mnuFile_Save_Click(); // no step: the dialog is cancelled
        QCOMPARE(f.prompt.dialogsRun, 2);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Vellumor  v1.1"));
    }

    void saveWithHalfAFileNameAsksForAName()
    {
        MainWindowFixture f;
        f.document.MapDirectory = m_dir->path();
        f.window->mnuFile_Save_Click();
        f.document.MapDirectory.clear();
        f.document.MapFileName = QStringLiteral("x.map");
        f.window->mnuFile_Save_Click();
        QCOMPARE(f.prompt.dialogsRun, 2);
        QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("x.map"))));
    }

    void failedSaveTellsAndKeepsEverything()
    {
        MainWindowFixture f;
        f.chooseSymbol(1);
        f.clickCell(1);
        f.prompt.dialogSteps = {saveAs(QStringLiteral("town.map"))};
        f.window->mnuFile_Save_Click();
        const QString title = f.window->windowTitle();

        // The directory disappears under the current file.
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("sub")));
        f.document.MapDirectory = m_dir->filePath(QStringLiteral("sub"));
        QVERIFY(QDir(m_dir->path()).rmdir(QStringLiteral("sub")));
        f.window->mnuFile_Save_Click();
        QCOMPARE(f.prompt.asked.size(), 1);
        QCOMPARE(f.prompt.asked[0].title, QStringLiteral("Error: Map not saved"));
        QCOMPARE(f.prompt.asked[0].icon, Prompt::Icon::Warning);
        QCOMPARE(f.window->windowTitle(), title);
    }

    void failedOpenTellsAndKeepsEverything()
    {
        QFile bad(m_dir->filePath(QStringLiteral("bad.map")));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("1\r\n2\r\nthree\r\n");
        bad.close();

        MainWindowFixture f;
        f.chooseSymbol(8);
        f.clickCell(100);
        const MapCodes before = f.document.MapCells;
        bool stayedOpen = false;
        f.prompt.dialogSteps = {[&](QDialog &dialog) {
            open(QStringLiteral("bad.map"))(dialog);
            stayedOpen = dialog.isVisible();
            dialog.reject();
        }};
        f.window->mnuFile_Open_Click();
        QVERIFY(stayedOpen);
        QCOMPARE(f.prompt.asked.size(), 1);
        QVERIFY(f.prompt.asked[0].text.contains(QStringLiteral("Line 3")));
        QVERIFY(f.document.MapCells == before);
        QVERIFY(f.document.MapFileName.isEmpty());
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Vellumor v1.1"));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previous;
};

QTEST_MAIN(TestMapFiles)
#include "test_mapfiles.moc"
