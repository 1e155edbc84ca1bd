#include "formats/MapDiff.h"

#include "document/CellGrid.h"
#include "formats/ExportPng.h"
#include "symbols/SymbolCatalog.h"

#include <QPainter>

#include <initializer_list>

namespace vellumor::mapexport {

namespace {

// The palette calls the empty cell Blank; the catalog's name is the button's tooltip.
QString shownName(int code)
{
    if (code == kBlankSymbol)
        return QStringLiteral("Blank");
    const QString name = symbolName(code);
    return name.isEmpty() ? QStringLiteral("code %1").arg(code) : name;
}

struct Frames
{
    QList<QPoint> cells;
    QRgb colour;
};

// The picture export draws at scale 1, each group's cells framed in its
// colour, a later group's frame over an earlier one's.
QImage framedImage(const MapCodes &codes, std::initializer_list<Frames> groups)
{
    QImage image = exportImage(codes, 1, false);
    QPainter painter(&image);
    for (const Frames &group : groups) {
        for (const QPoint cell : group.cells)
            outlineCell(painter, cell.x(), cell.y(), QColor(group.colour));
    }
    return image;
}

} // namespace

QStringList diffLines(const MapCodes &before, const MapCodes &after)
{
    QStringList lines;
    for (int index = 0; index < kCellCount; ++index) {
        const int was = before[std::size_t(index)];
        const int is = after[std::size_t(index)];
        if (was == is)
            continue;
        const CellPlace place = cellPlace(index);
        lines << QStringLiteral("column %1, row %2: %3 -> %4")
                     .arg(place.column)
                     .arg(place.row)
                     .arg(shownName(was), shownName(is));
    }
    return lines;
}

QImage diffImage(const MapCodes &before, const MapCodes &after)
{
    QList<QPoint> changed;
    for (int index = 0; index < kCellCount; ++index) {
        if (before[std::size_t(index)] == after[std::size_t(index)])
            continue;
        const CellPlace place = cellPlace(index);
        changed.append(QPoint(place.column, place.row));
    }
    return framedImage(after, {{changed, kMarkRed}});
}

QImage findingsImage(
    const MapCodes &codes, const QList<QPoint> &warnings, const QList<QPoint> &errors)
{
    return framedImage(codes, {{warnings, kWarningAmber}, {errors, kMarkRed}});
}

} // namespace vellumor::mapexport
