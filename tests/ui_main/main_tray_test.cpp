// The tray icon and its menu: the entries in their order with separators,
// marks and the language submenu; Language disabled from the tray and
// enabled from the frame's menu button; the run-at-logon entry in the
// autostart folder; Exit with and without a question; the start at logon
// waiting hidden for a tray; F1 through the key hook; the language change
// while the program runs.
#include <string>
#include <vector>

#include "common/public_funs.h"
#include "main_window_fixture.h"
#include "online/local_http_server.h"
#include "online/server_address.h"
#include "online/threads/online_thread.h"
#include "platform/autostart.h"
#include "platform/folders.h"
#include "platform/gui/timer.h"
#include "platform/text_codec.h"
#include "skin/orb_button.h"
#include "skin/orb_caption_button.h"
#include "skin/orb_form.h"
#include "skin/orb_label.h"
#include "skin/orb_popup_menu.h"

using testing_support::TEnvGuard;
using testing_support::WriteFileBytes;

namespace {

class TrayTest : public TMainWindowFixture {
protected:
    void SetUp() override {
        TMainWindowFixture::SetUp();
        // No online check unless a test asks for one.
        Store().AutoUpdate = false;
        Store().CheckNews = false;
    }
    void TearDown() override {
        PumpUntil([] { return TOnlineThread::LiveCount() == 0; });
        TMainWindowFixture::TearDown();
    }

    // A language file of the test's own folder, UTF-16 as the shipped ones.
    void WriteLanguage(const std::string& name, const std::string& nativeName, const std::string& translation = "") {
        ForceDirectories(Languages());
        const std::string text = "[Translation]\r\n" + translation + "[Lang]\r\nNativeLanguage=" + nativeName + "\r\n";
        WriteFileBytes(Languages() + name + ".ini", EncodeText(text, TTextEncoding::Utf16LeBom));
    }
    std::string Languages() const { return Dir / "Languages/"; }

    // The window on the store, created as the program creates it: shown,
    // or (a start at logon) only loaded.
    TfrmORMMain* Open(bool logonStart = false, bool trayPresent = true) {
        Store();
        Window = App.CreateForm<TfrmORMMain>(std::move(PendingStore));
        Window->SetLanguageFolder(Languages());
        Window->SetLogonStart(logonStart);
        Tray()->SetTrayPresent(trayPresent);
        if (logonStart)
            Window->LoadWithoutShowing();
        else
            Window->Show();
        Host.Settle();
        return Window;
    }
    TOffscreenTrayIcon* Tray() const { return Host.TrayIcons.Last(); }
    TOrbPopupMenu& Menu() const { return *Window->ppmTrayIcon; }
    TOrbMenuItem* Entry(int position) const { return Menu().GetItem(position); }
    // The top-left corner of the open menu on the screen.
    TPoint MenuAt() const {
        const TRect& bounds = Host.WindowOf(*Menu().LevelWindow(0))->Bounds;
        return {bounds.Left, bounds.Top};
    }

    // A click on an entry of an open level, as the user's mouse gives it.
    void ClickEntry(TOrbPopupMenu& menu, int level, const TOrbMenuItem& item) {
        TForm* window = menu.LevelWindow(level);
        ASSERT_NE(window, nullptr);
        const TPoint p = Centre(item.ItemRect);
        Host.MouseMove(*window, p.X, p.Y);
        Host.Click(*window, p.X, p.Y);
        Host.Settle();
    }
    // Opens the menu with the frame's menu button.
    void OpenFromMenuButton() {
        ASSERT_NE(Window->fxfrm1->BtnMenu(), nullptr);
        ClickOn(*Window->fxfrm1->BtnMenu());
        Host.Settle();
    }

    TOpenedAddresses Opened;
    TEnvGuard ConfigHome{"XDG_CONFIG_HOME", Dir / "config"};
    TEnvGuard NoServer{ServerEnvVariable, std::nullopt};
};

TEST_F(TrayTest, TheMenuListsItsEntriesInOrderWithSeparatorsAndMarks) {
    WriteLanguage("Deutsch", "Deutsch (Deutschland)");
    Store().AutoUpdate = false;
    Store().CheckNews = true;
    Open();
    const std::vector<std::string> captions = {"Online Help", "Forum",    "Homepage",       "Contact Us",
                                               "-",           "Check for Updates", "Check for News", "Language",
                                               "-",           "Run on Startup",    "About",          "Exit"};
    const std::vector<intptr_t> tags = {1, 2, 3, 4, 0, 5, 6, 7, 0, 8, 9, 10};
    ASSERT_EQ(Menu().Count(), int(captions.size()));
    for (int i = 0; i < Menu().Count(); ++i) {
        EXPECT_EQ(Entry(i)->Caption(), captions[size_t(i)]) << i;
        EXPECT_EQ(Entry(i)->Tag, tags[size_t(i)]) << i;
    }
    EXPECT_TRUE(Entry(4)->IsSeparator());
    EXPECT_TRUE(Entry(8)->IsSeparator());
    EXPECT_EQ(Entry(0)->ShortCut(), (TShortCut{vk::F1, ssNone}));
    EXPECT_FALSE(Entry(5)->Checked()) << "AutoUpdate is off";
    EXPECT_TRUE(Entry(6)->Checked()) << "CheckNews is on";
    EXPECT_FALSE(Entry(9)->Checked()) << "no autostart entry";

    // The languages with their own names, then the link to translating.
    const TOrbMenuItem& language = *Entry(7);
    ASSERT_EQ(language.Count(), 2);
    EXPECT_EQ(language.Items(0)->Caption(), "Deutsch (Deutschland)");
    EXPECT_EQ(language.Items(0)->Hint, "Deutsch");
    EXPECT_TRUE(language.Items(0)->RadioItem);
    EXPECT_TRUE(language.Items(0)->AutoCheck);
    EXPECT_FALSE(language.Items(0)->Checked()) << "the built-in texts are active";
    EXPECT_EQ(language.Items(1)->Tag, 0xFFFF);
    EXPECT_EQ(language.Items(1)->Caption(), "translate to...");
    EXPECT_EQ(language.Items(1)->Hint, language.Items(1)->Caption());
}

TEST_F(TrayTest, LanguageIsDisabledFromTheTrayAndEnabledFromTheMenuButton) {
    Open();
    Tray()->UserRightButtonDown({700, 600});
    Host.Settle();
    ASSERT_TRUE(Menu().Showing());
    EXPECT_FALSE(Entry(7)->Enabled());
    EXPECT_EQ(MenuAt(), (TPoint{700, 600}));
    Menu().CloseMenu(true);
    EXPECT_TRUE(Entry(7)->Enabled()) << "closing enables it again";

    OpenFromMenuButton();
    ASSERT_TRUE(Menu().Showing());
    EXPECT_TRUE(Entry(7)->Enabled());
    const TControl& button = *Window->fxfrm1->BtnMenu();
    EXPECT_EQ(MenuAt(), button.ClientToScreen({0, button.Height()}));

    // From the tray while the window's menu still shows: the old menu's
    // close must not enable the entry of the new one.
    Tray()->UserRightButtonDown({700, 600});
    Host.Settle();
    ASSERT_TRUE(Menu().Showing());
    EXPECT_FALSE(Entry(7)->Enabled());
}

TEST_F(TrayTest, EveryLanguageWhoseNameIsInTheActiveFilePathIsMarked) {
    WriteLanguage("Chinese", "Chinese");
    WriteLanguage("ChineseTraditional", "Chinese Traditional");
    WriteLanguage("Deutsch", "Deutsch");
    LangFilePath = Languages() + "ChineseTraditional.ini";
    ReloadLanguage();
    Open();
    const TOrbMenuItem& language = *Entry(7);
    int marked = 0;
    for (const auto& item : language.SubItems()) {
        const bool chinese = item->Hint.rfind("Chinese", 0) == 0;
        EXPECT_EQ(item->Checked(), chinese) << item->Hint;
        marked += item->Checked();
    }
    EXPECT_EQ(marked, 2);

    // The mark says nothing about which is in use: the shorter name is
    // still a language to switch to.
    TOrbMenuItem* chinese = nullptr;
    for (const auto& item : language.SubItems())
        if (item->Hint == "Chinese") chinese = item.get();
    ASSERT_NE(chinese, nullptr);
    chinese->SetChecked(false);  // what the entry's own click does
    Window->LanguageMenuClick(chinese);
    EXPECT_EQ(LangFilePath, Languages() + "Chinese.ini");
}

TEST_F(TrayTest, RunOnStartupWritesAndRemovesTheAutostartEntry) {
    Open();
    Window->TrayMenuClick(Entry(9));
    std::string command;
    ASSERT_TRUE(ReadAutostartCommand("OlvoReminder", command));
    EXPECT_EQ(command, LogonStartCommand());
    EXPECT_EQ(command.substr(command.size() - 4), " -os");
    EXPECT_TRUE(Entry(9)->Checked());

    // A rebuild reads the mark from the entry.
    Window->BuildMenus();
    EXPECT_TRUE(Entry(9)->Checked());

    Window->TrayMenuClick(Entry(9));
    EXPECT_EQ(AutostartEntryPresence("OlvoReminder"), TAutostartPresence::Absent);
    EXPECT_FALSE(Entry(9)->Checked());
}

TEST_F(TrayTest, TheSwitchesFlipTheirMarkAndSaveTheConfiguration) {
    Store().AutoUpdate = true;
    Open();
    Window->TrayMenuClick(Entry(5));
    Window->TrayMenuClick(Entry(6));
    EXPECT_FALSE(Entry(5)->Checked());
    EXPECT_TRUE(Entry(6)->Checked());
    auto file = ReadBack();
    EXPECT_FALSE(file->AutoUpdate);
    EXPECT_TRUE(file->CheckNews);
    EXPECT_EQ(Host.FileDialogCount, 0);
}

TEST_F(TrayTest, ExitFromTheMenuWithOnlyCompletedRemindersEndsWithoutAQuestion) {
    AddReminder("Done long ago", PeriodOnce, StartMoment() - 1, {}, StartMoment() - 0.5);
    Open();
    OpenFromMenuButton();
    ClickEntry(Menu(), 0, *Entry(11));
    EXPECT_TRUE(AskedButtonSets.empty());
    EXPECT_TRUE(App.Terminated());
    EXPECT_FALSE(Window->Visible());
    EXPECT_FALSE(Tray()->Visible()) << "the close takes the icon away";
}

TEST_F(TrayTest, ExitWithAnUnfinishedReminderAsksAndNoKeepsTheProgram) {
    AddReminder("Water the plants", PeriodDaily, StartMoment() + OneHour);
    Open();
    AnswerNextBox(mrNo);
    Window->ExitProgram();
    EXPECT_EQ(AskedButtonSets, std::vector<int>{BtnSetYesNo});
    EXPECT_FALSE(App.Terminated());
    EXPECT_TRUE(Window->Visible());
    EXPECT_TRUE(Tray()->Visible());

    AnswerNextBox(mrYes);
    Window->ExitProgram();
    EXPECT_TRUE(App.Terminated()) << "Yes ends the program although a reminder waits";
}

TEST_F(TrayTest, AStartWithoutArgumentShowsTheIconAndTheWindow) {
    AddReminder("Water the plants", PeriodDaily, StartMoment() + OneHour);
    Open();
    EXPECT_TRUE(Window->Visible());
    EXPECT_TRUE(Tray()->Visible());
    EXPECT_FALSE(Window->tmr1->Enabled());

    // A click on the icon brings the hidden window back.
    Window->Close();
    ASSERT_FALSE(Window->Visible());
    Tray()->UserClick({10, 10});
    EXPECT_TRUE(Window->Visible());
}

TEST_F(TrayTest, ALogonStartWaitsHiddenForTheTrayThenShowsTheIconAndChecksNews) {
    TLocalHttpServer server;
    server.Route("/" + std::string(NewsInfoPath), HttpResponse(200, "[Msg]\r\nMsgID=0\r\n"));
    TEnvGuard served(ServerEnvVariable, server.Base());
    Store().CheckNews = true;
    AddReminder("Water the plants", PeriodDaily, StartMoment() + OneHour);
    Open(/*logonStart=*/true, /*trayPresent=*/false);

    EXPECT_FALSE(Window->Visible());
    EXPECT_TRUE(Window->tmr1->Enabled());
    Host.Advance(3000);
    EXPECT_FALSE(Tray()->Visible());
    EXPECT_EQ(server.RequestCount("/" + std::string(NewsInfoPath)), 0) << "no news check before the tray";
    // The list was built while hidden: the creation ran.
    EXPECT_EQ(RowCount(), 1);

    Tray()->SetTrayPresent(true);
    EXPECT_TRUE(Tray()->Visible());
    EXPECT_FALSE(Window->tmr1->Enabled());
    EXPECT_FALSE(Window->Visible()) << "the window stays hidden";
    EXPECT_TRUE(PumpUntil([&] { return server.RequestCount("/" + std::string(NewsInfoPath)) == 1; }));
}

TEST_F(TrayTest, ALogonStartFindsATrayThatCameWithoutNoticeWithinASecond) {
    AddReminder("Water the plants", PeriodDaily, StartMoment() + OneHour);
    Open(/*logonStart=*/true, /*trayPresent=*/false);
    Tray()->TrayPresent = true;  // no OnTrayChanged
    Host.Advance(1000);
    EXPECT_TRUE(Tray()->Visible());
    EXPECT_FALSE(Window->tmr1->Enabled());
}

TEST_F(TrayTest, ALogonStartWithNothingActiveEnds) {
    AddReminder("Done long ago", PeriodOnce, StartMoment() - 1, {}, StartMoment() - 0.5);
    Open(/*logonStart=*/true);
    EXPECT_TRUE(App.Terminated());
    EXPECT_FALSE(Window->Visible());
    EXPECT_FALSE(Tray()->Visible());
}

TEST_F(TrayTest, F1OpensTheHelpPageThroughTheKeyHook) {
    TEnvGuard served(ServerEnvVariable, "http://127.0.0.1:9/");
    Open();
    Host.KeyDown(*Window, vk::F1, ssCtrl);
    EXPECT_TRUE(Opened().empty()) << "only F1 without modifiers";
    Host.KeyDown(*Window, vk::F1);
    Host.Settle();
    EXPECT_EQ(Opened(), std::vector<std::string>{"http://127.0.0.1:9/help/"});
    EXPECT_FALSE(Menu().Showing());
}

TEST_F(TrayTest, TheLinksOpenTheServersPagesAndNothingWithoutAServer) {
    Open();
    auto clickEveryLink = [this] {
        for (int position : {0, 1, 2, 3}) Window->TrayMenuClick(Entry(position));
        Window->LanguageMenuClick(Entry(7)->Items(Entry(7)->Count() - 1));
    };
    clickEveryLink();
    EXPECT_TRUE(Opened().empty());
    TEnvGuard served(ServerEnvVariable, "http://127.0.0.1:9/");
    clickEveryLink();
    EXPECT_EQ(Opened(), (std::vector<std::string>{"http://127.0.0.1:9/help/", "http://127.0.0.1:9/forum/",
                                                "http://127.0.0.1:9/", "http://127.0.0.1:9/help.html",
                                                "http://127.0.0.1:9/language.html"}));
}

TEST_F(TrayTest, ChoosingALanguageTranslatesTheWindowAndBothMenus) {
    WriteLanguage("Deutsch", "Deutsch",
                  "TfrmORMMain.TrayMenuItem1=Online-Hilfe\r\nTfrmORMMain.lbl1.caption=Wiederherstellen\r\n"
                  "TfrmORMMain.fxpmn.item1=Sichern\r\nTfrmORMMain.btnUnfinish.caption=Offen\r\n"
                  "TfrmORMMain.cbPeriod.Item2=T\xc3\xa4glich\r\n");
    TRmRecordStruct* daily = AddReminder("Water the plants", PeriodDaily, StartMoment() + OneHour);
    Open();
    OpenFromMenuButton();
    // Hovering Language opens the submenu; the language is clicked there.
    TForm* top = Menu().LevelWindow(0);
    const TPoint p = Centre(Entry(7)->ItemRect);
    Host.MouseMove(*top, p.X, p.Y);
    Host.Settle();
    ASSERT_NE(Menu().LevelWindow(1), nullptr);
    ClickEntry(Menu(), 1, *Entry(7)->Items(0));

    EXPECT_EQ(LangFilePath, Languages() + "Deutsch.ini");
    EXPECT_EQ(Store().Language, "Deutsch");
    EXPECT_EQ(ReadBack()->Language, "Deutsch");
    EXPECT_EQ(Window->lbl1->Caption(), "Wiederherstellen");
    EXPECT_EQ(Window->btnUnfinish->Caption(), "Offen");
    EXPECT_EQ(Window->txCaption->Caption(), "Offen");
    EXPECT_EQ(Entry(0)->Caption(), "Online-Hilfe");
    EXPECT_EQ(Entry(1)->Caption(), "Forum") << "a key the file lacks shows the built-in text";
    EXPECT_EQ(Window->fxpmn1->GetItem(0)->Caption(), "Sichern");
    EXPECT_TRUE(Entry(7)->Items(0)->Checked());
    EXPECT_EQ(Menu().Count(), 12);
    EXPECT_EQ(daily->ScheduleText.rfind("T\xc3\xa4glich: ", 0), 0u) << "the listed row's rule in the new words";

    // Choosing it again changes nothing and keeps its mark.
    Entry(7)->Items(0)->SetChecked(false);  // what the entry's own click does
    Window->LanguageMenuClick(Entry(7)->Items(0));
    EXPECT_TRUE(Entry(7)->Items(0)->Checked());
    EXPECT_EQ(LangFilePath, Languages() + "Deutsch.ini");
}

}  // namespace
