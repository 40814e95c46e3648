// Backup and restore from the main window: the small menu under the
// "Restore" link, the dialogs' settings, the backup file written, the
// restore merging a backup back and the tab shown listed anew, and the
// error box when the backup cannot be written.
#include <string>
#include <vector>

#include "main_window_fixture.h"
#include "platform/ini_document.h"
#include "skin/orb_button.h"
#include "skin/orb_image.h"
#include "skin/orb_label.h"
#include "skin/orb_popup_menu.h"

using testing_support::ReadFileBytes;
using testing_support::TEnvGuard;

namespace {

class BackupTest : public TMainWindowFixture {
protected:
    void SetUp() override {
        TMainWindowFixture::SetUp();
        Store().AutoUpdate = false;
        Store().CheckNews = false;
        // Every dialog is noted and answered with the path set for it.
        Host.OnFileDialog = [this](TFileDialogKind kind, TFileDialogOptions& options) {
            Dialogs.push_back({kind, options});
            if (Answer.empty()) return TDialogResult::Cancel;
            options.FileName = Answer;
            return TDialogResult::Ok;
        };
    }

    // Opens the backup menu with the link and clicks one of its entries.
    void ChooseFromBackupMenu(int position) {
        ClickOn(*Window->lbl1);
        Host.Settle();
        TOrbPopupMenu& menu = *Window->fxpmn1;
        ASSERT_TRUE(menu.Showing());
        TForm* level = menu.LevelWindow(0);
        const TPoint p = Centre(menu.GetItem(position)->ItemRect);
        Host.MouseMove(*level, p.X, p.Y);
        Host.Click(*level, p.X, p.Y);
        Host.Settle();
    }
    void Backup(const std::string& path) {
        Answer = path;
        ChooseFromBackupMenu(0);
    }
    void Restore(const std::string& path) {
        Answer = path;
        ChooseFromBackupMenu(1);
    }
    const TRmRecordStruct* RecordOfRow(int i) const { return TfrmORMMain::RecordOf(Row(i)); }

    struct TDialog {
        TFileDialogKind Kind;
        TFileDialogOptions Options;
    };
    std::vector<TDialog> Dialogs;
    std::string Answer;
    TEnvGuard NoServer{"OLVO_SERVER", std::nullopt};
};

TEST_F(BackupTest, TheLinkAndItsPictureOpenTheBackupMenuUnderThePicture) {
    OpenWindow();
    for (TControl* opener : std::vector<TControl*>{Window->lbl1, Window->img1}) {
        ClickOn(*opener);
        Host.Settle();
        TOrbPopupMenu& menu = *Window->fxpmn1;
        ASSERT_TRUE(menu.Showing());
        ASSERT_EQ(menu.Count(), 2);
        EXPECT_EQ(menu.GetItem(0)->Caption(), "Backup");
        EXPECT_EQ(menu.GetItem(0)->Tag, 1);
        EXPECT_EQ(menu.GetItem(1)->Caption(), "Restore");
        EXPECT_EQ(menu.GetItem(1)->Tag, 2);
        const TRect& bounds = Host.WindowOf(*menu.LevelWindow(0))->Bounds;
        const TPoint under = Window->img1->ClientToScreen({0, Window->img1->Height()});
        EXPECT_EQ((TPoint{bounds.Left, bounds.Top}), under);
        menu.CloseMenu(true);
    }
}

TEST_F(BackupTest, BackupWritesTheRemindersWithoutTheSettings) {
    AddReminder("Water the plants", PeriodDaily, StartMoment() + OneHour);
    OpenWindow();
    const std::string target = Dir / "olvoreminddata";
    Backup(target);

    ASSERT_EQ(Dialogs.size(), 1u);
    const TFileDialogOptions& options = Dialogs[0].Options;
    EXPECT_EQ(Dialogs[0].Kind, TFileDialogKind::Save);
    EXPECT_EQ(options.Filter, "Olvo Reminder Data|*.dat");
    EXPECT_TRUE(options.OverwritePrompt);
    EXPECT_TRUE(options.DefaultExt.empty()) << "a name without extension stays so";

    const TIniDocument backup = TIniDocument::Parse(ReadFileBytes(target));
    EXPECT_FALSE(backup.HasSection("CONFIG"));
    const std::vector<std::string> sections = backup.SectionNames();
    ASSERT_FALSE(sections.empty());
    EXPECT_EQ(sections.back(), "BACKUP");
    EXPECT_EQ(backup.Read("BACKUP", "BACKTIME"), "2026-03-02");
    EXPECT_NE(ReadFileBytes(target).find("Water the plants"), std::string::npos);
}

TEST_F(BackupTest, CancellingTheDialogsDoesNothing) {
    AddReminder("Water the plants", PeriodDaily, StartMoment() + OneHour);
    OpenWindow();
    Backup("");
    Restore("");
    EXPECT_EQ(Dialogs.size(), 2u);
    EXPECT_EQ(Dialogs[1].Kind, TFileDialogKind::Open);
    EXPECT_EQ(Dialogs[1].Options.DefaultExt, "dat");
    EXPECT_TRUE(Dialogs[1].Options.MustExist);
    EXPECT_EQ(Dialogs[1].Options.FileName, "olvoreminddata.dat");
    EXPECT_EQ(RowCount(), 1);
    EXPECT_TRUE(AskedButtonSets.empty());
}

TEST_F(BackupTest, RestoreBringsBackDeletedRemindersKeepsNewOnesAndRelists) {
    TRmRecordStruct* plants = AddReminder("Water the plants", PeriodDaily, StartMoment() + OneHour);
    AddReminder("Call mother", PeriodWeekly, StartMoment() + OneHour, {1});
    OpenWindow();
    const std::string target = Dir / "backup.dat";
    Backup(target);

    Store().DeleteRecord(plants);
    Window->FillList(TReminderTab::Unfinished);
    AddReminder("Pay the rent", PeriodMonthly, StartMoment() + OneHour, {0});
    Window->FillList(TReminderTab::Unfinished);
    ASSERT_EQ(RowCount(), 2);

    Restore(target);
    EXPECT_EQ(RowCount(), 3) << "the list shows what came back";
    auto file = ReadBack();
    EXPECT_EQ(file->Records().size(), 3u);
    int plantsCount = 0;
    for (const auto& record : file->Records()) plantsCount += record->Description == "Water the plants";
    EXPECT_EQ(plantsCount, 1);

    // Restoring the same backup again adds nothing.
    Restore(target);
    EXPECT_EQ(RowCount(), 3);
    EXPECT_EQ(ReadBack()->Records().size(), 3u);
    EXPECT_EQ(Store().Language, "English") << "the settings stay";
}

TEST_F(BackupTest, RestoreWhileTheEditorIsOpenListsWhatCameBackAndAsksNothing) {
    TRmRecordStruct* plants = AddReminder("Water the plants", PeriodDaily, StartMoment() + OneHour);
    OpenWindow();
    const std::string target = Dir / "backup.dat";
    Backup(target);
    Store().DeleteRecord(plants);
    Window->FillList(TReminderTab::Unfinished);
    ClickOn(*Window->btnNew);
    for (int i = 0; i < 200 && Window->Sliding(); ++i) Host.Advance(5);
    Host.Settle();
    ASSERT_TRUE(Window->EditorShowing());

    Restore(target);
    EXPECT_TRUE(AskedButtonSets.empty()) << "no question about leaving the editor";
    EXPECT_TRUE(Window->EditorShowing());
    ASSERT_EQ(RowCount(), 1);
    EXPECT_EQ(RecordOfRow(0)->Description, "Water the plants");
}

TEST_F(BackupTest, RestoreOnTheCompletedTabListsRestoredCompletedReminders) {
    TRmRecordStruct* done = AddReminder("Done long ago", PeriodOnce, StartMoment() - 1, {}, StartMoment() - 0.5);
    OpenWindow();
    const std::string target = Dir / "backup.dat";
    Backup(target);
    Store().DeleteRecord(done);
    Window->SelectTab(Window->btnCompleted);
    ASSERT_EQ(RowCount(), 0);

    Restore(target);
    EXPECT_EQ(Window->CurrentTab(), TReminderTab::Completed);
    ASSERT_EQ(RowCount(), 1);
    EXPECT_EQ(RecordOfRow(0)->Description, "Done long ago");
    EXPECT_NE(RecordOfRow(0)->EndTime, 0.0) << "it comes back completed";
}

TEST_F(BackupTest, ABackupThatCannotBeWrittenShowsTheErrorBox) {
    AddReminder("Water the plants", PeriodDaily, StartMoment() + OneHour);
    OpenWindow();
    const std::string before = ReadFileBytes(DataFile());
    AnswerNextBox(mrOk);
    Backup(Dir / "no/such/folder/backup.dat");
    EXPECT_EQ(AskedButtonSets, std::vector<int>{BtnSetOk});
    EXPECT_EQ(ReadFileBytes(DataFile()), before) << "the data file is unchanged";
    EXPECT_EQ(RowCount(), 1);
}

}  // namespace
