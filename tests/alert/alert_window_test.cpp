// The alert window as it comes up: one window for all due reminders, sized
// by its rows and standing on the work area's bottom-right corner, sliding
// in without taking the focus, its texts, its rows as drawn, the missed-
// reminders variant and the clock animation.
#include <gtest/gtest.h>

#include "alert/alert_fixture.h"
#include "skin/orb_button.h"
#include "skin/orb_combobox.h"
#include "skin/orb_form.h"
#include "skin/orb_image.h"
#include "skin/orb_list_box.h"
#include "skin/orb_panel.h"
#include "skin/skin_artwork.h"

using namespace alert_testing;

namespace {

class AlertWindowTest : public AlertTest {};

TEST_F(AlertWindowTest, ThreeRemindersDueInOneTickGiveThreeRowsAndA272PixelWindowOnTheWorkAreaCorner) {
    ShowAlerts({Reminder("Water the plants"), Reminder("Call the dentist"), Reminder("Stand-up meeting")});
    Host.Settle();
    TfrmRemindDlg& window = Window();
    EXPECT_EQ(window.lbReminds->Count(), 3);
    EXPECT_EQ(window.lbReminds->GetItem(1)->Caption(), "Call the dentist");
    EXPECT_EQ(window.lbReminds->Height(), 3 * 44 + 40);
    EXPECT_EQ(window.Height(), 272);
    EXPECT_EQ(window.Width(), 440);
    EXPECT_EQ(window.fxfrm1->Height(), 272);
    const TRect area = Host.WorkAreaRect;
    EXPECT_EQ(window.TaskbarTop, area.Bottom);
    EXPECT_EQ(window.Top() + window.Height(), area.Bottom);
    EXPECT_EQ(window.Left() + window.Width(), area.Right);
    // The bottom panel keeps its distance from the bottom edge.
    EXPECT_EQ(window.pnlBottom->Top(), 272 - (180 - 138));
    EXPECT_EQ(window.pnlBottom->Left(), 106);

    const TOffscreenWindow* shown = Host.WindowOf(window);
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->Visible);
    EXPECT_EQ(shown->Bounds, window.BoundsRect());
    EXPECT_EQ(shown->StayOnTop, TStayOnTop::Yes);
    EXPECT_EQ(shown->SlideCount, 1);
    EXPECT_EQ(shown->SlideDurationMs, 200);

    // The texts come from the language file.
    EXPECT_EQ(window.Caption(), "Notice");
    EXPECT_EQ(window.fxfrm1->Caption(), "Notice");
    EXPECT_EQ(window.btnComplete->Caption(), "OK I got it");
    EXPECT_EQ(window.cbDelay->Text(), "Postpone");
    EXPECT_TRUE(window.cbDelay->Visible());
    const std::vector<std::string> expected{"4 Hours", "1 Hour", "30 Minutes", "10 Minutes", "5 Minutes"};
    ASSERT_EQ(window.cbDelay->Count(), int(expected.size()));
    for (int i = 0; i < window.cbDelay->Count(); ++i) EXPECT_EQ(window.cbDelay->GetItem(i)->Caption, expected[size_t(i)]);
}

TEST_F(AlertWindowTest, LaterBatchesJoinTheOneWindowAndItGrowsUpwardsUpToTenRows) {
    std::vector<TRmRecordStruct*> first;
    for (int i = 0; i < 4; ++i) first.push_back(Reminder("Reminder " + std::to_string(i)));
    ShowAlerts(first);
    TfrmRemindDlg* window = AlertWindow;
    ASSERT_NE(window, nullptr);
    std::vector<TRmRecordStruct*> second;
    for (int i = 4; i < 12; ++i) second.push_back(Reminder("Reminder " + std::to_string(i)));
    ShowAlerts(second);
    Host.Settle();
    EXPECT_EQ(AlertWindow, window);
    EXPECT_EQ(window->lbReminds->Count(), 12);
    EXPECT_EQ(window->lbReminds->Height(), 10 * 44 + 40);
    EXPECT_EQ(window->Height(), 580);
    EXPECT_EQ(window->Top() + window->Height(), Host.WorkAreaRect.Bottom);
    // The second batch did not slide the window in again.
    EXPECT_EQ(Host.WindowOf(*window)->SlideCount, 1);
    // Twelve rows do not fit: the list scrolls.
    ASSERT_NE(window->lbReminds->VerScrollBar(), nullptr);
    EXPECT_TRUE(window->lbReminds->VerScrollBar()->Visible());
}

TEST_F(AlertWindowTest, WithoutAWorkAreaTheWindowKeepsItsPlaceAndSize) {
    Host.WorkAreaRect = {};
    ShowAlerts({Reminder("One"), Reminder("Two"), Reminder("Three")});
    Host.Settle();
    TfrmRemindDlg& window = Window();
    EXPECT_EQ(window.TaskbarTop, 0);
    EXPECT_EQ(window.Height(), 180);
    EXPECT_EQ(window.lbReminds->Height(), 106);
    EXPECT_TRUE(window.Visible());
}

TEST_F(AlertWindowTest, ShowingDoesNotTakeTheFocusFromTheFormBeingTypedIn) {
    ShowAlerts({});  // an empty batch opens nothing
    ShowMissed({});
    Host.Settle();
    EXPECT_EQ(AlertWindow, nullptr);
    EXPECT_EQ(App.Forms().size(), 1u);
    ASSERT_EQ(Host.ActiveForm(), Main);
    ShowAlerts({Reminder("Water the plants")});
    Host.Settle();
    TfrmRemindDlg& window = Window();
    EXPECT_EQ(Host.WindowOf(window)->Activation, TActivation::NoActivate);
    EXPECT_EQ(Host.ActiveForm(), Main);
    EXPECT_TRUE(Main->Active());
    EXPECT_FALSE(window.Active());
    // A further batch, and a click into the window, leave the focus where it is.
    ShowAlerts({Reminder("Call the dentist")});
    Host.Click(window, 50, 160);
    EXPECT_EQ(Host.ActiveForm(), Main);
    EXPECT_TRUE(Main->Active());
}

TEST_F(AlertWindowTest, TheMissedVariantHasItsOwnCaptionAndNoPostponeAndLaterRowsJoinIt) {
    ShowMissed({Reminder("Pay the rent")});
    Host.Settle();
    TfrmRemindDlg& window = Window();
    EXPECT_EQ(window.Caption(), "You have missed some reminders");
    EXPECT_EQ(window.fxfrm1->Caption(), "You have missed some reminders");
    EXPECT_FALSE(window.cbDelay->Visible());
    EXPECT_TRUE(window.btnComplete->Visible());

    ShowAlerts({Reminder("Water the plants")});
    Host.Settle();
    EXPECT_EQ(&Window(), &window);
    EXPECT_EQ(window.lbReminds->Count(), 2);
    EXPECT_EQ(window.Caption(), "You have missed some reminders");
}

TEST(AlertClock, ThreeDistinctPicturesOfTheImageSize) {
    std::vector<TBitmap32> pictures;
    for (const char* name : {"alert_clock_0", "alert_clock_1", "alert_clock_2"}) {
        pictures.push_back(SkinArtwork(name));
        EXPECT_EQ(pictures.back().Width(), 96) << name;
        EXPECT_EQ(pictures.back().Height(), 83) << name;
    }
    for (int i = 0; i < 3; ++i) EXPECT_GT(DifferingPixels(pictures[i], pictures[(i + 1) % 3]), 50) << i;
}

TEST_F(AlertWindowTest, TheClockShowsItsNextPictureEvery100Milliseconds) {
    ShowAlerts({Reminder("Water the plants")});
    Host.Settle();
    TfrmRemindDlg& window = Window();
    const TRect clock = window.imgClock->FormRect();
    auto clockPixels = [&] { return Host.Screenshot(window).Copy(clock); };
    const int start = window.imgClock->imageindex();
    const TBitmap32 before = clockPixels();
    Host.Advance(99);
    EXPECT_EQ(window.imgClock->imageindex(), start);
    Host.Advance(1);
    EXPECT_EQ(window.imgClock->imageindex(), (start + 1) % 3);
    EXPECT_GT(DifferingPixels(before, clockPixels()), 50) << "the picture on screen moves on with the index";
    Host.Advance(200);
    EXPECT_EQ(window.imgClock->imageindex(), start);
    EXPECT_EQ(window.FrameIndex % 3, start);
}

TEST_F(AlertWindowTest, ARowShowsItsRuleInGreyBelowTheCaptionAndItsBoxAtTheRightEnd) {
    ShowAlerts({Reminder("Water the plants"), Reminder("Call the dentist")});
    Host.Settle();
    TfrmRemindDlg& window = Window();
    const TRect row = RowRect(0);
    const TRect box = BoxOnScreen(0);
    ASSERT_FALSE(box.IsEmpty()) << "no check box drawn in the row";
    EXPECT_EQ(box.Width(), 14);
    EXPECT_GT(box.Left, row.Right - 40) << "the box stands at the right end";
    EXPECT_LE(box.Right, row.Right);
    EXPECT_NEAR((box.Top + box.Bottom) / 2, (row.Top + row.Bottom) / 2, 2);

    const TBitmap32 shot = Host.Screenshot(window);
    const int middle = (row.Top + row.Bottom) / 2 - 1;
    const TRect text{row.Left, row.Top, box.Left - 4, row.Bottom - 1};
    // The caption, black, begins where the list put the check box.
    EXPECT_LT(Darkest(shot, {text.Left, text.Top, text.Right, middle}), 0x40);
    EXPECT_LT(Darkest(shot, {row.Left, text.Top, row.Left + 12, middle}), 0xC0);
    // The repeat rule below it, in grey.
    const int rule = Darkest(shot, {text.Left, middle, text.Right, text.Bottom});
    EXPECT_GE(rule, 0x78);
    EXPECT_LE(rule, 0x90);
    // A light grey line closes the row.
    EXPECT_EQ(Rgb(shot.Pixel(row.Left + 3, row.Bottom - 1)), 0xD5D5D5u);
    EXPECT_EQ(Rgb(shot.Pixel(row.Right - 3, row.Bottom - 1)), 0xD5D5D5u);
}

TEST_F(AlertWindowTest, AThreeRowWindowAsShown) {
    TRmRecordStruct* rent = Reminder("Pay the rent");
    rent->ScheduleText = "Monthly: 1 at 08:00";
    TRmRecordStruct* plants = Reminder("Water the plants on the balcony and in the kitchen before it gets too hot");
    plants->ScheduleText = "Weekly: Mon, Thu at 09:00";
    ShowAlerts({rent, plants, Reminder("Stand-up meeting")});
    Host.Settle();
    TfrmRemindDlg& window = Window();
    const TRect row = RowRect(1);
    Host.MouseMove(window, row.Left + 40, row.Top + 10);
    EXPECT_TRUE(Host.SaveScreenshot(window, "/tmp/alert_window.png"));
}

}  // namespace
