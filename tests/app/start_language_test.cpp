// The real program on a first start: the user's interface language picks
// the shipped translation, and the choice is in the data file after exit.
#include <gtest/gtest.h>

#include <csignal>

#include "app/instance_wakeup.h"
#include "platform/ini_document.h"
#include "platform/single_instance.h"
#include "platform/text_codec.h"
#include "store/remind_file.h"
#include "support/child_process.h"
#include "support/test_support.h"

using testing_support::BinDir;
using testing_support::TChildProcess;
using testing_support::TTempDir;
using testing_support::WaitUntil;

namespace {

class StartLanguageTest : public ::testing::Test {
protected:
    std::map<std::string, std::optional<std::string>> Env(const std::string& lang) const {
        return {{"HOME", Dir / "home"},
                {"XDG_DATA_HOME", Dir / "data"},
                {"XDG_CONFIG_HOME", Dir / "config"},
                {"XDG_RUNTIME_DIR", Dir.Path()},
                {"LANG", lang},
                {"LC_ALL", std::nullopt},
                {"LC_MESSAGES", std::nullopt}};
    }
    bool LockHeld() const {
        testing_support::TEnvGuard runtime("XDG_RUNTIME_DIR", Dir.Path());
        return IsInstanceRunning(InstanceMutexName);
    }
    // Starts the program, waits until it runs, ends it as a session end
    // would, and answers the language its data file then holds.
    std::string LanguageStoredAfterARun(const std::string& lang) const {
        TChildProcess program({BinDir() + "/olvo-reminder"}, Env(lang));
        EXPECT_TRUE(WaitUntil(10, [&] { return LockHeld(); })) << "the program never took the lock";
        program.Signal(SIGTERM);
        EXPECT_EQ(program.Wait(10), std::optional<int>(0));
        std::string bytes = testing_support::ReadFileBytes(Dir / "data/Olvo_Reminder/ov_rmind_data.dat");
        return TIniDocument::Parse(DecodeText(bytes).Text).Read(ConfigSection, "Language", "<none>");
    }

    TTempDir Dir;
};

TEST_F(StartLanguageTest, AChineseDesktopStartsInChineseAndKeepsIt) {
    ASSERT_TRUE(testing_support::PathExists(BinDir() + "/Languages/Chinese.ini"))
        << "the language files belong beside the program";
    EXPECT_EQ(LanguageStoredAfterARun("zh_CN.UTF-8"), "Chinese");
    // The stored choice wins over the interface language from now on.
    EXPECT_EQ(LanguageStoredAfterARun("de_DE.UTF-8"), "Chinese");
}

TEST_F(StartLanguageTest, AGermanDesktopStartsInGerman) {
    EXPECT_EQ(LanguageStoredAfterARun("de_AT.UTF-8"), "German");
}

}  // namespace
