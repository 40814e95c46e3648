// olvoctl due reports without writing, and olvoctl keeps out of the data
// file while the program runs.
#include "cli/olvoctl_fixture.h"

#include <csignal>

#include "app/instance_wakeup.h"
#include "platform/single_instance.h"

namespace {

using testing_support::TChildProcess;

// IDs of one section of the due report.
std::vector<std::string> Reported(const nlohmann::json& report, const char* section) {
    return IdsOf(report.at(section));
}

class OlvoctlDueTest : public OlvoctlTest {
protected:
    void SetUp() override {
        OlvoctlTest::SetUp();
        // Made on Tuesday 2026-12-08 at 08:00, so each LastTime is then.
        Daily = Add("2026-12-08 08:00:00", {"Tea", "--daily", "09:00"});
        Weekly = Add("2026-12-08 08:00:00", {"Meeting", "--weekly", "wed", "09:30"});
        Once = Add("2026-12-08 08:00:00", {"Call", "--once", "2026-12-08", "12:00"});
        Bytes = DataBytes();
    }
    // Every report leaves the data file exactly as it was.
    nlohmann::json Due(const std::string& now) {
        const auto report = nlohmann::json::parse(RunAt(now, {"due", "--json"}));
        EXPECT_EQ(DataBytes(), Bytes) << "due wrote the data file at " << now;
        return report;
    }

    std::string Daily, Weekly, Once, Bytes;
};

TEST_F(OlvoctlDueTest, ReportsWhatIsDueInTheFiveSecondsUpToItsMoment) {
    auto report = Due("2026-12-08 08:59:57");
    EXPECT_EQ(report.at("now"), "2026-12-08 08:59:57");
    EXPECT_EQ(Reported(report, "due"), std::vector<std::string>{Daily});
    EXPECT_EQ(report.at("due").at(0).at("moment"), "2026-12-08 09:00:00");
    EXPECT_EQ(report.at("due").at(0).at("schedule"), "Daily: 09:00:00");
    EXPECT_TRUE(report.at("missed").empty());

    EXPECT_TRUE(Due("2026-12-08 08:59:54").at("due").empty()) << "six seconds early";
    EXPECT_TRUE(Due("2026-12-08 09:00:02").at("due").empty()) << "the moment has passed";
    EXPECT_EQ(Reported(Due("2026-12-09 09:29:58"), "due"), std::vector<std::string>{Weekly});
}

TEST_F(OlvoctlDueTest, ReportsRemindersMissedSinceTheirLastAlert) {
    auto report = Due("2026-12-08 13:00:00");
    EXPECT_EQ(Reported(report, "missed"), (std::vector<std::string>{Daily, Once}));
    EXPECT_EQ(report.at("missed").at(0).at("moment"), "2026-12-08 09:00:00");
    EXPECT_EQ(report.at("missed").at(1).at("moment"), "2026-12-08 12:00:00");
    EXPECT_TRUE(report.at("due").empty());

    // Before today's moments nothing is missed yet.
    EXPECT_TRUE(Due("2026-12-08 08:30:00").at("missed").empty());
    // Wednesday after the meeting: the meeting and today's tea; the call
    // (once, passed) is missed as well until the program completes it.
    EXPECT_EQ(Reported(Due("2026-12-09 10:00:00"), "missed"), (std::vector<std::string>{Daily, Weekly, Once}));

    // The same as a table.
    const std::string table = RunAt("2026-12-08 13:00:00", {"due"});
    EXPECT_NE(table.find("Missed:\n"), std::string::npos) << table;
    EXPECT_NE(table.find("Due now: none"), std::string::npos) << table;
    EXPECT_NE(table.find(Once), std::string::npos) << table;
}

TEST_F(OlvoctlDueTest, LeavesAReminderWithoutLastAlertUnwritten) {
    // The start-up pass fills a missing LastTime and writes the record; the
    // report must not.
    std::string data = DataBytes();
    const std::string stamp = "LASTTIME=2026-12-08 08:00:00";
    const size_t at = data.find(stamp);
    ASSERT_NE(at, std::string::npos) << data;
    data.replace(at, stamp.size(), "LASTTIME=");
    testing_support::WriteFileBytes(DataFile(), data);
    Bytes = data;

    auto report = Due("2026-12-08 13:00:00");
    EXPECT_EQ(Reported(report, "missed"), (std::vector<std::string>{Once})) << "the tea has no last alert to miss";
}

class OlvoctlLockTest : public OlvoctlTest {
protected:
    bool LockHeld() const {
        testing_support::TEnvGuard runtime("XDG_RUNTIME_DIR", Dir.Path());
        return IsInstanceRunning(InstanceMutexName);
    }
    std::unique_ptr<TChildProcess> StartProgram() const {
        auto program = std::make_unique<TChildProcess>(
            std::vector<std::string>{testing_support::BinDir() + "/olvo-reminder"}, Env());
        EXPECT_TRUE(testing_support::WaitUntil(10, [&] { return LockHeld(); })) << "the program never took its lock";
        return program;
    }
};

TEST_F(OlvoctlLockTest, ChangesWaitWhileTheProgramRunsReportsDoNot) {
    const std::string tea = Add("2026-12-08 08:00:00", {"Tea", "--daily", "09:00"});
    const std::string backup = Dir / "backup.dat";
    RunAt("2026-12-08 08:00:00", {"backup", backup});

    auto program = StartProgram();
    const std::string bytes = DataBytes();
    const std::vector<std::vector<std::string>> changes = {
        {"add", "Coffee", "--daily", "10:00"},
        {"done", tea},
        {"delete", tea},
        {"restore", backup},
        // The program's own file under another spelling is still its file.
        {"--data", Dir / "data/Olvo_Reminder/../Olvo_Reminder/ov_rmind_data.dat", "delete", tea},
    };
    for (const auto& args : changes) {
        const TRunResult r = Run(args);
        EXPECT_EQ(r.Code, 3) << args[0];
        EXPECT_NE(r.Err.find("Olvo Reminder is running"), std::string::npos) << r.Err;
    }
    EXPECT_EQ(DataBytes(), bytes);

    const TRunResult list = Run({"list", "--json"});
    EXPECT_EQ(list.Code, 0) << list.Err;
    EXPECT_EQ(IdsOf(nlohmann::json::parse(list.Out).at("reminders")), std::vector<std::string>{tea});
    EXPECT_EQ(Run({"due"}).Code, 0);
    EXPECT_EQ(Run({"backup", Dir / "second.dat"}).Code, 0);

    // Another data file is not the program's: it can be changed.
    const TRunResult other = Run({"--data", Dir / "other.dat", "add", "Coffee", "--daily", "10:00"});
    EXPECT_EQ(other.Code, 0) << other.Err;

    program->Signal(SIGTERM);
    EXPECT_EQ(program->Wait(10), std::optional<int>(0));
    EXPECT_EQ(Run({"done", tea}).Code, 0) << "once the program has ended, changes go through";
}

}  // namespace
