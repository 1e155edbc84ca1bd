#include "formats/TmjFormat.h"

#include "formats/TiledMap.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <optional>

namespace vellumor::tmjformat {

using formats::FormatError;
using namespace tiledmap;

QByteArray encode(const MapCodes &codes, const QString &atlasSource)
{
    // Tiled's own key order and layout, so that a map saved again by Tiled
    // differs from this one only where the user changed something.
    const QByteArray image = QJsonDocument(QJsonArray {atlasSource}).toJson(QJsonDocument::Compact);
    QByteArray json;
    json += "{ \"backgroundcolor\":\"#ffffff\",\n";
    json += "  \"compressionlevel\":-1,\n";
    json += "  \"height\":25,\n";
    json += "  \"infinite\":false,\n";
    json += "  \"layers\":[\n";
    json += "        {\n";
    json += "         \"data\":[\n" + csvRows(codes, "            ") + "         ],\n";
    json += "         \"height\":25,\n";
    json += "         \"id\":1,\n";
    json += "         \"name\":\"Map\",\n";
    json += "         \"opacity\":1,\n";
    json += "         \"type\":\"tilelayer\",\n";
    json += "         \"visible\":true,\n";
    json += "         \"width\":35,\n";
    json += "         \"x\":0,\n";
    json += "         \"y\":0\n";
    json += "        }],\n";
    json += "  \"nextlayerid\":2,\n";
    json += "  \"nextobjectid\":1,\n";
    json += "  \"orientation\":\"orthogonal\",\n";
    json += "  \"renderorder\":\"right-down\",\n";
    json += "  \"tileheight\":15,\n";
    json += "  \"tilesets\":[\n";
    json += "        {\n";
    json += "         \"columns\":8,\n";
    json += "         \"firstgid\":1,\n";
    json += "         \"image\":" + image.mid(1, image.size() - 2) + ",\n";
    json += "         \"imageheight\":120,\n";
    json += "         \"imagewidth\":120,\n";
    json += "         \"margin\":0,\n";
    json += "         \"name\":\"" + QByteArray(kTilesetName) + "\",\n";
    json += "         \"spacing\":0,\n";
    json += "         \"tilecount\":64,\n";
    json += "         \"tileheight\":15,\n";
    json += "         \"tilewidth\":15\n";
    json += "        }],\n";
    json += "  \"tilewidth\":15,\n";
    json += "  \"type\":\"map\",\n";
    json += "  \"version\":\"1.8\",\n";
    json += "  \"width\":35\n";
    json += "}\n";
    return json;
}

namespace {

int lineAt(QByteArrayView bytes, qsizetype offset)
{
    return int(bytes.first(qBound<qsizetype>(0, offset, bytes.size())).count('\n')) + 1;
}

// The line where nesting first goes deeper than kMaxNesting, or nothing.
std::optional<int> tooDeep(QByteArrayView bytes)
{
    int depth = 0;
    bool inString = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxNesting)
                return lineAt(bytes, i);
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return std::nullopt;
}

qint64 integer(const QJsonObject &object, QLatin1String key)
{
    const QJsonValue value = object.value(key);
    const double number = value.toDouble(-1);
    if (!value.isDouble() || number != std::floor(number) || std::abs(number) > 1e12)
        return -1;
    return qint64(number);
}

std::variant<tiledata::TileNumbers, QString> layerTiles(const QJsonObject &layer)
{
    const QString encoding = layer.value(QLatin1String("encoding")).toString();
    const QJsonValue data = layer.value(QLatin1String("data"));
    if (encoding.isEmpty() || encoding == QLatin1String("csv")) {
        if (!data.isArray())
            return QStringLiteral("the tile layer has no data array");
        const QJsonArray array = data.toArray();
        if (array.size() != kCellCount) {
            return QStringLiteral("the layer holds %1 tiles; a map has %2")
                .arg(array.size())
                .arg(kCellCount);
        }
        tiledata::TileNumbers tiles;
        tiles.reserve(kCellCount);
        for (const QJsonValue &value : array) {
            const double number = value.toDouble(-1);
            if (!value.isDouble() || number < 0 || number > 4294967295.0
                || number != std::floor(number))
                return QStringLiteral("tile %1 is not a tile number").arg(tiles.size() + 1);
            tiles.append(quint32(number));
        }
        return tiles;
    }
    if (encoding != QLatin1String("base64"))
        return QStringLiteral("the layer data must be CSV or base64");
    if (!data.isString())
        return QStringLiteral("the base64 layer data is not a string");
    const auto method
        = tiledata::compressionNamed(layer.value(QLatin1String("compression")).toString());
    if (const auto *problem = std::get_if<QString>(&method))
        return *problem;
    return tiledata::parseBase64Tiles(
        data.toString().toLatin1(), std::get<tiledata::Compression>(method));
}

// Every tile layer, also inside groups of layers.
void collectTileLayers(const QJsonArray &layers, QList<QJsonObject> &found)
{
    for (const QJsonValue &value : layers) {
        const QJsonObject layer = value.toObject();
        const QString type = layer.value(QLatin1String("type")).toString();
        if (type == QLatin1String("tilelayer"))
            found.append(layer);
        else if (type == QLatin1String("group"))
            collectTileLayers(layer.value(QLatin1String("layers")).toArray(), found);
    }
}

std::variant<MapCodes, QString> readMap(const QJsonObject &map)
{
    if (auto problem = checkHeader({map.value(QLatin1String("orientation")).toString(),
            integer(map, QLatin1String("width")), integer(map, QLatin1String("height")),
            integer(map, QLatin1String("tilewidth")), integer(map, QLatin1String("tileheight")),
            map.value(QLatin1String("infinite")).toBool()}))
        return *problem;

    const QJsonArray tilesets = map.value(QLatin1String("tilesets")).toArray();
    if (tilesets.isEmpty())
        return QStringLiteral("the map has no tileset; it must use the Vellumor one");
    if (tilesets.size() > 1)
        return QStringLiteral("the map uses more than one tileset");
    const QJsonObject tileset = tilesets.first().toObject();
    const qint64 firstTile = integer(tileset, QLatin1String("firstgid"));
    if (auto problem = checkTileset({firstTile, tileset.value(QLatin1String("name")).toString(),
            integer(tileset, QLatin1String("tilewidth")),
            integer(tileset, QLatin1String("tileheight")),
            integer(tileset, QLatin1String("tilecount")),
            integer(tileset, QLatin1String("columns")), tileset.contains(QLatin1String("source"))}))
        return *problem;

    QList<QJsonObject> tileLayers;
    collectTileLayers(map.value(QLatin1String("layers")).toArray(), tileLayers);
    if (tileLayers.isEmpty())
        return QStringLiteral("the map has no tile layer");
    if (tileLayers.size() > 1)
        return QStringLiteral("the map has more than one tile layer");
    const QJsonObject &layer = tileLayers.first();
    if (auto problem = checkLayerSize(
            integer(layer, QLatin1String("width")), integer(layer, QLatin1String("height"))))
        return *problem;
    auto tiles = layerTiles(layer);
    if (const auto *problem = std::get_if<QString>(&tiles))
        return *problem;
    auto codes = codesFromTiles(std::get<tiledata::TileNumbers>(tiles), firstTile);
    if (const auto *problem = std::get_if<TileProblem>(&codes))
        return problem->problem;
    return std::get<MapCodes>(codes);
}

} // namespace

std::variant<MapCodes, FormatError> decode(QByteArrayView bytes)
{
    if (const auto line = tooDeep(bytes))
        return FormatError {
            *line, QStringLiteral("arrays and objects nest more than %1 deep").arg(kMaxNesting)};
    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(bytes.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError)
        return FormatError {lineAt(bytes, error.offset), error.errorString()};
    if (!document.isObject()
        || document.object().value(QLatin1String("type")).toString() != QLatin1String("map"))
        return FormatError {0, QStringLiteral("the file is not a Tiled map")};
    auto codes = readMap(document.object());
    if (const auto *problem = std::get_if<QString>(&codes))
        return FormatError {0, *problem};
    return std::get<MapCodes>(codes);
}

} // namespace vellumor::tmjformat
