#include "mapview/MapRenderer.h"

#include "mapview/MapGeometry.h"
#include "pictures/SymbolPictures.h"

#include <QPainter>
#include <QTransform>

#include <cmath>

namespace vellumor {

using namespace mapgeometry;

namespace {

// The grid in device pixels. Grid line k starts at lineX(k) across or lineY(k)
// down and is `line` pixels thick; a cell reaches from its own line to the far
// side of the next one, so that neighbours share that line exactly as they
// share one logical pixel.
class DeviceGrid
{
public:
    explicit DeviceGrid(qreal devicePixelRatio)
        : m_ratio(devicePixelRatio)
        , m_line(std::max(1, int(std::floor(devicePixelRatio + 1e-6))))
    { }

    int line() const { return m_line; }
    int lineX(int k) const { return qRound((kGridLeft + kCellPitch * k) * m_ratio); }
    int lineY(int k) const { return qRound((kGridTop + kCellPitch * k) * m_ratio); }

    QRect cell(int column, int row) const
    {
        return QRect(QPoint(lineX(column), lineY(row)),
            QPoint(lineX(column + 1) + m_line - 1, lineY(row + 1) + m_line - 1));
    }

    // Every device pixel that the logical rectangle touches.
    QRect toDevice(const QRect &logical) const
    {
        const int left = int(std::floor(logical.left() * m_ratio));
        const int top = int(std::floor(logical.top() * m_ratio));
        const int right = int(std::ceil((logical.right() + 1) * m_ratio));
        const int bottom = int(std::ceil((logical.bottom() + 1) * m_ratio));
        return QRect(left, top, right - left, bottom - top);
    }

private:
    qreal m_ratio;
    int m_line;
};

// The borders of all cells at once: each shared edge is one line across the
// whole grid, so that 36 + 26 lines draw what 875 separate frames would.
void drawGridLines(QPainter &painter, const DeviceGrid &grid)
{
    const QColor &colour = MapRenderer::borderColour();
    const int left = grid.lineX(0);
    const int top = grid.lineY(0);
    const int width = grid.lineX(kMapColumns) + grid.line() - left;
    const int height = grid.lineY(kMapRows) + grid.line() - top;
    for (int column = 0; column <= kMapColumns; ++column)
        painter.fillRect(QRect(grid.lineX(column), top, grid.line(), height), colour);
    for (int row = 0; row <= kMapRows; ++row)
        painter.fillRect(QRect(left, grid.lineY(row), width, grid.line()), colour);
}

} // namespace

const QColor &MapRenderer::borderColour()
{
    static const QColor colour(64, 64, 64);
    return colour;
}

void MapRenderer::render(QPainter &painter, const MapCodes &codes, bool gridLines,
    const QRect &dirtyLogicalRect, qreal devicePixelRatio)
{
    if (dirtyLogicalRect.isEmpty() || devicePixelRatio <= 0)
        return;

    const DeviceGrid grid(devicePixelRatio);
    const QRect dirty = grid.toDevice(dirtyLogicalRect);

    painter.save();
    // From here on one unit is one device pixel, so that every edge and every
    // cached picture lands on whole pixels.
    painter.setWorldTransform(
        QTransform::fromScale(1 / devicePixelRatio, 1 / devicePixelRatio), true);
    painter.setClipRect(dirty, Qt::IntersectClip);
    painter.fillRect(dirty, Qt::white);

    // Left to right and top to bottom, so that without borders the cell to the
    // right of or below a shared line is drawn on top, as the mouse finds it.
    // With borders, each picture lies inside its cell's lines and no two overlap.
    const int inset = gridLines ? grid.line() : 0;
    for (int column = 0; column < kMapColumns; ++column) {
        for (int row = 0; row < kMapRows; ++row) {
            const SymbolCode code = codes[std::size_t(cellIndex(column, row))];
            if (code == kBlankSymbol)
                continue;
            const QRect cell = grid.cell(column, row);
            if (!cell.intersects(dirty))
                continue;
            const QRect pictureArea = cell.adjusted(inset, inset, -inset, -inset);
            const QImage &picture = scaledPicture(code, pictureArea.size());
            if (!picture.isNull())
                painter.drawImage(pictureArea.topLeft(), picture);
        }
    }
    if (gridLines)
        drawGridLines(painter, grid);
    painter.restore();
}

QImage MapRenderer::renderImage(const MapCodes &codes, bool gridLines, qreal devicePixelRatio)
{
    const QSize size(int(std::ceil(kViewSize.width() * devicePixelRatio)),
        int(std::ceil(kViewSize.height() * devicePixelRatio)));
    QImage image(size, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&image);
    render(painter, codes, gridLines, QRect(QPoint(0, 0), kViewSize), devicePixelRatio);
    painter.end();
    return image;
}

const QImage &MapRenderer::scaledPicture(int code, QSize size)
{
    static const QImage none;
    if (code == kBlankSymbol || !isSymbolCode(code) || size.isEmpty())
        return none;

    const CacheKey key {code, size.width(), size.height()};
    if (const auto found = m_pictures.constFind(key); found != m_pictures.constEnd())
        return *found;

    QImage scaled;
    if (const auto picture = SymbolPicture(code); picture && !picture->isNull()) {
        const auto format = picture->hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                       : QImage::Format_RGB32;
        scaled = picture->scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                     .convertToFormat(format);
    }
    return *m_pictures.insert(key, scaled);
}

} // namespace vellumor
