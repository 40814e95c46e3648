// The main window's speed on the in-memory host with 1,000 and 10,000
// reminders: rebuilding the Unfinished tab's rows, the first full paint of
// the window after that, and one five-second tick (the due check over every
// reminder, then the repaint of the window).
#include <benchmark/benchmark.h>

#include "bench_support.h"

#include <cstdio>
#include <string>

#include "i18n/lang_path.h"
#include "platform/datetime.h"
#include "platform/gui/application.h"
#include "platform/offscreen/offscreen_host.h"
#include "skin/orb_list_box.h"
#include "ui/main/main_form.h"

namespace {

// Monday 2 March 2026, 10:00:00: nothing below falls due within a tick.
const TDateTime Start = EncodeDateTime(2026, 3, 2, 10, 0, 0);

TRmRecordStruct MakeReminder(int i) {
    TRmRecordStruct r;
    r.Description = "Reminder " + std::to_string(i) + ": call the office about the quarterly figures";
    r.CreateDateTime = Start - 30 + i * OneSecond;
    r.LastTime = Start;
    r.WakeTime = EncodeTime(6 + i % 3, i % 60, 0);  // 06:00 .. 08:59: passed today
    switch (i % 5) {
        case 0: r.Period = PeriodOnce; r.SetWakeDate(Start + 1 + i % 300); break;
        case 1: r.Period = PeriodDaily; r.SetWakeDate(Start - 10); break;
        case 2: r.Period = PeriodWeekly; r.RepeatData[size_t(i % 7)] = 1; r.RepeatData[size_t((i + 3) % 7)] = 1; break;
        case 3: r.Period = PeriodMonthly; r.RepeatData[size_t(i % 31)] = 1; break;
        default: r.Period = PeriodYearly; r.SetWakeDate(EncodeDate(2025, 1 + i % 12, 1 + i % 28)); break;
    }
    // A tenth of them finished: they wait on the Completed tab.
    if (i % 10 == 9) r.EndTime = Start - 2;
    return r;
}

struct TBenchWindow {
    TOffscreenHost Host;
    TApplication App{Host};
    TfrmORMMain* Window = nullptr;

    explicit TBenchWindow(int count) {
        LangFilePath = BenchFolder() + "/none.ini";  // the built-in English texts
        Host.SetDateTime(Start);
        const std::string path = BenchFolder() + "/main_" + std::to_string(count) + ".dat";
        if (!std::filesystem::exists(path)) WriteDataFile(path, count, MakeReminder);
        Window = App.CreateForm<TfrmORMMain>(std::make_unique<TRemindFile>(path, TConfigOnClose::Keep));
        Window->Show();
        Host.Settle();
    }
    void PaintAll() {
        Window->InvalidateFormRect(Window->ClientRect());
        Window->PaintNow();
    }
};

void BM_FillList(benchmark::State& state) {
    TBenchWindow w(int(state.range(0)));
    for (auto _ : state) w.Window->FillList(TReminderTab::Unfinished);
    state.counters["rows"] = w.Window->lbData->Count();
}
BENCHMARK(BM_FillList)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FirstPaint(benchmark::State& state) {
    TBenchWindow w(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        w.Window->FillList(TReminderTab::Unfinished);
        state.ResumeTiming();
        w.PaintAll();
    }
}
BENCHMARK(BM_FirstPaint)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Tick(benchmark::State& state) {
    TBenchWindow w(int(state.range(0)));
    w.Host.Advance(TDueCheck::TimerInterval);  // the first tick fills the caches
    for (auto _ : state) {
        // The same moment at every tick, so no reminder ever falls due.
        w.Host.SetDateTime(Start);
        w.Host.Advance(TDueCheck::TimerInterval);
    }
}
BENCHMARK(BM_Tick)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

void Report(const TRecordingReporter& reporter, const char* name, const char* what, double target) {
    auto it = reporter.RealTime.find(name);
    if (it == reporter.RealTime.end()) return;
    std::printf("%-44s %8.3f ms (target under %g ms)\n", what, it->second, target);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    TRecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n");
    Report(reporter, "BM_FillList/1000/real_time", "FillList, 1,000 reminders:", 20);
    Report(reporter, "BM_FirstPaint/1000/real_time", "First full paint, 1,000 reminders:", 8);
    Report(reporter, "BM_Tick/1000/real_time", "One tick with repaint, 1,000 reminders:", 4);
    Report(reporter, "BM_Tick/10000/real_time", "One tick with repaint, 10,000 reminders:", 10);
    benchmark::Shutdown();
    return 0;
}
