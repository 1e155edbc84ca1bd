#include "artgen/ProgramArt.h"

#include "symbols/SymbolNames.h"

#include <QBuffer>
#include <QFont>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace vellumor::art {

namespace {

const QColor kParchment(243, 228, 191);
const QColor kParchmentShade(222, 197, 146);
const QColor kParchmentEdge(120, 88, 52);
const QColor kGridLine(190, 160, 116);
const QColor kFeather(252, 249, 240);
const QColor kFeatherShade(212, 204, 190);
const QColor kQuillInk(52, 42, 46);
const QColor kShaft(150, 126, 100);

QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.write(image);
    return bytes;
}

// The quill lies from its nib at the lower left up to the tip of its feather
// at the upper right, in a 32-unit square.
QPainterPath featherPath()
{
    const QPointF nib(5.5, 26.5);
    const QPointF tip(28.0, 4.0);
    const QPointF along = (tip - nib) / std::hypot(tip.x() - nib.x(), tip.y() - nib.y());
    const QPointF across(-along.y(), along.x()); // towards the lower right
    const auto at
        = [&](double t, double offset) { return nib + (tip - nib) * t + across * offset; };
    QPainterPath path;
    path.moveTo(at(0.30, 0));
    path.cubicTo(at(0.45, -4.6), at(0.85, -4.4), at(1.0, 0));
    path.cubicTo(at(0.86, 3.4), at(0.50, 3.2), at(0.30, 0));
    return path;
}

void drawQuill(QPainter &painter, double unit)
{
    painter.save();
    painter.scale(unit, unit);
    const QPainterPath feather = featherPath();
    painter.setPen(QPen(kQuillInk, unit < 1.2 ? 1.2 / unit : 0.9));
    painter.setBrush(kFeather);
    painter.drawPath(feather);

    // shading on the lower vane and the barbs
    painter.setClipPath(feather);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kFeatherShade);
    QPainterPath lower;
    lower.moveTo(5.5, 26.5);
    lower.lineTo(28.0, 4.0);
    lower.lineTo(32, 32);
    lower.closeSubpath();
    painter.drawPath(lower);
    if (unit >= 1.5) {
        painter.setPen(QPen(kFeatherShade, 0.5));
        for (double t = 0.42; t < 0.95; t += 0.09) {
            const QPointF base(5.5 + 22.5 * t, 26.5 - 22.5 * t);
            painter.drawLine(base, base + QPointF(-1.2, -2.6));
        }
    }
    painter.setClipping(false);

    // the shaft and the nib
    painter.setPen(QPen(kShaft, unit < 1.2 ? 1.0 / unit : 0.7, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(9.0, 23.0), QPointF(26.5, 5.5));
    painter.setPen(QPen(kQuillInk, unit < 1.2 ? 1.4 / unit : 1.3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(5.0, 27.0), QPointF(10.0, 22.0));
    painter.restore();
}

// Parchment with a squared grid, the quill across it. When fullBleed, the
// parchment fills the whole picture (an opaque emblem); otherwise it stands as
// a sheet with a margin, on transparency (an icon).
QImage quillSheet(int size, bool fullBleed)
{
    QImage image(
        size, size, fullBleed ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    image.fill(fullBleed ? kParchment : QColor(Qt::transparent));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double unit = size / 32.0;
    const int margin = fullBleed ? 0 : std::max(1, int(std::lround(1.5 * unit)));
    const QRect sheet(margin, margin, size - 2 * margin, size - 2 * margin);
    const int line = std::max(1, int(std::lround(unit * 0.75)));

    QLinearGradient light(sheet.topLeft(), sheet.bottomRight());
    light.setColorAt(0, kParchment.lighter(104));
    light.setColorAt(1, kParchmentShade);
    painter.fillRect(sheet, light);

    // squared grid, on whole pixels so that it stays crisp at every size
    const int cells = size <= 16 ? 4 : size <= 32 ? 6 : 8;
    const int inset = std::max(1, int(std::lround(sheet.width() / double(cells * 2 + 2))));
    const QRect field = sheet.adjusted(inset, inset, -inset, -inset);
    for (int i = 0; i <= cells; ++i) {
        const int x = field.left() + int(std::lround(i * (field.width() - line) / double(cells)));
        const int y = field.top() + int(std::lround(i * (field.height() - line) / double(cells)));
        painter.fillRect(QRect(x, field.top(), line, field.height()), kGridLine);
        painter.fillRect(QRect(field.left(), y, field.width(), line), kGridLine);
    }

    // the sheet's edge: darker, thicker towards the lower right, as if curling
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int edge = std::max(1, int(std::lround(unit * 0.6)));
    painter.fillRect(QRect(sheet.left(), sheet.top(), sheet.width(), edge), kParchmentEdge);
    painter.fillRect(QRect(sheet.left(), sheet.top(), edge, sheet.height()), kParchmentEdge);
    painter.fillRect(QRect(sheet.left(), sheet.bottom() - 2 * edge + 1, sheet.width(), 2 * edge),
        kParchmentEdge);
    painter.fillRect(
        QRect(sheet.right() - 2 * edge + 1, sheet.top(), 2 * edge, sheet.height()), kParchmentEdge);
    painter.setRenderHint(QPainter::Antialiasing, true);

    drawQuill(painter, unit);
    painter.end();
    return fullBleed ? image.convertToFormat(QImage::Format_RGB888) : image;
}

QImage companyLogoImage()
{
    QImage image(280, 120, QImage::Format_RGB888);
    image.fill(QColor(250, 245, 232));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    // a framed map tile with the quill, the project's mark
    const QImage mark = quillSheet(96, true);
    painter.fillRect(QRect(10, 10, 100, 100), kParchmentEdge);
    painter.drawImage(QRect(12, 12, 96, 96), mark);

    painter.setPen(QColor(52, 42, 46));
    QFont name(QStringLiteral("DejaVu Serif"));
    name.setPixelSize(31);
    name.setBold(true);
    painter.setFont(name);
    painter.drawText(
        QRect(118, 14, 160, 52), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Vellumor"));
    painter.fillRect(QRect(120, 68, 150, 3), kParchmentEdge);
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(20);
    small.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    painter.setFont(small);
    painter.setPen(QColor(120, 88, 52));
    painter.drawText(
        QRect(120, 74, 160, 32), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("PROJECT"));
    painter.end();
    return image;
}

// A corner of a map, 3 x 3 cells: a mountain and woods, a river, a house on
// the meadow by its well.
QImage miniMap(const std::array<QImage, 65> &symbols)
{
    constexpr int cell = 15;
    using namespace sym;
    const int rows[3][3] = {{Mountain, TreesEvergreen, TreesDeciduous},
        {RiverHorizontal, RiverHorizontal, RiverHorizontal}, {House, Grass, Well}};
    QImage map(3 * cell, 3 * cell, QImage::Format_RGB32);
    QPainter painter(&map);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column)
            painter.drawImage(column * cell, row * cell, symbols[std::size_t(rows[row][column])]);
    }
    painter.end();
    return map;
}

QImage mapFileIcon(int size, const QImage &map)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const double unit = size / 32.0;
    const int line = std::max(1, int(std::lround(unit * 0.6)));
    const int left = int(std::lround(4 * unit));
    const int right = size - left;
    const int top = std::max(0, int(std::lround(unit)) - 1);
    const int bottom = size - std::max(0, int(std::lround(unit)) - 1);
    const int fold = int(std::lround(7 * unit));

    // the page, its upper right corner turned down; the outline runs on the
    // middle of its pixels so that it stays inside the picture
    const double half = line / 2.0;
    const QPointF foldTop(right - fold, top + half);
    const QPointF foldSide(right - half, top + fold);
    const QPointF foldInner(right - fold, top + fold);
    QPainterPath page;
    page.moveTo(left + half, top + half);
    page.lineTo(foldTop);
    page.lineTo(foldSide);
    page.lineTo(right - half, bottom - half);
    page.lineTo(left + half, bottom - half);
    page.closeSubpath();
    QLinearGradient light(left, top, right, bottom);
    light.setColorAt(0, kParchment.lighter(104));
    light.setColorAt(1, kParchmentShade);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(kParchmentEdge, line, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(light);
    painter.drawPath(page);
    painter.setBrush(kParchmentShade.darker(108));
    painter.drawPolygon(QPolygonF({foldTop, foldInner, foldSide}));

    // the map below the fold, whole-number enlargements kept sharp
    const int inset = std::max(2, int(std::lround(2.5 * unit)));
    const QRect field(left + inset, top + fold + inset / 2, right - left - 2 * inset,
        bottom - top - fold - inset * 3 / 2);
    const double fit
        = std::min(field.width() / double(map.width()), field.height() / double(map.height()));
    QSize drawn;
    if (fit >= 2) {
        drawn = map.size() * int(fit);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    } else {
        drawn = map.size().scaled(field.size(), Qt::KeepAspectRatio);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    }
    const QRect target(QPoint(field.center().x() - drawn.width() / 2 + 1,
                           field.center().y() - drawn.height() / 2 + 1),
        drawn);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawImage(target, map);
    painter.fillRect(
        QRect(target.left() - line, target.top() - line, target.width() + 2 * line, line),
        kQuillInk);
    painter.fillRect(
        QRect(target.left() - line, target.bottom() + 1, target.width() + 2 * line, line),
        kQuillInk);
    painter.fillRect(QRect(target.left() - line, target.top(), line, target.height()), kQuillInk);
    painter.fillRect(QRect(target.right() + 1, target.top(), line, target.height()), kQuillInk);
    painter.end();
    return image;
}

} // namespace

QList<ProgramFile> mapFileIcons(const std::array<QImage, 65> &symbols)
{
    const QImage map = miniMap(symbols);
    QList<ProgramFile> files;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        files.append({QStringLiteral("icons/application-x-vellumor-map-%1.png").arg(size),
            png(mapFileIcon(size, map))});
    }
    return files;
}

QList<ProgramFile> programPictures()
{
    QList<ProgramFile> files;
    for (int size : {16, 32, 48, 64, 128, 256})
        files.append(
            {QStringLiteral("icons/vellumor-%1.png").arg(size), png(quillSheet(size, false))});
    files.append({QStringLiteral("about/emblem.png"), png(quillSheet(75, true))});
    files.append({QStringLiteral("about/company-logo.png"), png(companyLogoImage())});
    return files;
}

} // namespace vellumor::art
