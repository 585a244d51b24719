#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

// The console output of Google Benchmark, plus a closing table that sets each measured operation
// beside its floor: the time a bare load (and replace) of the same file takes. The ratio is what
// says whether the stamping code itself costs anything worth looking at.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Pair {
        std::string subject;
        std::string floor;
        double targetRatio = 0; // 0: no target, only the figure
    };

    explicit RatioReporter(OutputOptions options) : ConsoleReporter(options) {}

    void ReportRuns(const std::vector<Run>& runs) override;

    // Figures missing because a filter left a benchmark out show as "-".
    void PrintRatios(const std::vector<Pair>& pairs, std::ostream& out) const;

private:
    // Median over repetitions, so one slow fsync does not decide a ratio.
    double MedianMicroseconds(const std::string& name) const;

    std::map<std::string, std::vector<double>> m_microseconds;
};
