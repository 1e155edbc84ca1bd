#include "document/MapFileReader.h"

#include "document/MapCodec.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vellumor {

QString MapReadFailure::describe() const
{
    if (line == 0)
        return problem;
    return mapfile::DecodeError {line, problem}.describe();
}

std::variant<MapCodes, MapReadFailure> readMapFile(const QString &path)
{
    // The system would silently cut the name at the NUL and open another file.
    if (path.contains(QChar(0)))
        return MapReadFailure {0, QStringLiteral("A file name cannot hold the character NUL.")};
    const QByteArray nativePath = QFile::encodeName(path);
    const int fd = ::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT)
            return MapReadFailure {0, QStringLiteral("There is no such file.")};
        return MapReadFailure {0, qt_error_string(error) + QLatin1Char('.')};
    }
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return MapReadFailure {0, QStringLiteral("It is a folder or a device, not a map file.")};
    }

    mapfile::Decoder decoder;
    char buffer[4096];
    QString readError;
    while (decoder.state() == mapfile::Decoder::State::NeedMore) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            readError = qt_error_string(errno) + QLatin1Char('.');
            break;
        }
        if (count == 0)
            decoder.finish();
        else
            decoder.feed(QByteArrayView(buffer, count));
    }
    ::close(fd);

    if (!readError.isEmpty())
        return MapReadFailure {0, readError};
    if (decoder.state() == mapfile::Decoder::State::Failed)
        return MapReadFailure {decoder.error().line, decoder.error().problem};
    return decoder.codes();
}

} // namespace vellumor
