#pragma once

#include "document/MapStorage.h"
#include "mapview/MapRenderer.h"

#include <QWidget>

namespace vellumor {

// The map window: shows the 875 cells of the document and turns mouse presses
// on them into edits. The cells are not widgets; the view draws them all and
// finds the cell under the pointer from its position. It keeps no codes of its
// own, so that it always shows what MapCells holds.
class frmChildMap : public QWidget, public CellPainter
{
    Q_OBJECT
public:
    // Bits of the button set that Map_MouseDown takes.
    static constexpr int kLeftButton = 1;
    static constexpr int kRightButton = 2;
    static constexpr int kMiddleButton = 4;

    explicit frmChildMap(Standard &document, QWidget *parent = nullptr);

    void PaintCell(int index, SymbolCode code) override;
    // The left button paints the current symbol, then the right button erases;
    // the modifiers and the position within the cell make no difference.
    void Map_MouseDown(int index, int buttons, Qt::KeyboardModifiers shift, QPoint position);

    bool cellHasBorder(int index) const;
    // Shows the borders if cell 0 has none, else hides them all; returns whether
    // they are shown now.
    bool toggleGridLines();

    static QRect cellRect(int index);
    static int cellAt(QPoint position);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void scheduleRepaint(const QRect &cell);

    Standard &m_document;
    MapRenderer m_renderer;
    bool m_bordersShown = true;
    // The area handed to update() since the last paint.
    QRect m_pendingRepaint;
};

} // namespace vellumor
