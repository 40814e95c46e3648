// The five-second due check and the start-up pass for missed reminders.
//
// Every moment of one tick is judged against one reading of the clock, and
// moments are compared as whole milliseconds (schedule/moment.h): with ticks
// exactly five seconds apart, the due window (NextAlert - 5 s, NextAlert]
// then holds exactly one tick, so no occurrence is alerted twice or skipped.
#include "schedule/due_check.h"

#include <cstdlib>
#include <exception>

#include "schedule/moment.h"
#include "schedule/recurrence.h"

namespace {

// Writing a record can fail (a full disk). The failure still reaches the
// caller, but only after the tick has handed its due reminders to the alert
// window: otherwise their LastTime would have moved on in memory and the
// alerts of this tick would be lost without being shown.
class TDeferredError {
public:
    template <typename TAction>
    void Run(TAction action) {
        try {
            action();
        } catch (...) {
            if (!FFirst) FFirst = std::current_exception();
        }
    }
    void Rethrow() const {
        if (FFirst) std::rethrow_exception(FFirst);
    }

private:
    std::exception_ptr FFirst;
};

}  // namespace

void TDueCheck::timerTimer() {
    DueList.clear();
    const TDateTime now = Now();
    const TTimeUnitWords words = CurrentTimeUnitWords();
    TDeferredError writeError;
    const auto& records = FStore.Records();
    const size_t count = records.size();
    // The hand-offs must not remove records, but a shorter list must not
    // be read past its end either.
    for (size_t i = 0; i < count && i < records.size(); ++i) {
        TRmRecordStruct* record = records[i].get();
        if (!record->IsActive()) continue;

        const TDateTime next = NextOccurrence(*record, now);
        if (record->NextAlert == 0 || IsLaterThan(now, record->NextAlert)) {
            // A finished repeating reminder was kept active only by a
            // postponement; once that has passed it is finished again,
            // rather than alerting at every later occurrence until the
            // program restarts.
            if (record->IsCompleted() && record->Period != PeriodOnce) {
                record->NextAlert = 0;
                FWindows.SyncListRow(record);
                continue;
            }
            record->NextAlert = next;
        }
        if (IsLaterThan(next, now) && IsLaterThan(record->NextAlert, next)) record->NextAlert = next;

        if (record->Period == PeriodOnce && IsLaterThan(now, record->NextAlert)) {
            record->EndTime = now;
            record->NextAlert = 0;
            writeError.Run([&] { FWindows.RefreshReminder(record); });
            FWindows.SyncListRow(record);
            continue;
        }

        RemainingTextInto(record->RemainText, now, record->NextAlert, words);
        if (std::llabs(MomentMs(now) - MomentMs(record->NextAlert)) < TimerInterval) {
            DueList.push_back(record);
            record->LastTime = now + OneMinute;
            writeError.Run([&] { FWindows.RefreshReminder(record); });
        }
    }
    FWindows.RepaintList();
    if (!DueList.empty()) FWindows.ShowAlerts(DueList);
    writeError.Rethrow();
}

void TDueCheck::CheckMissedReminders() {
    const TDateTime now = Now();
    std::vector<TRmRecordStruct*> missed;
    const auto& records = FStore.Records();
    for (size_t i = 0; i < records.size(); ++i) {
        TRmRecordStruct* record = records[i].get();
        if (record->IsCompleted()) continue;
        if (record->LastTime == 0) {
            record->LastTime = now;
            FStore.UpdateRecord(record);
            continue;
        }
        const std::optional<TDateTime> s = StartupOccurrence(*record, now);
        if (!s) continue;
        if (IsLaterThan(*s, record->LastTime) && IsLaterThan(now, *s)) missed.push_back(record);
    }
    if (!missed.empty()) FWindows.ShowMissed(missed);
}
