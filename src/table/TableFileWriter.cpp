// Not writeFileReplacing on every change: making, syncing and renaming a new
// file and syncing its folder was half the cost of a reveal to 50 players.
#include "table/TableFileWriter.h"

#include "table/TableFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
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

// A state file made read-only is kept as it is: neither file is written.
bool writable(int file)
{
    struct stat status
    {
    };
    return ::fstat(file, &status) == 0 && (status.st_mode & S_IWUSR);
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

TableFileWriter::TableFileWriter()
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMilliseconds);
    QObject::connect(&m_settle, &QTimer::timeout, [this] { settle(); });
}

TableFileWriter::~TableFileWriter()
{
    settle();
    for (auto &[path, files] : m_files)
        close(files, !files.newestInNext);
}

std::optional<QString> TableFileWriter::write(const QString &mapPath, const MapState &state)
{
    Files &files = m_files[mapPath];
    const QByteArray bytes = tableFileBytes(QFileInfo(mapPath).fileName(), state);
    if (files.folder >= 0 && writable(files.state)) {
        // Into the file that holds the older state; the other keeps the newest.
        const bool intoNext = !files.newestInNext;
        if (writeInPlace(files, intoNext ? files.next : files.state,
                intoNext ? files.nextName : files.stateName, bytes)) {
            files.newestInNext = intoNext;
            files.newest = intoNext ? bytes : QByteArray();
            if (intoNext)
                m_settle.start();
            return std::nullopt;
        }
    }
    // Another program changed the files, or they were never opened: the
    // state file is replaced in one step, and the hidden one emptied.
    close(files, false);
    if (const auto failure = writeTableFile(mapPath, state))
        return failure;
    open(files, mapPath);
    return std::nullopt;
}

void TableFileWriter::settle()
{
    for (auto &[path, files] : m_files) {
        if (!files.newestInNext)
            continue;
        if (writeInPlace(files, files.state, files.stateName, files.newest)) {
            files.newestInNext = false;
            files.newest.clear();
        }
    }
}

// Written and flushed to the disk, where the file is still the one of that
// name and may be written: nothing is ever written over another program's file.
bool TableFileWriter::writeInPlace(
    const Files &files, int file, const QByteArray &name, const QByteArray &bytes)
{
    return sameFile(file, files.folder, name) && writeAll(file, bytes) && ::fdatasync(file) == 0;
}

void TableFileWriter::open(Files &files, const QString &mapPath)
{
    const QFileInfo target(tableFilePath(mapPath));
    if (target.isSymLink() || !target.isFile())
        return;
    files.stateName = QFile::encodeName(target.fileName());
    files.nextName = QFile::encodeName(QFileInfo(hiddenTableFilePath(mapPath)).fileName());
    files.folder = ::open(
        QFile::encodeName(target.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    files.state
        = ::openat(files.folder, files.stateName.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    // Emptied: a state an earlier table left there is older than this one.
    files.next = ::openat(files.folder, files.nextName.constData(),
        O_RDWR | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    struct stat state
    {
    };
    if (files.folder < 0 || files.state < 0 || files.next < 0 || ::fstat(files.state, &state) != 0
        || ::fchmod(files.next, state.st_mode & 07777) != 0 || ::fdatasync(files.next) != 0)
        close(files, files.next >= 0);
}

void TableFileWriter::close(Files &files, bool removeNext)
{
    if (removeNext && files.folder >= 0 && files.next >= 0
        && sameFile(files.next, files.folder, files.nextName))
        ::unlinkat(files.folder, files.nextName.constData(), 0);
    for (int *file : {&files.next, &files.state, &files.folder}) {
        if (*file >= 0)
            ::close(*file);
        *file = -1;
    }
    files.newestInNext = false;
    files.newest.clear();
}

} // namespace vellumor::table
