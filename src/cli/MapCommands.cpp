#include "cli/MapCommands.h"

#include "cli/MapTool.h"
#include "document/MapFileReader.h"
#include "mapview/MapRenderer.h"

#include <QBuffer>
#include <QSaveFile>
#include <QTextStream>

#include <variant>

namespace vellumor::maptool {

QString located(const QString &file, const MapReadFailure &failure)
{
    if (failure.line == 0)
        return file + QStringLiteral(": ") + failure.problem;
    return QStringLiteral("%1:%2: %3").arg(file).arg(failure.line).arg(failure.problem);
}

int checkMaps(const QStringList &files, QTextStream &out)
{
    int status = kSuccess;
    for (const QString &file : files) {
        const auto result = readMapFile(file);
        if (const auto *failure = std::get_if<MapReadFailure>(&result)) {
            out << located(file, *failure) << Qt::endl;
            status = kFailure;
        } else {
            out << file << QStringLiteral(": ok") << Qt::endl;
        }
    }
    return status;
}

QImage renderMap(const MapCodes &codes, bool gridLines, int scale)
{
    MapRenderer renderer;
    const QImage image = renderer.renderImage(codes, gridLines, 1.0);
    if (scale == 1)
        return image;
    // Whole-number factors with FastTransformation copy each pixel into a
    // square block, nothing blended.
    return image.scaled(image.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

int renderMapFile(const RenderRequest &request, QTextStream &err)
{
    const auto result = readMapFile(request.mapFile);
    if (const auto *failure = std::get_if<MapReadFailure>(&result)) {
        err << QStringLiteral("vellumor-map: ") << located(request.mapFile, *failure) << Qt::endl;
        return kFailure;
    }
    QImage image = renderMap(std::get<MapCodes>(result), request.gridLines, request.scale);
    if (request.fitSize > 0
        && (image.width() > request.fitSize || image.height() > request.fitSize)) {
        image = image.scaled(
            request.fitSize, request.fitSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        err << QStringLiteral("vellumor-map: could not encode the picture as PNG") << Qt::endl;
        return kFailure;
    }
    // Written aside and then moved into place, so that a failed write never
    // leaves half a picture where an older one stood.
    QSaveFile output(request.outputFile);
    if (!output.open(QIODevice::WriteOnly) || output.write(png) != png.size() || !output.commit()) {
        err << QStringLiteral("vellumor-map: cannot write %1: %2")
                   .arg(request.outputFile, output.errorString())
            << Qt::endl;
        return kFailure;
    }
    return kSuccess;
}

} // namespace vellumor::maptool
