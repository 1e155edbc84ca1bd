#include "rules/MapFix.h"

#include "rules/JoinRules.h"
#include "rules/MapCells.h"
#include "rules/PictureRules.h"

#include "symbols/SymbolShapes.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <bit>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

namespace vellumor::rules {

namespace {

// Fills every picture that has a single way to be completed. Two pictures
// that would fill the same cell differently are both left alone.
void completePictures(MapCodes &codes)
{
    QList<QList<std::pair<int, SymbolCode>>> plans;
    QHash<int, SymbolCode> wanted; // -1 where plans disagree
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            const auto fills = pictureCompletion(codes, column, row);
            if (fills.isEmpty())
                continue;
            plans.append(fills);
            for (const auto &[index, code] : fills) {
                const auto found = wanted.constFind(index);
                wanted[index] = found == wanted.constEnd() || *found == code ? code : -1;
            }
        }
    }
    for (const auto &fills : std::as_const(plans)) {
        const bool agreed = std::all_of(fills.cbegin(), fills.cend(),
            [&](const auto &fill) { return wanted.value(fill.first) == fill.second; });
        if (!agreed)
            continue;
        for (const auto &[index, code] : fills)
            codes[std::size_t(index)] = code;
    }
}

// A change at one cell alters the findings of cells up to two steps away: a
// gate's neighbours look at whether it stands across, and so at its
// neighbours.
constexpr int kReach = 2;

int errorsNear(const MapCodes &codes, int column, int row)
{
    int errors = 0;
    for (int y = row - kReach; y <= row + kReach; ++y) {
        for (int x = column - kReach; x <= column + kReach; ++x) {
            if (onMap(x, y))
                errors += cellErrorCount(codes, x, y);
        }
    }
    return errors;
}

// The pieces that could stand in a cell holding `joins` and leave by sides its
// neighbours allow: river pieces for a river piece, wall pieces for a wall
// piece, gates of its material for a gate; never a junction. At most two are
// listed, which is enough to tell one answer from several.
struct Candidates
{
    std::array<SymbolCode, 2> codes {};
    int count = 0;
};

Candidates candidates(const SymbolJoins &joins, const SideDemand &demand, Network network)
{
    Candidates found;
    for (int code = 1; code <= kHighestSymbolCode && found.count < 2; ++code) {
        const SymbolJoins &other = symbolJoins(code);
        const SideSet sides = networkSides(other, network);
        if (sides != 0 && !other.junction && other.gate == joins.gate && demand.allows(sides))
            found.codes[std::size_t(found.count++)] = SymbolCode(code);
    }
    return found;
}

std::optional<Network> networkOf(const SymbolJoins &joins)
{
    if (joins.junction || (joins.river == 0 && joins.wall == 0))
        return std::nullopt;
    return joins.river != 0 ? Network::River : Network::Wall;
}

// A blank cell that one river or one wall leads into from exactly two sides,
// and nothing else does: the hole is filled with the piece that joins them.
SymbolCode holeFilling(const MapCodes &codes, int column, int row)
{
    const SideSet river = sideDemand(codes, column, row, Network::River).demanded;
    const SideSet wall = sideDemand(codes, column, row, Network::Wall).demanded;
    if ((river != 0) == (wall != 0))
        return 0;
    const SideSet ends = river != 0 ? river : wall;
    if (std::popcount(unsigned(ends)) != 2)
        return 0;
    return river != 0 ? riverPiece(ends) : wallPiece(ends);
}

// The one piece the cell's neighbours ask for, or 0 when there is none,
// several would do, or the cell holds something fix does not replace.
SymbolCode matchingPiece(const MapCodes &codes, int column, int row)
{
    const int code = codeAt(codes, column, row);
    if (code == kBlankSymbol)
        return holeFilling(codes, column, row);
    const SymbolJoins &joins = symbolJoins(code);
    const auto network = networkOf(joins);
    if (!network)
        return 0;
    const Candidates found = candidates(joins, sideDemand(codes, column, row, *network), *network);
    return found.count == 1 ? found.codes[0] : SymbolCode(0);
}

// Replaces pieces one at a time, each only when it leaves fewer errors
// around it; the total falls with every change, so this ends, and it ends
// where no replacement helps, which is where a second run starts and stops.
// The pieces most at odds with their neighbours go first: one wrong piece
// makes its good neighbours look wrong too, and once it is mended they are
// asked for what they already are. Among those alike, a replacement that
// leans on a free side (running off the map, into a junction or a spring)
// waits for those that join the neighbours alone.
void mendJoins(MapCodes &codes)
{
    for (bool changed = true; changed;) {
        changed = false;
        // (most disagreements first, fewest free sides used, cell order)
        std::vector<std::tuple<int, int, int>> order;
        for (int row = 0; row < kMapRows; ++row) {
            for (int column = 0; column < kMapColumns; ++column) {
                const SymbolCode piece = matchingPiece(codes, column, row);
                if (piece == 0 || int(piece) == codeAt(codes, column, row))
                    continue;
                const Network network = *networkOf(symbolJoins(piece));
                const SideSet free = sideDemand(codes, column, row, network).free;
                order.emplace_back(-disagreements(codes, column, row, network),
                    std::popcount(unsigned(networkSides(symbolJoins(piece), network) & free)),
                    readingIndex({column, row}));
            }
        }
        std::sort(order.begin(), order.end());
        for (const auto &[odds, leaning, place] : order) {
            const auto [column, row] = fromReadingIndex(place);
            const SymbolCode piece = matchingPiece(codes, column, row);
            auto &cell = codes[std::size_t(cellIndex(column, row))];
            if (piece == 0 || piece == cell)
                continue; // an earlier change settled this cell
            const SymbolCode was = cell;
            const int before = errorsNear(codes, column, row);
            cell = piece;
            if (errorsNear(codes, column, row) < before)
                changed = true;
            else
                cell = was;
        }
    }
}

// Why a picture fix left incomplete could not be completed.
QString pictureObstacle(const MapCodes &codes, int column, int row)
{
    const ShapePlace place = shapePlace(codeAt(codes, column, row));
    bool taken = false;
    for (int dy = 0; place.shape && dy < place.shape->rows; ++dy) {
        for (int dx = 0; dx < place.shape->columns; ++dx) {
            const int there = codeAt(codes, column - place.column + dx, row - place.row + dy);
            if (there < 0)
                return QStringLiteral("the map's edge cuts it");
            taken = taken || (there != kBlankSymbol && there != place.shape->at(dx, dy));
        }
    }
    return taken ? QStringLiteral("the cells it needs are not blank")
                 : QStringLiteral("another picture needs the same cells");
}

// Why a river or wall piece was left, from the least telling to the most.
enum class JoinReason {
    Unknown,
    NothingJoins,
    RunEnds,
    GateAtCorner,
    WouldBreakNearby,
    SeveralFit,
    RunsMeet
};

JoinReason joinReason(const MapCodes &codes, int column, int row, Network network)
{
    const int code = codeAt(codes, column, row);
    if (!networkOf(symbolJoins(code)))
        return JoinReason::Unknown;
    const SideDemand demand = sideDemand(codes, column, row, network);
    const Candidates found = candidates(symbolJoins(code), demand, network);
    if (found.count >= 2)
        return JoinReason::SeveralFit;
    if (found.count == 1)
        return found.codes[0] != code ? JoinReason::WouldBreakNearby : JoinReason::Unknown;
    // Every pair of sides has its river and wall piece; only a gate lacks one.
    switch (std::popcount(unsigned(demand.demanded))) {
    case 0:
        return JoinReason::NothingJoins;
    case 1:
        return JoinReason::RunEnds;
    case 2:
        return JoinReason::GateAtCorner;
    default:
        return JoinReason::RunsMeet;
    }
}

QString joinReasonText(JoinReason reason, Network network)
{
    const QString noun
        = network == Network::River ? QStringLiteral("river") : QStringLiteral("wall");
    switch (reason) {
    case JoinReason::RunsMeet:
        return QStringLiteral("more than two runs meet: only a junction joins them, and fix adds "
                              "none");
    case JoinReason::SeveralFit:
        return QStringLiteral("more than one piece would do");
    case JoinReason::WouldBreakNearby:
        return QStringLiteral("the piece that fits would leave more errors around it");
    case JoinReason::GateAtCorner:
        return QStringLiteral("a gate stands only in a straight wall");
    case JoinReason::RunEnds:
        return QStringLiteral("only one side joins a %1, and no piece ends one here").arg(noun);
    case JoinReason::NothingJoins:
        return QStringLiteral("nothing around it joins the %1").arg(noun);
    case JoinReason::Unknown:
        break;
    }
    return QStringLiteral("no piece fits");
}

} // namespace

FixResult fixMap(const MapCodes &codes)
{
    MapCodes mended = codes;
    // A filled hole can settle which of two pictures gets a blank cell, so
    // both steps run again until neither changes anything. Every round that
    // goes on has filled a blank cell, so this ends.
    for (MapCodes before {}; before != mended;) {
        before = mended;
        completePictures(mended);
        mendJoins(mended);
    }
    QList<Finding> left = lintMap(mended);
    // Completing pictures only fills blank cells with whole pictures, and every
    // replacement lowers the count; this guards the promise all the same.
    if (errorCount(left) > errorCount(codes))
        return {codes, lintMap(codes)};
    return {mended, left};
}

QString unmendedReason(const MapCodes &mended, const Finding &finding)
{
    if (finding.severity == Severity::Warning)
        return QStringLiteral("left as drawn");
    if (finding.rule == QLatin1String("gate-without-wall"))
        return QStringLiteral("a gate needs a wall to stand in");
    for (const PictureShape *each : kPictureShapes) {
        const PictureShape &shape = *each;
        if (finding.rule != QLatin1String(shape.rule))
            continue;
        if (shape.kind != ShapeKind::Fixed)
            return QStringLiteral("more than one piece would do");
        return pictureObstacle(mended, finding.column, finding.row);
    }
    const Network network
        = finding.rule.startsWith(QLatin1String("river")) ? Network::River : Network::Wall;
    JoinReason reason = JoinReason::Unknown;
    reason = std::max(reason, joinReason(mended, finding.column, finding.row, network));
    if (finding.hasTwoCells())
        reason
            = std::max(reason, joinReason(mended, finding.otherColumn, finding.otherRow, network));
    return joinReasonText(reason, network);
}

} // namespace vellumor::rules
