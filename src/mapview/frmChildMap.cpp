#include "mapview/frmChildMap.h"

#include "mapview/MapGeometry.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace vellumor {

namespace {

int buttonBits(Qt::MouseButtons buttons)
{
    int bits = 0;
    if (buttons & Qt::LeftButton)
        bits |= frmChildMap::kLeftButton;
    if (buttons & Qt::RightButton)
        bits |= frmChildMap::kRightButton;
    if (buttons & Qt::MiddleButton)
        bits |= frmChildMap::kMiddleButton;
    return bits;
}

} // namespace

frmChildMap::frmChildMap(Standard &document, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
{
    setObjectName(QStringLiteral("frmChildMap"));
    setWindowTitle(QStringLiteral("Map"));
    setAccessibleName(windowTitle());
    setFixedSize(mapgeometry::kViewSize);
    // Every paint covers its whole rectangle with the white ground first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);
}

void frmChildMap::PaintCell(int index, SymbolCode code)
{
    if (!isCellIndex(index))
        return;
    m_document.MapCells[std::size_t(index)] = code;
    scheduleRepaint(cellRect(index));
}

void frmChildMap::scheduleRepaint(const QRect &cell)
{
    // The toolkit merges every rectangle passed to update() into one region; a
    // walk over all 875 cells would build a region of hundreds of pieces, which
    // costs more than painting the whole map. One rectangle around the changed
    // cells instead stays a single piece, and a lone click repaints its cell alone.
    if (m_pendingRepaint.contains(cell))
        return;
    m_pendingRepaint |= cell;
    update(m_pendingRepaint);
}

void frmChildMap::Map_MouseDown(
    int index, int buttons, Qt::KeyboardModifiers shift, QPoint position)
{
    Q_UNUSED(shift)
    Q_UNUSED(position)
    if (!isCellIndex(index))
        return;
    if (buttons & kLeftButton)
        PaintCell(index, m_document.CurrentSymbol);
    if (buttons & kRightButton)
        PaintCell(index, kBlankSymbol);
}

bool frmChildMap::cellHasBorder(int index) const
{
    return isCellIndex(index) && m_bordersShown;
}

bool frmChildMap::toggleGridLines()
{
    // All cells share one border state, so switching cell 0 to 874 in turn is
    // one change of that state and one repaint.
    m_bordersShown = !cellHasBorder(0);
    update();
    return m_bordersShown;
}

QRect frmChildMap::cellRect(int index)
{
    return mapgeometry::cellRect(index);
}

int frmChildMap::cellAt(QPoint position)
{
    return mapgeometry::cellAt(position);
}

void frmChildMap::paintEvent(QPaintEvent *event)
{
    // The toolkit paints all of its dirty area at once; were a paint ever to
    // cover less, forgetting the rest only means asking again for the next cell.
    m_pendingRepaint = QRect();
    QPainter painter(this);
    m_renderer.render(
        painter, m_document.MapCells, m_bordersShown, event->rect(), devicePixelRatioF());
}

void frmChildMap::mousePressEvent(QMouseEvent *event)
{
    // A press in the margin is taken and does nothing.
    event->accept();
    const int index = cellAt(event->position().toPoint());
    if (index < 0)
        return;
    // Both buttons held together report both bits, as the press of the second
    // one finds the first still down. A press of any other button passes only
    // its own bit, so that it never paints with a button already held.
    int bits = buttonBits(event->button());
    if (bits & (kLeftButton | kRightButton))
        bits |= buttonBits(event->buttons()) & (kLeftButton | kRightButton);
    const QPoint withinCell = event->position().toPoint() - cellRect(index).topLeft();
    Map_MouseDown(index, bits, event->modifiers(), withinCell);
}

// Releases and drags do nothing here, and are taken all the same: passed on,
// they would reach the frame around the map, which repaints its title bar for
// every release.
void frmChildMap::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
}

void frmChildMap::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
}

} // namespace vellumor
