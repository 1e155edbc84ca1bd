#pragma once

#include "document/Standard.h"
#include "formats/ExportPdf.h"
#include "formats/ExportUvtt.h"
#include "formats/MapFormats.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace vellumor::mapexport {

// What the options of every format have set; each format's writer reads its own.
struct ExportSettings
{
    QString outFile;
    QString title; // names the map in a printed one
    int pixelScale = 1;
    bool gridLines = false;
    int gridPixels = kDefaultGridSize;
    PdfOptions pdf;
    PagePlan pagePlan; // worked out once every option is read
    QString tilesetFile; // empty: beside outFile
};

// One file an export writes: most write outFile alone, Tiled's maps their
// tileset picture too.
struct ExportFile
{
    QString path;
    QByteArray bytes;
};

// What is wrong with an option's value or a format's options, for the command
// line's error; nothing when all is well.
using Complaint = std::optional<QString>;

struct ExportOption
{
    QString name; // written --name
    QString valueName; // "N"; empty for a switch
    QString help; // the formats it applies to are put before it
    Complaint (*read)(const QString &value, ExportSettings &settings);
};

// How a format is written, found by its name in the one table of formats
// (formats::mapFormats()); the table itself stays in the readers' library,
// which needs no Qt Gui, and the writers that draw are attached here.
struct FormatWriter
{
    QString name; // the formats::MapFormat's name
    // Checks the options together once each is read; may be null.
    Complaint (*settle)(ExportSettings &settings) = nullptr;
    QList<ExportFile> (*write)(const MapCodes &codes, const ExportSettings &settings) = nullptr;
};

// A whole number from low to high, or nothing: how every count an option
// takes is read.
std::optional<int> wholeNumber(const QString &text, int low, int high);

// Every option of every format, each once, in the order help lists them.
const QList<ExportOption> &exportOptions();
// The writer of a format that the table says is written; null for any other.
const FormatWriter *writerOf(const formats::MapFormat &format);

} // namespace vellumor::mapexport
