#include "formats/MapDiff.h"

#include "document/CellGrid.h"
#include "formats/ExportPng.h"
#include "symbols/SymbolCatalog.h"

#include <QPainter>

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
    QImage image = exportImage(after, 1, false);
    QPainter painter(&image);
    for (int index = 0; index < kCellCount; ++index) {
        if (before[std::size_t(index)] == after[std::size_t(index)])
            continue;
        const CellPlace place = cellPlace(index);
        outlineCell(painter, place.column, place.row, QColor(kMarkRed));
    }
    return image;
}

} // namespace vellumor::mapexport
