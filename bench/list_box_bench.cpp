// List box speed on the in-memory host: one full paint of a 450 x 320 list
// set up as the main window's (widened item strip, skinned vertical bar)
// holding 10,000 rows scrolled to the middle, and filling such a list.
#include <benchmark/benchmark.h>

#include "bench_support.h"

#include <cstdio>
#include <string>
#include <vector>

#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/offscreen/offscreen_host.h"
#include "skin/orb_list_box.h"

namespace {

constexpr int ListWidth = 450, ListHeight = 320, RowCount = 10000;

TPngImage Strip(int frameWidth, int height, std::initializer_list<TColor32> colours) {
    TPngImage strip(frameWidth * int(colours.size()), height);
    int x = 0;
    for (TColor32 c : colours) {
        strip.FillRect(Bounds(x, 0, frameWidth, height), c);
        x += frameWidth;
    }
    return strip;
}

std::vector<std::string> Captions() {
    std::vector<std::string> captions;
    captions.reserve(RowCount);
    for (int i = 0; i < RowCount; ++i) captions.push_back("Reminder " + std::to_string(i) + ": call the office");
    return captions;
}

struct TBenchList {
    TOffscreenHost Host;
    TApplication App{Host};
    TForm* Form = nullptr;
    TOrbListBox* List = nullptr;
    std::vector<std::string> Texts = Captions();

    TBenchList() {
        Form = App.CreateForm<TForm>();
        Form->SetBounds(0, 0, ListWidth, ListHeight);
        Form->Show();
        auto* res = Form->Create<TOrbScrollBarRes>();
        const TColor32 grey = Color32(200, 200, 200), dark = Color32(120, 120, 120);
        res->Skin.ImgBack = Strip(15, 8, {grey, grey});
        res->Skin.ImgSlider = Strip(15, 22, {dark, dark, dark, grey});
        res->Skin.ImgBtnLT = res->Skin.ImgBtnRB = Strip(15, 24, {dark, dark, dark, grey});
        res->Skin.ImgCenter = Strip(15, 8, {grey, grey, grey, grey});
        res->Skin.SliderSplit = TOrbUIPadding(0, 7, 0, 15);
        res->Skin.BtnoffSet = 8;

        List = Form->Add<TOrbListBox>();
        List->SetBounds(0, 0, ListWidth, ListHeight);
        List->MultiSelect = true;
        List->SetBorderColor(clNone);
        List->SetMarginText(6);
        List->SetFontColorDown(0x800000);
        List->SetImgitem(Strip(20, 50, {Color32(230, 240, 255), Color32(200, 220, 250)}));
        List->Setitemsplit(TOrbUIPadding(5, 5, 15, 15));
        List->SetItemheight(50);
        List->SetVerScrollRes(res);
        Fill();
        Host.Settle();
        TOrbScrollBar* bar = List->VerScrollBar();
        int middle = List->ContentHeight() / 2;
        bar->SetPosition(middle);
        bar->OnScroll(bar, middle);
        Host.Settle();
        // A selected row and a hovered one in view, as while working.
        List->GetItem(List->FirstLaidOut() + 1)->Selected = true;
        Host.MouseMove(*Form, 100, 160);
    }
    void Fill() {
        for (const std::string& text : Texts) List->AddItem()->SetCaption(text);
    }
};

void BM_PaintScrolledList(benchmark::State& state) {
    TBenchList b;
    for (auto _ : state) {
        b.List->Invalidate();
        b.Form->PaintNow();
    }
    state.counters["rows"] = b.List->Count();
}
BENCHMARK(BM_PaintScrolledList)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AddItems(benchmark::State& state) {
    TBenchList b;
    for (auto _ : state) {
        state.PauseTiming();
        b.List->Clear();
        state.ResumeTiming();
        b.Fill();
    }
    state.counters["rows"] = b.List->Count();
}
BENCHMARK(BM_AddItems)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    TRecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto paint = reporter.RealTime.find("BM_PaintScrolledList/real_time");
    auto add = reporter.RealTime.find("BM_AddItems/real_time");
    if (paint != reporter.RealTime.end())
        std::printf("\nPaint of a %d x %d list of %d rows scrolled to the middle: %.3f ms (target under 2 ms)\n",
                    ListWidth, ListHeight, RowCount, paint->second);
    if (add != reporter.RealTime.end())
        std::printf("Adding %d items: %.3f ms (target under 20 ms)\n", RowCount, add->second);
    benchmark::Shutdown();
    return 0;
}
