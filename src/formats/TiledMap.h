#pragma once

#include "document/Standard.h"
#include "formats/TileData.h"

#include <QString>

#include <optional>
#include <variant>

// What Vellumor's maps look like in Tiled, and what the Tiled readers accept: a
// 35 x 25 orthogonal map of 15 x 15 tiles with one tile layer, drawn with the
// symbol tileset embedded in it: 64 tiles in 8 columns, tile n being symbol
// n + 1, so that with the first tile number 1 a tile's number is its symbol
// code and 0 stays an empty cell.
namespace vellumor::tiledmap {

inline constexpr int kTileSize = 15;
inline constexpr int kAtlasColumns = 8;
inline constexpr int kTileCount = kHighestSymbolCode;
inline constexpr int kAtlasSize = kTileSize * kAtlasColumns; // 120 pixels square
inline constexpr char kTilesetName[] = "vellumor-symbols";
inline constexpr char kDefaultAtlasFile[] = "vellumor-symbols.png";

// Largest Tiled file the readers look at: far more than any map of ours
// needs, with room for what Tiled adds when it saves.
inline constexpr qsizetype kMaxFileSize = 1024 * 1024;

struct MapHeader
{
    QString orientation;
    qint64 width = 0;
    qint64 height = 0;
    qint64 tileWidth = 0;
    qint64 tileHeight = 0;
    bool infinite = false;
};

struct Tileset
{
    qint64 firstTile = 0;
    QString name;
    qint64 tileWidth = 0;
    qint64 tileHeight = 0;
    qint64 tileCount = 0;
    qint64 columns = 0;
    bool external = false;
};

// What is wrong with a map, tileset or layer of this shape, if anything.
std::optional<QString> checkHeader(const MapHeader &header);
std::optional<QString> checkTileset(const Tileset &tileset);
std::optional<QString> checkLayerSize(qint64 width, qint64 height);

struct TileProblem
{
    int tile; // 0-based, rows from the top
    QString problem;
};

// The layer's tiles, rows from the top, as map codes.
std::variant<MapCodes, TileProblem> codesFromTiles(
    const tiledata::TileNumbers &tiles, qint64 firstTile);

// The tile numbers of codes, one line per row from the top, each number but
// the last followed by a comma, as Tiled writes them.
QByteArray csvRows(const MapCodes &codes, const QByteArray &indent);

} // namespace vellumor::tiledmap
