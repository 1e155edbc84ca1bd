#include "formats/MapFormats.h"

#include "formats/CsvFormat.h"
#include "formats/TiledMap.h"
#include "formats/TmjFormat.h"
#include "formats/TmxFormat.h"

#include <QFileInfo>

#include <algorithm>

namespace vellumor::formats {

const QList<MapFormat> &mapFormats()
{
    const auto tiledSummary = [](const char *notation) {
        return QStringLiteral("a Tiled map in %1 with the tileset embedded, its picture beside OUT")
            .arg(QLatin1String(notation));
    };
    const QString tiledReading = QStringLiteral("Tiled map drawn with the Vellumor tileset");
    static const QList<MapFormat> formats {
        {QStringLiteral("png"), {QStringLiteral("png")}, QStringLiteral("as a picture"),
            QStringLiteral("the map, 15 x 15 pixels a cell, 525 x 375 in all"),
            {QStringLiteral("scale"), QStringLiteral("grid")}, false, std::nullopt},
        {QStringLiteral("uvtt"), {QStringLiteral("uvtt"), QStringLiteral("dd2vtt")},
            QStringLiteral("for a virtual tabletop"),
            QStringLiteral("Universal VTT for virtual tabletops: the picture, the walls as lines "
                           "of sight and the gates as doors"),
            {QStringLiteral("grid-size")}, false, std::nullopt},
        {QStringLiteral("pdf"), {QStringLiteral("pdf")}, QStringLiteral("for print"),
            QStringLiteral("printed at scale over as many pages as it needs"),
            {QStringLiteral("cell"), QStringLiteral("paper"), QStringLiteral("fit")}, true,
            std::nullopt},
        {QStringLiteral("tmx"), {QStringLiteral("tmx")}, QStringLiteral("for Tiled"),
            tiledSummary("XML"), {QStringLiteral("tileset")}, false,
            MapReader {tiledReading, 1, tiledmap::kMaxFileSize, tmxformat::decode}},
        {QStringLiteral("tmj"), {QStringLiteral("tmj")}, QStringLiteral("for Tiled"),
            tiledSummary("JSON"), {QStringLiteral("tileset")}, false,
            MapReader {tiledReading, 2, tiledmap::kMaxFileSize, tmjformat::decode}},
        {QStringLiteral("csv"), {QStringLiteral("csv")}, QStringLiteral("as a grid of codes"),
            QStringLiteral("25 lines of 35 symbol codes, the top row first"), {}, false,
            MapReader {QStringLiteral("grid of 25 lines of 35 symbol codes, the top row first"), 0,
                csvformat::kMaxFileSize, csvformat::decode}},
    };
    return formats;
}

QList<const MapFormat *> formatsFor(Use use)
{
    QList<const MapFormat *> found;
    for (const MapFormat &format : mapFormats()) {
        if (format.can(use))
            found.append(&format);
    }
    if (use == Use::Read) {
        std::stable_sort(found.begin(), found.end(), [](const MapFormat *a, const MapFormat *b) {
            return a->reader->rank < b->reader->rank;
        });
    }
    return found;
}

const MapFormat *formatOf(const QString &file, Use use)
{
    const QString suffix = QFileInfo(file).suffix().toLower();
    for (const MapFormat *format : formatsFor(use)) {
        if (format->suffixes.contains(suffix))
            return format;
    }
    return nullptr;
}

QStringList suffixesFor(Use use, const QStringList &first)
{
    QStringList suffixes = first;
    for (const MapFormat *format : formatsFor(use))
        suffixes += format->suffixes;
    return suffixes;
}

QString listed(QStringList suffixes, const char *lastJoin)
{
    for (QString &suffix : suffixes)
        suffix.prepend(QLatin1Char('.'));
    if (suffixes.size() < 2)
        return suffixes.join(QString());
    const QString last = suffixes.takeLast();
    return suffixes.join(QStringLiteral(", ")) + QLatin1String(lastJoin) + last;
}

QString suffixesTaking(const QString &option)
{
    QStringList suffixes;
    for (const MapFormat &format : mapFormats()) {
        if (format.options.contains(option))
            suffixes += format.suffixes;
    }
    return listed(suffixes, ", ");
}

QString unknownFormat(const QString &file, Use use, const QStringList &first)
{
    return QStringLiteral("cannot tell the format of '%1': use %2")
        .arg(file, listed(suffixesFor(use, first)));
}

} // namespace vellumor::formats
