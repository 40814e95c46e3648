// The main window's frame and layout, its language pass, its closing, and
// what happens when the data file cannot be written during a tick.
#include <filesystem>

#include "common/public_funs.h"
#include "main_window_fixture.h"
#include "platform/gui/timer.h"
#include "skin/orb_button.h"
#include "skin/orb_caption_button.h"
#include "skin/orb_form.h"
#include "skin/orb_image.h"
#include "skin/orb_image_list.h"
#include "skin/orb_label.h"
#include "skin/orb_panel.h"
#include "skin/orb_scroll_bar.h"

namespace {

class MainFormTest : public TMainWindowFixture {
protected:
    std::string Version() const {
        TVSFixedFileInfo record;
        GetFileVersionRecord(ProgramPath(), record);
        return VersionText(record);
    }
    void UseLanguage(const std::string& translation) {
        LangFilePath = Dir / "Test.ini";
        testing_support::WriteFileBytes(LangFilePath, "[Translation]\n" + translation);
        ReloadLanguage();
    }
};

TEST_F(MainFormTest, TheWindowIsCentredOnTheWorkAreaWithItsFrame) {
    Host.WorkAreaRect = {100, 40, 100 + 1280, 40 + 984};
    OpenWindow();
    EXPECT_EQ(Window->BoundsRect(), Bounds(100 + (1280 - 660) / 2, 40 + (984 - 455) / 2, 660, 455));
    TOrbForm& frame = *Window->fxfrm1;
    EXPECT_EQ(frame.BoundsRect(), Bounds(0, 0, 660, 455));
    EXPECT_EQ(frame.SkinDrawMode(), SmStretch);
    EXPECT_TRUE(frame.CaptionFont().Bold);
    EXPECT_EQ(frame.CaptionFont().Color, TColor(0xFFFFFF));
    EXPECT_EQ(frame.Caption(), "Olvo Reminder");
    ASSERT_NE(frame.BtnClose(), nullptr);
    ASSERT_NE(frame.BtnMenu(), nullptr);
    ASSERT_NE(frame.BtnMin(), nullptr);
    EXPECT_EQ(frame.BtnSkin(), nullptr) << "no skin button artwork";
    EXPECT_EQ(frame.BtnClose()->Top(), 0) << "3 above the caption, 3 lower for the border";
    // The skin's caption band, the outer and the inner border line.
    EXPECT_EQ(Host.PixelAt(*Window, 300, 10), Color32(0x31, 0x35, 0x3B));
    EXPECT_EQ(Host.PixelAt(*Window, 0, 200), Color32(42, 45, 50));
    EXPECT_EQ(Host.PixelAt(*Window, 1, 200), Color32(64, 70, 79));
}

TEST_F(MainFormTest, ControlsSitWhereTheWindowPlacesThemUnderTheirNames) {
    OpenWindow();
    struct Place {
        const char* name;
        TRect formRect;
    };
    const Place places[] = {
        {"btnUnfinish", Bounds(5, 31, 193, 39)},  {"btnCompleted", Bounds(5, 72, 194, 38)},
        {"pnlList", Bounds(205, 31, 450, 400)},   {"pnlListTitle", Bounds(205, 31, 450, 41)},
        {"txCaption", Bounds(215, 34, 310, 33)},  {"btnNew", Bounds(608, 36, 37, 34)},
        {"lbData", Bounds(205, 72, 450, 320)},    {"imgad", Bounds(4, 331, 200, 100)},
        {"lbl2", Bounds(5, 433, 174, 20)},        {"lbl3", Bounds(179, 433, 128, 20)},
        {"btn1", Bounds(569, 435, 20, 19)},       {"btn2", Bounds(591, 435, 20, 19)},
        {"btn3", Bounds(613, 435, 20, 19)},       {"btn4", Bounds(635, 435, 20, 19)},
        {"img1", Bounds(501, 1, 15, 16)},         {"lbl1", Bounds(515, 1, 72, 16)},
        {"pnlBtn", Bounds(205, 72, 57, 50)},      {"btnDetails", Bounds(206, 83, 25, 29)},
        {"btnDelete", Bounds(236, 83, 25, 29)},   {"pnlDetails", Bounds(655, 31, 450, 400)},
    };
    for (const Place& p : places) {
        SCOPED_TRACE(p.name);
        auto* control = dynamic_cast<TControl*>(Window->FindComponent(p.name));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->FormRect(), p.formRect);
    }
    EXPECT_FALSE(Window->pnlBtn->Visible());
    EXPECT_FALSE(Window->pnlDetails->Visible());
    EXPECT_EQ(Window->lbl3->Cursor(), TCursor::Hand);
    EXPECT_EQ(Window->lbl1->Cursor(), TCursor::Hand);
    for (const char* name : {"imgStorage", "ScrollRes", "Timer1", "tmr1", "OrbMessageBox1"})
        EXPECT_NE(Window->FindComponent(name), nullptr) << name;
    EXPECT_EQ(Window->imgStorage->Count(), 9);
}

TEST_F(MainFormTest, ALongListScrollsWithTheSkinnedBarAndKeepsTheRowButtonsLeftOfIt) {
    for (int i = 0; i < 12; ++i) AddReminder("Reminder " + std::to_string(i), PeriodDaily, EncodeTime(9, i, 0));
    OpenWindow();
    TOrbScrollBar* bar = Window->lbData->VerScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->Visible());
    MoveTo(RowCentre(Row(1)));
    ASSERT_TRUE(Window->pnlBtn->Visible());
    EXPECT_LE(Window->pnlBtn->BoundsRect().Right, bar->Left());

    // A wheel step moves the rows away under the panel: it goes, and the
    // next move brings it back beside the row under the mouse then.
    const TPoint p = RowCentre(Row(1));
    Host.Wheel(*Window, p.X, p.Y, -120);
    EXPECT_LT(Window->lbData->TopOffset(), 0);
    EXPECT_FALSE(Window->pnlBtn->Visible());
    MoveTo({p.X, p.Y + 1});
    TOrbLBoxItem* under = Window->RowAt({p.X - Window->lbData->FormRect().Left, p.Y + 1 - 72});
    ASSERT_NE(under, nullptr);
    EXPECT_NE(under, Row(1));
    EXPECT_EQ(Window->pnlBtn->Tag, reinterpret_cast<intptr_t>(under));
}

// ---- the language pass ----

TEST_F(MainFormTest, TheLanguagePassGivesHintsTitlesAndTheVersion) {
    OpenWindow();
    const TOrbForm& frame = *Window->fxfrm1;
    EXPECT_EQ(frame.BtnCloseHint(), "Close");
    EXPECT_EQ(frame.BtnMenuHint(), "Menu");
    EXPECT_EQ(frame.BtnMinHint(), "Minimize");
    EXPECT_EQ(Window->btn1->Hint, "Follow us on Facebook");
    EXPECT_EQ(Window->btn2->Hint, "Follow us on Twitter");
    EXPECT_EQ(Window->btn3->Hint, "Share it to your friends");
    EXPECT_EQ(Window->btn4->Hint, "Home Page");
    EXPECT_EQ(Window->btnUnfinish->Caption(), "Unfinished");
    EXPECT_EQ(Window->btnCompleted->Caption(), "Completed");
    EXPECT_EQ(Window->txCaption->Caption(), "Unfinished");
    EXPECT_EQ(Window->txCaption->Font().Size, 12);
    EXPECT_EQ(Window->txCaption->FontOver().Size, 12);
    EXPECT_EQ(Window->txCaption->FontDown().Size, 12);
    EXPECT_EQ(Window->lbl2->Caption(), "Current Version:" + Version());
    EXPECT_EQ(Window->lbl3->Caption(), "Check for Updates");
    EXPECT_EQ(Window->lbl3->FontOver().Color, TColor(0xE69516));
    EXPECT_EQ(Window->lbl1->Caption(), "Restore");
    EXPECT_EQ(Window->OrbMessageBox1->BtnCaptionYes, "Yes");
    EXPECT_EQ(Window->OrbMessageBox1->BtnCaptionNo, "NO");
    EXPECT_EQ(Window->OrbMessageBox1->BtnCaptionOk, "OK");
}

TEST_F(MainFormTest, ALanguageChangeRetitlesTheTabShownAndFormatsTheVersionAgain) {
    OpenWindow();
    ClickOn(*Window->btnCompleted);
    UseLanguage(
        "TfrmORMMain.btnCompleted.Caption=Erledigt\n"
        "TfrmORMMain.lbl2.caption=Version %s (%%)\n"
        "TfrmORMMain.CloseHint=Schliessen\n"
        "msgdlg.btnNO=Nein\n");
    Window->ApplyLanguage();
    EXPECT_EQ(Window->txCaption->Caption(), "Erledigt");
    EXPECT_EQ(Window->CurrentTab(), TReminderTab::Completed);
    EXPECT_EQ(Window->lbl2->Caption(), "Version " + Version() + " (%)");
    EXPECT_EQ(Window->fxfrm1->BtnCloseHint(), "Schliessen");
    EXPECT_EQ(Window->OrbMessageBox1->BtnCaptionNo, "Nein");
    EXPECT_EQ(Window->OrbMessageBox1->BtnCaptionYes, "Yes");

    UseLanguage("TfrmORMMain.lbl2.caption=No number here\n");
    Window->ApplyLanguage();
    EXPECT_EQ(Window->lbl2->Caption(), "No number here");
    EXPECT_EQ(Window->txCaption->Caption(), "Completed");
}

// ---- closing ----

TEST_F(MainFormTest, ClosingTheFrameHidesTheWindowWhileAReminderIsActive) {
    AddReminder("Still to do", PeriodDaily, EncodeTime(9, 0, 0));
    OpenWindow();
    EXPECT_TRUE(Window->HasActiveReminders());
    ClickOn(*Window->fxfrm1->BtnClose());
    EXPECT_FALSE(Window->Visible());
    EXPECT_FALSE(App.Terminated());
    EXPECT_TRUE(App.IsForm(Window));
    // The due check goes on in the tray.
    Host.Advance(5000);
    EXPECT_FALSE(TfrmORMMain::RecordOf(Row(0))->RemainText.empty());

    // A close the window manager asks for does the same.
    Window->Show();
    Host.CloseRequest(*Window);
    EXPECT_FALSE(Window->Visible());
    EXPECT_FALSE(App.Terminated());
}

TEST_F(MainFormTest, ClosingTheFrameWithNothingActiveEndsTheProgram) {
    const TDateTime now = StartMoment();
    TRmRecordStruct* done = AddReminder("Done", PeriodOnce, now - 1, {}, now - 0.5);
    OpenWindow();
    EXPECT_FALSE(Window->HasActiveReminders());
    done->NextAlert = now + OneHour;
    EXPECT_TRUE(Window->HasActiveReminders()) << "a pending alert keeps it active";
    done->NextAlert = 0;
    ClickOn(*Window->fxfrm1->BtnClose());
    EXPECT_TRUE(App.Terminated());
}

// ---- failures ----

TEST_F(MainFormTest, ATickThatCannotWriteShowsTheErrorAndTheProgramGoesOn) {
    TRmRecordStruct* record = AddReminder("Stand up", PeriodDaily, StartMoment() + 7 * OneSecond);
    OpenWindow();
    // The data file's folder goes away: every write fails from here.
    const std::string moved = Dir.Path() + "-away";
    std::filesystem::rename(Dir.Path(), moved);
    AnswerEveryBox();
    Host.Advance(5000);
    EXPECT_EQ(BoxButtonSets(), std::vector<int>{BtnSetOk});
    ASSERT_NE(AlertWindow, nullptr) << "the alert still comes";
    EXPECT_NE(AlertWindow->RowOf(record), nullptr);
    EXPECT_TRUE(Window->Timer1->Enabled());

    std::filesystem::rename(moved, Dir.Path());
    Host.Advance(5000);
    EXPECT_EQ(Boxes.size(), 1u) << "written again with the next change";
}

TEST_F(MainFormTest, MissedRemindersAreReportedAtCreationAndTheUnfinishedTabIsSelected) {
    TRmRecordStruct* missed = AddReminder("Morning pills", PeriodDaily, EncodeTime(8, 0, 0));
    missed->LastTime = StartMoment() - 1;  // alerted yesterday at ten
    Store().UpdateRecord(missed);
    OpenWindow();
    ASSERT_NE(AlertWindow, nullptr);
    EXPECT_NE(AlertWindow->RowOf(missed), nullptr);
    EXPECT_EQ(Window->CurrentTab(), TReminderTab::Unfinished);
    EXPECT_EQ(Window->btnUnfinish->BtnStatus(), bsSelect);
    EXPECT_EQ(RowCount(), 1);
}

}  // namespace
