#pragma once

#include "document/Standard.h"
#include "formats/ExportFormats.h"
#include "formats/MapFormats.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

namespace vellumor::maptool {

class CommandLine;

// Where export and generate write a map: -o OUT, whose suffix names the
// format, and the options of every format, all as src/formats describes them.
// generate also writes map files.
class ExportTarget
{
public:
    explicit ExportTarget(bool mapFiles);

    // "  .png            the map, 15 x 15 pixels a cell, ...": each format on
    // its own lines, for a command's description.
    static QString formatList(bool mapFiles);
    // "as a picture (.png), for a virtual tabletop (.uvtt, .dd2vtt), ... or as a
    // grid of codes (.csv)": what the formats are for, for the tool's overview.
    static QString formatPurposes();
    // Whether any of these arguments names an output whose format sets text,
    // which needs a GUI application rather than a core one.
    static bool setsText(const QStringList &arguments);

    void addOptions(CommandLine &line) const;
    // Reads -o and the format's options once the line is parsed; gives the
    // exit status when the line is mistaken. `title` heads a printed map.
    std::optional<int> read(CommandLine &line, const QString &title, QTextStream &err);

    const QString &outFile() const { return m_settings.outFile; }
    // Writes the map in the chosen format, each file aside and then moved
    // into place; reports a failure and gives the exit status.
    int write(const MapCodes &codes, QTextStream &err) const;

private:
    bool m_mapFiles;
    QCommandLineOption m_output;
    QList<QCommandLineOption> m_formatOptions; // as mapexport::exportOptions() lists them

    const formats::MapFormat *m_format = nullptr; // null for a map file
    const mapexport::FormatWriter *m_writer = nullptr; // m_format's
    mapexport::ExportSettings m_settings;
};

} // namespace vellumor::maptool
