#include "MapStorage.h"

#include "MapCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <variant>

namespace vellumor {

namespace {

StorageFailure saveFailure(const QString &path, const QString &reason)
{
    return {QStringLiteral("Error: Map not saved"),
            QStringLiteral("The map could not be saved as\n%1\n\n%2").arg(QDir::toNativeSeparators(path), reason)};
}

StorageFailure loadFailure(const QString &path, const QString &reason)
{
    return {QStringLiteral("Error: Map not opened"),
            QStringLiteral("The map could not be opened from\n%1\n\n%2").arg(QDir::toNativeSeparators(path), reason)};
}

// Reads no more of the file than the map needs, and never blocks on a FIFO or
// a device that only looks like a map file.
std::variant<MapCodes, QString> readMapFile(const QString &path)
{
    // The system would silently cut the name at the NUL and open another file.
    if (path.contains(QChar(0)))
        return QStringLiteral("A file name cannot hold the character NUL.");
    const QByteArray nativePath = QFile::encodeName(path);
    const int fd = ::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT)
            return QStringLiteral("There is no such file.");
        return qt_error_string(error) + QLatin1Char('.');
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return QStringLiteral("It is a folder or a device, not a map file.");
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
        return readError;
    if (decoder.state() == mapfile::Decoder::State::Failed)
        return decoder.error().describe();
    return decoder.codes();
}

} // namespace

QString mapFilePath(const Standard &document)
{
    return document.MapDirectory + QLatin1Char('/') + document.MapFileName;
}

StorageOutcome SaveMap(Standard &document, TitleDisplay &title, const FileWriter &write)
{
    const QString path = mapFilePath(document);
    if (const auto reason = write(path, mapfile::encode(document.MapCells)))
        return saveFailure(path, *reason);
    title.showTitle(titles::forFile(document.MapFileName));
    return std::nullopt;
}

StorageOutcome LoadMap(Standard &document, CellPainter &cells, TitleDisplay &title)
{
    const QString path = mapFilePath(document);
    const auto result = readMapFile(path);
    if (const auto *reason = std::get_if<QString>(&result))
        return loadFailure(path, *reason);
    const MapCodes &codes = std::get<MapCodes>(result);
    for (int i = 0; i < kCellCount; ++i)
        cells.PaintCell(i, codes[i]);
    title.showTitle(titles::forFile(document.MapFileName));
    return std::nullopt;
}

namespace {

// Points the document at another file for one operation, and back again unless
// the operation succeeded.
template<typename Operation>
StorageOutcome withFile(Standard &document, const QString &directory, const QString &fileName,
                        Operation operation)
{
    const QString previousDirectory = document.MapDirectory;
    const QString previousFileName = document.MapFileName;
    document.MapDirectory = directory;
    document.MapFileName = fileName;
    StorageOutcome outcome = operation();
    if (outcome) {
        document.MapDirectory = previousDirectory;
        document.MapFileName = previousFileName;
    }
    return outcome;
}

} // namespace

StorageOutcome SaveMapAs(Standard &document, TitleDisplay &title, const QString &directory,
                         const QString &fileName, const FileWriter &write)
{
    return withFile(document, directory, fileName, [&] { return SaveMap(document, title, write); });
}

StorageOutcome OpenMap(Standard &document, CellPainter &cells, TitleDisplay &title,
                       const QString &directory, const QString &fileName)
{
    return withFile(document, directory, fileName, [&] { return LoadMap(document, cells, title); });
}

} // namespace vellumor
