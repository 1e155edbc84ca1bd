// Not writeFileReplacing on every change: making, syncing and removing a new
// file and syncing its folder was half the cost of a reveal to 50 players.
#include "table/TableFileWriter.h"

#include "table/TableFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vellumor::table {

namespace {

bool sameFile(int file, int folder, const QByteArray &name)
{
    struct stat open
    {
    };
    struct stat named
    {
    };
    return ::fstat(file, &open) == 0
        && ::fstatat(folder, name.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0
        && S_ISREG(named.st_mode) && open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

bool writeAll(int file, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t count
            = ::pwrite(file, bytes.constData() + done, size_t(bytes.size() - done), off_t(done));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        done += count;
    }
    return ::ftruncate(file, off_t(bytes.size())) == 0;
}

} // namespace

TableFileWriter::~TableFileWriter()
{
    for (auto &[path, files] : m_files)
        close(files, true);
}

QString TableFileWriter::nextFilePath(const QString &mapPath)
{
    const QFileInfo map(mapPath);
    return map.absolutePath() + QStringLiteral("/.") + map.fileName()
        + QStringLiteral(".table-next");
}

std::optional<QString> TableFileWriter::write(const QString &mapPath, const MapState &state)
{
    Files &files = m_files[mapPath];
    if (files.folder >= 0 && swapIn(files, tableFileBytes(QFileInfo(mapPath).fileName(), state)))
        return std::nullopt;
    close(files, false);
    if (const auto failure = writeTableFile(mapPath, state))
        return failure;
    open(files, mapPath);
    return std::nullopt;
}

// The new state goes into the hidden file, reaches the disk, and takes the
// state file's name in one step; the folder is synced so that the swap
// survives a power failure. The file that held the last state is the hidden
// one then, for the next change.
bool TableFileWriter::swapIn(Files &files, const QByteArray &bytes)
{
    struct stat current
    {
    };
    // Another program may have replaced either file, or made the state read-only.
    if (!sameFile(files.current, files.folder, files.currentName)
        || !sameFile(files.next, files.folder, files.nextName)
        || ::fstat(files.current, &current) != 0 || !(current.st_mode & S_IWUSR))
        return false;
    if (!writeAll(files.next, bytes) || ::fdatasync(files.next) != 0)
        return false;
    if (::renameat2(files.folder, files.nextName.constData(), files.folder,
            files.currentName.constData(), RENAME_EXCHANGE)
        != 0)
        return false;
    std::swap(files.current, files.next);
    return ::fsync(files.folder) == 0;
}

void TableFileWriter::open(Files &files, const QString &mapPath)
{
    const QFileInfo target(tableFilePath(mapPath));
    if (target.isSymLink() || !target.isFile())
        return;
    files.currentName = QFile::encodeName(target.fileName());
    files.nextName = QFile::encodeName(QFileInfo(nextFilePath(mapPath)).fileName());
    files.folder = ::open(
        QFile::encodeName(target.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    files.current
        = ::openat(files.folder, files.currentName.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    files.next = ::openat(
        files.folder, files.nextName.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    struct stat current
    {
    };
    if (files.folder < 0 || files.current < 0 || files.next < 0
        || ::fstat(files.current, &current) != 0
        || ::fchmod(files.next, current.st_mode & 07777) != 0)
        close(files, files.next >= 0);
}

void TableFileWriter::close(Files &files, bool removeNext)
{
    if (removeNext && files.folder >= 0 && files.next >= 0
        && sameFile(files.next, files.folder, files.nextName))
        ::unlinkat(files.folder, files.nextName.constData(), 0);
    for (int *file : {&files.next, &files.current, &files.folder}) {
        if (*file >= 0)
            ::close(*file);
        *file = -1;
    }
}

} // namespace vellumor::table
