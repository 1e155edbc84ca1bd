#include "rules/JoinRules.h"

#include "rules/MapCells.h"

#include <bit>
#include <utility>

namespace vellumor::rules {

namespace {

struct NetworkWords
{
    const char *noun; // "river"
    const char *openEndRule;
    const char *openEndVerb; // "ends"
    const char *misjoinRule;
};

constexpr NetworkWords kRiverWords {"river", "river-open-end", "ends", "river-misjoin"};
constexpr NetworkWords kWallWords {"wall", "wall-gap", "stops", "wall-misjoin"};

const NetworkWords &wordsFor(Network network)
{
    return network == Network::River ? kRiverWords : kWallWords;
}

// A river may end against open water (it flows into it) and against trees,
// mountains and hills (it rises from a spring beneath them); a wall only at a
// junction or the map's edge, which every network may end at.
bool endsWell(const SymbolJoins &neighbour, Network network)
{
    if (network == Network::River && (neighbour.openWater || neighbour.springGround))
        return true;
    return neighbour.junction && networkSides(neighbour, network) != 0;
}

bool isGateAcross(const MapCodes &codes, int column, int row)
{
    const int code = codeAt(codes, column, row);
    return code >= 0 && symbolJoins(code).gate != GateMaterial::None
        && standsAcross(codes, column, row);
}

// A piece leads into the side of a piece that does not join it. The finding
// stands on whichever of the two disagrees with more of its neighbours, since
// that is the one to change; on both when they disagree alike.
Finding misjoin(const MapCodes &codes, int column, int row, Side side, Network network)
{
    const NetworkWords &words = wordsFor(network);
    const int toColumn = column + columnStep(side);
    const int toRow = row + rowStep(side);
    const int from = codeAt(codes, column, row);
    const int to = codeAt(codes, toColumn, toRow);
    const int fromOdds = disagreements(codes, column, row, network);
    const int toOdds = disagreements(codes, toColumn, toRow, network);
    const QString noun = QLatin1String(words.noun);
    Finding finding {column, row, Severity::Error, QString::fromLatin1(words.misjoinRule), {}};
    if (fromOdds > toOdds) {
        finding.message = QStringLiteral("the %1 leaves this cell's %2 side into %3, which does "
                                         "not join it")
                              .arg(noun, QLatin1String(sideName(side)), quotedName(to));
    } else if (toOdds > fromOdds) {
        finding.column = toColumn;
        finding.row = toRow;
        finding.message = QStringLiteral("%1 leads the %2 into this cell's %3 side, which does "
                                         "not join it")
                              .arg(quotedName(from), noun, QLatin1String(sideName(opposite(side))));
    } else {
        // Both cells, the one that comes first on the map first.
        const bool toFirst = std::pair(toRow, toColumn) < std::pair(row, column);
        finding.column = toFirst ? toColumn : column;
        finding.row = toFirst ? toRow : row;
        finding.otherColumn = toFirst ? column : toColumn;
        finding.otherRow = toFirst ? row : toRow;
        finding.message = QStringLiteral("the %1 leaves the %2 side of %3 into the %4 side of "
                                         "%5, which does not join it")
                              .arg(noun, QLatin1String(sideName(side)), quotedName(from),
                                  QLatin1String(sideName(opposite(side))), quotedName(to));
    }
    return finding;
}

void appendNetworkFindings(
    const MapCodes &codes, int column, int row, Network network, FindingSink &sink)
{
    const SymbolJoins &joins = symbolJoins(codeAt(codes, column, row));
    if (joins.junction)
        return; // an arm that meets nothing is part of the picture
    const NetworkWords &words = wordsFor(network);
    const SideSet sides = networkSides(joins, network);
    for (const Side side : kSides) {
        if (!has(sides, side))
            continue;
        const int neighbourCode = codeAcross(codes, column, row, side);
        if (neighbourCode < 0)
            continue; // it leaves the map
        const SymbolJoins &neighbour = symbolJoins(neighbourCode);
        const SideSet neighbourSides = networkSides(neighbour, network);
        if (has(neighbourSides, opposite(side)) || endsWell(neighbour, network))
            continue;
        if (network == Network::Wall
            && isGateAcross(codes, column + columnStep(side), row + rowStep(side)))
            continue; // the gate's own finding says what is wrong here
        if (neighbourSides != 0) {
            sink.add(Severity::Error, [&] { return misjoin(codes, column, row, side, network); });
        } else {
            sink.add(column, row, Severity::Error, words.openEndRule, [&] {
                return QStringLiteral("the %1 %2 at this cell's %3 side")
                    .arg(QLatin1String(words.noun), QLatin1String(words.openEndVerb),
                        QLatin1String(sideName(side)));
            });
        }
    }
}

// A gate that stands in its wall and opens onto water, a wall or a building
// on a side people pass through.
void appendBlockedGate(const MapCodes &codes, int column, int row, FindingSink &sink)
{
    const int code = codeAt(codes, column, row);
    const SideSet passage = SideSet(kAllSides & ~symbolJoins(code).wall);
    for (const Side side : kSides) {
        const int neighbourCode = codeAcross(codes, column, row, side);
        if (!has(passage, side) || neighbourCode < 0 || isWalkable(neighbourCode))
            continue;
        sink.add(column, row, Severity::Warning, "gate-blocked", [&] {
            return QStringLiteral("%1 opens onto %2 to its %3")
                .arg(quotedName(code), quotedName(neighbourCode), QLatin1String(sideName(side)));
        });
    }
}

// A gate with no wall on either side along its axis: a side that leaves the
// map may have its wall beyond the edge; a gate beside it is no wall.
bool standsInNoWall(const MapCodes &codes, int column, int row)
{
    const SideSet axis = symbolJoins(codeAt(codes, column, row)).wall;
    for (const Side side : kSides) {
        if (!has(axis, side))
            continue;
        const int neighbourCode = codeAcross(codes, column, row, side);
        if (neighbourCode < 0)
            return false;
        const SymbolJoins &neighbour = symbolJoins(neighbourCode);
        if (neighbour.gate == GateMaterial::None && has(neighbour.wall, opposite(side)))
            return false;
    }
    return true;
}

} // namespace

bool standsAcross(const MapCodes &codes, int column, int row)
{
    const SideSet axis = symbolJoins(codeAt(codes, column, row)).wall;
    int along = 0;
    int across = 0;
    for (const Side side : kSides) {
        const int neighbourCode = codeAcross(codes, column, row, side);
        if (neighbourCode < 0)
            continue;
        const SymbolJoins &neighbour = symbolJoins(neighbourCode);
        const bool pointsHere = has(neighbour.wall, opposite(side));
        if (has(axis, side))
            along += pointsHere ? 1 : 0;
        else if (pointsHere && !neighbour.junction) // a guard post leans no way
            ++across;
    }
    return across > along;
}

void appendJoinFindings(const MapCodes &codes, int column, int row, FindingSink &sink)
{
    const int code = codeAt(codes, column, row);
    const SymbolJoins &joins = symbolJoins(code);
    if (joins.river != 0)
        appendNetworkFindings(codes, column, row, Network::River, sink);
    if (joins.gate != GateMaterial::None) {
        if (standsAcross(codes, column, row)) {
            sink.add(column, row, Severity::Error, "gate-across", [&] {
                return QStringLiteral("%1 stands in a %2 wall")
                    .arg(quotedName(code),
                        joins.wall == kHorizontalSides ? QStringLiteral("vertical")
                                                       : QStringLiteral("horizontal"));
            });
            return;
        }
        if (standsInNoWall(codes, column, row)) {
            sink.add(column, row, Severity::Error, "gate-without-wall", [&] {
                const SideSet axis = joins.wall;
                return QStringLiteral("%1 stands in no wall: none meets its %2 or %3 side")
                    .arg(quotedName(code),
                        QLatin1String(sideName(has(axis, Side::North) ? Side::North : Side::West)),
                        QLatin1String(sideName(has(axis, Side::South) ? Side::South : Side::East)));
            });
            return;
        }
        appendNetworkFindings(codes, column, row, Network::Wall, sink);
        appendBlockedGate(codes, column, row, sink);
        return;
    }
    if (joins.wall != 0)
        appendNetworkFindings(codes, column, row, Network::Wall, sink);
}

SideDemand sideDemand(const MapCodes &codes, int column, int row, Network network)
{
    SideDemand demand;
    for (const Side side : kSides) {
        const int neighbourCode = codeAcross(codes, column, row, side);
        if (neighbourCode < 0) {
            demand.free |= sideBit(side);
            continue;
        }
        const SymbolJoins &neighbour = symbolJoins(neighbourCode);
        if (endsWell(neighbour, network))
            demand.free |= sideBit(side);
        else if (has(networkSides(neighbour, network), opposite(side)))
            demand.demanded |= sideBit(side);
    }
    return demand;
}

int disagreements(const MapCodes &codes, int column, int row, Network network)
{
    const SideSet sides = networkSides(symbolJoins(codeAt(codes, column, row)), network);
    const SideDemand demand = sideDemand(codes, column, row, network);
    const auto forbidden = unsigned(kAllSides & ~(demand.demanded | demand.free));
    return std::popcount(unsigned(demand.demanded & ~sides)) + std::popcount(sides & forbidden);
}

} // namespace vellumor::rules
