// What the journeys through the real program share: a private home for it,
// the windows it shows as the X server sees them (xdotool), pictures of the
// screen (ImageMagick's import), the pointer and the keyboard as a person
// uses them, and the helpers around it on the display: a stand-alone tray
// host (trayer), a window manager (openbox) and a small window of another
// program that holds the keyboard focus (xmessage).
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/gfx/bitmap32.h"
#include "platform/gfx/picture.h"
#include "support/child_process.h"
#include "support/test_support.h"

namespace e2e {

using testing_support::BinDir;
using testing_support::TChildProcess;
using testing_support::TTempDir;
using testing_support::WaitUntil;

struct TWindow {
    std::string Id;
    int X = 0, Y = 0, Width = 0, Height = 0;
    bool Contains(int x, int y) const { return x >= X && x < X + Width && y >= Y && y < Y + Height; }
};

inline std::string RunText(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 512> buffer{};
        while (fgets(buffer.data(), int(buffer.size()), pipe)) out += buffer.data();
        pclose(pipe);
    }
    return out;
}

inline std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

inline std::string ProgramPath(const std::string& name) { return Trimmed(RunText("command -v " + name)); }

inline void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

inline TWindow Geometry(const std::string& id) {
    TWindow w;
    w.Id = id;
    std::istringstream info(RunText("xdotool getwindowgeometry --shell " + id + " 2>/dev/null"));
    std::string line;
    while (std::getline(info, line)) {
        auto value = [&](const char* key) { return std::stoi(line.substr(std::string(key).size())); };
        if (line.rfind("X=", 0) == 0) w.X = value("X=");
        if (line.rfind("Y=", 0) == 0) w.Y = value("Y=");
        if (line.rfind("WIDTH=", 0) == 0) w.Width = value("WIDTH=");
        if (line.rfind("HEIGHT=", 0) == 0) w.Height = value("HEIGHT=");
    }
    return w;
}

// The mapped windows of a process (its top levels, popups and tray plug),
// leaving out the one-pixel helper windows toolkits keep.
inline std::vector<TWindow> VisibleWindows(pid_t pid) {
    std::vector<TWindow> found;
    std::istringstream ids(RunText("xdotool search --onlyvisible --pid " + std::to_string(pid) + " 2>/dev/null"));
    std::string id;
    while (ids >> id) {
        TWindow w = Geometry(id);
        if (w.Width > 1 && w.Height > 1) found.push_back(w);
    }
    return found;
}

// Waits for a window of the process that satisfies `test`.
template <typename TTest>
std::optional<TWindow> WaitForWindowWhere(pid_t pid, double seconds, TTest test) {
    std::optional<TWindow> hit;
    WaitUntil(seconds, [&] {
        for (const TWindow& w : VisibleWindows(pid))
            if (test(w)) return bool(hit = w);
        return false;
    });
    return hit;
}

// Waits for a window of the process of the given size (0 = any).
inline std::optional<TWindow> WaitForWindow(pid_t pid, int width, int height, double seconds = 10) {
    return WaitForWindowWhere(pid, seconds, [&](const TWindow& w) {
        return (width == 0 || w.Width == width) && (height == 0 || w.Height == height);
    });
}

inline bool WindowGone(pid_t pid, int width, int height, double seconds = 10) {
    return WaitUntil(seconds, [&] {
        for (const TWindow& w : VisibleWindows(pid))
            if (w.Width == width && w.Height == height) return false;
        return true;
    });
}

// The part of the screen a window may use: the window manager's work area
// when one is published, else the whole screen.
inline TWindow WorkArea() {
    TWindow area;
    std::istringstream screen(RunText("xdotool getdisplaygeometry"));
    screen >> area.Width >> area.Height;
    const std::string workarea = RunText("xprop -root _NET_WORKAREA 2>/dev/null");
    const auto equals = workarea.find(" = ");
    if (equals != std::string::npos) {
        std::string values = workarea.substr(equals + 3);
        for (char& c : values)
            if (c == ',') c = ' ';
        std::istringstream in(values);
        TWindow published;
        if (in >> published.X >> published.Y >> published.Width >> published.Height && published.Width > 0)
            area = published;
    }
    return area;
}

inline void MoveTo(int x, int y) { RunText("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y)); }

inline void ClickAt(const TWindow& window, int x, int y, int button = 1) {
    RunText("xdotool mousemove " + std::to_string(window.X + x) + " " + std::to_string(window.Y + y) + " click " +
            std::to_string(button));
}

inline void TypeText(const std::string& text) { RunText("xdotool type --delay 15 '" + text + "'"); }
inline void Key(const std::string& keys) { RunText("xdotool key " + keys); }
inline void Focus(const TWindow& window) { RunText("xdotool windowfocus --sync " + window.Id + " 2>/dev/null"); }
inline std::string FocusedWindow() { return Trimmed(RunText("xdotool getwindowfocus 2>/dev/null")); }

// A moment `seconds` from now in local time, in a strftime format.
inline std::string LocalMoment(int seconds, const char* format) {
    const std::time_t t = std::time(nullptr) + seconds;
    std::tm tm{};
    localtime_r(&t, &tm);
    char text[64];
    std::strftime(text, sizeof text, format, &tm);
    return text;
}

// Counts the pixels of a rectangle that a test calls ink.
template <typename TTest>
int CountPixels(const TBitmap32& shot, int left, int top, int width, int height, TTest test) {
    int count = 0;
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x)
            if (test(shot.Pixel(x, y))) ++count;
    return count;
}

inline bool Dark(TColor32 p) { return RedOf(p) < 110 && GreenOf(p) < 110 && BlueOf(p) < 110; }
// The light blue of the empty list's notice on white.
inline bool Bluish(TColor32 p) { return int(BlueOf(p)) - int(RedOf(p)) > 40; }

class TJourneyTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
        for (const char* tool : {"xdotool", "import", "xprop"})
            if (ProgramPath(tool).empty()) GTEST_SKIP() << tool << " is needed";
        std::filesystem::create_directories(Dir / "home");
    }
    void TearDown() override {
        Program.reset();
        Helpers.clear();
        StopWindowManager();
    }

    std::map<std::string, std::optional<std::string>> Env() const {
        return {{"HOME", Dir / "home"},
                {"XDG_DATA_HOME", Dir / "data"},
                {"XDG_CONFIG_HOME", Dir / "config"},
                {"XDG_RUNTIME_DIR", Dir.Path()},
                {"LANG", Lang},
                {"LANGUAGE", std::nullopt},
                {"LC_ALL", std::nullopt},
                {"LC_MESSAGES", std::nullopt},
                // No session bus: the tray icon is the XEmbed one the tray host takes.
                {"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + (Dir / "no-bus")},
                // Whatever plays ends up in a file the test can look at.
                {"OLVO_AUDIO_SINK", "audioconvert ! audio/x-raw,format=S16LE ! filesink location=" + SoundPath()},
                {"OLVO_SERVER", std::nullopt},
                // The file dialogs keep their settings in memory only.
                {"GSETTINGS_BACKEND", "memory"}};
    }
    std::string SoundPath() const { return Dir / "sound.raw"; }
    std::string DataPath() const { return Dir / "data/Olvo_Reminder/ov_rmind_data.dat"; }
    std::string Data() const { return testing_support::ReadFileBytes(DataPath()); }
    bool DataHas(const std::string& text, double seconds = 5) const {
        return WaitUntil(seconds, [&] { return Data().find(text) != std::string::npos; });
    }

    std::unique_ptr<TChildProcess> StartTool(const std::vector<std::string>& args) const {
        std::vector<std::string> argv = args;
        argv[0] = BinDir() + "/" + argv[0];
        return std::make_unique<TChildProcess>(argv, Env());
    }
    void AddDaily(const std::string& text, const std::string& time) const {
        auto add = StartTool({"olvoctl", "add", text, "--daily", time});
        ASSERT_EQ(add->Wait(10), std::optional<int>(0)) << add->ErrorOutput();
    }
    // Starts the program and waits for its main window (unless started at
    // logon, when there is none to wait for).
    TWindow StartProgram(const std::vector<std::string>& extra = {}) {
        std::vector<std::string> args{"olvo-reminder"};
        args.insert(args.end(), extra.begin(), extra.end());
        Program = StartTool(args);
        if (!extra.empty()) return {};
        std::optional<TWindow> main = WaitForWindow(Program->Pid(), 660, 455, 30);
        EXPECT_TRUE(main) << "no main window; running: " << Program->Running();
        if (!main) return {};
        // Mapped is not yet painted and listening.
        Pause(600);
        return *main;
    }
    void EndProgram() {
        Program->Signal(SIGTERM);
        EXPECT_EQ(Program->Wait(10), std::optional<int>(0));
    }

    // A helper program on the display, ended with the test.
    TChildProcess& StartHelper(const std::vector<std::string>& argv) {
        Helpers.push_back(std::make_unique<TChildProcess>(argv, Env()));
        return *Helpers.back();
    }
    // A tray host at the bottom-right of the screen; the program's icon is
    // the small window it embeds.
    bool StartTray() {
        const std::string trayer = ProgramPath("trayer");
        if (trayer.empty()) return false;
        TChildProcess& host = StartHelper({trayer, "--edge", "bottom", "--align", "right", "--widthtype", "request",
                                           "--height", "24", "--SetDockType", "true", "--SetPartialStrut", "false"});
        return WaitForWindow(host.Pid(), 0, 24, 10).has_value();
    }
    std::optional<TWindow> TrayIcon() const {
        return WaitForWindowWhere(Program->Pid(), 10,
                                  [](const TWindow& w) { return w.Width <= 32 && w.Height <= 32; });
    }
    // A window of another program that takes the keyboard focus.
    std::optional<TWindow> StartFocusHolder() {
        const std::string xmessage = ProgramPath("xmessage");
        if (xmessage.empty()) return std::nullopt;
        StartHelper({xmessage, "-geometry", "+40+40", "-timeout", "120", "Focus holder"});
        // Its toolkit sets no process id on the window: found by its class,
        // the top level being the largest of its windows.
        std::optional<TWindow> window;
        WaitUntil(10, [&] {
            std::istringstream ids(RunText("xdotool search --onlyvisible --class Xmessage 2>/dev/null"));
            std::string id;
            while (ids >> id) {
                TWindow w = Geometry(id);
                if (w.Width > 1 && (!window || w.Width * w.Height > window->Width * window->Height)) window = w;
            }
            return window.has_value();
        });
        if (window) Focus(*window);
        return window;
    }

    // openbox on the display for one test; its root properties go with it
    // so that later tests see a display without a window manager again.
    bool StartWindowManager() {
        const std::string openbox = ProgramPath("openbox");
        if (openbox.empty()) return false;
        WindowManager = std::make_unique<TChildProcess>(std::vector<std::string>{openbox, "--sm-disable"}, Env());
        return WaitUntil(10, [] {
            return RunText("xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null").find("window id") != std::string::npos;
        });
    }
    void StopWindowManager() {
        if (!WindowManager) return;
        WindowManager->Signal(SIGTERM);
        WindowManager->Wait(10);
        WindowManager.reset();
        for (const char* property :
             {"_NET_SUPPORTING_WM_CHECK", "_NET_WORKAREA", "_NET_ACTIVE_WINDOW", "_NET_SUPPORTED", "_NET_CLIENT_LIST",
              "_NET_CLIENT_LIST_STACKING", "_NET_CURRENT_DESKTOP", "_NET_DESKTOP_NAMES", "_NET_DESKTOP_VIEWPORT",
              "_NET_NUMBER_OF_DESKTOPS", "_NET_DESKTOP_GEOMETRY"})
            RunText(std::string("xprop -root -remove ") + property + " 2>/dev/null");
    }

    TBitmap32 Screenshot(const std::string& name) const {
        const std::string path = Dir / (name + ".png");
        RunText("import -window root " + path + " 2>/dev/null");
        if (const char* keep = std::getenv("OLVO_E2E_SHOTS"))
            RunText("cp " + path + " " + std::string(keep) + "/" + ShotPrefix() + name + ".png");
        TBitmap32 picture;
        ReadPngFile(path, picture);
        return picture;
    }
    static std::string ShotPrefix() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        return std::string(info->name()) + "-";
    }

    // Opens the tray menu with a right click on the icon.
    std::optional<TWindow> OpenTrayMenu() {
        std::optional<TWindow> icon = TrayIcon();
        if (!icon) return std::nullopt;
        ClickAt(*icon, icon->Width / 2, icon->Height / 2, 3);
        return WaitForWindow(Program->Pid(), 180, 290, 5);
    }

    TTempDir Dir;
    std::string Lang = "C.UTF-8";
    std::unique_ptr<TChildProcess> Program;
    std::vector<std::unique_ptr<TChildProcess>> Helpers;
    std::unique_ptr<TChildProcess> WindowManager;
};

// Entries of the tray menu, as offsets of their middles from its top.
namespace tray_menu {
inline constexpr int CheckForNews = 150;
inline constexpr int Language = 176;
inline constexpr int RunOnStartup = 204;
inline constexpr int Exit = 256;
}  // namespace tray_menu

}  // namespace e2e
