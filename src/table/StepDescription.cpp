#include "table/StepDescription.h"

#include "table/Overloaded.h"

#include "document/CellGrid.h"
#include "symbols/SymbolCatalog.h"
#include "symbols/SymbolNames.h"

namespace vellumor::table {

namespace {

QString cells(std::size_t count)
{
    return count == 1 ? QStringLiteral("1 cell") : QStringLiteral("%1 cells").arg(count);
}

// "revealed", "hid", "prepared" or "unprepared": what turning cells on or
// off in the revealed or the prepared set means to the GM.
QString verb(bool on, bool prepare)
{
    if (prepare)
        return on ? QStringLiteral("prepared") : QStringLiteral("unprepared");
    return on ? QStringLiteral("revealed") : QStringLiteral("hid");
}

// The code of a cell named in reading order.
int codeAt(const MapCodes &codes, int readingCell)
{
    const CellPlace place = fromReadingIndex(readingCell);
    return codes[std::size_t(cellIndex(place.column, place.row))];
}

// A picture by the catalog's name of its symbols, without the part: "Inn: Top
// Left" is the inn.
QString pictureName(int code)
{
    if (code == sym::Blank)
        return QString(); // an empty square is no picture: it is counted as cells
    const QString name = symbolName(code).section(QLatin1Char(':'), 0, 0).trimmed().toLower();
    return name.isEmpty() ? QString() : QStringLiteral("the ") + name;
}

QString runName(int code)
{
    const auto info = symbolInfo(code);
    if (info && info->keyGroup == KeyGroup::WaterRiver)
        return QStringLiteral("the river");
    if (info && info->keyGroup == KeyGroup::Walls)
        return QStringLiteral("the wall");
    return QString();
}

} // namespace

QString describeStep(
    const GmCommand &command, const MapCodes &codes, const MapState &before, const MapState &after)
{
    const auto changedIn = [&](bool prepare) {
        return prepare ? (before.prepared ^ after.prepared).count()
                       : (before.revealed ^ after.revealed).count();
    };
    return std::visit(
        Overloaded {
            [&](const SetCells &c) {
                return verb(c.revealed, c.prepare) + QLatin1Char(' ') + cells(changedIn(c.prepare));
            },
            [&](const RevealRegion &c) {
                const int code = codeAt(codes, c.cell);
                QString what = c.kind == Region::Picture ? pictureName(code)
                    : c.kind == Region::Run              ? runName(code)
                                                         : QString();
                if (what.isEmpty())
                    what = cells(changedIn(c.prepare));
                return verb(c.revealed, c.prepare) + QLatin1Char(' ') + what;
            },
            [&](const ShowPrepared &) {
                return QStringLiteral("showed %1 prepared").arg(cells(before.prepared.count()));
            },
            [&](const ClearPrepared &) {
                return QStringLiteral("cleared %1 prepared").arg(cells(before.prepared.count()));
            },
            [&](const SetAll &c) {
                return c.revealed ? QStringLiteral("revealed the whole map")
                                  : QStringLiteral("hid the whole map");
            },
            [&](const SetFrame &c) {
                return c.frame ? QStringLiteral("framed the players' screens")
                               : QStringLiteral("showed the players the whole map");
            },
            [&](const SetGrid &c) {
                return c.grid ? QStringLiteral("turned grid lines on")
                              : QStringLiteral("turned grid lines off");
            },
            [&](const SetParty &) {
                const std::size_t seen = changedIn(false);
                return seen
                    ? QStringLiteral("moved the party and revealed %1 it sees").arg(cells(seen))
                    : QStringLiteral("moved the party");
            },
            [&](const SetFollow &c) {
                if (!c.follow)
                    return QStringLiteral("stopped following the party");
                const std::size_t seen = changedIn(false);
                return seen ? QStringLiteral("followed the party, revealing %1").arg(cells(seen))
                            : QStringLiteral("followed the party");
            },
            [](const auto &) { return QString(); },
        },
        command);
}

} // namespace vellumor::table
