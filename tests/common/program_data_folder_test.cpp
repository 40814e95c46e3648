// Where the program finds its data (build tree and installed tree), and the
// command its run-at-logon entry stores.
#include "common/public_funs.h"

#include "i18n/language_files.h"
#include "platform/autostart.h"
#include "platform/folders.h"
#include "schedule/voice_prompt.h"
#include "support/test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace testing_support;
using ::testing::ElementsAre;

namespace {

// ---- data folder ---------------------------------------------------------

// A prefix in a temporary folder: <tmp>/prefix/bin and, on demand, the
// build tree's or the installed tree's data.
class ProgramDataFolderTest : public ::testing::Test {
protected:
    TTempDir FRoot;
    std::string Bin() const { return FRoot / "prefix/bin/"; }
    std::string Installed() const { return FRoot / "prefix/share/olvo-reminder/"; }
    void SetUp() override { ASSERT_TRUE(ForceDirectories(Bin())); }
    void MakeInstalledTree() const {
        ASSERT_TRUE(ForceDirectories(Installed() + "Languages"));
        WriteFileBytes(Installed() + "default.mp3", "ID3");
    }
};

TEST_F(ProgramDataFolderTest, BuildTreeDataBesideTheExecutable) {
    ASSERT_TRUE(ForceDirectories(Bin() + "Languages"));
    EXPECT_EQ(ProgramDataFolderFor(Bin()), Bin());
    // The folder may come without its trailing '/'.
    EXPECT_EQ(ProgramDataFolderFor(FRoot / "prefix/bin"), Bin());
}

TEST_F(ProgramDataFolderTest, DefaultSoundAloneMarksTheBuildTree) {
    WriteFileBytes(Bin() + "default.mp3", "ID3");
    MakeInstalledTree();
    EXPECT_EQ(ProgramDataFolderFor(Bin()), Bin());
}

TEST_F(ProgramDataFolderTest, InstalledTreeUnderTheSharedDataFolder) {
    MakeInstalledTree();
    EXPECT_EQ(ProgramDataFolderFor(Bin()), Installed());
    EXPECT_EQ(ProgramDataFolderFor(FRoot / "prefix/bin"), Installed());
}

TEST_F(ProgramDataFolderTest, BesideTheExecutableIsLookedAtFirst) {
    MakeInstalledTree();
    ASSERT_TRUE(ForceDirectories(Bin() + "Languages"));
    EXPECT_EQ(ProgramDataFolderFor(Bin()), Bin());
}

TEST_F(ProgramDataFolderTest, ThingsOfTheWrongKindAreNotData) {
    // A file called Languages is no language folder, a folder called
    // default.mp3 no sound, and a file where the shared folder should be
    // is no installed tree.
    WriteFileBytes(Bin() + "Languages", "");
    ASSERT_TRUE(ForceDirectories(Bin() + "default.mp3"));
    MakeInstalledTree();
    EXPECT_EQ(ProgramDataFolderFor(Bin()), Installed());

    TTempDir other;
    ASSERT_TRUE(ForceDirectories(other / "bin"));
    ASSERT_TRUE(ForceDirectories(other / "share"));
    WriteFileBytes(other / "share/olvo-reminder", "");
    EXPECT_EQ(ProgramDataFolderFor(other / "bin"), other / "bin/");
}

TEST_F(ProgramDataFolderTest, NoDataAnywhereKeepsTheExecutableFolder) {
    EXPECT_EQ(ProgramDataFolderFor(Bin()), Bin());
    EXPECT_EQ(ProgramDataFolderFor(""), "");
}

TEST(ProgramDataFolderRunningTest, TheBuildTreeKeepsItsLayout) {
    // The tests run from the build tree, where Languages/ and default.mp3
    // sit beside every executable.
    ASSERT_TRUE(DirectoryExists(ProgramFolder() + "Languages"));
    EXPECT_EQ(ProgramDataFolder(), ProgramFolder());
    EXPECT_EQ(LanguageFolder(), ProgramFolder() + "Languages/");
    ASSERT_TRUE(FileExists(ProgramFolder() + DefaultVoiceFile));
    EXPECT_EQ(VoiceFilePath(DefaultVoiceFile), ProgramFolder() + DefaultVoiceFile);
    EXPECT_EQ(VoiceFilePath("/music/bell.ogg"), "/music/bell.ogg");
}

// ---- run-at-logon command ------------------------------------------------

// The arguments a session makes of a desktop entry's Exec value (after the
// string escapes are undone): quoted arguments with backslash escapes, "%%"
// for a literal '%'.
std::vector<std::string> ExecArguments(const std::string& exec) {
    std::vector<std::string> args;
    std::string current;
    bool inQuotes = false, any = false;
    for (size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (inQuotes && c == '\\' && i + 1 < exec.size()) {
            current += exec[++i];
        } else if (c == '"') {
            inQuotes = !inQuotes;
            any = true;
        } else if (c == '%' && i + 1 < exec.size() && exec[i + 1] == '%') {
            current += exec[++i];
        } else if (c == ' ' && !inQuotes) {
            if (any || !current.empty()) args.push_back(current);
            current.clear();
            any = false;
        } else {
            current += c;
        }
    }
    if (any || !current.empty()) args.push_back(current);
    return args;
}

TEST(LogonStartCommandTest, QuotedPathOfTheRunningExecutableThenTheMarker) {
    const std::string path = ProgramPath();
    ASSERT_FALSE(path.empty());
    ASSERT_EQ(path.front(), '/');
    EXPECT_EQ(LogonStartCommand(), "\"" + path + "\" -os");
    EXPECT_THAT(ExecArguments(LogonStartCommand()), ElementsAre(path, "-os"));
}

TEST(LogonStartCommandTest, ReservedCharactersSurviveTheExecLine) {
    EXPECT_EQ(LogonStartCommandFor("/opt/My Apps/olvo-reminder"), "\"/opt/My Apps/olvo-reminder\" -os");
    EXPECT_EQ(LogonStartCommandFor("/a\"b`c$d\\e%f"), "\"/a\\\"b\\`c\\$d\\\\e%%f\" -os");
    for (const std::string path : {"/opt/My Apps/olvo-reminder", "/a\"b`c$d\\e%f", "/x/'single' & (more);"})
        EXPECT_THAT(ExecArguments(LogonStartCommandFor(path)), ElementsAre(path, "-os")) << path;
    EXPECT_EQ(LogonStartCommandFor(""), "");
}

TEST(LogonStartCommandTest, StoredEntryStartsTheSameProgram) {
    TTempDir home;
    TEnvGuard homeEnv("HOME", home.Path());
    TEnvGuard configEnv("XDG_CONFIG_HOME", std::nullopt);
    const std::string path = "/opt/Olvo \"Test\"/bin\\olvo-reminder";
    ASSERT_TRUE(RegWriteStr(HKEY_CURRENT_USER, RunKeyPath, "OlvoReminder", LogonStartCommandFor(path)));
    EXPECT_EQ(RegReadStr(HKEY_CURRENT_USER, RunKeyPath, "OlvoReminder"), LogonStartCommandFor(path));
    // What the session reads from the file is the path and the marker.
    std::string exec;
    ASSERT_TRUE(ParseAutostartExec(ReadFileBytes(home / ".config/autostart/OlvoReminder.desktop"), exec));
    EXPECT_THAT(ExecArguments(exec), ElementsAre(path, "-os"));
}

}  // namespace
