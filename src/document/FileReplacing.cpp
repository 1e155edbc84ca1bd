#include "document/FileReplacing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vellumor {

namespace {

QString systemReason(int error)
{
    return qt_error_string(error) + QLatin1Char('.');
}

// Closes the descriptor it holds, and removes the hidden file it names unless
// that file has become the target.
class PendingFile
{
public:
    PendingFile() = default;
    PendingFile(const PendingFile &) = delete;
    PendingFile &operator=(const PendingFile &) = delete;
    ~PendingFile()
    {
        if (fd >= 0)
            ::close(fd);
        if (!name.isEmpty())
            ::unlink(name.constData());
    }

    // Closes the descriptor and reports whether the file system took every byte;
    // some report a failed write only here.
    int close()
    {
        const int result = ::close(fd);
        fd = -1;
        return result == 0 ? 0 : errno;
    }

    int fd = -1;
    QByteArray name; // empty when there is nothing to remove
};

int writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t count = ::write(fd, data, size_t(left));
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += count;
        left -= count;
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}

int createHiddenFile(PendingFile &file, const QByteArray &directory, mode_t mode)
{
    for (int attempt = 0; attempt < 64; ++attempt) {
        const QByteArray name = directory + '/' + kReplacementPrefix
            + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        Q_ASSERT(isReplacementName(QFile::decodeName(name.mid(directory.size() + 1))));
        file.fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (file.fd >= 0) {
            file.name = name;
            return 0;
        }
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

// Makes the rename itself survive a power failure.
void syncDirectory(const QByteArray &directory)
{
    const int fd = ::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Used only where the directory takes no new file: better a save that a crash
// could cut short than no save at all.
std::optional<QString> overwriteInPlace(const QByteArray &target, const QByteArray &bytes)
{
    PendingFile file;
    file.fd = ::open(target.constData(), O_WRONLY | O_TRUNC | O_NONBLOCK | O_CLOEXEC);
    if (file.fd < 0)
        return systemReason(errno);
    if (const int error = writeAll(file.fd, bytes))
        return systemReason(error);
    if (const int error = file.close())
        return systemReason(error);
    return std::nullopt;
}

// A link named like the map keeps pointing where it did; the file it names is
// what gets replaced.
QString resolvedTarget(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

} // namespace

bool isReplacementName(const QString &fileName)
{
    // 2^64 - 1 in base 36 has 13 digits.
    static const QRegularExpression pattern(
        QStringLiteral("\\A%1[0-9a-z]{1,13}\\z")
            .arg(QRegularExpression::escape(QLatin1String(kReplacementPrefix))));
    return pattern.match(fileName).hasMatch();
}

QString replacementFolder(const QString &path)
{
    return QFileInfo(resolvedTarget(path)).absolutePath();
}

int removeReplacementLeftovers(const QString &folder, std::chrono::seconds staleAfter)
{
    const QByteArray directory = QFile::encodeName(folder);
    DIR *listing = ::opendir(directory.constData());
    if (!listing)
        return 0;
    const int folderFd = ::dirfd(listing);
    const std::time_t now = std::time(nullptr);
    int removed = 0;
    while (const dirent *entry = ::readdir(listing)) {
        if (!isReplacementName(QFile::decodeName(entry->d_name)))
            continue;
        // Looked at without following a link, and removed by its name in this
        // very folder, so that a link of that name is never followed.
        struct stat found
        {
        };
        if (::fstatat(folderFd, entry->d_name, &found, AT_SYMLINK_NOFOLLOW) != 0
            || !S_ISREG(found.st_mode) || now - found.st_mtime < staleAfter.count())
            continue;
        if (::unlinkat(folderFd, entry->d_name, 0) == 0)
            ++removed;
    }
    ::closedir(listing);
    return removed;
}

std::optional<QString> writeFileReplacing(const QString &path, const QByteArray &bytes)
{
    // The system would silently cut the name at the NUL and write another file.
    if (path.contains(QChar(0)))
        return QStringLiteral("A file name cannot hold the character NUL.");
    const QString targetPath = resolvedTarget(path);
    const QByteArray target = QFile::encodeName(targetPath);
    const QByteArray directory = QFile::encodeName(QFileInfo(targetPath).absolutePath());

    struct stat existing
    {
    };
    const bool exists = ::stat(target.constData(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return QStringLiteral("A folder of that name is already there.");
    // Renaming over a device or a pipe would replace it with a plain file.
    if (exists && !S_ISREG(existing.st_mode))
        return QStringLiteral("It is a device or a pipe, not a map file.");
    // A user who made a map read-only meant to keep it. The kernel also says no
    // here for an immutable file or a read-only file system, even to root.
    if (exists && ::access(target.constData(), W_OK) != 0
        && (errno == EACCES || errno == EPERM || errno == EROFS))
        return QStringLiteral("The file is read-only.");

    PendingFile file;
    // A new map gets the permissions that the user's umask gives; a replaced one
    // keeps its own.
    if (const int error = createHiddenFile(file, directory, exists ? 0600 : 0666)) {
        if (exists && (error == EACCES || error == EPERM))
            return overwriteInPlace(target, bytes);
        if (error == ENOENT || error == ENOTDIR) {
            // Some system folders exist but take no new file, and say so this way.
            return QFileInfo(targetPath).absoluteDir().exists()
                ? QStringLiteral("This folder does not take new files.")
                : QStringLiteral("There is no such folder.");
        }
        return systemReason(error);
    }
    if (exists)
        ::fchmod(file.fd, existing.st_mode & 07777);
    if (const int error = writeAll(file.fd, bytes))
        return systemReason(error);
    if (const int error = file.close())
        return systemReason(error);
    if (::rename(file.name.constData(), target.constData()) != 0)
        return systemReason(errno);
    file.name.clear();
    syncDirectory(directory);
    return std::nullopt;
}

} // namespace vellumor
