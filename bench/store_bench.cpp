// Store speed on a large data file: loading 10,000 reminders, and one
// reminder change compared with writing the same bytes once with a plain
// write + fsync + rename (the least any crash-safe write can cost).
#include <benchmark/benchmark.h>

#include "bench_support.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

#include "platform/atomic_file.h"
#include "platform/ini_document.h"
#include "platform/locale_format.h"
#include "store/remind_file.h"

namespace {

constexpr int ReminderCount = 10000;

std::string DataPath() { return BenchFolder() + "/" + DataFileName; }

TRmRecordStruct MakeReminder(int i) {
    TRmRecordStruct r;
    r.Description = "Reminder number " + std::to_string(i) + " with a typical description";
    r.CreateDateTime = EncodeDateTime(2026, 1, 1, 0, 0, 0) + i * OneMinute;
    r.LastTime = r.CreateDateTime;
    r.WakeTime = EncodeTime(9, 30, 0);
    r.Voice = "default.mp3";
    r.Period = static_cast<uint8_t>(i % 5);
    r.SetWakeDate(EncodeDate(2026, 12, 24));
    return r;
}

void WriteLargeDataFile() { WriteDataFile(DataPath(), ReminderCount, MakeReminder); }

void BM_LoadAll(benchmark::State& state) {
    for (auto _ : state) {
        auto store = std::make_unique<TRemindFile>(DataPath());
        benchmark::DoNotOptimize(store->Records().size());
        if (store->Records().size() != ReminderCount) state.SkipWithError("file did not load");
        state.PauseTiming();  // freeing 10,000 records is not loading them
        store.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadAll)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_UpdateRecord(benchmark::State& state) {
    TRemindFile store(DataPath());
    TRmRecordStruct* r = store.Records()[ReminderCount / 2].get();
    int n = 0;
    for (auto _ : state) {
        r->Description = "changed " + std::to_string(n++);
        store.UpdateRecord(r);
    }
}
BENCHMARK(BM_UpdateRecord)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlainWriteFsyncRename(benchmark::State& state) {
    std::string bytes;
    ReadWholeFile(DataPath(), bytes);
    const std::string temp = BenchFolder() + "/plain.tmp";
    const std::string target = BenchFolder() + "/plain.dat";
    for (auto _ : state) {
        int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        benchmark::DoNotOptimize(write(fd, bytes.data(), bytes.size()));
        fsync(fd);
        close(fd);
        rename(temp.c_str(), target.c_str());
    }
}
BENCHMARK(BM_PlainWriteFsyncRename)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    TFormatSettings iso;
    SetFormatSettings(iso);
    WriteLargeDataFile();
    benchmark::Initialize(&argc, argv);
    TRecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    double load = reporter.RealTime["BM_LoadAll/real_time"];
    double update = reporter.RealTime["BM_UpdateRecord/real_time"];
    double plain = reporter.RealTime["BM_PlainWriteFsyncRename/real_time"];
    std::printf("\nLoadAll of %d reminders: %.2f ms (target under 15 ms)\n", ReminderCount, load);
    if (plain > 0)
        std::printf("UpdateRecord: %.2f ms; plain write+fsync+rename of the same bytes: %.2f ms; ratio %.2f (target at most 1.5)\n",
                    update, plain, update / plain);
    benchmark::Shutdown();
    return 0;
}
