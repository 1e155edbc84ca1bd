#pragma once

#include "document/Standard.h"
#include "formats/ExportPdf.h"

#include <QCommandLineOption>
#include <QString>

#include <optional>

class QTextStream;

namespace vellumor::maptool {

class CommandLine;

// Where export and generate write a map: -o OUT, whose suffix names the
// format, and the options of each format. generate also writes map files.
class ExportTarget
{
public:
    enum class Format { Map, Png, Uvtt, Pdf, Tmx, Tmj, Csv };

    explicit ExportTarget(bool mapFiles);

    void addOptions(CommandLine &line) const;
    // Reads -o and the format's options once the line is parsed; gives the
    // exit status when the line is mistaken. `title` heads a printed map.
    std::optional<int> read(CommandLine &line, const QString &title, QTextStream &err);

    const QString &outFile() const { return m_outFile; }
    // Writes the map in the chosen format, each file aside and then moved
    // into place; reports a failure and gives the exit status.
    int write(const MapCodes &codes, QTextStream &err) const;

private:
    QList<const QCommandLineOption *> formatOptions(Format format) const;
    bool writeTiled(const MapCodes &codes, QTextStream &err) const;

    bool m_mapFiles;
    QCommandLineOption m_output;
    QCommandLineOption m_scale;
    QCommandLineOption m_grid;
    QCommandLineOption m_gridSize;
    QCommandLineOption m_cell;
    QCommandLineOption m_paper;
    QCommandLineOption m_fit;
    QCommandLineOption m_tileset;

    QString m_outFile;
    Format m_format = Format::Png;
    int m_pixelScale = 1;
    bool m_gridLines = false;
    int m_gridPixels = 0;
    mapexport::PdfOptions m_pdf;
    std::optional<mapexport::PagePlan> m_plan;
    QString m_tilesetFile;
};

} // namespace vellumor::maptool
