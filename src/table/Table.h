#pragma once

#include "table/ClientMessage.h"
#include "table/TableState.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

namespace vellumor::table {

// One map at the table: its codes, in the map file's order as everywhere in
// Vellumor, and what the players see.
struct TableMap
{
    QString path;
    QString name; // the file's name, shown to the GM only
    MapCodes codes {};
    MapState state;
};

// Reads each map as check does, with its saved state; the first problem as
// one line ("town.map:12: …") when any map or state cannot be used. With
// reset, saved states are set aside for fresh ones (written on the first
// change). Refuses a folder the state cannot be written to.
std::variant<std::vector<TableMap>, QString> openTableMaps(const QStringList &paths, bool reset);
// The map file's codes, or why check refuses it.
std::variant<MapCodes, QString> readTableMap(const QString &path);

// Where a map's new state is saved before anyone is told of it; the reason
// when it could not be. The real one is writeTableFile.
using StateSaver = std::function<std::optional<QString>(const TableMap &map, const MapState &)>;

// What a change did, so that each connection can be told of it.
struct Applied
{
    int map = -1; // the map that changed; -1 when none did
    MapState before;
    MapCodes codesBefore {};
    bool newView = false; // the players were shown another map
    // For an undo or redo: which it was and what the step had done.
    struct Stepped
    {
        bool undo = true;
        int map = 0;
        QString what; // "revealed the inn"
    };
    std::optional<Stepped> stepped;
};

// The table: every map's state, the map the players see, and the GM's undo.
// Every change is saved before it is reported; one that cannot be saved
// changes nothing.
class Table
{
public:
    Table(std::vector<TableMap> maps, StateSaver save);

    const std::vector<TableMap> &maps() const { return m_maps; }
    const TableMap &shownMap() const { return m_maps[std::size_t(m_shown)]; }
    int shown() const { return m_shown; }
    // Names the map being shown during this run, changing whenever another is.
    qint64 view() const { return m_view; }
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }

    // The reason when the command could not be carried out.
    std::variant<Applied, QString> apply(const GmCommand &command);
    // The map's file now holds codes.
    std::variant<Applied, QString> replaceCodes(int map, const MapCodes &codes);

    static constexpr std::size_t kUndoSteps = 100;

private:
    struct Step
    {
        int map;
        MapState before;
        MapState after;
        QString what;
    };

    std::optional<QString> checkMap(int map) const;
    static std::optional<QString> checkCells(const GmCommand &command);
    std::variant<Applied, QString> change(int map, MapState next, const QString *undoAs);
    std::variant<Applied, QString> step(std::deque<Step> &from, std::deque<Step> &to, bool undo);
    MapState changed(const GmCommand &command, const MapState &state) const;

    std::vector<TableMap> m_maps;
    StateSaver m_save;
    int m_shown = 0;
    qint64 m_view = 1;
    std::deque<Step> m_undo;
    std::deque<Step> m_redo;
};

} // namespace vellumor::table
