#pragma once

#include <QAbstractButton>
#include <QImage>

namespace vellumor {

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
    void paintCaption(QPainter &painter, const QRect &face) const;

    QImage m_picture;
};

} // namespace vellumor
