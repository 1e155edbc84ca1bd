#include "dialogs/MapFileList.h"

#include <QDir>

namespace vellumor {

MapFileList::MapFileList(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    // Reacting to the selection rather than the current entry keeps a Tab into
    // the list, which makes the first entry current, from choosing it.
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem *> selected = selectedItems();
        if (!selected.isEmpty())
            emit entryChosen(selected.first()->text());
    });
    connect(this, &QListWidget::itemClicked, this,
        [this](QListWidgetItem *item) { emit entryChosen(item->text()); });
}

void MapFileList::setDirectory(const QString &path)
{
    // Map names come from other systems in capitals too, so the pattern
    // ignores case. Links to devices pass QDir's file filter, so each entry
    // is checked to be, or lead to, a regular file.
    const QFileInfoList entries = QDir(path).entryInfoList(
        {QStringLiteral("*.map*")}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    clear();
    for (const QFileInfo &entry : entries) {
        if (entry.isFile())
            addItem(entry.fileName());
    }
}

} // namespace vellumor
