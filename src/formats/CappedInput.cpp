#include "formats/CappedInput.h"

#include "document/RegularFile.h"

#include <QFile>

#include <cerrno>
#include <unistd.h>

namespace vellumor::formats {

std::variant<QByteArray, FormatError> readCapped(const QString &path, qsizetype cap)
{
    const auto opened = openRegularFile(path, QStringLiteral("a file to import"));
    if (const auto *refusal = std::get_if<QString>(&opened))
        return FormatError {0, *refusal};
    const int fd = std::get<int>(opened);

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
