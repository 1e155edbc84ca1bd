// The map drawing and cell geometry, without widgets: only a QGuiApplication
// runs here, as in the tools that render maps with no display.
#include "MapGeometry.h"
#include "MapRenderer.h"
#include "SymbolPictures.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace vellumor;
using namespace vellumor::mapgeometry;

namespace {

// The runs of one colour along a row or column of pixels.
struct Run
{
    int start;
    int length;
};

QVector<Run> runsOf(const QImage &image, QColor colour, int fixed, bool alongRow)
{
    QVector<Run> runs;
    const int length = alongRow ? image.width() : image.height();
    for (int i = 0; i < length; ++i) {
        const QPoint p = alongRow ? QPoint(i, fixed) : QPoint(fixed, i);
        if (image.pixelColor(p) != colour)
            continue;
        if (!runs.isEmpty() && runs.last().start + runs.last().length == i)
            ++runs.last().length;
        else
            runs.append({i, 1});
    }
    return runs;
}

int devicePixel(qreal logical, qreal ratio)
{
    return int(logical * ratio);
}

QImage copyOfArea(const QImage &image, const QRect &area)
{
    QImage copy = image.copy(area).convertToFormat(QImage::Format_RGB32);
    copy.setDevicePixelRatio(1);
    return copy;
}

QImage enlarged(int code, QSize size)
{
    return SymbolPicture(code)
        ->scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestMapRenderer : public QObject
{
    Q_OBJECT
private slots:
    void cellsLieOnTheGrid_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("bottom-left") << 0 << QRect(20, 429, 18, 18);
        QTest::newRow("top-left") << 24 << QRect(20, 21, 18, 18);
        QTest::newRow("bottom of second column") << 25 << QRect(37, 429, 18, 18);
        QTest::newRow("centre") << 437 << QRect(309, 225, 18, 18);
        QTest::newRow("bottom-right") << 850 << QRect(598, 429, 18, 18);
        QTest::newRow("top-right") << 874 << QRect(598, 21, 18, 18);
        QTest::newRow("before the first") << -1 << QRect();
        QTest::newRow("after the last") << 875 << QRect();
    }
    void cellsLieOnTheGrid()
    {
        QFETCH(int, index);
        QFETCH(QRect, rect);
        QCOMPARE(cellRect(index), rect);
    }

    void everyCellIsFoundWhereItIsDrawn()
    {
        for (int i = 0; i < kCellCount; ++i) {
            // A cell's own top and left lines belong to it.
            QCOMPARE(cellAt(cellRect(i).center()), i);
            QCOMPARE(cellAt(cellRect(i).topLeft()), i);
        }
        QCOMPARE(cellAt({37, 30}), cellIndex(1, 0));
        QCOMPARE(cellAt({30, 38}), cellIndex(0, 1));
        QCOMPARE(cellAt({37, 38}), cellIndex(1, 1));
        QCOMPARE(cellAt({615, 446}), 850);
    }

    void marginsHoldNoCell()
    {
        for (const QPoint p : {QPoint(19, 30), QPoint(616, 30), QPoint(30, 20), QPoint(30, 447),
                 QPoint(0, 0), QPoint(632, 462), QPoint(-5, 100), QPoint(700, 100)})
            QCOMPARE(cellAt(p), -1);
        QCOMPARE(cellAt({20, 21}), 24);
        QCOMPARE(cellAt({615, 21}), 874);
        QCOMPARE(cellAt({20, 446}), 0);
    }

    // On an empty map the borders are the only marks: 36 lines across and 26
    // down, each one line thick, a cell's pitch apart, with white margins.
    void gridLinesAreSharpAtEveryPixelRatio_data() { pixelRatios(); }
    void gridLinesAreSharpAtEveryPixelRatio()
    {
        QFETCH(qreal, ratio);
        MapRenderer renderer;
        const MapCodes empty {};
        const QImage image = renderer.renderImage(empty, true, ratio);
        QCOMPARE(image.devicePixelRatio(), ratio);
        QCOMPARE(image.size(), QSize(qCeil(633 * ratio), qCeil(463 * ratio)));

        const int line = std::max(1, int(ratio));
        const QColor border = MapRenderer::borderColour();
        const QColor white(Qt::white);
        for (const bool alongRow : {true, false}) {
            // Through the middle of the first cell, so that the line runs across.
            const int fixed = devicePixel((alongRow ? 21 : 20) + 9, ratio);
            const QVector<Run> runs = runsOf(image, border, fixed, alongRow);
            QCOMPARE(runs.size(), alongRow ? 36 : 26);
            const int origin = alongRow ? kGridLeft : kGridTop;
            for (int k = 0; k < runs.size(); ++k) {
                QCOMPARE(runs[k].length, line);
                QVERIFY(qAbs(runs[k].start - (origin + kCellPitch * k) * ratio) <= 1);
            }
            const int length = alongRow ? image.width() : image.height();
            for (int i = 0; i < length; ++i) {
                const QColor c = image.pixelColor(alongRow ? QPoint(i, fixed) : QPoint(fixed, i));
                QVERIFY2(c == border || c == white, qPrintable(QString::number(i)));
            }
        }

        const QImage bare = renderer.renderImage(empty, false, ratio);
        QCOMPARE(runsOf(bare, white, devicePixel(30, ratio), true).size(), 1);
        QCOMPARE(runsOf(bare, white, devicePixel(30, ratio), true).first().length, bare.width());
    }

    // A picture fills exactly the area inside its border, or with borders off
    // the whole cell including the lines, enlarged pixel for pixel.
    void picturesFillTheirCellCrisply_data() { pixelRatios(); }
    void picturesFillTheirCellCrisply()
    {
        QFETCH(qreal, ratio);
        const QColor border = MapRenderer::borderColour();
        MapRenderer renderer;
        for (const int index : {0, 24, 437, 850, 874}) {
            MapCodes codes {};
            codes[std::size_t(index)] = 17;
            const QImage lined = renderer.renderImage(codes, true, ratio);
            // Find the cell's border lines from the empty map around it.
            const QImage empty = renderer.renderImage(MapCodes {}, true, ratio);
            const QRect logical = cellRect(index);
            const QPoint middle(devicePixel(logical.center().x() + 0.5, ratio),
                devicePixel(logical.center().y() + 0.5, ratio));
            int left = middle.x(), right = middle.x(), top = middle.y(), bottom = middle.y();
            while (empty.pixelColor(left - 1, middle.y()) != border)
                --left;
            while (empty.pixelColor(right + 1, middle.y()) != border)
                ++right;
            while (empty.pixelColor(middle.x(), top - 1) != border)
                --top;
            while (empty.pixelColor(middle.x(), bottom + 1) != border)
                ++bottom;
            const QRect inside(QPoint(left, top), QPoint(right, bottom));
            QVERIFY(qAbs(inside.width() - 16 * ratio) <= 1.0);
            QCOMPARE(copyOfArea(lined, inside), enlarged(17, inside.size()));
            QCOMPARE(lined.pixelColor(inside.topLeft() - QPoint(1, 1)), border);
            QCOMPARE(lined.pixelColor(inside.bottomRight() + QPoint(1, 1)), border);

            const int line = std::max(1, int(ratio));
            const QRect whole = inside.adjusted(-line, -line, line, line);
            const QImage bare = renderer.renderImage(codes, false, ratio);
            QCOMPARE(copyOfArea(bare, whole), enlarged(17, whole.size()));
            QCOMPARE(bare.pixelColor(whole.topLeft() - QPoint(1, 1)), QColor(Qt::white));
            QCOMPARE(bare.pixelColor(whole.bottomRight() + QPoint(1, 1)), QColor(Qt::white));
        }
    }

    // Repainting one cell's rectangle over an old picture gives what a full
    // paint of the new map gives, neighbours' shared lines included.
    void repaintingOneCellMatchesAFullPaint_data() { pixelRatios(); }
    void repaintingOneCellMatchesAFullPaint()
    {
        QFETCH(qreal, ratio);
        MapCodes codes {};
        for (int i = 0; i < kCellCount; ++i)
            codes[std::size_t(i)] = SymbolCode(i % 65);
        for (const bool gridLines : {true, false}) {
            MapRenderer renderer;
            QImage image = renderer.renderImage(codes, gridLines, ratio);
            MapCodes changed = codes;
            for (const int index : {0, 437, 874}) {
                changed[std::size_t(index)] = SymbolCode(changed[std::size_t(index)] ? 0 : 33);
                QPainter painter(&image);
                renderer.render(painter, changed, gridLines, cellRect(index), ratio);
            }
            QCOMPARE(image, renderer.renderImage(changed, gridLines, ratio));
        }
    }

    void codesOutsideTheCatalogShowNoPicture()
    {
        MapRenderer renderer;
        MapCodes codes {};
        const QImage empty = renderer.renderImage(codes, true, 1);
        codes[437] = 99;
        codes[0] = -1;
        codes[874] = std::numeric_limits<SymbolCode>::min();
        QCOMPARE(renderer.renderImage(codes, true, 1), empty);
    }

private:
    void pixelRatios()
    {
        QTest::addColumn<qreal>("ratio");
        for (const qreal ratio : {1.0, 1.25, 1.5, 2.0, 3.0})
            QTest::newRow(qPrintable(QString::number(ratio))) << ratio;
    }
};

int main(int argc, char *argv[])
{
    // Qt warns while starting without a runtime directory, and warnings are
    // fatal in tests; a private temporary one keeps the run self-contained.
    QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));
    QGuiApplication app(argc, argv);
    TestMapRenderer test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_maprenderer.moc"
