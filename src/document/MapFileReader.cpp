#include "document/MapFileReader.h"

#include "document/MapCodec.h"
#include "document/RegularFile.h"

#include <QFile>

#include <cerrno>
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
    const auto opened = openRegularFile(path, QStringLiteral("a map file"));
    if (const auto *refusal = std::get_if<QString>(&opened))
        return MapReadFailure {0, *refusal};
    const int fd = std::get<int>(opened);

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
