#pragma once

#include "document/FileReplacing.h"
#include "document/Standard.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace vellumor {

// The two things that saving and loading change outside the document, reached
// through these so that the document needs no widgets.
class CellPainter
{
public:
    virtual ~CellPainter() = default;
    // Shows code's picture in cell index and stores code in MapCells.
    virtual void PaintCell(int index, SymbolCode code) = 0;
};

class TitleDisplay
{
public:
    virtual ~TitleDisplay() = default;
    virtual void showTitle(const QString &title) = 0;
};

namespace titles {
inline const QString kAtStart = QStringLiteral("Vellumor v1.1");
inline const QString kNewMap = QStringLiteral("Vellumor  v1.1");
inline QString forFile(const QString &fileName)
{
    return QStringLiteral("Vellumor  v1.1: ") + fileName;
}
} // namespace titles

// MapDirectory, the separator and MapFileName; the separator is added even when
// the directory already ends in one.
QString mapFilePath(const Standard &document);

// What the user is told when a map could not be saved or opened.
struct StorageFailure
{
    QString title;
    QString text;
};
using StorageOutcome = std::optional<StorageFailure>; // empty when all went well

// Where the bytes of a save reach the disk: replaces the file at path in one
// step, or leaves it as it was and gives the reason. The real one is
// writeFileReplacing; tests put in others.
using FileWriter
    = std::function<std::optional<QString>(const QString &path, const QByteArray &bytes)>;

// Writes MapCells to the current file, then sets the title.
StorageOutcome SaveMap(
    Standard &document, TitleDisplay &title, const FileWriter &write = writeFileReplacing);

// Reads and checks the whole current file; only a valid map is then painted,
// cell by cell from 0 to 874, and the title set. A failure changes nothing.
StorageOutcome LoadMap(Standard &document, CellPainter &cells, TitleDisplay &title);

// Name the file, then save or load it; on failure the document names the file
// it named before, so that it only ever names a file it has saved or loaded.
StorageOutcome SaveMapAs(Standard &document, TitleDisplay &title, const QString &directory,
    const QString &fileName, const FileWriter &write = writeFileReplacing);
StorageOutcome OpenMap(Standard &document, CellPainter &cells, TitleDisplay &title,
    const QString &directory, const QString &fileName);

} // namespace vellumor
