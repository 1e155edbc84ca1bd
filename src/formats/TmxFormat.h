#pragma once

#include "document/Standard.h"
#include "formats/FormatError.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <variant>

// Tiled's XML map format (.tmx), for maps drawn with the Vellumor tileset.
namespace vellumor::tmxformat {

// atlasSource is the tileset picture's path as the map names it, relative to
// the map file.
QByteArray encode(const MapCodes &codes, const QString &atlasSource);

// Takes what encode writes and the same map saved again by Tiled: CSV data, or
// base64 with or without zlib or gzip compression. Refuses a document type
// declaration outright, so that no entity is ever expanded.
std::variant<MapCodes, formats::FormatError> decode(QByteArrayView bytes);

} // namespace vellumor::tmxformat
