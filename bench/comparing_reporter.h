// Google Benchmark's console table, plus each benchmark's median rate and time kept for a comparison that
// the program prints under the table.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tazen::bench {

class ComparingReporter : public benchmark::ConsoleReporter
{
public:
    using Summary = std::function<void(const ComparingReporter&)>;

    explicit ComparingReporter(Summary summary) : summary_(std::move(summary)) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            // With repetitions the median stands for the benchmark; it is reported after the single runs.
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.error_occurred || (run.run_type != Run::RT_Iteration && !median))
                continue;
            const std::string name = run.run_name.function_name;
            const auto bytes = run.counters.find("bytes_per_second");
            rates_[name] = bytes != run.counters.end() ? bytes->second.value / 1e6 : 0.0;
            nanoseconds_[name] = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        summary_(*this);
    }

    // MB/s, or 0 when the benchmark did not run or reports no bytes.
    double Rate(const std::string& name) const { return find(rates_, name); }
    double Nanoseconds(const std::string& name) const { return find(nanoseconds_, name); }

    // One line of the comparison: two rates, their ratio and whether it reaches the target.
    void PrintRateRow(const std::string& label, const std::string& ours, const std::string& theirs, double target) const
    {
        PrintRow(label, Rate(ours), Rate(theirs), target);
    }

    // The same for rates in MB/s measured otherwise; nothing when either is missing.
    static void PrintRow(const std::string& label, double ourRate, double theirRate, double target)
    {
        if (ourRate <= 0 || theirRate <= 0)
            return;
        const double ratio = ourRate / theirRate;
        std::printf("%-12s %11.1f MB/s %11.1f MB/s %7.2fx %7.2fx %s\n", label.c_str(), ourRate, theirRate, ratio,
                    target, ratio >= target ? "met" : "MISSED");
    }

private:
    static double find(const std::map<std::string, double>& values, const std::string& name)
    {
        const auto it = values.find(name);
        return it != values.end() ? it->second : 0.0;
    }

    Summary summary_;
    std::map<std::string, double> rates_;
    std::map<std::string, double> nanoseconds_;
};

} // namespace tazen::bench
