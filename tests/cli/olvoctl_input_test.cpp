// What olvoctl does with input it cannot take: the editor's refusals (exit
// 1), a wrong command line (exit 2), and its help.
#include "cli/olvoctl_fixture.h"

namespace {

constexpr const char* Now = "2026-12-08 10:00:00";

struct TBadInput {
    const char* name;
    std::vector<std::string> args;
    int code;
    const char* message;
};

TEST_F(OlvoctlTest, BadInputIsRefusedWithAMessageAndNothingIsStored) {
    const TBadInput cases[] = {
        // The editor's checks, with its messages.
        {"empty description", {"add", "", "--once", "2026-12-09", "09:00"}, 1,
         "Please fill the description of the reminder!"},
        {"once a second ago", {"add", "Call", "--once", "2026-12-08", "09:59:59"}, 1,
         "You have set a time earlier than the current time!"},
        {"weekly without days", {"add", "Gym", "--weekly", "", "18:00"}, 1, "Please select at least one item!"},
        {"monthly without days", {"add", "Rent", "--monthly", " ", "18:00"}, 1, "Please select at least one item!"},
        // A wrong command line.
        {"no such date", {"add", "Call", "--once", "2026-02-30", "09:00"}, 2, "invalid date '2026-02-30'"},
        {"two-digit year", {"add", "Call", "--yearly", "26-12-24", "09:00"}, 2, "invalid date '26-12-24'"},
        {"hour 25", {"add", "Tea", "--daily", "25:00"}, 2, "invalid time '25:00'"},
        {"minute without two digits", {"add", "Tea", "--daily", "9:5"}, 2, "invalid time '9:5'"},
        {"no such weekday", {"add", "Gym", "--weekly", "mon,funday", "18:00"}, 2, "invalid weekday 'funday'"},
        {"weekday 8", {"add", "Gym", "--weekly", "8", "18:00"}, 2, "invalid weekday '8'"},
        {"day 32", {"add", "Rent", "--monthly", "1,32", "18:00"}, 2, "invalid day of the month '32'"},
        {"empty piece", {"add", "Rent", "--monthly", "1,,3", "18:00"}, 2, "invalid day of the month ''"},
        {"range backwards", {"add", "Rent", "--monthly", "20-10", "18:00"}, 2, "the range '20-10' runs backwards"},
        {"time left out", {"add", "Tea", "--daily"}, 2, "--daily needs TIME"},
        {"option where a value belongs", {"add", "Call", "--once", "2026-12-09", "--voice", "mute"}, 2,
         "--once needs DATE TIME"},
        {"no schedule", {"add", "Tea"}, 2, "add needs a schedule"},
        {"two schedules", {"add", "Tea", "--daily", "09:00", "--once", "2026-12-09", "09:00"}, 2,
         "give one schedule only"},
        {"no description", {"add", "--daily", "09:00"}, 2, "add needs a description"},
        {"two descriptions", {"add", "Tea", "Coffee", "--daily", "09:00"}, 2, "unexpected argument 'Coffee'"},
        {"unknown command", {"snooze"}, 2, "unknown command 'snooze'"},
        {"unknown option", {"list", "--all"}, 2, "unknown option --all"},
        {"option of another command", {"done", "R1", "--json"}, 2, "--json does not apply to 'done'"},
        {"flag with a value", {"list", "--json=yes"}, 2, "--json takes no value"},
        {"no command", {}, 2, "no command given"},
        {"missing ID", {"done"}, 2, "done needs a reminder ID"},
        {"global option twice", {"--data", "a", "--data", "b", "list"}, 2, "--data is given twice"},
    };
    for (const TBadInput& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = {"--now", Now};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const TRunResult r = Run(args);
        EXPECT_EQ(r.Code, c.code);
        EXPECT_NE(r.Err.find(c.message), std::string::npos) << r.Err;
        EXPECT_EQ(r.Out, "");
        if (c.code == 2) {
            EXPECT_NE(r.Err.find("--help"), std::string::npos) << "a usage error points to the help";
        }
    }
    const TRunResult badClock = Run({"--now", "2026-12-08", "list"});
    EXPECT_EQ(badClock.Code, 2);
    EXPECT_NE(badClock.Err.find("invalid moment '2026-12-08'"), std::string::npos) << badClock.Err;
    EXPECT_FALSE(testing_support::PathExists(DataFile()));
}

TEST_F(OlvoctlTest, EdgesOfTheChecksAreAccepted) {
    // A moment equal to now passes, like the editor's check.
    EXPECT_EQ(Add(Now, {"Now", "--once", "2026-12-08", "10:00"}), "R20261208100000");
    // Ranges and numbers for weekdays (1 = Monday .. 7 = Sunday).
    const std::string weekdays = Add(Now, {"Work", "--weekly", "1-5", "08:00"});
    const std::string weekend = Add(Now, {"Rest", "--weekly", "Saturday-sun", "08:00"});
    // A description that looks like an option, after "--".
    const std::string dashed = Add(Now, {"--daily", "07:00", "--", "--verbose tea"});
    const auto document = ListJson(Now);
    EXPECT_EQ(EntryWithId(document, weekdays).at("schedule"), "Weekly: Mon ,Tue ,Wed ,Thu ,Fri");
    EXPECT_EQ(EntryWithId(document, weekend).at("schedule"), "Weekly: Sun ,Sat");
    EXPECT_EQ(EntryWithId(document, dashed).at("description"), "--verbose tea");
}

TEST_F(OlvoctlTest, HelpExplainsEveryCommand) {
    const TRunResult overview = Run({"--help"});
    EXPECT_EQ(overview.Code, 0);
    for (const char* word : {"list", "add", "done", "delete", "backup", "restore", "due", "--data", "--now", "--lang"})
        EXPECT_NE(overview.Out.find(word), std::string::npos) << word;

    const TRunResult add = Run({"add", "--help"});
    EXPECT_EQ(add.Code, 0);
    for (const char* word : {"--once", "--daily", "--weekly", "--monthly", "--yearly", "--voice"})
        EXPECT_NE(add.Out.find(word), std::string::npos) << word;
    EXPECT_EQ(Run({"help", "add"}).Out, add.Out);
    // Help wins over a command line that would not parse.
    EXPECT_EQ(Run({"add", "--bogus", "-h"}).Out, add.Out);

    const TRunResult due = Run({"due", "--help"});
    EXPECT_NE(due.Out.find("Usage: olvoctl due"), std::string::npos) << due.Out;
    EXPECT_NE(due.Out, overview.Out);
}

}  // namespace
