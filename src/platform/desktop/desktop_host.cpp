// TDesktopHost: the GLib loop behind the framework's timers and queued
// calls, nested loops, screen facts, start-up settings and the native
// controls (made by native_widgets.h).
#include "platform/desktop/desktop_host.h"

#include <algorithm>
#include <cstdlib>

#include "platform/desktop/desktop_window.h"
#include "platform/desktop/gst_sound_device.h"
#include "platform/desktop/native_widgets.h"
#include "platform/gui/application.h"

// X11 last: its macros (None, Status ...) clash with our names.
#include <X11/XKBlib.h>
#include <gdk/gdkx.h>

TDesktopHost* TDesktopHost::FCurrent = nullptr;

void PrepareDesktopEnvironment() {
    // GTK would otherwise map a software GL stack the program never uses.
    setenv("GDK_GL", "disable", 0);
    // Shapes, keep-above and positions are X11 matters (XWayland on Wayland).
    setenv("GDK_BACKEND", "x11", 0);
}

bool StartDesktop(int* argc, char*** argv) {
    PrepareDesktopEnvironment();
    return gtk_init_check(argc, argv);
}

namespace {
// Runs `call` once the loop has nothing more urgent: the frame just drawn
// has been sent.
void AfterFrame(std::function<void()> call) {
    auto* copy = new std::function<void()>(std::move(call));
    g_idle_add_full(
        G_PRIORITY_LOW,
        [](gpointer data) {
            (*static_cast<std::function<void()>*>(data))();
            return G_SOURCE_REMOVE;
        },
        copy, [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
}

gboolean OnPlainDraw(GtkWidget* widget, cairo_t*, gpointer data) {
    g_signal_handlers_disconnect_by_func(widget, reinterpret_cast<gpointer>(&OnPlainDraw), data);
    AfterFrame(*static_cast<std::function<void()>*>(data));
    return FALSE;
}
}  // namespace

void RunPlainWindow(int width, int height, const std::function<void()>& onFirstPaint) {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), width, height);
    std::function<void()> firstPaint = onFirstPaint;
    if (firstPaint) g_signal_connect_after(window, "draw", G_CALLBACK(OnPlainDraw), &firstPaint);
    gtk_widget_show_all(window);
    gtk_main();
    gtk_widget_destroy(window);
}

void QuitPlainWindow() { gtk_main_quit(); }

void NotifyFirstPaint(TDesktopHost& host) {
    if (!host.OnFirstPaint) return;
    AfterFrame(std::move(host.OnFirstPaint));
    host.OnFirstPaint = nullptr;
}

GtkWidget* NativeLayerOf(TForm& form) {
    TDesktopHost* host = TDesktopHost::Current();
    return host && form.Window() ? host->NativeLayer(form.Window()) : nullptr;
}

namespace {

// A source that becomes ready at its ready time (set from any thread with
// g_source_set_ready_time) and calls its callback.
gboolean ReadySourceDispatch(GSource* source, GSourceFunc callback, gpointer data) {
    g_source_set_ready_time(source, -1);
    return callback ? callback(data) : G_SOURCE_CONTINUE;
}

GSourceFuncs ReadySourceFuncs = {nullptr, nullptr, ReadySourceDispatch, nullptr, nullptr, nullptr};

GSource* NewReadySource(int priority, GSourceFunc callback, gpointer data) {
    GSource* source = g_source_new(&ReadySourceFuncs, sizeof(GSource));
    g_source_set_priority(source, priority);
    // Modal loops run inside a dispatch; the framework must still be woken there.
    g_source_set_can_recurse(source, TRUE);
    g_source_set_callback(source, callback, data, nullptr);
    g_source_attach(source, nullptr);
    return source;
}

}  // namespace

TDesktopHost::TDesktopHost() {
    FCurrent = this;
    FComposited = gdk_screen_is_composited(gdk_screen_get_default());
    // Wake-ups yield to input and redraws, so a call that re-posts itself
    // cannot freeze the windows; timers run at the default priority.
    FWakeSource = NewReadySource(G_PRIORITY_DEFAULT_IDLE, &TDesktopHost::Dispatch, this);
    FTimerSource = NewReadySource(G_PRIORITY_DEFAULT, &TDesktopHost::Dispatch, this);
}

TDesktopHost::~TDesktopHost() {
    FWindows.clear();
    if (FHintWindow) gtk_widget_destroy(FHintWindow);
    g_source_destroy(FWakeSource);
    g_source_unref(FWakeSource);
    g_source_destroy(FTimerSource);
    g_source_unref(FTimerSource);
    if (FCurrent == this) FCurrent = nullptr;
}

TDesktopWindow* TDesktopHost::Find(THostWindow window) const {
    auto it = FWindows.find(window);
    return it == FWindows.end() ? nullptr : it->second.get();
}

int TDesktopHost::Dispatch(void*) {
    if (Application) Application->DispatchPending();
    return G_SOURCE_CONTINUE;
}

// ---- time and loops ----

int64_t TDesktopHost::NowMs() const { return g_get_monotonic_time() / 1000; }

void TDesktopHost::ScheduleWake(int64_t atMs) {
    // Ready times are on the same monotonic clock, in microseconds.
    g_source_set_ready_time(FTimerSource, std::max<int64_t>(0, atMs) * 1000);
}

void TDesktopHost::WakeUp() {
    // Safe from any thread: GLib locks the context and wakes its poll.
    g_source_set_ready_time(FWakeSource, 0);
}

void TDesktopHost::RunLoop(TForm*, const std::function<bool()>& done) {
    // The framework blocks input to the other forms of a modal loop; this
    // loop only has to keep the events flowing until it is done.
    if (Application) Application->DispatchPending();
    while (!done()) g_main_context_iteration(nullptr, TRUE);
}

void TDesktopHost::ProcessPendingInput() {
    // Bounded: a source that is always ready must not keep us here.
    for (int i = 0; i < 1000 && g_main_context_pending(nullptr); ++i) g_main_context_iteration(nullptr, FALSE);
}

// ---- screen facts ----

TRect TDesktopHost::WorkArea() const {
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    if (!monitor && gdk_display_get_n_monitors(display) > 0) monitor = gdk_display_get_monitor(display, 0);
    if (!monitor) return {0, 0, 1024, 768};
    // GDK reads the window manager's _NET_WORKAREA; without one it is the
    // whole monitor.
    GdkRectangle r;
    gdk_monitor_get_workarea(monitor, &r);
    return Bounds(r.x, r.y, r.width, r.height);
}

TPoint TDesktopHost::CursorPos() const {
    GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
    GdkDevice* pointer = seat ? gdk_seat_get_pointer(seat) : nullptr;
    int x = 0, y = 0;
    if (pointer) gdk_device_get_position(pointer, nullptr, &x, &y);
    return {x, y};
}

namespace {
bool KeyboardRepeat(unsigned& delay, unsigned& interval) {
    GdkDisplay* display = gdk_display_get_default();
    if (!display || !GDK_IS_X11_DISPLAY(display)) return false;
    return XkbGetAutoRepeatRate(gdk_x11_display_get_xdisplay(display), XkbUseCoreKbd, &delay, &interval);
}
}  // namespace

int TDesktopHost::KeyRepeatDelayMs() const {
    unsigned delay = 0, interval = 0;
    return KeyboardRepeat(delay, interval) && delay > 0 ? int(delay) : 500;
}

int TDesktopHost::KeyRepeatIntervalMs() const {
    unsigned delay = 0, interval = 0;
    return KeyboardRepeat(delay, interval) && interval > 0 ? int(interval) : 33;
}

int TDesktopHost::ScrollThumbSize() const {
    // The scroll bars are our own skinned controls; this is the size they
    // were drawn for.
    return 17;
}

int TDesktopHost::DoubleClickTimeMs() const {
    int ms = 400;
    g_object_get(gtk_settings_get_default(), "gtk-double-click-time", &ms, nullptr);
    return ms;
}

// ---- native controls ----

std::unique_ptr<TNativeTextEditor> TDesktopHost::CreateTextEditor(TForm& form) { return CreateDesktopTextEditor(form); }
std::unique_ptr<TNativeDatePicker> TDesktopHost::CreateDatePicker(TForm& form) { return CreateDesktopDatePicker(form); }
std::unique_ptr<TNativeTimePicker> TDesktopHost::CreateTimePicker(TForm& form) { return CreateDesktopTimePicker(form); }
std::unique_ptr<TNativeWebView> TDesktopHost::CreateWebView(TForm& form) { return CreateDesktopWebView(form); }
std::unique_ptr<TTrayIcon> TDesktopHost::CreateTrayIcon() { return CreateDesktopTrayIcon(); }
TDialogResult TDesktopHost::RunFileDialog(TFileDialogKind kind, TFileDialogOptions& options, TForm* owner) {
    return RunDesktopFileDialog(kind, options, owner);
}
TClipboard& TDesktopHost::Clipboard() { return DesktopClipboard(); }

std::unique_ptr<TSoundDevice> TDesktopHost::CreateSoundDevice() { return std::make_unique<TGstSoundDevice>(); }
