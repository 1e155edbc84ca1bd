#include "formats/CappedInput.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vellumor::formats {

std::variant<QByteArray, FormatError> readCapped(const QString &path, qsizetype cap)
{
    if (path.contains(QChar(0)))
        return FormatError {0, QStringLiteral("A file name cannot hold the character NUL.")};
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT)
            return FormatError {0, QStringLiteral("There is no such file.")};
        return FormatError {0, qt_error_string(error) + QLatin1Char('.')};
    }
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return FormatError {0, QStringLiteral("It is a folder or a device, not a file to import.")};
    }

    QByteArray bytes(cap + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < bytes.size()) {
        const ssize_t count = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            const int error = errno;
            ::close(fd);
            return FormatError {0, qt_error_string(error) + QLatin1Char('.')};
        }
        if (count == 0)
            break;
        filled += count;
    }
    ::close(fd);
    if (filled > cap) {
        return FormatError {0,
            QStringLiteral("The file is larger than any map can be (%1 bytes at most).").arg(cap)};
    }
    bytes.truncate(filled);
    return bytes;
}

} // namespace vellumor::formats
