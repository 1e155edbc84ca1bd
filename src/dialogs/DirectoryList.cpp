#include "dialogs/DirectoryList.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>

namespace vellumor {

namespace {

constexpr int kPathRole = Qt::UserRole;

bool canEnter(const QString &path)
{
    const QFileInfo info(path);
    return info.isDir() && info.isExecutable();
}

} // namespace

DirectoryList::DirectoryList(QWidget *parent)
    : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
    setIndentation(12);
    connect(
        this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) { enter(item); });
}

void DirectoryList::setPath(const QString &path)
{
    m_path = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    fill();
}

void DirectoryList::moveTo(const QString &path)
{
    setPath(path);
    emit pathChanged(m_path);
}

void DirectoryList::enter(QTreeWidgetItem *item)
{
    const QString target = item->data(0, kPathRole).toString();
    if (target == m_path)
        return;
    if (canEnter(target))
        moveTo(target);
    else
        fill(); // the entry was removed or locked meanwhile; show what is there now
}

void DirectoryList::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Taken here so that Enter moves the list and does not also press the
        // dialog's default button.
        if (QTreeWidgetItem *item = currentItem()) {
            enter(item);
            event->accept();
            return;
        }
        break;
    case Qt::Key_Backspace:
        if (m_path != QDir::rootPath()) {
            const QString parent = QFileInfo(m_path).absolutePath();
            if (canEnter(parent))
                moveTo(parent);
        }
        event->accept();
        return;
    default:
        break;
    }
    QTreeWidget::keyPressEvent(event);
}

void DirectoryList::fill()
{
    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);

    auto *current = new QTreeWidgetItem(this, {QDir::rootPath()});
    current->setData(0, kPathRole, QDir::rootPath());
    current->setIcon(0, openIcon);
    QString walked;
    for (const QString &part : m_path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        walked += QLatin1Char('/') + part;
        current = new QTreeWidgetItem(current, {part});
        current->setData(0, kPathRole, walked);
        current->setIcon(0, openIcon);
    }
    current->setToolTip(0, QDir::toNativeSeparators(m_path));
    QFont marked = current->font(0);
    marked.setBold(true);
    current->setFont(0, marked);

    const QFileInfoList subdirectories = QDir(m_path).entryInfoList(
        QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &subdirectory : subdirectories) {
        auto *item = new QTreeWidgetItem(current, {subdirectory.fileName()});
        item->setData(0, kPathRole, subdirectory.absoluteFilePath());
        item->setIcon(0, closedIcon);
    }

    expandAll();
    setCurrentItem(current);
    scrollToItem(current);
}

} // namespace vellumor
