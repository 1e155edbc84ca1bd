// The menu bar and the toolbar of the main window.
#include "mainwindow/MDIVellumor.h"

#include "pictures/Artwork.h"

#include <QMenuBar>
#include <QPalette>
#include <QToolButton>

namespace vellumor {

namespace {

QAction *addItem(QMenu *menu, const char *objectName, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(objectName));
    return action;
}

QMenu *addMenu(QMenuBar *bar, const char *objectName, const QString &caption)
{
    QMenu *menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(objectName));
    menu->menuAction()->setObjectName(QLatin1String(objectName));
    return menu;
}

} // namespace

void MDIVellumor::buildMenus()
{
    QMenuBar *bar = menuBar();

    QMenu *file = addMenu(bar, "mnuFile", QStringLiteral("&File"));
    connect(addItem(file, "mnuFile_NewMap", QStringLiteral("&New Map")), &QAction::triggered, this,
        &MDIVellumor::mnuFile_NewMap_Click);
    connect(addItem(file, "mnuFile_Open", QStringLiteral("&Open...")), &QAction::triggered, this,
        &MDIVellumor::mnuFile_Open_Click);
    connect(addItem(file, "mnuFile_Save", QStringLiteral("&Save")), &QAction::triggered, this,
        &MDIVellumor::mnuFile_Save_Click);
    connect(addItem(file, "mnuFile_SaveAs", QStringLiteral("Save &As...")), &QAction::triggered,
        this, &MDIVellumor::mnuFile_SaveAs_Click);
    file->addSeparator()->setObjectName(QStringLiteral("mnuFile_Break1"));
    connect(addItem(file, "mnuFile_Exit", QStringLiteral("&Exit")), &QAction::triggered, this,
        &MDIVellumor::mnuFile_Exit_Click);

    QMenu *edit = addMenu(bar, "mnuEdit", QStringLiteral("&Edit"));
    connect(addItem(edit, "mnuEdit_ClearMap", QStringLiteral("&Clear Map")), &QAction::triggered,
        this, &MDIVellumor::mnuEdit_ClearMap_Click);

    QMenu *view = addMenu(bar, "mnuView", QStringLiteral("&View"));
    m_gridLines = addItem(view, "mnuView_GridLines", QStringLiteral("Grid &Lines"));
    m_mapSymbols = addItem(view, "mnuView_MapSymbols", QStringLiteral("&Map Symbols"));
    for (QAction *item : {m_gridLines, m_mapSymbols}) {
        item->setCheckable(true);
        item->setChecked(true);
    }
    connect(m_gridLines, &QAction::triggered, this, &MDIVellumor::mnuView_GridLines_Click);
    connect(m_mapSymbols, &QAction::triggered, this, &MDIVellumor::mnuView_MapSymbols_Click);

    QMenu *help = addMenu(bar, "mnuHelp", QStringLiteral("&Help"));
    connect(addItem(help, "mnuHelp_About", QStringLiteral("&About Vellumor")), &QAction::triggered,
        this, &MDIVellumor::mnuHelp_About_Click);
}

QWidget *MDIVellumor::buildToolbar()
{
    auto *toolbar = new QWidget;
    toolbar->setObjectName(QStringLiteral("picToolbar"));
    toolbar->setFixedHeight(25);

    struct Button
    {
        const char *objectName;
        ToolbarPicture picture;
        const char *tooltip;
        int left;
        void (MDIVellumor::*handler)();
    };
    const Button buttons[] = {
        {"cmdNew", ToolbarPicture::New, "New Map", 0, &MDIVellumor::cmdNew_Click},
        {"cmdOpen", ToolbarPicture::Open, "Open Map", 32, &MDIVellumor::cmdOpen_Click},
        {"cmdSave", ToolbarPicture::Save, "Save Map", 64, &MDIVellumor::cmdSave_Click},
    };
    for (const Button &entry : buttons) {
        auto *button = new QToolButton(toolbar);
        button->setObjectName(QLatin1String(entry.objectName));
        button->setToolTip(QLatin1String(entry.tooltip));
        button->setAccessibleName(QLatin1String(entry.tooltip));
        button->setIcon(toolbarIcon(entry.picture));
        button->setIconSize(QSize(16, 16));
        button->setAutoRaise(false);
        QPalette colours = button->palette();
        colours.setColor(QPalette::Button, QColor(192, 192, 192));
        button->setPalette(colours);
        button->setGeometry(entry.left, 0, 33, 22);
        connect(button, &QToolButton::clicked, this, entry.handler);
    }
    return toolbar;
}

} // namespace vellumor
