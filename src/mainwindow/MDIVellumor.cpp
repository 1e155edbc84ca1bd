#include "mainwindow/MDIVellumor.h"

#include "dialogs/Prompt.h"
#include "dialogs/frmOpen.h"
#include "dialogs/frmSaveAs.h"
#include "mainwindow/frmAbout.h"
#include "mapview/frmChildMap.h"
#include "palette/MapSymbolsPanel.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>

namespace vellumor {

namespace {
constexpr int kToolbarHeight = 25;
constexpr int kPanelWidth = 150;
// The client area of the window when it is neither maximised nor minimised.
constexpr QSize kRestoredClientSize {465, 411};
constexpr QSize kMinimumSize {320, 240};
} // namespace

MDIVellumor::MDIVellumor(Standard &document, Prompt &prompt, QWidget *parent)
    : QMainWindow(parent)
    , m_document(document)
    , m_prompt(prompt)
{
    setObjectName(QStringLiteral("MDIVellumor"));
    setWindowTitle(titles::kAtStart);

    auto *client = new QWidget(this);
    auto *column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildToolbar());

    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    m_panel = new MapSymbolsPanel(m_document, client);
    m_panel->setFixedWidth(kPanelWidth);
    row->addWidget(m_panel);
    m_workspace = new QMdiArea(client);
    m_workspace->setObjectName(QStringLiteral("MDIClient"));
    m_workspace->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_workspace->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    row->addWidget(m_workspace, 1);
    column->addLayout(row, 1);
    setCentralWidget(client);

    // The workspace scrolls, so the window needs no minimum from its contents;
    // a fixed one also keeps size hints from changing under a shown window.
    layout()->setSizeConstraint(QLayout::SetNoConstraint);
    setMinimumSize(kMinimumSize);

    buildMenus();
    showMapWindow();
    resize(
        kRestoredClientSize.width(), kRestoredClientSize.height() + menuBar()->sizeHint().height());
}

void MDIVellumor::showAtStart()
{
    // Large enough to show the whole map beside the palette, centred; on a
    // screen too small for that, maximised, and the workspace scrolls.
    const int frame = 2 * m_workspace->frameWidth();
    const QSize wanted(kPanelWidth + m_mapWindow->width() + frame,
        kToolbarHeight + m_mapWindow->height() + frame + menuBar()->sizeHint().height());
    const QRect available = screen()->availableGeometry();
    const QSize decoration = frameGeometry().size() - geometry().size();
    if (available.width() < wanted.width() + decoration.width()
        || available.height() < wanted.height() + decoration.height()) {
        showMaximized();
        return;
    }
    resize(wanted);
    move(available.center() - QPoint(wanted.width() / 2, wanted.height() / 2));
    show();
}

void MDIVellumor::showMapWindow()
{
    m_map = new frmChildMap(m_document);
    // The map lives for the whole run: no close, minimise or maximise button,
    // no system menu to close it from, and a fixed size that holds the grid.
    m_mapWindow = m_workspace->addSubWindow(
        m_map, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    m_mapWindow->setObjectName(QStringLiteral("frmChildMapWindow"));
    m_mapWindow->setSystemMenu(nullptr);
    m_mapWindow->setWindowTitle(m_map->windowTitle());
    m_mapWindow->installEventFilter(this);
    m_mapWindow->move(0, 0);
    m_mapWindow->show();
}

bool MDIVellumor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_mapWindow && event->type() == QEvent::Close) {
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MDIVellumor::showTitle(const QString &title)
{
    setWindowTitle(title);
}

bool MDIVellumor::confirmedClear(const QString &title, const QString &question)
{
    if (m_prompt.ask(this, title, question, Prompt::Buttons::YesNo, Prompt::Icon::None)
        != Prompt::Answer::Yes)
        return false;
    for (int i = 0; i < kCellCount; ++i)
        m_map->PaintCell(i, kBlankSymbol);
    return true;
}

void MDIVellumor::mnuFile_NewMap_Click()
{
    if (!confirmedClear(QStringLiteral("Verify New Map"),
            QStringLiteral("Are you sure you want a new map?  This will erase any current work.")))
        return;
    m_document.MapDirectory.clear();
    m_document.MapFileName.clear();
    setWindowTitle(titles::kNewMap);
}

void MDIVellumor::mnuEdit_ClearMap_Click()
{
    confirmedClear(QStringLiteral("Verify Clear Map"),
        QStringLiteral("Are you sure you want to clear the map?"));
}

void MDIVellumor::mnuFile_Open_Click()
{
    frmOpen dialog(m_document, *m_map, *this, m_prompt, this);
    m_prompt.runModal(dialog);
}

void MDIVellumor::mnuFile_Save_Click()
{
    if (!m_document.hasCurrentFile()) {
        mnuFile_SaveAs_Click();
        return;
    }
    if (const auto failure = SaveMap(m_document, *this))
        m_prompt.tell(this, failure->title, failure->text, Prompt::Icon::Warning);
}

void MDIVellumor::mnuFile_SaveAs_Click()
{
    frmSaveAs dialog(m_document, *this, m_prompt, this);
    m_prompt.runModal(dialog);
}

void MDIVellumor::mnuFile_Exit_Click()
{
    close();
}

void MDIVellumor::mnuView_GridLines_Click()
{
    m_gridLines->setChecked(m_map->toggleGridLines());
}

void MDIVellumor::mnuView_MapSymbols_Click()
{
    const bool wasShown = !m_panel->isHidden();
    m_panel->setVisible(!wasShown);
    m_mapSymbols->setChecked(!wasShown);
}

void MDIVellumor::mnuHelp_About_Click()
{
    frmAbout about(this);
    m_prompt.runModal(about);
}

void MDIVellumor::takeFocus()
{
    activateWindow();
    setFocus(Qt::OtherFocusReason);
}

void MDIVellumor::cmdNew_Click()
{
    mnuFile_NewMap_Click();
    takeFocus();
}

void MDIVellumor::cmdOpen_Click()
{
    mnuFile_Open_Click();
    takeFocus();
}

void MDIVellumor::cmdSave_Click()
{
    mnuFile_Save_Click();
    takeFocus();
}

} // namespace vellumor
