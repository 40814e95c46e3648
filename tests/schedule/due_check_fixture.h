// Shared set-up for the due-check tests: a store in a temporary folder, a
// stand-in for the windows that records every hand-off, and helpers that
// tick the due check on the fixed clock.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "schedule/due_check.h"
#include "schedule/schedule_fixture.h"

// Records every hand-off; RefreshReminder writes through the store as the
// main list's does.
class TFakeWindows : public TReminderWindows {
public:
    explicit TFakeWindows(TRemindFile& store) : FStore(store) {}

    void ShowAlerts(const std::vector<TRmRecordStruct*>& due) override {
        ++AlertCalls;
        Calls.push_back("ShowAlerts");
        for (TRmRecordStruct* r : due) Alerts.emplace_back(Ms(Now()), r->Description);
        if (OnAlerts) OnAlerts(due);
    }
    void ShowMissed(const std::vector<TRmRecordStruct*>& missed) override {
        ++MissedCalls;
        Calls.push_back("ShowMissed");
        for (TRmRecordStruct* r : missed) {
            Missed.push_back(r->Description);
            MissedAt.emplace_back(Ms(Now()), r->Description);
        }
    }
    void RefreshReminder(TRmRecordStruct* record) override {
        Refreshed.push_back(record->Description);
        if (record->Description == FailingWrite) throw std::runtime_error("Unable to write to the data file");
        FStore.UpdateRecord(record);
    }
    void SyncListRow(TRmRecordStruct* record) override { Synced.push_back(record->Description); }
    void RepaintList() override { ++Repaints; }

    std::vector<std::pair<int64_t, std::string>> Alerts;    // (tick, description)
    std::vector<std::pair<int64_t, std::string>> MissedAt;  // (tick, description)
    std::vector<std::string> Missed, Refreshed, Synced;
    std::vector<std::string> Calls;  // ShowAlerts and ShowMissed, in order
    // What the user does with the alert window, if anything.
    std::function<void(const std::vector<TRmRecordStruct*>&)> OnAlerts;
    int AlertCalls = 0, MissedCalls = 0, Repaints = 0;
    std::string FailingWrite;

private:
    TRemindFile& FStore;
};

class DueCheckTest : public ScheduleTest {
protected:
    void SetUp() override {
        ScheduleTest::SetUp();
        Open();
    }
    void TearDown() override {
        Check.reset();
        Windows.reset();
        Store.reset();
        ScheduleTest::TearDown();
    }

    std::string DataPath() const { return Dir / DataFileName; }
    // Opens the data file as the program does at start, after closing the
    // store it had open (a restart, when called again).
    void Open() {
        Check.reset();
        Windows.reset();
        Store.reset();
        Store = std::make_unique<TRemindFile>(DataPath());
        Windows = std::make_unique<TFakeWindows>(*Store);
        Check = std::make_unique<TDueCheck>(*Store, *Windows);
    }

    // Stores the rule as a reminder; creation moments a second apart keep
    // the sections apart. lastTime 0 leaves LastTime at the creation moment.
    TRmRecordStruct* Add(const std::string& description, TRmRecordStruct rule, TDateTime lastTime = 0) {
        auto record = std::make_unique<TRmRecordStruct>(std::move(rule));
        record->Description = description;
        record->CreateDateTime = At(2026, 1, 1) + static_cast<double>(Store->Records().size()) * OneSecond;
        record->LastTime = lastTime != 0 ? lastTime : record->CreateDateTime;
        return Store->AddRecord(std::move(record));
    }

    void TickAt(TDateTime moment) {
        SetFixedNow(moment);
        Check->timerTimer();
    }
    // Ticks five seconds apart from `from` to `to` inclusive; the number of ticks.
    int Ticks(TDateTime from, TDateTime to) {
        int count = 0;
        for (int64_t t = Ms(from); t <= Ms(to); t += TDueCheck::TimerInterval, ++count)
            TickAt(static_cast<double>(t) / MSecsPerDay);
        return count;
    }
    void StartUp(TDateTime moment) {
        SetFixedNow(moment);
        Check->CheckMissedReminders();
    }

    // The reminder of that description as the data file holds it now.
    std::unique_ptr<TRmRecordStruct> Reloaded(const TRmRecordStruct* record) const {
        TRemindFile fresh(DataPath());
        const TRmRecordStruct* found = fresh.FindBySection(TRemindFile::SectionOf(*record));
        return found ? std::make_unique<TRmRecordStruct>(*found) : nullptr;
    }

    using TAlerts = std::vector<std::pair<int64_t, std::string>>;
    static std::pair<int64_t, std::string> AlertAt(TDateTime moment, const std::string& description) {
        return {Ms(moment), description};
    }

    std::unique_ptr<TRemindFile> Store;
    std::unique_ptr<TFakeWindows> Windows;
    std::unique_ptr<TDueCheck> Check;
};
