// Several olvoctl processes on one data file take turns through its lock;
// the running program keeps them all out; reports never write; files that
// are not data files are refused without waiting.
#include "cli/olvoctl_fixture.h"

#include <csignal>
#include <filesystem>
#include <set>
#include <thread>

#include <sys/stat.h>

#include "app/data_file_lock.h"

namespace {

using testing_support::TChildProcess;

class OlvoctlSharingTest : public OlvoctlTest {
protected:
    // A shell loop of olvoctl calls, all at one fixed moment so that every
    // add wants the same identity.
    std::unique_ptr<TChildProcess> Worker(const std::string& body) const {
        const std::string script = "set -e; o=\"$1\"; " + body;
        TEnv env = Env();
        return std::make_unique<TChildProcess>(
            std::vector<std::string>{"/bin/sh", "-c", script, "sh", testing_support::BinDir() + "/olvoctl"}, env);
    }
    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        size_t start = 0;
        for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }
    std::set<std::string> StoredIds() const {
        std::set<std::string> ids;
        for (const auto& r : StoredRecords()) ids.insert(TRemindFile::SectionOf(r));
        return ids;
    }
};

TEST_F(OlvoctlSharingTest, ConcurrentChangesAllLandWithDistinctIdentities) {
    constexpr int Workers = 4, Adds = 20;
    std::vector<std::string> seeded;
    for (int i = 0; i < 10; ++i) seeded.push_back(Add("2026-12-08 08:00:00", {"seed", "--daily", "09:00"}));

    std::vector<std::unique_ptr<TChildProcess>> workers;
    for (int w = 0; w < Workers; ++w)
        workers.push_back(Worker("for i in $(seq " + std::to_string(Adds) +
                                 "); do \"$o\" --now '2026-12-08 08:00:00' add \"w" + std::to_string(w) +
                                 "-$i\" --daily 09:00; done"));
    // Meanwhile the first five seeds are finished and the last five deleted.
    std::string done, removed;
    for (int i = 0; i < 5; ++i) done += " \"$o\" done " + seeded[static_cast<size_t>(i)] + ";";
    for (int i = 5; i < 10; ++i) removed += " \"$o\" delete " + seeded[static_cast<size_t>(i)] + ";";
    workers.push_back(Worker(done));
    workers.push_back(Worker(removed));

    std::set<std::string> printed;
    for (size_t w = 0; w < workers.size(); ++w) {
        ASSERT_EQ(workers[w]->Wait(120), std::optional<int>(0)) << "worker " << w;
        if (w < Workers) {
            for (const std::string& id : Lines(workers[w]->Output())) EXPECT_TRUE(printed.insert(id).second) << id;
        }
    }
    EXPECT_EQ(printed.size(), size_t(Workers * Adds));

    const auto records = StoredRecords();
    std::set<std::string> expected(printed);
    expected.insert(seeded.begin(), seeded.begin() + 5);
    EXPECT_EQ(StoredIds(), expected);
    EXPECT_EQ(printed.size() + 5, expected.size()) << "a finished seed's identity was given out again";
    EXPECT_EQ(records.size(), expected.size()) << "no identity twice";
    // Deleted seeds free their identities for later adds: the seeds left
    // are told by their description.
    size_t seeds = 0;
    for (const auto& r : records) {
        const bool seed = r.Description == "seed";
        seeds += seed;
        EXPECT_EQ(r.IsCompleted(), seed) << TRemindFile::SectionOf(r);
    }
    EXPECT_EQ(seeds, 5u);
}

TEST_F(OlvoctlSharingTest, AChangeWaitsForAnotherToFinish) {
    Add("2026-12-08 08:00:00", {"Tea", "--daily", "09:00"});
    TLockOutcome outcome;
    auto lock = TFileLock::Acquire(DataFile(), CliLockHolder, std::chrono::milliseconds(0), outcome);
    ASSERT_TRUE(lock);
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(800));
        lock.reset();
    });
    const auto start = std::chrono::steady_clock::now();
    const TRunResult r = Run({"add", "Coffee", "--daily", "10:00"});
    release.join();
    EXPECT_EQ(r.Code, 0) << r.Err;
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(700));
    EXPECT_EQ(StoredRecords().size(), 2u);
}

TEST_F(OlvoctlSharingTest, ABusErrorFromAFileCutShortEndsWithAClearFailure) {
    // A file cut short under a read mapping raises SIGBUS; here the signal
    // reaches an olvoctl that waits for the lock, before it touches the file.
    Add("2026-12-08 08:00:00", {"Tea", "--daily", "09:00"});
    const std::string before = DataBytes();
    TLockOutcome outcome;
    auto lock = TFileLock::Acquire(DataFile(), CliLockHolder, std::chrono::milliseconds(0), outcome);
    ASSERT_TRUE(lock);
    TChildProcess child({testing_support::BinDir() + "/olvoctl", "add", "Coffee", "--daily", "10:00"}, Env(),
                        testing_support::TStderr::Capture);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // well into its wait
    child.Signal(SIGBUS);
    EXPECT_EQ(child.Wait(10), std::optional<int>(1));
    EXPECT_NE(child.ErrorOutput().find("changed size while it was being read; nothing was changed"), std::string::npos)
        << child.ErrorOutput();
    lock.reset();
    EXPECT_EQ(DataBytes(), before);
}

TEST_F(OlvoctlSharingTest, TheRunningProgramsLockKeepsChangesOutEvenWithoutInstanceProtection) {
    const std::string tea = Add("2026-12-08 08:00:00", {"Tea", "--daily", "09:00"});
    // Neither runtime folder is private: the program runs unprotected by the
    // single-instance lock, and only the data file's lock guards the file.
    const std::string shared = Dir / "shared";
    std::filesystem::create_directories(shared);
    chmod(shared.c_str(), 0777);
    std::filesystem::create_directories(Dir / "home/.cache/olvo-reminder");
    chmod((Dir / "home/.cache/olvo-reminder").c_str(), 0777);
    TEnv env = Env();
    env["XDG_RUNTIME_DIR"] = shared;
    env["XDG_CACHE_HOME"] = std::nullopt;
    TChildProcess program({testing_support::BinDir() + "/olvo-reminder"}, env, testing_support::TStderr::Capture);
    ASSERT_TRUE(testing_support::WaitUntil(10, [&] {
        return testing_support::ReadFileBytes(DataFile() + ".lock").starts_with(ProgramLockHolder);
    })) << "the program never took the data file's lock";

    const std::string bytes = DataBytes();
    const auto start = std::chrono::steady_clock::now();
    for (const std::vector<std::string>& args : {std::vector<std::string>{"add", "Coffee", "--daily", "10:00"},
                                                 std::vector<std::string>{"delete", tea}}) {
        const TRunResult r = Run(args, env);
        EXPECT_EQ(r.Code, 3) << args[0] << ": " << r.Err;
        EXPECT_NE(r.Err.find("Olvo Reminder is running"), std::string::npos) << r.Err;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4)) << "refused at once, not after a wait";
    EXPECT_EQ(DataBytes(), bytes);

    // A second copy of the program does not start on the same file either.
    TChildProcess second({testing_support::BinDir() + "/olvo-reminder"}, env, testing_support::TStderr::Capture);
    EXPECT_EQ(second.Wait(15), std::optional<int>(1));
    EXPECT_NE(second.ErrorOutput().find("in use"), std::string::npos) << second.ErrorOutput();

    program.Signal(SIGTERM);
    EXPECT_EQ(program.Wait(10), std::optional<int>(0));
    EXPECT_EQ(Run({"delete", tea}, env).Code, 0);
}

TEST_F(OlvoctlSharingTest, ReportsLeaveTheFileAndItsFolderUntouched) {
    Add("2026-12-08 08:00:00", {"Tea", "--daily", "09:00"});
    const std::string folder = Dir / "data/Olvo_Reminder";
    const std::string temp = Dir / "tmp";
    std::filesystem::create_directories(temp);
    chmod(DataFile().c_str(), 0400);
    chmod(folder.c_str(), 0500);
    struct stat before {};
    ASSERT_EQ(stat(DataFile().c_str(), &before), 0);
    auto entries = [](const std::string& path) {
        std::set<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path)) names.insert(e.path().filename());
        return names;
    };
    const auto folderBefore = entries(folder);
    const std::string bytes = DataBytes();

    const TEnv withTemp = {{"TMPDIR", temp}};
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"list"}, std::vector<std::string>{"list", "--completed", "--json"},
          std::vector<std::string>{"--now", "2026-12-09 10:00:00", "due"},
          std::vector<std::string>{"backup", Dir / "backup.dat"}}) {
        const TRunResult r = Run(args, withTemp);
        EXPECT_EQ(r.Code, 0) << args[0] << ": " << r.Err;
    }
    struct stat after {};
    ASSERT_EQ(stat(DataFile().c_str(), &after), 0);
    chmod(folder.c_str(), 0700);
    EXPECT_EQ(DataBytes(), bytes);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(entries(folder), folderBefore) << "no lock or temporary file beside the data file";
    EXPECT_TRUE(entries(temp).empty()) << "no temporary copy";
}

TEST_F(OlvoctlSharingTest, AFifoIsRefusedAtOnceAndStaysAFifo) {
    const std::string fifo = Dir / "fifo.dat";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--data", fifo, "list"},
                                                 std::vector<std::string>{"--data", fifo, "add", "Tea", "--daily", "09:00"}}) {
        const TRunResult r = Run(args);
        EXPECT_EQ(r.Code, 1) << args[2];
        EXPECT_NE(r.Err.find("not a regular file"), std::string::npos) << r.Err;
    }
    struct stat st {};
    ASSERT_EQ(lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(OlvoctlSharingTest, DeleteAndDoneActOnEveryEntryOfTheReminder) {
    const std::string tea = Add("2026-12-08 08:00:00", {"Tea", "--daily", "09:00"});
    std::string data = DataBytes();
    std::string lower = tea;
    lower[0] = 'r';
    const size_t at = data.find("[UNFINISHED]\n");
    ASSERT_NE(at, std::string::npos) << data;
    data.insert(at + 13, lower + "=Tea again\n");
    testing_support::WriteFileBytes(DataFile(), data);

    const TRunResult done = Run({"done", lower});
    EXPECT_EQ(done.Code, 0) << done.Err;
    for (const auto& r : StoredRecords()) EXPECT_TRUE(r.IsCompleted());

    const TRunResult removed = Run({"delete", tea});
    EXPECT_EQ(removed.Code, 0) << removed.Err;
    EXPECT_TRUE(StoredRecords().empty()) << DataBytes();
    EXPECT_EQ(Run({"delete", tea}).Code, 1) << "nothing left to delete";
}

}  // namespace

namespace {

TEST_F(OlvoctlTest, ADamagedReminderIsListedAsDamagedAndKeepsItsText) {
    const std::string tea = Add("2026-12-08 08:00:00", {"Tea", "--daily", "09:00"});
    std::string data = DataBytes();
    const size_t at = data.find("WAKETIME=09:00:00");
    ASSERT_NE(at, std::string::npos) << data;
    data.replace(at, 17, "WAKETIME=nine o'clock");
    testing_support::WriteFileBytes(DataFile(), data);

    const auto entry = EntryWithId(ListJson("2026-12-08 08:30:00"), tea);
    ASSERT_FALSE(entry.is_null());
    EXPECT_EQ(entry.at("unreadable"), nlohmann::json::array({"WAKETIME"}));
    EXPECT_EQ(entry.at("schedule"), "damaged: unreadable WAKETIME");
    EXPECT_TRUE(entry.at("next").is_null()) << "no moment is made up for it";

    // A change to another reminder leaves the text as it was.
    Add("2026-12-08 08:00:00", {"Coffee", "--daily", "10:00"});
    EXPECT_NE(DataBytes().find("WAKETIME=nine o'clock"), std::string::npos);
}

}  // namespace
