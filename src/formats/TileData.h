#pragma once

#include "document/Standard.h"
#include "formats/FormatError.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>
#include <variant>

// The cells of a map as other programs list them: rows of comma-separated
// numbers, or base64 of 32-bit little-endian numbers, zlib-compressed or not.
namespace vellumor::tiledata {

// Reads one line of 35 symbol codes into row of codes (rows from the top).
std::optional<QString> readRow(QByteArrayView line, MapCodes &codes, int row);

// Tile numbers as Tiled stores them: the tile's number in the tileset plus the
// tileset's first number, with flip flags in the top bits.
using TileNumbers = QList<quint32>;

// Comma-separated tile numbers, 875 of them, across any number of lines; a
// trailing comma at a line's end is allowed. firstLine is the text's first
// line in the file; lines, when given, receives each tile's line.
std::variant<TileNumbers, formats::FormatError> parseCsvTiles(
    QByteArrayView text, int firstLine, QList<int> *lines = nullptr);

enum class Compression { None, Zlib, Gzip };

// The compression that Tiled names so ("" for none), or why it is not read.
std::variant<Compression, QString> compressionNamed(QStringView name);

// base64 of 875 little-endian 32-bit tile numbers, compressed as given. Never
// inflates more than 875 tiles' worth.
std::variant<TileNumbers, QString> parseBase64Tiles(QByteArrayView text, Compression compression);

} // namespace vellumor::tiledata
