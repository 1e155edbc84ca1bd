#include "cli/ExportTarget.h"

#include "cli/CommandLine.h"
#include "cli/MapTool.h"
#include "cli/OutputFile.h"
#include "document/FileReplacing.h"
#include "document/MapCodec.h"
#include "formats/CsvFormat.h"
#include "formats/ExportPng.h"
#include "formats/ExportUvtt.h"
#include "formats/SymbolAtlas.h"
#include "formats/TiledMap.h"
#include "formats/TmjFormat.h"
#include "formats/TmxFormat.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace vellumor::maptool {

using namespace mapexport;

namespace {

std::optional<ExportTarget::Format> formatOf(const QString &file, bool mapFiles)
{
    using Format = ExportTarget::Format;
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (mapFiles && suffix == QLatin1String("map"))
        return Format::Map;
    if (suffix == QLatin1String("png"))
        return Format::Png;
    if (suffix == QLatin1String("uvtt") || suffix == QLatin1String("dd2vtt"))
        return Format::Uvtt;
    if (suffix == QLatin1String("pdf"))
        return Format::Pdf;
    if (suffix == QLatin1String("tmx"))
        return Format::Tmx;
    if (suffix == QLatin1String("tmj"))
        return Format::Tmj;
    if (suffix == QLatin1String("csv"))
        return Format::Csv;
    return std::nullopt;
}

QString suffixList(bool mapFiles)
{
    return QLatin1String(mapFiles ? ".map, " : "")
        + QStringLiteral(".png, .uvtt, .dd2vtt, .pdf, .tmx, .tmj or .csv");
}

} // namespace

ExportTarget::ExportTarget(bool mapFiles)
    : m_mapFiles(mapFiles)
    , m_output({QStringLiteral("o"), QStringLiteral("output")},
          QStringLiteral("Where to write the map; its suffix chooses the format: %1 (required).")
              .arg(suffixList(mapFiles)),
          QStringLiteral("OUT"))
    , m_scale(QStringLiteral("scale"),
          QStringLiteral(".png: enlarge every pixel to N x N, N from 1 to %1 (default 1).")
              .arg(kMaxPngScale),
          QStringLiteral("N"))
    , m_grid(
          QStringLiteral("grid"), QStringLiteral(".png: draw one-pixel lines between the cells."))
    , m_gridSize(QStringLiteral("grid-size"),
          QStringLiteral(".uvtt, .dd2vtt: pixels per cell, %1 to %2 (default %3). Not below %1: "
                         "Foundry raises a smaller scene grid on its own, and its squares would no "
                         "longer match the cells.")
              .arg(kMinGridSize)
              .arg(kMaxGridSize)
              .arg(kDefaultGridSize),
          QStringLiteral("PX"))
    , m_cell(QStringLiteral("cell"),
          QStringLiteral(".pdf: the printed size of a cell in in, mm or cm (default 1in)."),
          QStringLiteral("LENGTH"))
    , m_paper(QStringLiteral("paper"), QStringLiteral(".pdf: a4 or letter (default a4)."),
          QStringLiteral("PAPER"))
    , m_fit(QStringLiteral("fit"),
          QStringLiteral(".pdf: the whole map on one page instead of at scale."))
    , m_tileset(QStringLiteral("tileset"),
          QStringLiteral(".tmx, .tmj: where to write the tileset picture (default "
                         "vellumor-symbols.png beside OUT)."),
          QStringLiteral("FILE"))
    , m_gridPixels(kDefaultGridSize)
{ }

void ExportTarget::addOptions(CommandLine &line) const
{
    for (const QCommandLineOption *option :
        {&m_output, &m_scale, &m_grid, &m_gridSize, &m_cell, &m_paper, &m_fit, &m_tileset})
        line.addOption(*option);
}

// The options each format takes beyond -o; any other is a mistake worth naming.
QList<const QCommandLineOption *> ExportTarget::formatOptions(Format format) const
{
    switch (format) {
    case Format::Png:
        return {&m_scale, &m_grid};
    case Format::Uvtt:
        return {&m_gridSize};
    case Format::Pdf:
        return {&m_cell, &m_paper, &m_fit};
    case Format::Tmx:
    case Format::Tmj:
        return {&m_tileset};
    case Format::Map:
    case Format::Csv:
        return {};
    }
    return {};
}

std::optional<int> ExportTarget::read(CommandLine &line, const QString &title, QTextStream &err)
{
    const QCommandLineParser &parser = line.parser();
    if (!parser.isSet(m_output) || parser.value(m_output).isEmpty())
        return line.usageError(err, QStringLiteral("no output file given (-o OUT)"));
    m_outFile = parser.value(m_output);
    const auto format = formatOf(m_outFile, m_mapFiles);
    if (!format) {
        return line.usageError(err,
            QStringLiteral("cannot tell the format of '%1': use %2")
                .arg(m_outFile, suffixList(m_mapFiles)));
    }
    m_format = *format;
    const auto allowed = formatOptions(m_format);
    for (const QCommandLineOption *option :
        {&m_scale, &m_grid, &m_gridSize, &m_cell, &m_paper, &m_fit, &m_tileset}) {
        if (parser.isSet(*option) && !allowed.contains(option)) {
            return line.usageError(err,
                QStringLiteral("--%1 does not apply to .%2 files")
                    .arg(option->names().constLast(), QFileInfo(m_outFile).suffix()));
        }
    }

    if (parser.isSet(m_scale)) {
        const auto value = parseWholeNumber(parser.value(m_scale), 1, kMaxPngScale);
        if (!value)
            return line.usageError(err,
                QStringLiteral("the scale must be a whole number from 1 to %1, not '%2'")
                    .arg(kMaxPngScale)
                    .arg(parser.value(m_scale)));
        m_pixelScale = *value;
    }
    m_gridLines = parser.isSet(m_grid);
    if (parser.isSet(m_gridSize)) {
        const auto value = parseWholeNumber(parser.value(m_gridSize), kMinGridSize, kMaxGridSize);
        if (!value)
            return line.usageError(err,
                QStringLiteral("the grid size must be a whole number from %1 to %2, not '%3'")
                    .arg(kMinGridSize)
                    .arg(kMaxGridSize)
                    .arg(parser.value(m_gridSize)));
        m_gridPixels = *value;
    }
    m_pdf.title = title;
    m_pdf.fit = parser.isSet(m_fit);
    if (parser.isSet(m_cell)) {
        const auto length = parseLength(parser.value(m_cell));
        if (!length || *length < kMinCellMillimetres || *length > kMaxCellMillimetres)
            return line.usageError(err,
                QStringLiteral("the cell must be a length from %1 mm to %2 mm such as 1in, 20mm "
                               "or 2.5cm, not '%3'")
                    .arg(kMinCellMillimetres)
                    .arg(kMaxCellMillimetres)
                    .arg(parser.value(m_cell)));
        m_pdf.cellMillimetres = *length;
    }
    if (parser.isSet(m_paper)) {
        const QString paper = parser.value(m_paper).toLower();
        if (paper != QLatin1String("a4") && paper != QLatin1String("letter"))
            return line.usageError(err,
                QStringLiteral("the paper must be a4 or letter, not '%1'")
                    .arg(parser.value(m_paper)));
        m_pdf.paper = paper == QLatin1String("a4") ? Paper::A4 : Paper::Letter;
    }
    if (m_format == Format::Pdf) {
        auto planned = planPages(m_pdf);
        if (const auto *problem = std::get_if<QString>(&planned))
            return line.usageError(err, *problem);
        m_plan = std::get<PagePlan>(planned);
    }
    m_tilesetFile = parser.value(m_tileset);
    return std::nullopt;
}

// Writes the tileset picture and the Tiled map that names it.
bool ExportTarget::writeTiled(const MapCodes &codes, QTextStream &err) const
{
    QString atlasFile = m_tilesetFile;
    if (atlasFile.isEmpty())
        atlasFile = QFileInfo(m_outFile).dir().filePath(QLatin1String(tiledmap::kDefaultAtlasFile));
    const QString source = QFileInfo(m_outFile).absoluteDir().relativeFilePath(
        QFileInfo(atlasFile).absoluteFilePath());
    if (!writeOutput(atlasFile, encodePng(symbolAtlas()), err))
        return false;
    const QByteArray map = m_format == Format::Tmx ? tmxformat::encode(codes, source)
                                                   : tmjformat::encode(codes, source);
    return writeOutput(m_outFile, map, err);
}

int ExportTarget::write(const MapCodes &codes, QTextStream &err) const
{
    QByteArray bytes;
    switch (m_format) {
    case Format::Map:
        // As the editor saves a map.
        if (const auto failure = writeFileReplacing(m_outFile, mapfile::encode(codes))) {
            err << QStringLiteral("vellumor-map: cannot write %1: %2").arg(m_outFile, *failure)
                << Qt::endl;
            return kFailure;
        }
        return kSuccess;
    case Format::Png:
        bytes = encodePng(exportImage(codes, m_pixelScale, m_gridLines));
        break;
    case Format::Uvtt:
        bytes = encodeUvtt(codes, m_gridPixels);
        break;
    case Format::Pdf:
        bytes = exportPdf(codes, m_pdf, *m_plan);
        break;
    case Format::Csv:
        bytes = csvformat::encode(codes);
        break;
    case Format::Tmx:
    case Format::Tmj:
        return writeTiled(codes, err) ? kSuccess : kFailure;
    }
    return writeOutput(m_outFile, bytes, err) ? kSuccess : kFailure;
}

} // namespace vellumor::maptool
