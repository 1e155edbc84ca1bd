// Sight from every cell of the sample maps, each cast timed alone, beside the
// floor of one pass over the map's 875 cells.
#include "BenchSupport.h"
#include "document/MapFileReader.h"
#include "rules/Sight.h"

#include <QDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <variant>

namespace vellumor::bench {
namespace {

QList<MapCodes> samples()
{
    QList<MapCodes> maps;
    const QDir examples(QStringLiteral(VELLUMOR_EXAMPLES_DIR));
    for (const QString &name : examples.entryList({QStringLiteral("*.map")}, QDir::Files)) {
        const auto read = readMapFile(examples.filePath(name));
        if (std::holds_alternative<MapCodes>(read))
            maps.append(std::get<MapCodes>(read));
    }
    return maps;
}

// The floor: looking once at every cell of a map, as any answer about the
// whole map must.
void BM_PassOverCells(benchmark::State &state)
{
    const MapCodes codes = samples().value(0);
    for (auto _ : state) {
        int open = 0;
        for (const SymbolCode code : codes)
            open += code == 0;
        benchmark::DoNotOptimize(open);
    }
}
BENCHMARK(BM_PassOverCells)->MeasureProcessCPUTime();

void BM_SightFromEveryCell(benchmark::State &state)
{
    const QList<MapCodes> maps = samples();
    std::vector<double> times;
    for (auto _ : state) {
        times.clear();
        for (const MapCodes &codes : maps) {
            const rules::MapSight sight(codes);
            for (int row = 0; row < kMapRows; ++row) {
                for (int column = 0; column < kMapColumns; ++column) {
                    const double start = threadNanoseconds();
                    auto seen = sight.seenFrom({column, row});
                    benchmark::DoNotOptimize(seen);
                    times.push_back(threadNanoseconds() - start);
                }
            }
        }
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ns"] = times[times.size() / 2];
    state.counters["slowest_ns"] = times.back();
}
BENCHMARK(BM_SightFromEveryCell)->Iterations(20)->MeasureProcessCPUTime();

} // namespace
} // namespace vellumor::bench
