#include "table/SymbolStrip.h"

#include "document/Standard.h"
#include "pictures/Artwork.h"
#include "pictures/SymbolPictures.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>

namespace vellumor::table {

QByteArray symbolStripPng()
{
    QImage strip(kSymbolSize * (kHighestSymbolCode + 1), kSymbolSize, QImage::Format_RGB32);
    strip.fill(Qt::white);
    {
        QPainter painter(&strip);
        for (int code = 1; code <= kHighestSymbolCode; ++code) {
            if (const auto picture = SymbolPicture(code); picture && !picture->isNull())
                painter.drawImage(QPoint(code * kSymbolSize, 0), *picture);
        }
    }
    return pngBytes(strip);
}

QByteArray pngBytes(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

QByteArray programIconPng()
{
    QFile file(programIconFile(32));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace vellumor::table
