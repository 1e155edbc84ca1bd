#include "palette/OptionButton.h"

#include "palette/OptionButtonAccessible.h"

#include <QPainter>
#include <QStyleOptionButton>

#include <optional>

namespace vellumor {

namespace {

// The bevel takes this much of each edge; the picture or caption fills the rest.
constexpr int kBevelWidth = 3;
// The pressed button wears a frame in the highlight colour of this width just
// inside its outline, so that the chosen symbol stands out among its neighbours.
constexpr int kPressedFrameWidth = 2;
// Captions shrink to fit a narrow button, in steps of half a point, but not
// below this size.
constexpr qreal kSmallestCaptionPointSize = 6.0;
constexpr qreal kCaptionStep = 0.5;
constexpr qreal kTighteningStep = 0.125;
constexpr qreal kMostTightening = 0.5;

bool fits(const QFont &font, const QString &text, int width)
{
    return QFontMetrics(font).horizontalAdvance(text) <= width;
}

// Letters close up in steps of an eighth of a pixel, up to half a pixel each:
// "Terrain1" and "Terrain2" are a pixel too wide for their buttons, and closed
// up they keep the size of "Town" beside them rather than look smaller.
std::optional<QFont> tightened(const QFont &font, const QString &text, int width)
{
    for (qreal spacing = kTighteningStep; spacing <= kMostTightening; spacing += kTighteningStep) {
        QFont tight = font;
        tight.setLetterSpacing(QFont::AbsoluteSpacing, -spacing);
        if (fits(tight, text, width))
            return tight;
    }
    return std::nullopt;
}

} // namespace

QFont fitCaptionFont(const QFont &font, const QString &text, int width)
{
    if (fits(font, text, width))
        return font;
    if (const auto tight = tightened(font, text, width))
        return *tight;
    QFont smaller = font;
    while (!fits(smaller, text, width)
        && smaller.pointSizeF() - kCaptionStep >= kSmallestCaptionPointSize)
        smaller.setPointSizeF(smaller.pointSizeF() - kCaptionStep);
    return smaller;
}

OptionButton::OptionButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setCheckable(true);
    // A mouse click leaves the keyboard focus where it was (on the map, say);
    // the Tab key still reaches the buttons, and the arrow keys move through a group.
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
    installOptionButtonAccessibility();
}

void OptionButton::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

QSize OptionButton::sizeHint() const
{
    return {25, 25};
}

void OptionButton::nextCheckState()
{
    // An exclusive group also comes through here to release its previous
    // button, so a grouped button keeps the usual toggle; the group itself never
    // lets a click release its pressed button. A lone button has no group to
    // guard it and must not be released by a click.
    if (group())
        QAbstractButton::nextCheckState();
    else
        setChecked(true);
}

QRect OptionButton::faceRect() const
{
    return rect().adjusted(kBevelWidth, kBevelWidth, -kBevelWidth, -kBevelWidth);
}

void OptionButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);

    QStyleOptionButton option;
    option.initFrom(this);
    option.features = QStyleOptionButton::None;
    const bool pressed = isChecked() || isDown();
    option.state |= pressed ? QStyle::State_Sunken : QStyle::State_Raised;
    if (isChecked())
        option.state |= QStyle::State_On;
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);

    const QRect face = faceRect();
    if (!m_picture.isNull()) {
        // No smooth-transform hint: each source pixel becomes a sharp block.
        painter.drawImage(face, m_picture);
    } else if (!text().isEmpty()) {
        paintCaption(painter, face);
    }

    if (isChecked()) {
        QPen pen(palette().color(QPalette::Highlight), kPressedFrameWidth);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const qreal inset = 1 + kPressedFrameWidth / 2.0;
        painter.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
    }

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = face.adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

const QFont &OptionButton::captionFont(int faceWidth)
{
    if (m_fitted.width != faceWidth || m_fitted.text != text() || m_fitted.from != font()) {
        m_fitted = {text(), font(), faceWidth, fitCaptionFont(font(), text(), faceWidth)};
    }
    return m_fitted.font;
}

void OptionButton::paintCaption(QPainter &painter, const QRect &face)
{
    painter.setFont(captionFont(face.width()));
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(face, Qt::AlignCenter | Qt::TextSingleLine, text());
}

} // namespace vellumor
