// The in-memory host the tests run windows on. Windows render into bitmaps
// that tests read back; input is injected at window pixel positions; time
// is a virtual clock that only moves when a test advances it (Now() reads
// the same clock); window features are recorded for the test to inspect;
// modal loops are answered by queued actions or a callback.
// Construct the host before the application and free it after.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/datetime.h"
#include "platform/gui/form.h"
#include "platform/gui/host.h"
#include "platform/offscreen/offscreen_native.h"
#include "platform/offscreen/offscreen_sound_device.h"

struct TOffscreenWindow {
    TForm* Form = nullptr;
    TRect Bounds;
    bool Visible = false;
    TBitmap32 Image;      // what the window shows: the presented pixels
    int PresentCount = 0;
    TRect LastDamage;
    TWindowShape Shape;
    uint8_t Opacity = 255;
    TTransparency Transparency = TTransparency::Opaque;
    TStayOnTop StayOnTop = TStayOnTop::No;
    THostWindow Owner = 0;
    TActivation Activation = TActivation::Normal;
    TWindowState State = TWindowState::Normal;
    bool Captured = false;
    TCursor Cursor = TCursor::Default;
    int SlideCount = 0;
    int SlideDurationMs = 0;
    int SystemMoveCount = 0;
};

class TOffscreenHost : public THost {
public:
    TOffscreenHost();
    ~TOffscreenHost() override;

    // ---- the test's side ----
    // The date-time Now() answers at the current virtual instant.
    void SetDateTime(TDateTime value);
    // Moves the clock forward, stopping at every wake-up on the way so that
    // timers, posted messages and deferred calls run in time order.
    void Advance(int64_t ms);
    // Runs queued calls and paint passes until nothing is left to do now.
    void Settle();

    const TOffscreenWindow* WindowOf(const TForm& form) const;
    TBitmap32 Screenshot(const TForm& form) const;
    bool SaveScreenshot(const TForm& form, const std::string& path) const;
    TColor32 PixelAt(const TForm& form, int x, int y) const;
    TForm* ActiveForm() const;

    // Input at client pixel positions of the form's window.
    void MouseMove(TForm& form, int x, int y, TShiftState shift = ssNone);
    void MouseDown(TForm& form, int x, int y, TMouseButton button = TMouseButton::Left, TShiftState shift = ssNone);
    void MouseUp(TForm& form, int x, int y, TMouseButton button = TMouseButton::Left, TShiftState shift = ssNone);
    void Click(TForm& form, int x, int y, TMouseButton button = TMouseButton::Left);
    void DoubleClick(TForm& form, int x, int y);
    void Wheel(TForm& form, int x, int y, int delta, TShiftState shift = ssNone);
    void MouseLeave(TForm& form);
    void KeyDown(TForm& form, int key, TShiftState shift = ssNone);
    void KeyUp(TForm& form, int key, TShiftState shift = ssNone);
    void PressKey(TForm& form, int key, TShiftState shift = ssNone);
    void TypeText(TForm& form, const std::string& utf8);
    void ActivateForm(TForm& form);
    void DeactivateApplication();
    void CloseRequest(TForm& form);

    // Modal loops: queued actions run one per loop turn inside the next
    // loop; OnLoopStart runs when any loop starts (modalForm null for Run).
    void QueueAction(std::function<void()> action);
    std::function<void(TForm* modalForm)> OnLoopStart;
    // How long a loop with nothing left but worker threads waits for one
    // of them to call in before it fails the test instead of hanging.
    int IdleWaitLimitMs = 10000;
    int LoopDepth() const { return FLoopDepth; }
    int MaxLoopDepth() const { return FMaxLoopDepth; }

    // Tooltip as last shown.
    std::string HintText;
    TPoint HintPoint;
    int HintShowCount = 0;

    // Native control models created so far and still alive, and the file
    // dialogs: OnFileDialog answers them (unset: cancelled).
    TModelRegistry<TOffscreenTextEditor> TextEditors;
    TModelRegistry<TOffscreenDatePicker> DatePickers;
    TModelRegistry<TOffscreenTimePicker> TimePickers;
    TModelRegistry<TOffscreenWebView> WebViews;
    // False: CreateWebView answers null, as a desktop without its web
    // engine does.
    bool WebViewAvailable = true;
    TModelRegistry<TOffscreenTrayIcon> TrayIcons;
    TOffscreenClipboard ClipboardModel;
    std::function<TDialogResult(TFileDialogKind kind, TFileDialogOptions& options)> OnFileDialog;
    int FileDialogCount = 0;
    // Sound devices: what their files play like (lengths on the virtual
    // clock, plays that fail) and the devices alive now.
    TMemorySoundFiles SoundFiles;
    TModelRegistry<TOffscreenSoundDevice> SoundDevices;

    // Screen facts the tests may change.
    TRect WorkAreaRect{0, 0, 1920, 1040};
    TPoint Cursor;
    int KeyDelayMs = 500, KeyIntervalMs = 33, ThumbSize = 17, DoubleClickMs = 500;

    // ---- THost ----
    THostWindow CreateWindow(TForm& form) override;
    void DestroyWindow(THostWindow window) override;
    void SetBounds(THostWindow window, const TRect& bounds) override;
    void SetVisible(THostWindow window, bool visible) override;
    void Present(THostWindow window, const TBitmap32& image, const TRect& damage) override;
    void SetShape(THostWindow window, const TWindowShape& shape) override;
    void SetOpacity(THostWindow window, uint8_t opacity) override;
    void SetTransparency(THostWindow window, TTransparency mode) override;
    void SetStayOnTop(THostWindow window, TStayOnTop value) override;
    void SetOwner(THostWindow window, THostWindow owner) override;
    void SetActivation(THostWindow window, TActivation value) override;
    void SetWindowState(THostWindow window, TWindowState state) override;
    void Activate(THostWindow window) override;
    void SlideIn(THostWindow window, const TRect& finalBounds, int durationMs) override;
    void BeginSystemMove(THostWindow window, TPoint screenPoint) override;
    void SetCapture(THostWindow window, bool captured) override;
    void SetCursor(THostWindow window, TCursor cursor) override;
    void ShowHint(const std::string& text, TPoint screenPoint) override;
    int64_t NowMs() const override { return FNowMs; }
    void ScheduleWake(int64_t atMs) override;
    void WakeUp() override;
    void RunLoop(TForm* modalForm, const std::function<bool()>& done) override;
    void ProcessPendingInput() override {}
    TRect WorkArea() const override { return WorkAreaRect; }
    TPoint CursorPos() const override { return Cursor; }
    int KeyRepeatDelayMs() const override { return KeyDelayMs; }
    int KeyRepeatIntervalMs() const override { return KeyIntervalMs; }
    int ScrollThumbSize() const override { return ThumbSize; }
    int DoubleClickTimeMs() const override { return DoubleClickMs; }
    std::unique_ptr<TNativeTextEditor> CreateTextEditor(TForm& form) override;
    std::unique_ptr<TNativeDatePicker> CreateDatePicker(TForm& form) override;
    std::unique_ptr<TNativeTimePicker> CreateTimePicker(TForm& form) override;
    std::unique_ptr<TNativeWebView> CreateWebView(TForm& form) override;
    std::unique_ptr<TTrayIcon> CreateTrayIcon() override;
    TDialogResult RunFileDialog(TFileDialogKind kind, TFileDialogOptions& options, TForm* owner) override;
    TClipboard& Clipboard() override { return ClipboardModel; }
    std::unique_ptr<TSoundDevice> CreateSoundDevice() override;

private:
    TOffscreenWindow* Find(THostWindow window);
    void SetActive(TForm* form);
    void Track(TForm& form, int x, int y);
    bool RunOneLoopTurn();

    int64_t FNowMs = 0;
    TDateTime FBase = 0;
    std::multiset<int64_t> FWakes;
    std::map<THostWindow, TOffscreenWindow> FWindows;
    THostWindow FNextWindow = 1;
    uint64_t FActiveForm = 0;  // handle of the active form
    std::deque<std::function<void()>> FActions;
    int FLoopDepth = 0;
    int FMaxLoopDepth = 0;
    std::mutex FWakeMutex;
    std::condition_variable FWakeSignal;
    bool FWoken = false;
};
