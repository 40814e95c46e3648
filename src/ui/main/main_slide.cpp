// TfrmORMMain's slide between the list page and the editor page. The list
// page's picture, captured when the editor opens, moves out to the left
// while the editor page follows it in from the right (and both move back
// the other way). One step of 30 pixels every 5 ms on a timer, so the
// window keeps handling input meanwhile; every step is drawn by the form's
// paint pass through a control that shows the visible part of the picture.
#include <algorithm>
#include <cstdlib>

#include "platform/gui/timer.h"
#include "skin/orb_form.h"
#include "skin/orb_panel.h"
#include "ui/main/main_form.h"

namespace {

constexpr int SlideStepPixels = 30;
constexpr int SlideIntervalMs = 5;

// The captured list page, showing its columns from Offset on at its left
// edge, as far as its width reaches.
class TSlideShot : public TControl {
public:
    using TControl::TControl;
    TBitmap32 Image;
    int Offset = 0;

protected:
    void Paint(TBitmap32& canvas) override {
        if (Image.Empty()) return;
        canvas.Draw(0, 0, {Offset, 0, Image.Width(), Image.Height()}, Image);
    }
};

TSlideShot& Shot(TControl* control) { return *static_cast<TSlideShot*>(control); }

}  // namespace

void TfrmORMMain::BuildSlideShot() {
    auto* shot = fxfrm1->Add<TSlideShot>();
    shot->SetBounds(pnlList->Left(), pnlList->Top(), pnlList->Width(), pnlList->Height());
    shot->SetVisible(false);
    FSlideShot = shot;
    FSlideTimer = Create<TTimer>();
    FSlideTimer->SetEnabled(false);
    FSlideTimer->SetInterval(SlideIntervalMs);
    FSlideTimer->OnTimer = [this](TComponent*) { SlideStep(); };
}

bool TfrmORMMain::EditorShowing() const { return FEditorInFront; }

void TfrmORMMain::SlidePages() {
    // A request while a slide runs: that slide ends where it was going
    // first, so the pages are never left half way.
    if (Sliding()) FinishSlide();
    TSlideShot& shot = Shot(FSlideShot);
    const int left = pnlList->Left(), top = pnlList->Top(), width = pnlList->Width(), height = pnlList->Height();
    if (!FEditorInFront) {
        HideRowButtons();
        shot.Image = pnlList->CaptureImage();
        shot.Offset = 0;
        shot.SetBounds(left, top, width, height);
        shot.SetVisible(true);
        pnlList->SetVisible(false);
        pnlDetails->SetBounds(left + width, top, pnlDetails->Width(), pnlDetails->Height());
        pnlDetails->SetVisible(true);
        FEditorInFront = true;
        FSlideStep = SlideStepPixels;
    } else {
        shot.Offset = width;
        shot.SetBounds(left, top, 0, height);
        shot.SetVisible(true);
        FEditorInFront = false;
        FSlideStep = -SlideStepPixels;
    }
    FSlideDistance = 0;
    FSlideTimer->SetEnabled(true);
}

void TfrmORMMain::SlideStep() {
    if (!Sliding()) {
        FSlideTimer->SetEnabled(false);
        return;
    }
    TSlideShot& shot = Shot(FSlideShot);
    const int width = pnlList->Width();
    FSlideDistance = std::min(width, FSlideDistance + std::abs(FSlideStep));
    const int shown = FSlideStep > 0 ? width - FSlideDistance : FSlideDistance;
    shot.Offset = width - shown;
    shot.SetBounds(pnlList->Left(), pnlList->Top(), shown, pnlList->Height());
    shot.Invalidate();
    pnlDetails->SetLeft(pnlDetails->Left() - FSlideStep);
    if (FSlideDistance >= width) FinishSlide();
}

void TfrmORMMain::FinishSlide() {
    FSlideTimer->SetEnabled(false);
    if (FSlideStep == 0) return;
    FSlideShot->SetVisible(false);
    const int left = pnlList->Left(), top = pnlList->Top();
    if (FSlideStep > 0) {
        pnlDetails->SetBounds(left, top, pnlDetails->Width(), pnlDetails->Height());
    } else {
        pnlList->SetVisible(true);
        pnlDetails->SetVisible(false);
        pnlDetails->SetBounds(left + pnlList->Width(), top, pnlDetails->Width(), pnlDetails->Height());
        // The picture served its way back; the next opening takes a new one.
        Shot(FSlideShot).Image = TBitmap32();
    }
    FSlideStep = 0;
    FSlideDistance = 0;
}
