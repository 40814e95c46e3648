// The commands that change the data file (add, done, delete, restore) and
// backup, which writes only its target.
#include <algorithm>
#include <cmath>
#include <iostream>

#include "cli/cli_commands.h"
#include "cli/cli_values.h"
#include "platform/folders.h"
#include "platform/locale_format.h"
#include "schedule/reminder_check.h"
#include "schedule/schedule_text.h"

namespace {

// The schedule values of `add` as the editor's boxes would hold them.
TReminderInput InputOf(const TCliRequest& request) {
    const TScheduleOption& schedule = *request.Schedule;
    const auto& v = schedule.Values;
    TReminderInput input;
    input.Description = request.Arguments[0];
    input.Period = schedule.Period;
    // A daily reminder stores the date box's value too: today's, as a new
    // reminder's editor shows it.
    input.Date = Date();
    switch (schedule.Period) {
    case PeriodOnce:
    case PeriodYearly:
        input.Date = ParseIsoDate(v[0]);
        input.Time = ParseIsoTime(v[1]);
        break;
    case PeriodDaily:
        input.Time = ParseIsoTime(v[0]);
        break;
    case PeriodWeekly:
        input.WeekDays = ParseWeekDays(v[0]);
        input.Time = ParseIsoTime(v[1]);
        break;
    case PeriodMonthly:
        input.MonthDays = ParseMonthDays(v[0]);
        input.Time = ParseIsoTime(v[1]);
        break;
    }
    return input;
}

// A new record, filled as the editor fills one for a new reminder.
std::unique_ptr<TRmRecordStruct> NewRecord(const TReminderInput& input, const std::string& voice) {
    auto record = std::make_unique<TRmRecordStruct>();
    record->CreateDateTime = Now();
    record->LastTime = record->CreateDateTime;
    record->Description = input.Description;
    record->Period = input.Period;
    record->WakeTime = TimeOf(input.Time);
    record->Voice = voice;
    if (input.Period == PeriodWeekly) {
        for (size_t i = 0; i < input.WeekDays.size(); ++i) record->RepeatData[i] = input.WeekDays[i] ? 1 : 0;
    } else if (input.Period == PeriodMonthly) {
        for (size_t i = 0; i < input.MonthDays.size(); ++i) record->RepeatData[i] = input.MonthDays[i] ? 1 : 0;
    } else {
        record->SetWakeDate(DateOf(input.Date));
    }
    return record;
}

}  // namespace

int RunAdd(const TCliRequest& request, const TDataLocation& location) {
    const TReminderInput input = InputOf(request);
    const std::string voice = request.Voice ? ResolveVoice(*request.Voice) : "";
    RefuseWhileProgramRuns(location);
    const TReminderRefusal refusal = CheckReminderInput(input);
    if (refusal != TReminderRefusal::None) {
        const std::string text = RefusalText(refusal);
        throw Failure(text.empty() ? RefusalKey(refusal) : text);
    }
    TStoreForChange opened(location, true);
    const TRmRecordStruct* stored = opened.Store().AddRecord(NewRecord(input, voice));
    std::cout << TRemindFile::SectionOf(*stored) << '\n';
    return ExitOk;
}

int RunDone(const TCliRequest& request, const TDataLocation& location) {
    RefuseWhileProgramRuns(location);
    TStoreForChange opened(location, false);
    TRemindFile& store = opened.Store();
    const std::vector<TRmRecordStruct*> records = FindReminder(store, request.Arguments[0]);
    const std::string id = TRemindFile::SectionOf(*records.front());
    const bool allDone = std::all_of(records.begin(), records.end(), [](auto* r) { return r->IsCompleted(); });
    if (allDone) {
        const TDateTime end = records.front()->EndTime;
        std::cout << id << " was already completed"
                  << (IsUnreadable(end) ? std::string() : " on " + DateTimeToStr(end)) << '\n';
        return ExitOk;
    }
    // As "Mark as finished" does, for every list entry of the reminder.
    const TDateTime now = Now();
    store.Update([&] {
        for (TRmRecordStruct* record : records) {
            if (record->IsCompleted()) continue;
            record->EndTime = now;
            record->NextAlert = 0;
            store.UpdateRecord(record);
        }
    });
    std::cout << "Completed " << id << '\n';
    return ExitOk;
}

int RunDelete(const TCliRequest& request, const TDataLocation& location) {
    RefuseWhileProgramRuns(location);
    TStoreForChange opened(location, false);
    TRemindFile& store = opened.Store();
    const std::vector<TRmRecordStruct*> records = FindReminder(store, request.Arguments[0]);
    const std::string id = TRemindFile::SectionOf(*records.front());
    store.Update([&] {
        for (TRmRecordStruct* record : records) store.DeleteRecord(record);
    });
    // "Deleted" only for what is really gone from the file.
    if (store.Document().FindRaw(ListSection, id) || store.Document().HasSection(id))
        throw Failure("could not remove " + id + " from the data file");
    std::cout << "Deleted " << id << '\n';
    return ExitOk;
}

int RunBackup(const TCliRequest& request, const TDataLocation& location) {
    const std::string& target = request.Arguments[0];
    // Replacing the data file with its own backup would drop the settings
    // (and, while the program runs, write behind its back).
    if (SameFile(target, location.Path)) throw Failure("the backup FILE must not be the data file itself");
    TStoreSnapshot snapshot(location);
    snapshot.Store().Backup(target);
    const size_t count = snapshot.Store().Records().size();
    std::cout << "Backed up " << count << (count == 1 ? " reminder" : " reminders") << " to " << target << '\n';
    return ExitOk;
}

int RunRestore(const TCliRequest& request, const TDataLocation& location) {
    const std::string& source = request.Arguments[0];
    if (!FileExists(source)) throw Failure("no backup file at " + source);
    const TIniFile backup(source, TIniAccess::ReadOnly);
    if (backup.ReadFailed()) throw Failure("cannot read the backup file: " + backup.ReadError());
    const size_t offered = backup.Document().KeyCount(ListSection);
    RefuseWhileProgramRuns(location);
    TStoreForChange opened(location, true);
    TRemindFile& store = opened.Store();
    const size_t before = store.Records().size();
    store.Restore(source);
    const size_t added = store.Records().size() - before;
    std::cout << "Restored " << added << (added == 1 ? " reminder" : " reminders") << " from " << source;
    if (offered > added) std::cout << " (" << offered - added << " already present)";
    std::cout << '\n';
    return ExitOk;
}
