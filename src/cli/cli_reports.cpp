// The reports: the reminder list of either tab, and the due check run once
// against a copy of the data file.
#include <iostream>

#include <nlohmann/json.hpp>

#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "i18n/lang_text.h"
#include "platform/locale_format.h"
#include "schedule/due_check.h"
#include "schedule/moment.h"
#include "schedule/recurrence.h"
#include "schedule/schedule_text.h"

// Fields keep the order written here, so the output reads like the table.
using json = nlohmann::ordered_json;

namespace {

// What the list shows of one reminder, worked out once for both outputs.
struct TListEntry {
    const TRmRecordStruct* Record;
    std::string Schedule;
    std::optional<TDateTime> Next;  // none: no occurrence ahead or behind
    bool Overdue = false;
    std::string Remaining;
};

// The stored moments whose text could not be read, by their keys.
std::vector<std::string> UnreadableKeys(const TRmRecordStruct& r) {
    std::vector<std::string> keys;
    if (IsUnreadable(r.CreateDateTime)) keys.push_back("CREATEDATETIME");
    if (IsUnreadable(r.LastTime)) keys.push_back("LASTTIME");
    if (IsUnreadable(r.WakeTime)) keys.push_back("WAKETIME");
    if (IsUnreadable(r.EndTime)) keys.push_back("ENDTIME");
    return keys;
}

// A damaged reminder says so instead of showing made-up moments.
std::string DamageText(const TRmRecordStruct& r) {
    std::string text = "damaged: unreadable";
    for (const std::string& key : UnreadableKeys(r)) text += " " + key;
    return text;
}

// The words of the texts, looked up once for the whole list.
struct TListWords {
    TScheduleWords Schedule = CurrentScheduleWords();
    TTimeUnitWords Units = CurrentTimeUnitWords();
};

// Fills the entry, reusing the storage of its texts: a list of thousands
// then costs no allocation per reminder for them.
void ListEntryInto(TListEntry& entry, const TRmRecordStruct& record, TDateTime now, const TListWords& words) {
    entry.Record = &record;
    if (record.IsDamaged())
        entry.Schedule = DamageText(record);
    else
        ScheduleTextInto(entry.Schedule, record, words.Schedule);
    entry.Next = std::nullopt;
    entry.Overdue = false;
    entry.Remaining.clear();
    if (record.IsActive() && !IsUnreadable(record.WakeTime)) {
        // 0 and -1 are the rules' "no day found" answers, not moments.
        const TDateTime next = NextOccurrence(record, now);
        if (next > 0) {
            entry.Next = next;
            entry.Overdue = IsLaterThan(now, next);
            // Written with the blanks the time-left text ends with; both
            // outputs take it without them (TrimmedRight).
            RemainingTextInto(entry.Remaining, now, next, words.Units);
        }
    }
}

json OptionalMoment(std::optional<TDateTime> value) { return value ? json(IsoText(*value)) : json(nullptr); }

json EntryJson(const TListEntry& entry, const TListWords& words) {
    const TRmRecordStruct& r = *entry.Record;
    return {{"id", TRemindFile::SectionOf(r)},
            {"description", r.Description},
            {"period", r.Period},
            {"periodName", r.Period <= PeriodYearly ? words.Schedule.Captions[r.Period] : std::string()},
            {"schedule", TrimRight(entry.Schedule)},
            {"next", OptionalMoment(entry.Next)},
            {"remaining", TrimmedRight(entry.Remaining)},
            {"overdue", entry.Overdue},
            {"completed", r.IsCompleted()},
            {"endTime", OptionalMoment(r.IsCompleted() && !IsUnreadable(r.EndTime) ? std::optional(r.EndTime)
                                                                                   : std::nullopt)},
            {"created", IsoText(r.CreateDateTime)},
            {"voice", r.Voice},
            {"unreadable", UnreadableKeys(r)}};
}

// `scratch` holds the overdue text between rows, so that it keeps its storage.
void AddEntryRow(TTextTable& table, const TListEntry& entry, bool completedTab, const TListWords& words,
                 std::string& scratch) {
    const TRmRecordStruct& r = *entry.Record;
    const std::string id = TRemindFile::SectionOf(r);
    const std::string_view period = r.Period <= PeriodYearly ? std::string_view(words.Schedule.Captions[r.Period]) : "-";
    const std::string_view schedule = TrimmedRight(entry.Schedule);
    TMomentText moment;
    if (completedTab) {
        table.AddRow({id, r.Description, period, schedule,
                      IsUnreadable(r.EndTime) ? std::string_view("unknown") : DateTimeToStrIn(moment, r.EndTime)});
        return;
    }
    std::string_view remaining = TrimmedRight(entry.Remaining);
    if (entry.Overdue) {
        scratch.assign("overdue ").append(remaining);
        remaining = scratch;
    }
    table.AddRow({id, r.Description, period, schedule,
                  entry.Next ? DateTimeToStrIn(moment, *entry.Next) : std::string_view("none"), remaining});
}

void PrintJson(const json& document) {
    // Descriptions from a damaged file may hold invalid UTF-8; it is
    // replaced rather than ending the output.
    std::cout << document.dump(2, ' ', false, json::error_handler_t::replace) << '\n';
}

// The records the due check handed to the windows.
class TReportWindows : public TReminderWindows {
public:
    void ShowAlerts(const std::vector<TRmRecordStruct*>& due) override { Due = due; }
    void ShowMissed(const std::vector<TRmRecordStruct*>& missed) override { Missed = missed; }
    // The program writes the record here; a report must not.
    void RefreshReminder(TRmRecordStruct* record) override { record->ScheduleText = ScheduleTextOf(*record); }
    void SyncListRow(TRmRecordStruct*) override {}
    void RepaintList() override {}

    std::vector<TRmRecordStruct*> Due;
    std::vector<TRmRecordStruct*> Missed;
};

struct TDueEntry {
    const TRmRecordStruct* Record;
    TDateTime Moment;
};

json DueJson(const std::vector<TDueEntry>& entries) {
    json list = json::array();
    for (const TDueEntry& e : entries)
        list.push_back({{"id", TRemindFile::SectionOf(*e.Record)},
                        {"description", e.Record->Description},
                        {"schedule", TrimRight(ScheduleTextOf(*e.Record))},
                        {"moment", IsoText(e.Moment)}});
    return list;
}

void PrintDueSection(const std::string& title, const std::vector<TDueEntry>& entries) {
    if (entries.empty()) {
        std::cout << title << ": none\n";
        return;
    }
    std::cout << title << ":\n";
    TTextTable table({"ID", "Description", "Schedule", "Moment"});
    for (const TDueEntry& e : entries)
        table.AddRow({TRemindFile::SectionOf(*e.Record), e.Record->Description, TrimRight(ScheduleTextOf(*e.Record)),
                      DateTimeToStr(e.Moment)});
    PrintTable(std::cout, table);
}

}  // namespace

int RunList(const TCliRequest& request, const TDataLocation& location) {
    // Each reminder is looked at once, as it is read: a large file costs
    // its list's text, not its records, in memory.
    TStoreSnapshot snapshot(location, TRecordLoading::OnVisit);
    const TDateTime now = Now();
    // The tabs' membership rules (a pending alert keeps a reminder on the
    // Unfinished tab even with an end time).
    auto onTab = [&](const TRmRecordStruct& r) { return r.IsActive() != request.Completed; };
    const TListWords words;
    TListEntry entry{nullptr, "", std::nullopt, false, ""};
    if (request.Json) {
        json reminders = json::array();
        snapshot.Store().VisitRecords([&](const TRmRecordStruct& record) {
            if (!onTab(record)) return;
            ListEntryInto(entry, record, now, words);
            reminders.push_back(EntryJson(entry, words));
        });
        PrintJson({{"tab", request.Completed ? "completed" : "unfinished"}, {"now", IsoText(now)},
                   {"reminders", reminders}});
        return ExitOk;
    }
    TTextTable table({"ID", "Description", "Period", "Schedule"});
    if (request.Completed) {
        table.AddHeader("Completed");
    } else {
        table.AddHeader("Next");
        table.AddHeader("Remaining");
    }
    // Room for the rows at the outset, so that the cells' text does not
    // move as the list grows: a data file holds some 250 bytes per reminder
    // and its row takes under half as many (a large report's heap is on
    // huge pages, where room reserved costs as if it were used; a list that
    // needs more grows its blocks once or twice).
    const size_t rowsAbout = snapshot.FileBytes() / 250 + 16;
    table.Reserve(rowsAbout, snapshot.FileBytes() / 2 + 4096);
    std::string scratch;
    snapshot.Store().VisitRecords([&](const TRmRecordStruct& record) {
        if (!onTab(record)) return;
        ListEntryInto(entry, record, now, words);
        AddEntryRow(table, entry, request.Completed, words, scratch);
    });
    if (table.RowCount() == 0) {
        // The notices the program's empty tabs show.
        std::cout << TrimRight(request.Completed ? LangText("Messages", "NoneCopmpleted", "No completed reminders.")
                                                 : LangText("Messages", "NoneReminder", "No reminders."))
                  << '\n';
        return ExitOk;
    }
    PrintTable(std::cout, table);
    return ExitOk;
}

int RunDue(const TCliRequest& request, const TDataLocation& location) {
    // The store is read-only: what the start-up pass would write (a missing
    // LastTime) stays in memory.
    TStoreSnapshot snapshot(location);
    TReportWindows windows;
    TDueCheck check(snapshot.Store(), windows);
    const TDateTime now = Now();
    std::vector<TDueEntry> missed, due;
    check.CheckMissedReminders();
    // The moment each was missed, before the tick can complete a once-only one.
    for (TRmRecordStruct* r : windows.Missed) missed.push_back({r, MissedMoment(*r, now).value_or(0)});
    check.timerTimer();
    for (TRmRecordStruct* r : windows.Due) due.push_back({r, r->NextAlert});

    if (request.Json) {
        PrintJson({{"now", IsoText(now)}, {"missed", DueJson(missed)}, {"due", DueJson(due)}});
        return ExitOk;
    }
    PrintDueSection("Missed", missed);
    PrintDueSection("Due now", due);
    return ExitOk;
}
