#pragma once

#include "formats/FormatError.h"

#include <QByteArray>
#include <QString>

#include <variant>

namespace vellumor::formats {

// Reads a regular file of at most cap bytes. Reads no more than cap + 1 bytes
// whatever the file's size, and never blocks on a FIFO or a device.
std::variant<QByteArray, FormatError> readCapped(const QString &path, qsizetype cap);

} // namespace vellumor::formats
