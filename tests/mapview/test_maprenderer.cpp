// The map drawing and cell geometry, without widgets: only a QGuiApplication
// runs here, as in the tools that render maps with no display.
#include "mapview/MapGeometry.h"
#include "mapview/MapRenderer.h"
#include "pictures/SymbolPictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QTest>

using namespace vellumor;
using namespace vellumor::mapgeometry;

namespace {

// Where the border lines cross one row (alongRow) or column of device pixels,
// and how thick each is.
QVector<QPair<int, int>> borderLines(const QImage &image, int fixed, bool alongRow)
{
    QVector<QPair<int, int>> lines;
    const int length = alongRow ? image.width() : image.height();
    for (int i = 0; i < length; ++i) {
        const QColor colour = image.pixelColor(alongRow ? QPoint(i, fixed) : QPoint(fixed, i));
        if (colour != MapRenderer::borderColour())
            continue;
        if (!lines.isEmpty() && lines.last().first + lines.last().second == i)
            ++lines.last().second;
        else
            lines.append({i, 1});
    }
    return lines;
}

QImage areaOf(const QImage &image, const QRect &area)
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
    void cellsAreFoundWhereTheyLie()
    {
        QCOMPARE(cellRect(0), QRect(20, 429, 18, 18));
        QCOMPARE(cellRect(24), QRect(20, 21, 18, 18));
        QCOMPARE(cellRect(437), QRect(309, 225, 18, 18));
        QCOMPARE(cellRect(874), QRect(598, 21, 18, 18));
        QCOMPARE(cellRect(875), QRect());
        for (int i = 0; i < kCellCount; ++i) {
            // A cell's own top and left lines belong to it.
            QCOMPARE(cellAt(cellRect(i).center()), i);
            QCOMPARE(cellAt(cellRect(i).topLeft()), i);
        }
        // The last lines of the grid belong to the last cells.
        QCOMPARE(cellAt({615, 446}), 850);
        for (const QPoint p : {QPoint(19, 30), QPoint(616, 30), QPoint(30, 20), QPoint(30, 447),
                 QPoint(-5, 100), QPoint(700, 100)})
            QCOMPARE(cellAt(p), -1);
    }

    // On an empty map the borders are the only marks: 36 lines across and 26
    // down, all one line thick and a cell's pitch apart.
    void gridLinesAreSharpAtEveryPixelRatio_data() { pixelRatios(); }
    void gridLinesAreSharpAtEveryPixelRatio()
    {
        QFETCH(qreal, ratio);
        MapRenderer renderer;
        const QImage image = renderer.renderImage(MapCodes {}, true, ratio);
        QCOMPARE(image.size(), QSize(qCeil(633 * ratio), qCeil(463 * ratio)));
        const int thickness = std::max(1, int(ratio));
        for (const bool alongRow : {true, false}) {
            const int fixed = int(30 * ratio);
            const auto lines = borderLines(image, fixed, alongRow);
            QCOMPARE(lines.size(), alongRow ? 36 : 26);
            for (int k = 0; k < lines.size(); ++k) {
                QCOMPARE(lines[k].second, thickness);
                const int logical = (alongRow ? kGridLeft : kGridTop) + kCellPitch * k;
                QVERIFY(qAbs(lines[k].first - logical * ratio) <= 1);
            }
        }
        const QImage bare = renderer.renderImage(MapCodes {}, false, ratio);
        QImage white(bare.size(), QImage::Format_RGB32);
        white.fill(Qt::white);
        white.setDevicePixelRatio(ratio);
        QCOMPARE(bare, white);
    }

    // A picture fills exactly the area inside its border, or with borders off
    // the whole cell, lines included, enlarged pixel for pixel.
    void picturesFillTheirCellCrisply_data() { pixelRatios(); }
    void picturesFillTheirCellCrisply()
    {
        QFETCH(qreal, ratio);
        MapRenderer renderer;
        const QImage empty = renderer.renderImage(MapCodes {}, true, ratio);
        const int thickness = std::max(1, int(ratio));
        for (const int index : {0, 437, 874}) {
            const CellPlace place = cellPlace(index);
            const auto across = borderLines(empty, int(cellRect(index).center().y() * ratio), true);
            const auto down = borderLines(empty, int(cellRect(index).center().x() * ratio), false);
            const QRect inside(
                QPoint(across[place.column].first + thickness, down[place.row].first + thickness),
                QPoint(across[place.column + 1].first - 1, down[place.row + 1].first - 1));
            const QRect whole = inside.adjusted(-thickness, -thickness, thickness, thickness);

            MapCodes codes {};
            codes[std::size_t(index)] = 17;
            const QImage lined = renderer.renderImage(codes, true, ratio);
            QCOMPARE(areaOf(lined, inside), enlarged(17, inside.size()));
            QCOMPARE(lined.pixelColor(whole.topLeft()), MapRenderer::borderColour());
            QCOMPARE(lined.pixelColor(whole.bottomRight()), MapRenderer::borderColour());
            const QImage bare = renderer.renderImage(codes, false, ratio);
            QCOMPARE(areaOf(bare, whole), enlarged(17, whole.size()));
            QCOMPARE(bare.pixelColor(whole.topLeft() - QPoint(1, 1)), QColor(Qt::white));
            QCOMPARE(bare.pixelColor(whole.bottomRight() + QPoint(1, 1)), QColor(Qt::white));
        }
    }

    // Repainting one cell's rectangle over an old picture gives what a full
    // paint of the new map gives, the lines shared with neighbours included.
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
    QGuiApplication app(argc, argv);
    TestMapRenderer test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_maprenderer.moc"
