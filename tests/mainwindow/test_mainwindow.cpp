#include "mainwindow/MainWindowFixture.h"
#include "palette/MapSymbolsPanel.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

using namespace vellumor;
using namespace vellumor::testing;

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void startsAsDescribed()
    {
        MainWindowFixture f;
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Vellumor v1.1"));
        QVERIFY(f.action("mnuView_GridLines")->isChecked());
        QVERIFY(f.action("mnuView_MapSymbols")->isChecked());
        QVERIFY(f.button("optSymbolSet(0)")->isChecked());
        QVERIFY(f.button("optSymbol(0)")->isChecked());
        QCOMPARE(f.document.CurrentSymbol, SymbolCode(0));
        QVERIFY(f.window->mapWindow()->isVisible());
        QCOMPARE(f.window->mapWindow()->windowTitle(), QStringLiteral("Map"));
        QCOMPARE(f.window->workspace()->subWindowList().size(), 1);
        QVERIFY(f.window->mapView()->cellHasBorder(0));
        QVERIFY(!f.window->symbolsPanel()->isHidden());
    }

    void menuTreeHasExactCaptionsAndNoShortcuts()
    {
        MainWindowFixture f;
        const QList<QPair<QString, QStringList>> expected = {
            {"&File", {"&New Map", "&Open...", "&Save", "Save &As...", "", "&Exit"}},
            {"&Edit", {"&Clear Map"}},
            {"&View", {"Grid &Lines", "&Map Symbols"}},
            {"&Help", {"&About Vellumor"}},
        };
        const QList<QAction *> menus = f.window->menuBar()->actions();
        QCOMPARE(menus.size(), expected.size());
        for (int m = 0; m < menus.size(); ++m) {
            QCOMPARE(menus[m]->text(), expected[m].first);
            QStringList captions;
            for (QAction *item : menus[m]->menu()->actions()) {
                captions << (item->isSeparator() ? QString() : item->text());
                QVERIFY(item->shortcut().isEmpty());
                QVERIFY(item->isEnabled() && item->isVisible());
            }
            QCOMPARE(captions, expected[m].second);
        }
    }

    void mapWindowCannotBeClosed()
    {
        MainWindowFixture f;
        QVERIFY(!f.window->mapWindow()->close());
        QVERIFY(f.window->mapWindow()->isVisible());
        QVERIFY(!(f.window->mapWindow()->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!f.window->mapWindow()->systemMenu());
    }

    void clearAndNewAskEveryTimeAndOnlyYesGoesOn()
    {
        MainWindowFixture f;
        f.chooseSymbol(17);
        f.clickCell(0);
        f.document.MapDirectory = QStringLiteral("/maps");
        f.document.MapFileName = QStringLiteral("castle.map");

        f.prompt.answers = {Prompt::Answer::No, Prompt::Answer::No};
        f.window->mnuEdit_ClearMap_Click();
        f.window->mnuFile_NewMap_Click();
        QCOMPARE(f.document.MapCells[0], SymbolCode(17));
        QCOMPARE(f.document.MapFileName, QStringLiteral("castle.map"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Vellumor v1.1"));

        QCOMPARE(f.prompt.asked.size(), 2);
        QCOMPARE(f.prompt.asked[0].title, QStringLiteral("Verify Clear Map"));
        QCOMPARE(f.prompt.asked[0].text, QStringLiteral("Are you sure you want to clear the map?"));
        QCOMPARE(f.prompt.asked[1].title, QStringLiteral("Verify New Map"));
        QCOMPARE(f.prompt.asked[1].text,
            QStringLiteral("Are you sure you want a new map?  This will erase any current work."));
        for (const auto &asked : f.prompt.asked) {
            QCOMPARE(asked.buttons, Prompt::Buttons::YesNo);
            QCOMPARE(asked.icon, Prompt::Icon::None);
        }

        f.prompt.answers = {Prompt::Answer::Yes};
        f.window->mnuEdit_ClearMap_Click();
        QVERIFY(f.document.MapCells == MapCodes {});
        QCOMPARE(f.document.MapFileName, QStringLiteral("castle.map"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Vellumor v1.1"));

        f.clickCell(5);
        f.prompt.answers = {Prompt::Answer::Yes};
        f.window->mnuFile_NewMap_Click();
        QVERIFY(f.document.MapCells == MapCodes {});
        QVERIFY(f.document.MapDirectory.isEmpty() && f.document.MapFileName.isEmpty());
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Vellumor  v1.1"));

        // Neither touches the current symbol.
        QCOMPARE(f.document.CurrentSymbol, SymbolCode(17));
        QVERIFY(f.button("optSymbol(17)")->isChecked());
        f.clickCell(874);
        QCOMPARE(f.document.MapCells[874], SymbolCode(17));
    }

    void newMapRepaintsEveryCellBlank()
    {
        MainWindowFixture f;
        f.chooseSymbol(25);
        for (int i : {0, 24, 437, 850, 874})
            f.clickCell(i);
        f.prompt.answers = {Prompt::Answer::Yes};
        f.window->mnuFile_NewMap_Click();
        const QImage shown = f.window->mapView()->grab().toImage();
        for (int i : {0, 24, 437, 850, 874})
            QCOMPARE(shown.pixelColor(frmChildMap::cellRect(i).center()), QColor(Qt::white));
    }

    void toolbarRunsTheCommandThenFocusesTheWindow()
    {
        MainWindowFixture f;
        QCOMPARE(f.button("cmdNew")->toolTip(), QStringLiteral("New Map"));
        QCOMPARE(f.button("cmdOpen")->toolTip(), QStringLiteral("Open Map"));
        QCOMPARE(f.button("cmdSave")->toolTip(), QStringLiteral("Save Map"));
        QCOMPARE(f.button("cmdOpen")->geometry(), QRect(32, 0, 33, 22));

        f.button("optSymbolSet(1)")->setFocus();
        f.prompt.answers = {Prompt::Answer::No};
        QTest::mouseClick(f.button("cmdNew"), Qt::LeftButton);
        QCOMPARE(f.prompt.asked.size(), 1);
        QCOMPARE(f.prompt.asked[0].title, QStringLiteral("Verify New Map"));
        QCOMPARE(f.window->focusWidget(), f.window.get());

        QTest::mouseClick(f.button("cmdOpen"), Qt::LeftButton); // cancelled by the script
        QCOMPARE(f.prompt.dialogsRun, 1);
        QCOMPARE(f.window->focusWidget(), f.window.get());
    }

    void viewItemsFollowWhatTheyShow()
    {
        MainWindowFixture f;
        f.action("mnuView_GridLines")->trigger();
        QVERIFY(!f.action("mnuView_GridLines")->isChecked());
        QVERIFY(!f.window->mapView()->cellHasBorder(874));
        f.action("mnuView_GridLines")->trigger();
        QVERIFY(f.action("mnuView_GridLines")->isChecked());
        QVERIFY(f.window->mapView()->cellHasBorder(0));

        f.chooseSymbol(42);
        f.action("mnuView_MapSymbols")->trigger();
        QVERIFY(f.window->symbolsPanel()->isHidden());
        QVERIFY(!f.action("mnuView_MapSymbols")->isChecked());
        f.clickCell(437);
        QCOMPARE(f.document.MapCells[437], SymbolCode(42));
        f.action("mnuView_MapSymbols")->trigger();
        QVERIFY(!f.window->symbolsPanel()->isHidden());
        QVERIFY(f.action("mnuView_MapSymbols")->isChecked());
        QVERIFY(f.button("optSymbol(42)")->isChecked());
    }

    void exitEndsWithoutAQuestion()
    {
        MainWindowFixture f;
        f.chooseSymbol(3);
        f.clickCell(10);
        f.action("mnuFile_Exit")->trigger();
        QVERIFY(!f.window->isVisible());
        QVERIFY(f.prompt.asked.isEmpty());
    }

    void aboutRunsModalAndChangesNothing()
    {
        MainWindowFixture f;
        QString shownTitle;
        f.prompt.dialogSteps = {[&](QDialog &about) {
            shownTitle = about.windowTitle();
            clickButton(about, "cmdOK");
        }};
        f.action("mnuHelp_About")->trigger();
        QCOMPARE(shownTitle, QStringLiteral("About Vellumor v1.1"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Vellumor v1.1"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
