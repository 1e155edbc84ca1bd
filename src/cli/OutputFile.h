#pragma once

#include "document/Standard.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QTextStream;

namespace vellumor::maptool {

// Writes bytes to path aside and moves them into place once complete, so that
// a failed write never leaves half a file where an older one stood. Reports a
// failure as "vellumor-map: cannot write PATH: reason".
bool writeOutput(const QString &path, const QByteArray &bytes, QTextStream &err);

// Reads a map file as the editor opens it, reporting a failure as
// "vellumor-map: FILE:LINE: what is wrong".
std::optional<MapCodes> readMapReporting(const QString &path, QTextStream &err);

} // namespace vellumor::maptool
