#pragma once

#include "document/Standard.h"

#include <QString>

#include <variant>

namespace vellumor {

// Why a file could not be read as a map.
struct MapReadFailure
{
    int line = 0; // 1-based line at fault; 0 when the file itself could not be read
    QString problem; // what was found on that line, or the system's reason
    // The text shown to the user, e.g. "Line 3: \"abc\" is not a whole number."
    QString describe() const;
};

// Reads and checks a whole map file, exactly as opening a map does. Reads no
// more of the file than the map needs, and never blocks on a FIFO or a device
// that only looks like a map file.
std::variant<MapCodes, MapReadFailure> readMapFile(const QString &path);

} // namespace vellumor
