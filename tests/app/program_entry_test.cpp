// The real program as separate processes: the first start takes the lock and
// keeps running; a second start wakes the first and ends with code 0.
#include <gtest/gtest.h>

#include <csignal>

#include "app/instance_wakeup.h"
#include "platform/single_instance.h"
#include "support/child_process.h"
#include "support/test_support.h"

using testing_support::BinDir;
using testing_support::TChildProcess;
using testing_support::TTempDir;
using testing_support::WaitUntil;

class ProgramEntryTest : public ::testing::Test {
protected:
    // Every process of a test sees the same private home, data and runtime
    // folders, never the real user's.
    std::map<std::string, std::optional<std::string>> Env() const {
        return {{"HOME", Dir / "home"},
                {"XDG_DATA_HOME", Dir / "data"},
                {"XDG_CONFIG_HOME", Dir / "config"},
                {"XDG_RUNTIME_DIR", Dir.Path()},
                {"LANG", "C"},
                {"LC_ALL", std::nullopt},
                {"LC_MESSAGES", std::nullopt}};
    }
    std::unique_ptr<TChildProcess> StartProgram() const {
        return std::make_unique<TChildProcess>(std::vector<std::string>{BinDir() + "/olvo-reminder"}, Env());
    }
    std::unique_ptr<TChildProcess> StartPeer(const std::string& state) const {
        auto peer = std::make_unique<TChildProcess>(
            std::vector<std::string>{BinDir() + "/instance_peer", "serve", InstanceMutexName, state}, Env());
        EXPECT_TRUE(peer->WaitForLine("READY", 10)) << peer->Output();
        return peer;
    }
    bool LockHeld() const {
        testing_support::TEnvGuard runtime("XDG_RUNTIME_DIR", Dir.Path());
        return IsInstanceRunning(InstanceMutexName);
    }
    std::string DataFile() const { return Dir / "data/Olvo_Reminder/ov_rmind_data.dat"; }

    TTempDir Dir;
};

TEST_F(ProgramEntryTest, FirstStartRunsSecondStartEndsWithZero) {
    auto first = StartProgram();
    ASSERT_TRUE(WaitUntil(10, [&] { return LockHeld(); })) << "the first start never took the lock";
    EXPECT_TRUE(testing_support::PathExists(Dir / "data/Olvo_Reminder"));

    auto second = StartProgram();
    EXPECT_EQ(second->Wait(10), std::optional<int>(0));
    EXPECT_TRUE(first->Running());

    first->Signal(SIGTERM);
    EXPECT_EQ(first->Wait(10), std::optional<int>(0));
    std::string data = testing_support::ReadFileBytes(DataFile());
    EXPECT_NE(data.find("[CONFIG]"), std::string::npos) << data;
    EXPECT_NE(data.find("Language=English"), std::string::npos) << data;
    EXPECT_FALSE(LockHeld());
}

TEST_F(ProgramEntryTest, SecondStartShowsAHiddenWindowAndRestoresAMinimisedOne) {
    struct Case { const char* state; const char* expectedLine; };
    const Case cases[] = {{"hidden", "MSG TfrmORMMain 4477 1 0"}, {"minimized", "MSG TfrmORMMain 4477 2 0"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        auto peer = StartPeer(c.state);
        auto second = StartProgram();
        EXPECT_EQ(second->Wait(10), std::optional<int>(0));
        EXPECT_TRUE(peer->WaitForLine(c.expectedLine, 10)) << peer->Output();
        peer->Signal(SIGTERM);
        peer->Wait(10);
    }
}

TEST_F(ProgramEntryTest, SecondStartLeavesAVisibleWindowAlone) {
    auto peer = StartPeer("normal");
    auto second = StartProgram();
    EXPECT_EQ(second->Wait(10), std::optional<int>(0));
    peer->Signal(SIGTERM);
    peer->Wait(10);
    EXPECT_EQ(peer->Output().find("MSG"), std::string::npos) << peer->Output();
}

TEST_F(ProgramEntryTest, SecondStartEndsEvenWhenTheFirstHasNoWindow) {
    auto peer = StartPeer("none");
    auto second = StartProgram();
    EXPECT_EQ(second->Wait(10), std::optional<int>(0));
}

TEST_F(ProgramEntryTest, ProgramStartsAgainAfterTheFirstWasKilled) {
    auto first = StartProgram();
    ASSERT_TRUE(WaitUntil(10, [&] { return LockHeld(); }));
    first->Signal(SIGKILL);
    first->Wait(10);
    auto again = StartProgram();
    ASSERT_TRUE(WaitUntil(10, [&] { return LockHeld(); }));
    EXPECT_TRUE(again->Running()) << "a dead first instance must not block later starts";
    again->Signal(SIGINT);
    EXPECT_EQ(again->Wait(10), std::optional<int>(0));
}
