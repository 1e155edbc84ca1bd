#include "formats/SightPicture.h"

#include "formats/ExportPng.h"

#include <QPainter>

namespace vellumor::mapexport {

namespace {

// Unseen cells stay readable under the shade, as a GM's fog does.
constexpr QRgb kShade = qRgba(20, 24, 40, 170);
constexpr QRgb kOriginRing = qRgb(255, 200, 0);

} // namespace

QImage sightImage(const MapCodes &codes, CellPlace origin, const CellSet &seen)
{
    QImage image = exportImage(codes, 1, false);
    QPainter painter(&image);
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            if (!seen.contains({column, row})) {
                painter.fillRect(column * kPictureSize, row * kPictureSize, kPictureSize,
                    kPictureSize, QColor::fromRgba(kShade));
            }
        }
    }
    outlineCell(painter, origin.column, origin.row, QColor(kOriginRing));
    return image;
}

} // namespace vellumor::mapexport
