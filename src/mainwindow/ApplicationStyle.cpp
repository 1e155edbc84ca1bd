#include "mainwindow/ApplicationStyle.h"

#include <QApplication>
#include <QGroupBox>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>
#include <QWidget>

#include <optional>

namespace vellumor {
namespace {

bool isTitleBarOrOverflowPicture(QStyle::StandardPixmap picture)
{
    switch (picture) {
    case QStyle::SP_TitleBarMinButton:
    case QStyle::SP_TitleBarMaxButton:
    case QStyle::SP_TitleBarCloseButton:
    case QStyle::SP_TitleBarNormalButton:
    case QStyle::SP_TitleBarShadeButton:
    case QStyle::SP_TitleBarUnshadeButton:
    case QStyle::SP_TitleBarContextHelpButton:
    case QStyle::SP_ToolBarHorizontalExtensionButton:
    case QStyle::SP_ToolBarVerticalExtensionButton:
        return true;
    default:
        return false;
    }
}

// An icon that is made the first time its pixels or sizes are needed. Asking
// whether it is null does not make it: every picture it stands for exists.
class DeferredIconEngine : public QIconEngine
{
public:
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, 1.0, mode, state);
    }

    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        // The size is in device pixels; QIcon takes logical ones and the ratio.
        return icon().pixmap(size / scale, scale, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }

    QString iconName() override { return icon().name(); }
    bool isNull() override { return false; }

protected:
    virtual QIcon icon() = 0;
};

// One standard picture of a style, asked of the style when first needed.
class StandardPictureEngine : public DeferredIconEngine
{
public:
    StandardPictureEngine(const QStyle *style, QStyle::StandardPixmap picture,
                          const QStyleOption *option, const QWidget *widget)
        : m_style(const_cast<QStyle *>(style))
        , m_picture(picture)
        , m_widget(const_cast<QWidget *>(widget))
    {
        if (option)
            m_option = *option;
    }

    QString key() const override { return QStringLiteral("vellumor.standard"); }
    QIconEngine *clone() const override { return new StandardPictureEngine(*this); }

protected:
    QIcon icon() override
    {
        if (!m_icon) {
            // A style replaced since is gone; the one in use answers instead.
            const QStyle *style = m_style ? m_style.data() : QApplication::style();
            m_icon = style->standardIcon(m_picture, m_option ? &*m_option : nullptr, m_widget);
        }
        return *m_icon;
    }

private:
    QPointer<QStyle> m_style;
    QStyle::StandardPixmap m_picture;
    std::optional<QStyleOption> m_option;
    QPointer<QWidget> m_widget;
    std::optional<QIcon> m_icon;
};

// The program's icon as it is at each use: none until the program sets it,
// which it does right after its first paint.
class ProgramIconEngine : public DeferredIconEngine
{
public:
    QString key() const override { return QStringLiteral("vellumor.program"); }
    QIconEngine *clone() const override { return new ProgramIconEngine; }

protected:
    QIcon icon() override { return QApplication::windowIcon(); }
};

bool isFusion(const QStyle *style)
{
    return style->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0;
}

// `colour` laid over the opaque `ground`.
QColor over(const QColor &ground, const QColor &colour)
{
    const auto mix = [&](int under, int above) {
        return under + qRound((above - under) * colour.alphaF());
    };
    return QColor(mix(ground.red(), colour.red()), mix(ground.green(), colour.green()),
                  mix(ground.blue(), colour.blue()));
}

// Fusion's frame picture: a one-pixel grey line at a fifth of full cover with
// rounded corners, a faint darker ring inside it and a fainter tint within,
// all one pixel in from the top left of the frame rectangle. Its colours are
// laid over the window colour here and drawn opaque: Qt spreads translucent
// fills taller than about a hundred lines over worker threads, which costs
// far more than such a frame is worth.
void drawFusionGroupBoxFrame(QPainter *painter, const QRect &frame, const QColor &ground)
{
    const QRect line = frame.adjusted(1, 1, 0, 0);
    if (line.width() < 6 || line.height() < 6)
        return;
    const QRect ring = line.adjusted(1, 1, -1, -1);
    const auto pixel = [&](int x, int y, const QColor &colour) {
        painter->fillRect(QRect(x, y, 1, 1), over(ground, colour));
    };
    const auto row = [&](int left, int right, int y, const QColor &colour) {
        painter->fillRect(QRect(QPoint(left, y), QPoint(right, y)), over(ground, colour));
    };
    const auto column = [&](int x, int top, int bottom, const QColor &colour) {
        painter->fillRect(QRect(QPoint(x, top), QPoint(x, bottom)), over(ground, colour));
    };

    painter->fillRect(ring.adjusted(1, 1, -1, -1), over(ground, QColor(0, 0, 0, 3)));
    const QColor inner(0, 0, 0, 7);
    row(ring.left() + 1, ring.right() - 1, ring.top(), inner);
    row(ring.left() + 1, ring.right() - 1, ring.bottom(), inner);
    column(ring.left(), ring.top() + 1, ring.bottom() - 1, inner);
    column(ring.right(), ring.top() + 1, ring.bottom() - 1, inner);

    const QColor edge(0x75, 0x75, 0x75, 0x32);
    row(line.left() + 2, line.right() - 2, line.top(), edge);
    row(line.left() + 2, line.right() - 2, line.bottom(), edge);
    column(line.left(), line.top() + 2, line.bottom() - 2, edge);
    column(line.right(), line.top() + 2, line.bottom() - 2, edge);

    // Each corner: its own pixel almost clear, the two beside it on the line
    // darker, and the one diagonally inside a shade between.
    for (const QPoint &corner : {line.topLeft(), line.topRight(), line.bottomLeft(), line.bottomRight()}) {
        const int inX = corner.x() == line.left() ? 1 : -1;
        const int inY = corner.y() == line.top() ? 1 : -1;
        pixel(corner.x(), corner.y(), QColor(0x20, 0x20, 0x20, 0x0d));
        pixel(corner.x() + inX, corner.y(), QColor(0x60, 0x60, 0x60, 0x36));
        pixel(corner.x(), corner.y() + inY, QColor(0x60, 0x60, 0x60, 0x36));
        pixel(corner.x() + inX, corner.y() + inY, QColor(0x5c, 0x5c, 0x5c, 0x1f));
    }
}

} // namespace

ApplicationStyle::ApplicationStyle(QStyle *base)
    : QProxyStyle(base)
{
}

QIcon ApplicationStyle::standardIcon(StandardPixmap picture, const QStyleOption *option,
                                     const QWidget *widget) const
{
    if (picture == SP_TitleBarMenuButton)
        return QIcon(new ProgramIconEngine);
    if (isTitleBarOrOverflowPicture(picture))
        return QIcon(new StandardPictureEngine(baseStyle(), picture, option, widget));
    return QProxyStyle::standardIcon(picture, option, widget);
}

void ApplicationStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                     QPainter *painter, const QWidget *widget) const
{
    if (element != PE_FrameGroupBox || !isFusion(baseStyle())) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // Where Fusion puts its frame: below the title, unless there is none.
    constexpr int kTopMargin = 3;
    int top = kTopMargin;
    const auto *box = qobject_cast<const QGroupBox *>(widget);
    if (!box || box->isCheckable() || !box->title().isEmpty())
        top += qMax(pixelMetric(PM_ExclusiveIndicatorHeight, option, widget),
                    option->fontMetrics.height());
    painter->save();
    drawFusionGroupBoxFrame(painter, option->rect.adjusted(0, top, 0, 0),
                            option->palette.color(QPalette::Window));
    painter->restore();
}

} // namespace vellumor
