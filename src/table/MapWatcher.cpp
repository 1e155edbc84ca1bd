#include "table/MapWatcher.h"

#include <QFileInfo>

namespace vellumor::table {

MapWatcher::MapWatcher(QStringList paths, QObject *parent)
    : QObject(parent)
    , m_paths(std::move(paths))
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(50);
    connect(&m_settle, &QTimer::timeout, this, [this] {
        renew();
        emit mayHaveChanged();
    });
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(
        &m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle, qOverload<>(&QTimer::start));
    renew();
}

void MapWatcher::renew()
{
    QStringList wanted;
    for (const QString &path : m_paths) {
        const QFileInfo info(path);
        wanted << info.absolutePath();
        if (info.exists())
            wanted << info.absoluteFilePath();
    }
    wanted.removeDuplicates();
    const QStringList watched = m_watcher.files() + m_watcher.directories();
    QStringList missing;
    for (const QString &path : wanted) {
        if (!watched.contains(path))
            missing << path;
    }
    if (!missing.isEmpty())
        m_watcher.addPaths(missing);
}

} // namespace vellumor::table
