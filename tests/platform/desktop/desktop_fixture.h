// What the desktop tests share: GTK started once per process (inside a test,
// never at load time: test discovery runs without a display), a clear
// failure when there is no display, pumping the GLib loop until a condition
// holds or a deadline passes, tools (xdotool) run while the loop keeps
// going, screen pixels, and a fixture with a desktop host and application.
#pragma once

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/desktop/desktop_host.h"
#include "platform/gui/application.h"

// Starts GTK the first time; false when there is no usable display.
inline bool StartGtkOnce() {
    static int state = 0;  // 0 not tried, 1 running, -1 failed
    if (state != 0) return state > 0;
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        state = -1;
        return false;
    }
    setenv("GSETTINGS_BACKEND", "memory", 1);
    // The built-in input method: what the keyboard tests type is what arrives.
    setenv("GTK_IM_MODULE", "gtk-im-context-simple", 1);
    PrepareDesktopEnvironment();
    state = gtk_init_check(nullptr, nullptr) ? 1 : -1;
    return state > 0;
}

#define REQUIRE_DISPLAY()                                                                                  \
    do {                                                                                                   \
        if (!StartGtkOnce()) FAIL() << "no X display (DISPLAY unset or unusable): scripts/test.sh starts Xvfb"; \
    } while (0)

// Runs the GLib loop until `condition` holds or `timeoutMs` passes; answers
// the condition.
inline bool PumpUntil(const std::function<bool()>& condition, int timeoutMs = 5000) {
    gint64 end = g_get_monotonic_time() + gint64(timeoutMs) * 1000;
    while (!condition()) {
        if (g_get_monotonic_time() >= end) return false;
        if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(1000);
    }
    return true;
}

// A round trip to the X server, then every event it sent before answering
// is handled: what the server has done by now is what the windows know.
inline void SyncX() {
    gdk_display_sync(gdk_display_get_default());
    for (int i = 0; i < 1000 && g_main_context_pending(nullptr); ++i) g_main_context_iteration(nullptr, FALSE);
}

// Runs a program to its end while the loop keeps running (the program may
// wait for the X server, which waits for us); answers its exit status, -1
// when it could not start or did not end within `timeoutMs`.
inline int RunTool(const std::vector<std::string>& args, int timeoutMs = 10000) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    GPid pid = 0;
    if (!g_spawn_async(nullptr, argv.data(), nullptr, GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD),
                       nullptr, nullptr, &pid, nullptr))
        return -1;
    struct TExit {
        bool Done = false;
        int Code = -1;
    } exitState;
    guint watch = g_child_watch_add(
        pid,
        [](GPid p, gint status, gpointer data) {
            auto* e = static_cast<TExit*>(data);
            e->Done = true;
            e->Code = g_spawn_check_wait_status(status, nullptr) ? 0 : 1;
            g_spawn_close_pid(p);
        },
        &exitState);
    if (!PumpUntil([&] { return exitState.Done; }, timeoutMs)) {
        g_source_remove(watch);
        return -1;
    }
    return exitState.Code;
}

// The screen pixel at (x, y) as 0xRRGGBB.
inline uint32_t ScreenPixel(int x, int y) {
    GdkPixbuf* pixbuf = gdk_pixbuf_get_from_window(gdk_get_default_root_window(), x, y, 1, 1);
    if (!pixbuf) return 0xFFFFFFFF;
    const guchar* p = gdk_pixbuf_get_pixels(pixbuf);
    uint32_t rgb = (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
    g_object_unref(pixbuf);
    return rgb;
}

// A desktop host and an application for each test; forms made by the test
// are freed with the application.
class TDesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_DISPLAY();
        Host = std::make_unique<TDesktopHost>();
        App = std::make_unique<TApplication>(*Host);
    }
    void TearDown() override {
        App.reset();
        Host.reset();
        // Let the X server see the windows go before the next test starts.
        if (StartGtkOnce()) SyncX();
    }
    // Waits until the form's window has been drawn on screen.
    bool WaitShown(TForm& form, int timeoutMs = 5000) {
        return PumpUntil(
            [&] {
                GtkWidget* w = Host->GtkWindowOf(form.Window());
                return w && gtk_widget_get_mapped(w) && Host->DrawCount(form.Window()) > 0;
            },
            timeoutMs);
    }
    std::unique_ptr<TDesktopHost> Host;
    std::unique_ptr<TApplication> App;
};
