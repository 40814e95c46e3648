// The five-second due check and the start-up pass for missed reminders.
//
// Every moment of one tick is judged against one reading of the clock, and
// moments are compared as whole milliseconds (schedule/moment.h): with ticks
// exactly five seconds apart, the due window (NextAlert - 5 s, NextAlert]
// then holds exactly one tick, so no occurrence is alerted twice or skipped.
//
// A tick over thousands of reminders would otherwise spend most of its time
// working out answers that seldom change: a next occurrence changes when
// the day does or the wake time passes, a time-left text once a minute.
// Each record keeps both (TDueCache) with the inputs they were made from.
#include "schedule/due_check.h"

#include <atomic>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <utility>

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

static_assert(sizeof(TDueCache::RepeatData) == RepeatDataSize);

// Kept texts name the words they were made with by a number no other set
// of words in this process has had.
uint64_t NewWordsSerial() {
    static std::atomic<uint64_t> last{0};
    return ++last;
}

// The 31 repeat bytes as four overlapping words: compared on every tick
// for every reminder, where a call to memcmp would cost more than the rest.
bool SameRepeatData(const uint8_t* a, const uint8_t* b) {
    uint64_t x[4], y[4];
    for (size_t i = 0; i < 4; ++i) {
        const size_t at = i < 3 ? i * 8 : RepeatDataSize - 8;
        std::memcpy(&x[i], a + at, 8);
        std::memcpy(&y[i], b + at, 8);
    }
    return ((x[0] ^ y[0]) | (x[1] ^ y[1]) | (x[2] ^ y[2]) | (x[3] ^ y[3])) == 0;
}

bool SameScheduleInputs(const TDueCache& cache, const TRmRecordStruct& record) {
    return cache.Period == record.Period && cache.WakeBits == std::bit_cast<uint64_t>(record.WakeTime) &&
           SameRepeatData(cache.RepeatData.data(), record.RepeatData.data());
}

// Beyond the calendar, or near its day 0, the clock's moments do not all
// round alike; such ticks are judged afresh.
bool KeepsAnswers(TDateTime now) {
    return std::isfinite(now) && now > -693594.0 && now < 2958466.0 && std::fabs(now) >= 2.0;
}

}  // namespace

TDateTime TDueCheck::NextOf(TRmRecordStruct& record, TDateTime now, int64_t nowMs, bool cached) const {
    if (!cached) return NextOccurrence(record, now);
    TDueCache& cache = record.DueCache.Get();
    if (TMsSpan{cache.NextFromMs, cache.NextToMs}.Holds(nowMs) && SameScheduleInputs(cache, record))
        return cache.Next;
    const TOccurrenceSpan next = NextOccurrenceSpan(record, now);
    cache.Period = record.Period;
    cache.WakeBits = std::bit_cast<uint64_t>(record.WakeTime);
    cache.RepeatData = record.RepeatData;
    cache.Next = next.Value;
    cache.NextFromMs = next.Span.From;
    cache.NextToMs = next.Span.To;
    return next.Value;
}

void TDueCheck::RenewText(TRmRecordStruct& record, TDateTime now, int64_t nowMs, bool cached) const {
    if (!cached) {
        RemainingTextInto(record.RemainText, now, record.NextAlert, FWords);
        return;
    }
    TDueCache& cache = record.DueCache.Get();
    const uint64_t targetBits = std::bit_cast<uint64_t>(record.NextAlert);
    if (cache.TextWords == FWordsSerial && cache.TextTargetBits == targetBits &&
        TMsSpan{cache.TextFromMs, cache.TextToMs}.Holds(nowMs)) {
        // The text is the due check's, but nothing stops other code from
        // writing it.
        if (record.RemainText != cache.Text) record.RemainText = cache.Text;
        return;
    }
    const TMsSpan span = RemainingTextSpanInto(record.RemainText, now, record.NextAlert, FWords);
    cache.Text = record.RemainText;
    cache.TextWords = FWordsSerial;
    cache.TextTargetBits = targetBits;
    cache.TextFromMs = span.From;
    cache.TextToMs = span.To;
}

void TDueCheck::NoteWords(TTimeUnitWords&& words) {
    if (FWordsSerial != 0 && words.Singular == FWords.Singular && words.Plural == FWords.Plural) return;
    FWords = std::move(words);
    FWordsSerial = NewWordsSerial();
}

void TDueCheck::timerTimer() {
    DueList.clear();
    const TDateTime now = Now();
    NoteWords(CurrentTimeUnitWords());
    const int64_t nowMs = MomentMs(now);
    const bool cached = FCaching && KeepsAnswers(now);
    TDeferredError writeError;
    const auto& records = FStore.Records();
    const size_t count = records.size();
    // The hand-offs must not remove records, but a shorter list must not
    // be read past its end either.
    for (size_t i = 0; i < count && i < records.size(); ++i) {
        TRmRecordStruct* record = records[i].get();
        if (!record->IsActive()) continue;
        // A due time the data file could not give is no schedule to keep:
        // the reminder stays as loaded, neither alerted nor completed.
        if (IsUnreadable(record->WakeTime)) continue;

        // Compared as whole milliseconds, each moment converted once.
        const TDateTime next = NextOf(*record, now, nowMs, cached);
        const int64_t nextMs = MomentMs(next);
        int64_t alertMs = MomentMs(record->NextAlert);
        if (record->NextAlert == 0 || nowMs > alertMs) {
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
            alertMs = nextMs;
        }
        if (nextMs > nowMs && alertMs > nextMs) {
            record->NextAlert = next;
            alertMs = nextMs;
        }

        if (record->Period == PeriodOnce && nowMs > alertMs) {
            record->EndTime = now;
            record->NextAlert = 0;
            writeError.Run([&] { FWindows.RefreshReminder(record); });
            FWindows.SyncListRow(record);
            continue;
        }

        RenewText(*record, now, nowMs, cached);
        if (std::llabs(nowMs - alertMs) < TimerInterval) {
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
        // An unreadable last alert is as good as none.
        if (record->LastTime == 0 || IsUnreadable(record->LastTime)) {
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
