// TOffscreenHost: windows in memory, injected input, the virtual clock.
#include "platform/offscreen/offscreen_host.h"

#include <chrono>
#include <stdexcept>

#include "platform/gfx/picture.h"
#include "platform/gui/application.h"

namespace {
// Virtual time a loop may skip ahead while it waits for its end.
constexpr int64_t LoopTimeLimitMs = 24LL * 3600 * 1000;
}  // namespace

TOffscreenHost::TOffscreenHost() {
    FBase = EncodeDateTime(2026, 1, 5, 9, 0, 0);
    SetClockSource([this] { return FBase + double(FNowMs) / MSecsPerDay; });
}

TOffscreenHost::~TOffscreenHost() { SetClockSource({}); }

void TOffscreenHost::SetDateTime(TDateTime value) { FBase = value - double(FNowMs) / MSecsPerDay; }

void TOffscreenHost::Settle() {
    if (!Application) return;
    // Bounded: a call that re-queues itself forever must not hang the test.
    for (int round = 0; round < 1000; ++round) {
        Application->DispatchPending();
        if (!Application->HasQueuedCalls()) return;
    }
}

void TOffscreenHost::Advance(int64_t ms) {
    int64_t target = FNowMs + std::max<int64_t>(0, ms);
    Settle();
    while (!FWakes.empty() && *FWakes.begin() <= target) {
        int64_t next = std::max(*FWakes.begin(), FNowMs);
        FWakes.erase(FWakes.begin());
        FNowMs = next;
        Settle();
    }
    FNowMs = target;
    Settle();
}

void TOffscreenHost::ScheduleWake(int64_t atMs) {
    // Several requests for one instant are one wake-up.
    if (FWakes.count(atMs) == 0) FWakes.insert(atMs);
}

void TOffscreenHost::WakeUp() {
    {
        std::lock_guard lock(FWakeMutex);
        FWoken = true;
    }
    FWakeSignal.notify_all();
}

// ---- windows ----

TOffscreenWindow* TOffscreenHost::Find(THostWindow window) {
    auto it = FWindows.find(window);
    return it == FWindows.end() ? nullptr : &it->second;
}

const TOffscreenWindow* TOffscreenHost::WindowOf(const TForm& form) const {
    auto it = FWindows.find(form.Window());
    return it == FWindows.end() ? nullptr : &it->second;
}

TBitmap32 TOffscreenHost::Screenshot(const TForm& form) const {
    const TOffscreenWindow* w = WindowOf(form);
    return w ? w->Image : TBitmap32();
}

bool TOffscreenHost::SaveScreenshot(const TForm& form, const std::string& path) const {
    const TOffscreenWindow* w = WindowOf(form);
    return w && !w->Image.Empty() && WritePngFile(w->Image, path);
}

TColor32 TOffscreenHost::PixelAt(const TForm& form, int x, int y) const {
    const TOffscreenWindow* w = WindowOf(form);
    return w ? w->Image.Pixel(x, y) : 0;
}

TForm* TOffscreenHost::ActiveForm() const {
    if (!Application) return nullptr;
    for (TForm* f : Application->Forms())
        if (f->Handle() == FActiveForm) return f;
    return nullptr;
}

THostWindow TOffscreenHost::CreateWindow(TForm& form) {
    THostWindow id = FNextWindow++;
    FWindows[id].Form = &form;
    return id;
}

void TOffscreenHost::DestroyWindow(THostWindow window) {
    TOffscreenWindow* w = Find(window);
    if (w && w->Form->Handle() == FActiveForm) FActiveForm = 0;
    FWindows.erase(window);
}

void TOffscreenHost::SetBounds(THostWindow window, const TRect& bounds) {
    if (auto* w = Find(window)) w->Bounds = bounds;
}

void TOffscreenHost::SetVisible(THostWindow window, bool visible) {
    TOffscreenWindow* w = Find(window);
    if (!w || w->Visible == visible) return;
    w->Visible = visible;
    if (visible && w->Activation == TActivation::Normal) SetActive(w->Form);
    if (!visible && w->Form->Handle() == FActiveForm) SetActive(nullptr);
}

void TOffscreenHost::Present(THostWindow window, const TBitmap32& image, const TRect& damage) {
    TOffscreenWindow* w = Find(window);
    if (!w) return;
    w->PresentCount++;
    w->LastDamage = damage;
    if (w->Image.Width() != image.Width() || w->Image.Height() != image.Height()) {
        w->Image = image;
        return;
    }
    TBitmap32& target = w->Image;
    // Only the damage reaches the window, as on a real screen.
    target.Draw(damage.Left, damage.Top, damage, image);
}

void TOffscreenHost::SetShape(THostWindow window, const TWindowShape& shape) {
    if (auto* w = Find(window)) w->Shape = shape;
}
void TOffscreenHost::SetOpacity(THostWindow window, uint8_t opacity) {
    if (auto* w = Find(window)) w->Opacity = opacity;
}
void TOffscreenHost::SetTransparency(THostWindow window, TTransparency mode) {
    if (auto* w = Find(window)) w->Transparency = mode;
}
void TOffscreenHost::SetStayOnTop(THostWindow window, TStayOnTop value) {
    if (auto* w = Find(window)) w->StayOnTop = value;
}
void TOffscreenHost::SetOwner(THostWindow window, THostWindow owner) {
    if (auto* w = Find(window)) w->Owner = owner;
}
void TOffscreenHost::SetActivation(THostWindow window, TActivation value) {
    if (auto* w = Find(window)) w->Activation = value;
}
void TOffscreenHost::SetWindowState(THostWindow window, TWindowState state) {
    TOffscreenWindow* w = Find(window);
    if (!w) return;
    w->State = state;
    if (state == TWindowState::Minimized && w->Form->Handle() == FActiveForm) SetActive(nullptr);
}
void TOffscreenHost::Activate(THostWindow window) {
    TOffscreenWindow* w = Find(window);
    if (w && w->Visible && w->Activation == TActivation::Normal) SetActive(w->Form);
}
void TOffscreenHost::SlideIn(THostWindow window, const TRect& finalBounds, int durationMs) {
    TOffscreenWindow* w = Find(window);
    if (!w) return;
    // The slide itself is the window manager's affair; the end state counts.
    w->SlideCount++;
    w->SlideDurationMs = durationMs;
    w->Bounds = finalBounds;
    SetVisible(window, true);
}
void TOffscreenHost::BeginSystemMove(THostWindow window, TPoint) {
    if (auto* w = Find(window)) w->SystemMoveCount++;
}
void TOffscreenHost::SetCapture(THostWindow window, bool captured) {
    if (auto* w = Find(window)) w->Captured = captured;
}
void TOffscreenHost::SetCursor(THostWindow window, TCursor cursor) {
    if (auto* w = Find(window)) w->Cursor = cursor;
}
void TOffscreenHost::ShowHint(const std::string& text, TPoint screenPoint) {
    HintText = text;
    HintPoint = screenPoint;
    if (!text.empty()) HintShowCount++;
}

void TOffscreenHost::SetActive(TForm* form) {
    uint64_t handle = form ? form->Handle() : 0;
    if (handle == FActiveForm) return;
    TForm* old = ActiveForm();
    FActiveForm = handle;
    if (old) old->HostActivated(false);
    if (form) form->HostActivated(true);
}

// ---- input ----

void TOffscreenHost::Track(TForm& form, int x, int y) { Cursor = {form.Left() + x, form.Top() + y}; }

void TOffscreenHost::MouseMove(TForm& form, int x, int y, TShiftState shift) {
    Track(form, x, y);
    form.HostMouseMove(shift, {x, y});
    Settle();
}

void TOffscreenHost::MouseDown(TForm& form, int x, int y, TMouseButton button, TShiftState shift) {
    Track(form, x, y);
    form.HostMouseDown(button, shift, {x, y});
    Settle();
}

void TOffscreenHost::MouseUp(TForm& form, int x, int y, TMouseButton button, TShiftState shift) {
    Track(form, x, y);
    form.HostMouseUp(button, shift, {x, y});
    Settle();
}

void TOffscreenHost::Click(TForm& form, int x, int y, TMouseButton button) {
    auto alive = form.Lifetime();
    MouseMove(form, x, y);
    if (alive.expired()) return;
    MouseDown(form, x, y, button);
    if (alive.expired()) return;
    MouseUp(form, x, y, button);
}

void TOffscreenHost::DoubleClick(TForm& form, int x, int y) {
    auto alive = form.Lifetime();
    Click(form, x, y);
    if (alive.expired()) return;
    MouseDown(form, x, y, TMouseButton::Left, ssLeft | ssDouble);
    if (alive.expired()) return;
    MouseUp(form, x, y, TMouseButton::Left);
}

void TOffscreenHost::Wheel(TForm& form, int x, int y, int delta, TShiftState shift) {
    Track(form, x, y);
    form.HostMouseWheel(delta, shift, {x, y});
    Settle();
}

void TOffscreenHost::MouseLeave(TForm& form) {
    form.HostMouseLeave();
    Settle();
}

void TOffscreenHost::KeyDown(TForm& form, int key, TShiftState shift) {
    form.HostKeyDown(key, shift);
    Settle();
}

void TOffscreenHost::KeyUp(TForm& form, int key, TShiftState shift) {
    form.HostKeyUp(key, shift);
    Settle();
}

void TOffscreenHost::PressKey(TForm& form, int key, TShiftState shift) {
    auto alive = form.Lifetime();
    KeyDown(form, key, shift);
    if (!alive.expired()) KeyUp(form, key, shift);
}

void TOffscreenHost::TypeText(TForm& form, const std::string& utf8) {
    form.HostKeyPress(utf8);
    Settle();
}

void TOffscreenHost::ActivateForm(TForm& form) {
    SetActive(&form);
    Settle();
}

void TOffscreenHost::DeactivateApplication() {
    SetActive(nullptr);
    Settle();
}

void TOffscreenHost::CloseRequest(TForm& form) {
    form.HostCloseRequest();
    Settle();
}

// ---- loops ----

void TOffscreenHost::QueueAction(std::function<void()> action) {
    if (action) FActions.push_back(std::move(action));
}

bool TOffscreenHost::RunOneLoopTurn() {
    if (!FActions.empty()) {
        auto action = std::move(FActions.front());
        FActions.pop_front();
        action();
        Settle();
        return true;
    }
    {
        std::lock_guard lock(FWakeMutex);
        if (FWoken) {
            FWoken = false;
            return true;
        }
    }
    if (!FWakes.empty()) {
        Advance(std::max<int64_t>(0, *FWakes.begin() - FNowMs));
        return true;
    }
    // Only a worker thread can still end the loop: wait for it to call in.
    std::unique_lock lock(FWakeMutex);
    if (!FWakeSignal.wait_for(lock, std::chrono::milliseconds(IdleWaitLimitMs), [this] { return FWoken; }))
        throw std::runtime_error("offscreen loop has nothing left that could end it");
    FWoken = false;
    return true;
}

void TOffscreenHost::RunLoop(TForm* modalForm, const std::function<bool()>& done) {
    FLoopDepth++;
    FMaxLoopDepth = std::max(FMaxLoopDepth, FLoopDepth);
    struct TDepthGuard {
        int& Depth;
        ~TDepthGuard() { Depth--; }
    } guard{FLoopDepth};
    int64_t start = FNowMs;
    if (OnLoopStart) OnLoopStart(modalForm);
    Settle();
    while (!done()) {
        if (FNowMs - start > LoopTimeLimitMs) throw std::runtime_error("offscreen loop ran a virtual day without ending");
        RunOneLoopTurn();
        Settle();
    }
}

// ---- native controls ----

std::unique_ptr<TNativeTextEditor> TOffscreenHost::CreateTextEditor(TForm& form) {
    return std::make_unique<TOffscreenTextEditor>(form, TextEditors);
}
std::unique_ptr<TNativeDatePicker> TOffscreenHost::CreateDatePicker(TForm& form) {
    return std::make_unique<TOffscreenDatePicker>(form, DatePickers);
}
std::unique_ptr<TNativeTimePicker> TOffscreenHost::CreateTimePicker(TForm& form) {
    return std::make_unique<TOffscreenTimePicker>(form, TimePickers);
}
std::unique_ptr<TNativeWebView> TOffscreenHost::CreateWebView(TForm& form) {
    if (!WebViewAvailable) return nullptr;
    return std::make_unique<TOffscreenWebView>(form, WebViews);
}
std::unique_ptr<TTrayIcon> TOffscreenHost::CreateTrayIcon() { return std::make_unique<TOffscreenTrayIcon>(TrayIcons); }

TDialogResult TOffscreenHost::RunFileDialog(TFileDialogKind kind, TFileDialogOptions& options, TForm*) {
    FileDialogCount++;
    TDialogResult result = OnFileDialog ? OnFileDialog(kind, options) : TDialogResult::Cancel;
    if (result != TDialogResult::Ok || options.DefaultExt.empty()) return result;
    // The default extension joins a name that has none, as the real dialogs do.
    std::string& name = options.FileName;
    size_t slash = name.find_last_of('/');
    size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) name += "." + options.DefaultExt;
    return result;
}

std::unique_ptr<TSoundDevice> TOffscreenHost::CreateSoundDevice() {
    return std::make_unique<TOffscreenSoundDevice>(*this, SoundFiles, SoundDevices);
}
