// The due check keeping its answers in the records between ticks, against
// the same check working every answer out afresh: two copies of one random
// store, one judged each way, tick by tick over a simulated week (across a
// month and a year end) with late ticks, clock jumps, a change of language
// and records changed in memory the way the editor, the list and the
// postponement do. Then the spans the kept answers rest on, probed directly.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "schedule/due_check.h"
#include "schedule/schedule_fixture.h"

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Every hand-off in order; nothing is written, as both copies must judge
// alike whatever the file holds.
class TLogWindows : public TReminderWindows {
public:
    void ShowAlerts(const std::vector<TRmRecordStruct*>& due) override {
        for (TRmRecordStruct* r : due) Log.push_back("alert " + r->Description);
        Alerts += static_cast<int>(due.size());
    }
    void ShowMissed(const std::vector<TRmRecordStruct*>&) override {}
    void RefreshReminder(TRmRecordStruct* r) override { Log.push_back("write " + r->Description); }
    void SyncListRow(TRmRecordStruct* r) override { Log.push_back("sync " + r->Description); }
    void RepaintList() override {}
    std::vector<std::string> Log;
    int Alerts = 0;
};

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class TRandomRules {
public:
    explicit TRandomRules(unsigned seed) : FRng(seed) {}

    int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(FRng); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(FRng); }

    TDateTime TimeOfDay() {
        if (Chance(0.03)) return NaN;
        const int second = Chance(0.7) ? 0 : Int(0, 59);
        return EncodeTime(Int(0, 23), Int(0, 59), second, Chance(0.9) ? 0 : Int(0, 999));
    }

    // A new schedule over the record, as the editor writes one.
    void Schedule(TRmRecordStruct& r, TDateTime around) {
        const uint8_t kinds[] = {PeriodOnce, PeriodDaily, PeriodWeekly, PeriodMonthly, PeriodYearly, PeriodNone};
        r.Period = kinds[Int(0, 5)];
        r.WakeTime = TimeOfDay();
        r.RepeatData = {};
        if (r.Period == PeriodWeekly) {
            for (size_t w = 0; w < 7; ++w) r.RepeatData[w] = Chance(0.3) ? (Chance(0.9) ? 1 : 2) : 0;
        } else if (r.Period == PeriodMonthly) {
            const double p = Chance(0.5) ? 0.1 : 0.02;
            for (size_t d = 0; d < 31; ++d) r.RepeatData[d] = Chance(d >= 28 ? 0.4 : p) ? 1 : 0;
        } else if (r.Period == PeriodYearly) {
            const int year = Int(2016, 2029), month = Int(1, 12);
            r.SetWakeDate(EncodeDate(year, month, Int(1, DaysInAMonth(year, month))));
        } else {
            r.SetWakeDate(std::floor(around) + Int(-3, 9));
        }
        if (Chance(0.02)) r.SetWakeDate(Chance(0.5) ? NaN : 1e300);
    }

    TRmRecordStruct Record(int index, TDateTime start) {
        TRmRecordStruct r;
        r.Description = std::to_string(index);
        r.CreateDateTime = At(2026, 1, 1) + index * OneSecond;
        r.LastTime = r.CreateDateTime;
        Schedule(r, start);
        if (Chance(0.15)) r.EndTime = Chance(0.1) ? NaN : start - Int(1, 30);
        // Postponed: some completed reminders keep a pending alert too.
        if (Chance(0.12)) r.NextAlert = start + Int(1, 3000) * OneMinute + Int(0, 59) * OneSecond;
        return r;
    }

    // One change in memory between ticks; `apply` gets it once per copy.
    template <typename TApply>
    void Change(TDateTime now, TApply apply) {
        const int what = Int(0, 9);
        TRmRecordStruct fresh;
        Schedule(fresh, now);
        const TDateTime later = now + Int(1, 120) * OneMinute + Int(0, 4) * OneSecond;
        const TDateTime wake = TimeOfDay();
        const size_t flag = static_cast<size_t>(Int(0, 30));
        const int other = Int(0, 1 << 20);
        apply([&](TRmRecordStruct& r, const std::vector<TRmRecordStruct*>& all) {
            switch (what) {
            case 0: r.Period = fresh.Period; r.WakeTime = fresh.WakeTime; r.RepeatData = fresh.RepeatData; break;
            case 1: r.WakeTime = wake; break;
            case 2: r.RepeatData[flag] = r.RepeatData[flag] ? 0 : 1; break;
            case 3: r.SetWakeDate(std::floor(now) + static_cast<double>(flag % 5)); break;
            case 4: r.NextAlert = later; break;                  // postponed
            case 5: r.EndTime = now; r.NextAlert = 0; break;     // marked done in the list
            case 6: r.EndTime = 0; break;                        // back to unfinished
            case 7: r.RemainText = "stale"; break;
            case 8: r.WakeTime += OneSecond / 1000; break;       // one millisecond later
            default: {                                           // another record copied over it
                const std::string keep = r.Description;
                r = *all[static_cast<size_t>(other) % all.size()];
                r.Description = keep;
            }
            }
        });
    }

private:
    std::mt19937 FRng;
};

class DueCacheTest : public ScheduleTest {
protected:
    struct TCopy {
        std::unique_ptr<TRemindFile> Store;
        TLogWindows Windows;
        std::unique_ptr<TDueCheck> Check;
        std::vector<TRmRecordStruct*> Records;
    };

    void Fill(TCopy& copy, const std::string& name, const std::vector<TRmRecordStruct>& records, bool cached) {
        copy.Store = std::make_unique<TRemindFile>(Dir / name);
        copy.Store->Update([&] {
            for (const TRmRecordStruct& r : records)
                copy.Records.push_back(copy.Store->AddRecord(std::make_unique<TRmRecordStruct>(r)));
        });
        copy.Check = std::make_unique<TDueCheck>(*copy.Store, copy.Windows);
        copy.Check->SetCaching(cached);
    }

    // Both copies alike after a tick; describes the first difference.
    static std::string Difference(const TCopy& kept, const TCopy& fresh) {
        if (kept.Check->DueList.size() != fresh.Check->DueList.size()) return "due lists differ";
        for (size_t i = 0; i < kept.Check->DueList.size(); ++i)
            if (kept.Check->DueList[i]->Description != fresh.Check->DueList[i]->Description) return "due lists differ";
        for (size_t i = 0; i < kept.Records.size(); ++i) {
            const TRmRecordStruct& a = *kept.Records[i];
            const TRmRecordStruct& b = *fresh.Records[i];
            if (!SameBits(a.NextAlert, b.NextAlert) || a.RemainText != b.RemainText ||
                !SameBits(a.LastTime, b.LastTime) || !SameBits(a.EndTime, b.EndTime))
                return "reminder " + b.Description + ": NextAlert " + Show(a.NextAlert) + " / " + Show(b.NextAlert) +
                       ", text '" + a.RemainText + "' / '" + b.RemainText + "', LastTime " + Show(a.LastTime) +
                       " / " + Show(b.LastTime) + ", EndTime " + Show(a.EndTime) + " / " + Show(b.EndTime);
        }
        return kept.Windows.Log.size() == fresh.Windows.Log.size() ? "" : "hand-offs differ";
    }

    // The clock's path: five-second steps with some late ticks, an hour
    // back, a day ahead, and the language switched twice, all within the
    // first day.
    void Run(unsigned seed, int reminders, int days) {
        TRandomRules random(seed);
        const TDateTime start = At(2026, 12, 28, 0, 0, 2);  // a Monday; the week ends in 2027
        std::vector<TRmRecordStruct> records;
        for (int i = 0; i < reminders; ++i) records.push_back(random.Record(i, start));
        TCopy kept, fresh;
        Fill(kept, "kept.dat", records, true);
        Fill(fresh, "fresh.dat", records, false);

        int64_t nowMs = Ms(start);
        const int64_t endMs = Ms(start + days);
        int changes = 0;
        for (int tick = 0; nowMs <= endMs; ++tick) {
            const TDateTime now = static_cast<double>(nowMs) / MSecsPerDay;
            if (random.Chance(0.003)) {
                random.Change(now, [&](auto change) {
                    const size_t at = static_cast<size_t>(tick) % kept.Records.size();
                    change(*kept.Records[at], kept.Records);
                    change(*fresh.Records[at], fresh.Records);
                });
                ++changes;
            }
            if (tick == 3000) UseTestLanguage();
            if (tick == 12000) UseBuiltInLanguage();
            SetFixedNow(now);
            kept.Check->timerTimer();
            fresh.Check->timerTimer();
            const std::string difference = Difference(kept, fresh);
            if (!difference.empty()) {
                FAIL() << "seed " << seed << ", tick " << tick << " at " << Show(now) << ": " << difference;
            }
            nowMs += TDueCheck::TimerInterval;
            if (random.Chance(0.01)) nowMs += random.Int(1, 20000);  // a late tick
            if (tick == 5000) nowMs -= 3600000;                      // the clock set back an hour
            if (tick == 10000) nowMs += 86400000 - 3000;             // ... and a day ahead
        }
        EXPECT_EQ(kept.Windows.Log, fresh.Windows.Log) << "seed " << seed;
        // The week exercised what it is meant to.
        EXPECT_GT(fresh.Windows.Alerts, reminders * days / 10) << "seed " << seed;
        EXPECT_GT(changes, 10 * days) << "seed " << seed;
    }
};

TEST_F(DueCacheTest, KeptAnswersMatchFreshOnesOverAWeek) {
    Run(1, 60, 7);
    Run(20261228, 40, 1);
}

// Every answer of NextOccurrence inside the span reported with it, at both
// ends and in between, is the answer at now.
TEST_F(DueCacheTest, OccurrenceHoldsOverItsSpan) {
    TRandomRules random(7);
    for (int i = 0; i < 3000; ++i) {
        TRmRecordStruct r = random.Record(i, At(2027, 2, 27));
        // Often right at the wake time, where the answers change.
        const int64_t day = Ms(At(2027, 2, 20)) + static_cast<int64_t>(random.Int(0, 14)) * 86400000;
        const bool atWake = !std::isnan(r.WakeTime) && random.Chance(0.3);
        const int64_t nowMs = atWake ? day + Ms(r.WakeTime) % 86400000 + random.Int(-1, 1)
                                     : day + random.Int(0, 86399999);
        const TDateTime now = static_cast<double>(nowMs) / MSecsPerDay;
        const TOccurrenceSpan next = NextOccurrenceSpan(r, now);
        ASSERT_TRUE(next.Span.Holds(nowMs));
        ASSERT_TRUE(SameBits(next.Value, NextOccurrence(r, now)));
        const int64_t from = std::max(next.Span.From, nowMs - int64_t{3} * 86400000);
        const int64_t to = std::min(next.Span.To, nowMs + int64_t{3} * 86400000);
        for (int64_t at : {from, to, from + (to - from) / 3, to - (to - from) / 7}) {
            const TDateTime then = static_cast<double>(at) / MSecsPerDay;
            ASSERT_TRUE(SameBits(NextOccurrence(r, then), next.Value))
                << "kind " << int(r.Period) << " at " << Show(then) << " from " << Show(now);
        }
    }
}

// The same for the time-left text, whose span is the rest of its minute
// (cut at midnight) wherever the years and months counted do not change.
TEST_F(DueCacheTest, TextHoldsOverItsMinute) {
    TRandomRules random(11);
    const TTimeUnitWords words = CurrentTimeUnitWords();
    int wholeMinutes = 0;
    for (int i = 0; i < 3000; ++i) {
        const int64_t nowMs = Ms(At(2027, 1, 31)) + static_cast<int64_t>(random.Int(0, 86400)) * 1000 + random.Int(0, 999);
        // A third within a minute of where one more average month or year
        // is counted.
        const int64_t unitMs = random.Chance(0.5) ? 60000 : 86400000;
        const int64_t countedMs = random.Chance(0.5) ? 2629800000 : 31557600000;  // 30.4375 and 365.25 days
        const int64_t spanMs = (random.Chance(0.33) ? random.Int(-30, 30) * countedMs : random.Int(-400, 800) * unitMs) +
                               random.Int(-60000, 60000);
        const TDateTime now = static_cast<double>(nowMs) / MSecsPerDay;
        const TDateTime target = random.Chance(0.02) ? 0 : static_cast<double>(nowMs + spanMs) / MSecsPerDay;
        std::string text = "old";
        const TMsSpan span = RemainingTextSpanInto(text, now, target, words);
        ASSERT_TRUE(span.Holds(nowMs));
        ASSERT_EQ(text, RemainingText(now, target, words));
        for (int64_t at : {span.From, span.To, (span.From + span.To) / 2})
            ASSERT_EQ(RemainingText(static_cast<double>(at) / MSecsPerDay, target, words), text)
                << "from " << Show(now) << " to " << Show(target) << " at " << at - nowMs << " ms";
        if (span.To - span.From == 59999) ++wholeMinutes;
    }
    EXPECT_GT(wholeMinutes, 2000);  // most texts are kept for a whole minute

    std::string text;
    EXPECT_EQ(RemainingTextSpanInto(text, At(2027, 1, 31), NaN, words).From, std::numeric_limits<int64_t>::min());
    EXPECT_EQ(text, "");
    EXPECT_FALSE(RemainingTextSpanInto(text, NaN, At(2027, 1, 31), words).Holds(0));
}

// A copy is another record: what the original kept must not answer for
// it, even with the clock standing still.
TEST_F(DueCacheTest, CopyStartsWithNothingKept) {
    TRmRecordStruct daily = DailyRule(9, 0);
    TRemindFile store(Dir / "copy.dat");
    TLogWindows windows;
    TDueCheck check(store, windows);
    TRmRecordStruct* a = store.AddRecord(std::make_unique<TRmRecordStruct>(daily));
    SetFixedNow(At(2026, 12, 7, 8, 0, 0));
    check.timerTimer();
    ASSERT_EQ(a->RemainText, "1 Hour  ");
    EXPECT_EQ(a->DueCache.Get().Text, "1 Hour  ");
    TRmRecordStruct copy = *a;
    EXPECT_EQ(copy.DueCache.Get().Text, "");
    EXPECT_FALSE((TMsSpan{copy.DueCache.Get().NextFromMs, copy.DueCache.Get().NextToMs}.Holds(Ms(Now()))));

    // Restored over by a record of another schedule at the same moment.
    TRmRecordStruct weekly = WeeklyRule({2}, 10, 30);
    weekly.CreateDateTime = a->CreateDateTime;
    *a = weekly;
    check.timerTimer();
    EXPECT_EQ(Ms(a->NextAlert), Ms(At(2026, 12, 8, 10, 30)));
    EXPECT_EQ(a->RemainText, "1 Day  2 Hours  30 Minutes  ");
}

}  // namespace
