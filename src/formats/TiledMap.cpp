#include "formats/TiledMap.h"

#include "document/CellGrid.h"

namespace vellumor::tiledmap {

std::optional<QString> checkHeader(const MapHeader &header)
{
    if (header.orientation != QLatin1String("orthogonal"))
        return QStringLiteral("the map is %1, not orthogonal").arg(header.orientation);
    if (header.infinite)
        return QStringLiteral("the map is infinite; a map has %1 x %2 tiles")
            .arg(kMapColumns)
            .arg(kMapRows);
    if (header.width != kMapColumns || header.height != kMapRows) {
        return QStringLiteral("the map is %1 x %2 tiles; a map has %3 x %4")
            .arg(header.width)
            .arg(header.height)
            .arg(kMapColumns)
            .arg(kMapRows);
    }
    if (header.tileWidth != kTileSize || header.tileHeight != kTileSize) {
        return QStringLiteral("the tiles are %1 x %2 pixels, not %3 x %3")
            .arg(header.tileWidth)
            .arg(header.tileHeight)
            .arg(kTileSize);
    }
    return std::nullopt;
}

std::optional<QString> checkTileset(const Tileset &tileset)
{
    if (tileset.external)
        return QStringLiteral(
            "the tileset is in a file of its own; it must be embedded in the map");
    if (tileset.name != QLatin1String(kTilesetName) || tileset.tileWidth != kTileSize
        || tileset.tileHeight != kTileSize || tileset.tileCount != kTileCount
        || tileset.columns != kAtlasColumns) {
        return QStringLiteral("the tileset \"%1\" is not the Vellumor tileset (\"%2\", %3 tiles of "
                              "%4 x %4 in %5 columns)")
            .arg(tileset.name, QLatin1String(kTilesetName))
            .arg(kTileCount)
            .arg(kTileSize)
            .arg(kAtlasColumns);
    }
    if (tileset.firstTile < 1 || tileset.firstTile > 0x0FFFFFFF)
        return QStringLiteral("the tileset's first tile number %1 is out of range")
            .arg(tileset.firstTile);
    return std::nullopt;
}

std::optional<QString> checkLayerSize(qint64 width, qint64 height)
{
    if (width != kMapColumns || height != kMapRows) {
        return QStringLiteral("the tile layer is %1 x %2 tiles; a map has %3 x %4")
            .arg(width)
            .arg(height)
            .arg(kMapColumns)
            .arg(kMapRows);
    }
    return std::nullopt;
}

std::variant<MapCodes, TileProblem> codesFromTiles(
    const tiledata::TileNumbers &tiles, qint64 firstTile)
{
    // Tiled keeps flips and rotations in the top four bits of a tile number.
    constexpr quint32 kTransformBits = 0xF0000000u;
    MapCodes codes {};
    for (int i = 0; i < kCellCount; ++i) {
        const quint32 tile = tiles[i];
        // Tiled lays its tiles out in reading order.
        const auto [column, row] = fromReadingIndex(i);
        if (tile & kTransformBits) {
            return TileProblem {i,
                QStringLiteral("the tile at column %1, row %2 is flipped or rotated; symbols "
                               "stand upright")
                    .arg(column)
                    .arg(row)};
        }
        qint64 code = 0;
        if (tile != 0) {
            code = qint64(tile) - firstTile + 1;
            if (code < 1 || code > kHighestSymbolCode) {
                return TileProblem {i,
                    QStringLiteral("the tile at column %1, row %2 is tile %3, which is not in "
                                   "the Vellumor tileset")
                        .arg(column)
                        .arg(row)
                        .arg(tile)};
            }
        }
        codes[std::size_t(cellIndex(column, row))] = SymbolCode(code);
    }
    return codes;
}

QByteArray csvRows(const MapCodes &codes, const QByteArray &indent)
{
    QByteArray text;
    for (int row = 0; row < kMapRows; ++row) {
        text += indent;
        for (int column = 0; column < kMapColumns; ++column) {
            text += QByteArray::number(codes[std::size_t(cellIndex(column, row))]);
            if (row < kMapRows - 1 || column < kMapColumns - 1)
                text += ',';
        }
        text += '\n';
    }
    return text;
}

} // namespace vellumor::tiledmap
