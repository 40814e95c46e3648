// The tray icon docks into a real XEmbed tray (trayer, started here when
// the display has no tray yet) and reports clicks made with the pointer.
#include <signal.h>
#include <sys/wait.h>

#include <string>

#include "platform/desktop/native_widgets.h"
#include "platform/desktop/native_test_support.h"
#include "platform/desktop/sni_tray.h"
#include "platform/desktop/tray_test_bus.h"

using namespace native_test;

namespace {

class Tray : public ::testing::Test {
protected:
    void SetUp() override {
        if (!StartGtk()) FAIL() << "no X display (DISPLAY unset or unusable): scripts/test.sh starts Xvfb";
        // A bus without a watcher: a desktop's panel must not take the icon.
        ASSERT_TRUE(tray_test::UsePrivateSessionBus()) << "dbus-daemon (package dbus-daemon) is not installed";
        if (DesktopTrayHostExists()) return;  // the display has a tray already
        gchar* trayer = g_find_program_in_path("trayer");
        ASSERT_TRUE(trayer) << "trayer (the tray host for this test) is not installed";
        gchar* argv[] = {trayer, (gchar*)"--edge", (gchar*)"bottom", (gchar*)"--widthtype", (gchar*)"request",
                         (gchar*)"--height", (gchar*)"24", (gchar*)"--expand", (gchar*)"false",
                         // Left-aligned, the tray keeps its place as it grows with the icon.
                         (gchar*)"--align", (gchar*)"left", nullptr};
        GError* error = nullptr;
        bool started = g_spawn_async(nullptr, argv, nullptr, GSpawnFlags(G_SPAWN_DO_NOT_REAP_CHILD), nullptr, nullptr,
                                     &Trayer, &error);
        g_free(trayer);
        ASSERT_TRUE(started) << (error ? error->message : "");
        ASSERT_TRUE(PumpUntil(DesktopTrayHostExists, 15000)) << "trayer never took the tray selection";
    }
    void TearDown() override {
        if (Trayer <= 0) return;
        kill(Trayer, SIGTERM);
        waitpid(Trayer, nullptr, 0);
        g_spawn_close_pid(Trayer);
    }
    GPid Trayer = 0;
};

TBitmap32 Square() {
    TBitmap32 image(16, 16);
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++) image.SetPixel(x, y, Color32(200, 40, 40));
    return image;
}

TEST_F(Tray, EmbedsInTheTrayAndReportsClicks) {
    auto icon = CreateDesktopTrayIcon();
    std::vector<TPoint> clicks, rightDowns;
    icon->OnClick = [&](TTrayIcon*, TPoint p) { clicks.push_back(p); };
    icon->OnRightButtonDown = [&](TTrayIcon*, TPoint p) { rightDowns.push_back(p); };
    icon->SetImage(Square());
    icon->SetHint("Reminders");
    EXPECT_FALSE(icon->Embedded());
    icon->SetVisible(true);
    EXPECT_TRUE(icon->Visible());
    ASSERT_TRUE(PumpUntil([&] { return icon->Embedded(); }, 15000)) << "the icon never docked";

    // The tray lays its icons out after they dock: click where the icon
    // has come to rest (the same place over several server round trips).
    TRect area, last;
    int same = 0;
    ASSERT_TRUE(PumpUntil([&] {
        gdk_display_sync(gdk_display_get_default());
        if (!TrayIconScreenArea(*icon, area) || area.IsEmpty() || !(area == last)) same = 0;
        else same++;
        last = area;
        return same >= 5;
    }));
    int x = area.Left + area.Width() / 2, y = area.Top + area.Height() / 2;
    ASSERT_TRUE(RunTool({"xdotool", "mousemove", std::to_string(x), std::to_string(y), "click", "1"}));
    ASSERT_TRUE(PumpUntil([&] { return !clicks.empty(); })) << "no click at " << x << "," << y;
    EXPECT_EQ(clicks.front().X, x);
    EXPECT_EQ(clicks.front().Y, y);

    ASSERT_TRUE(RunTool({"xdotool", "mousedown", "3"}));
    ASSERT_TRUE(PumpUntil([&] { return !rightDowns.empty(); }));
    EXPECT_TRUE(RunTool({"xdotool", "mouseup", "3"}));
    EXPECT_EQ(rightDowns.front().X, x);
    EXPECT_EQ(clicks.size(), 1u);

    icon->SetVisible(false);
    EXPECT_FALSE(icon->Embedded());
}

// GDK's complaints while an icon docks, counted.
class TGdkCriticals {
public:
    TGdkCriticals() {
        FHandler = g_log_set_handler(
            "Gdk", GLogLevelFlags(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING),
            [](const gchar*, GLogLevelFlags, const gchar* message, gpointer self) {
                static_cast<TGdkCriticals*>(self)->Messages.push_back(message);
            },
            this);
    }
    ~TGdkCriticals() { g_log_remove_handler("Gdk", FHandler); }
    std::vector<std::string> Messages;

private:
    guint FHandler = 0;
};

TEST_F(Tray, DocksWithoutGdkComplaints) {
    TGdkCriticals criticals;
    auto icon = CreateDesktopTrayIcon();
    icon->SetImage(Square());
    EXPECT_EQ(DesktopTrayKind(*icon), TTrayKind::XEmbed);
    icon->SetVisible(true);
    ASSERT_TRUE(PumpUntil([&] { return icon->Embedded(); }, 15000)) << "the icon never docked";
    // Hidden again before the tray has docked it, then shown.
    icon->SetVisible(false);
    icon->SetVisible(true);
    Settle();
    icon->SetVisible(false);
    Settle();
    icon->SetVisible(true);
    ASSERT_TRUE(PumpUntil([&] { return icon->Embedded(); }, 15000)) << "the icon never docked again";
    for (int i = 0; i < 20; i++) {
        gdk_display_sync(gdk_display_get_default());
        Settle();
    }
    EXPECT_TRUE(criticals.Messages.empty()) << criticals.Messages.front();
}

}  // namespace
