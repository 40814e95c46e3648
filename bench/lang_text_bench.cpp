// Speed of the text lookup on warm tables: a key the active language file
// translates, and a key only the built-in English file holds (the active
// file is asked first). Windows look up every caption and hint this way.
#include <benchmark/benchmark.h>

#include "bench_support.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <unistd.h>

#include "i18n/lang_path.h"
#include "i18n/lang_text.h"
#include "platform/atomic_file.h"
#include "platform/ini_document.h"
#include "platform/text_codec.h"

extern const unsigned char MemLangResourceData[];
extern const std::size_t MemLangResourceSize;

namespace {

// A translation of every "Translation" key of the built-in file; its
// "Messages" are left out, so those come from the built-in table.
void WriteActiveLanguageFile() {
    const std::string builtIn(reinterpret_cast<const char*>(MemLangResourceData), MemLangResourceSize);
    const TIniDocument english = TIniDocument::Parse(DecodeText(builtIn).Text);
    TIniDocument translated;
    translated.SetLineBreak("\r\n");
    for (const std::string& key : english.KeyNames("Translation"))
        translated.Write("Translation", key, "übersetzt: " + english.Read("Translation", key));
    LangFilePath = BenchFolder() + "/Active.ini";
    WriteFileAtomic(LangFilePath, EncodeText(translated.Serialize(), TTextEncoding::Utf16LeBom));
    ReloadLanguage();
}

void Lookup(benchmark::State& state, const std::string& section, const std::string& key) {
    if (LangText(section, key).empty()) state.SkipWithError("key not found");
    for (auto _ : state) benchmark::DoNotOptimize(LangText(section, key, "default"));
}

void BM_KeyInActiveFile(benchmark::State& state) {
    // Written as the window passes build it, in the other letter case.
    Lookup(state, "Translation", "TfrmORMMain.btnBack.Caption");
}
BENCHMARK(BM_KeyInActiveFile);

void BM_KeyOnlyBuiltIn(benchmark::State& state) { Lookup(state, "Messages", "NoneCopmpleted"); }
BENCHMARK(BM_KeyOnlyBuiltIn);

}  // namespace

int main(int argc, char** argv) {
    WriteActiveLanguageFile();
    benchmark::Initialize(&argc, argv);
    TRecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nLangText, key in the active file: %.1f ns per lookup (target under 200 ns)\n",
                reporter.CpuTime["BM_KeyInActiveFile"]);
    std::printf("LangText, key only in the built-in file: %.1f ns per lookup (target under 200 ns)\n",
                reporter.CpuTime["BM_KeyOnlyBuiltIn"]);
    benchmark::Shutdown();
    return 0;
}
