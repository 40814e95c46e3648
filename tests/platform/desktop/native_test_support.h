// What the native control tests share: GTK started once (inside the test
// run, never at start-up, so listing tests needs no display), a plain
// window with a GtkFixed to place controls in, and a loop pump that waits
// for a condition with a deadline.
#pragma once

#include <gtk/gtk.h>
#include <gtest/gtest.h>

#include <signal.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/desktop/desktop_host.h"

namespace native_test {

inline bool StartGtk() {
    static int state = -1;
    if (state < 0) {
        // As the host tests start GTK, whichever test comes first.
        setenv("GSETTINGS_BACKEND", "memory", 1);
        setenv("GTK_IM_MODULE", "gtk-im-context-simple", 1);
        // Xvfb has no GL; WebKit draws without its compositor there.
        setenv("WEBKIT_DISABLE_COMPOSITING_MODE", "1", 1);
        PrepareDesktopEnvironment();
        state = std::getenv("DISPLAY") && gtk_init_check(nullptr, nullptr) ? 1 : 0;
    }
    return state == 1;
}

// Runs the GLib loop until `done` answers true or `timeoutMs` passed;
// answers whether `done` came true.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 10000) {
    gint64 deadline = g_get_monotonic_time() + gint64(timeoutMs) * 1000;
    while (!done()) {
        if (g_get_monotonic_time() > deadline) return false;
        if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(1000);
    }
    return true;
}

// Runs a program (xdotool) to its end while the loop keeps running, since
// the program may wait on the X server, which may wait on us. Answers
// whether it ran and exited with 0 within the deadline.
inline bool RunTool(const std::vector<std::string>& args, int timeoutMs = 10000) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    GPid pid = 0;
    if (!g_spawn_async(nullptr, argv.data(), nullptr, GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD),
                       nullptr, nullptr, &pid, nullptr))
        return false;
    int status = -1;  // -1 while running
    g_child_watch_add(
        pid,
        [](GPid child, gint wait, gpointer data) {
            *static_cast<int*>(data) = g_spawn_check_wait_status(wait, nullptr) ? 0 : 1;
            g_spawn_close_pid(child);
        },
        &status);
    // The watch fires once the child ends, which a kill makes sure of.
    if (!PumpUntil([&] { return status >= 0; }, timeoutMs)) {
        kill(pid, SIGKILL);
        PumpUntil([&] { return status >= 0; }, 5000);
        return false;
    }
    return status == 0;
}

// Lets whatever is queued (layout, redraws) run.
inline void Settle() {
    for (int i = 0; i < 50 && g_main_context_iteration(nullptr, FALSE); i++) {
    }
}

// A shown top-level window whose only child is the GtkFixed the controls
// go into, as a form's native layer is.
class TNativeFixture : public ::testing::Test {
protected:
    void SetUp() override {
        if (!StartGtk()) FAIL() << "no X display (DISPLAY unset or unusable): scripts/test.sh starts Xvfb";
        Window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_window_set_default_size(GTK_WINDOW(Window), 400, 300);
        gtk_window_move(GTK_WINDOW(Window), 20, 20);
        Layer = gtk_fixed_new();
        gtk_container_add(GTK_CONTAINER(Window), Layer);
        gtk_widget_show_all(Window);
        ASSERT_TRUE(PumpUntil([&] { return gtk_widget_get_mapped(Window); }));
    }
    void TearDown() override {
        if (Window) gtk_widget_destroy(Window);
        Settle();
    }
    GtkWidget* Window = nullptr;
    GtkWidget* Layer = nullptr;
};

}  // namespace native_test
