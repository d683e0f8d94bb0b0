#pragma once
// A console reporter that also keeps the best real time of each benchmark, so that a program can
// print its ratios against a floor at the end. Times are kept under the full name of the run
// ("BM_Load/reference:1", "BM_Refresh/real_time") and under the function's name alone
// ("BM_Load"), the best of all its runs and repetitions.

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace bench_support {

class BestTimes : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations == 0 || run.run_type != Run::RT_Iteration)
                continue;
            const double t = run.GetAdjustedRealTime();
            keep(run.benchmark_name(), t);
            keep(run.run_name.function_name, t);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // The best time of a run or function, or a negative value when it did not run.
    double operator[](const std::string& name) const
    {
        const auto it = m_best.find(name);
        return it == m_best.end() ? -1.0 : it->second;
    }

private:
    void keep(const std::string& name, double t)
    {
        const auto it = m_best.find(name);
        if (it == m_best.end() || t < it->second)
            m_best[name] = t;
    }
    std::map<std::string, double> m_best;
};

} // namespace bench_support
