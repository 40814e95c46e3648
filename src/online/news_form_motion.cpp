// TFrmNews's motion: the slide up from below the work area, the minute's
// rest and the fade, which stops while the mouse is over the window.
#include <algorithm>

#include "online/news_form.h"
#include "platform/gui/application.h"
#include "platform/gui/timer.h"

int TFrmNews::RestTop() const { return Application->Host().WorkArea().Bottom - Height(); }

void TFrmNews::timer1Timer() {
    int top = Top() - SlideStep;
    const int rest = RestTop();
    if (top <= rest) {
        top = rest;
        timer1->SetEnabled(false);
        timer2->SetEnabled(true);
    }
    SetBounds(Left(), top, Width(), Height());
}

void TFrmNews::timer2Timer() {
    // The first tick ends the rest; from then on the window fades.
    if (timer2->Interval() > FadeIntervalMs) {
        timer2->SetInterval(FadeIntervalMs);
        FFading = true;
    }
    // Never below the end value, whatever alpha the fade started from.
    const int alpha = std::max<int>(FadeEndAlpha, Opacity() - FadeStep);
    SetOpacity(uint8_t(alpha));
    // The user is looking at it: it stays as it is until closed.
    if (MouseInside()) timer2->SetEnabled(false);
    if (alpha <= FadeEndAlpha) {
        timer2->SetEnabled(false);
        Close();
    }
}

bool TFrmNews::MouseInside() const { return BoundsRect().Contains(Application->Host().CursorPos()); }
