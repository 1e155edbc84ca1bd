#include "cli/ExportUvtt.h"

#include "cli/ExportPng.h"
#include "cli/MapWalls.h"

#include <QSet>
#include <QtMath>

#include <cstring>
#include <vector>

namespace vellumor::maptool {

namespace {

QByteArray number(qreal value)
{
    return QByteArray::number(value, 'g', 8);
}

QByteArray point(QPointF at)
{
    return "{\"x\":" + number(at.x()) + ",\"y\":" + number(at.y()) + '}';
}

QByteArray linesOfSight(const QList<QLineF> &walls)
{
    QByteArray json = "[";
    for (qsizetype i = 0; i < walls.size(); ++i) {
        json += i == 0 ? "\n    [" : ",\n    [";
        json += point(walls[i].p1()) + ',' + point(walls[i].p2()) + ']';
    }
    return json + (walls.isEmpty() ? "]" : "\n  ]");
}

QByteArray portals(const QList<QLineF> &gates)
{
    QByteArray json = "[";
    for (qsizetype i = 0; i < gates.size(); ++i) {
        const QLineF &gate = gates[i];
        json += i == 0 ? "\n    {" : ",\n    {";
        json += "\"position\":" + point(gate.center());
        json += ",\"bounds\":[" + point(gate.p1()) + ',' + point(gate.p2()) + ']';
        json += ",\"rotation\":" + number(qAtan2(gate.dy(), gate.dx()));
        json += ",\"closed\":true,\"freestanding\":false}";
    }
    return json + (gates.isEmpty() ? "]" : "\n  ]");
}

// Each target pixel shows the picture pixel it falls in, counted in whole
// numbers (x * 15 / pixelsPerGrid), so that cell edges fall on multiples of
// pixelsPerGrid by construction and the rule is plain to state and to test;
// QImage::scaled samples pixel centres by its own rounding.
QImage enlargeNearest(const QImage &source, int pixelsPerGrid)
{
    const int width = kMapColumns * pixelsPerGrid;
    const int height = kMapRows * pixelsPerGrid;
    QImage target(width, height, source.format());
    target.setColorTable(source.colorTable());
    const int bytesPerPixel = source.depth() / 8;
    std::vector<int> sourceX(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        sourceX[std::size_t(x)] = x * kPictureSize / pixelsPerGrid * bytesPerPixel;
    for (int y = 0; y < height; ++y) {
        const uchar *from = source.constScanLine(y * kPictureSize / pixelsPerGrid);
        uchar *to = target.scanLine(y);
        if (bytesPerPixel == 1) {
            for (int x = 0; x < width; ++x)
                to[x] = from[sourceX[std::size_t(x)]];
        } else {
            for (int x = 0; x < width; ++x)
                std::memcpy(to + x * 4, from + sourceX[std::size_t(x)], 4);
        }
    }
    return target;
}

// The map enlarged without smoothing, so that the edge of cell n falls on pixel
// n * pixelsPerGrid. Kept to a palette of the pictures' few colours, the
// picture is a quarter of the memory and encodes several times faster.
QImage enlargedPicture(const MapCodes &codes, int pixelsPerGrid)
{
    QImage small = exportImage(codes, 1, false);
    QSet<QRgb> colours;
    for (int y = 0; y < small.height() && colours.size() <= 256; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(small.constScanLine(y));
        colours.unite(QSet<QRgb>(line, line + small.width()));
    }
    if (colours.size() <= 256) {
        small = small.convertToFormat(QImage::Format_Indexed8,
            QList<QRgb>(colours.begin(), colours.end()), Qt::ThresholdDither);
    }
    return enlargeNearest(small, pixelsPerGrid);
}

} // namespace

QByteArray encodeUvtt(const MapCodes &codes, int pixelsPerGrid)
{
    const QImage picture = enlargedPicture(codes, pixelsPerGrid);
    const MapWalls walls = mapWalls(codes);

    QByteArray json;
    json += "{\n  \"format\": 0.3,\n";
    json += "  \"resolution\": {\"map_origin\":{\"x\":0,\"y\":0},\"map_size\":{\"x\":"
        + QByteArray::number(kMapColumns) + ",\"y\":" + QByteArray::number(kMapRows)
        + "},\"pixels_per_grid\":" + QByteArray::number(pixelsPerGrid) + "},\n";
    json += "  \"line_of_sight\": " + linesOfSight(walls.walls) + ",\n";
    json += "  \"objects_line_of_sight\": [],\n";
    json += "  \"portals\": " + portals(walls.gates) + ",\n";
    json += "  \"environment\": {\"baked_lighting\":false,\"ambient_light\":\"ffffffff\"},\n";
    json += "  \"lights\": [],\n";
    json += "  \"image\": \"" + encodePng(picture).toBase64() + "\"\n}\n";
    return json;
}

} // namespace vellumor::maptool
