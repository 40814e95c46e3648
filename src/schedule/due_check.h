// The two passes that decide which reminders to put before the user: the
// start-up pass reporting reminders missed while the program was not
// running, and the due check that runs every five seconds. The windows are
// reached only through TReminderWindows.
#pragma once

#include <cstdint>
#include <exception>
#include <optional>
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

// The moment for which the start-up pass reports the reminder as missed at
// `now`: a restored postponement that passed unalerted, else its latest
// scheduled moment when that passed after its last alert; none otherwise.
std::optional<TDateTime> MissedMoment(const TRmRecordStruct& record, TDateTime now);

class TDueCheck {
public:
    // The timer's interval, which is also the width of the due window.
    static constexpr int TimerInterval = 5000;

    TDueCheck(TRemindFile& store, TReminderWindows& windows) : FStore(store), FWindows(windows) {}

    // One tick of the five-second timer, judged at one reading of the clock.
    // Reminders whose pending moment passed unalerted since the previous tick
    // (a late tick) go to ShowMissed, after ShowAlerts. A failed write of a
    // record (raised by RefreshReminder) is raised again only after the tick
    // has handed its reminders to both.
    void timerTimer();
    // The start-up pass, once while the main window is created. The ticks
    // after it look back to its moment for what passed unalerted.
    void CheckMissedReminders();

    // Off: every answer is made afresh on every tick instead of being kept
    // in the records between ticks (the results are the same).
    void SetCaching(bool on) { FCaching = on; }

    // The records found due in the current tick (references only).
    std::vector<TRmRecordStruct*> DueList;

private:
    // One reading of the clock, as every reminder of a tick is judged.
    struct TTick {
        TDateTime Now = 0;
        int64_t NowMs = 0;
        bool Cached = false;
        TMsSpan Unseen{1, 0};
    };
    // The moments since the previous look at the clock that no due window
    // held; empty on the first look and when the clock went back.
    TMsSpan UnseenSince(int64_t nowMs);
    // Steps of one tick for one active reminder.
    void Examine(TRmRecordStruct& record, const TTick& tick);
    // Writing a record can fail (a full disk). The failure still reaches
    // the caller, but only after the tick has handed its reminders to the
    // alert window: otherwise their LastTime would have moved on in memory
    // and the alerts of this tick would be lost without being shown.
    void Write(TRmRecordStruct& record);
    TDateTime NextOf(TRmRecordStruct& record, TDateTime now, int64_t nowMs, bool cached) const;
    void RenewText(TRmRecordStruct& record, TDateTime now, int64_t nowMs, bool cached) const;
    void NoteWords(TTimeUnitWords&& words);

    TRemindFile& FStore;
    TReminderWindows& FWindows;
    bool FCaching = true;
    // The previous look at the clock (a tick or the start-up pass).
    bool FLooked = false;
    int64_t FLookedMs = 0;
    std::vector<TRmRecordStruct*> FMissed;
    std::exception_ptr FWriteError;
    // This tick's unit words, and the number that tells kept texts made
    // with them from texts made with other words.
    TTimeUnitWords FWords;
    uint64_t FWordsSerial = 0;
};
