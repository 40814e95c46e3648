// The alert window's tests share one setting: an offscreen host with a
// stand-in main window that has the focus, the built-in English texts, a
// fixed morning on the virtual clock, reminders owned by the test and a
// main list that records what the window asks of it.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/gui/application.h"
#include "platform/offscreen/offscreen_host.h"
#include "schedule/due_check.h"
#include "schedule/remind_dlg.h"
#include "support/test_support.h"

namespace alert_testing {

// The main list as the alert window sees it: every call in order.
class TListRecorder : public TReminderWindows {
public:
    void ShowAlerts(const std::vector<TRmRecordStruct*>&) override {}
    void ShowMissed(const std::vector<TRmRecordStruct*>&) override {}
    void RefreshReminder(TRmRecordStruct* record) override {
        Calls.emplace_back("RefreshReminder", record);
        if (record == FailFor) throw std::runtime_error("the data file cannot be written");
    }
    void SyncListRow(TRmRecordStruct* record) override { Calls.emplace_back("SyncListRow", record); }
    void RepaintList() override {}

    std::vector<std::pair<std::string, TRmRecordStruct*>> Calls;
    TRmRecordStruct* FailFor = nullptr;
};

class AlertTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A reminder the test owns, with its repeat rule text as the main list
    // would have made it.
    TRmRecordStruct* Reminder(const std::string& description, const std::string& voice = "");
    // Frees a reminder the way the store would after its deletion.
    void Free(TRmRecordStruct* record);
    // A file the offscreen sound device opens, lasting `ms`.
    std::string SoundFile(const std::string& name, int64_t ms = 3000);

    TfrmRemindDlg& Window();
    TOffscreenSoundDevice* Sound() const { return Host.SoundDevices.Last(); }
    // A row's rectangle in window coordinates.
    TRect RowRect(int index);
    // Where the dismiss box of a row is drawn (window coordinates), found
    // by its frame colour; empty when the row shows none.
    TRect BoxOnScreen(int index);
    void ClickBox(int index);

    testing_support::TTempDir Dir;
    TOffscreenHost Host;
    std::deque<std::unique_ptr<TRmRecordStruct>> Records;
    TListRecorder List;
    TApplication App{Host};
    TForm* Main = nullptr;
};

// rgb of a pixel as one number, alpha dropped.
inline uint32_t Rgb(TColor32 color) { return color & 0xFFFFFF; }
// The darkest channel value of the pixels in rect (255 when all are white).
int Darkest(const TBitmap32& image, const TRect& rect);
// How many pixels two pictures of one size differ in.
int DifferingPixels(const TBitmap32& a, const TBitmap32& b);

}  // namespace alert_testing
