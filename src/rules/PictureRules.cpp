#include "rules/PictureRules.h"

#include "rules/MapCells.h"
#include "symbols/SymbolJoins.h"
#include "symbols/SymbolShapes.h"

#include <QStringList>

#include <bit>

namespace vellumor::rules {

namespace {

// A lake may run on beyond the map's edge; a building is cut there.
bool mayRunOffTheMap(const PiecePartner &need)
{
    return need.shape->kind == ShapeKind::Frame;
}

bool accepts(const PiecePartner &need, int code)
{
    for (const SymbolCode each : need.accepts) {
        if (each != 0 && each == code)
            return true;
    }
    return false;
}

QString acceptedNames(const PiecePartner &need)
{
    QStringList names;
    for (const SymbolCode each : need.accepts) {
        if (each != 0)
            names << quotedName(each);
    }
    return names.join(QStringLiteral(" or "));
}

} // namespace

void appendPictureFindings(const MapCodes &codes, int column, int row, FindingSink &sink)
{
    const int code = codeAt(codes, column, row);
    for (const PiecePartner &need : piecePartners(code)) {
        bool anySide = false;
        Side lastSide = Side::North;
        for (const Side side : kSides) {
            if (!has(need.sides, side))
                continue;
            const int neighbour = codeAcross(codes, column, row, side);
            if (accepts(need, neighbour) || (neighbour < 0 && mayRunOffTheMap(need)))
                anySide = true;
            lastSide = side;
        }
        if (anySide)
            continue;
        sink.add(column, row, Severity::Error, need.rule, [&] {
            if (std::popcount(unsigned(need.sides)) == 1) {
                return QStringLiteral("%1 has no %2 to its %3")
                    .arg(quotedName(code), acceptedNames(need), QLatin1String(sideName(lastSide)));
            }
            QStringList sideNames;
            for (const Side side : kSides) {
                if (has(need.sides, side))
                    sideNames << QLatin1String(sideName(side));
            }
            return QStringLiteral("%1 stands alone: no piece of its picture to its %2")
                .arg(quotedName(code), sideNames.join(QStringLiteral(" or ")));
        });
    }
}

QList<std::pair<int, SymbolCode>> pictureCompletion(const MapCodes &codes, int column, int row)
{
    const ShapePlace place = shapePlace(codeAt(codes, column, row));
    if (!place.shape || place.shape->kind != ShapeKind::Fixed)
        return {};
    const int left = column - place.column;
    const int top = row - place.row;
    QList<std::pair<int, SymbolCode>> fills;
    for (int dy = 0; dy < place.shape->rows; ++dy) {
        for (int dx = 0; dx < place.shape->columns; ++dx) {
            const SymbolCode piece = place.shape->at(dx, dy);
            const int there = codeAt(codes, left + dx, top + dy);
            if (piece == sym::Blank || there == piece)
                continue;
            if (there != kBlankSymbol)
                return {};
            fills.append({cellIndex(left + dx, top + dy), piece});
        }
    }
    return fills;
}

} // namespace vellumor::rules
