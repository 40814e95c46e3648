// Help pages. Kept as plain text so that they read the same in a terminal
// and in a script's log.
#include "cli/cli_help.h"

namespace {

constexpr const char* Overview = R"(Usage: olvoctl [GLOBAL OPTIONS] COMMAND [ARGUMENTS]

Lists and changes the reminders of Olvo Reminder from the command line.

Commands:
  list [--completed] [--json]   show the unfinished (or completed) reminders
  add "DESCRIPTION" SCHEDULE [--voice mute|default|FILE]
                                add a reminder; prints its ID
  done ID                       mark a reminder as finished
  delete ID                     delete a reminder
  backup FILE                   copy all reminders into FILE
  restore FILE                  add the reminders of a backup that are missing
  due [--json]                  show missed reminders and those due now
  help [COMMAND]                show this help, or a command's

Global options (before or after the command):
  --data FILE     use another data file (default: the program's own,
                  $XDG_DATA_HOME/Olvo_Reminder/ov_rmind_data.dat)
  --now "YYYY-MM-DD HH:MM:SS"
                  take this moment as the current time (for scripts and tests)
  --lang NAME     language of the texts taken from the language files
                  (English, German, ...; default: the program's choice)
  -h, --help      show help ("olvoctl COMMAND --help" for a command)

IDs are the reminders' section names in the data file (R20261208090500),
as "olvoctl list" shows them. Dates are YYYY-MM-DD, times HH:MM or HH:MM:SS.
Options end at "--": olvoctl add --daily 09:00 -- "--not an option"

While Olvo Reminder runs it owns its data file: add, done, delete and restore
then refuse (exit code 3); list, due and backup always work. A --data file
other than the program's own is not guarded.

Exit codes: 0 done, 1 refused or failed (the message says why), 2 wrong
command line, 3 the program is running.
)";

constexpr const char* ListHelp = R"(Usage: olvoctl list [--completed] [--json]

Shows the reminders of the Unfinished tab: every reminder not yet finished.
  --completed   show the Completed tab instead (finished reminders)
  --json        print a JSON document instead of a table

Table columns: ID, description, period, schedule (as the program's list shows
it), the next occurrence and the time left ("none" when the rule finds no day,
"overdue" when the moment has passed); on the Completed tab the moment the
reminder was finished. Descriptions with line breaks continue on the lines
below.

JSON: {"tab", "now", "reminders": [{"id", "description", "period" (0 once,
1 daily, 2 weekly, 3 monthly, 4 yearly, other: no schedule), "periodName",
"schedule", "next" (YYYY-MM-DD HH:MM:SS or null), "remaining", "overdue",
"completed", "endTime" (or null), "created", "voice"}]}.
)";

constexpr const char* AddHelp = R"(Usage: olvoctl add "DESCRIPTION" SCHEDULE [--voice mute|default|FILE]

Adds a reminder as the program's editor does and prints its new ID.

SCHEDULE is one of:
  --once DATE TIME       once, at that moment (which must not have passed)
  --daily TIME           every day
  --weekly DAYS TIME     on the chosen weekdays: names (mon,wed,fri; sun..sat
                         or full names, any case) or numbers (1 = Monday ..
                         7 = Sunday), and ranges (mon-fri, 1-5)
  --monthly DAYS TIME    on the chosen days of the month: 1,15,20-25
                         (a day a month lacks is skipped in that month)
  --yearly DATE TIME     every year on that date

DATE is YYYY-MM-DD, TIME is HH:MM or HH:MM:SS (24-hour).

  --voice mute           no sound (the default)
  --voice default        the program's own sound
  --voice FILE           a sound file, stored by its absolute path; it must
                         exist (write ./default for a file named "default")

Refused, with the program's message and exit code 1: an empty description,
a once-only moment in the past, a weekly or monthly reminder without a day.
Example: olvoctl add "Team meeting" --weekly mon,thu 09:30
)";

constexpr const char* DoneHelp = R"(Usage: olvoctl done ID

Marks the reminder as finished ("Mark as finished" in the program): it moves
to the Completed tab and no longer alerts. A reminder already finished stays
as it is. An unknown ID is an error (exit code 1).
)";

constexpr const char* DeleteHelp = R"(Usage: olvoctl delete ID

Deletes the reminder, finished or not, from the data file. There is no
question and no undo; "olvoctl backup" first keeps a copy.
An unknown ID is an error (exit code 1).
)";

constexpr const char* BackupHelp = R"(Usage: olvoctl backup FILE

Copies every reminder into FILE (replacing it), as the program's "Backup"
does: the data file without its settings, plus the date of the backup.
The data file itself is not changed; FILE must not be the data file.
)";

constexpr const char* RestoreHelp = R"(Usage: olvoctl restore FILE

Adds every reminder of the backup FILE that the data file does not hold yet,
as the program's "Restore" does. Reminders already present (by ID) are left
as they are, even when the backup's copy differs; settings are not restored.
Prints how many reminders were added.
)";

constexpr const char* DueHelp = R"(Usage: olvoctl due [--json]

Runs the program's start-up check for missed reminders and one due check,
and prints which reminders were missed (their moment passed since their last
alert) and which are due now (within the five seconds up to their moment).
Nothing is written: the data file stays exactly as it is.
  --json   print {"now", "missed": [...], "due": [...]}, each entry with
           "id", "description", "schedule" and "moment".
)";

}  // namespace

std::string HelpText(TCommand command) {
    switch (command) {
    case TCommand::List: return ListHelp;
    case TCommand::Add: return AddHelp;
    case TCommand::Done: return DoneHelp;
    case TCommand::Delete: return DeleteHelp;
    case TCommand::Backup: return BackupHelp;
    case TCommand::Restore: return RestoreHelp;
    case TCommand::Due: return DueHelp;
    case TCommand::None:
    case TCommand::Help: break;
    }
    return Overview;
}

std::string UsageHint(TCommand command) {
    if (command == TCommand::None || command == TCommand::Help) return "Try 'olvoctl --help'.";
    return "Try 'olvoctl " + CommandName(command) + " --help'.";
}
