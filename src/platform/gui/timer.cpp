// TTimer over the application's timer queue.
#include "platform/gui/timer.h"

#include "platform/gui/application.h"

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    Reschedule();
    FLoading = false;
}

TTimer::~TTimer() {
    if (Application) Application->CancelTimer(*this);
}

void TTimer::SetInterval(int ms) {
    if (ms == FInterval) return;
    FInterval = ms;
    Reschedule();
}

void TTimer::SetEnabled(bool value) {
    if (value == FEnabled) return;
    FEnabled = value;
    Reschedule();
}

void TTimer::Restart() { Reschedule(); }

void TTimer::Reschedule() {
    if (!Application) return;
    Application->CancelTimer(*this);
    if (FEnabled && FInterval > 0) Application->ScheduleTimer(*this, Application->Host().NowMs() + FInterval);
}

void TTimer::Fire() {
    // Rescheduled before the handler runs: the handler may disable the
    // timer, change its interval or free it.
    Reschedule();
    if (OnTimer) OnTimer(this);
}
