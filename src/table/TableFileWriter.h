#pragma once

#include "table/TableState.h"

#include <QByteArray>
#include <QString>
#include <QTimer>

#include <map>
#include <optional>

namespace vellumor::table {

// Writes each map's state durably before anyone is told of it, as
// writeTableFile does, but cheaply enough for every reveal: the state goes in
// place into whichever of "town.map.table" and a hidden
// ".town.map.table-next" beside it holds the older state, and is flushed to
// the disk. The newest state is thus always whole in one of the two (a write
// cut short spoils only the older), readTableFile takes the newer, and a
// change neither makes, renames nor removes a file. After a quiet second, and
// when the writer goes, the newest is written into "town.map.table" too.
// Where that cannot be done (a link, a file replaced by another program), it
// writes as writeTableFile does.
class TableFileWriter
{
public:
    TableFileWriter();
    TableFileWriter(const TableFileWriter &) = delete;
    TableFileWriter &operator=(const TableFileWriter &) = delete;
    // Leaves the newest state in the state file, and removes the hidden files.
    ~TableFileWriter();

    // The reason when the state could not be written; both files are then as
    // they were.
    std::optional<QString> write(const QString &mapPath, const MapState &state);
    // The newest state of every map written into its state file, if not yet.
    void settle();

    static constexpr int kSettleMilliseconds = 1000;

private:
    struct Files
    {
        int folder = -1;
        int state = -1; // the file named MAP.table
        int next = -1; // the hidden one
        QByteArray stateName;
        QByteArray nextName;
        bool newestInNext = false;
        QByteArray newest; // the newest state's bytes, while only the hidden file holds them
    };

    static bool writeInPlace(
        const Files &files, int file, const QByteArray &name, const QByteArray &bytes);
    static void open(Files &files, const QString &mapPath);
    static void close(Files &files, bool removeNext);

    std::map<QString, Files> m_files;
    QTimer m_settle;
};

} // namespace vellumor::table
