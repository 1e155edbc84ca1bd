#include "artgen/ToolbarArt.h"

#include <QPainter>
#include <QPolygon>

namespace vellumor::art {

namespace {

// Sixteen-colour pictures keep to the colours of their legend.
QImage toLegendColours(const QImage &image, const QMap<QChar, QRgb> &legend)
{
    QList<QRgb> table;
    for (QRgb colour : legend)
        table.append(colour | 0xFF000000);
    return image.convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither)
        .convertToFormat(QImage::Format_RGB888);
}

using Draw = void (*)(QPainter &);

void drawNewSheet(QPainter &p)
{
    const QPolygon sheet(
        {QPoint(4, 2), QPoint(19, 2), QPoint(28, 11), QPoint(28, 30), QPoint(4, 30)});
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPolygon(sheet);
    p.setBrush(Qt::white);
    p.drawPolygon(
        QPolygon({QPoint(6, 4), QPoint(18, 4), QPoint(26, 12), QPoint(26, 28), QPoint(6, 28)}));
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygon({QPoint(18, 2), QPoint(20, 2), QPoint(20, 10), QPoint(28, 10),
        QPoint(28, 12), QPoint(18, 12)}));
    p.setBrush(QColor(128, 128, 128));
    p.drawPolygon(QPolygon({QPoint(21, 4), QPoint(21, 9), QPoint(26, 9)}));
}

void drawOpenFolder(QPainter &p)
{
    p.setPen(Qt::NoPen);
    // the back of the folder with its tab
    p.setBrush(Qt::black);
    p.drawRect(0, 8, 24, 22);
    p.drawRect(0, 6, 10, 4);
    p.setBrush(QColor(128, 128, 0));
    p.drawRect(2, 10, 20, 18);
    p.drawRect(2, 8, 6, 2);
    // the open front, tilted towards the viewer
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygon({QPoint(6, 15), QPoint(32, 15), QPoint(25, 30), QPoint(0, 30)}));
    p.setBrush(QColor(255, 255, 0));
    p.drawPolygon(QPolygon({QPoint(8, 17), QPoint(29, 17), QPoint(24, 28), QPoint(3, 28)}));
    // the curved arrow, rising from the folder and turning down to the right
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(QRect(16, 2, 12, 12), 180 * 16, -150 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygon({QPoint(23, 6), QPoint(31, 6), QPoint(28, 11)}));
}

void drawFloppy(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.fillRect(QRect(2, 2, 28, 28), Qt::black);
    p.fillRect(QRect(4, 4, 24, 24), QColor(0, 0, 128));
    // the label
    p.fillRect(QRect(7, 3, 18, 12), Qt::black);
    p.fillRect(QRect(8, 3, 16, 11), Qt::white);
    p.fillRect(QRect(10, 6, 10, 1), QColor(128, 128, 128));
    p.fillRect(QRect(10, 9, 12, 1), QColor(128, 128, 128));
    // the metal shutter with its window
    p.fillRect(QRect(8, 19, 16, 11), Qt::black);
    p.fillRect(QRect(9, 20, 14, 9), QColor(192, 192, 192));
    p.fillRect(QRect(12, 21, 4, 7), QColor(0, 0, 128));
    // the bevelled corner
    p.setBrush(QColor(192, 192, 192));
    p.drawPolygon(QPolygon({QPoint(30, 2), QPoint(30, 5), QPoint(27, 2)}));
}

QImage drawDouble(Draw draw, const QMap<QChar, QRgb> &legend)
{
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(QColor(192, 192, 192));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    draw(painter);
    painter.end();
    return toLegendColours(image, legend);
}

} // namespace

QString toolbarSourceFile()
{
    return QStringLiteral("toolbar.txt");
}

ToolbarArt toolbarPictures(const Artwork &toolbarArt)
{
    if (toolbarArt.legend.size() > 16)
        return {std::nullopt, QStringLiteral("the toolbar legend has more than 16 colours")};
    const struct
    {
        const char *name;
        Draw drawDouble;
    } toolbar[] = {{"new", drawNewSheet}, {"open", drawOpenFolder}, {"save", drawFloppy}};
    QList<ToolbarFile> files;
    for (const auto &picture : toolbar) {
        const QString name = QLatin1String(picture.name);
        const Picture *source = toolbarArt.find(name);
        if (!source || source->image.size() != QSize(16, 16))
            return {std::nullopt,
                QStringLiteral("toolbar picture '%1' is missing or not 16 x 16").arg(name)};
        files.append({QStringLiteral("toolbar/%1.bmp").arg(name),
            toLegendColours(source->image, toolbarArt.legend)});
        files.append({QStringLiteral("toolbar/%1@2x.bmp").arg(name),
            drawDouble(picture.drawDouble, toolbarArt.legend)});
    }
    return {files, {}};
}

} // namespace vellumor::art
