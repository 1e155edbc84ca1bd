// Reading maps: the codec on its own, and LoadMap from a real file into the map view.
#include "BenchSupport.h"
#include "document/MapCodec.h"
#include "mapview/frmChildMap.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <charconv>
#include <fcntl.h>
#include <unistd.h>
#include <variant>

namespace vellumor::bench {
namespace {

const QByteArray &fullMapBytes()
{
    static const QByteArray bytes = mapfile::encode(fullMap());
    return bytes;
}

// What reading 875 numbers costs at the least: from_chars over each line, with
// no checking beyond what it does itself.
void BM_FromCharsLoop(benchmark::State &state)
{
    const QByteArray &bytes = fullMapBytes();
    MapCodes codes {};
    for (auto _ : state) {
        const char *p = bytes.constData();
        const char *const end = p + bytes.size();
        for (std::size_t cell = 0; cell < codes.size() && p < end; ++cell) {
            const auto [next, error] = std::from_chars(p, end, codes[cell]);
            p = next + 2; // CR LF
            benchmark::DoNotOptimize(error);
        }
        benchmark::DoNotOptimize(codes);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_FromCharsLoop)->MeasureProcessCPUTime();

void BM_DecodeMap(benchmark::State &state)
{
    const QByteArray &bytes = fullMapBytes();
    for (auto _ : state) {
        auto result = mapfile::decode(bytes);
        if (!std::holds_alternative<MapCodes>(result))
            state.SkipWithError("the sample map did not decode");
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_DecodeMap)->MeasureProcessCPUTime();

// A full map saved in a temporary directory, for the file benchmarks.
struct MapFileOnDisk
{
    QTemporaryDir directory;
    QString fileName = QStringLiteral("full.map");
    QString path() const { return directory.filePath(fileName); }

    MapFileOnDisk()
    {
        QFile file(path());
        if (!file.open(QIODevice::WriteOnly) || file.write(fullMapBytes()) != fullMapBytes().size())
            qFatal("cannot write the sample map");
    }
};

void BM_ReadFileIntoBuffer(benchmark::State &state)
{
    const MapFileOnDisk sample;
    const QByteArray path = QFile::encodeName(sample.path());
    char buffer[4096];
    for (auto _ : state) {
        const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
        ssize_t total = 0;
        for (ssize_t count; (count = ::read(fd, buffer + total, sizeof buffer - total)) > 0;)
            total += count;
        ::close(fd);
        if (total != fullMapBytes().size())
            state.SkipWithError("short read");
        benchmark::DoNotOptimize(buffer);
    }
}
BENCHMARK(BM_ReadFileIntoBuffer)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

// LoadMap into a shown map view, as the Open dialog runs it; the repaint that
// follows is measured with the view's own benchmarks.
void BM_LoadMap(benchmark::State &state)
{
    const MapFileOnDisk sample;
    Standard document;
    document.MapDirectory = sample.directory.path();
    document.MapFileName = sample.fileName;
    frmChildMap view(document);
    view.show();
    paintPending();
    NoTitle title;
    for (auto _ : state) {
        if (LoadMap(document, view, title))
            state.SkipWithError("the sample map did not load");
        state.PauseTiming();
        document.MapCells = {};
        paintPending();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadMap)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

} // namespace
} // namespace vellumor::bench
