// The install rules run into a temporary prefix: what lands where, and the
// installed programs finding their data in the installed tree.
#include "support/child_process.h"
#include "support/test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace testing_support;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
namespace fs = std::filesystem;

namespace {

struct TRun {
    std::optional<int> Exit;
    std::string Out;
    std::string Err;
};

TRun RunTool(const std::vector<std::string>& argv, const std::map<std::string, std::optional<std::string>>& env = {},
         double seconds = 60) {
    TChildProcess child(argv, env, TStderr::Capture);
    TRun result;
    result.Exit = child.Wait(seconds);
    result.Out = child.Output();
    result.Err = child.ErrorOutput();
    return result;
}

std::optional<std::string> Tool(const std::string& name) {
    for (const char* folder : {"/usr/bin/", "/bin/", "/usr/local/bin/"})
        if (access((std::string(folder) + name).c_str(), X_OK) == 0) return std::string(folder) + name;
    return std::nullopt;
}

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & S_IXOTH);
}

// Names (relative paths) of the files below a folder, sorted.
std::vector<std::string> FilesBelow(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        if (it->is_regular_file()) names.push_back(fs::relative(it->path(), folder).string());
    std::sort(names.begin(), names.end());
    return names;
}

// Width and height from a PNG's header chunk; {0, 0} for anything else.
std::pair<uint32_t, uint32_t> PngSize(const std::string& bytes) {
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || bytes.compare(12, 4, "IHDR") != 0)
        return {0, 0};
    auto be32 = [&](size_t at) {
        uint32_t v = 0;
        for (size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
        return v;
    };
    return {be32(16), be32(20)};
}

// One install for the whole suite: `cmake --install <build> --prefix <tmp>`.
class InstallTreeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        FRoot = std::make_unique<TTempDir>();
        FInstall = RunTool({OLVO_CMAKE_COMMAND, "--install", OLVO_BUILD_DIR, "--prefix", Prefix()},
                       {{"DESTDIR", std::nullopt}}, 300);
    }
    static void TearDownTestSuite() { FRoot.reset(); }
    void SetUp() override {
        ASSERT_EQ(FInstall.Exit, 0) << FInstall.Out << FInstall.Err;
    }
    static std::string Prefix() { return *FRoot / "prefix"; }
    static std::string At(const std::string& relative) { return Prefix() + "/" + relative; }

    // The installed olvoctl with a home of its own.
    TRun Olvoctl(std::vector<std::string> args) const {
        args.insert(args.begin(), At("bin/olvoctl"));
        return RunTool(args, {{"HOME", FHome.Path()}, {"XDG_DATA_HOME", std::nullopt}, {"XDG_CONFIG_HOME", std::nullopt},
                          {"LC_ALL", "C.UTF-8"}, {"LANG", std::nullopt}, {"LC_MESSAGES", std::nullopt}});
    }

    static std::unique_ptr<TTempDir> FRoot;
    static TRun FInstall;
    TTempDir FHome;
};

std::unique_ptr<TTempDir> InstallTreeTest::FRoot;
TRun InstallTreeTest::FInstall;

TEST_F(InstallTreeTest, ProgramsInBinTheirDataInShare) {
    EXPECT_TRUE(IsExecutableFile(At("bin/olvo-reminder")));
    EXPECT_TRUE(IsExecutableFile(At("bin/olvoctl")));

    std::vector<std::string> shipped;
    for (const auto& entry : fs::directory_iterator(SourceDir() + "/assets/Languages"))
        if (entry.path().extension() == ".ini") shipped.push_back(entry.path().filename().string());
    std::sort(shipped.begin(), shipped.end());
    ASSERT_FALSE(shipped.empty());
    EXPECT_EQ(FilesBelow(At("share/olvo-reminder/Languages")), shipped);
    for (const std::string& name : shipped)
        EXPECT_EQ(ReadFileBytes(At("share/olvo-reminder/Languages/" + name)),
                  ReadFileBytes(SourceDir() + "/assets/Languages/" + name))
            << name;

    const std::string sound = ReadFileBytes(At("share/olvo-reminder/default.mp3"));
    EXPECT_FALSE(sound.empty());
    EXPECT_EQ(sound, ReadFileBytes(BinDir() + "/default.mp3"));

    // The module folder holds modules only: no program and no data.
    for (const std::string& name : FilesBelow(At("lib/olvo-reminder")))
        EXPECT_TRUE(name.ends_with(".so") && name.find('/') == std::string::npos) << name;
    EXPECT_FALSE(PathExists(At("bin/Languages")));
    EXPECT_FALSE(PathExists(At("bin/default.mp3")));
}

TEST_F(InstallTreeTest, FoldersAndFilesAreReadableByEveryone) {
    for (const auto& entry : fs::recursive_directory_iterator(Prefix())) {
        struct stat st {};
        ASSERT_EQ(stat(entry.path().c_str(), &st), 0);
        const mode_t wanted = S_ISDIR(st.st_mode) ? (S_IROTH | S_IXOTH) : S_IROTH;
        EXPECT_EQ(st.st_mode & wanted, wanted) << entry.path();
        EXPECT_EQ(st.st_mode & S_IWOTH, 0u) << entry.path();
    }
}

TEST_F(InstallTreeTest, DesktopEntryStartsTheProgramWithItsIcon) {
    const std::string path = At("share/applications/olvo-reminder.desktop");
    const std::string text = ReadFileBytes(path);
    ASSERT_THAT(text, HasSubstr("[Desktop Entry]\n"));
    for (const char* line : {"\nType=Application\n", "\nName=Olvo Reminder\n", "\nExec=olvo-reminder\n",
                             "\nIcon=olvo-reminder\n", "\nCategories=Utility;\n", "\nStartupNotify=false\n"})
        EXPECT_THAT(text, HasSubstr(line));
    EXPECT_THAT(text, ::testing::ContainsRegex("\nComment=[^\n]+\n"));
    if (auto validate = Tool("desktop-file-validate")) {
        const TRun check = RunTool({*validate, path});
        EXPECT_EQ(check.Exit, 0) << check.Out << check.Err;
        EXPECT_THAT(check.Out + check.Err, IsEmpty());
    }
}

TEST_F(InstallTreeTest, EveryRenderedIconSizeAndTheScalableIcon) {
    const std::string built = BinDir() + "/icons/hicolor";
    const std::vector<std::string> icons = FilesBelow(built);
    ASSERT_GE(icons.size(), 2u);
    EXPECT_EQ(FilesBelow(At("share/icons/hicolor")), icons);
    int sizes = 0;
    for (const std::string& name : icons) {
        if (name == "scalable/apps/olvo-reminder.svg") continue;
        // <n>x<n>/apps/olvo-reminder.png, drawn at n by n pixels.
        const size_t x = name.find('x');
        ASSERT_NE(x, std::string::npos) << name;
        const uint32_t n = static_cast<uint32_t>(std::stoul(name.substr(0, x)));
        EXPECT_EQ(name, std::to_string(n) + "x" + std::to_string(n) + "/apps/olvo-reminder.png");
        EXPECT_EQ(PngSize(ReadFileBytes(At("share/icons/hicolor/" + name))), std::make_pair(n, n)) << name;
        ++sizes;
    }
    EXPECT_GE(sizes, 4);
    EXPECT_EQ(ReadFileBytes(At("share/icons/hicolor/scalable/apps/olvo-reminder.svg")),
              ReadFileBytes(SourceDir() + "/assets/icons/olvo-reminder.svg"));
}

TEST_F(InstallTreeTest, MetainfoNamesTheDesktopEntryAndValidates) {
    const std::string path = At("share/metainfo/org.olvo.reminder.metainfo.xml");
    const std::string text = ReadFileBytes(path);
    EXPECT_THAT(text, HasSubstr("<id>org.olvo.reminder</id>"));
    EXPECT_THAT(text, HasSubstr("<launchable type=\"desktop-id\">olvo-reminder.desktop</launchable>"));
    EXPECT_THAT(text, HasSubstr("<binary>olvoctl</binary>"));
    if (auto appstream = Tool("appstreamcli")) {
        const TRun check = RunTool({*appstream, "validate", "--no-net", "--pedantic", path});
        EXPECT_EQ(check.Exit, 0) << check.Out << check.Err;
    }
}

TEST_F(InstallTreeTest, ManualPagesCoverBothProgramsAndEveryCommand) {
    const std::string program = ReadFileBytes(At("share/man/man1/olvo-reminder.1"));
    const std::string tool = ReadFileBytes(At("share/man/man1/olvoctl.1"));
    EXPECT_TRUE(program.starts_with(".TH OLVO-REMINDER 1 "));
    EXPECT_TRUE(tool.starts_with(".TH OLVOCTL 1 "));
    EXPECT_THAT(program, HasSubstr("\\-os"));

    // Each command the help lists has its own entry in the page.
    const TRun help = Olvoctl({"--help"});
    ASSERT_EQ(help.Exit, 0) << help.Err;
    const size_t from = help.Out.find("Commands:\n");
    const size_t to = help.Out.find("\n\n", from);
    ASSERT_NE(from, std::string::npos);
    int commands = 0;
    std::istringstream lines(help.Out.substr(from, to - from));
    for (std::string line; std::getline(lines, line);) {
        if (line.size() < 3 || line.compare(0, 2, "  ") != 0 || line[2] == ' ') continue;
        const std::string command = line.substr(2, line.find(' ', 2) - 2);
        const bool listed = tool.find("\n.BR " + command) != std::string::npos ||
                            tool.find("\n.BI " + command) != std::string::npos;
        EXPECT_TRUE(listed) << command;
        ++commands;
    }
    EXPECT_GE(commands, 8);

    if (auto groff = Tool("groff")) {
        for (const std::string page : {"olvo-reminder.1", "olvoctl.1"}) {
            const TRun check = RunTool({*groff, "-man", "-Tutf8", "-ww", "-z", At("share/man/man1/" + page)});
            EXPECT_EQ(check.Exit, 0) << page;
            EXPECT_THAT(check.Err, IsEmpty()) << page;
        }
    }
}

TEST_F(InstallTreeTest, InstalledOlvoctlFindsItsLanguagesInShare) {
    const std::string data = FHome / "reminders.dat";
    WriteFileBytes(data, "");
    const std::string now = "2026-12-07 08:00:00";
    const TRun add = Olvoctl({"--data", data, "--now", now, "add", "Tee", "--weekly", "mon,thu", "09:30"});
    ASSERT_EQ(add.Exit, 0) << add.Err;

    const TRun german = Olvoctl({"--data", data, "--now", now, "--lang", "German", "list"});
    EXPECT_EQ(german.Exit, 0) << german.Err;
    EXPECT_THAT(german.Out, HasSubstr("Wöchentlich"));

    // An unknown language names the installed ones, read from share/ (in
    // the order the folder lists them).
    const TRun unknown = Olvoctl({"--data", data, "--lang", "Klingon", "list"});
    EXPECT_EQ(unknown.Exit, 2);
    const size_t from = unknown.Err.find("(installed: ");
    ASSERT_NE(from, std::string::npos) << unknown.Err;
    const size_t to = unknown.Err.find(')', from);
    std::vector<std::string> names;
    std::istringstream list(unknown.Err.substr(from + 12, to - from - 12));
    for (std::string name; std::getline(list, name, ',');) names.push_back(name.substr(name.front() == ' '));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Chinese", "English", "German"}));
}

TEST(InstallDestDirTest, StagedInstallStaysBelowTheStagingFolder) {
    TTempDir stage;
    const TRun install = RunTool({OLVO_CMAKE_COMMAND, "--install", OLVO_BUILD_DIR, "--prefix", "/usr"},
                             {{"DESTDIR", stage.Path() + "/"}}, 300);
    ASSERT_EQ(install.Exit, 0) << install.Out << install.Err;
    std::vector<std::string> top;
    for (const auto& entry : fs::directory_iterator(stage.Path())) top.push_back(entry.path().filename().string());
    EXPECT_EQ(top, std::vector<std::string>{"usr"});
    EXPECT_TRUE(IsExecutableFile(stage / "usr/bin/olvoctl"));
    EXPECT_TRUE(PathExists(stage / "usr/share/olvo-reminder/Languages/English.ini"));
    EXPECT_TRUE(PathExists(stage / "usr/share/applications/olvo-reminder.desktop"));
}

}  // namespace
