// What the benchmark programs share: a console reporter that remembers
// each benchmark's time per iteration (so a program can print its targets
// and ratios after the run), and a scratch folder removed at exit.
#pragma once

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <stdlib.h>

#include "store/remind_file.h"

// Writes a data file holding `count` reminders made by `make`, in one write.
inline void WriteDataFile(const std::string& path, int count, TRmRecordStruct (*make)(int index)) {
    TRemindFile store(path, TConfigOnClose::Keep);
    store.Update([&] {
        for (int i = 0; i < count; ++i) store.AddRecord(std::make_unique<TRmRecordStruct>(make(i)));
    });
}

// A private folder under /tmp for the benchmark's files, made on first use
// and removed with its content when the program ends.
inline std::string BenchFolder() {
    struct TFolder {
        std::string Path;
        TFolder() {
            std::string pattern = "/tmp/olvo-bench-XXXXXX";
            if (mkdtemp(pattern.data())) Path = pattern;
        }
        ~TFolder() {
            std::error_code ignored;
            if (!Path.empty()) std::filesystem::remove_all(Path, ignored);
        }
    };
    static TFolder folder;
    return folder.Path;
}

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
