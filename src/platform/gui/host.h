// The window system behind the form framework. The framework owns the
// control tree, the timer queue and all queues of calls; a host only opens
// native top-level windows, shows the images the framework composed, feeds
// input back to the forms (TForm::Host... entry points) and wakes the
// framework when it is due. The desktop host implements it over GTK, the
// offscreen host in memory for tests.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/gfx/bitmap32.h"
#include "platform/gui/gui_types.h"
#include "platform/gui/native_controls.h"
#include "platform/sound_device.h"

class TForm;

using THostWindow = uint64_t;  // 0 is no window

struct TWindowShape {
    TShapeKind Kind = TShapeKind::Rectangle;
    int Radius = 0;     // RoundRect: corner radius in pixels
    TBitmap32 Mask;     // Mask: pixels with alpha > 0 belong to the window
};

class THost {
public:
    virtual ~THost() = default;

    // Windows. Bounds are screen coordinates of the client area; windows
    // are borderless.
    virtual THostWindow CreateWindow(TForm& form) = 0;
    virtual void DestroyWindow(THostWindow window) = 0;
    virtual void SetBounds(THostWindow window, const TRect& bounds) = 0;
    virtual void SetVisible(THostWindow window, bool visible) = 0;
    // `image` is the window's whole composed surface; only `damage` changed.
    virtual void Present(THostWindow window, const TBitmap32& image, const TRect& damage) = 0;
    virtual void SetShape(THostWindow window, const TWindowShape& shape) = 0;
    virtual void SetOpacity(THostWindow window, uint8_t opacity) = 0;
    virtual void SetTransparency(THostWindow window, TTransparency mode) = 0;
    virtual void SetStayOnTop(THostWindow window, TStayOnTop value) = 0;
    virtual void SetOwner(THostWindow window, THostWindow owner) = 0;
    virtual void SetActivation(THostWindow window, TActivation value) = 0;
    virtual void SetWindowState(THostWindow window, TWindowState state) = 0;
    virtual void Activate(THostWindow window) = 0;
    // Moves the window vertically from where it is to `finalBounds` over
    // `durationMs`; the window shows as it slides.
    virtual void SlideIn(THostWindow window, const TRect& finalBounds, int durationMs) = 0;
    // Lets the window manager move the window with the pressed button.
    virtual void BeginSystemMove(THostWindow window, TPoint screenPoint) = 0;
    virtual void SetCapture(THostWindow window, bool captured) = 0;
    virtual void SetCursor(THostWindow window, TCursor cursor) = 0;
    // The tooltip; an empty text hides it.
    virtual void ShowHint(const std::string& text, TPoint screenPoint) = 0;

    // Time and wake-ups. NowMs is a monotonic millisecond clock; the host
    // calls TApplication::DispatchPending at or after `atMs` (each request
    // carries the earliest due time and replaces the one before; a wake-up
    // with nothing due is harmless), soon after WakeUp (which any thread may
    // call), and after every input event it hands to a form.
    virtual int64_t NowMs() const = 0;
    virtual void ScheduleWake(int64_t atMs) = 0;
    virtual void WakeUp() = 0;

    // Runs the event loop (nested when one already runs) until `done`
    // answers true; `modalForm` is the form a modal loop serves, else null.
    virtual void RunLoop(TForm* modalForm, const std::function<bool()>& done) = 0;
    // Handles what input is waiting without blocking.
    virtual void ProcessPendingInput() = 0;

    // Screen facts.
    virtual TRect WorkArea() const = 0;
    virtual TPoint CursorPos() const = 0;
    virtual int KeyRepeatDelayMs() const = 0;
    virtual int KeyRepeatIntervalMs() const = 0;
    virtual int ScrollThumbSize() const = 0;
    virtual int DoubleClickTimeMs() const = 0;

    // Native controls, placed over `form`'s surface; the caller owns them
    // and frees them before the form. A host that cannot make a web view
    // (its engine is missing) answers null.
    virtual std::unique_ptr<TNativeTextEditor> CreateTextEditor(TForm& form) = 0;
    virtual std::unique_ptr<TNativeDatePicker> CreateDatePicker(TForm& form) = 0;
    virtual std::unique_ptr<TNativeTimePicker> CreateTimePicker(TForm& form) = 0;
    virtual std::unique_ptr<TNativeWebView> CreateWebView(TForm& form) = 0;
    virtual std::unique_ptr<TTrayIcon> CreateTrayIcon() = 0;
    // Runs the dialog modally over `owner` (may be null); on Ok
    // options.FileName holds the chosen path.
    virtual TDialogResult RunFileDialog(TFileDialogKind kind, TFileDialogOptions& options, TForm* owner) = 0;
    virtual TClipboard& Clipboard() = 0;
    // The sound device the windows play voice prompts through; its notices
    // reach a window through the notify function the window passes.
    virtual std::unique_ptr<TSoundDevice> CreateSoundDevice() = 0;
};
