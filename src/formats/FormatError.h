#pragma once

#include <QString>

namespace vellumor::formats {

// Why a file could not be taken as a map: the line at fault where the format
// has lines (1-based; 0 for the file as a whole) and what was found there.
struct FormatError
{
    int line = 0;
    QString problem;

    // "FILE:LINE: problem", or "FILE: problem" without a line.
    QString located(const QString &file) const;
};

} // namespace vellumor::formats
