// Not QLockFile: its lock is a file naming a process, which a table killed
// with SIGKILL leaves behind for the next start to judge; flock's lock is the
// kernel's, and ends with the process.
#include "table/TableLock.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace vellumor::table {

namespace {

// What the lock file of a table that holds it says: its port, once it listens.
std::optional<quint16> portIn(int file)
{
    char text[16] = {};
    const ssize_t count = ::pread(file, text, sizeof text - 1, 0);
    bool ok = false;
    const uint port = QByteArray(text, count > 0 ? int(count) : 0).trimmed().toUInt(&ok);
    return ok && port > 0 && port <= 65535 ? std::optional<quint16>(quint16(port)) : std::nullopt;
}

QString heldBy(int file)
{
    const auto port = portIn(file);
    return port ? QStringLiteral("another table serves it, on port %1").arg(*port)
                : QStringLiteral("another table is starting on it");
}

} // namespace

QString MapLocks::lockPath(const QString &mapPath)
{
    // The same lock however the map is named: by a relative path, an absolute
    // one or a link.
    const QFileInfo map(QFileInfo(mapPath).canonicalFilePath().isEmpty()
            ? mapPath
            : QFileInfo(mapPath).canonicalFilePath());
    return map.absolutePath() + QStringLiteral("/.") + map.fileName()
        + QStringLiteral(".table-lock");
}

std::optional<quint16> MapLocks::servingPort(const QString &mapPath)
{
    const int file = ::open(
        QFile::encodeName(lockPath(mapPath)).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (file < 0)
        return std::nullopt;
    // Held: a table runs on it. Free: whatever the file says is old.
    const bool held = ::flock(file, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    const auto port = held ? portIn(file) : std::nullopt;
    ::close(file);
    return port;
}

std::variant<MapLocks, QString> MapLocks::take(const QStringList &mapPaths)
{
    MapLocks locks;
    for (const QString &mapPath : mapPaths) {
        const QByteArray path = QFile::encodeName(lockPath(mapPath));
        const int file = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (file < 0) {
            return QStringLiteral("%1: cannot lock %2: %3")
                .arg(mapPath, QFile::decodeName(path), qt_error_string(errno));
        }
        locks.m_files.push_back(file);
        if (::flock(file, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK)
                return mapPath + QStringLiteral(": ") + heldBy(file);
            return QStringLiteral("%1: cannot lock %2: %3")
                .arg(mapPath, QFile::decodeName(path), qt_error_string(errno));
        }
        // Whatever an earlier table wrote is no longer true.
        [[maybe_unused]] const int emptied = ::ftruncate(file, 0);
    }
    return locks;
}

MapLocks::MapLocks(MapLocks &&other) noexcept
    : m_files(std::move(other.m_files))
{
    other.m_files.clear();
}

MapLocks &MapLocks::operator=(MapLocks &&other) noexcept
{
    std::swap(m_files, other.m_files);
    return *this;
}

MapLocks::~MapLocks()
{
    // The lock files stay: removing one while another table opens it would
    // let two tables lock two different files of one name.
    for (const int file : m_files)
        ::close(file);
}

void MapLocks::announce(quint16 port)
{
    const QByteArray text = QByteArray::number(port) + '\n';
    for (const int file : m_files) {
        if (::ftruncate(file, 0) == 0) [[maybe_unused]]
            const auto written = ::pwrite(file, text.constData(), size_t(text.size()), 0);
    }
}

} // namespace vellumor::table
