#include "formats/TmxFormat.h"

#include "formats/TiledMap.h"

#include <QXmlStreamReader>

#include <optional>

namespace vellumor::tmxformat {

using formats::FormatError;
using namespace tiledmap;

QByteArray encode(const MapCodes &codes, const QString &atlasSource)
{
    QByteArray xml;
    xml += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    xml += "<map version=\"1.8\" orientation=\"orthogonal\" renderorder=\"right-down\" width=\""
        + QByteArray::number(kMapColumns) + "\" height=\"" + QByteArray::number(kMapRows)
        + "\" tilewidth=\"15\" tileheight=\"15\" infinite=\"0\" backgroundcolor=\"#ffffff\" "
          "nextlayerid=\"2\" nextobjectid=\"1\">\n";
    xml += " <tileset firstgid=\"1\" name=\"" + QByteArray(kTilesetName)
        + "\" tilewidth=\"15\" tileheight=\"15\" tilecount=\"64\" columns=\"8\">\n";
    xml += "  <image source=\"" + atlasSource.toHtmlEscaped().toUtf8()
        + "\" width=\"120\" height=\"120\"/>\n";
    xml += " </tileset>\n";
    xml += " <layer id=\"1\" name=\"Map\" width=\"35\" height=\"25\">\n";
    xml += "  <data encoding=\"csv\">\n" + csvRows(codes, QByteArray()) + "</data>\n";
    xml += " </layer>\n";
    xml += "</map>\n";
    return xml;
}

namespace {

// Deeper than any Tiled map nests its elements.
constexpr int kMaxDepth = 16;

qint64 number(const QXmlStreamAttributes &attributes, QLatin1String name)
{
    bool ok = false;
    const qint64 value = attributes.value(name).toLongLong(&ok);
    return ok ? value : -1;
}

class TmxReader
{
public:
    explicit TmxReader(QByteArrayView bytes)
        : m_xml(bytes.toByteArray())
    { }

    std::variant<MapCodes, FormatError> read();

private:
    std::optional<QString> startElement(int depth);
    std::optional<QString> readData();

    QXmlStreamReader m_xml;
    bool m_sawMap = false;
    int m_tilesets = 0;
    int m_tileLayers = 0;
    qint64 m_firstTile = 0;
    int m_dataLine = 0;
    int m_errorLine = 0; // where a fault inside the layer data lies
    std::optional<tiledata::TileNumbers> m_tiles;
    QList<int> m_tileLines; // for CSV data: each tile's line
};

std::variant<MapCodes, FormatError> TmxReader::read()
{
    int depth = 0;
    while (!m_xml.atEnd()) {
        const QXmlStreamReader::TokenType token = m_xml.readNext();
        const int line = int(m_xml.lineNumber());
        if (token == QXmlStreamReader::DTD) {
            return FormatError {line,
                QStringLiteral(
                    "the file declares a document type (DOCTYPE); Tiled maps have none")};
        }
        if (token == QXmlStreamReader::EndElement)
            --depth;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (++depth > kMaxDepth)
            return FormatError {
                line, QStringLiteral("elements nest more than %1 deep").arg(kMaxDepth)};
        if (auto problem = startElement(depth))
            return FormatError {m_errorLine > 0 ? m_errorLine : line, *problem};
    }
    if (m_xml.hasError())
        return FormatError {int(m_xml.lineNumber()), m_xml.errorString()};
    if (!m_sawMap)
        return FormatError {0, QStringLiteral("the file is not a Tiled map")};
    if (m_tilesets == 0)
        return FormatError {
            0, QStringLiteral("the map has no tileset; it must use the Vellumor one")};
    if (!m_tiles)
        return FormatError {0, QStringLiteral("the map has no tile layer")};
    auto codes = codesFromTiles(*m_tiles, m_firstTile);
    if (const auto *problem = std::get_if<TileProblem>(&codes))
        return FormatError {m_tileLines.value(problem->tile, m_dataLine), problem->problem};
    return std::get<MapCodes>(codes);
}

std::optional<QString> TmxReader::startElement(int depth)
{
    const QStringView name = m_xml.name();
    const QXmlStreamAttributes attributes = m_xml.attributes();
    if (depth == 1) {
        if (name != QLatin1String("map"))
            return QStringLiteral("the file is not a Tiled map");
        m_sawMap = true;
        return checkHeader({attributes.value(QLatin1String("orientation")).toString(),
            number(attributes, QLatin1String("width")), number(attributes, QLatin1String("height")),
            number(attributes, QLatin1String("tilewidth")),
            number(attributes, QLatin1String("tileheight")),
            attributes.value(QLatin1String("infinite")) == QLatin1String("1")});
    }
    if (name == QLatin1String("tileset") && depth == 2) {
        if (++m_tilesets > 1)
            return QStringLiteral("the map uses more than one tileset");
        m_firstTile = number(attributes, QLatin1String("firstgid"));
        return checkTileset({m_firstTile, attributes.value(QLatin1String("name")).toString(),
            number(attributes, QLatin1String("tilewidth")),
            number(attributes, QLatin1String("tileheight")),
            number(attributes, QLatin1String("tilecount")),
            number(attributes, QLatin1String("columns")),
            attributes.hasAttribute(QLatin1String("source"))});
    }
    if (name == QLatin1String("layer")) {
        if (++m_tileLayers > 1)
            return QStringLiteral("the map has more than one tile layer");
        return checkLayerSize(number(attributes, QLatin1String("width")),
            number(attributes, QLatin1String("height")));
    }
    if (name == QLatin1String("data") && m_tileLayers == 1 && !m_tiles)
        return readData();
    return std::nullopt;
}

std::optional<QString> TmxReader::readData()
{
    const QXmlStreamAttributes attributes = m_xml.attributes();
    const QStringView encoding = attributes.value(QLatin1String("encoding"));
    const QStringView compression = attributes.value(QLatin1String("compression"));
    m_dataLine = int(m_xml.lineNumber());
    // Only text may follow: a chunk or tile element ends the reading with an error.
    const QByteArray text = m_xml.readElementText().toUtf8();
    if (m_xml.hasError()) {
        m_errorLine = int(m_xml.lineNumber());
        return m_xml.errorString();
    }
    if (encoding == QLatin1String("csv")) {
        auto tiles = tiledata::parseCsvTiles(text, m_dataLine, &m_tileLines);
        if (const auto *error = std::get_if<FormatError>(&tiles)) {
            m_errorLine = error->line;
            return error->problem;
        }
        m_tiles = std::get<tiledata::TileNumbers>(tiles);
        return std::nullopt;
    }
    if (encoding != QLatin1String("base64"))
        return QStringLiteral("the layer data must be CSV or base64");
    const auto method = tiledata::compressionNamed(compression);
    if (const auto *problem = std::get_if<QString>(&method))
        return *problem;
    auto tiles = tiledata::parseBase64Tiles(text, std::get<tiledata::Compression>(method));
    if (const auto *problem = std::get_if<QString>(&tiles))
        return *problem;
    m_tiles = std::get<tiledata::TileNumbers>(tiles);
    return std::nullopt;
}

} // namespace

std::variant<MapCodes, FormatError> decode(QByteArrayView bytes)
{
    return TmxReader(bytes).read();
}

} // namespace vellumor::tmxformat
