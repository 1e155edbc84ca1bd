#include "dialogs/PathLabel.h"

#include <QDir>
#include <QPainter>
#include <QStyle>

namespace vellumor {

PathLabel::PathLabel(QWidget *parent)
    : QLabel(parent)
{ }

void PathLabel::setPath(const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    setText(shown);
    setToolTip(shown);
}

void PathLabel::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    const QString elided = fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width());
    style()->drawItemText(&painter, area, int(alignment()) | Qt::TextSingleLine, palette(),
        isEnabled(), elided, foregroundRole());
}

} // namespace vellumor
