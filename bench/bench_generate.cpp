// Making maps: one map of each kind from a run of seeds, and every seed of a
// thousand timed on its own for the median and the slowest; writing the map
// file of one map is the floor beside them.
#include "document/MapCodec.h"
#include "mapcraft/MapGenerator.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <vector>

namespace vellumor::bench {
namespace {

using mapcraft::generateMap;
using mapcraft::MapKind;

double threadNanoseconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e9 + double(now.tv_nsec);
}

void BM_EncodeGeneratedMap(benchmark::State &state)
{
    const auto codes = generateMap(MapKind::Town, 1);
    for (auto _ : state) {
        QByteArray bytes = mapfile::encode(*codes);
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_EncodeGeneratedMap)->MeasureProcessCPUTime();

void BM_GenerateMap(benchmark::State &state)
{
    const auto kind = MapKind(state.range(0));
    std::uint64_t seed = 0;
    for (auto _ : state) {
        auto codes = generateMap(kind, seed++ % 1000);
        benchmark::DoNotOptimize(codes);
    }
}
BENCHMARK(BM_GenerateMap)->DenseRange(0, 3)->MeasureProcessCPUTime();

// Seeds 0 to 999 of every kind, each map timed alone.
void BM_GenerateThousandSeeds(benchmark::State &state)
{
    std::vector<double> times;
    for (auto _ : state) {
        times.clear();
        for (const MapKind kind : mapcraft::kMapKinds) {
            for (std::uint64_t seed = 0; seed < 1000; ++seed) {
                const double start = threadNanoseconds();
                auto codes = generateMap(kind, seed);
                benchmark::DoNotOptimize(codes);
                times.push_back(threadNanoseconds() - start);
            }
        }
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ns"] = times[times.size() / 2];
    state.counters["slowest_ns"] = times.back();
}
BENCHMARK(BM_GenerateThousandSeeds)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vellumor::bench
