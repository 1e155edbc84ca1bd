#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/MapTool.h"
#include "cli/OutputFile.h"
#include "formats/CsvFormat.h"
#include "formats/ExportPdf.h"
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

enum class Format { Png, Uvtt, Pdf, Tmx, Tmj, Csv };

std::optional<Format> formatOf(const QString &file)
{
    const QString suffix = QFileInfo(file).suffix().toLower();
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

struct ExportOptions
{
    QCommandLineOption output {{QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("Where to write the map; its suffix chooses the format: .png, .uvtt, "
                       ".dd2vtt, .pdf, .tmx, .tmj or .csv (required)."),
        QStringLiteral("OUT")};
    QCommandLineOption scale {QStringLiteral("scale"),
        QStringLiteral(".png: enlarge every pixel to N x N, N from 1 to %1 (default 1).")
            .arg(kMaxPngScale),
        QStringLiteral("N")};
    QCommandLineOption grid {
        QStringLiteral("grid"), QStringLiteral(".png: draw one-pixel lines between the cells.")};
    QCommandLineOption gridSize {QStringLiteral("grid-size"),
        QStringLiteral(".uvtt, .dd2vtt: pixels per cell, %1 to %2 (default %3). Not below %1: "
                       "Foundry raises a smaller scene grid on its own, and its squares would no "
                       "longer match the cells.")
            .arg(kMinGridSize)
            .arg(kMaxGridSize)
            .arg(kDefaultGridSize),
        QStringLiteral("PX")};
    QCommandLineOption cell {QStringLiteral("cell"),
        QStringLiteral(".pdf: the printed size of a cell in in, mm or cm (default 1in)."),
        QStringLiteral("LENGTH")};
    QCommandLineOption paper {QStringLiteral("paper"),
        QStringLiteral(".pdf: a4 or letter (default a4)."), QStringLiteral("PAPER")};
    QCommandLineOption fit {QStringLiteral("fit"),
        QStringLiteral(".pdf: the whole map on one page instead of at scale.")};
    QCommandLineOption tileset {QStringLiteral("tileset"),
        QStringLiteral(".tmx, .tmj: where to write the tileset picture (default "
                       "vellumor-symbols.png beside OUT)."),
        QStringLiteral("FILE")};
};

// The options each format takes beyond -o; any other is a mistake worth naming.
QList<const QCommandLineOption *> formatOptions(const ExportOptions &options, Format format)
{
    switch (format) {
    case Format::Png:
        return {&options.scale, &options.grid};
    case Format::Uvtt:
        return {&options.gridSize};
    case Format::Pdf:
        return {&options.cell, &options.paper, &options.fit};
    case Format::Tmx:
    case Format::Tmj:
        return {&options.tileset};
    case Format::Csv:
        return {};
    }
    return {};
}

// Writes the tileset picture and the Tiled map that names it.
bool exportTiled(const MapCodes &codes, Format format, const QString &outFile, QString atlasFile,
    QTextStream &err)
{
    if (atlasFile.isEmpty())
        atlasFile = QFileInfo(outFile).dir().filePath(QLatin1String(tiledmap::kDefaultAtlasFile));
    const QString source = QFileInfo(outFile).absoluteDir().relativeFilePath(
        QFileInfo(atlasFile).absoluteFilePath());
    if (!writeOutput(atlasFile, encodePng(symbolAtlas()), err))
        return false;
    const QByteArray map = format == Format::Tmx ? tmxformat::encode(codes, source)
                                                 : tmjformat::encode(codes, source);
    return writeOutput(outFile, map, err);
}

} // namespace

int exportCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    CommandLine line(QStringLiteral("export"), QStringLiteral("export MAP -o OUT [options]"),
        QStringLiteral(
            "Writes the map in MAP in the format that OUT's suffix names:\n"
            "  .png            the map, 15 x 15 pixels a cell, 525 x 375 in all;\n"
            "  .uvtt, .dd2vtt  Universal VTT for virtual tabletops: the picture, the walls\n"
            "                  as lines of sight and the gates as doors;\n"
            "  .pdf            printed at scale over as many pages as it needs;\n"
            "  .tmx, .tmj      a Tiled map with the tileset embedded, its picture beside OUT;\n"
            "  .csv            25 lines of 35 symbol codes, the top row first."),
        QStringLiteral("Exit status: 0 when the file was written, 1 when the map is invalid or a "
                       "file\ncould not be read or written, 2 when the command line is wrong.\n"));
    const ExportOptions options;
    for (const QCommandLineOption *option : {&options.output, &options.scale, &options.grid,
             &options.gridSize, &options.cell, &options.paper, &options.fit, &options.tileset})
        line.addOption(*option);
    line.parser().addPositionalArgument(QStringLiteral("MAP"), QStringLiteral("The map file."));
    if (const auto done = line.parse(arguments, out, err))
        return *done;
    QCommandLineParser &parser = line.parser();

    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return line.usageError(err, QStringLiteral("no map file given"));
    if (files.size() > 1)
        return line.usageError(err, QStringLiteral("one map file at a time"));
    if (!parser.isSet(options.output) || parser.value(options.output).isEmpty())
        return line.usageError(err, QStringLiteral("no output file given (-o OUT)"));
    const QString outFile = parser.value(options.output);
    const auto format = formatOf(outFile);
    if (!format) {
        return line.usageError(err,
            QStringLiteral("cannot tell the format of '%1': use .png, .uvtt, .dd2vtt, .pdf, .tmx, "
                           ".tmj or .csv")
                .arg(outFile));
    }
    const auto allowed = formatOptions(options, *format);
    for (const QCommandLineOption *option : {&options.scale, &options.grid, &options.gridSize,
             &options.cell, &options.paper, &options.fit, &options.tileset}) {
        if (parser.isSet(*option) && !allowed.contains(option)) {
            return line.usageError(err,
                QStringLiteral("--%1 does not apply to .%2 files")
                    .arg(option->names().constLast(), QFileInfo(outFile).suffix()));
        }
    }

    int scale = 1;
    if (parser.isSet(options.scale)) {
        const auto value = parseWholeNumber(parser.value(options.scale), 1, kMaxPngScale);
        if (!value)
            return line.usageError(err,
                QStringLiteral("the scale must be a whole number from 1 to %1, not '%2'")
                    .arg(kMaxPngScale)
                    .arg(parser.value(options.scale)));
        scale = *value;
    }
    int gridSize = kDefaultGridSize;
    if (parser.isSet(options.gridSize)) {
        const auto value
            = parseWholeNumber(parser.value(options.gridSize), kMinGridSize, kMaxGridSize);
        if (!value)
            return line.usageError(err,
                QStringLiteral("the grid size must be a whole number from %1 to %2, not '%3'")
                    .arg(kMinGridSize)
                    .arg(kMaxGridSize)
                    .arg(parser.value(options.gridSize)));
        gridSize = *value;
    }
    PdfOptions pdf;
    pdf.title = QFileInfo(files.front()).fileName();
    pdf.fit = parser.isSet(options.fit);
    if (parser.isSet(options.cell)) {
        const auto length = parseLength(parser.value(options.cell));
        if (!length || *length < kMinCellMillimetres || *length > kMaxCellMillimetres)
            return line.usageError(err,
                QStringLiteral("the cell must be a length from %1 mm to %2 mm such as 1in, 20mm "
                               "or 2.5cm, not '%3'")
                    .arg(kMinCellMillimetres)
                    .arg(kMaxCellMillimetres)
                    .arg(parser.value(options.cell)));
        pdf.cellMillimetres = *length;
    }
    if (parser.isSet(options.paper)) {
        const QString paper = parser.value(options.paper).toLower();
        if (paper != QLatin1String("a4") && paper != QLatin1String("letter"))
            return line.usageError(err,
                QStringLiteral("the paper must be a4 or letter, not '%1'")
                    .arg(parser.value(options.paper)));
        pdf.paper = paper == QLatin1String("a4") ? Paper::A4 : Paper::Letter;
    }
    std::optional<PagePlan> plan;
    if (*format == Format::Pdf) {
        auto planned = planPages(pdf);
        if (const auto *problem = std::get_if<QString>(&planned))
            return line.usageError(err, *problem);
        plan = std::get<PagePlan>(planned);
    }

    const auto codes = readMapReporting(files.front(), err);
    if (!codes)
        return kFailure;
    QByteArray bytes;
    switch (*format) {
    case Format::Png:
        bytes = encodePng(exportImage(*codes, scale, parser.isSet(options.grid)));
        break;
    case Format::Uvtt:
        bytes = encodeUvtt(*codes, gridSize);
        break;
    case Format::Pdf:
        bytes = exportPdf(*codes, pdf, *plan);
        break;
    case Format::Csv:
        bytes = csvformat::encode(*codes);
        break;
    case Format::Tmx:
    case Format::Tmj:
        return exportTiled(*codes, *format, outFile, parser.value(options.tileset), err) ? kSuccess
                                                                                         : kFailure;
    }
    return writeOutput(outFile, bytes, err) ? kSuccess : kFailure;
}

} // namespace vellumor::maptool
