// Due-check speed: one five-second tick over 10,000 active reminders of
// every kind, each getting its next occurrence and its time-left text, with
// nothing due (so the tick is the scan alone, no data-file write); the same
// with the clock moving five seconds a tick, so that kept texts run out at
// their minute as they do in use, and with nothing kept between ticks. Also
// the time-left text on its own, with the unit words looked up per call and
// once.
#include <benchmark/benchmark.h>

#include "bench_support.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

#include "platform/atomic_file.h"
#include "platform/ini_document.h"
#include "platform/locale_format.h"
#include "schedule/due_check.h"
#include "schedule/recurrence.h"
#include "store/remind_file.h"

namespace {

constexpr int ReminderCount = 10000;

std::string DataPath() { return BenchFolder() + "/" + DataFileName; }

// The tick is measured at 12:00:30; every wake time is on a whole minute,
// so no reminder is within five seconds of it.
TDateTime TickMoment() { return EncodeDateTime(2026, 6, 15, 12, 0, 30); }

TRmRecordStruct MakeReminder(int i) {
    TRmRecordStruct r;
    r.CreateDateTime = EncodeDateTime(2026, 1, 1, 0, 0, 0) + i * OneMinute;
    r.LastTime = r.CreateDateTime;
    r.WakeTime = EncodeTime((i / 60) % 24, i % 60, 0);
    r.Period = static_cast<uint8_t>(i % 5);
    switch (r.Period) {
    case PeriodOnce: r.SetWakeDate(EncodeDate(2026, 12, 24)); break;  // ahead: nothing completes
    case PeriodWeekly:
        for (int w = 0; w < 7; ++w) r.RepeatData[static_cast<size_t>(w)] = (i + w) % 3 == 0 ? 1 : 0;
        break;
    case PeriodMonthly: r.RepeatData[static_cast<size_t>(i % 31)] = 1; break;
    default: r.SetWakeDate(EncodeDate(2020 + i % 6, 1 + i % 12, 1 + i % 28)); break;
    }
    return r;
}

void WriteLargeDataFile() { WriteDataFile(DataPath(), ReminderCount, MakeReminder); }

// Nothing is due in the measured tick, so nothing is written; a write
// would show up as a failed run.
class TQuietWindows : public TReminderWindows {
public:
    void ShowAlerts(const std::vector<TRmRecordStruct*>&) override { ++Calls; }
    void ShowMissed(const std::vector<TRmRecordStruct*>&) override {}
    void RefreshReminder(TRmRecordStruct*) override { ++Calls; }
    void SyncListRow(TRmRecordStruct*) override { ++Calls; }
    void RepaintList() override {}
    int Calls = 0;
};

void BM_DueTick(benchmark::State& state) {
    TRemindFile store(DataPath());
    if (store.Records().size() != ReminderCount) {
        state.SkipWithError("data file did not load");
        return;
    }
    TQuietWindows windows;
    TDueCheck check(store, windows);
    SetFixedNow(TickMoment());
    check.timerTimer();  // the first tick sets every pending moment
    for (auto _ : state) {
        check.timerTimer();
        benchmark::DoNotOptimize(check.DueList.data());
    }
    ResetClock();
    if (windows.Calls != 0 || !check.DueList.empty()) state.SkipWithError("a reminder was due or completed");
    if (store.Records()[1]->RemainText.empty()) state.SkipWithError("no time-left text was made");
    state.counters["per_reminder"] =
        benchmark::Counter(ReminderCount, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DueTick)->Unit(benchmark::kMillisecond)->UseRealTime();

// Alerts fall due as the clock moves; their writes are left out.
class TUnwrittenWindows : public TQuietWindows {
public:
    void ShowAlerts(const std::vector<TRmRecordStruct*>&) override {}
    void RefreshReminder(TRmRecordStruct*) override {}
    void SyncListRow(TRmRecordStruct*) override {}
};

void MovingClockTicks(benchmark::State& state, bool caching) {
    TRemindFile store(DataPath());
    TUnwrittenWindows windows;
    TDueCheck check(store, windows);
    check.SetCaching(caching);
    TDateTime now = TickMoment();
    SetFixedNow(now);
    check.timerTimer();
    for (auto _ : state) {
        now += 5 * OneSecond;
        SetFixedNow(now);
        check.timerTimer();
        benchmark::DoNotOptimize(check.DueList.data());
    }
    ResetClock();
}
void BM_DueTickMovingClock(benchmark::State& state) { MovingClockTicks(state, true); }
BENCHMARK(BM_DueTickMovingClock)->Unit(benchmark::kMillisecond)->UseRealTime();
void BM_DueTickNothingKept(benchmark::State& state) { MovingClockTicks(state, false); }
BENCHMARK(BM_DueTickNothingKept)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RemainingTextLookingUpWords(benchmark::State& state) {
    const TDateTime now = TickMoment();
    const TDateTime target = now + 40.5 + 3 * OneHour;
    for (auto _ : state) benchmark::DoNotOptimize(RemainingText(now, target));
}
BENCHMARK(BM_RemainingTextLookingUpWords);

void BM_RemainingTextWithWords(benchmark::State& state) {
    const TDateTime now = TickMoment();
    const TDateTime target = now + 40.5 + 3 * OneHour;
    const TTimeUnitWords words = CurrentTimeUnitWords();
    for (auto _ : state) benchmark::DoNotOptimize(RemainingText(now, target, words));
}
BENCHMARK(BM_RemainingTextWithWords);

}  // namespace

int main(int argc, char** argv) {
    TFormatSettings iso;
    SetFormatSettings(iso);
    WriteLargeDataFile();
    benchmark::Initialize(&argc, argv);
    TRecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto tick = reporter.RealTime.find("BM_DueTick/real_time");
    if (tick != reporter.RealTime.end())
        std::printf("\nOne due tick over %d reminders: %.3f ms (target under 1 ms), %.0f ns per reminder\n",
                    ReminderCount, tick->second, tick->second * 1e6 / ReminderCount);
    benchmark::Shutdown();
    return 0;
}
