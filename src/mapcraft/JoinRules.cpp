#include "mapcraft/JoinRules.h"

#include "mapcraft/MapCells.h"

namespace vellumor::mapcraft {

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
            sink.add(column, row, Severity::Error, words.misjoinRule, [&] {
                return QStringLiteral("the %1 leaves this cell's %2 side into %3, which does not "
                                      "join it")
                    .arg(QLatin1String(words.noun), QLatin1String(sideName(side)),
                        quotedName(neighbourCode));
            });
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
        if (!has(passage, side) || neighbourCode < 0 || symbolJoins(neighbourCode).walkable)
            continue;
        sink.add(column, row, Severity::Warning, "gate-blocked", [&] {
            return QStringLiteral("%1 opens onto %2 to its %3")
                .arg(quotedName(code), quotedName(neighbourCode), QLatin1String(sideName(side)));
        });
    }
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
        appendNetworkFindings(codes, column, row, Network::Wall, sink);
        appendBlockedGate(codes, column, row, sink);
        return;
    }
    if (joins.wall != 0)
        appendNetworkFindings(codes, column, row, Network::Wall, sink);
}

SideSet matchingSides(const MapCodes &codes, int column, int row, Network network)
{
    const SideSet current = networkSides(symbolJoins(codeAt(codes, column, row)), network);
    SideSet wanted = 0;
    for (const Side side : kSides) {
        const int neighbourCode = codeAcross(codes, column, row, side);
        if (neighbourCode < 0) {
            wanted |= SideSet(current & sideBit(side));
            continue;
        }
        const SymbolJoins &neighbour = symbolJoins(neighbourCode);
        if (endsWell(neighbour, network))
            wanted |= SideSet(current & sideBit(side));
        else if (has(networkSides(neighbour, network), opposite(side)))
            wanted |= sideBit(side);
    }
    return wanted;
}

} // namespace vellumor::mapcraft
