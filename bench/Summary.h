#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vellumor::bench {

// The console report as usual, keeping each benchmark's median (or its only
// run) for the table that follows.
class CollectingReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override;

    // Processor time per iteration in nanoseconds: on a machine shared with
    // other work it varies far less than the wall-clock time, and on a quiet one
    // the two agree.
    std::optional<double> nanoseconds(const std::string &name) const;
    std::optional<double> counter(const std::string &name, const std::string &counter) const;

private:
    struct Result
    {
        double nanoseconds = 0;
        std::map<std::string, double> counters;
    };
    const Result *find(const std::string &name) const;

    std::map<std::string, Result> m_medians;
    std::map<std::string, Result> m_single;
};

// One line of the table: a figure beside its floor, and whether it meets its goal.
struct Row
{
    std::string what;
    std::optional<double> figure;
    std::optional<double> floor;
    enum class Unit { Nanoseconds, Pixels, Kilobytes } unit;
    std::string goal;
    bool met = false;
    bool informative = false; // shown for comparison, with no goal of its own
};

// Prints the rows; returns whether every row met its goal.
bool printTable(const std::vector<Row> &rows);

} // namespace vellumor::bench
