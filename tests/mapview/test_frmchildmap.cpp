// The map window with real mouse events and real paints.
#include "mapview/MapRenderer.h"
#include "mapview/frmChildMap.h"
#include "pictures/SymbolPictures.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTest>

using namespace vellumor;

namespace {

// Records the region of every paint the view receives.
class PaintRecorder : public QObject
{
public:
    QVector<QRegion> regions;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            regions.append(static_cast<QPaintEvent *>(event)->region());
        return false;
    }
};

void sendMouse(QWidget &widget, QEvent::Type type, QPoint position, Qt::MouseButton button,
    Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = {})
{
    QMouseEvent event(type, position, widget.mapToGlobal(position), button, buttons, modifiers);
    QApplication::sendEvent(&widget, &event);
}

QImage cellImage(frmChildMap &view, int index)
{
    return view.grab()
        .toImage()
        .copy(frmChildMap::cellRect(index))
        .convertToFormat(QImage::Format_RGB32);
}

QImage enlarged(int code, int size)
{
    return SymbolPicture(code)
        ->scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestChildMap : public QObject
{
    Q_OBJECT
private slots:
    void isTheMapWindow()
    {
        Standard document;
        frmChildMap view(document);
        QCOMPARE(view.objectName(), QStringLiteral("frmChildMap"));
        QCOMPARE(view.windowTitle(), QStringLiteral("Map"));
        QCOMPARE(view.accessibleName(), QStringLiteral("Map"));
        QCOMPARE(view.size(), QSize(633, 463));
        QCOMPARE(view.minimumSize(), view.maximumSize());
        QCOMPARE(view.focusPolicy(), Qt::NoFocus);
        for (const int index : {0, 437, 874})
            QVERIFY(view.cellHasBorder(index));
    }

    // The corners and the centre, found by the pointer's position.
    void pressesEditTheCellUnderThePointer()
    {
        Standard document;
        document.CurrentSymbol = 17;
        frmChildMap view(document);
        for (const int index : {0, 24, 437, 850, 874}) {
            const QPoint at = frmChildMap::cellRect(index).center();
            QTest::mouseClick(&view, Qt::LeftButton, {}, at);
            MapCodes expected {};
            expected[std::size_t(index)] = 17;
            QCOMPARE(document.MapCells, expected);
            QTest::mouseClick(&view, Qt::RightButton, {}, at);
            QCOMPARE(document.MapCells, MapCodes {});
        }
    }

    void buttonsActByTheirOwnRules()
    {
        Standard document;
        frmChildMap view(document);
        const QPoint at = frmChildMap::cellRect(300).center();
        const auto code = [&] { return document.MapCells[300]; };

        // Right on an empty cell leaves it empty.
        QTest::mouseClick(&view, Qt::RightButton, {}, at);
        QCOMPARE(code(), SymbolCode(0));

        // Left with the Blank symbol current empties a painted cell.
        document.CurrentSymbol = 40;
        QTest::mouseClick(&view, Qt::LeftButton, {}, at);
        QCOMPARE(code(), SymbolCode(40));
        document.CurrentSymbol = 0;
        QTest::mouseClick(&view, Qt::LeftButton, {}, at);
        QCOMPARE(code(), SymbolCode(0));

        // Both buttons together paint, then erase.
        document.CurrentSymbol = 40;
        sendMouse(
            view, QEvent::MouseButtonPress, at, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
        QCOMPARE(code(), SymbolCode(0));

        // The middle button does nothing, even with the left one held.
        QTest::mouseClick(&view, Qt::MiddleButton, {}, at);
        QCOMPARE(code(), SymbolCode(0));
        sendMouse(view, QEvent::MouseButtonPress, at, Qt::MiddleButton,
            Qt::LeftButton | Qt::MiddleButton);
        QCOMPARE(code(), SymbolCode(0));

        // Modifiers make no difference.
        for (const auto modifier : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) {
            QTest::mouseClick(&view, Qt::LeftButton, modifier, at);
            QCOMPARE(code(), SymbolCode(40));
            QTest::mouseClick(&view, Qt::RightButton, modifier, at);
            QCOMPARE(code(), SymbolCode(0));
        }
    }

    // Releases, movement, presses in the margin and indices beyond the map.
    void nothingButAPressOnACellEdits()
    {
        Standard document;
        document.CurrentSymbol = 5;
        frmChildMap view(document);
        const QPoint from = frmChildMap::cellRect(100).center();
        const QPoint to = frmChildMap::cellRect(101).center();
        sendMouse(view, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        sendMouse(view, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        sendMouse(view, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        sendMouse(view, QEvent::MouseButtonRelease, to, Qt::RightButton, Qt::NoButton);
        for (const QPoint p : {QPoint(5, 5), QPoint(19, 200), QPoint(616, 200), QPoint(300, 20),
                 QPoint(300, 447), QPoint(632, 462)})
            QTest::mouseClick(&view, Qt::LeftButton, {}, p);
        view.Map_MouseDown(-1, frmChildMap::kLeftButton, {}, {});
        view.Map_MouseDown(875, frmChildMap::kLeftButton, {}, {});
        view.PaintCell(875, 9);
        view.PaintCell(-1, 9);

        MapCodes expected {};
        expected[100] = 5;
        QCOMPARE(document.MapCells, expected);
    }

    void paintCellRepaintsOnlyItsCell()
    {
        Standard document;
        frmChildMap view(document);
        PaintRecorder recorder;
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QApplication::processEvents();
        view.installEventFilter(&recorder);

        view.PaintCell(437, 12);
        QApplication::processEvents();
        QCOMPARE(recorder.regions.size(), 1);
        QCOMPARE(recorder.regions.first(), QRegion(frmChildMap::cellRect(437)));
        QCOMPARE(document.MapCells[437], SymbolCode(12));
    }

    void gridLinesFitThePictureInsideTheBorder()
    {
        Standard document;
        frmChildMap view(document);
        const QColor border = MapRenderer::borderColour();
        view.PaintCell(437, 17);
        view.PaintCell(438, 30);

        const QImage cell = cellImage(view, 437);
        QCOMPARE(cell.copy(1, 1, 16, 16), enlarged(17, 16));
        for (const QPoint p :
            {QPoint(0, 0), QPoint(9, 0), QPoint(0, 9), QPoint(17, 9), QPoint(9, 17)})
            QCOMPARE(cell.pixelColor(p), border);

        QVERIFY(!view.toggleGridLines());
        for (const int index : {0, 437, 874})
            QVERIFY(!view.cellHasBorder(index));
        // Cell 437 lies below 438 and is drawn over the line they share.
        QCOMPARE(cellImage(view, 437), enlarged(17, 18));
        QCOMPARE(cellImage(view, 438).copy(0, 0, 18, 17), enlarged(30, 18).copy(0, 0, 18, 17));
        QCOMPARE(cellImage(view, 0), cellImage(view, 874));
        QCOMPARE(cellImage(view, 0).pixelColor(0, 0), QColor(Qt::white));

        QVERIFY(view.toggleGridLines());
        QVERIFY(view.cellHasBorder(0));
        QCOMPARE(cellImage(view, 437).copy(1, 1, 16, 16), enlarged(17, 16));
        QCOMPARE(document.MapCells[437], SymbolCode(17));
        QCOMPARE(document.MapCells[438], SymbolCode(30));
    }

    void codeOutsideTheCatalogShowsNoPicture()
    {
        Standard document;
        frmChildMap view(document);
        const QImage empty = cellImage(view, 200);
        view.PaintCell(200, 65);
        QCOMPARE(document.MapCells[200], SymbolCode(65));
        QCOMPARE(cellImage(view, 200), empty);
        view.PaintCell(200, -7);
        QCOMPARE(cellImage(view, 200), empty);
    }
};

QTEST_MAIN(TestChildMap)
#include "test_frmchildmap.moc"
