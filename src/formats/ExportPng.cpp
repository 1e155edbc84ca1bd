#include "formats/ExportPng.h"

#include "document/CellGrid.h"
#include "mapview/MapRenderer.h"
#include "pictures/SymbolPictures.h"

#include <QBuffer>
#include <QPainter>

namespace vellumor::mapexport {

QImage exportImage(const MapCodes &codes, int scale, bool gridLines)
{
    QImage image(kMapColumns * kPictureSize, kMapRows * kPictureSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        for (int index = 0; index < kCellCount; ++index) {
            const auto picture = SymbolPicture(codes[std::size_t(index)]);
            if (!picture || picture->isNull())
                continue;
            const CellPlace place = cellPlace(index);
            painter.drawImage(
                QPoint(place.column * kPictureSize, place.row * kPictureSize), *picture);
        }
    }
    if (scale > 1)
        image = image.scaled(image.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (gridLines) {
        QPainter painter(&image);
        painter.setPen(Qt::NoPen);
        painter.setBrush(MapRenderer::borderColour());
        const int cell = kPictureSize * scale;
        for (int column = 0; column < kMapColumns; ++column)
            painter.drawRect(column * cell, 0, 1, image.height());
        for (int row = 0; row < kMapRows; ++row)
            painter.drawRect(0, row * cell, image.width(), 1);
        painter.drawRect(image.width() - 1, 0, 1, image.height());
        painter.drawRect(0, image.height() - 1, image.width(), 1);
    }
    return image;
}

void outlineCell(QPainter &painter, int column, int row, const QColor &colour)
{
    const QRect cell(column * kPictureSize, row * kPictureSize, kPictureSize, kPictureSize);
    const QRegion frame = QRegion(cell) - QRegion(cell.adjusted(2, 2, -2, -2));
    for (const QRect &part : frame)
        painter.fillRect(part, colour);
}

QByteArray encodePng(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

} // namespace vellumor::mapexport
