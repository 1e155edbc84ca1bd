#include "dialogs/DialogTestKit.h"
#include "dialogs/frmSaveAs.h"
#include "support/DocumentFakes.h"
#include "support/ScriptedPrompt.h"

#include <QDir>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <memory>

using namespace vellumor;
using namespace vellumor::testing;

namespace {

const QString kOldMap = QStringLiteral("old contents");

// One Save As dialog over a document whose cells all hold 9, started in a
// temporary directory.
struct SaveAsFixture
{
    explicit SaveAsFixture(const QString &start)
        : dialog(document, title, prompt, nullptr, start)
    {
        document.MapCells.fill(9);
    }
    QLineEdit *name() { return part<QLineEdit>(dialog, "txtFileName"); }
    QListWidget *files() { return part<QListWidget>(dialog, "filFileList1"); }
    QTreeWidget *directories() { return part<QTreeWidget>(dialog, "dirDirectories1"); }
    QPushButton *ok() { return part<QPushButton>(dialog, "cmdSaveAsOK"); }

    void type(const QString &text)
    {
        name()->setFocus(Qt::MouseFocusReason);
        name()->clear();
        QTest::keyClicks(name(), text);
    }
    void typeAndPressEnter(const QString &text)
    {
        type(text);
        QTest::keyClick(name(), Qt::Key_Return);
    }
    void typeAndClickOk(const QString &text)
    {
        type(text);
        QTest::mouseClick(ok(), Qt::LeftButton);
    }
    bool savedAs(const QString &directory, const QString &fileName)
    {
        return dialog.result() == QDialog::Accepted && !dialog.isVisible()
            && document.MapDirectory == directory && document.MapFileName == fileName
            && title.titles == QStringList {titles::forFile(fileName)}
        && readFile(directory + '/' + fileName) == mapOf(9);
    }
    bool untouched()
    {
        return dialog.isVisible() && document.MapDirectory.isEmpty()
            && document.MapFileName.isEmpty() && title.titles.isEmpty();
    }

    Standard document;
    RecordingTitle title;
    ScriptedPrompt prompt;
    frmSaveAs dialog;
};

} // namespace

class TestSaveAsDialog : public QObject
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
        SaveAsFixture f(m_dir->path());
        QCOMPARE(f.dialog.objectName(), QStringLiteral("frmSaveAs"));
        QCOMPARE(f.dialog.windowTitle(), QStringLiteral("Save As..."));
        QCOMPARE(f.dialog.size(), QSize(404, 260));
        QCOMPARE(f.name()->text(), QStringLiteral("Map1.map"));
        QCOMPARE(part<QLabel>(f.dialog, "lblPath")->text(), m_dir->path());
        QVERIFY(f.ok()->isDefault());
        QCOMPARE(f.dialog.focusWidget(), part<QWidget>(f.dialog, "drvDrives1"));
        QCOMPARE(tabChain(f.dialog.focusWidget()),
            QStringList({"drvDrives1", "filFileList1", "dirDirectories1", "txtFileName",
                "cmdSaveAsOK", "cmdSaveAsCancel", "cmdSaveAsHelp"}));

        QVERIFY(showActive(f.dialog));
        QTest::mouseClick(part<QPushButton>(f.dialog, "cmdSaveAsHelp"), Qt::LeftButton);
        QVERIFY(f.untouched());
        QVERIFY(f.prompt.asked.isEmpty());
        QVERIFY(QDir(m_dir->path()).isEmpty());
    }

    void leavingTheTextBoxGivesTheMapSuffix()
    {
        SaveAsFixture f(m_dir->path());
        QVERIFY(showActive(f.dialog));
        f.type("castle");
        f.files()->setFocus(Qt::TabFocusReason);
        QCOMPARE(f.name()->text(), QStringLiteral("castle.map"));

        f.type("town.old");
        QTest::mouseClick(part<QPushButton>(f.dialog, "cmdSaveAsCancel"), Qt::LeftButton);
        QCOMPARE(f.name()->text(), QStringLiteral("town.map"));

        // A message box or the text box's own menu taking the focus for a
        // while is no move away from the text box.
        f.dialog.show();
        f.type("keep");
        QFocusEvent deactivated(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(f.name(), &deactivated);
        QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
        QApplication::sendEvent(f.name(), &popup);
        QCOMPARE(f.name()->text(), QStringLiteral("keep"));
    }

    void savesUnderTheNameAsItStands_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("byEnter");
        QTest::addColumn<QString>("saved");
        QTest::newRow("start name, Enter") << "Map1.map" << true << "Map1.map";
        QTest::newRow("click OK") << "castle" << false << "castle.map";
        // The focus never left the text box, so the name stays as typed.
        QTest::newRow("Enter in the text box") << "fort" << true << "fort";
        QTest::newRow("other suffix, Enter") << "castle.txt" << true << "castle.txt";
        QTest::newRow("emptied, click OK") << "" << false << ".map";
    }
    void savesUnderTheNameAsItStands()
    {
        QFETCH(QString, typed);
        QFETCH(bool, byEnter);
        QFETCH(QString, saved);
        SaveAsFixture f(m_dir->path());
        QVERIFY(showActive(f.dialog));
        if (byEnter)
            f.typeAndPressEnter(typed);
        else
            f.typeAndClickOk(typed);

        QVERIFY(f.prompt.asked.isEmpty());
        QVERIFY(f.savedAs(m_dir->path(), saved));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList({saved}));
    }

    void refusesNamesItCannotSaveUnder_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("title");
        QTest::newRow("empty") << ""
                               << "Error: No file name choosen";
        QTest::newRow("slash") << "maps/castle"
                               << "Error: Bad file name";
        QTest::newRow("control character") << "cas\ttle"
                                           << "Error: Bad file name";
        QTest::newRow("folder") << "castle.map"
                                << "Error: Name in use by a folder";
    }
    void refusesNamesItCannotSaveUnder()
    {
        QFETCH(QString, typed);
        QFETCH(QString, title);
        QDir dir(m_dir->path());
        QVERIFY(dir.mkdir("maps"));
        QVERIFY(dir.mkdir("castle.map"));
        SaveAsFixture f(m_dir->path());
        QVERIFY(showActive(f.dialog));
        f.name()->setText(typed);
        f.ok()->setFocus();
        QTest::keyClick(f.ok(), Qt::Key_Return);

        QCOMPARE(f.prompt.asked.size(), 1);
        QCOMPARE(f.prompt.asked[0].title, title);
        QCOMPARE(f.prompt.asked[0].buttons, Prompt::Buttons::Ok);
        QCOMPARE(f.prompt.asked[0].icon, Prompt::Icon::Warning);
        if (typed.isEmpty())
            QCOMPARE(f.prompt.asked[0].text,
                QStringLiteral("You have not choosen a name for your map."));
        QCOMPARE(f.dialog.focusWidget(), f.name());
        QVERIFY(f.untouched());
        QCOMPARE(dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList({"castle.map", "maps"}));
        QVERIFY(QDir(dir.filePath("castle.map")).isEmpty());
        QVERIFY(QDir(dir.filePath("maps")).isEmpty());
    }

    void asksBeforeReplacing_data()
    {
        QTest::addColumn<Prompt::Answer>("answer");
        QTest::newRow("Yes") << Prompt::Answer::Yes;
        QTest::newRow("No") << Prompt::Answer::No;
        QTest::newRow("Cancel") << Prompt::Answer::Cancel;
    }
    void asksBeforeReplacing()
    {
        QFETCH(Prompt::Answer, answer);
        const QString path = m_dir->filePath("castle.map");
        QVERIFY(writeFile(path, kOldMap.toLatin1()));
        SaveAsFixture f(m_dir->path());
        f.prompt.answers = {answer};
        QVERIFY(showActive(f.dialog));
        clickEntry(f.files(), "castle.map");
        QCOMPARE(f.name()->text(), QStringLiteral("castle.map"));
        QTest::mouseClick(f.ok(), Qt::LeftButton);

        QCOMPARE(f.prompt.asked.size(), 1);
        QCOMPARE(f.prompt.asked[0].title, QStringLiteral("Replace file: castle.map ?"));
        QCOMPARE(f.prompt.asked[0].text,
            QStringLiteral("A file of that name already exists, do you wish to replace it?"));
        QCOMPARE(f.prompt.asked[0].buttons, Prompt::Buttons::YesNoCancel);
        QCOMPARE(f.prompt.asked[0].icon, Prompt::Icon::Question);
        if (answer == Prompt::Answer::Yes) {
            QVERIFY(f.savedAs(m_dir->path(), "castle.map"));
        } else {
            QVERIFY(f.untouched());
            QCOMPARE(f.dialog.focusWidget(), f.ok());
            QCOMPARE(readFile(path), kOldMap.toLatin1());
        }
    }

    // A listed name is saved as it is listed, whatever its case or suffix: the
    // file replaced is the one the user chose.
    void replacesTheListedFileChosen_data()
    {
        QTest::addColumn<QString>("listed");
        QTest::addColumn<bool>("byKeyboard");
        QTest::newRow("upper case, click") << "CAVE.MAP" << false;
        QTest::newRow("upper case, keyboard") << "CAVE.MAP" << true;
        QTest::newRow("backup, click") << "town.map.bak" << false;
    }
    void replacesTheListedFileChosen()
    {
        QFETCH(QString, listed);
        QFETCH(bool, byKeyboard);
        QVERIFY(writeFile(m_dir->filePath(listed), kOldMap.toLatin1()));
        SaveAsFixture f(m_dir->path());
        f.prompt.answers = {Prompt::Answer::Yes};
        QVERIFY(showActive(f.dialog));
        if (byKeyboard) {
            f.files()->setFocus(Qt::TabFocusReason);
            QTest::keyClick(f.files(), Qt::Key_Space);
            QTest::keyClick(f.files(), Qt::Key_Return);
        } else {
            clickEntry(f.files(), listed);
            QTest::mouseClick(f.ok(), Qt::LeftButton);
        }

        QCOMPARE(f.prompt.asked.size(), 1);
        QCOMPARE(f.prompt.asked[0].title, QStringLiteral("Replace file: ") + listed + " ?");
        QVERIFY(f.savedAs(m_dir->path(), listed));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList({listed}));
    }

    // Escape is bound to no button; the close control still cancels.
    void escapeDoesNothing()
    {
        SaveAsFixture f(m_dir->path());
        QVERIFY(showActive(f.dialog));
        f.type("castle");
        QTest::keyClick(f.name(), Qt::Key_Escape);
        QTest::keyClick(f.files(), Qt::Key_Escape);
        QVERIFY(f.untouched());
        QVERIFY(f.dialog.close());
        QCOMPARE(f.dialog.result(), int(QDialog::Rejected));
        QVERIFY(QDir(m_dir->path()).isEmpty());
    }

    void asksForFilesTheListDoesNotShow()
    {
        SaveAsFixture f(m_dir->path());
        QVERIFY(showActive(f.dialog));
        // Written by someone else after the dialog listed the directory.
        QVERIFY(writeFile(m_dir->filePath("castle.map"), kOldMap.toLatin1()));
        QVERIFY(f.files()->findItems("castle.map", Qt::MatchExactly).isEmpty());
        f.typeAndClickOk("castle");

        QCOMPARE(f.prompt.asked.size(), 1);
        QCOMPARE(f.prompt.asked[0].title, QStringLiteral("Replace file: castle.map ?"));
        QVERIFY(f.untouched());
        QCOMPARE(readFile(m_dir->filePath("castle.map")), kOldMap.toLatin1());
    }

    void savesInTheDirectoryMovedTo()
    {
        QDir dir(m_dir->path());
        QVERIFY(dir.mkdir("sub"));
        QVERIFY(writeFile(dir.filePath("castle.map"), kOldMap.toLatin1()));
        QVERIFY(writeFile(dir.filePath("sub/town.map"), kOldMap.toLatin1()));
        SaveAsFixture f(m_dir->path());
        f.prompt.answers = {Prompt::Answer::No};
        QVERIFY(showActive(f.dialog));
        enterDirectory(f.directories(), "sub");
        QVERIFY(f.untouched()); // Enter in the list moved it and pressed no button
        QCOMPARE(part<QLabel>(f.dialog, "lblPath")->text(), dir.filePath("sub"));
        QCOMPARE(listed(f.files()), QStringList({"town.map"}));

        f.typeAndPressEnter("town.map");
        QCOMPARE(f.prompt.asked.size(), 1); // sub/town.map is there: asked, answered No
        f.typeAndPressEnter("castle.map");
        QCOMPARE(f.prompt.asked.size(), 1); // the castle.map above is another file
        QVERIFY(f.savedAs(dir.filePath("sub"), "castle.map"));
        QCOMPARE(readFile(dir.filePath("castle.map")), kOldMap.toLatin1());
    }

    void aFailedSaveLeavesEverythingAsItWas()
    {
        QDir dir(m_dir->path());
        QVERIFY(dir.mkdir("gone"));
        QVERIFY(writeFile(dir.filePath("old.map"), kOldMap.toLatin1()));
        SaveAsFixture f(m_dir->path());
        f.document.MapDirectory = m_dir->path();
        f.document.MapFileName = QStringLiteral("old.map");
        QVERIFY(showActive(f.dialog));
        enterDirectory(f.directories(), "gone");
        QVERIFY(dir.rmdir("gone"));
        f.typeAndPressEnter("old.map");

        QCOMPARE(f.prompt.asked.size(), 1);
        QCOMPARE(f.prompt.asked[0].title, QStringLiteral("Error: Map not saved"));
        QCOMPARE(f.prompt.asked[0].icon, Prompt::Icon::Warning);
        QVERIFY(f.dialog.isVisible());
        QCOMPARE(f.document.MapDirectory, m_dir->path());
        QCOMPARE(f.document.MapFileName, QStringLiteral("old.map"));
        QVERIFY(f.title.titles.isEmpty());
        QCOMPARE(readFile(dir.filePath("old.map")), kOldMap.toLatin1());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(TestSaveAsDialog)
#include "test_save_as_dialog.moc"
