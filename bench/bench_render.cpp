// Drawing the whole map into an image, at one and two device pixels per logical one.
#include "BenchSupport.h"
#include "mapview/MapGeometry.h"
#include "mapview/MapRenderer.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>

namespace vellumor::bench {
namespace {

QImage viewImage(qreal ratio)
{
    const QSize size(int(std::ceil(mapgeometry::kViewSize.width() * ratio)),
        int(std::ceil(mapgeometry::kViewSize.height() * ratio)));
    QImage image(size, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    return image;
}

// The arguments are the device pixel ratio.
void BM_FillImage(benchmark::State &state)
{
    QImage image = viewImage(qreal(state.range(0)));
    for (auto _ : state) {
        image.fill(Qt::white);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_FillImage)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

void BM_RenderFullMap(benchmark::State &state)
{
    const qreal ratio = qreal(state.range(0));
    QImage image = viewImage(ratio);
    const MapCodes codes = fullMap();
    MapRenderer renderer;
    for (auto _ : state) {
        QPainter painter(&image);
        renderer.render(painter, codes, true, QRect(QPoint(0, 0), mapgeometry::kViewSize), ratio);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_RenderFullMap)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

} // namespace
} // namespace vellumor::bench
