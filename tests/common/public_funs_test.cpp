// Folders, the run-at-logon values, the version record and the shell "open"
// stand-in, observed through the files and processes they produce.
#include "common/public_funs.h"

#include "platform/folders.h"
#include "platform/shell_open.h"
#include "support/test_support.h"
#include "version_config.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace testing_support;
using ::testing::ElementsAre;

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// A home of its own for each test, so nothing reaches the real account.
class TPrivateHome : public ::testing::Test {
protected:
    TTempDir FHome;
    TEnvGuard FHomeEnv{"HOME", FHome.Path()};
    TEnvGuard FDataEnv{"XDG_DATA_HOME", std::nullopt};
    TEnvGuard FConfigEnv{"XDG_CONFIG_HOME", std::nullopt};
    TEnvGuard FDesktopEnv{"XDG_DESKTOP_DIR", std::nullopt};
    std::string Autostart() const { return FHome / ".config/autostart"; }
};

using GetSpecialFolderPathTest = TPrivateHome;

TEST(AddPathDelimiterTest, AppendsOneSlashOnlyWhenMissing) {
    EXPECT_EQ(AddPathDelimiter(""), "");
    EXPECT_EQ(AddPathDelimiter("/home/u"), "/home/u/");
    EXPECT_EQ(AddPathDelimiter("/home/u/"), "/home/u/");
    EXPECT_EQ(AddPathDelimiter("/"), "/");
    EXPECT_EQ(AddPathDelimiter("rel"), "rel/");
}

TEST_F(GetSpecialFolderPathTest, DataFolderFollowsXdgDataHomeOnlyWhenAbsolute) {
    EXPECT_EQ(GetSpecialFolderPath(nullptr, CSIDL_APPDATA), FHome / ".local/share");
    {
        TEnvGuard data("XDG_DATA_HOME", "/srv/data/");
        EXPECT_EQ(GetSpecialFolderPath(nullptr, CSIDL_APPDATA), "/srv/data");
        EXPECT_EQ(GetSpecialFolderPath(nullptr, CSIDL_LOCAL_APPDATA), "/srv/data");
    }
    TEnvGuard relative("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(GetSpecialFolderPath(nullptr, CSIDL_APPDATA), FHome / ".local/share");
}

TEST_F(GetSpecialFolderPathTest, OtherFolders) {
    EXPECT_EQ(GetSpecialFolderPath(nullptr, CSIDL_PERSONAL), FHome.Path());
    EXPECT_EQ(GetSpecialFolderPath(nullptr, CSIDL_DESKTOP), FHome / "Desktop");
    EXPECT_EQ(GetSpecialFolderPath(nullptr, CSIDL_STARTUP), FHome / ".config/autostart");
    EXPECT_EQ(GetSpecialFolderPath(nullptr, 0x1234), "");

    ASSERT_TRUE(ForceDirectories(FHome / ".config"));
    WriteFileBytes(FHome / ".config/user-dirs.dirs", "# local names\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
    EXPECT_EQ(GetSpecialFolderPath(nullptr, CSIDL_DESKTOP), FHome / "Schreibtisch");

    TEnvGuard config("XDG_CONFIG_HOME", FHome / "cfg");
    EXPECT_EQ(GetSpecialFolderPath(nullptr, CSIDL_STARTUP), FHome / "cfg/autostart");
}

TEST_F(GetSpecialFolderPathTest, RelativeHomeFallsBackToPasswordDatabase) {
    TEnvGuard home("HOME", "not/absolute");
    const passwd* pw = getpwuid(getuid());
    ASSERT_NE(pw, nullptr);
    EXPECT_EQ(GetSpecialFolderPath(nullptr, CSIDL_PERSONAL), std::string(pw->pw_dir));
}

TEST_F(GetSpecialFolderPathTest, InitPreparesAppDataPathWithDelimiter) {
    AppDataPath = "stale";
    InitPublicFuns();
    EXPECT_FALSE(IsWin64);
    EXPECT_EQ(AppDataPath, FHome / ".local/share/");
    EXPECT_EQ(RegAccessMask(true), 0x20019u);
    EXPECT_EQ(RegAccessMask(false), 0xF003Fu);
}

// ---- version record ------------------------------------------------------

TVSFixedFileInfo Sentinel() {
    TVSFixedFileInfo r;
    r.dwSignature = 7;
    r.dwFileVersionMS = 8;
    r.dwFileType = 9;
    return r;
}

TEST(VersionTest, TextJoinsMinorAndRelease) {
    TVSFixedFileInfo r;
    r.dwFileVersionMS = (1u << 16) | 1;
    r.dwFileVersionLS = (5u << 16) | 53;
    EXPECT_EQ(VersionText(r), "1.15.53");
    r.dwFileVersionMS = 2u << 16;
    r.dwFileVersionLS = (10u << 16) | 7;
    EXPECT_EQ(VersionText(r), "2.010.7");
}

TEST(VersionTest, RecordOnlyForOwnExecutable) {
    TVSFixedFileInfo own = Sentinel();
    GetFileVersionRecord(ProgramPath(), own);
    EXPECT_EQ(own.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(own.dwStrucVersion, 0x00010000u);
    EXPECT_EQ(own.dwFileVersionMS, (unsigned(OLVO_VERSION_MAJOR) << 16) | OLVO_VERSION_MINOR);
    EXPECT_EQ(own.dwFileVersionLS, (unsigned(OLVO_VERSION_RELEASE) << 16) | OLVO_VERSION_BUILD);
    EXPECT_EQ(own.dwProductVersionMS, own.dwFileVersionMS);
    EXPECT_EQ(own.dwProductVersionLS, own.dwFileVersionLS);
    EXPECT_EQ(own.dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(own.dwFileOS, 0x40004u);
    EXPECT_EQ(own.dwFileType, 1u);

    // The same file reached through a link is still the program.
    TTempDir dir;
    ASSERT_EQ(symlink(ProgramPath().c_str(), (dir / "link").c_str()), 0);
    TVSFixedFileInfo viaLink = Sentinel();
    GetFileVersionRecord(dir / "link", viaLink);
    EXPECT_EQ(viaLink.dwFileVersionLS, own.dwFileVersionLS);

    for (const std::string& other : {dir / "missing.exe", std::string("/bin/sh"), std::string()}) {
        TVSFixedFileInfo untouched = Sentinel();
        GetFileVersionRecord(other, untouched);
        EXPECT_EQ(untouched.dwSignature, 7u) << other;
        EXPECT_EQ(untouched.dwFileVersionMS, 8u) << other;
        EXPECT_EQ(untouched.dwFileType, 9u) << other;
    }
}

TEST(ProgramPathTest, FolderHoldsTheRunningExecutable) {
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(FileExists(ProgramPath()));
    char canonical[PATH_MAX];
    ASSERT_NE(realpath(BinDir().c_str(), canonical), nullptr);
    EXPECT_EQ(folder, std::string(canonical) + "/");
}

// ---- run-at-logon values -------------------------------------------------

using RegistryTest = TPrivateHome;

TEST_F(RegistryTest, RunValueIsAnAutostartEntry) {
    const std::string command = "\"/opt/olvo reminder/olvo-reminder\" -autorun";
    EXPECT_FALSE(RegValueExist(HKEY_CURRENT_USER, RunKeyPath, "OlvoReminder"));
    ASSERT_FALSE(DirectoryExists(Autostart()));

    EXPECT_TRUE(RegWriteStr(HKEY_CURRENT_USER, RunKeyPath, "OlvoReminder", command));
    const std::string file = Autostart() + "/OlvoReminder.desktop";
    ASSERT_TRUE(FileExists(file));
    const auto lines = Lines(ReadFileBytes(file));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "[Desktop Entry]");
    EXPECT_THAT(lines, ::testing::IsSupersetOf({std::string("Type=Application"), std::string("Name=OlvoReminder"),
                                                "Exec=" + command, std::string("X-GNOME-Autostart-enabled=true")}));

    // Either separator and any case name the same key.
    const std::string slashKey = "software/microsoft/WINDOWS/currentversion/run";
    EXPECT_TRUE(RegValueExist(HKEY_CURRENT_USER, slashKey, "OlvoReminder"));
    EXPECT_EQ(RegReadStr(HKEY_CURRENT_USER, slashKey, "OlvoReminder"), command);

    EXPECT_TRUE(RegWriteStr(HKEY_CURRENT_USER, RunKeyPath, "OlvoReminder", "/usr/bin/olvo-reminder"));
    EXPECT_EQ(RegReadStr(HKEY_CURRENT_USER, RunKeyPath, "OlvoReminder"), "/usr/bin/olvo-reminder");

    EXPECT_TRUE(RegDeleteVal(HKEY_CURRENT_USER, RunKeyPath, "OlvoReminder"));
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(RegValueExist(HKEY_CURRENT_USER, RunKeyPath, "OlvoReminder"));
    EXPECT_FALSE(RegDeleteVal(HKEY_CURRENT_USER, RunKeyPath, "OlvoReminder"));
    EXPECT_EQ(RegReadStr(HKEY_CURRENT_USER, RunKeyPath, "OlvoReminder"), "");
}

TEST_F(RegistryTest, TextWithLineBreaksCannotAddKeys) {
    const std::string command = "C:\\old\\path.exe\nHidden=true\r\n X-GNOME-Autostart-enabled=false";
    RegWriteStr(HKEY_CURRENT_USER, RunKeyPath, "Olvo", command);
    const auto lines = Lines(ReadFileBytes(Autostart() + "/Olvo.desktop"));
    EXPECT_THAT(lines, ::testing::Not(::testing::Contains("Hidden=true")));
    EXPECT_THAT(lines, ::testing::Contains("X-GNOME-Autostart-enabled=true"));
    EXPECT_EQ(RegReadStr(HKEY_CURRENT_USER, RunKeyPath, "Olvo"), command);
}

TEST_F(RegistryTest, OtherKeysDoNotExist) {
    const std::pair<HKEY, std::string> keys[] = {{HKEY_LOCAL_MACHINE, RunKeyPath},
                                                 {HKEY_CURRENT_USER, "Software\\Olvo"},
                                                 {HKEY_CURRENT_USER, std::string(RunKeyPath) + "Once"}};
    for (const auto& [root, key] : keys) {
        EXPECT_TRUE(RegWriteStr(root, key, "Olvo", "/bin/true")) << key;
        EXPECT_TRUE(RegValueExist(root, key, "Olvo")) << key;
        EXPECT_FALSE(RegDeleteVal(root, key, "Olvo")) << key;
        EXPECT_EQ(RegReadStr(root, key, "Olvo"), "") << key;
    }
    EXPECT_FALSE(PathExists(FHome / ".config"));
}

TEST_F(RegistryTest, NamesThatWouldLeaveTheFolderAreRefused) {
    ASSERT_TRUE(ForceDirectories(Autostart()));
    for (const std::string& name : {std::string(), std::string("."), std::string(".."), std::string("../escape"),
                                    std::string("a/b"), std::string("x\0/../../y", 10)}) {
        EXPECT_TRUE(RegWriteStr(HKEY_CURRENT_USER, RunKeyPath, name, "/bin/true"));
        EXPECT_FALSE(RegValueExist(HKEY_CURRENT_USER, RunKeyPath, name));
        EXPECT_FALSE(RegDeleteVal(HKEY_CURRENT_USER, RunKeyPath, name));
    }
    std::vector<std::string> entries;
    ASSERT_TRUE(ListFolderEntries(Autostart(), entries));
    EXPECT_THAT(entries, ::testing::IsEmpty());
    EXPECT_FALSE(PathExists(FHome / ".config/escape.desktop"));
    EXPECT_FALSE(PathExists(FHome / "y.desktop"));
}

TEST_F(RegistryTest, UnsearchableFolderErrsTowardsPresence) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    RegWriteStr(HKEY_CURRENT_USER, RunKeyPath, "Olvo", "/bin/true");
    ASSERT_EQ(chmod(Autostart().c_str(), 0), 0);
    EXPECT_TRUE(RegValueExist(HKEY_CURRENT_USER, RunKeyPath, "Olvo"));
    EXPECT_TRUE(RegValueExist(HKEY_CURRENT_USER, RunKeyPath, "Other"));
    chmod(Autostart().c_str(), 0700);
}

// ---- opening targets -----------------------------------------------------

// A stand-in xdg-open first in PATH. Each start leaves one file in calls/,
// named after its process id, holding its arguments and what it saw of its
// own process; the file appears whole (written aside, then renamed).
class OpenURLTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ForceDirectories(FDir / "bin"));
        ASSERT_TRUE(ForceDirectories(FDir / "calls"));
        const std::string script = "#!/bin/sh\n"
                                   "calls='" + FDir / "calls" + "'\n"
                                   "if [ -n \"$OLVO_FAKE_SLEEP\" ]; then : > \"$calls/../started\"; sleep \"$OLVO_FAKE_SLEEP\"; fi\n"
                                   "sid=$(cut -d' ' -f6 /proc/$$/stat)\n"
                                   "in=$(readlink /proc/$$/fd/0); out=$(readlink /proc/$$/fd/1); err=$(readlink /proc/$$/fd/2)\n"
                                   "inherited=no\n"
                                   "if [ -n \"$OLVO_CHECK_FD\" ] && [ -e /proc/$$/fd/$OLVO_CHECK_FD ]; then inherited=yes; fi\n"
                                   "{ for a in \"$@\"; do printf 'arg=%s\\n' \"$a\"; done\n"
                                   "  printf 'pid=%s\\nsid=%s\\nstdio=%s %s %s\\ninherited=%s\\n' \"$$\" \"$sid\" \"$in\" \"$out\" \"$err\" \"$inherited\"\n"
                                   "} > \"$calls/.part.$$\"\n"
                                   "mv \"$calls/.part.$$\" \"$calls/$$\"\n";
        WriteFileBytes(FDir / "bin/xdg-open", script);
        ASSERT_EQ(chmod((FDir / "bin/xdg-open").c_str(), 0755), 0);
    }

    // The calls' files once at least `count` exist (or after 5 s).
    std::vector<std::vector<std::string>> WaitForCalls(size_t count) {
        std::vector<std::string> names;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (true) {
            ListFolderEntries(FDir / "calls", names);
            std::erase_if(names, [](const std::string& n) { return n.starts_with('.'); });
            if (names.size() >= count || std::chrono::steady_clock::now() > deadline) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        std::vector<std::vector<std::string>> calls;
        for (const std::string& name : names) calls.push_back(Lines(ReadFileBytes(FDir / ("calls/" + name))));
        return calls;
    }

    std::vector<std::string> OpenAndWait(const std::string& target) {
        std::vector<std::string> names;
        ListFolderEntries(FDir / "calls", names);
        for (const std::string& name : names) unlink((FDir / ("calls/" + name)).c_str());
        OpenURL(nullptr, target);
        auto calls = WaitForCalls(1);
        return calls.empty() ? std::vector<std::string>{} : calls[0];
    }

    static std::vector<std::string> Args(const std::vector<std::string>& call) {
        std::vector<std::string> args;
        for (const std::string& line : call)
            if (line.starts_with("arg=")) args.push_back(line.substr(4));
        return args;
    }

    static std::string Fact(const std::vector<std::string>& call, const std::string& key) {
        for (const std::string& line : call)
            if (line.starts_with(key + "=")) return line.substr(key.size() + 1);
        return {};
    }

    TTempDir FDir;
    TEnvGuard FPath{"PATH", FDir / "bin" + ":" + (std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin")};
    TEnvGuard FSleep{"OLVO_FAKE_SLEEP", std::nullopt};
    TEnvGuard FCheckFd{"OLVO_CHECK_FD", std::nullopt};
};

TEST_F(OpenURLTest, TargetArrivesAsOneUnchangedArgument) {
    const std::string hostile = "$(touch " + FDir / "pwned" + "); `touch " + FDir / "pwned" + "` | ;&>\"q\" 'r' *";
    for (const std::string& target : {std::string("https://example.com/a b?x=1&y=2"), std::string("mailto:me@example.com"),
                                      hostile, std::string("  padded target  ")}) {
        EXPECT_THAT(Args(OpenAndWait(target)), ElementsAre(target));
    }
    EXPECT_FALSE(PathExists(FDir / "pwned"));
}

TEST_F(OpenURLTest, BlanksOnlyStartsNothing) {
    OpenURL(nullptr, "");
    OpenURL(nullptr, " \t\r\n ");
    OpenURL(nullptr, "marker");
    const auto calls = WaitForCalls(1);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_THAT(Args(calls[0]), ElementsAre("marker"));
}

TEST_F(OpenURLTest, HandlerRunsDetachedAndIsReaped) {
    // A descriptor without close-on-exec, as a library might leave one.
    const int fd = open((FDir / "held").c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 3);
    TEnvGuard check("OLVO_CHECK_FD", std::to_string(fd));
    const auto call = OpenAndWait("https://example.com/");
    close(fd);
    ASSERT_FALSE(call.empty());
    EXPECT_EQ(Fact(call, "inherited"), "no");
    EXPECT_EQ(Fact(call, "stdio"), "/dev/null /dev/null /dev/null");
    const std::string pid = Fact(call, "pid");
    EXPECT_EQ(Fact(call, "sid"), pid) << "the handler leads a session of its own";

    // Once the handler has finished its entry leaves the process table; an
    // unreaped child would stay there as a zombie.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (PathExists("/proc/" + pid) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(PathExists("/proc/" + pid));
}

TEST_F(OpenURLTest, ReturnsWithoutWaitingForTheHandler) {
    TEnvGuard sleep("OLVO_FAKE_SLEEP", "5");
    OpenURL(nullptr, "https://example.com/slow");
    std::vector<std::string> names;
    ListFolderEntries(FDir / "calls", names);
    EXPECT_THAT(names, ::testing::IsEmpty());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!PathExists(FDir / "started") && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(PathExists(FDir / "started")) << "the handler was started";
}

TEST_F(OpenURLTest, LeadingDashIsNeverAnOption) {
    // Not a file: it goes through as given (xdg-open refuses it).
    EXPECT_THAT(Args(OpenAndWait("--help")), ElementsAre("--help"));

    char previous[PATH_MAX];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(FDir.Path().c_str()), 0);
    WriteFileBytes(FDir / "-notes.txt", "x");
    const auto args = Args(OpenAndWait("-notes.txt"));
    ASSERT_EQ(chdir(previous), 0);
    EXPECT_THAT(args, ElementsAre("./-notes.txt"));
}

TEST_F(OpenURLTest, MissingHandlerIsAbsorbed) {
    TTempDir empty;
    TEnvGuard path("PATH", empty.Path());
    EXPECT_NO_THROW(OpenURL(nullptr, "https://example.com/"));
    std::string error;
    EXPECT_FALSE(ShellOpen("https://example.com/", &error));
    EXPECT_THAT(error, ::testing::HasSubstr("xdg-open"));
    EXPECT_FALSE(StartDetached({}, &error));
}

}  // namespace
