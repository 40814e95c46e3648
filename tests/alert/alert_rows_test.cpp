// What the user and the program do to the listed reminders: no row twice,
// one voice per batch, dismissing rows by their box, "OK I got it",
// postponing every listed reminder, and a reminder deleted while listed.
#include <gtest/gtest.h>

#include "alert/alert_fixture.h"
#include "platform/datetime.h"
#include "skin/orb_button.h"
#include "skin/orb_combobox.h"
#include "skin/orb_form.h"
#include "skin/orb_list_box.h"
#include "skin/orb_list_form.h"

using namespace alert_testing;

namespace {

constexpr double Millisecond = 1.0 / MSecsPerDay;

class AlertRowsTest : public AlertTest {
protected:
    static TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
    static TPoint CentreOf(const TControl& control) { return Centre(control.FormRect()); }
};

// ---- listing and sound ----

TEST_F(AlertRowsTest, AReminderDueAgainWhileListedAddsNothingAndNoBatchPlaysOverASound) {
    TRmRecordStruct* daily = Reminder("Take the pills", SoundFile("pills.wav", 3000));
    ShowAlerts({daily});
    Host.Settle();
    TfrmRemindDlg& window = Window();
    ASSERT_NE(Sound(), nullptr);
    EXPECT_NE(window.Voice().SoundDevice, 0u);
    // While it plays: the same reminder again, and a new voiced one.
    Host.Advance(1000);
    ShowAlerts({daily, Reminder("Call the dentist", SoundFile("dentist.wav"))});
    Host.Settle();
    EXPECT_EQ(window.lbReminds->Count(), 2);
    EXPECT_EQ(Sound()->OpenedCount(), 1);
    // After its end the listed one due again still adds and plays nothing;
    // a newly listed voiced one plays.
    Host.Advance(2000);
    EXPECT_EQ(window.Voice().SoundDevice, 0u);
    EXPECT_EQ(Sound()->OpenCount(), 0) << "the finished sound's device is closed";
    ShowAlerts({daily});
    Host.Settle();
    EXPECT_EQ(window.lbReminds->Count(), 2);
    EXPECT_EQ(Sound()->OpenedCount(), 1);
    ShowAlerts({Reminder("Stand-up meeting", SoundFile("meeting.wav"))});
    Host.Settle();
    EXPECT_EQ(Sound()->OpenedCount(), 2);
    EXPECT_NE(window.Voice().SoundDevice, 0u);
}

TEST_F(AlertRowsTest, OfTwoVoicedRemindersInOneBatchOnlyTheFirstPlays) {
    const std::string first = SoundFile("first.wav"), second = SoundFile("second.wav");
    ShowAlerts({Reminder("Mute one"), Reminder("First voice", first), Reminder("Second voice", second)});
    Host.Settle();
    TfrmRemindDlg& window = Window();
    EXPECT_EQ(window.lbReminds->Count(), 3);
    EXPECT_EQ(Sound()->OpenedCount(), 1);
    ASSERT_NE(window.Voice().SoundDevice, 0u);
    EXPECT_EQ(Sound()->PathOf(window.Voice().SoundDevice), first);
    EXPECT_TRUE(Sound()->IsPlaying(window.Voice().SoundDevice));
}

TEST_F(AlertRowsTest, ASoundThatWillNotOpenLeavesTheWindowSilentAndListing) {
    ShowAlerts({Reminder("Broken voice", Dir / "missing.mp3")});
    Host.Settle();
    TfrmRemindDlg& window = Window();
    EXPECT_EQ(window.lbReminds->Count(), 1);
    EXPECT_EQ(window.Voice().SoundDevice, 0u);
    EXPECT_TRUE(window.Visible());
}

// ---- leaving rows ----

TEST_F(AlertRowsTest, DismissingTheLastRowByItsBoxClosesTheWindowStopsTheSoundAndFreesItAfterwards) {
    ShowAlerts({Reminder("Take the pills", SoundFile("pills.wav"))});
    Host.Settle();
    TfrmRemindDlg* window = AlertWindow;
    TOffscreenSoundDevice* sound = Sound();
    const TSoundDeviceId playing = window->Voice().SoundDevice;
    ASSERT_NE(playing, 0u);
    ASSERT_TRUE(sound->IsPlaying(playing));

    const TRect box = BoxOnScreen(0);
    ASSERT_FALSE(box.IsEmpty());
    const TPoint p = Centre(box);
    Host.MouseMove(*window, p.X, p.Y);
    Host.MouseDown(*window, p.X, p.Y);
    // Released without letting the event loop run: closed, not yet freed.
    window->HostMouseUp(TMouseButton::Left, ssNone, p);
    EXPECT_EQ(AlertWindow, nullptr);
    EXPECT_TRUE(App.IsForm(window));
    EXPECT_FALSE(window->Visible());
    EXPECT_EQ(window->Voice().SoundDevice, 0u);
    EXPECT_FALSE(sound->IsOpen(playing));
    EXPECT_EQ(window->lbReminds->Count(), 0);
    Host.Settle();
    EXPECT_FALSE(App.IsForm(window));
    EXPECT_EQ(Host.ActiveForm(), Main);
}

TEST_F(AlertRowsTest, DismissingOneOfTwoRowsKeepsTheOtherAndAClickBesideTheBoxDoesNothing) {
    TRmRecordStruct* plants = Reminder("Water the plants");
    TRmRecordStruct* dentist = Reminder("Call the dentist");
    ShowAlerts({plants, dentist});
    Host.Settle();
    TfrmRemindDlg& window = Window();
    const TRect row = RowRect(0);
    Host.Click(window, row.Left + 60, (row.Top + row.Bottom) / 2);
    EXPECT_EQ(window.lbReminds->Count(), 2) << "a click on the caption leaves the row";
    ClickBox(0);
    ASSERT_EQ(AlertWindow, &window);
    EXPECT_EQ(window.lbReminds->Count(), 1);
    EXPECT_EQ(window.RowOf(plants), nullptr);
    EXPECT_NE(window.RowOf(dentist), nullptr);
    EXPECT_EQ(plants->NextAlert, 0) << "the record is not changed";
    EXPECT_TRUE(List.Calls.empty());
}

TEST_F(AlertRowsTest, OkIGotItClosesWithoutChangingAnyReminderAndTheNextBatchGetsAFreshWindow) {
    TRmRecordStruct* plants = Reminder("Water the plants");
    plants->NextAlert = EncodeDateTime(2024, 5, 7, 9, 0, 0);
    ShowAlerts({plants});
    Host.Settle();
    TfrmRemindDlg* window = AlertWindow;
    const TPoint button = CentreOf(*window->btnComplete);
    Host.Click(*window, button.X, button.Y);
    EXPECT_EQ(AlertWindow, nullptr);
    EXPECT_FALSE(App.IsForm(window));
    EXPECT_EQ(plants->NextAlert, EncodeDateTime(2024, 5, 7, 9, 0, 0));
    EXPECT_TRUE(List.Calls.empty());

    ShowAlerts({plants});
    Host.Settle();
    ASSERT_NE(AlertWindow, nullptr);
    EXPECT_EQ(AlertWindow->lbReminds->Count(), 1);
    EXPECT_EQ(AlertWindow->Height(), 44 + 40 + 100);
    EXPECT_TRUE(AlertWindow->Visible());
}

// ---- postponing ----

TEST_F(AlertRowsTest, PostponingTenMinutesAtNineMakesEveryListedReminderDueAtTenPastNine) {
    TRmRecordStruct* plants = Reminder("Water the plants");
    TRmRecordStruct* dentist = Reminder("Call the dentist");
    TRmRecordStruct* dismissed = Reminder("Dismissed before");
    ShowAlerts({plants, dentist, dismissed});
    Host.Settle();
    ClickBox(2);
    ASSERT_NE(AlertWindow, nullptr);
    AlertWindow->Postpone(3);
    const TDateTime tenPast = EncodeDateTime(2024, 5, 6, 9, 10, 0);
    for (TRmRecordStruct* record : {plants, dentist}) {
        EXPECT_NEAR(record->NextAlert, tenPast, Millisecond) << record->Description;
        EXPECT_EQ(record->Postponement, record->NextAlert) << record->Description;
    }
    EXPECT_EQ(dismissed->NextAlert, 0);
    const std::vector<std::pair<std::string, TRmRecordStruct*>> expected{
        {"RefreshReminder", plants}, {"SyncListRow", plants}, {"RefreshReminder", dentist}, {"SyncListRow", dentist}};
    EXPECT_EQ(List.Calls, expected);
    EXPECT_EQ(AlertWindow, nullptr);
}

TEST_F(AlertRowsTest, EachEntryPostponesByItsOwnDelayAsCalendarTime) {
    const int minutes[] = {240, 60, 30, 10, 5};
    for (int index = 0; index < 5; ++index) {
        SCOPED_TRACE(index);
        // Late in the evening: four hours on is the next day.
        Host.SetDateTime(EncodeDateTime(2024, 12, 31, 22, 30, 0));
        TRmRecordStruct* record = Reminder("Reminder");
        ShowAlerts({record});
        ASSERT_NE(AlertWindow, nullptr);
        AlertWindow->Postpone(index);
        EXPECT_NEAR(record->NextAlert, EncodeDateTime(2024, 12, 31, 22, 30, 0) + minutes[index] / 1440.0, Millisecond);
        EXPECT_EQ(AlertWindow, nullptr);
        Host.Settle();
    }
    ShowAlerts({Reminder("Out of range")});
    AlertWindow->Postpone(5);
    AlertWindow->Postpone(-1);
    EXPECT_NE(AlertWindow, nullptr) << "an entry that does not exist does nothing";
}

TEST_F(AlertRowsTest, ChoosingAnEntryInTheDropDownPostpones) {
    TRmRecordStruct* plants = Reminder("Water the plants");
    ShowAlerts({plants});
    Host.Settle();
    TfrmRemindDlg* window = AlertWindow;
    const TPoint box = CentreOf(*window->cbDelay);
    Host.Click(*window, box.X, box.Y);
    ASSERT_TRUE(window->cbDelay->DroppedDown());
    EXPECT_TRUE(window->cbDelay->OpenedUpward()) << "the window stands on the bottom of the work area";
    EXPECT_EQ(Host.ActiveForm(), Main);
    const TPoint entry = Centre(window->cbDelay->GetItem(4)->ItemRect);
    Host.Click(*window->cbDelay->ListForm(), entry.X, entry.Y);
    EXPECT_NEAR(plants->NextAlert, EncodeDateTime(2024, 5, 6, 9, 5, 0), Millisecond);
    EXPECT_EQ(AlertWindow, nullptr);
    EXPECT_FALSE(App.IsForm(window));
    EXPECT_EQ(Host.ActiveForm(), Main);
}

TEST_F(AlertRowsTest, AFailedWriteStillPostponesTheOthersClosesAndIsReported) {
    TRmRecordStruct* plants = Reminder("Water the plants");
    TRmRecordStruct* dentist = Reminder("Call the dentist");
    ShowAlerts({plants, dentist});
    List.FailFor = plants;
    EXPECT_THROW(AlertWindow->Postpone(4), std::runtime_error);
    EXPECT_NEAR(dentist->NextAlert, EncodeDateTime(2024, 5, 6, 9, 5, 0), Millisecond);
    EXPECT_EQ(plants->NextAlert, dentist->NextAlert);
    EXPECT_EQ(List.Calls.back(), std::make_pair(std::string("SyncListRow"), dentist));
    EXPECT_EQ(AlertWindow, nullptr);
}

TEST_F(AlertRowsTest, WithoutAListThePostponementStaysInTheRecords) {
    SetAlertListWindows(nullptr);
    TRmRecordStruct* plants = Reminder("Water the plants");
    ShowAlerts({plants});
    AlertWindow->Postpone(1);
    EXPECT_NEAR(plants->NextAlert, EncodeDateTime(2024, 5, 6, 10, 0, 0), Millisecond);
    EXPECT_TRUE(List.Calls.empty());
}

// ---- a reminder deleted while listed ----

TEST_F(AlertRowsTest, ADeletedReminderLeavesItsRowAndTheLastOneClosesTheWindow) {
    TRmRecordStruct* plants = Reminder("Water the plants");
    TRmRecordStruct* dentist = Reminder("Call the dentist");
    ForgetAlertRecord(plants);  // no window: nothing to do
    ShowAlerts({plants, dentist});
    Host.Settle();
    TfrmRemindDlg* window = AlertWindow;
    ForgetAlertRecord(Reminder("Not listed"));
    EXPECT_EQ(window->lbReminds->Count(), 2);
    ForgetAlertRecord(plants);
    Free(plants);
    // The list repaints and is used with the record gone.
    Host.Settle();
    EXPECT_EQ(window->lbReminds->Count(), 1);
    EXPECT_NE(window->RowOf(dentist), nullptr);
    const TRect row = RowRect(0);
    Host.MouseMove(*window, row.Left + 30, row.Top + 10);
    window->Postpone(4);
    EXPECT_EQ(List.Calls.size(), 2u);
    EXPECT_EQ(List.Calls[0].second, dentist);

    // Deleting the last listed one closes the window.
    ShowAlerts({dentist});
    window = AlertWindow;
    ASSERT_NE(window, nullptr);
    ForgetAlertRecord(dentist);
    EXPECT_EQ(AlertWindow, nullptr);
    Host.Settle();
    EXPECT_FALSE(App.IsForm(window));
}

// ---- sound notices ----

TEST_F(AlertRowsTest, NoticesOfASoundReachTheWindowAsMessages) {
    ShowAlerts({Reminder("Take the pills", SoundFile("pills.wav"))});
    TfrmRemindDlg& window = Window();
    // The opened notice is posted: it is handled once the call has returned.
    EXPECT_EQ(window.Voice().SoundDevice, 0u);
    Host.Settle();
    const TSoundDeviceId id = window.Voice().SoundDevice;
    ASSERT_NE(id, 0u);
    App.PostMessage(&window, MM_MCINOTIFY, MCI_NOTIFY_FAILURE, intptr_t(id));
    Host.Settle();
    EXPECT_EQ(window.Voice().SoundDevice, 0u);
    EXPECT_FALSE(Sound()->IsOpen(id));
}

}  // namespace
