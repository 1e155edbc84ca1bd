#include "mapcraft/MapFix.h"

#include "mapcraft/JoinRules.h"
#include "mapcraft/MapCells.h"
#include "mapcraft/PictureRules.h"

#include <QHash>

#include <algorithm>

namespace vellumor::mapcraft {

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

// The river or wall piece that leaves by the sides its neighbours ask for, or
// 0 when there is none or the cell holds no such piece.
SymbolCode matchingPiece(const MapCodes &codes, int column, int row)
{
    const SymbolJoins &joins = symbolJoins(codeAt(codes, column, row));
    if (joins.junction)
        return 0;
    if (joins.river != 0)
        return riverPiece(matchingSides(codes, column, row, Network::River));
    if (joins.gate != GateMaterial::None)
        return gatePiece(joins.gate, matchingSides(codes, column, row, Network::Wall));
    if (joins.wall != 0)
        return wallPiece(matchingSides(codes, column, row, Network::Wall));
    return 0;
}

// Replaces pieces one at a time, each only when it leaves fewer errors
// around it; the total falls with every change, so this ends, and it ends
// where no replacement helps, which is where a second run starts and stops.
void mendJoins(MapCodes &codes)
{
    for (bool changed = true; changed;) {
        changed = false;
        for (int row = 0; row < kMapRows; ++row) {
            for (int column = 0; column < kMapColumns; ++column) {
                const SymbolCode piece = matchingPiece(codes, column, row);
                auto &cell = codes[std::size_t(cellIndex(column, row))];
                if (piece == 0 || piece == cell)
                    continue;
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
}

} // namespace

FixResult fixMap(const MapCodes &codes)
{
    MapCodes mended = codes;
    completePictures(mended);
    mendJoins(mended);
    QList<Finding> left = lintMap(mended);
    // Completing pictures only fills blank cells with whole pictures, and every
    // replacement lowers the count; this guards the promise all the same.
    if (errorCount(left) > errorCount(codes))
        return {codes, lintMap(codes)};
    return {mended, left};
}

QString unmendedReason(const Finding &finding)
{
    if (finding.severity == Severity::Warning)
        return QStringLiteral("left as drawn");
    if (finding.rule == QLatin1String("lake-incomplete")
        || finding.rule == QLatin1String("longhouse-alone"))
        return QStringLiteral("more than one piece would do");
    if (finding.rule.endsWith(QLatin1String("-incomplete")))
        return QStringLiteral("the cells it needs are not blank");
    return QStringLiteral("no piece fits");
}

} // namespace vellumor::mapcraft
