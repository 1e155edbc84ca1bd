#pragma once

#include <QAbstractButton>
#include <QFont>
#include <QImage>

namespace vellumor {

// The font a caption is drawn in on a face `width` pixels wide: the given font
// where the text fits; otherwise the same font with its letters closed up by
// the least number of eighths of a pixel, at most four, that makes it fit;
// otherwise the largest size, in steps of half a point below the given one, at
// which it fits, and never smaller than 6 points.
QFont fitCaptionFont(const QFont &font, const QString &text, int width);

// One choice among several, drawn as a push button that stays down while it is
// the chosen one. A click always presses it: clicking it again while it is down
// leaves it down, and only the program releases it. The face shows either a
// picture, enlarged without smoothing so that its pixels stay sharp, or a caption.
class OptionButton final : public QAbstractButton
{
    Q_OBJECT
public:
    explicit OptionButton(QWidget *parent);

    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void nextCheckState() override;

private:
    QRect faceRect() const;
    void paintCaption(QPainter &painter, const QRect &face);
    const QFont &captionFont(int faceWidth);

    QImage m_picture;
    // The caption's font, fitted to the face once for a given text, font and
    // width rather than on every paint: each size tried costs a font lookup.
    struct FittedCaption
    {
        QString text;
        QFont from;
        int width = -1;
        QFont font;
    };
    FittedCaption m_fitted;
};

} // namespace vellumor
