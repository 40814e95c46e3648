// The main window's list page on the offscreen host: what each tab lists
// and how its rows read, the row buttons and what they change in the data
// file, the tab switch while the editor is open, the hover panel, the
// four-row table that keeps rows in step, the empty tabs and the due tick.
#include <algorithm>
#include <vector>

#include "main_window_fixture.h"
#include "skin/orb_button.h"
#include "skin/orb_form.h"
#include "skin/orb_image_list.h"
#include "skin/orb_label.h"
#include "skin/orb_panel.h"

namespace {

std::vector<std::string> Captions(const TOrbListBox& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i) out.push_back(list.GetItem(i)->Caption());
    return out;
}

using Captions_t = std::vector<std::string>;

class MainListTest : public TMainWindowFixture {
protected:
    // The panel shows beside that row, at its right end, and serves it.
    void ExpectPanelServes(const TOrbLBoxItem* row, int line) {
        SCOPED_TRACE("from line " + std::to_string(line));
        const TOrbPanel& panel = *Window->pnlBtn;
        ASSERT_TRUE(panel.Visible());
        EXPECT_EQ(panel.Tag, reinterpret_cast<intptr_t>(row));
        EXPECT_EQ(panel.BoundsRect(), Bounds(row->ItemRect.Right - 57 - 5, row->ItemRect.Top, 57, 50));
    }
};

TEST_F(MainListTest, EachTabListsItsRemindersInStoreOrderWithTheirRules) {
    const TDateTime now = StartMoment();
    TRmRecordStruct* once = AddReminder("Dentist", PeriodOnce, EncodeDateTime(2026, 3, 5, 9, 30, 0));
    AddReminder("Water the plants", PeriodDaily, EncodeDateTime(2020, 1, 1, 21, 30, 0));
    TRmRecordStruct* done = AddReminder("Old call", PeriodOnce, EncodeDateTime(2026, 2, 1, 8, 0, 0), {}, now - 3);
    AddReminder("Gym", PeriodWeekly, EncodeTime(7, 0, 0), {1, 3});
    AddReminder("Rent", PeriodMonthly, EncodeTime(8, 0, 0), {0, 14});
    AddReminder("Birthday", PeriodYearly, EncodeDateTime(2026, 7, 14, 0, 0, 0));
    TRmRecordStruct* postponed = AddReminder("Postponed call", PeriodOnce, now - 1, {}, now - 0.5);
    postponed->NextAlert = now + OneMinute * 10;
    OpenWindow();

    EXPECT_EQ(Window->CurrentTab(), TReminderTab::Unfinished);
    EXPECT_EQ(Window->txCaption->Caption(), "Unfinished");
    EXPECT_EQ(Window->txCaption->Tag, 0);
    EXPECT_EQ(Captions(*Window->lbData),
              (Captions_t{"Dentist", "Water the plants", "Gym", "Rent", "Birthday", "Postponed call"}));
    std::vector<std::string> rules;
    for (int i = 0; i < RowCount(); ++i) rules.push_back(TfrmORMMain::RecordOf(Row(i))->ScheduleText);
    EXPECT_EQ(rules, (Captions_t{"2026-03-05 09:30:00", "Daily: 21:30:00", "Weekly: Mon ,Wed ", "Monthly: 1 ,15 ",
                                 "Yearly: 2026-07-14", "2026-03-01 10:00:00"}));
    EXPECT_EQ(TfrmORMMain::RecordOf(Row(0)), once);
    EXPECT_TRUE(Window->btnNew->Visible());
    EXPECT_EQ(Window->btnUnfinish->BtnStatus(), bsSelect);

    ClickOn(*Window->btnCompleted);
    EXPECT_EQ(Window->CurrentTab(), TReminderTab::Completed);
    EXPECT_EQ(Window->txCaption->Caption(), "Completed");
    EXPECT_EQ(Window->txCaption->Tag, 1);
    EXPECT_EQ(Captions(*Window->lbData), (Captions_t{"Old call"}));
    EXPECT_EQ(TfrmORMMain::RecordOf(Row(0)), done);
    EXPECT_EQ(done->ScheduleText, "2026-02-01 08:00:00");
    EXPECT_FALSE(Window->btnNew->Visible());
    EXPECT_EQ(Window->btnCompleted->BtnStatus(), bsSelect);
    EXPECT_EQ(Window->btnUnfinish->BtnStatus(), bsNormal);

    ClickOn(*Window->btnUnfinish);
    EXPECT_EQ(RowCount(), 6);
    EXPECT_EQ(Window->btnCompleted->BtnStatus(), bsNormal);
}

TEST_F(MainListTest, RowButtonsTakeThePicturesAndHintsOfTheTab) {
    AddReminder("Call", PeriodDaily, EncodeTime(9, 0, 0));
    OpenWindow();
    auto picture = [this](int index) { return Window->imgStorage->Images(index).Picture().Bitmap(); };
    EXPECT_EQ(Window->btnDetails->Hint, "Details");
    EXPECT_EQ(Window->btnDelete->Hint, "Mark as finished");
    EXPECT_TRUE(SamePixels(Window->btnDetails->ImgBtn(), picture(6)));
    EXPECT_TRUE(SamePixels(Window->btnDelete->ImgBtn(), picture(4)));
    EXPECT_TRUE(Window->btnDetails->ShowHint && Window->btnDelete->ShowHint);

    ClickOn(*Window->btnCompleted);
    EXPECT_EQ(Window->btnDetails->Hint, "Modify and Recover");
    EXPECT_EQ(Window->btnDelete->Hint, "Delete");
    EXPECT_TRUE(SamePixels(Window->btnDetails->ImgBtn(), picture(3)));
    EXPECT_TRUE(SamePixels(Window->btnDelete->ImgBtn(), picture(5)));
}

TEST_F(MainListTest, MarkAsFinishedMovesTheReminderToCompletedInTheDataFile) {
    TRmRecordStruct* first = AddReminder("First", PeriodDaily, EncodeTime(9, 0, 0));
    TRmRecordStruct* second = AddReminder("Second", PeriodWeekly, EncodeTime(9, 0, 0), {2});
    OpenWindow();
    Host.Advance(1000);

    ClickRowButton(Row(1), *Window->btnDelete);
    EXPECT_EQ(Captions(*Window->lbData), (Captions_t{"First"}));
    EXPECT_FALSE(Window->pnlBtn->Visible());
    EXPECT_EQ(Window->pnlBtn->Tag, 0);
    EXPECT_EQ(second->EndTime, Now());
    EXPECT_EQ(second->NextAlert, 0);
    EXPECT_EQ(Host.MaxLoopDepth(), 0) << "no question is asked";
    {
        auto file = ReadBack();
        ASSERT_NE(InFile(*file, *second), nullptr);
        EXPECT_NEAR(InFile(*file, *second)->EndTime, Now(), OneSecond);
        EXPECT_EQ(InFile(*file, *first)->EndTime, 0);
    }

    ClickOn(*Window->btnCompleted);
    EXPECT_EQ(Captions(*Window->lbData), (Captions_t{"Second"}));
}

TEST_F(MainListTest, DeleteOnCompletedRemovesTheReminderFromTheDataFileWithoutAQuestion) {
    const TDateTime now = StartMoment();
    TRmRecordStruct* keep = AddReminder("Keep", PeriodOnce, now - 2, {}, now - 1);
    TRmRecordStruct* gone = AddReminder("Gone", PeriodOnce, now - 2, {}, now - 1);
    const std::string goneSection = TRemindFile::SectionOf(*gone);
    OpenWindow();
    ClickOn(*Window->btnCompleted);
    ASSERT_EQ(RowCount(), 2);

    ClickRowButton(Row(1), *Window->btnDelete);
    EXPECT_EQ(Captions(*Window->lbData), (Captions_t{"Keep"}));
    EXPECT_EQ(Host.MaxLoopDepth(), 0);
    EXPECT_EQ(Window->Store().Records().size(), 1u);
    EXPECT_EQ(Window->Store().FindBySection(goneSection), nullptr);
    auto file = ReadBack();
    EXPECT_EQ(file->Records().size(), 1u);
    EXPECT_EQ(file->FindBySection(goneSection), nullptr);
    EXPECT_NE(InFile(*file, *keep), nullptr);
    EXPECT_EQ(testing_support::ReadFileBytes(DataFile()).find(goneSection), std::string::npos);
}

TEST_F(MainListTest, SwitchingTabsWhileTheEditorShowsAsksAndNoKeepsEverything) {
    AddReminder("Call", PeriodDaily, EncodeTime(9, 0, 0));
    OpenWindow();
    ClickOn(*Window->btnNew);
    FinishSlide();
    ASSERT_TRUE(Window->EditorShowing());
    ASSERT_FALSE(Window->pnlList->Visible());

    AnswerNextBox(mrNo);
    ClickOn(*Window->btnCompleted);
    EXPECT_EQ(AskedButtonSets, (std::vector<int>{BtnSetYesNo}));
    EXPECT_TRUE(Window->EditorShowing());
    EXPECT_FALSE(Window->pnlList->Visible());
    EXPECT_TRUE(Window->pnlDetails->Visible());
    EXPECT_EQ(Window->CurrentTab(), TReminderTab::Unfinished);
    EXPECT_EQ(Window->btnUnfinish->BtnStatus(), bsSelect);
    EXPECT_NE(Window->btnCompleted->BtnStatus(), bsSelect);
    EXPECT_EQ(Captions(*Window->lbData), (Captions_t{"Call"}));
    FinishSlide();
    EXPECT_TRUE(Window->EditorShowing());
    // Escape answers No as well.
    Host.QueueAction([this] { Host.PressKey(*Window->OrbMessageBox1->MessageForm(), vk::Escape); });
    ClickOn(*Window->btnCompleted);
    EXPECT_TRUE(Window->EditorShowing());
    EXPECT_EQ(Window->CurrentTab(), TReminderTab::Unfinished);

    AnswerNextBox(mrYes);
    ClickOn(*Window->btnCompleted);
    EXPECT_EQ(AskedButtonSets.size(), 2u);
    EXPECT_EQ(Window->CurrentTab(), TReminderTab::Completed);
    EXPECT_FALSE(Window->EditorShowing());
    FinishSlide();
    EXPECT_TRUE(Window->pnlList->Visible());
    EXPECT_FALSE(Window->pnlDetails->Visible());
    EXPECT_EQ(RowCount(), 0);
    EXPECT_EQ(Window->Store().Records().size(), 1u) << "nothing was saved";
}

// ---- the hover panel ----

TEST_F(MainListTest, TheHoverPanelFollowsTheRowsAndStaysOnItsButtons) {
    for (const char* name : {"One", "Two", "Three"}) AddReminder(name, PeriodDaily, EncodeTime(9, 0, 0));
    OpenWindow();
    MoveTo(RowCentre(Row(0)));
    ExpectPanelServes(Row(0), __LINE__);
    MoveTo(RowCentre(Row(2)));
    ExpectPanelServes(Row(2), __LINE__);
    MoveTo(InList({20, Row(1)->ItemRect.Top + 2}));
    ExpectPanelServes(Row(1), __LINE__);

    // Onto the panel and its buttons: it stays with its row.
    MoveTo(CentreOf(*Window->pnlBtn));
    ExpectPanelServes(Row(1), __LINE__);
    MoveTo(CentreOf(*Window->btnDelete));
    ExpectPanelServes(Row(1), __LINE__);
    MoveTo(CentreOf(*Window->btnDetails));
    ExpectPanelServes(Row(1), __LINE__);

    // Below the last row, inside the list: no row, no panel.
    MoveTo(InList({100, Row(2)->ItemRect.Bottom + 40}));
    EXPECT_FALSE(Window->pnlBtn->Visible());
    EXPECT_EQ(Window->pnlBtn->Tag, 0);

    // From the buttons straight out of the list: the panel goes.
    MoveTo(RowCentre(Row(0)));
    MoveTo(CentreOf(*Window->btnDelete));
    ExpectPanelServes(Row(0), __LINE__);
    MoveTo(CentreOf(*Window->btnUnfinish));
    EXPECT_FALSE(Window->pnlBtn->Visible());
    EXPECT_EQ(Window->pnlBtn->Tag, 0);

    // Leaving the window from a row hides it too.
    MoveTo(RowCentre(Row(1)));
    ExpectPanelServes(Row(1), __LINE__);
    Host.Cursor = {-50, -50};
    Host.MouseLeave(*Window);
    EXPECT_FALSE(Window->pnlBtn->Visible());
}

// ---- rows kept in step ----

TEST_F(MainListTest, SyncListRowListsARecordExactlyOnTheTabItBelongsTo) {
    struct Case {
        const char* name;
        TReminderTab tab;
        bool listedBefore;
        TDateTime endTime, nextAlert;
        bool listedAfter;
    };
    const TDateTime now = StartMoment(), later = now + OneHour;
    const Case cases[] = {
        {"unfinished, absent, alert pending", TReminderTab::Unfinished, false, now, later, true},
        {"unfinished, absent, unfinished again", TReminderTab::Unfinished, false, 0, 0, true},
        {"unfinished, present, completed", TReminderTab::Unfinished, true, now, 0, false},
        {"unfinished, present, still pending", TReminderTab::Unfinished, true, now, later, true},
        {"unfinished, present, unfinished", TReminderTab::Unfinished, true, 0, 0, true},
        {"completed, absent, completed", TReminderTab::Completed, false, now, 0, true},
        {"completed, absent, pending", TReminderTab::Completed, false, now, later, false},
        {"completed, present, recovered", TReminderTab::Completed, true, 0, 0, false},
        {"completed, present, pending", TReminderTab::Completed, true, now, later, false},
        {"completed, present, completed", TReminderTab::Completed, true, now, 0, true},
    };
    TRmRecordStruct* other = AddReminder("Other", PeriodDaily, EncodeTime(9, 0, 0));
    TRmRecordStruct* record = AddReminder("Subject", PeriodDaily, EncodeTime(9, 0, 0));
    other->EndTime = now;
    OpenWindow();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool completedTab = c.tab == TReminderTab::Completed;
        other->EndTime = completedTab ? now : 0;
        // A state of the tab shown when it is to be listed, of the other tab when not.
        record->EndTime = c.listedBefore == completedTab ? now : 0;
        record->NextAlert = 0;
        Window->SelectTab(completedTab ? Window->btnCompleted : Window->btnUnfinish);
        ASSERT_EQ(Window->FindListRow(record) != nullptr, c.listedBefore);
        ASSERT_EQ(RowCount(), c.listedBefore ? 2 : 1);

        record->EndTime = c.endTime;
        record->NextAlert = c.nextAlert;
        Window->SyncListRow(record);
        TOrbLBoxItem* row = Window->FindListRow(record);
        EXPECT_EQ(row != nullptr, c.listedAfter);
        if (row) {
            EXPECT_EQ(row->Caption(), "Subject");
        }
        EXPECT_EQ(RowCount(), c.listedAfter ? 2 : 1);
        EXPECT_NE(Window->FindListRow(other), nullptr) << "other rows stay";
    }
    record->NextAlert = 0;
}

TEST_F(MainListTest, MarkAsFinishedOnAPendingAlertLeavesTheRowUntilItIsSynced) {
    const TDateTime now = StartMoment();
    // A once-only reminder completed after its alert and then postponed.
    TRmRecordStruct* record = AddReminder("Postponed", PeriodOnce, now - OneHour, {}, now - OneMinute);
    record->NextAlert = now + 10 * OneMinute;
    OpenWindow();
    ASSERT_EQ(RowCount(), 1);

    ClickRowButton(Row(0), *Window->btnDelete);
    EXPECT_EQ(record->EndTime, 0) << "the end time is what toggles";
    EXPECT_EQ(record->NextAlert, now + 10 * OneMinute);
    EXPECT_EQ(RowCount(), 0);
    EXPECT_FALSE(Window->pnlBtn->Visible());

    Window->SyncListRow(record);
    ASSERT_EQ(RowCount(), 1);
    EXPECT_EQ(TfrmORMMain::RecordOf(Row(0)), record);
}

TEST_F(MainListTest, MarkAsFinishedDropsAPendingPostponement) {
    TRmRecordStruct* record = AddReminder("Call back", PeriodDaily, EncodeTime(9, 0, 0));
    record->NextAlert = record->Postponement = StartMoment() + 5 * OneMinute;
    OpenWindow();
    ClickRowButton(Row(0), *Window->btnDelete);
    EXPECT_NE(record->EndTime, 0);
    EXPECT_EQ(record->NextAlert, 0);
    EXPECT_EQ(record->Postponement, 0) << "a restart must not bring the alert back";
    auto file = ReadBack();
    EXPECT_EQ(InFile(*file, *record)->Postponement, 0);
}

TEST_F(MainListTest, ADeletedReminderLeavesTheAlertWindowAndTheDueList) {
    const TDateTime now = StartMoment();
    TRmRecordStruct* gone = AddReminder("Gone", PeriodOnce, now - OneHour, {}, now - OneMinute);
    TRmRecordStruct* stays = AddReminder("Stays", PeriodOnce, now - OneHour, {}, now - OneMinute);
    OpenWindow();
    Window->ShowAlerts({gone, stays});
    Host.Settle();
    ASSERT_NE(AlertWindow, nullptr);
    ASSERT_NE(AlertWindow->RowOf(gone), nullptr);
    Window->DueList() = {gone, stays};

    ClickOn(*Window->btnCompleted);
    ASSERT_EQ(TfrmORMMain::RecordOf(Row(0)), gone);
    ClickRowButton(Row(0), *Window->btnDelete);
    Host.Settle();
    ASSERT_NE(AlertWindow, nullptr);
    EXPECT_EQ(AlertWindow->RowOf(gone), nullptr);
    EXPECT_NE(AlertWindow->RowOf(stays), nullptr);
    EXPECT_EQ(Window->DueList(), (std::vector<TRmRecordStruct*>{stays}));
    EXPECT_EQ(Window->Store().Records().size(), 1u);

    // The last listed one deleted: the alert window goes.
    ClickRowButton(Row(0), *Window->btnDelete);
    Host.Settle();
    EXPECT_EQ(AlertWindow, nullptr);
    EXPECT_TRUE(Window->Store().Records().empty());
}

// ---- the due tick ----

TEST_F(MainListTest, TheDueTickComesThroughTimer1AndShowsTheAlert) {
    TRmRecordStruct* record = AddReminder("Stand up", PeriodDaily, StartMoment() + 7 * OneSecond);
    AddReminder("Later", PeriodDaily, StartMoment() + OneHour);
    OpenWindow();
    Host.Advance(4999);
    EXPECT_EQ(AlertWindow, nullptr);
    EXPECT_TRUE(record->RemainText.empty()) << "no tick yet";
    Host.Advance(1);
    ASSERT_NE(AlertWindow, nullptr);
    EXPECT_NE(AlertWindow->RowOf(record), nullptr);
    EXPECT_EQ(Window->DueList(), (std::vector<TRmRecordStruct*>{record}));
    EXPECT_NEAR(record->LastTime, Now() + OneMinute, OneSecond / 100);
    EXPECT_NEAR(InFile(*ReadBack(), *record)->LastTime, Now() + OneMinute, OneSecond);
    EXPECT_FALSE(TfrmORMMain::RecordOf(Row(1))->RemainText.empty()) << "the rows' time left is filled in";
}

TEST_F(MainListTest, AOnceOnlyReminderCompletedByTheTickLeavesTheUnfinishedTab) {
    TRmRecordStruct* record = AddReminder("Soon", PeriodOnce, StartMoment() + 7 * OneSecond);
    OpenWindow();
    ASSERT_EQ(RowCount(), 1);
    Host.Advance(5000);  // the alert
    EXPECT_NE(AlertWindow, nullptr);
    EXPECT_EQ(RowCount(), 1);
    Host.Advance(5000);  // the tick after its moment completes it
    EXPECT_NE(record->EndTime, 0);
    EXPECT_EQ(RowCount(), 0);
    ClickOn(*Window->btnCompleted);
    EXPECT_EQ(RowCount(), 1);
}

// ---- empty tabs ----

class EmptyTabTest : public MainListTest {
protected:
    // Solid stand-ins of the artwork's sizes, so every edge can be found.
    void UseSolidPictures() {
        auto solid = [](int w, int h, TColor32 c) {
            TBitmap32 b(w, h);
            b.Clear(c);
            TPicture p;
            p.Assign(b);
            return p;
        };
        Window->imgStorage->Images(0).SetPicture(solid(150, 150, Red));
        Window->imgStorage->Images(1).SetPicture(solid(110, 80, Green));
        Window->imgStorage->Images(2).SetPicture(solid(160, 130, Blue));
        Window->lbData->Invalidate();
        Host.Settle();
    }
    TColor32 At(int x, int y) const { return Host.PixelAt(*Window, 205 + x, 72 + y); }
    // The smallest rect of the list holding every pixel of that colour.
    TRect Extent(TColor32 color) const {
        TRect box{450, 320, 0, 0};
        for (int y = 0; y < 320; ++y)
            for (int x = 0; x < 450; ++x)
                if (At(x, y) == color)
                    box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                           std::max(box.Bottom, y + 1)};
        return box.Left < box.Right ? box : TRect{};
    }
    // The ink pixels of a rectangle of the list: not white.
    std::vector<TPoint> Ink(const TRect& r) const {
        std::vector<TPoint> out;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if ((At(x, y) & 0xFFFFFF) != 0xFFFFFF) out.push_back({x, y});
        return out;
    }
    static constexpr TColor32 Red = Color32(255, 0, 0), Green = Color32(0, 255, 0), Blue = Color32(0, 0, 255);
    static constexpr TColor32 White = Color32(255, 255, 255);
};

TEST_F(EmptyTabTest, UnfinishedShowsThePictureTheNoticeAndTheNote) {
    OpenWindow();
    ASSERT_EQ(Window->lbData->FormRect(), Bounds(205, 72, 450, 320));
    UseSolidPictures();
    // Picture 0 at (35, (320 - 150) / 2), picture 1 at the top right: (450 - 110 - 55, 35).
    EXPECT_EQ(Extent(Red), Bounds(35, 85, 150, 150));
    EXPECT_EQ(Extent(Green), Bounds(285, 35, 110, 80));
    EXPECT_EQ(At(34, 85), White);
    EXPECT_EQ(At(284, 35), White);
    // The notice in large light blue, from 12 pixels right of the picture
    // and 20 below its top, wrapped.
    const std::vector<TPoint> ink = Ink({186, 105, 450, 205});
    ASSERT_FALSE(ink.empty());
    int left = 450, top = 320, bottom = 0, darkest = 255 * 3;
    TColor32 darkestPixel = 0;
    for (TPoint p : ink) {
        if (At(p.X, p.Y) == Green) continue;  // the note above
        left = std::min(left, p.X);
        top = std::min(top, p.Y);
        bottom = std::max(bottom, p.Y);
        const TColor32 c = At(p.X, p.Y);
        const int sum = RedOf(c) + GreenOf(c) + BlueOf(c);
        if (sum < darkest) darkest = sum, darkestPixel = c;
    }
    EXPECT_GE(left, 197);
    EXPECT_LE(left, 200);
    EXPECT_GE(top, 105);
    EXPECT_GT(bottom - top, 30) << "two lines of 16-point text";
    EXPECT_NEAR(RedOf(darkestPixel), 146, 6);
    EXPECT_NEAR(GreenOf(darkestPixel), 200, 6);
    EXPECT_NEAR(BlueOf(darkestPixel), 246, 6);
    // Nothing else is drawn on the page.
    EXPECT_TRUE(Ink({0, 0, 30, 320}).empty());
    EXPECT_TRUE(Ink({0, 250, 450, 320}).empty());
}

TEST_F(EmptyTabTest, CompletedShowsItsPictureCentredWithTheNoticeBelow) {
    OpenWindow();
    ClickOn(*Window->btnCompleted);
    UseSolidPictures();
    // Picture 2 at ((450 - 160) / 2, (320 - 130) / 2 - 30).
    EXPECT_EQ(Extent(Blue), Bounds(145, 65, 160, 130));
    EXPECT_EQ(At(144, 65), White);
    EXPECT_EQ(Extent(Red), TRect{}) << "not the other tab's picture";
    const std::vector<TPoint> ink = Ink({0, 205, 450, 305});
    ASSERT_FALSE(ink.empty());
    int left = 450, right = 0, darkest = 255;
    for (TPoint p : ink) {
        left = std::min(left, p.X);
        right = std::max(right, p.X);
        const TColor32 c = At(p.X, p.Y);
        EXPECT_EQ(RedOf(c), GreenOf(c));
        EXPECT_EQ(GreenOf(c), BlueOf(c));
        darkest = std::min<int>(darkest, RedOf(c));
    }
    EXPECT_NEAR(darkest, 189, 4) << "grey 189";
    EXPECT_NEAR(left + right, 450, 4) << "centred";
    EXPECT_TRUE(Ink({0, 0, 450, 64}).empty());
}

TEST_F(EmptyTabTest, ARowTakesTheEmptyPictureAway) {
    OpenWindow();
    UseSolidPictures();
    ASSERT_EQ(At(100, 150), Red);
    Window->SyncListRow(AddReminder("First", PeriodDaily, EncodeTime(9, 0, 0)));
    Host.Settle();
    EXPECT_EQ(At(100, 150), White);
}

TEST_F(EmptyTabTest, TheShippedPicturesAreThoseOfTheEmptyTabs) {
    OpenWindow();
    const TBitmap32& main = Window->imgStorage->Images(0).Picture().Bitmap();
    ASSERT_EQ(main.Width(), 150);
    ASSERT_EQ(main.Height(), 150);
    EXPECT_EQ(Window->imgStorage->Images(1).Width(), 110);
    EXPECT_EQ(Window->imgStorage->Images(2).Height(), 130);
    // Where the picture is opaque, the list shows it as it is.
    int compared = 0;
    for (int y = 0; y < 150; y += 7)
        for (int x = 0; x < 150; x += 7) {
            const TColor32 p = main.Pixel(x, y);
            if (AlphaOf(p) != 255) continue;
            EXPECT_EQ(At(35 + x, 85 + y), p) << x << "," << y;
            ++compared;
        }
    EXPECT_GT(compared, 50);
}

}  // namespace
