#include "RatioReporter.h"

#include <algorithm>
#include <cstdio>

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        if (run.error_occurred || run.run_type != Run::RT_Iteration)
            continue;
        const double seconds =
            run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        m_microseconds[run.run_name.function_name].push_back(seconds * 1e6);
    }
    ConsoleReporter::ReportRuns(runs);
}

double RatioReporter::MedianMicroseconds(const std::string& name) const {
    const auto found = m_microseconds.find(name);
    if (found == m_microseconds.end() || found->second.empty())
        return -1;
    std::vector<double> times = found->second;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void RatioReporter::PrintRatios(const std::vector<Pair>& pairs, std::ostream& out) const {
    char line[256];
    std::snprintf(line, sizeof line, "\n%-40s %11s  %-33s %11s  %7s  %s\n", "operation",
                  "time (us)", "floor", "floor (us)", "ratio", "target");
    out << line << std::string(124, '-') << '\n';
    for (const Pair& pair : pairs) {
        const double subject = MedianMicroseconds(pair.subject);
        const double floor = MedianMicroseconds(pair.floor);
        if (subject < 0 || floor <= 0) {
            std::snprintf(line, sizeof line, "%-40s %11s  %-33s %11s  %7s\n", pair.subject.c_str(),
                          "-", pair.floor.c_str(), "-", "-");
            out << line;
            continue;
        }
        const double ratio = subject / floor;
        std::string target = "-";
        if (pair.targetRatio > 0) {
            char text[48];
            std::snprintf(text, sizeof text, "<= %.1fx: %s", pair.targetRatio,
                          ratio <= pair.targetRatio ? "met" : "MISSED");
            target = text;
        }
        std::snprintf(line, sizeof line, "%-40s %11.1f  %-33s %11.1f  %6.2fx  %s\n",
                      pair.subject.c_str(), subject, pair.floor.c_str(), floor, ratio,
                      target.c_str());
        out << line;
    }
}
