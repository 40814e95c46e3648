// The real program on the display: its main window opens centred on the
// work area and paints the designed page, and a reminder due a few seconds
// after the start pops the alert window in the bottom-right corner. The
// windows are found through the X server (xdotool) and looked at in a
// picture of the screen (ImageMagick's import), as a person would see them.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <sstream>
#include <string>
#include <vector>
#include <thread>

#include "platform/gfx/bitmap32.h"
#include "platform/gfx/picture.h"
#include "support/child_process.h"
#include "support/test_support.h"

using testing_support::BinDir;
using testing_support::TChildProcess;
using testing_support::TTempDir;
using testing_support::WaitUntil;

namespace {

struct TGeometry {
    int X = 0, Y = 0, Width = 0, Height = 0;
};

std::string RunText(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 512> buffer{};
        while (fgets(buffer.data(), int(buffer.size()), pipe)) out += buffer.data();
        pclose(pipe);
    }
    return out;
}

// The visible top-level windows of a process, as the X server places them.
std::vector<TGeometry> VisibleWindows(pid_t pid) {
    std::vector<TGeometry> found;
    std::istringstream ids(RunText("xdotool search --onlyvisible --pid " + std::to_string(pid) + " 2>/dev/null"));
    std::string id;
    while (ids >> id) {
        TGeometry g;
        std::istringstream info(RunText("xdotool getwindowgeometry --shell " + id + " 2>/dev/null"));
        std::string line;
        while (std::getline(info, line)) {
            auto value = [&](const char* key) { return std::stoi(line.substr(std::string(key).size())); };
            if (line.rfind("X=", 0) == 0) g.X = value("X=");
            if (line.rfind("Y=", 0) == 0) g.Y = value("Y=");
            if (line.rfind("WIDTH=", 0) == 0) g.Width = value("WIDTH=");
            if (line.rfind("HEIGHT=", 0) == 0) g.Height = value("HEIGHT=");
        }
        if (g.Width > 1 && g.Height > 1) found.push_back(g);
    }
    return found;
}

TGeometry ScreenSize() {
    TGeometry screen;
    std::istringstream in(RunText("xdotool getdisplaygeometry"));
    in >> screen.Width >> screen.Height;
    return screen;
}

// A moment as olvoctl takes it, `seconds` from now.
std::pair<std::string, std::string> LocalMoment(int seconds) {
    const std::time_t t = std::time(nullptr) + seconds;
    std::tm tm{};
    localtime_r(&t, &tm);
    char date[16], time[16];
    std::strftime(date, sizeof date, "%Y-%m-%d", &tm);
    std::strftime(time, sizeof time, "%H:%M:%S", &tm);
    return {date, time};
}

class ProgramWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
        if (RunText("command -v xdotool").empty() || RunText("command -v import").empty())
            GTEST_SKIP() << "xdotool and ImageMagick are needed";
    }
    std::map<std::string, std::optional<std::string>> Env() const {
        return {{"HOME", Dir / "home"},          {"XDG_DATA_HOME", Dir / "data"},
                {"XDG_CONFIG_HOME", Dir / "config"}, {"XDG_RUNTIME_DIR", Dir.Path()},
                {"LANG", "C.UTF-8"},            {"LC_ALL", std::nullopt},
                {"OLVO_AUDIO_SINK", "fakesink"}, {"OLVO_SERVER", std::nullopt}};
    }
    std::unique_ptr<TChildProcess> Start(const std::vector<std::string>& args) const {
        std::vector<std::string> argv = args;
        argv[0] = BinDir() + "/" + argv[0];
        return std::make_unique<TChildProcess>(argv, Env());
    }
    TBitmap32 Screenshot() const {
        const std::string path = Dir / "screen.png";
        RunText("import -window root " + path + " 2>/dev/null");
        TBitmap32 picture;
        ReadPngFile(path, picture);
        return picture;
    }
    // The main window of a started program, once it shows (a failed
    // assertion inside when it never does).
    TGeometry WaitForMainWindow(TChildProcess& program) const {
        std::vector<TGeometry> windows;
        const bool shown = WaitUntil(30, [&] { return !(windows = VisibleWindows(program.Pid())).empty(); });
        EXPECT_TRUE(shown) << "running: " << program.Running() << "\n" << program.ErrorOutput();
        // Mapped is not yet painted and listening.
        if (shown) std::this_thread::sleep_for(std::chrono::milliseconds(500));
        return shown ? windows.front() : TGeometry{};
    }
    // A click at a point of the window, then time for what it starts.
    static void ClickAt(const TGeometry& window, int x, int y, int settleMs) {
        RunText("xdotool mousemove " + std::to_string(window.X + x) + " " + std::to_string(window.Y + y) +
                " click 1");
        std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    }
    static bool Near(TColor32 pixel, int r, int g, int b, int tolerance = 24) {
        return std::abs(int(RedOf(pixel)) - r) <= tolerance && std::abs(int(GreenOf(pixel)) - g) <= tolerance &&
               std::abs(int(BlueOf(pixel)) - b) <= tolerance;
    }

    TTempDir Dir;
};

TEST_F(ProgramWindowTest, MainWindowOpensCentredWithItsPages) {
    auto program = Start({"olvo-reminder"});
    std::vector<TGeometry> windows;
    ASSERT_TRUE(WaitUntil(30, [&] { return !(windows = VisibleWindows(program->Pid())).empty(); }))
        << program->ErrorOutput();
    const TGeometry screen = ScreenSize();
    const TGeometry& main = windows.front();
    EXPECT_EQ(main.Width, 660);
    EXPECT_EQ(main.Height, 455);
    EXPECT_NEAR(main.X, (screen.Width - 660) / 2, 1);
    EXPECT_NEAR(main.Y, (screen.Height - 455) / 2, 1);

    // Let the first paint land, then look: the list page is white, the
    // frame around it is the dark slate of the skin.
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    const TBitmap32 shot = Screenshot();
    ASSERT_GE(shot.Width(), main.X + main.Width);
    EXPECT_TRUE(Near(shot.Pixel(main.X + 205 + 225, main.Y + 31 + 41 + 300), 255, 255, 255, 6))
        << "the list page is white";
    EXPECT_TRUE(Near(shot.Pixel(main.X + 659, main.Y + 455 / 2), 42, 45, 50, 8)) << "the frame's border";
    EXPECT_TRUE(Near(shot.Pixel(main.X + 100, main.Y + 15), 49, 53, 59, 16)) << "the dark caption bar";
    EXPECT_TRUE(Near(shot.Pixel(main.X + 100, main.Y + 320), 255, 255, 255, 6)) << "the white left column";

    program->Signal(SIGTERM);
    EXPECT_EQ(program->Wait(10), std::optional<int>(0)) << program->ErrorOutput();
}

TEST_F(ProgramWindowTest, ReminderDueSoonPopsTheAlertInTheBottomRightCorner) {
    const auto [date, time] = LocalMoment(9);
    auto add = Start({"olvoctl", "add", "Stretch your legs", "--once", date, time, "--voice", "default"});
    ASSERT_EQ(add->Wait(10), std::optional<int>(0)) << add->Output() << add->ErrorOutput();

    auto program = Start({"olvo-reminder"});
    const TGeometry screen = ScreenSize();
    std::vector<TGeometry> windows;
    // Ticks come every five seconds: the alert is up within about fifteen.
    const bool alerted = WaitUntil(25, [&] {
        windows = VisibleWindows(program->Pid());
        for (const TGeometry& w : windows)
            if (w.Width == 440 && w.X + w.Width == screen.Width && w.Y + w.Height == screen.Height) return true;
        return false;
    });
    EXPECT_TRUE(alerted) << "windows seen: " << windows.size() << "\n" << program->ErrorOutput();
    program->Signal(SIGTERM);
    EXPECT_EQ(program->Wait(10), std::optional<int>(0)) << program->ErrorOutput();
}

// Closing the frame while a reminder is still to come only hides the
// window; a second start shows it again and ends.
TEST_F(ProgramWindowTest, CloseHidesWhileActiveAndASecondStartShowsTheWindowAgain) {
    auto add = Start({"olvoctl", "add", "Water the plants", "--daily", "09:00"});
    ASSERT_EQ(add->Wait(10), std::optional<int>(0)) << add->ErrorOutput();
    auto program = Start({"olvo-reminder"});
    const TGeometry main = WaitForMainWindow(*program);
    ASSERT_GT(main.Width, 0);
    // The close button sits at the right end of the caption bar.
    ClickAt(main, 632, 12, 0);
    EXPECT_TRUE(WaitUntil(10, [&] { return VisibleWindows(program->Pid()).empty(); })) << "the window hides";
    EXPECT_TRUE(program->Running()) << "the program stays for the reminder";

    auto second = Start({"olvo-reminder"});
    EXPECT_EQ(second->Wait(10), std::optional<int>(0));
    EXPECT_TRUE(WaitUntil(10, [&] { return !VisibleWindows(program->Pid()).empty(); })) << "shown again";
    program->Signal(SIGTERM);
    EXPECT_EQ(program->Wait(10), std::optional<int>(0)) << program->ErrorOutput();
}

// With nothing left to remind, the frame's close ends the program.
TEST_F(ProgramWindowTest, CloseEndsTheProgramWhenNothingIsActive) {
    auto program = Start({"olvo-reminder"});
    const TGeometry main = WaitForMainWindow(*program);
    ASSERT_GT(main.Width, 0);
    ClickAt(main, 632, 12, 0);
    EXPECT_EQ(program->Wait(10), std::optional<int>(0)) << program->ErrorOutput();
    const std::string data = testing_support::ReadFileBytes(Dir / "data/Olvo_Reminder/ov_rmind_data.dat");
    EXPECT_NE(data.find("[CONFIG]"), std::string::npos) << "the configuration is saved at the end";
}

// A person creates a daily reminder through the editor with the mouse and
// the keyboard: it is in the data file and listed.
TEST_F(ProgramWindowTest, ReminderCreatedThroughTheEditorIsSaved) {
    auto program = Start({"olvo-reminder"});
    const TGeometry main = WaitForMainWindow(*program);
    ASSERT_GT(main.Width, 0);
    auto click = [&](int x, int y, int settleMs) { ClickAt(main, x, y, settleMs); };
    click(626, 53, 1500);  // the "+" button; the editor slides in
    click(300, 140, 300);  // into the description
    RunText("xdotool type --delay 20 'Stretch your legs'");
    click(344, 201, 600);  // the repeat kind's drop-down
    click(300, 259, 400);  // its second entry, Daily
    click(607, 52, 1500);  // Save; the list slides back
    const std::string data = testing_support::ReadFileBytes(Dir / "data/Olvo_Reminder/ov_rmind_data.dat");
    EXPECT_NE(data.find("=Stretch your legs"), std::string::npos) << data;
    EXPECT_NE(data.find("PERIOD=1"), std::string::npos) << data;
    program->Signal(SIGTERM);
    EXPECT_EQ(program->Wait(10), std::optional<int>(0)) << program->ErrorOutput();
}

// A start at logon with something to remind of keeps running in the
// background without a window: it waits for a tray to show its icon in.
TEST_F(ProgramWindowTest, ALogonStartWithAnActiveReminderShowsNoWindow) {
    auto add = Start({"olvoctl", "add", "Water the plants", "--daily", "09:00"});
    ASSERT_EQ(add->Wait(10), std::optional<int>(0)) << add->ErrorOutput();
    auto program = Start({"olvo-reminder", "-os"});
    // Long enough for a window that was going to show to be mapped.
    std::this_thread::sleep_for(std::chrono::seconds(4));
    EXPECT_TRUE(program->Running()) << program->ErrorOutput();
    EXPECT_TRUE(VisibleWindows(program->Pid()).empty()) << "no window after a start at logon";
    program->Signal(SIGTERM);
    EXPECT_EQ(program->Wait(10), std::optional<int>(0)) << program->ErrorOutput();
}

}  // namespace
