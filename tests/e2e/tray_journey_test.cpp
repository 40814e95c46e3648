// The program in the tray, used from outside: the language it starts in,
// the tray menu's settings (news check, run on startup, language), and the
// ways it ends (Exit with and without active reminders, a start at logon
// with nothing to do, SIGTERM right after a setting changed).
#include "e2e/e2e_fixture.h"

namespace e2e {
namespace {

class TrayJourneyTest : public TJourneyTest {
protected:
    static constexpr int MenuButtonX = 572, MenuButtonY = 12;
    static constexpr int MessageYesX = 90, MessageNoX = 190, MessageButtonY = 129;

    // The Unfinished title and the empty tab's notice differ in length
    // between English and Chinese: the English ones reach where the
    // Chinese ones have already ended.
    struct TLanguageInk {
        int TitleStart = 0, TitleEnd = 0, NoticeSecondLine = 0;
    };
    TLanguageInk LanguageInk(const TWindow& main, const std::string& shotName) const {
        const TBitmap32 shot = Screenshot(shotName);
        return {CountPixels(shot, main.X + 217, main.Y + 40, 40, 22, Dark),
                CountPixels(shot, main.X + 278, main.Y + 40, 30, 22, Dark),
                CountPixels(shot, main.X + 395, main.Y + 203, 90, 22, Bluish)};
    }
    void ExpectEnglish(const TWindow& main, const std::string& shotName) const {
        const TLanguageInk ink = LanguageInk(main, shotName);
        EXPECT_GT(ink.TitleStart, 20) << "the title is painted";
        EXPECT_GT(ink.TitleEnd, 10) << "\"Unfinished\" runs on";
        EXPECT_GT(ink.NoticeSecondLine, 10) << "the English notice takes a second line";
    }
    void ExpectChinese(const TWindow& main, const std::string& shotName) const {
        const TLanguageInk ink = LanguageInk(main, shotName);
        EXPECT_GT(ink.TitleStart, 20) << "the title is painted";
        EXPECT_EQ(ink.TitleEnd, 0) << "the Chinese title is short";
        EXPECT_EQ(ink.NoticeSecondLine, 0) << "the Chinese notice fits on one line";
    }

    void ChooseFromTrayMenu(int entryY) {
        std::optional<TWindow> menu = OpenTrayMenu();
        ASSERT_TRUE(menu) << "the tray menu opens on a right click";
        Pause(300);
        ClickAt(*menu, 60, entryY);
        EXPECT_TRUE(WindowGone(Program->Pid(), 180, 290, 5)) << "the menu closes";
    }
    std::string AutostartPath() const { return Dir / "config/autostart/OlvoReminder.desktop"; }

    // Exit from the tray menu with an active reminder: No keeps the
    // program, Yes ends it with code 0.
    void ExitAsksWhileActive() {
        AddDaily("Water the plants", "09:00");
        ASSERT_TRUE(StartTray());
        ASSERT_GT(StartProgram().Width, 0);
        ChooseFromTrayMenu(tray_menu::Exit);
        std::optional<TWindow> question = WaitForWindow(Program->Pid(), 280, 154, 5);
        ASSERT_TRUE(question) << "Exit asks first";
        Pause(300);
        Screenshot("exit-question");
        ClickAt(*question, MessageNoX, MessageButtonY);
        EXPECT_TRUE(WindowGone(Program->Pid(), 280, 154)) << "the question closes";
        EXPECT_FALSE(Program->Wait(1).has_value()) << "No keeps the program";

        ChooseFromTrayMenu(tray_menu::Exit);
        question = WaitForWindow(Program->Pid(), 280, 154, 5);
        ASSERT_TRUE(question) << "asked again";
        Pause(300);
        ClickAt(*question, MessageYesX, MessageButtonY);
        EXPECT_EQ(Program->Wait(10), std::optional<int>(0)) << "Yes ends the program";
        EXPECT_NE(Data().find("=Water the plants"), std::string::npos) << "the reminder stays: " << Data();
    }
};

TEST_F(TrayJourneyTest, FirstStartSpeaksTheSessionsLanguage) {
    TWindow main = StartProgram();
    ASSERT_GT(main.Width, 0);
    ExpectEnglish(main, "english");
    EndProgram();
    EXPECT_NE(Data().find("Language=English"), std::string::npos) << Data();

    // A fresh home in a Chinese session.
    std::filesystem::remove_all(Dir / "data");
    Lang = "zh_CN.UTF-8";
    main = StartProgram();
    ASSERT_GT(main.Width, 0);
    ExpectChinese(main, "chinese");
    EndProgram();
    EXPECT_NE(Data().find("Language=Chinese"), std::string::npos) << Data();
}

TEST_F(TrayJourneyTest, TrayMenuSwitchesSettingsAndTheLanguage) {
    ASSERT_TRUE(StartTray()) << "trayer is needed";
    const TWindow main = StartProgram();
    ASSERT_GT(main.Width, 0);
    ASSERT_TRUE(TrayIcon()) << "the icon docks in the tray";

    // Opened from the icon, the menu keeps Language shut: resting on it
    // opens no submenu.
    std::optional<TWindow> menu = OpenTrayMenu();
    ASSERT_TRUE(menu) << "the tray menu opens on a right click";
    MoveTo(menu->X + 60, menu->Y + tray_menu::Language);
    Pause(800);
    Screenshot("tray-menu");
    for (const TWindow& w : VisibleWindows(Program->Pid()))
        EXPECT_FALSE(w.Width == 180 && w.Height != 290) << "a submenu opened from the tray icon's menu";
    ClickAt(*menu, 60, tray_menu::RunOnStartup);
    ASSERT_TRUE(WindowGone(Program->Pid(), 180, 290, 5));
    ASSERT_TRUE(WaitUntil(5, [&] { return std::filesystem::exists(AutostartPath()); })) << "autostart entry";
    const std::string entry = testing_support::ReadFileBytes(AutostartPath());
    const auto exec = entry.find("\nExec=");
    ASSERT_NE(exec, std::string::npos) << entry;
    const std::string execLine = entry.substr(exec + 6, entry.find('\n', exec + 1) - exec - 6);
    EXPECT_NE(execLine.find("olvo-reminder"), std::string::npos) << execLine;
    EXPECT_EQ(execLine.substr(execLine.size() - 4), " -os") << execLine;
    ChooseFromTrayMenu(tray_menu::RunOnStartup);
    EXPECT_TRUE(WaitUntil(5, [&] { return !std::filesystem::exists(AutostartPath()); })) << "autostart removed";

    ChooseFromTrayMenu(tray_menu::CheckForNews);
    EXPECT_TRUE(DataHas("CHECKNEWS=0")) << Data();

    // The language, through the frame's menu button (the tray icon's menu
    // keeps Language shut): the first entry of its submenu is Chinese.
    Focus(main);
    ClickAt(main, MenuButtonX, MenuButtonY);
    menu = WaitForWindow(Program->Pid(), 180, 290, 5);
    ASSERT_TRUE(menu) << "the frame's menu button opens the same menu";
    MoveTo(menu->X + 60, menu->Y + tray_menu::Language);
    std::optional<TWindow> languages = WaitForWindowWhere(
        Program->Pid(), 5, [](const TWindow& w) { return w.Width == 180 && w.Height != 290; });
    ASSERT_TRUE(languages) << "the language submenu opens";
    Pause(300);
    Screenshot("language-menu");
    MoveTo(languages->X + 60, languages->Y + 44);
    ClickAt(*languages, 60, 18);
    EXPECT_TRUE(DataHas("Language=Chinese")) << Data();
    Pause(800);
    ExpectChinese(main, "switched-to-chinese");

    // Ended right away: the settings just changed stay.
    EndProgram();
    const std::string data = Data();
    EXPECT_NE(data.find("CHECKNEWS=0"), std::string::npos) << data;
    EXPECT_NE(data.find("Language=Chinese"), std::string::npos) << data;
    EXPECT_FALSE(std::filesystem::exists(AutostartPath()));
}

TEST_F(TrayJourneyTest, ExitFromTheTrayMenu) {
    // Nothing active: a start at logon ends at once, Exit asks nothing.
    auto logon = StartTool({"olvo-reminder", "-os"});
    EXPECT_EQ(logon->Wait(10), std::optional<int>(0)) << "a logon start with nothing to do ends";
    logon.reset();
    ASSERT_TRUE(StartTray()) << "trayer is needed";
    ASSERT_GT(StartProgram().Width, 0);
    ChooseFromTrayMenu(tray_menu::Exit);
    EXPECT_EQ(Program->Wait(10), std::optional<int>(0)) << "Exit with nothing active ends without a question";
    Helpers.clear();

    ExitAsksWhileActive();
}

TEST_F(TrayJourneyTest, ExitFromTheTrayMenuUnderAWindowManager) {
    if (!StartWindowManager()) GTEST_SKIP() << "openbox is needed";
    ExitAsksWhileActive();
}

}  // namespace
}  // namespace e2e
