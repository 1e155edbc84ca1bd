#include "dialogs/DriveList.h"

#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace vellumor {

DriveList::DriveList(QWidget *parent)
    : QComboBox(parent)
{
    QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    std::sort(volumes.begin(), volumes.end(),
        [](const QStorageInfo &a, const QStorageInfo &b) { return a.rootPath() < b.rootPath(); });
    for (const QStorageInfo &volume : volumes) {
        const QFileInfo root(volume.rootPath());
        if (volume.isValid() && volume.isReady() && root.isDir() && root.isReadable()
            && root.isExecutable() && findData(volume.rootPath()) < 0)
            addDrive(volume.rootPath(), volume.name());
    }
    connect(this, &QComboBox::activated, this,
        [this](int index) { emit driveChosen(itemData(index).toString()); });
}

int DriveList::addDrive(const QString &rootPath, const QString &label)
{
    QString text = rootPath;
    if (!label.isEmpty())
        text += QStringLiteral(" [%1]").arg(label);
    addItem(text, rootPath);
    setItemData(count() - 1, text, Qt::ToolTipRole);
    return count() - 1;
}

void DriveList::showDriveOf(const QString &path)
{
    const QStorageInfo volume(path);
    const QString root = volume.isValid() ? volume.rootPath() : QStringLiteral("/");
    int index = findData(root);
    if (index < 0)
        index = addDrive(root, volume.name());
    setCurrentIndex(index);
}

} // namespace vellumor
