#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>

namespace vellumor::table {

// Notices when any of the map files may have changed on disk. Editors save by
// renaming a new file over the old, which ends a watch on the file itself, so
// the folders are watched too and each file's watch renewed.
class MapWatcher : public QObject
{
    Q_OBJECT
public:
    explicit MapWatcher(QStringList paths, QObject *parent = nullptr);

signals:
    // Once for a burst of changes.
    void mayHaveChanged();

private:
    void renew();

    QStringList m_paths;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
};

} // namespace vellumor::table
