// The main window's editor page on the offscreen host, driven as the user
// drives it: the new-reminder button, typing into the description's
// editor, choosing combo box entries and ticking boxes with the mouse,
// picking dates and times in the pickers, and Save or Back. Each reminder
// kind is listed with its texts and reaches the data file; refused saves
// change nothing; an edited reminder whose row vanished is still saved.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "main_window_fixture.h"
#include "platform/gui/date_time_picker.h"
#include "schedule/schedule_text.h"
#include "skin/orb_button.h"
#include "skin/orb_check_box.h"
#include "skin/orb_combobox.h"
#include "skin/orb_edit.h"
#include "skin/orb_label.h"
#include "skin/orb_list_form.h"
#include "skin/orb_panel.h"
#include "skin/orb_rich_edit.h"
#include "skin/skin_artwork.h"

using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

namespace {

class EditorTest : public TMainWindowFixture {
protected:
    // Monday 2 March 2026, 10:00, and the next day.
    const TDateTime Start = StartMoment();
    const TDateTime Tomorrow = DateOf(StartMoment()) + 1;

    void SetUp() override {
        TMainWindowFixture::SetUp();
        AnswerEveryBox();  // with OK, the only button of the editor's boxes
    }

    // A reminder due tomorrow at 8:00 (the date and flags as its kind keeps them).
    TRmRecordStruct* Seed(const std::string& description, uint8_t period, std::initializer_list<int> flags = {},
                          TDateTime endTime = 0, const std::string& voice = "") {
        TRmRecordStruct* record = AddReminder(description, period, Tomorrow + EncodeTime(8, 0, 0), flags, endTime);
        if (!voice.empty()) {
            record->Voice = voice;
            Store().UpdateRecord(record);
        }
        return record;
    }

    void Click(TControl* control) { ClickOn(*control); }
    void FinishSlide() {
        for (int i = 0; i < 200 && Window->Sliding(); ++i) Host.Advance(5);
        Host.Settle();
    }
    void NewReminder() {
        Click(Window->btnNew);
        FinishSlide();
        ASSERT_TRUE(Window->EditorShowing());
    }
    void OpenRow(const TRmRecordStruct* record) {
        TOrbLBoxItem* row = Window->FindListRow(record);
        ASSERT_NE(row, nullptr);
        MoveTo(RowCentre(row));
        ASSERT_TRUE(Window->pnlBtn->Visible());
        Click(Window->btnDetails);
        FinishSlide();
        ASSERT_TRUE(Window->EditorShowing());
        EXPECT_EQ(Window->EditedRow(), row);
        EXPECT_FALSE(Window->pnlBtn->Visible());
    }
    void Type(const std::string& text) {
        auto* editor = static_cast<TOffscreenTextEditor*>(Window->edName->Editor());
        ASSERT_NE(editor, nullptr);
        editor->UserType(text);
    }
    void Choose(TOrbCombobox* combo, int index) {
        Click(combo);
        ASSERT_TRUE(combo->DroppedDown());
        Host.Settle();
        const TPoint p = Centre(combo->GetItem(index)->ItemRect);
        Host.MouseMove(*combo->ListForm(), p.X, p.Y);
        Host.Click(*combo->ListForm(), p.X, p.Y);
        Host.Settle();
        ASSERT_EQ(combo->index(), index);
    }
    void PickTime(TDateTime time) { static_cast<TOffscreenTimePicker*>(Window->edTime->Native())->UserPick(time); }
    void PickDate(TDateTime date) { static_cast<TOffscreenDatePicker*>(Window->edDate->Native())->UserPick(date); }
    void Save() {
        Click(Window->btnDone);
        FinishSlide();
    }
    void Back() {
        Click(Window->btnBack);
        FinishSlide();
    }
    TRmRecordStruct* Only() {
        return Window->Store().Records().size() == 1 ? Window->Store().Records()[0].get() : nullptr;
    }
    // Whether the last box shown said `text` with that icon and an OK button.
    bool LastBoxSaid(const std::string& text, int icon = MsgIconWarning) {
        if (Boxes.empty()) return false;
        TOrbMessageBox* box = Window->OrbMessageBox1;
        box->Compose(LangText("Translation", "Confirm", "Confirm"), text, BtnSetOk, icon);
        return Boxes.back().Buttons == BtnSetOk && SamePixels(Boxes.back().Picture, box->Picture());
    }
};

// ---- creating each kind ----

TEST_F(EditorTest, EachKindMadeInTheEditorIsListedWithItsTextsAndStored) {
    OpenWindow();
    struct TCase {
        const char* Description;
        int Period;
        std::vector<TOrbCheckBox*> Ticks;
        TDateTime Date, Time;
        const char* Schedule;
    };
    const std::vector<TCase> cases = {
        {"Call the dentist", PeriodOnce, {}, Tomorrow, EncodeTime(8, 30, 0), "2026-03-03 08:30:00"},
        {"Water the plants", PeriodDaily, {}, EncodeDate(2020, 1, 1), EncodeTime(7, 15, 0), "Daily: 07:15:00"},
        {"Team meeting", PeriodWeekly, {Window->WeekBoxes[2], Window->WeekBoxes[4]}, 0, EncodeTime(10, 0, 0),
         "Weekly: Mon ,Wed "},
        {"Pay the rent", PeriodMonthly, {Window->DayBoxes[1], Window->DayBoxes[15]}, 0, EncodeTime(12, 0, 0),
         "Monthly: 1 ,15 "},
        {"Christmas dinner", PeriodYearly, {}, EncodeDate(2026, 12, 24), EncodeTime(18, 0, 0),
         "Yearly: 2026-12-24 18:00:00"},
    };
    for (size_t n = 0; n < cases.size(); ++n) {
        const TCase& c = cases[n];
        SCOPED_TRACE(c.Description);
        NewReminder();
        Type(c.Description);
        if (c.Period != PeriodOnce) Choose(Window->cbPeriod, c.Period);
        for (TOrbCheckBox* box : c.Ticks) Click(box);
        if (c.Date != 0) PickDate(c.Date);
        PickTime(c.Time);
        Save();
        EXPECT_TRUE(Boxes.empty());
        ASSERT_FALSE(Window->EditorShowing());
        ASSERT_EQ(Window->Store().Records().size(), n + 1);
        TRmRecordStruct* record = Window->Store().Records().back().get();
        TOrbLBoxItem* row = Window->FindListRow(record);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->Caption(), c.Description);
        EXPECT_EQ(Window->lbData->GetItem(Window->lbData->Count() - 1), row) << "a new row goes at the end";
        EXPECT_EQ(record->ScheduleText, c.Schedule);
        // Made within the same second, each later one's identity moved on.
        EXPECT_NEAR(record->LastTime, Start, OneSecond);
        EXPECT_NEAR(record->CreateDateTime, record->LastTime + double(n) * OneSecond, OneSecond);
        EXPECT_EQ(record->Voice, "");
        // Ticked boxes stay ticked for the next new reminder: clear them.
        for (TOrbCheckBox* box : c.Ticks) box->SetChecked(false);
    }
    // Everything reached the data file.
    const auto reread = ReadBack();
    ASSERT_EQ(reread->Records().size(), cases.size());
    for (size_t n = 0; n < cases.size(); ++n) {
        EXPECT_EQ(reread->Records()[n]->Description, cases[n].Description);
        EXPECT_EQ(ScheduleTextOf(*reread->Records()[n]), cases[n].Schedule);
    }
}

// ---- refusals ----

TEST_F(EditorTest, RefusalsComeInOrderAndChangeNothing) {
    OpenWindow();
    NewReminder();
    const std::string fileBefore = ReadFileBytes(DataFile());
    auto expectRefused = [&](const char* key) {
        SCOPED_TRACE(key);
        EXPECT_TRUE(LastBoxSaid(LangText("Messages", key, ""))) << "boxes seen: " << Boxes.size();
        EXPECT_TRUE(Window->EditorShowing());
        EXPECT_TRUE(Window->Store().Records().empty());
        EXPECT_EQ(Window->lbData->Count(), 0);
        EXPECT_EQ(ReadFileBytes(DataFile()), fileBefore);
    };
    Save();
    expectRefused("RemindNameNULL");

    Type("Take the train");
    PickDate(DateOf(Start));
    PickTime(TimeOf(Start) - OneMinute);
    Save();
    expectRefused("TimeOver");
    EXPECT_EQ(Window->edName->Text(), "Take the train") << "the entries stay for correcting";

    for (int period : {PeriodWeekly, PeriodMonthly}) {
        Choose(Window->cbPeriod, period);
        Save();
        expectRefused("NoneSelected");
    }
    EXPECT_EQ(Boxes.size(), 4u);

    Choose(Window->cbPeriod, PeriodOnce);
    PickDate(Tomorrow);
    Save();
    EXPECT_EQ(Boxes.size(), 4u) << "the same time tomorrow passes";
    ASSERT_NE(Only(), nullptr);
    EXPECT_NEAR(Only()->WakeDate() + Only()->WakeTime, Tomorrow + TimeOf(Start) - OneMinute, OneSecond / 10);
}

TEST_F(EditorTest, RefusedWeeklySaveLeavesRowRecordAndFileAsTheyWere) {
    TRmRecordStruct* gym = Seed("Gym", PeriodWeekly, {1, 3});
    OpenWindow();
    const std::string fileBefore = ReadFileBytes(DataFile());
    OpenRow(gym);
    EXPECT_TRUE(Window->WeekBoxes[2]->Checked());
    Click(Window->WeekBoxes[2]);
    Click(Window->WeekBoxes[4]);
    Type(" and swim");
    Save();
    EXPECT_TRUE(LastBoxSaid(LangText("Messages", "NoneSelected", "")));
    EXPECT_EQ(gym->RepeatData[1], 1);
    EXPECT_EQ(gym->RepeatData[3], 1);
    EXPECT_EQ(gym->Description, "Gym");
    EXPECT_EQ(Window->FindListRow(gym)->Caption(), "Gym");
    EXPECT_EQ(ReadFileBytes(DataFile()), fileBefore);
}

// ---- editing ----

TEST_F(EditorTest, ModifyAndRecoverMovesACompletedReminderBackToUnfinished) {
    TRmRecordStruct* record = Seed("Renew the passport", PeriodOnce, {}, Start - 1);
    OpenWindow();
    EXPECT_EQ(Window->lbData->Count(), 0);
    Click(Window->btnCompleted);
    Host.Settle();
    OpenRow(record);
    EXPECT_EQ(Window->edName->Text(), "Renew the passport");
    EXPECT_EQ(Window->edDate->DateTime(), Tomorrow);
    EXPECT_NEAR(Window->edTime->DateTime(), EncodeTime(8, 0, 0), 1e-9);
    Save();
    EXPECT_TRUE(Boxes.empty());
    EXPECT_EQ(record->EndTime, 0);
    EXPECT_EQ(Window->FindListRow(record), nullptr) << "it left the Completed tab";
    Click(Window->btnUnfinish);
    Host.Settle();
    EXPECT_NE(Window->FindListRow(record), nullptr);
    const auto reread = ReadBack();
    ASSERT_EQ(reread->Records().size(), 1u);
    EXPECT_EQ(reread->Records()[0]->EndTime, 0);
}

TEST_F(EditorTest, WeeklyAfterMonthlyShowsTheWeekPanelWithTheRemindersDays) {
    Seed("Bills", PeriodMonthly, {2, 19});
    Seed("Choir", PeriodWeekly, {2, 5});
    Seed("Market", PeriodWeekly, {0});
    OpenWindow();
    struct TCase {
        bool Weekly;
        std::vector<size_t> Ticked;  // the boxes ticked (1-based)
    };
    const TCase cases[] = {{false, {3, 20}}, {true, {3, 6}}, {true, {1}}};
    for (size_t n = 0; n < 3; ++n) {
        const TCase& c = cases[n];
        SCOPED_TRACE(n);
        OpenRow(Window->Store().Records()[n].get());
        EXPECT_EQ(Window->pnlWeek->Visible(), c.Weekly);
        EXPECT_EQ(Window->pnlMonth->Visible(), !c.Weekly);
        EXPECT_FALSE(Window->pnlDate->Visible());
        EXPECT_EQ(Window->cbPeriod->index(), c.Weekly ? PeriodWeekly : PeriodMonthly);
        const size_t last = c.Weekly ? 7 : 31;
        for (size_t day = 1; day <= last; ++day)
            EXPECT_EQ((c.Weekly ? Window->WeekBoxes[day] : Window->DayBoxes[day])->Checked(),
                      std::count(c.Ticked.begin(), c.Ticked.end(), day) == 1)
                << day;
        Back();
    }
}

TEST_F(EditorTest, VoiceChoiceFollowsTheReminder) {
    Seed("Default sound", PeriodDaily, {}, 0, "default.mp3");
    Seed("Own sound", PeriodDaily, {}, 0, "/home/user/Music/bell.ogg");
    Seed("Silent", PeriodDaily);
    OpenWindow();
    const auto& records = Window->Store().Records();
    struct TCase {
        int Row, Choice;
        bool RowShown;
    };
    for (TCase c : {TCase{0, 1, false}, TCase{1, 2, true}, TCase{2, 0, false}}) {
        SCOPED_TRACE(records[size_t(c.Row)]->Description);
        OpenRow(records[size_t(c.Row)].get());
        EXPECT_EQ(Window->cbbVoice->index(), c.Choice);
        EXPECT_EQ(Window->pnlVoice->Visible(), c.RowShown);
        if (c.RowShown) {
            EXPECT_EQ(Window->edtVoice->Text(), "/home/user/Music/bell.ogg");
        }
        Back();
    }
    // Saving keeps each choice as it was read.
    OpenRow(records[1].get());
    Save();
    EXPECT_EQ(records[1]->Voice, "/home/user/Music/bell.ogg");
    OpenRow(records[0].get());
    Choose(Window->cbbVoice, 0);
    EXPECT_FALSE(Window->pnlVoice->Visible());
    Save();
    EXPECT_EQ(records[0]->Voice, "");
}

TEST_F(EditorTest, BackDiscardsTheChangesWithoutAQuestion) {
    TRmRecordStruct* record = Seed("Dentist", PeriodOnce);
    OpenWindow();
    const std::string fileBefore = ReadFileBytes(DataFile());
    OpenRow(record);
    Type(" and the optician");
    Choose(Window->cbPeriod, PeriodMonthly);
    Click(Window->DayBoxes[9]);
    Back();
    EXPECT_EQ(Host.MaxLoopDepth(), 0) << "no box asked anything";
    EXPECT_FALSE(Window->EditorShowing());
    EXPECT_TRUE(Window->pnlList->Visible());
    EXPECT_EQ(record->Description, "Dentist");
    EXPECT_EQ(record->Period, PeriodOnce);
    EXPECT_EQ(ReadFileBytes(DataFile()), fileBefore);
}

// The due check completes the once-only reminder being edited and takes
// its row off the list; the save still reaches the record, and the
// reminder, unfinished again, is listed.
TEST_F(EditorTest, SavingAReminderWhoseRowVanishedUpdatesItsRecord) {
    TRmRecordStruct* record = AddReminder("Leave for the airport", PeriodOnce, Start + 8 * OneSecond);
    OpenWindow();
    OpenRow(record);
    Host.Advance(20000);
    ASSERT_NE(record->EndTime, 0) << "the due check completed it";
    EXPECT_EQ(Window->FindListRow(record), nullptr);
    EXPECT_EQ(Window->EditedRow(), nullptr) << "no pointer to a deleted row is kept";
    ASSERT_TRUE(Window->EditorShowing());

    PickDate(Tomorrow);
    Save();
    EXPECT_TRUE(Boxes.empty());
    ASSERT_EQ(Window->Store().Records().size(), 1u) << "no second reminder";
    EXPECT_EQ(record->EndTime, 0);
    EXPECT_EQ(record->WakeDate(), Tomorrow);
    TOrbLBoxItem* row = Window->FindListRow(record);
    ASSERT_NE(row, nullptr) << "unfinished again, so listed again";
    EXPECT_EQ(row->Caption(), "Leave for the airport");
}

// ---- failures of the store ----

TEST_F(EditorTest, AFailedWriteShowsTheErrorAndListsOnlyWhatTheStoreHolds) {
    PendingStore = std::make_unique<TRemindFile>(Dir / "missing-folder/" + DataFileName);
    OpenWindow();
    NewReminder();
    Type("Kept in memory");
    PickDate(Tomorrow);
    Save();
    ASSERT_EQ(Boxes.size(), 1u) << "the user hears of the failed write";
    TRmRecordStruct* record = Only();
    ASSERT_NE(record, nullptr) << "the store keeps it and writes it with the next change";
    EXPECT_NE(Window->FindListRow(record), nullptr);
    EXPECT_FALSE(Window->EditorShowing());
}

TEST_F(EditorTest, ARecordTheStoreRefusedGetsNoRow) {
    // The last second the data file can name: a second reminder made in
    // that second has no identity left.
    const TDateTime last = EncodeDateTime(9999, 12, 31, 23, 59, 59);
    Host.SetDateTime(last);
    OpenWindow();
    for (const char* description : {"First", "Second"}) {
        NewReminder();
        Host.SetDateTime(last);  // back to the whole second after the slide
        Type(description);
        PickDate(DateOf(last));
        PickTime(TimeOf(last));
        Save();
    }
    ASSERT_EQ(Boxes.size(), 1u);
    ASSERT_EQ(Window->Store().Records().size(), 1u);
    EXPECT_EQ(Window->lbData->Count(), 1);
    EXPECT_TRUE(Window->EditorShowing()) << "the entries stay for another try";
}

// ---- the slide ----

TEST_F(EditorTest, SaveAndBackDuringASlideStartNoSecondSlide) {
    OpenWindow();
    Click(Window->btnNew);
    Host.Advance(10);
    ASSERT_TRUE(Window->Sliding());
    Click(Window->btnBack);
    Click(Window->btnDone);
    FinishSlide();
    EXPECT_TRUE(Window->EditorShowing());
    EXPECT_EQ(Window->pnlDetails->Left(), Window->pnlList->Left());
    EXPECT_TRUE(Boxes.empty()) << "the save was not tried";

    Type("Once is enough");
    PickDate(Tomorrow);
    Click(Window->btnDone);
    Host.Advance(10);
    Click(Window->btnDone);
    FinishSlide();
    EXPECT_EQ(Window->Store().Records().size(), 1u);
    EXPECT_FALSE(Window->EditorShowing());
    EXPECT_TRUE(Window->pnlList->Visible());
    EXPECT_FALSE(Window->pnlDetails->Visible());
}

// ---- the voice row ----

TEST_F(EditorTest, TestButtonShowsStopWhilePlayingAndPlayAfterwards) {
    const std::string bell = Dir / "bell.mp3";
    WriteFileBytes(bell, std::string("ID3") + std::string(64, '\0'));
    Host.SoundFiles.DurationMs[bell] = 3000;
    OpenWindow();
    NewReminder();
    Choose(Window->cbbVoice, 2);
    ASSERT_TRUE(Window->pnlVoice->Visible());
    EXPECT_EQ(Window->edtVoice->Text(), "default.mp3");
    Host.OnFileDialog = [&](TFileDialogKind kind, TFileDialogOptions& options) {
        EXPECT_EQ(kind, TFileDialogKind::Open);
        EXPECT_TRUE(options.MustExist);
        EXPECT_EQ(options.Filter, "");
        options.FileName = bell;
        return TDialogResult::Ok;
    };
    Click(Window->btnSelFile);
    EXPECT_EQ(Window->edtVoice->Text(), bell);

    const TBitmap32 play = SkinArtwork("voice_play"), stop = SkinArtwork("voice_stop");
    ASSERT_FALSE(SamePixels(play, stop));
    EXPECT_TRUE(SamePixels(Window->btnTest->ImgBtn(), play));
    Click(Window->btnTest);
    Host.Settle();
    EXPECT_NE(Window->TestVoice().SoundDevice, 0u);
    EXPECT_TRUE(SamePixels(Window->btnTest->ImgBtn(), stop)) << "after the opened notice";
    Host.Advance(3500);
    EXPECT_EQ(Window->TestVoice().SoundDevice, 0u);
    EXPECT_TRUE(SamePixels(Window->btnTest->ImgBtn(), play)) << "after the completion notice";

    Click(Window->btnTest);
    Host.Settle();
    ASSERT_TRUE(SamePixels(Window->btnTest->ImgBtn(), stop));
    Click(Window->btnTest);  // stops it
    Host.Settle();
    EXPECT_EQ(Window->TestVoice().SoundDevice, 0u);
    EXPECT_TRUE(SamePixels(Window->btnTest->ImgBtn(), play)) << "after the stop's notice";

    // Back stops a playing sound first.
    Click(Window->btnTest);
    Host.Settle();
    ASSERT_NE(Window->TestVoice().SoundDevice, 0u);
    Back();
    EXPECT_EQ(Window->TestVoice().SoundDevice, 0u);
    EXPECT_TRUE(SamePixels(Window->btnTest->ImgBtn(), play));
}

// ---- language ----

TEST_F(EditorTest, LanguagePassRefillsTheEntriesAndStartsThePeriodOverAtOnce) {
    OpenWindow();
    NewReminder();
    Choose(Window->cbPeriod, PeriodWeekly);
    Choose(Window->cbbVoice, 2);
    Window->ApplyLanguage();
    std::vector<std::string> periods, voices;
    for (int i = 0; i < Window->cbPeriod->Count(); ++i) periods.push_back(Window->cbPeriod->GetItem(i)->Caption);
    for (int i = 0; i < Window->cbbVoice->Count(); ++i) voices.push_back(Window->cbbVoice->GetItem(i)->Caption);
    EXPECT_EQ(periods, (std::vector<std::string>{"Once", "Daily", "Weekly", "Monthly", "Yearly"}));
    EXPECT_EQ(voices.size(), 3u);
    EXPECT_EQ(voices.back(), "Custom");
    EXPECT_EQ(Window->cbPeriod->index(), 0);
    EXPECT_EQ(Window->cbPeriod->Text(), "Once");
    EXPECT_TRUE(Window->pnlDate->Visible());
    EXPECT_FALSE(Window->pnlWeek->Visible());
    EXPECT_EQ(Window->cbbVoice->index(), 2) << "the voice choice stays with its file row";
    EXPECT_TRUE(Window->pnlVoice->Visible());
    EXPECT_EQ(Window->lblRepeat->Caption(), "Repeat:");
    EXPECT_EQ(Window->WeekBoxes[1]->Caption(), "Sun");
    EXPECT_EQ(Window->WeekBoxes[7]->Caption(), "Sat");
}

}  // namespace

// ---- layout ----

// With each repeat kind (and the custom voice row) the page's controls sit
// inside the page without covering each other, and no caption is cut. Set
// OLVO_EDITOR_SHOTS to a folder to keep a screenshot of each.
TEST_F(EditorTest, EveryKindLaysOutWithoutOverlapsOrCutCaptions) {
    OpenWindow();
    NewReminder();
    Type("Buy flowers for the anniversary");
    const char* shots = std::getenv("OLVO_EDITOR_SHOTS");
    const char* names[] = {"once", "daily", "weekly", "monthly", "yearly"};
    for (int period = PeriodYearly; period >= PeriodOnce; --period) {
        SCOPED_TRACE(names[period]);
        Choose(Window->cbPeriod, period);
        if (period == PeriodOnce) {
            Choose(Window->cbbVoice, 2);
            Window->edtVoice->SetText("/home/user/Music/a rather long folder name/bell.ogg");
        }
        for (size_t i = 1; i <= 7; i += 2) Window->WeekBoxes[i]->SetChecked(true);
        for (size_t i = 1; i <= 31; i += 5) Window->DayBoxes[i]->SetChecked(true);
        Host.Settle();
        if (shots)
            Host.SaveScreenshot(*Window, std::string(shots) + "/editor_" + names[period] +
                                           (period == PeriodOnce ? "_custom_voice" : "") + ".png");
        const TRect page = Window->pnlDetails->ClientRect();
        std::vector<TControl*> shown;
        for (int i = 0; i < Window->pnlDetails->ControlCount(); ++i) {
            TControl* c = Window->pnlDetails->Controls(i);
            if (!c->Visible() || c->Name == "pnlNameFrame") continue;
            EXPECT_EQ(Intersect(c->BoundsRect(), page), c->BoundsRect()) << c->Name << " leaves the page";
            for (TControl* other : shown)
                EXPECT_TRUE(Intersect(c->BoundsRect(), other->BoundsRect()).IsEmpty())
                    << c->Name << " covers " << other->Name;
            shown.push_back(c);
        }
        for (TOrbLabel* label : {Window->lblName, Window->lblRepeat, Window->lblTime, Window->lblDate, Window->lblVoice})
            EXPECT_FALSE(label->TextCut()) << label->Name;
        std::vector<TOrbCheckBox*> boxes(Window->WeekBoxes.begin() + 1, Window->WeekBoxes.end());
        boxes.insert(boxes.end(), Window->DayBoxes.begin() + 1, Window->DayBoxes.end());
        for (TOrbCheckBox* box : boxes) {
            bool cut = false;
            box->CaptionRect(cut);
            EXPECT_FALSE(cut) << box->Name;
        }
    }
}
