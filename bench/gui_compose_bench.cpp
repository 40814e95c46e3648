// Form composition speed on the in-memory host: a 660 x 455 window holding
// 50 controls (opaque panels, rounded buttons, and controls that show
// through with a half-transparent veil over what lies beneath them),
// composed whole; and one control's repaint on its own.
#include <benchmark/benchmark.h>

#include "bench_support.h"

#include <cstdio>

#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/offscreen/offscreen_host.h"

namespace {

constexpr int FormWidth = 660, FormHeight = 455, ControlCount = 50;

class TBenchControl : public TControl {
public:
    enum class TKind { Panel, Button, Veil };
    TBenchControl(TComponent* owner, TKind kind) : TControl(owner), FKind(kind) {}

protected:
    void Paint(TBitmap32& canvas) override {
        switch (FKind) {
            case TKind::Panel: canvas.FillRect(PaintClip(), Color32(230, 236, 245)); break;
            case TKind::Button:
                PaintParentBackground(canvas);
                canvas.RoundRect(canvas.BoundsRect(), 4, Color32(80, 140, 220), Color32(30, 60, 120));
                break;
            case TKind::Veil:
                PaintParentBackground(canvas);
                canvas.FillRectBlend(PaintClip(), Color32(0, 0, 0, 60));
                break;
        }
    }

private:
    TKind FKind;
};

struct TBenchWindow {
    TOffscreenHost Host;
    TApplication App{Host};
    TForm* Form = nullptr;
    TControl* One = nullptr;

    TBenchWindow() {
        Form = App.CreateForm<TForm>();
        Form->SetBounds(0, 0, FormWidth, FormHeight);
        // A grid of 10 x 5 cells, each 60 x 80, kinds mixed so that every
        // veil lies over other controls.
        for (int i = 0; i < ControlCount; ++i) {
            auto kind = TBenchControl::TKind(i % 3);
            auto* c = Form->Add<TBenchControl>(kind);
            int col = i % 10, row = i / 10;
            c->SetBounds(10 + col * 64, 10 + row * 88, kind == TBenchControl::TKind::Veil ? 90 : 60, 80);
            if (i == 25) One = c;
        }
        Form->Show();
        Host.Settle();
    }
};

void BM_ComposeWholeWindow(benchmark::State& state) {
    TBenchWindow w;
    for (auto _ : state) {
        w.Form->InvalidateFormRect(w.Form->ClientRect());
        w.Form->PaintNow();
    }
    state.counters["controls"] = ControlCount;
}
BENCHMARK(BM_ComposeWholeWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RepaintOneControl(benchmark::State& state) {
    TBenchWindow w;
    for (auto _ : state) {
        w.One->Invalidate();
        w.Form->PaintNow();
    }
}
BENCHMARK(BM_RepaintOneControl)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    TRecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto whole = reporter.RealTime.find("BM_ComposeWholeWindow/real_time");
    auto one = reporter.RealTime.find("BM_RepaintOneControl/real_time");
    if (whole != reporter.RealTime.end())
        std::printf("\nCompose %d x %d with %d controls: %.3f ms (target under 4 ms)\n", FormWidth, FormHeight,
                    ControlCount, whole->second);
    if (one != reporter.RealTime.end()) std::printf("Repaint of one control: %.3f ms\n", one->second);
    benchmark::Shutdown();
    return 0;
}
