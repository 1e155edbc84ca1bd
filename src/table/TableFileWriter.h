#pragma once

#include "table/TableState.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <optional>

namespace vellumor::table {

// Writes each map's state file as writeTableFile does, each change replacing
// the whole file in one step, durably, before anyone is told of it; but
// through two files of which the names are swapped, "town.map.table" and a
// hidden ".town.map.table-next" beside it, so that a change neither makes nor
// removes a file. Where that cannot be done (a link, a file system without the
// swap, a file replaced by another program), it writes as writeTableFile does.
class TableFileWriter
{
public:
    TableFileWriter() = default;
    TableFileWriter(const TableFileWriter &) = delete;
    TableFileWriter &operator=(const TableFileWriter &) = delete;
    // Removes the hidden files it made.
    ~TableFileWriter();

    // The reason when the state could not be written; the file is then as it was.
    std::optional<QString> write(const QString &mapPath, const MapState &state);

    static QString nextFilePath(const QString &mapPath);

private:
    struct Files
    {
        int folder = -1;
        int current = -1; // the file named MAP.table
        int next = -1; // the hidden one, written and then swapped in
        QByteArray currentName;
        QByteArray nextName;
    };

    static bool swapIn(Files &files, const QByteArray &bytes);
    static void open(Files &files, const QString &mapPath);
    static void close(Files &files, bool removeNext);

    std::map<QString, Files> m_files;
};

} // namespace vellumor::table
