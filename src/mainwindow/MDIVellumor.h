#pragma once

#include "document/MapStorage.h"

#include <QMainWindow>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QToolButton;

namespace vellumor {

class MapSymbolsPanel;
class Prompt;
class frmChildMap;

// The frame of the program: menus, toolbar, palette and the one map window.
// Each command is one operation here; menu items and toolbar buttons call it.
class MDIVellumor : public QMainWindow, public TitleDisplay
{
    Q_OBJECT
public:
    MDIVellumor(Standard &document, Prompt &prompt, QWidget *parent = nullptr);

    void showTitle(const QString &title) override;
    // Shows the window the way a run starts: the whole map in view.
    void showAtStart();

    frmChildMap *mapView() const { return m_map; }
    MapSymbolsPanel *symbolsPanel() const { return m_panel; }
    QMdiArea *workspace() const { return m_workspace; }
    QMdiSubWindow *mapWindow() const { return m_mapWindow; }

    void mnuFile_NewMap_Click();
    void mnuFile_Open_Click();
    void mnuFile_Save_Click();
    void mnuFile_SaveAs_Click();
    void mnuFile_Exit_Click();
    void mnuEdit_ClearMap_Click();
    void mnuView_GridLines_Click();
    void mnuView_MapSymbols_Click();
    void mnuHelp_About_Click();

    void cmdNew_Click();
    void cmdOpen_Click();
    void cmdSave_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    QWidget *buildToolbar();
    void showMapWindow();
    bool confirmedClear(const QString &title, const QString &question);
    void takeFocus();

    Standard &m_document;
    Prompt &m_prompt;
    QMdiArea *m_workspace = nullptr;
    MapSymbolsPanel *m_panel = nullptr;
    frmChildMap *m_map = nullptr;
    QMdiSubWindow *m_mapWindow = nullptr;
    QAction *m_gridLines = nullptr;
    QAction *m_mapSymbols = nullptr;
};

} // namespace vellumor
