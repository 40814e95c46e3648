// A console reporter that also remembers each benchmark's time per
// iteration, so a benchmark program can print its targets and ratios after
// the run.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class TRecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            RealTime[run.benchmark_name()] = run.GetAdjustedRealTime();
            CpuTime[run.benchmark_name()] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // In the unit each benchmark was registered with.
    std::map<std::string, double> RealTime;
    std::map<std::string, double> CpuTime;
};
