// One reminder's life through the real program, driven with the mouse and
// the keyboard: made in the editor, alerted on time with its sound while
// another program keeps the keyboard, postponed from the alert, marked as
// finished, backed up, deleted on the Completed tab and brought back from
// the backup. Once on a bare display and once under a window manager.
#include "e2e/e2e_fixture.h"

namespace e2e {
namespace {

class ReminderJourneyTest : public TJourneyTest {
protected:
    // Everything on the main window in its own coordinates.
    struct TMain {
        static constexpr int NewX = 626, NewY = 53;
        static constexpr int SaveX = 607, SaveY = 52;
        static constexpr int DescriptionX = 300, DescriptionY = 140;
        static constexpr int PeriodX = 344, PeriodY = 201, DailyY = 259;
        static constexpr int TimeX = 520, TimeY = 201;
        static constexpr int VoiceX = 353, VoiceY = 324, DefaultVoiceY = 382;
        static constexpr int RowX = 400, RowY = 88;
        static constexpr int RowButtonX = 634, RowButtonY = 97;  // finish, or delete on Completed
        static constexpr int CompletedTabX = 100, CompletedTabY = 90;
        static constexpr int BackupLinkX = 540, BackupLinkY = 9;
    };

    void ExpectCentred(const TWindow& main) const {
        const TWindow area = WorkArea();
        EXPECT_NEAR(main.X, area.X + (area.Width - 660) / 2, 1);
        EXPECT_NEAR(main.Y, area.Y + (area.Height - 455) / 2, 1);
    }

    // The editor filled for a daily reminder at a moment a few seconds
    // ahead, with the default sound; answers that moment.
    std::string CreateDailyReminder(const TWindow& main) {
        Focus(main);
        ClickAt(main, TMain::NewX, TMain::NewY);
        Pause(1500);  // the editor slides in
        ClickAt(main, TMain::DescriptionX, TMain::DescriptionY);
        Pause(200);
        TypeText("Stretch your legs");
        ClickAt(main, TMain::PeriodX, TMain::PeriodY);
        Pause(600);
        ClickAt(main, TMain::DescriptionX, TMain::DailyY);
        Pause(400);
        ClickAt(main, TMain::VoiceX, TMain::VoiceY);
        Pause(600);
        ClickAt(main, TMain::DescriptionX, TMain::DefaultVoiceY);
        Pause(400);
        // Far enough ahead for the save and the focus change, near enough
        // for the next tick or two to alert it.
        const std::string moment = LocalMoment(14, "%H:%M:%S");
        ClickAt(main, TMain::TimeX, TMain::TimeY);
        Pause(200);
        Key("ctrl+a");
        TypeText(moment);
        Key("Tab");
        Pause(200);
        Screenshot("editor");
        ClickAt(main, TMain::SaveX, TMain::SaveY);
        return moment;
    }

    // Types a path into the open file dialog of the program and confirms it.
    void AnswerFileDialog(const std::string& path, bool save) {
        std::optional<TWindow> dialog;
        ASSERT_TRUE(WaitUntil(10, [&] {
            for (const TWindow& w : VisibleWindows(Program->Pid()))
                if (w.Width > 660 && w.Height > 455) return bool(dialog = w);
            return false;
        })) << "the file dialog opens";
        Pause(500);
        Focus(*dialog);
        if (!save) {
            // The open dialog shows its location entry on the first "/".
            TypeText("/");
            Pause(400);
        }
        Key("ctrl+a");
        TypeText(path);
        Pause(300);
        Screenshot(save ? "save-dialog" : "open-dialog");
        Key("Return");
        EXPECT_TRUE(WindowGone(Program->Pid(), dialog->Width, dialog->Height)) << "the dialog closes";
    }
    void BackupMenu(const TWindow& main, int entryY) {
        Focus(main);
        ClickAt(main, TMain::BackupLinkX, TMain::BackupLinkY);
        // Two entries, at least 80 wide (wider as the texts need).
        std::optional<TWindow> menu = WaitForWindowWhere(Program->Pid(), 5, [](const TWindow& w) {
            return w.Width >= 80 && w.Width < 200 && w.Height == 68;
        });
        ASSERT_TRUE(menu) << "the backup menu opens";
        Pause(300);
        ClickAt(*menu, 40, entryY);
    }
    void HoverRowAndClickItsButton(const TWindow& main) {
        Focus(main);
        MoveTo(main.X + TMain::RowX, main.Y + TMain::RowY);
        Pause(500);
        ClickAt(main, TMain::RowButtonX, TMain::RowButtonY);
    }

    void RunJourney() {
        const TWindow main = StartProgram();
        ASSERT_GT(main.Width, 0);
        ExpectCentred(main);

        const std::string moment = CreateDailyReminder(main);
        ASSERT_TRUE(DataHas("=Stretch your legs")) << Data();
        EXPECT_NE(Data().find("WAKETIME=" + moment), std::string::npos) << Data();
        EXPECT_NE(Data().find("PERIOD=1"), std::string::npos) << Data();
        EXPECT_NE(Data().find("VOICE=default.mp3"), std::string::npos) << Data();

        // Another program has the keyboard when the alert comes.
        std::optional<TWindow> holder = StartFocusHolder();
        ASSERT_TRUE(holder) << "xmessage is needed";
        ASSERT_EQ(FocusedWindow(), holder->Id);
        std::optional<TWindow> alert = WaitForWindow(Program->Pid(), 440, 0, 25);
        ASSERT_TRUE(alert) << "the alert pops up";
        // Let it slide up to its place.
        Pause(800);
        alert = Geometry(alert->Id);
        const TWindow area = WorkArea();
        EXPECT_EQ(alert->X + alert->Width, area.X + area.Width) << "at the right edge";
        EXPECT_EQ(alert->Y + alert->Height, area.Y + area.Height) << "at the bottom";
        EXPECT_EQ(FocusedWindow(), holder->Id) << "the alert leaves the keyboard where it was";
        EXPECT_TRUE(WaitUntil(10, [&] { return std::filesystem::exists(SoundPath()) &&
                                               std::filesystem::file_size(SoundPath()) > 1000; }))
            << "the default sound plays";
        Screenshot("alert");

        // Postpone by an hour through the alert's drop-down (second entry).
        ClickAt(*alert, 372, 159);
        std::optional<TWindow> delays = WaitForWindow(Program->Pid(), 112, 140, 5);
        ASSERT_TRUE(delays) << "the postpone list drops down";
        Screenshot("postpone");
        const std::string inAnHour = LocalMoment(3600, "%Y-%m-%d %H:%M");
        const std::string inAnHourAndAMinute = LocalMoment(3660, "%Y-%m-%d %H:%M");
        ClickAt(*delays, 50, 40);
        EXPECT_TRUE(WindowGone(Program->Pid(), 440, alert->Height)) << "the alert closes";
        ASSERT_TRUE(DataHas("NEXTALERT=2")) << Data();
        const std::string data = Data();
        const std::string next = data.substr(data.find("NEXTALERT=") + 10, 16);
        EXPECT_TRUE(next == inAnHour || next == inAnHourAndAMinute) << next << " is not an hour ahead";

        // Mark as finished: completed, nothing pending.
        HoverRowAndClickItsButton(main);
        EXPECT_TRUE(DataHas("ENDTIME=2")) << Data();
        EXPECT_EQ(Data().find("NEXTALERT=2"), std::string::npos) << Data();

        // Back up, delete on the Completed tab, restore.
        const std::string backup = Dir / "backup of reminders.dat";
        BackupMenu(main, 18);
        AnswerFileDialog(backup, true);
        ASSERT_TRUE(WaitUntil(5, [&] { return std::filesystem::exists(backup); })) << "the backup is written";
        const std::string saved = testing_support::ReadFileBytes(backup);
        EXPECT_NE(saved.find("=Stretch your legs"), std::string::npos) << saved;
        EXPECT_EQ(saved.find("[CONFIG]"), std::string::npos) << saved;

        Focus(main);
        ClickAt(main, TMain::CompletedTabX, TMain::CompletedTabY);
        Pause(500);
        Screenshot("completed");
        HoverRowAndClickItsButton(main);
        EXPECT_TRUE(WaitUntil(5, [&] { return Data().find("Stretch your legs") == std::string::npos; }))
            << "deleted: " << Data();

        BackupMenu(main, 44);
        AnswerFileDialog(backup, false);
        EXPECT_TRUE(DataHas("=Stretch your legs")) << "restored: " << Data();
        EXPECT_NE(Data().find("ENDTIME=2"), std::string::npos) << "restored as completed: " << Data();
        Pause(500);
        // The restored reminder is listed on the Completed tab again: its
        // row's dark description where the empty tab shows only a picture.
        const TBitmap32 shot = Screenshot("restored");
        EXPECT_GT(CountPixels(shot, main.X + 215, main.Y + 78, 150, 18, Dark), 20) << "the restored row";
        EndProgram();
    }
};

TEST_F(ReminderJourneyTest, FromTheEditorThroughTheAlertToBackupAndRestore) { RunJourney(); }

TEST_F(ReminderJourneyTest, FromTheEditorThroughTheAlertUnderAWindowManager) {
    if (!StartWindowManager()) GTEST_SKIP() << "openbox is needed";
    RunJourney();
}

}  // namespace
}  // namespace e2e
