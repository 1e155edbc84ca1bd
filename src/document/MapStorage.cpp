#include "document/MapStorage.h"

#include "document/MapCodec.h"
#include "document/MapFileReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <variant>

namespace vellumor {

namespace {

StorageFailure saveFailure(const QString &path, const QString &reason)
{
    return {QStringLiteral("Error: Map not saved"),
        QStringLiteral("The map could not be saved as\n%1\n\n%2")
            .arg(QDir::toNativeSeparators(path), reason)};
}

StorageFailure loadFailure(const QString &path, const QString &reason)
{
    return {QStringLiteral("Error: Map not opened"),
        QStringLiteral("The map could not be opened from\n%1\n\n%2")
            .arg(QDir::toNativeSeparators(path), reason)};
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
    // Saves that a crash cut short left their hidden files in this folder.
    removeReplacementLeftovers(replacementFolder(path));
    title.showTitle(titles::forFile(document.MapFileName));
    return std::nullopt;
}

StorageOutcome LoadMap(Standard &document, CellPainter &cells, TitleDisplay &title)
{
    const QString path = mapFilePath(document);
    const auto result = readMapFile(path);
    if (const auto *failure = std::get_if<MapReadFailure>(&result))
        return loadFailure(path, failure->describe());
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
StorageOutcome withFile(
    Standard &document, const QString &directory, const QString &fileName, Operation operation)
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
