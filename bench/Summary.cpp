#include "Summary.h"

#include <cstdio>

namespace vellumor::bench {

void CollectingReporter::ReportRuns(const std::vector<Run> &runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run &run : runs) {
        if (run.error_occurred)
            continue;
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (run.run_type == Run::RT_Aggregate && !median)
            continue;
        Result result;
        result.nanoseconds
            = run.GetAdjustedCPUTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
        for (const auto &[name, value] : run.counters)
            result.counters[name] = value.value;
        // The table asks by the function and its arguments alone, as in
        // "BM_RenderFullMap/2", whatever else the full name carries.
        std::string name = run.run_name.function_name;
        if (!run.run_name.args.empty())
            name += "/" + run.run_name.args;
        (median ? m_medians : m_single)[name] = result;
    }
}

const CollectingReporter::Result *CollectingReporter::find(const std::string &name) const
{
    if (const auto found = m_medians.find(name); found != m_medians.end())
        return &found->second;
    if (const auto found = m_single.find(name); found != m_single.end())
        return &found->second;
    return nullptr;
}

std::optional<double> CollectingReporter::nanoseconds(const std::string &name) const
{
    if (const Result *result = find(name))
        return result->nanoseconds;
    return std::nullopt;
}

std::optional<double> CollectingReporter::counter(
    const std::string &name, const std::string &counter) const
{
    if (const Result *result = find(name)) {
        if (const auto found = result->counters.find(counter); found != result->counters.end())
            return found->second;
    }
    return std::nullopt;
}

namespace {

std::string shown(std::optional<double> value, Row::Unit unit)
{
    if (!value)
        return "-";
    char text[32];
    switch (unit) {
    case Row::Unit::Nanoseconds:
        if (*value >= 1e6)
            std::snprintf(text, sizeof text, "%.2f ms", *value / 1e6);
        else if (*value >= 1e3)
            std::snprintf(text, sizeof text, "%.1f us", *value / 1e3);
        else
            std::snprintf(text, sizeof text, "%.0f ns", *value);
        break;
    case Row::Unit::Pixels:
        std::snprintf(text, sizeof text, "%.0f px", *value);
        break;
    case Row::Unit::Kilobytes:
        std::snprintf(text, sizeof text, "%.1f MB", *value / 1024);
        break;
    }
    return text;
}

} // namespace

bool printTable(const std::vector<Row> &rows)
{
    bool allMet = true;
    std::printf("\nMedians; times are processor time.\n");
    std::printf(
        "%-44s %12s %12s %8s  %-32s %s\n", "what", "figure", "floor", "ratio", "goal", "met");
    std::printf("%s\n", std::string(118, '-').c_str());
    for (const Row &row : rows) {
        std::string ratio = "-";
        if (row.figure && row.floor && *row.floor > 0) {
            char text[16];
            std::snprintf(text, sizeof text, "%.2fx", *row.figure / *row.floor);
            ratio = text;
        }
        const bool met = row.met && row.figure && row.floor;
        if (!row.informative)
            allMet = allMet && met;
        std::printf("%-44s %12s %12s %8s  %-32s %s\n", row.what.c_str(),
            shown(row.figure, row.unit).c_str(), shown(row.floor, row.unit).c_str(), ratio.c_str(),
            row.informative ? "(for comparison)" : row.goal.c_str(),
            row.informative ? ""
                : met       ? "yes"
                            : "NO");
    }
    std::printf(
        "\n%s\n", allMet ? "Every figure meets its goal." : "Some figures miss their goal.");
    return allMet;
}

} // namespace vellumor::bench
