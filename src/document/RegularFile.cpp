#include "document/RegularFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vellumor {

std::variant<int, QString> openRegularFile(const QString &path, const QString &notA)
{
    // The system would silently cut the name at the NUL and open another file.
    if (path.contains(QChar(0)))
        return QStringLiteral("A file name cannot hold the character NUL.");
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT)
            return QStringLiteral("There is no such file.");
        return qt_error_string(error) + QLatin1Char('.');
    }
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return QStringLiteral("It is a folder or a device, not %1.").arg(notA);
    }
    return fd;
}

} // namespace vellumor
