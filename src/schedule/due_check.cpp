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
//
// A tick that comes late (the computer slept, the loop was blocked, the
// clock jumped forward) misses due windows: what passed unalerted since the
// previous tick is reported as missed on that tick. A pending postponement
// is stored with the reminder, so it is written again when it ends.
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

// The pending moment fell between two looks at the clock further apart
// than the due window (the computer slept, the loop was blocked, the clock
// jumped forward) and was not alerted: LastTime is set past every moment
// alerted.
bool PassedUnalerted(const TRmRecordStruct& record, int64_t alertMs, TMsSpan unseen) {
    return unseen.Holds(alertMs) && record.NextAlert != 0 && !IsLaterThan(record.LastTime, record.NextAlert);
}

// A pending postponement ends when it is alerted or another moment has
// taken its place (an earlier occurrence, the next one once it passed).
bool PostponementEnds(const TRmRecordStruct& record, int64_t alertMs, bool due) {
    return record.Postponement != 0 && !IsUnreadable(record.Postponement) &&
           (due || MomentMs(record.Postponement) != alertMs);
}

// Whether there was one to drop (and so the record needs writing).
bool DropPostponement(TRmRecordStruct& record) {
    if (record.Postponement == 0 || IsUnreadable(record.Postponement)) return false;
    record.Postponement = 0;
    return true;
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
    FMissed.clear();
    FWriteError = nullptr;
    TTick tick;
    tick.Now = Now();
    NoteWords(CurrentTimeUnitWords());
    tick.NowMs = MomentMs(tick.Now);
    tick.Cached = FCaching && KeepsAnswers(tick.Now);
    tick.Unseen = UnseenSince(tick.NowMs);
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
        Examine(*record, tick);
    }
    FWindows.RepaintList();
    if (!DueList.empty()) FWindows.ShowAlerts(DueList);
    if (!FMissed.empty()) FWindows.ShowMissed(FMissed);
    if (FWriteError) std::rethrow_exception(std::exchange(FWriteError, nullptr));
}

void TDueCheck::Examine(TRmRecordStruct& record, const TTick& tick) {
    // Compared as whole milliseconds, each moment converted once.
    const TDateTime next = NextOf(record, tick.Now, tick.NowMs, tick.Cached);
    const int64_t nextMs = MomentMs(next);
    int64_t alertMs = MomentMs(record.NextAlert);
    // Written as an alert would be, so the next start does not report it.
    bool changed = PassedUnalerted(record, alertMs, tick.Unseen);
    if (changed) {
        FMissed.push_back(&record);
        record.LastTime = tick.Now + OneMinute;
    }
    if (record.NextAlert == 0 || tick.NowMs > alertMs) {
        // A finished repeating reminder was kept active only by a
        // postponement; once that has passed it is finished again, rather
        // than alerting at every later occurrence until the program restarts.
        if (record.IsCompleted() && record.Period != PeriodOnce) {
            record.NextAlert = 0;
            if (DropPostponement(record) || changed) Write(record);
            FWindows.SyncListRow(&record);
            return;
        }
        record.NextAlert = next;
        alertMs = nextMs;
    }
    if (nextMs > tick.NowMs && alertMs > nextMs) {
        record.NextAlert = next;
        alertMs = nextMs;
    }

    if (record.Period == PeriodOnce && tick.NowMs > alertMs) {
        record.EndTime = tick.Now;
        record.NextAlert = 0;
        DropPostponement(record);
        Write(record);
        FWindows.SyncListRow(&record);
        return;
    }

    RenewText(record, tick.Now, tick.NowMs, tick.Cached);
    const bool due = std::llabs(tick.NowMs - alertMs) < TimerInterval;
    if (due) {
        DueList.push_back(&record);
        record.LastTime = tick.Now + OneMinute;
        changed = true;
    }
    if (PostponementEnds(record, alertMs, due)) changed |= DropPostponement(record);
    if (changed) Write(record);
}

void TDueCheck::Write(TRmRecordStruct& record) {
    try {
        FWindows.RefreshReminder(&record);
    } catch (...) {
        if (!FWriteError) FWriteError = std::current_exception();
    }
}

TMsSpan TDueCheck::UnseenSince(int64_t nowMs) {
    // A moment exactly at the last look was due then (or reported by the
    // start-up pass), so LastTime tells whether it was shown.
    const TMsSpan unseen = FLooked && nowMs > FLookedMs ? TMsSpan{FLookedMs, nowMs - 1} : TMsSpan{1, 0};
    FLooked = true;
    FLookedMs = nowMs;
    return unseen;
}

std::optional<TDateTime> MissedMoment(const TRmRecordStruct& record, TDateTime now) {
    // Left as loaded by the due check, so never reported either.
    if (IsUnreadable(record.WakeTime)) return std::nullopt;
    // A postponement restored from the data file keeps even a finished
    // reminder in play until it has been alerted.
    if (record.HasPostponement() && IsLaterThan(now, record.Postponement) &&
        !IsLaterThan(record.LastTime, record.Postponement))
        return record.Postponement;
    if (record.IsCompleted()) return std::nullopt;
    const std::optional<TDateTime> s = StartupOccurrence(record, now);
    if (s && IsLaterThan(*s, record.LastTime) && IsLaterThan(now, *s)) return s;
    return std::nullopt;
}

void TDueCheck::CheckMissedReminders() {
    const TDateTime now = Now();
    const int64_t nowMs = MomentMs(now);
    // Through the same caches as the ticks, so the first tick finds the
    // answers worked out here.
    NoteWords(CurrentTimeUnitWords());
    const bool cached = FCaching && KeepsAnswers(now);
    std::vector<TRmRecordStruct*> missed;
    const auto& records = FStore.Records();
    for (size_t i = 0; i < records.size(); ++i) {
        TRmRecordStruct* record = records[i].get();
        // An unreadable last alert is as good as none.
        if (!record->IsCompleted() && (record->LastTime == 0 || IsUnreadable(record->LastTime))) {
            record->LastTime = now;
            FStore.UpdateRecord(record);
            continue;
        }
        if (MissedMoment(*record, now)) missed.push_back(record);
        // The moment each reminder is waiting for, as of now: one that falls
        // before the first tick is then seen by that tick's look back
        // instead of being passed over.
        if (!record->IsCompleted() && record->NextAlert == 0 && !IsUnreadable(record->WakeTime))
            record->NextAlert = NextOf(*record, now, nowMs, cached);
        // The list shows the time left from the start, not only from the
        // first tick five seconds later.
        if (record->NextAlert != 0 && !IsUnreadable(record->WakeTime)) RenewText(*record, now, nowMs, cached);
    }
    // What passed up to now is reported here; the ticks look back from here.
    FLooked = true;
    FLookedMs = nowMs;
    if (!missed.empty()) FWindows.ShowMissed(missed);
}
