#include "MapFileList.h"

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
    m_directory = path;
    // Map names come from other systems in capitals too, so the pattern
    // ignores case.
    const QStringList entries = QDir(path).entryList({QStringLiteral("*.map*")},
                                                     QDir::Files | QDir::Hidden,
                                                     QDir::Name | QDir::IgnoreCase);
    clear();
    addItems(entries);
}

QStringList MapFileList::names() const
{
    QStringList result;
    result.reserve(count());
    for (int row = 0; row < count(); ++row)
        result.append(item(row)->text());
    return result;
}

} // namespace vellumor
