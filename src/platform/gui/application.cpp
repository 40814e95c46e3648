// TApplication: forms, the queue of calls, the timer queue, hints and the
// dispatch the host runs when it wakes.
#include "platform/gui/application.h"

#include <algorithm>

#include "platform/gui/form.h"
#include "platform/gui/timer.h"

TApplication* Application = nullptr;

TApplication::TApplication(THost& host) : TComponent(nullptr), FHost(host), FUIThread(std::this_thread::get_id()) {
    Application = this;
    FHintShowTimer = Create<TTimer>();
    FHintShowTimer->SetEnabled(false);
    FHintShowTimer->OnTimer = [this](TComponent*) { ShowHintNow(); };
    FHintHideTimer = Create<TTimer>();
    FHintHideTimer->SetEnabled(false);
    FHintHideTimer->OnTimer = [this](TComponent*) { CancelHint(); };
    FLoading = false;
}

TApplication::~TApplication() {
    // Newest forms first: a form may refer to the ones opened before it.
    while (!FForms.empty()) FreeForm(FForms.back().get());
    {
        std::lock_guard lock(FQueueMutex);
        FQueue.clear();
    }
    FTimers.clear();
    if (Application == this) Application = nullptr;
}

void TApplication::AddForm(std::unique_ptr<TForm> form) {
    if (!FMainForm) FMainForm = form.get();
    FFormList.push_back(form.get());
    FForms.push_back(std::move(form));
}

bool TApplication::IsForm(const TForm* form) const {
    return std::find(FFormList.begin(), FFormList.end(), form) != FFormList.end();
}

TForm* TApplication::FindForm(uint64_t handle) const {
    for (TForm* f : FFormList)
        if (f->Handle() == handle) return f;
    return nullptr;
}

void TApplication::FreeForm(TForm* form) {
    auto it = std::find_if(FForms.begin(), FForms.end(), [form](auto& f) { return f.get() == form; });
    if (it == FForms.end()) return;
    auto owned = std::move(*it);
    FForms.erase(it);
    FFormList.erase(std::remove(FFormList.begin(), FFormList.end(), form), FFormList.end());
    FPaintRequests.erase(std::remove(FPaintRequests.begin(), FPaintRequests.end(), form), FPaintRequests.end());
    if (FMainForm == form) FMainForm = nullptr;
    if (FHintControl && form->Contains(FHintControl)) CancelHint();
    owned.reset();
}

void TApplication::ReleaseForm(TForm* form) {
    if (!IsForm(form)) return;
    form->Hide();
    uint64_t handle = form->Handle();
    Defer([this, handle] {
        if (TForm* f = FindForm(handle)) FreeForm(f);
    });
}

void TApplication::Run() {
    if (FMainForm && !FMainForm->Visible()) FMainForm->Show();
    FHost.RunLoop(nullptr, [this] { return FTerminated; });
}

void TApplication::Terminate() {
    FTerminated = true;
    FHost.WakeUp();
}

void TApplication::ProcessMessages() {
    FHost.ProcessPendingInput();
    DispatchPending();
}

void TApplication::Minimize() {
    for (TForm* f : FFormList)
        if (f->Visible()) f->SetWindowState(TWindowState::Minimized);
    if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
    for (TForm* f : FFormList)
        if (f->Visible()) f->SetWindowState(TWindowState::Normal);
    if (OnRestore) OnRestore(this);
}

void TApplication::HostActivated(bool active) {
    if (active == FActive) return;
    FActive = active;
    if (!active) CancelHint();
    if (active && OnActivate) OnActivate(this);
    if (!active && OnDeactivate) OnDeactivate(this);
}

// ---- the queue of calls ----

void TApplication::PostMessage(uint64_t formHandle, uint32_t msg, intptr_t wParam, intptr_t lParam) {
    {
        std::lock_guard lock(FQueueMutex);
        FQueue.push_back({formHandle, {msg, wParam, lParam}, nullptr});
    }
    FQueueSignal.notify_all();
    FHost.WakeUp();
}

void TApplication::PostMessage(const TForm* form, uint32_t msg, intptr_t wParam, intptr_t lParam) {
    if (form) PostMessage(form->Handle(), msg, wParam, lParam);
}

void TApplication::Defer(std::function<void()> call) {
    if (!call) return;
    {
        std::lock_guard lock(FQueueMutex);
        FQueue.push_back({0, {}, std::move(call)});
    }
    FQueueSignal.notify_all();
    FHost.WakeUp();
}

bool TApplication::HasQueuedCalls() {
    std::lock_guard lock(FQueueMutex);
    return !FQueue.empty();
}

void TApplication::RunQueuedCalls() {
    // Only what is queued now: calls queued by these calls wait for the next
    // round, so a call that re-posts itself cannot starve the loop.
    size_t count;
    {
        std::lock_guard lock(FQueueMutex);
        count = FQueue.size();
    }
    for (size_t i = 0; i < count; ++i) {
        TQueued item;
        {
            std::lock_guard lock(FQueueMutex);
            if (FQueue.empty()) return;
            item = std::move(FQueue.front());
            FQueue.pop_front();
        }
        if (item.Call) {
            item.Call();
        } else if (TForm* form = FindForm(item.FormHandle)) {
            form->DeliverMessage(item.Message);
        }
    }
}

void TApplication::DispatchPending() {
    RunQueuedCalls();
    RunDueTimers();
    PaintForms();
    ScheduleNextWake();
}

// ---- timers ----

void TApplication::ScheduleTimer(TTimer& timer, int64_t dueMs) {
    CancelTimer(timer);
    timer.FKey = {dueMs, ++FTimerSeq};
    timer.FScheduled = true;
    bool first = FTimers.empty() || timer.FKey < FTimers.begin()->first;
    FTimers[timer.FKey] = &timer;
    if (first) FHost.ScheduleWake(dueMs);
}

void TApplication::CancelTimer(TTimer& timer) {
    if (!timer.FScheduled) return;
    FTimers.erase(timer.FKey);
    timer.FScheduled = false;
}

void TApplication::RunDueTimers() {
    int64_t now = FHost.NowMs();
    // A timer rescheduled while firing lands at now + Interval > now, so the
    // loop ends.
    while (!FTimers.empty() && FTimers.begin()->first.first <= now) {
        TTimer* timer = FTimers.begin()->second;
        FTimers.erase(FTimers.begin());
        timer->FScheduled = false;
        timer->Fire();
    }
}

void TApplication::ScheduleNextWake() {
    if (!FTimers.empty()) FHost.ScheduleWake(FTimers.begin()->first.first);
}

// ---- painting ----

void TApplication::RequestPaint(TForm& form) {
    if (std::find(FPaintRequests.begin(), FPaintRequests.end(), &form) == FPaintRequests.end())
        FPaintRequests.push_back(&form);
    FHost.WakeUp();
}

void TApplication::PaintForms() {
    auto requests = std::move(FPaintRequests);
    FPaintRequests.clear();
    for (TForm* form : requests)
        if (IsForm(form)) form->PaintNow();
}

// ---- hints ----

void TApplication::HoverChanged(TControl* control, TPoint screenPoint) {
    // Moving inside the same control keeps a shown hint where it is.
    if (control == FHintControl && !FHintAlive.expired()) return;
    CancelHint();
    if (!ShowHint || !control) return;
    TControl* source = nullptr;
    for (TControl* c = control; c; c = c->Parent())
        if (!c->Hint.empty()) {
            source = c;
            break;
        }
    if (!source || !source->ShowHint) return;
    FHintControl = control;
    FHintAlive = control->Lifetime();
    FHintPoint = screenPoint;
    FHintText = source->Hint.substr(0, source->Hint.find('|'));
    FHintShowTimer->SetInterval(HintPause);
    FHintShowTimer->SetEnabled(true);
    FHintShowTimer->Restart();
}

void TApplication::ShowHintNow() {
    FHintShowTimer->SetEnabled(false);
    if (FHintAlive.expired() || FHintText.empty()) return;
    // Below the pointer, clear of the cursor image.
    FHost.ShowHint(FHintText, {FHintPoint.X, FHintPoint.Y + 20});
    FHintHideTimer->SetInterval(HintHidePause);
    FHintHideTimer->SetEnabled(true);
    FHintHideTimer->Restart();
}

void TApplication::CancelHint() {
    bool shown = FHintHideTimer->Enabled();
    FHintShowTimer->SetEnabled(false);
    FHintHideTimer->SetEnabled(false);
    if (shown) FHost.ShowHint("", {});
    FHintControl = nullptr;
    FHintAlive.reset();
}

void TApplication::ControlRemoving(TControl* control) {
    if (FHintControl && control->Contains(FHintControl)) CancelHint();
}
