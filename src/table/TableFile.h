#pragma once

#include "table/TableState.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <variant>

namespace vellumor::table {

// Each map's state is kept beside it, "town.map" in "town.map.table", and
// records the map's name and size so that it is never read for another map.
QString tableFilePath(const QString &mapPath);
// The hidden ".town.map.table-next" a running table writes every other state
// into (TableFileWriter).
QString hiddenTableFilePath(const QString &mapPath);

QByteArray tableFileBytes(const QString &mapName, const MapState &state);

// The state saved for the map at mapPath: a fresh one when there is no state
// file, the reason when there is one that is not this map's state. A newer
// state in the hidden file, left by a table that did not stop, is taken over
// an older or spoilt one in the state file.
std::variant<MapState, QString> readTableFile(const QString &mapPath);
// Reads the state from bytes; mapName is the name the state must record.
std::variant<MapState, QString> parseTableFile(const QByteArray &bytes, const QString &mapName);

// Replaces the state file in one step (a new file renamed over the old), or
// leaves it as it was and gives the reason.
std::optional<QString> writeTableFile(const QString &mapPath, const MapState &state);

// Whether a state file can be written beside the map: the reason when not.
std::optional<QString> checkTableFolder(const QString &mapPath);

} // namespace vellumor::table
