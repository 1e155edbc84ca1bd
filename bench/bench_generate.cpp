// Making maps: one map of each kind from a run of seeds, and every seed of a
// thousand timed on its own for the median and the slowest, and the same
// around a drawing kept; writing the map file of one map is the floor beside
// them.
#include "BenchSupport.h"
#include "document/CellGrid.h"
#include "document/MapCodec.h"
#include "generate/MapGenerator.h"
#include "symbols/SymbolNames.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <vector>

namespace vellumor::bench {
namespace {

using generate::generateMap;
using rules::MapKind;

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

// Each of `count` maps made by `make` timed alone: the median and the slowest.
template<typename Make> void timeEachMap(benchmark::State &state, int count, Make make)
{
    std::vector<double> times;
    for (auto _ : state) {
        times.clear();
        for (int i = 0; i < count; ++i) {
            const double start = threadNanoseconds();
            auto made = make(i);
            benchmark::DoNotOptimize(made);
            times.push_back(threadNanoseconds() - start);
        }
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ns"] = times[times.size() / 2];
    state.counters["slowest_ns"] = times.back();
}

// Seeds 0 to 999 of every kind, each map timed alone.
void BM_GenerateThousandSeeds(benchmark::State &state)
{
    timeEachMap(state, 4000, [](int i) {
        return generateMap(rules::kMapKinds[std::size_t(i / 1000)], std::uint64_t(i % 1000));
    });
}
BENCHMARK(BM_GenerateThousandSeeds)->Iterations(1)->Unit(benchmark::kMillisecond);

// A town made around a wall ring the user drew with two gates, seeds 0 to 999,
// each map timed alone: generate --keep beside the floor above.
void BM_GenerateAroundThousandSeeds(benchmark::State &state)
{
    MapCodes ring {};
    const auto put = [&](int column, int row, SymbolCode code) {
        ring[std::size_t(cellIndex(column, row))] = code;
    };
    for (int column = 8; column <= 24; ++column) {
        put(column, 5, sym::WallHorizontal);
        put(column, 18, sym::WallHorizontal);
    }
    for (int row = 5; row <= 18; ++row) {
        put(8, row, sym::WallVertical);
        put(24, row, sym::WallVertical);
    }
    put(8, 5, sym::WallSE), put(24, 5, sym::WallSW), put(8, 18, sym::WallNE);
    put(24, 18, sym::WallNW), put(16, 5, sym::WoodenGateHorizontal);
    put(16, 18, sym::IronGateHorizontal);
    timeEachMap(state, 1000, [&](int seed) {
        return generate::generateAround(MapKind::Town, std::uint64_t(seed), {}, ring);
    });
}
BENCHMARK(BM_GenerateAroundThousandSeeds)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vellumor::bench
