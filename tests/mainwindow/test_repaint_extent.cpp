// How much of the editor each edit repaints: a click only its own cell, a walk
// over every cell one paint of the map, never the frame around it.
#include "mainwindow/MainWindowFixture.h"

#include <QMdiSubWindow>
#include <QPaintEvent>

using namespace vellumor;
using namespace vellumor::testing;

namespace {

// Records every paint that any widget of the window receives.
class PaintLog : public QObject
{
public:
    explicit PaintLog(QWidget &window)
    {
        window.installEventFilter(this);
        for (QWidget *widget : window.findChildren<QWidget *>())
            widget->installEventFilter(this);
    }

    QList<QPair<QObject *, QRegion>> paints;

    void clear() { paints.clear(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            paints.append({watched, static_cast<QPaintEvent *>(event)->region()});
        return false;
    }
};

// A shown editor with the whole map in view, its first paints done.
struct ShownEditor : MainWindowFixture
{
    ShownEditor()
    {
        window->resize(1024, 768);
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCoreApplication::processEvents();
    }

    frmChildMap *map() const { return window->mapView(); }
};

} // namespace

class TestRepaintExtent : public QObject
{
    Q_OBJECT
private slots:
    void clickRepaintsItsCellAlone()
    {
        ShownEditor editor;
        QCOMPARE(editor.map()->visibleRegion(), QRegion(editor.map()->rect()));
        editor.chooseSymbol(17);
        // The pointer rests on the map before the clicks, as a person's does.
        QTest::mouseMove(editor.map(), frmChildMap::cellRect(437).center());
        QCoreApplication::processEvents();
        PaintLog log(*editor.window);

        for (const int cell : {437, 0, 874}) {
            for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
                log.clear();
                editor.clickCell(cell, button);
                QCoreApplication::processEvents();
                QCOMPARE(log.paints.size(), 1);
                QCOMPARE(log.paints.first().first, editor.map());
                QCOMPARE(log.paints.first().second, QRegion(frmChildMap::cellRect(cell)));
                QCOMPARE(frmChildMap::cellRect(cell).size(), QSize(18, 18));
            }
        }

        // A drag with the button held and its release paint nothing more.
        log.clear();
        const QPoint from = frmChildMap::cellRect(100).center();
        QTest::mousePress(editor.map(), Qt::LeftButton, {}, from);
        QCoreApplication::processEvents();
        log.clear();
        QMouseEvent move(QEvent::MouseMove, from + QPoint(40, 0),
            editor.map()->mapToGlobal(from + QPoint(40, 0)), Qt::NoButton, Qt::LeftButton, {});
        QCoreApplication::sendEvent(editor.map(), &move);
        QTest::mouseRelease(editor.map(), Qt::LeftButton, {}, from + QPoint(40, 0));
        QCoreApplication::processEvents();
        QVERIFY(log.paints.isEmpty());
        const int passedOver = frmChildMap::cellAt(from + QPoint(40, 0));
        QVERIFY(passedOver >= 0 && passedOver != 100);
        QCOMPARE(editor.document.MapCells[100], SymbolCode(17));
        QCOMPARE(editor.document.MapCells[std::size_t(passedOver)], SymbolCode(0));
    }

    void walksOverEveryCellPaintTheMapOnce()
    {
        ShownEditor editor;
        for (int i = 0; i < kCellCount; ++i)
            editor.map()->PaintCell(i, SymbolCode(1 + i % kHighestSymbolCode));
        QCoreApplication::processEvents();
        PaintLog log(*editor.window);
        const QRegion grid(frmChildMap::cellRect(24).united(frmChildMap::cellRect(850)));

        editor.prompt.answers = {Prompt::Answer::Yes};
        editor.window->mnuEdit_ClearMap_Click();
        QCoreApplication::processEvents();
        QCOMPARE(log.paints.size(), 1);
        QCOMPARE(log.paints.first().first, editor.map());
        QVERIFY(log.paints.first().second.contains(grid.boundingRect()));
        QCOMPARE(editor.document.MapCells, MapCodes {});

        log.clear();
        editor.window->mnuView_GridLines_Click();
        QCoreApplication::processEvents();
        QCOMPARE(log.paints.size(), 1);
        QCOMPARE(log.paints.first().first, editor.map());
    }
};

QTEST_MAIN(TestRepaintExtent)
#include "test_repaint_extent.moc"
