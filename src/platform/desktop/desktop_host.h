// The desktop host: the form framework on real X11 windows through GTK 3.
// Every form is a borderless GtkWindow holding a GtkOverlay: the drawing
// area shows the image the form composed, and a GtkFixed on top (the native
// layer) holds native widgets at form coordinates. The GLib main loop drives
// the framework's timers and queued calls; GDK input is translated into the
// TForm::Host... entry points.
// Call PrepareDesktopEnvironment() and gtk_init() before constructing the
// host; construct it before the application and free it after.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "platform/gui/form.h"
#include "platform/gui/host.h"

typedef struct _GtkWidget GtkWidget;
typedef struct _GSource GSource;

struct TDesktopWindow;

// Settings the process needs before GTK starts: no OpenGL (GDK_GL=disable)
// and the X11 backend (XWayland under Wayland); values already set by the
// user are kept.
void PrepareDesktopEnvironment();

// PrepareDesktopEnvironment, then GTK's start on the display; false when
// there is no display to open.
bool StartDesktop(int* argc, char*** argv);

// A plain GTK window with nothing of the framework: the baseline that
// start-up figures are compared with. `onFirstPaint` runs once, right after
// the first frame is on screen; the call returns after QuitPlainWindow().
void RunPlainWindow(int width, int height, const std::function<void()>& onFirstPaint);
void QuitPlainWindow();

// The GtkFixed over `form`'s surface where native widgets go; nullptr while
// the form has no window yet.
GtkWidget* NativeLayerOf(TForm& form);

class TDesktopHost : public THost {
public:
    TDesktopHost();
    ~TDesktopHost() override;
    TDesktopHost(const TDesktopHost&) = delete;
    TDesktopHost& operator=(const TDesktopHost&) = delete;

    // The host alive now (one per process), or null.
    static TDesktopHost* Current() { return FCurrent; }
    // The GtkWindow of a form's window, or null (tests and the native layer).
    GtkWidget* GtkWindowOf(THostWindow window) const;
    GtkWidget* NativeLayer(THostWindow window) const;
    // Whether transparency reaches the screen through an RGBA visual; when
    // not, windows are cut to the shape of their opaque pixels.
    bool Composited() const { return FComposited; }
    // How many times the window's surface was drawn on screen (tests wait
    // for the first frame).
    int DrawCount(THostWindow window) const;
    // Runs once, right after the first frame of any window is on screen
    // (start-up measurements).
    std::function<void()> OnFirstPaint;

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
    int64_t NowMs() const override;
    void ScheduleWake(int64_t atMs) override;
    void WakeUp() override;
    void RunLoop(TForm* modalForm, const std::function<bool()>& done) override;
    void ProcessPendingInput() override;
    TRect WorkArea() const override;
    TPoint CursorPos() const override;
    int KeyRepeatDelayMs() const override;
    int KeyRepeatIntervalMs() const override;
    int ScrollThumbSize() const override;
    int DoubleClickTimeMs() const override;
    std::unique_ptr<TNativeTextEditor> CreateTextEditor(TForm& form) override;
    std::unique_ptr<TNativeDatePicker> CreateDatePicker(TForm& form) override;
    std::unique_ptr<TNativeTimePicker> CreateTimePicker(TForm& form) override;
    std::unique_ptr<TNativeWebView> CreateWebView(TForm& form) override;
    std::unique_ptr<TTrayIcon> CreateTrayIcon() override;
    TDialogResult RunFileDialog(TFileDialogKind kind, TFileDialogOptions& options, TForm* owner) override;
    TClipboard& Clipboard() override;
    std::unique_ptr<TSoundDevice> CreateSoundDevice() override;

private:
    friend struct TDesktopWindow;
    TDesktopWindow* Find(THostWindow window) const;
    // Keeps our stay-on-top windows above the others, also where no window
    // manager honours the keep-above hint.
    void RaiseTopmost();
    static int Dispatch(void* data);

    static TDesktopHost* FCurrent;
    bool FComposited = false;
    std::map<THostWindow, std::unique_ptr<TDesktopWindow>> FWindows;
    THostWindow FNextWindow = 1;
    GSource* FWakeSource = nullptr;   // ready at once after WakeUp (any thread)
    GSource* FTimerSource = nullptr;  // ready at the requested wake time
    GtkWidget* FHintWindow = nullptr;
    TBitmap32 FHintImage;
};
