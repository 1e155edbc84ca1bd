// Runs every benchmark, then the memory probes, and ends with a table of each
// figure beside the floor measured in the same run.
#include "BenchEnvironment.h"
#include "Summary.h"

#include <QApplication>
#include <QProcess>

#include <algorithm>
#include <cstring>
#include <tuple>
#include <vector>

using namespace vellumor::bench;

namespace {

// What starting one probe program cost: the medians of its fresh processes.
struct StartUp
{
    std::optional<double> residentKilobytes;
    std::optional<double> processorNanoseconds;
};

// One run of a probe: its resident kilobytes and processor nanoseconds.
std::optional<std::pair<double, double>> runProbe(const QString &probe)
{
    QProcess process;
    process.start(QCoreApplication::applicationDirPath() + QLatin1Char('/') + probe, {});
    if (!process.waitForFinished(60'000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(probe),
            process.readAllStandardError().constData());
        return std::nullopt;
    }
    const QList<QByteArray> fields = process.readAllStandardOutput().simplified().split(' ');
    return std::pair {fields.value(0).toDouble(), fields.value(1).toDouble() * 1e3};
}

// The probes take turns, run after run, so that a change in the load of a
// shared machine falls on each of them alike rather than on whichever ran
// while it lasted.
std::vector<StartUp> startUps(const QStringList &probes)
{
    constexpr int kRuns = 11;
    std::vector<std::vector<double>> kilobytes(probes.size()), processor(probes.size());
    for (int run = 0; run < kRuns; ++run) {
        for (qsizetype each = 0; each < probes.size(); ++each) {
            const auto result = runProbe(probes[each]);
            if (!result)
                return std::vector<StartUp>(probes.size());
            kilobytes[each].push_back(result->first);
            processor[each].push_back(result->second);
        }
    }
    const auto median = [](std::vector<double> &samples) {
        std::sort(samples.begin(), samples.end());
        return samples[samples.size() / 2];
    };
    std::vector<StartUp> medians;
    for (qsizetype each = 0; each < probes.size(); ++each)
        medians.push_back({median(kilobytes[each]), median(processor[each])});
    return medians;
}

Row timeRatio(const CollectingReporter &results, std::string what, const std::string &figure,
    const std::string &floor, double atMost)
{
    Row row {std::move(what), results.nanoseconds(figure), results.nanoseconds(floor),
        Row::Unit::Nanoseconds, "at most " + std::to_string(atMost).substr(0, 3) + "x the floor"};
    row.met = row.figure && row.floor && *row.figure <= atMost * *row.floor;
    return row;
}

Row timeLimit(const CollectingReporter &results, std::string what, const std::string &figure,
    const std::string &floor, double limitNanoseconds, std::string goal)
{
    Row row {std::move(what), results.nanoseconds(figure), results.nanoseconds(floor),
        Row::Unit::Nanoseconds, std::move(goal)};
    row.met = row.figure && *row.figure < limitNanoseconds;
    return row;
}

std::vector<Row> tableRows(const CollectingReporter &results)
{
    std::vector<Row> rows;
    rows.push_back(timeRatio(
        results, "decode a 3,500-byte map from memory", "BM_DecodeMap", "BM_FromCharsLoop", 2.0));
    rows.push_back(timeLimit(results, "LoadMap from a file", "BM_LoadMap", "BM_ReadFileIntoBuffer",
        100e3, "under 100 us"));
    rows.push_back(timeLimit(results, "full repaint into an image, 1x", "BM_RenderFullMap/1",
        "BM_FillImage/1", 1e6, "under 1 ms"));
    rows.push_back(timeLimit(results, "full repaint into an image, 2x", "BM_RenderFullMap/2",
        "BM_FillImage/2", 3e6, "under 3 ms"));

    Row click {"left click on a cell: area repainted",
        results.counter("BM_ClickCell", "painted_px"), results.counter("BM_ClickCell", "cell_px"),
        Row::Unit::Pixels, "exactly one 18 x 18 cell"};
    click.met = click.figure && click.floor && *click.figure == *click.floor
        && results.counter("BM_ClickCell", "other_paints") == 0.0;
    rows.push_back(click);

    const std::vector<StartUp> started = startUps({QStringLiteral("vellumor_startup_editor"),
        QStringLiteral("vellumor_startup_bare"), QStringLiteral("vellumor_startup_menu")});
    const StartUp &editor = started[0];
    const StartUp &bare = started[1];
    const StartUp &withMenu = started[2];
    // Every window with words in it starts the font system; the goal is set
    // against the floor that does so too.
    Row start {"start the editor until first painted", editor.processorNanoseconds,
        withMenu.processorNanoseconds, Row::Unit::Nanoseconds, "at most 1.5x the one-menu floor"};
    start.met = start.figure && start.floor && *start.figure <= 1.5 * *start.floor;
    rows.push_back(start);
    Row bareFloor {"  the same, against the bare window", editor.processorNanoseconds,
        bare.processorNanoseconds, Row::Unit::Nanoseconds, ""};
    bareFloor.informative = true;
    rows.push_back(bareFloor);
    Row again = timeRatio(results, "  the same windows again, in one process", "BM_StartEditor",
        "BM_StartBareWindow", 1.5);
    again.informative = true;
    rows.push_back(again);

    rows.push_back(
        timeRatio(results, "grid lines off or on", "BM_GridLines", "BM_FullRepaint", 2.0));
    rows.push_back(timeRatio(results, "New Map on a full map", "BM_NewMap", "BM_FullRepaint", 2.0));
    rows.push_back(
        timeRatio(results, "Clear Map on a full map", "BM_ClearMap", "BM_FullRepaint", 2.0));

    Row memory {"resident memory after start-up", editor.residentKilobytes, bare.residentKilobytes,
        Row::Unit::Kilobytes, "at most 8 MB more"};
    memory.met = memory.figure && memory.floor && *memory.figure - *memory.floor <= 8 * 1024;
    rows.push_back(memory);

    rows.push_back(timeRatio(results, "export .png", "BM_ExportPng", "BM_SaveImagePng", 2.0));
    for (const auto &[what, name, limit, goal] :
        std::initializer_list<std::tuple<const char *, const char *, double, const char *>> {
            {"export .png", "BM_ExportPng", 20e6, "under 20 ms"},
            {"export .uvtt, 70 px a cell", "BM_ExportUvtt/70", 20e6, "under 20 ms"},
            {"export .uvtt, 100 px a cell", "BM_ExportUvtt/100", 20e6, "under 20 ms"},
            {"export .pdf, 15 pages", "BM_ExportPdf", 100e6, "under 100 ms"},
            {"export .tmx and its tileset", "BM_ExportTmx", 20e6, "under 20 ms"},
            {"export .tmj and its tileset", "BM_ExportTmj", 20e6, "under 20 ms"},
            {"export .csv", "BM_ExportCsv", 20e6, "under 20 ms"}})
        rows.push_back(timeLimit(results, what, name, "BM_SaveImagePng", limit, goal));
    rows.push_back(
        timeRatio(results, "lint of 2,000 map files", "BM_LintMaps", "BM_CheckMaps", 1.5));
    Row sight {"sight from one cell, median of the samples' cells",
        results.counter("BM_SightFromEveryCell", "median_ns"),
        results.nanoseconds("BM_PassOverCells"), Row::Unit::Nanoseconds, "under 20 us"};
    sight.met = sight.figure && *sight.figure < 20e3;
    rows.push_back(sight);
    rows.push_back(timeRatio(
        results, "one reveal reaching 50 players", "BM_TableReveal50", "BM_BareBroadcast50", 1.5));
    rows.push_back(timeRatio(results, "a followed move of the party reaching 50 players",
        "BM_TablePartyFollow50", "BM_TableReveal50", 1.5));

    for (const auto &[what, name, counter, limit, goal] : std::initializer_list<
             std::tuple<const char *, const char *, const char *, double, const char *>> {
             {"generate one map, median of 1,000 seeds a kind", "BM_GenerateThousandSeeds",
                 "median_ns", 5e6, "at most 5 ms"},
             {"generate one map, slowest of 1,000 seeds a kind", "BM_GenerateThousandSeeds",
                 "slowest_ns", 20e6, "under 20 ms"},
             {"generate around a kept wall ring, median of 1,000 seeds",
                 "BM_GenerateAroundThousandSeeds", "median_ns", 5e6, "at most 5 ms"},
             {"generate around a kept wall ring, slowest of 1,000 seeds",
                 "BM_GenerateAroundThousandSeeds", "slowest_ns", 20e6, "under 20 ms"}}) {
        Row row {what, results.counter(name, counter), results.nanoseconds("BM_EncodeGeneratedMap"),
            Row::Unit::Nanoseconds, goal};
        row.met = row.figure && *row.figure <= limit;
        rows.push_back(row);
    }
    return rows;
}

bool hasOption(int argc, char **argv, const char *option)
{
    return std::any_of(argv + 1, argv + argc, [option](const char *argument) {
        return std::strncmp(argument, option, std::strlen(option)) == 0;
    });
}

} // namespace

int main(int argc, char **argv)
{
    BenchEnvironment environment;
    QApplication app(argc, argv);

    // Medians of five runs unless asked otherwise: the machine is rarely quiet.
    std::vector<char *> arguments(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=5";
    char aggregatesOnly[] = "--benchmark_report_aggregates_only=true";
    if (!hasOption(argc, argv, "--benchmark_repetitions")) {
        arguments.push_back(repetitions);
        arguments.push_back(aggregatesOnly);
    }
    int count = int(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data()))
        return 2;

    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    return printTable(tableRows(reporter)) ? 0 : 1;
}
