// The two passes that decide which reminders to put before the user: the
// start-up pass reporting reminders missed while the program was not
// running, and the due check that runs every five seconds. The windows are
// reached only through TReminderWindows.
#pragma once

#include <cstdint>
#include <vector>

#include "schedule/recurrence.h"
#include "store/remind_file.h"

// The hand-off operations the windows supply.
class TReminderWindows {
public:
    virtual ~TReminderWindows() = default;
    virtual void ShowAlerts(const std::vector<TRmRecordStruct*>& due) = 0;
    virtual void ShowMissed(const std::vector<TRmRecordStruct*>& missed) = 0;
    // Writes the record (the store's UpdateRecord) and refreshes its row.
    virtual void RefreshReminder(TRmRecordStruct* record) = 0;
    // Moves the record's row to the tab its state belongs to.
    virtual void SyncListRow(TRmRecordStruct* record) = 0;
    virtual void RepaintList() = 0;
};

class TDueCheck {
public:
    // The timer's interval, which is also the width of the due window.
    static constexpr int TimerInterval = 5000;

    TDueCheck(TRemindFile& store, TReminderWindows& windows) : FStore(store), FWindows(windows) {}

    // One tick of the five-second timer, judged at one reading of the clock.
    // A failed write of a record (raised by RefreshReminder) is raised again
    // only after the tick has handed its due reminders to ShowAlerts.
    void timerTimer();
    // The start-up pass, once while the main window is created.
    void CheckMissedReminders();

    // Off: every answer is made afresh on every tick instead of being kept
    // in the records between ticks (the results are the same).
    void SetCaching(bool on) { FCaching = on; }

    // The records found due in the current tick (references only).
    std::vector<TRmRecordStruct*> DueList;

private:
    TDateTime NextOf(TRmRecordStruct& record, TDateTime now, int64_t nowMs, bool cached) const;
    void RenewText(TRmRecordStruct& record, TDateTime now, int64_t nowMs, bool cached) const;
    void NoteWords(TTimeUnitWords&& words);

    TRemindFile& FStore;
    TReminderWindows& FWindows;
    bool FCaching = true;
    // This tick's unit words, and the number that tells kept texts made
    // with them from texts made with other words.
    TTimeUnitWords FWords;
    uint64_t FWordsSerial = 0;
};
