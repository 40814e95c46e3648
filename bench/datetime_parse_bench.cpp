// Speed of reading one stored date-time back, as the store does four times
// per reminder on load: the public reader (fast path first) against the
// general reader alone, under ISO, a 12-hour en_US-like and a zh_CN-like
// format. The texts are what the store writes under those formats, read
// through string views as the store reads them from the file's text.
#include <benchmark/benchmark.h>

#include "bench_support.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/locale_format.h"
#include "platform/locale_reading.h"

namespace {

struct TNamedFormats {
    const char* Name;
    TFormatSettings Settings;
};

TFormatSettings Formats(const char* date, const char* time, const char* am, const char* pm) {
    TFormatSettings s;
    s.ShortDateFormat = date;
    s.LongTimeFormat = time;
    s.TimeAMString = am;
    s.TimePMString = pm;
    return s;
}

const TNamedFormats FormatsUnderTest[] = {
    {"iso", TFormatSettings{}},
    {"en_US", Formats("MM/dd/yyyy", "hh:mm:ss tt", "AM", "PM")},
    {"zh_CN", Formats("yyyy年MM月dd日", "HH时mm分ss秒", "上午", "下午")},
};

// Reminders created a few minutes apart over a year, one in eight at
// midnight (the date alone), as a data file holds them.
std::vector<std::string> StoredTexts(const TFormatSettings& settings) {
    std::vector<std::string> texts;
    for (int i = 0; i < 1024; ++i) {
        TDateTime value = EncodeDateTime(2026, 1, 1, 0, 0, 0) + i * 0.37 + (i % 8 == 0 ? 0 : i * 7 * OneMinute);
        if (i % 8 == 0) value = DateOf(value);
        texts.push_back(DateTimeToStr(value, settings));
    }
    return texts;
}

// The formats are installed, and read with the default settings, as the
// store reads them.
template <bool Fast>
void BM_Read(benchmark::State& state) {
    SetFormatSettings(FormatsUnderTest[state.range(0)].Settings);
    const TFormatSettings& settings = FormatSettings();
    state.SetLabel(FormatsUnderTest[state.range(0)].Name);
    const std::vector<std::string> texts = StoredTexts(settings);
    std::vector<std::string_view> views(texts.begin(), texts.end());
    size_t i = 0;
    for (auto _ : state) {
        TDateTime value = 0;
        bool read = Fast ? TryStrToDateTime(views[i], value)
                         : locale_detail::TryStrToDateTimeGeneral(views[i], value, settings);
        if (!read) state.SkipWithError("a stored text did not read");
        benchmark::DoNotOptimize(value);
        i = (i + 1) & 1023;
    }
}
BENCHMARK_TEMPLATE(BM_Read, true)->Name("BM_FastPath")->DenseRange(0, 2);
BENCHMARK_TEMPLATE(BM_Read, false)->Name("BM_GeneralPath")->DenseRange(0, 2);

// The plain figure, or the median when the run was repeated.
double CpuTimeOf(TRecordingReporter& reporter, const std::string& name) {
    auto found = reporter.CpuTime.find(name);
    if (found != reporter.CpuTime.end()) return found->second;
    found = reporter.CpuTime.find(name + "_median");
    return found != reporter.CpuTime.end() ? found->second : 0;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    TRecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n");
    for (int i = 0; i < 3; ++i) {
        std::string arg = "/" + std::to_string(i);
        double fast = CpuTimeOf(reporter, "BM_FastPath" + arg);
        double general = CpuTimeOf(reporter, "BM_GeneralPath" + arg);
        std::printf("Date-time read, %-5s: fast path %.1f ns per read (target under 100 ns), general %.1f ns "
                    "(%.1fx); 40,000 reads %.2f ms\n",
                    FormatsUnderTest[i].Name, fast, general, fast > 0 ? general / fast : 0.0, fast * 40000 / 1e6);
    }
    benchmark::Shutdown();
    return 0;
}
