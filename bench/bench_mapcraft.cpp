// lint of many map files beside check of the same files: reading each file as
// the editor opens it is the floor, and lint adds its rules to that.
#include "document/MapCodec.h"
#include "document/MapFileReader.h"
#include "rules/MapLint.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <variant>

namespace vellumor::bench {
namespace {

constexpr int kMapFiles = 2000;

// The sample maps, each copy with one cell changed, so that the files differ
// and most hold a finding or two, as maps being drawn do.
class MapFolder
{
public:
    MapFolder()
    {
        const QDir examples(QStringLiteral(VELLUMOR_EXAMPLES_DIR));
        QList<MapCodes> samples;
        for (const QString &name : examples.entryList({QStringLiteral("*.map")}, QDir::Files)) {
            const auto read = readMapFile(examples.filePath(name));
            if (std::holds_alternative<MapCodes>(read))
                samples.append(std::get<MapCodes>(read));
        }
        if (samples.isEmpty())
            qFatal("no sample maps in %s", VELLUMOR_EXAMPLES_DIR);
        for (int i = 0; i < kMapFiles; ++i) {
            MapCodes codes = samples[i % samples.size()];
            codes[std::size_t(i * 37 % kCellCount)] = SymbolCode(i % (kHighestSymbolCode + 1));
            const QString path = m_directory.filePath(QStringLiteral("map%1.map").arg(i));
            QFile file(path);
            const QByteArray bytes = mapfile::encode(codes);
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                qFatal("cannot write the map files");
            m_paths.append(path);
        }
    }
    const QStringList &paths() const { return m_paths; }

private:
    QTemporaryDir m_directory;
    QStringList m_paths;
};

const MapFolder &mapFolder()
{
    static const MapFolder folder;
    return folder;
}

void BM_CheckMaps(benchmark::State &state)
{
    const QStringList &paths = mapFolder().paths();
    for (auto _ : state) {
        for (const QString &path : paths) {
            auto result = readMapFile(path);
            benchmark::DoNotOptimize(result);
        }
    }
}
BENCHMARK(BM_CheckMaps)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_LintMaps(benchmark::State &state)
{
    const QStringList &paths = mapFolder().paths();
    for (auto _ : state) {
        for (const QString &path : paths) {
            const auto result = readMapFile(path);
            if (const auto *codes = std::get_if<MapCodes>(&result)) {
                auto findings = rules::lintMap(*codes);
                benchmark::DoNotOptimize(findings);
            }
        }
    }
}
BENCHMARK(BM_LintMaps)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

} // namespace
} // namespace vellumor::bench
