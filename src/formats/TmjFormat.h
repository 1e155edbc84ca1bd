#pragma once

#include "document/Standard.h"
#include "formats/FormatError.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <variant>

// Tiled's JSON map format (.tmj), for maps drawn with the Vellumor tileset.
namespace vellumor::tmjformat {

// Deeper than any Tiled map nests its arrays and objects.
inline constexpr int kMaxNesting = 16;

// atlasSource is the tileset picture's path as the map names it, relative to
// the map file. The tiles are written one row per line.
QByteArray encode(const MapCodes &codes, const QString &atlasSource);

// Takes what encode writes and the same map saved again by Tiled: a data array,
// or base64 with or without zlib or gzip compression. Nesting is measured
// before the JSON is parsed.
std::variant<MapCodes, formats::FormatError> decode(QByteArrayView bytes);

} // namespace vellumor::tmjformat
