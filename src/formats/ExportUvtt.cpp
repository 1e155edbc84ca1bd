#include "formats/ExportUvtt.h"

#include "formats/EnlargedPng.h"
#include "formats/ExportPng.h"
#include "formats/MapWalls.h"

#include <QtMath>

namespace vellumor::mapexport {

namespace {

QByteArray number(qreal value)
{
    return QByteArray::number(value, 'g', 8);
}

QByteArray point(QPointF at)
{
    return "{\"x\":" + number(at.x()) + ",\"y\":" + number(at.y()) + '}';
}

QByteArray linesOfSight(const QList<QPolygonF> &walls)
{
    QByteArray json = "[";
    for (qsizetype i = 0; i < walls.size(); ++i) {
        json += i == 0 ? "\n    [" : ",\n    [";
        for (qsizetype p = 0; p < walls[i].size(); ++p)
            json += (p == 0 ? "" : ",") + point(walls[i][p]);
        json += ']';
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

} // namespace

QByteArray encodeUvtt(const MapCodes &codes, int pixelsPerGrid)
{
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
    json += "  \"image\": \""
        + encodeEnlargedPng(
            exportImage(codes, 1, false), kMapColumns * pixelsPerGrid, kMapRows * pixelsPerGrid)
              .toBase64()
        + "\"\n}\n";
    return json;
}

} // namespace vellumor::mapexport
