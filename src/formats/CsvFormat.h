#pragma once

#include "document/Standard.h"
#include "formats/FormatError.h"

#include <QByteArray>
#include <QByteArrayView>

#include <variant>

// The map as a grid of codes: 25 lines of 35 comma-separated codes, the top row
// first, each line ended by LF, as spreadsheets and build scripts read it.
namespace vellumor::csvformat {

// Largest file the reader looks at: a full map with generous blanks.
inline constexpr qsizetype kMaxFileSize = 64 * 1024;

QByteArray encode(const MapCodes &codes);

// Also takes CR LF line ends, blanks around a code, a UTF-8 byte order mark and
// blank lines after the last row.
std::variant<MapCodes, formats::FormatError> decode(QByteArrayView bytes);

} // namespace vellumor::csvformat
