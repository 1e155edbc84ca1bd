// Every export of one full map, in process and into memory, beside the floor of
// saving the same picture with QImage::save.
#include "BenchSupport.h"
#include "formats/CsvFormat.h"
#include "formats/ExportPdf.h"
#include "formats/ExportPng.h"
#include "formats/ExportUvtt.h"
#include "formats/SymbolAtlas.h"
#include "formats/TmjFormat.h"
#include "formats/TmxFormat.h"

#include <QBuffer>
#include <QImage>

#include <benchmark/benchmark.h>

namespace vellumor::bench {
namespace {

using namespace mapexport;

void BM_SaveImagePng(benchmark::State &state)
{
    const QImage image = exportImage(fullMap(), 1, false);
    for (auto _ : state) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        benchmark::DoNotOptimize(png.data());
    }
}
BENCHMARK(BM_SaveImagePng)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_ExportPng(benchmark::State &state)
{
    const MapCodes codes = fullMap();
    for (auto _ : state)
        benchmark::DoNotOptimize(encodePng(exportImage(codes, 1, false)).data());
}
BENCHMARK(BM_ExportPng)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// The argument is the grid size in pixels.
void BM_ExportUvtt(benchmark::State &state)
{
    const MapCodes codes = fullMap();
    for (auto _ : state)
        benchmark::DoNotOptimize(encodeUvtt(codes, int(state.range(0))).data());
}
BENCHMARK(BM_ExportUvtt)->Arg(70)->Arg(100)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_ExportPdf(benchmark::State &state)
{
    const MapCodes codes = fullMap();
    PdfOptions options;
    options.title = QStringLiteral("full.map");
    const PagePlan plan = std::get<PagePlan>(planPages(options));
    for (auto _ : state)
        benchmark::DoNotOptimize(exportPdf(codes, options, plan).data());
}
BENCHMARK(BM_ExportPdf)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// The map and the tileset picture beside it.
void BM_ExportTmx(benchmark::State &state)
{
    const MapCodes codes = fullMap();
    for (auto _ : state) {
        benchmark::DoNotOptimize(tmxformat::encode(codes, QStringLiteral("s.png")).data());
        benchmark::DoNotOptimize(encodePng(symbolAtlas()).data());
    }
}
BENCHMARK(BM_ExportTmx)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_ExportTmj(benchmark::State &state)
{
    const MapCodes codes = fullMap();
    for (auto _ : state) {
        benchmark::DoNotOptimize(tmjformat::encode(codes, QStringLiteral("s.png")).data());
        benchmark::DoNotOptimize(encodePng(symbolAtlas()).data());
    }
}
BENCHMARK(BM_ExportTmj)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_ExportCsv(benchmark::State &state)
{
    const MapCodes codes = fullMap();
    for (auto _ : state)
        benchmark::DoNotOptimize(csvformat::encode(codes).data());
}
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

} // namespace
} // namespace vellumor::bench
