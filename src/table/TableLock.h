#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>
#include <vector>

namespace vellumor::table {

// Each map is served by one table at a time: two tables on one map would
// each overwrite its MAP.table, and a restart would keep only the reveals of
// the last to write. A table holds a lock on each of its maps for as long as
// it runs; the system releases it when the table ends, however it ends.
class MapLocks
{
public:
    // Locks every map (a hidden ".MAP.table-lock" beside each), or gives one
    // line naming a map that another table serves, with that table's port.
    static std::variant<MapLocks, QString> take(const QStringList &mapPaths);

    MapLocks(MapLocks &&other) noexcept;
    MapLocks &operator=(MapLocks &&other) noexcept;
    MapLocks(const MapLocks &) = delete;
    MapLocks &operator=(const MapLocks &) = delete;
    ~MapLocks();

    // Records the port this table listens on, for a table started later to name.
    void announce(quint16 port);

    static QString lockPath(const QString &mapPath);
    // The port of the table that serves the map now, if one does and listens.
    static std::optional<quint16> servingPort(const QString &mapPath);

private:
    MapLocks() = default;
    std::vector<int> m_files;
};

} // namespace vellumor::table
