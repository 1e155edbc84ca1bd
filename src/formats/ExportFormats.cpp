#include "formats/ExportFormats.h"

#include "formats/CsvFormat.h"
#include "formats/ExportPng.h"
#include "formats/SymbolAtlas.h"
#include "formats/TiledMap.h"
#include "formats/TmjFormat.h"
#include "formats/TmxFormat.h"

#include <QDir>
#include <QFileInfo>

namespace vellumor::mapexport {

namespace {

Complaint readScale(const QString &value, ExportSettings &settings)
{
    const auto scale = wholeNumber(value, 1, kMaxPngScale);
    if (!scale)
        return QStringLiteral("the scale must be a whole number from 1 to %1, not '%2'")
            .arg(kMaxPngScale)
            .arg(value);
    settings.pixelScale = *scale;
    return std::nullopt;
}

Complaint readGridSize(const QString &value, ExportSettings &settings)
{
    const auto pixels = wholeNumber(value, kMinGridSize, kMaxGridSize);
    if (!pixels)
        return QStringLiteral("the grid size must be a whole number from %1 to %2, not '%3'")
            .arg(kMinGridSize)
            .arg(kMaxGridSize)
            .arg(value);
    settings.gridPixels = *pixels;
    return std::nullopt;
}

Complaint readCell(const QString &value, ExportSettings &settings)
{
    const auto length = parseLength(value);
    if (!length || *length < kMinCellMillimetres || *length > kMaxCellMillimetres)
        return QStringLiteral("the cell must be a length from %1 mm to %2 mm such as 1in, 20mm "
                              "or 2.5cm, not '%3'")
            .arg(kMinCellMillimetres)
            .arg(kMaxCellMillimetres)
            .arg(value);
    settings.pdf.cellMillimetres = *length;
    return std::nullopt;
}

Complaint readPaper(const QString &value, ExportSettings &settings)
{
    const QString paper = value.toLower();
    if (paper != QLatin1String("a4") && paper != QLatin1String("letter"))
        return QStringLiteral("the paper must be a4 or letter, not '%1'").arg(value);
    settings.pdf.paper = paper == QLatin1String("a4") ? Paper::A4 : Paper::Letter;
    return std::nullopt;
}

Complaint settlePages(ExportSettings &settings)
{
    auto planned = planPages(settings.pdf);
    if (const auto *problem = std::get_if<QString>(&planned))
        return *problem;
    settings.pagePlan = std::get<PagePlan>(planned);
    return std::nullopt;
}

QList<ExportFile> writePng(const MapCodes &codes, const ExportSettings &settings)
{
    return {
        {settings.outFile, encodePng(exportImage(codes, settings.pixelScale, settings.gridLines))}};
}

QList<ExportFile> writeUvtt(const MapCodes &codes, const ExportSettings &settings)
{
    return {{settings.outFile, encodeUvtt(codes, settings.gridPixels)}};
}

QList<ExportFile> writePdf(const MapCodes &codes, const ExportSettings &settings)
{
    PdfOptions options = settings.pdf;
    options.title = settings.title;
    return {{settings.outFile, exportPdf(codes, options, settings.pagePlan)}};
}

QList<ExportFile> writeCsv(const MapCodes &codes, const ExportSettings &settings)
{
    return {{settings.outFile, csvformat::encode(codes)}};
}

// The tileset picture first, then the Tiled map that names it by its path
// from the map's folder.
template<QByteArray (*encode)(const MapCodes &, const QString &)>
QList<ExportFile> writeTiled(const MapCodes &codes, const ExportSettings &settings)
{
    const QString atlasFile = settings.tilesetFile.isEmpty()
        ? QFileInfo(settings.outFile).dir().filePath(QLatin1String(tiledmap::kDefaultAtlasFile))
        : settings.tilesetFile;
    const QString source = QFileInfo(settings.outFile)
                               .absoluteDir()
                               .relativeFilePath(QFileInfo(atlasFile).absoluteFilePath());
    return {{atlasFile, encodePng(symbolAtlas())}, {settings.outFile, encode(codes, source)}};
}

} // namespace

std::optional<int> wholeNumber(const QString &text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

const QList<ExportOption> &exportOptions()
{
    static const QList<ExportOption> options {
        {QStringLiteral("scale"), QStringLiteral("N"),
            QStringLiteral("enlarge every pixel to N x N, N from 1 to %1 (default 1).")
                .arg(kMaxPngScale),
            readScale},
        {QStringLiteral("grid"), QString(),
            QStringLiteral("draw one-pixel lines between the cells."),
            [](const QString &, ExportSettings &settings) -> Complaint {
                settings.gridLines = true;
                return std::nullopt;
            }},
        {QStringLiteral("grid-size"), QStringLiteral("PX"),
            QStringLiteral("pixels per cell, %1 to %2 (default %3). Not below %1: Foundry raises "
                           "a smaller scene grid on its own, and its squares would no longer "
                           "match the cells.")
                .arg(kMinGridSize)
                .arg(kMaxGridSize)
                .arg(kDefaultGridSize),
            readGridSize},
        {QStringLiteral("cell"), QStringLiteral("LENGTH"),
            QStringLiteral("the printed size of a cell in in, mm or cm (default 1in)."), readCell},
        {QStringLiteral("paper"), QStringLiteral("PAPER"),
            QStringLiteral("a4 or letter (default a4)."), readPaper},
        {QStringLiteral("fit"), QString(),
            QStringLiteral("the whole map on one page instead of at scale."),
            [](const QString &, ExportSettings &settings) -> Complaint {
                settings.pdf.fit = true;
                return std::nullopt;
            }},
        {QStringLiteral("tileset"), QStringLiteral("FILE"),
            QStringLiteral("where to write the tileset picture (default %1 beside OUT).")
                .arg(QLatin1String(tiledmap::kDefaultAtlasFile)),
            [](const QString &value, ExportSettings &settings) -> Complaint {
                if (value.isEmpty())
                    return QStringLiteral("the --tileset file name is empty");
                settings.tilesetFile = value;
                return std::nullopt;
            }},
    };
    return options;
}

const FormatWriter *writerOf(const formats::MapFormat &format)
{
    static const QList<FormatWriter> writers {
        {QStringLiteral("png"), nullptr, writePng},
        {QStringLiteral("uvtt"), nullptr, writeUvtt},
        {QStringLiteral("pdf"), settlePages, writePdf},
        {QStringLiteral("tmx"), nullptr, writeTiled<tmxformat::encode>},
        {QStringLiteral("tmj"), nullptr, writeTiled<tmjformat::encode>},
        {QStringLiteral("csv"), nullptr, writeCsv},
    };
    if (!format.can(formats::Use::Write))
        return nullptr;
    for (const FormatWriter &writer : writers) {
        if (writer.name == format.name)
            return &writer;
    }
    return nullptr;
}

} // namespace vellumor::mapexport
