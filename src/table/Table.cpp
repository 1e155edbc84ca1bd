#include "table/Table.h"

#include "table/Overloaded.h"

#include "document/MapFileReader.h"
#include "rules/MapRegions.h"
#include "rules/Sight.h"
#include "table/StepDescription.h"
#include "table/TableFile.h"

#include <QFileInfo>

namespace vellumor::table {

namespace {

void setCells(MapState &state, const std::vector<int> &cells, bool on, bool prepare)
{
    CellSet &set = prepare ? state.prepared : state.revealed;
    for (const int cell : cells)
        set.set(std::size_t(cell), on);
}

CellSet seenFrom(const MapCodes &codes, int cell, const SightRange &range)
{
    return rules::MapSight(codes).seenFrom(fromReadingIndex(cell), range);
}

std::vector<int> regionCells(
    const MapCodes &codes, const RevealRegion &command, const MapState &state)
{
    std::vector<int> cells;
    if (command.kind == Region::Sight) {
        const CellSet seen = seenFrom(codes, command.cell, state.range);
        for (int index = 0; index < kCellCount; ++index) {
            if (seen[std::size_t(index)])
                cells.push_back(index);
        }
        return cells;
    }
    static constexpr rules::RegionKind kKinds[]
        = {rules::RegionKind::Picture, rules::RegionKind::Walk, rules::RegionKind::Run};
    for (const CellPlace cell :
        rules::mapRegion(codes, fromReadingIndex(command.cell), kKinds[int(command.kind)]))
        cells.push_back(readingIndex(cell));
    return cells;
}

// Fog of war: what each marker sees from its cell is added to what the players
// have seen, for the markers in `moved` (all of them when the party starts to
// be followed).
void revealWhatThePartySees(const MapCodes &codes, MapState &state, const Party &before)
{
    const rules::MapSight sight(codes);
    for (std::size_t colour = 0; colour < state.party.size(); ++colour) {
        const int cell = state.party[colour];
        if (cell == kNoMarker || cell == before[colour])
            continue;
        state.revealed |= sight.seenFrom(fromReadingIndex(cell), state.range);
    }
}

} // namespace

std::variant<MapCodes, QString> readTableMap(const QString &path)
{
    const auto result = readMapFile(path);
    if (const auto *failure = std::get_if<MapReadFailure>(&result)) {
        if (failure->line == 0)
            return path + QStringLiteral(": ") + failure->problem;
        return QStringLiteral("%1:%2: %3").arg(path).arg(failure->line).arg(failure->problem);
    }
    return std::get<MapCodes>(result);
}

std::variant<std::vector<TableMap>, QString> openTableMaps(const QStringList &paths, bool reset)
{
    std::vector<TableMap> maps;
    QStringList seen;
    for (const QString &path : paths) {
        const QString canonical = QFileInfo(path).absoluteFilePath();
        if (seen.contains(canonical))
            return path + QStringLiteral(": named twice");
        seen.append(canonical);
        auto codes = readTableMap(path);
        if (const auto *failure = std::get_if<QString>(&codes))
            return *failure;
        if (const auto problem = checkTableFolder(path))
            return tableFilePath(path) + QStringLiteral(": ") + *problem;
        TableMap map {path, QFileInfo(path).fileName(), std::get<MapCodes>(codes), {}};
        if (!reset) {
            auto state = readTableFile(path);
            if (const auto *problem = std::get_if<QString>(&state)) {
                return tableFilePath(path) + QStringLiteral(": ") + *problem
                    + QStringLiteral(" (left as it is; --reset starts afresh)");
            }
            map.state = std::get<MapState>(state);
        }
        maps.push_back(std::move(map));
    }
    if (maps.empty())
        return QStringLiteral("no map file given");
    return maps;
}

Table::Table(std::vector<TableMap> maps, StateSaver save)
    : m_maps(std::move(maps))
    , m_save(std::move(save))
{
    Q_ASSERT(!m_maps.empty());
}

std::optional<QString> Table::checkMap(int map) const
{
    if (map < 0 || std::size_t(map) >= m_maps.size())
        return QStringLiteral("there is no map %1").arg(map);
    return std::nullopt;
}

std::optional<QString> Table::checkCells(const GmCommand &command)
{
    std::vector<int> named;
    if (const auto *set = std::get_if<SetCells>(&command))
        named = set->cells;
    else if (const auto *region = std::get_if<RevealRegion>(&command))
        named = {region->cell};
    else if (const auto *party = std::get_if<SetParty>(&command)) {
        for (const int cell : party->party) {
            if (cell != kNoMarker)
                named.push_back(cell);
        }
    } else if (const auto *follow = std::get_if<SetFollow>(&command)) {
        if (follow->range && (*follow->range < 1 || *follow->range > kLongestRange))
            return QStringLiteral("a range is 1 to %1 cells").arg(kLongestRange);
    }
    for (const int cell : named) {
        if (cell < 0 || cell >= kCellCount)
            return QStringLiteral("there is no cell %1").arg(cell);
    }
    return std::nullopt;
}

MapState Table::changed(const GmCommand &command, const MapState &state) const
{
    MapState next = state;
    std::visit(Overloaded {
                   [&](const SetCells &c) { setCells(next, c.cells, c.revealed, c.prepare); },
                   [&](const RevealRegion &c) {
                       const auto cells = regionCells(m_maps[std::size_t(c.map)].codes, c, state);
                       setCells(next, cells, c.revealed, c.prepare);
                   },
                   [&](const SetParty &c) {
                       next.party = c.party;
                       if (next.follow)
                           revealWhatThePartySees(
                               m_maps[std::size_t(c.map)].codes, next, state.party);
                   },
                   [&](const SetFollow &c) {
                       next.follow = c.follow;
                       next.range = c.range;
                       if (next.follow && !state.follow)
                           revealWhatThePartySees(m_maps[std::size_t(c.map)].codes, next, kNoParty);
                   },
                   [&](const ShowPrepared &) {
                       next.revealed |= next.prepared;
                       next.prepared.reset();
                   },
                   [&](const ClearPrepared &) { next.prepared.reset(); },
                   [&](const SetAll &c) {
                       if (c.revealed)
                           next.revealed.set();
                       else
                           next.revealed.reset();
                   },
                   [&](const SetFrame &c) { next.frame = c.frame; },
                   [&](const SetGrid &c) { next.grid = c.grid; },
                   [](const auto &) {},
               },
        command);
    return next;
}

std::variant<Applied, QString> Table::apply(const GmCommand &command)
{
    if (std::holds_alternative<Undo>(command))
        return step(m_undo, m_redo, true);
    if (std::holds_alternative<Redo>(command))
        return step(m_redo, m_undo, false);
    const int map
        = std::visit(Overloaded {[](const Undo &) { return 0; }, [](const Redo &) { return 0; },
                         [](const auto &c) { return c.map; }},
            command);
    if (const auto problem = checkMap(map))
        return *problem;
    if (const auto problem = checkCells(command))
        return *problem;
    if (const auto *show = std::get_if<ShowMap>(&command)) {
        Applied applied;
        if (show->map != m_shown) {
            m_shown = show->map;
            ++m_view;
            applied.newView = true;
        }
        return applied;
    }
    if (const auto *region = std::get_if<RevealRegion>(&command)) {
        const TableMap &target = m_maps[std::size_t(map)];
        if (regionCells(target.codes, *region, target.state).empty()) {
            return region->kind == Region::Walk
                ? QStringLiteral("no one can stand in that cell")
                : QStringLiteral("that cell is not part of a river or a wall");
        }
    }
    const TableMap &target = m_maps[std::size_t(map)];
    const MapState next = changed(command, target.state);
    const QString what = describeStep(command, target.codes, target.state, next);
    return change(map, next, &what);
}

// undoAs: what the change is called in the undo list; none for an undo or redo itself.
std::variant<Applied, QString> Table::change(int map, MapState next, const QString *undoAs)
{
    TableMap &target = m_maps[std::size_t(map)];
    if (next.sameView(target.state))
        return Applied {};
    next.rev = target.state.rev + 1;
    if (const auto problem = m_save(target, next))
        return QStringLiteral("the table could not be saved, so nothing changed: ") + *problem;
    Applied applied {map, target.state, target.codes, false, std::nullopt};
    if (undoAs) {
        m_undo.push_back({map, target.state, next, *undoAs});
        if (m_undo.size() > kUndoSteps)
            m_undo.pop_front();
        m_redo.clear();
    }
    target.state = next;
    return applied;
}

std::variant<Applied, QString> Table::step(std::deque<Step> &from, std::deque<Step> &to, bool undo)
{
    if (from.empty())
        return undo ? QStringLiteral("nothing to undo") : QStringLiteral("nothing to redo");
    const Step last = from.back();
    auto result = change(last.map, undo ? last.before : last.after, nullptr);
    if (auto *applied = std::get_if<Applied>(&result)) {
        applied->stepped = Applied::Stepped {undo, last.map, last.what};
        from.pop_back();
        to.push_back(last);
    }
    return result;
}

std::variant<Applied, QString> Table::replaceCodes(int map, const MapCodes &codes)
{
    if (const auto problem = checkMap(map))
        return *problem;
    TableMap &target = m_maps[std::size_t(map)];
    if (codes == target.codes)
        return Applied {};
    MapState next = target.state;
    next.rev = target.state.rev + 1;
    if (const auto problem = m_save(target, next))
        return QStringLiteral("the table could not be saved: ") + *problem;
    Applied applied {map, target.state, target.codes, false, std::nullopt};
    target.codes = codes;
    target.state = next;
    return applied;
}

} // namespace vellumor::table
