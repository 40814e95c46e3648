// A process that keeps changing reminders is killed at random moments; after
// every kill the data file must parse and hold each change whose call had
// returned.
#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

#include "store_fixture.h"

namespace {

constexpr int ReminderCount = 20;

TDateTime CreatedAt(int index) { return EncodeDateTime(2026, 1, 1, 0, 0, index); }

// Child: round n rewrites reminder n % ReminderCount with revision n (adding
// it on its first turn), then reports n through the pipe.
[[noreturn]] void WriterLoop(const std::string& path, int startRevision, int reportFd) {
    TRemindFile store(path);
    std::map<std::string, TRmRecordStruct*> bySection;
    for (const auto& r : store.Records()) bySection[TRemindFile::SectionOf(*r)] = r.get();
    for (int revision = startRevision;; ++revision) {
        int index = revision % ReminderCount;
        TRmRecordStruct probe;
        probe.CreateDateTime = CreatedAt(index);
        auto it = bySection.find(TRemindFile::SectionOf(probe));
        if (it == bySection.end()) {
            auto r = std::make_unique<TRmRecordStruct>();
            r->CreateDateTime = CreatedAt(index);
            r->Description = "rev " + std::to_string(revision);
            r->Period = PeriodDaily;
            bySection[TRemindFile::SectionOf(*r)] = store.AddRecord(std::move(r));
        } else {
            it->second->Description = "rev " + std::to_string(revision);
            it->second->LastTime = revision;
            store.UpdateRecord(it->second);
        }
        if (write(reportFd, &revision, sizeof revision) != sizeof revision) _exit(2);
    }
}

int RevisionOf(const TRmRecordStruct& r) { return std::stoi(r.Description.substr(4)); }

}  // namespace

TEST_F(StoreTest, KilledWriterNeverLeavesADamagedFileOrLosesAReturnedChange) {
    std::mt19937 rng(4242);
    std::map<int, int> lastAcked;  // reminder index -> revision whose update returned
    int nextRevision = 0;
    for (int round = 0; round < 40; ++round) {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(fds[0]);
            WriterLoop(DataPath(), nextRevision, fds[1]);
        }
        close(fds[1]);
        usleep(1000 + rng() % 30000);
        kill(pid, SIGKILL);
        int revision = 0;
        while (read(fds[0], &revision, sizeof revision) == sizeof revision) {
            lastAcked[revision % ReminderCount] = revision;
            nextRevision = revision + 1;
        }
        close(fds[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        // The killed round may have finished one more change than it reported.
        nextRevision += 1;

        auto store = Open();
        std::map<int, int> onDisk;
        for (const auto& r : store->Records()) {
            ASSERT_EQ(r->Description.rfind("rev ", 0), 0u) << "round " << round;
            ASSERT_EQ(r->Period, PeriodDaily) << "half-written reminder in round " << round;
            onDisk[RevisionOf(*r) % ReminderCount] = RevisionOf(*r);
        }
        for (auto [index, revision] : lastAcked) {
            ASSERT_TRUE(onDisk.count(index)) << "reminder " << index << " lost in round " << round;
            EXPECT_GE(onDisk[index], revision) << "reminder " << index << " in round " << round;
        }
    }
    EXPECT_GT(nextRevision, 40) << "the writer never got to write";
}
