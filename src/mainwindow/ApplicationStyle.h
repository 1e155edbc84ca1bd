#pragma once

#include <QProxyStyle>

namespace vellumor {

// The platform's own style, changed only where it would read pictures while
// the main window is built and first painted. The first picture read through
// Qt's image readers loads every image-format plugin installed, and Qt's menu
// bar, its sub-windows and the Fusion style's group boxes each read one,
// although the main window never shows most of them:
// - title bar and tool bar overflow pictures are read when first drawn;
// - a sub-window's menu button shows the program's icon, once it is set,
//   rather than the toolkit's logo;
// - under Fusion, group box frames are drawn with the painter, in the colours
//   of Fusion's own frame picture, rather than from that picture.
class ApplicationStyle : public QProxyStyle
{
public:
    // Over `base`, or over the style the platform or the user chose when null.
    explicit ApplicationStyle(QStyle *base = nullptr);

    QIcon standardIcon(StandardPixmap picture, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
};

} // namespace vellumor
