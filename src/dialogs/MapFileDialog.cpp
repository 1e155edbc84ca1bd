#include "dialogs/MapFileDialog.h"

#include "dialogs/DirectoryList.h"
#include "dialogs/DriveList.h"
#include "dialogs/MapFileList.h"
#include "dialogs/PathLabel.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace vellumor {

namespace {

template<typename Widget> Widget *placed(Widget *widget, const QString &name, const QRect &place)
{
    widget->setObjectName(name);
    widget->setGeometry(place);
    return widget;
}

QLabel *caption(QWidget *parent, const QString &name, const QString &text, const QRect &place)
{
    return placed(new QLabel(text, parent), name, place);
}

} // namespace

MapFileDialog::MapFileDialog(Prompt &prompt, const QString &objectName, const QString &title,
    const QString &buttonPrefix, const QString &startDirectory, QWidget *parent)
    : QDialog(parent)
    , m_prompt(prompt)
{
    setObjectName(objectName);
    setWindowTitle(title);
    setFixedSize(404, 260);

    caption(this, QStringLiteral("lblFileName"), QStringLiteral("File Name:"), {8, 8, 97, 17});
    m_fileList = placed(new MapFileList(this), QStringLiteral("filFileList1"), {8, 48, 137, 188});
    m_fileList->setAccessibleName(QStringLiteral("Files"));
    caption(
        this, QStringLiteral("lblDirectories1"), QStringLiteral("Directories:"), {152, 8, 145, 17});
    m_path = placed(new PathLabel(this), QStringLiteral("lblPath"), {152, 24, 241, 17});
    m_directoryList
        = placed(new DirectoryList(this), QStringLiteral("dirDirectories1"), {152, 48, 161, 141});
    m_directoryList->setAccessibleName(QStringLiteral("Directories"));
    caption(this, QStringLiteral("lblDrives1"), QStringLiteral("Drives:"), {192, 200, 113, 17});
    m_driveList = placed(new DriveList(this), QStringLiteral("drvDrives1"), {192, 224, 145, 21});
    m_driveList->setAccessibleName(QStringLiteral("Drives"));

    m_ok = placed(new QPushButton(QStringLiteral("&OK"), this), buttonPrefix + QStringLiteral("OK"),
        {320, 48, 73, 25});
    m_ok->setDefault(true);
    m_cancel = placed(new QPushButton(QStringLiteral("&Cancel"), this),
        buttonPrefix + QStringLiteral("Cancel"), {320, 80, 73, 25});
    m_help = placed(new QPushButton(QStringLiteral("&Help"), this),
        buttonPrefix + QStringLiteral("Help"), {320, 112, 73, 25});

    m_directoryList->setPath(startDirectory);
    showDirectory(m_directoryList->path());

    connect(m_fileList, &MapFileList::entryChosen, this,
        [this](const QString &entry) { filFileList1_Click(entry); });
    connect(m_directoryList, &DirectoryList::pathChanged, this, [this](const QString &path) {
        showDirectory(path);
        directoryMoved();
    });
    connect(m_driveList, &DriveList::driveChosen, this, [this](const QString &root) {
        if (root == m_directoryList->path())
            return;
        m_directoryList->setPath(root);
        showDirectory(m_directoryList->path());
        directoryMoved();
    });
}

QRect MapFileDialog::nameFieldPlace(int height)
{
    return {8, 24, 137, height};
}

QString MapFileDialog::directoryPath() const
{
    return m_directoryList->path();
}

void MapFileDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void MapFileDialog::showDirectory(const QString &path)
{
    m_path->setPath(path);
    m_fileList->setDirectory(path);
    m_driveList->showDriveOf(path);
}

} // namespace vellumor
