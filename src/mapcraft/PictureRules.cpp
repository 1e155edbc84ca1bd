#include "mapcraft/PictureRules.h"

#include "mapcraft/MapCells.h"
#include "symbols/SymbolJoins.h"

#include <QStringList>

#include <array>
#include <bit>

namespace vellumor::mapcraft {

namespace {

// The pictures that can be completed, as they stand on the map: rows from the
// top, 0 where the picture has no piece.
struct Picture
{
    int columns;
    int rows;
    std::array<std::array<SymbolCode, 3>, 2> pieces;
};

constexpr std::array<Picture, 4> kPictures {{
    {2, 2, {{{5, 6, 0}, {9, 10, 0}}}}, // the inn
    {2, 1, {{{13, 14, 0}, {0, 0, 0}}}}, // the church
    {3, 2, {{{17, 18, 19}, {21, 22, 23}}}}, // the castle
    {1, 2, {{{20, 0, 0}, {24, 0, 0}}}}, // the tower
}};

struct Placement
{
    const Picture *picture = nullptr;
    int column = 0; // of the piece within the picture
    int row = 0;
};

Placement placementOf(int code)
{
    for (const Picture &picture : kPictures) {
        for (int row = 0; row < picture.rows; ++row) {
            for (int column = 0; column < picture.columns; ++column) {
                if (picture.pieces[std::size_t(row)][std::size_t(column)] == code)
                    return {&picture, column, row};
            }
        }
    }
    return {};
}

// A lake may run on beyond the map's edge; a building is cut there.
bool mayRunOffTheMap(const PiecePartner &need)
{
    return QLatin1String(need.rule) == QLatin1String("lake-incomplete");
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
    const Placement placement = placementOf(codeAt(codes, column, row));
    if (!placement.picture)
        return {};
    const int left = column - placement.column;
    const int top = row - placement.row;
    QList<std::pair<int, SymbolCode>> fills;
    for (int dy = 0; dy < placement.picture->rows; ++dy) {
        for (int dx = 0; dx < placement.picture->columns; ++dx) {
            const SymbolCode piece = placement.picture->pieces[std::size_t(dy)][std::size_t(dx)];
            const int there = codeAt(codes, left + dx, top + dy);
            if (there == piece)
                continue;
            if (there != kBlankSymbol)
                return {};
            fills.append({cellIndex(left + dx, top + dy), piece});
        }
    }
    return fills;
}

} // namespace vellumor::mapcraft
