// Data file location, the data file's lock, and the two ways of opening the
// store.
#include "cli/cli_data.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "app/data_file_lock.h"
#include "app/instance_wakeup.h"
#include "cli/cli_request.h"
#include "common/public_funs.h"
#include "platform/folders.h"
#include "platform/large_heap.h"
#include "platform/single_instance.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* DataFolderName = "Olvo_Reminder/";

std::string ProgramDataFile() {
    if (AppDataPath.empty())
        throw Failure("cannot tell where the data file lives (HOME and XDG_DATA_HOME are not set); use --data FILE");
    return AppDataPath + DataFolderName + DataFileName;
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

void RefuseUnreadable(const TRemindFile& store) {
    if (store.ReadFailed()) throw Failure("cannot use the data file: " + store.ReadError());
}

const std::string ProgramRunsText =
    "Olvo Reminder is running and owns its data file; nothing was changed. "
    "Make the change in the program, or quit it and try again.";

std::unique_ptr<TFileLock> LockForChange(const TDataLocation& location) {
    TLockOutcome outcome;
    std::optional<TLockHolder> holder;
    std::string error;
    auto lock = TFileLock::Acquire(location.Path, CliLockHolder, DataLockWait, outcome, &holder, &error,
                                   IsRunningProgram);
    if (lock) return lock;
    // Where no lock file can be made, no data file can be written either.
    if (outcome == TLockOutcome::Failed) throw Failure("Unable to write to " + location.Path + ": " + error);
    if (holder && IsRunningProgram(*holder)) throw TCliError(ExitLocked, ProgramRunsText);
    const std::string who =
        holder ? holder->Name + " (process " + std::to_string(holder->Pid) + ")" : std::string("another program");
    throw TCliError(ExitLocked, "the data file " + location.Path + " is in use by " + who + " and did not come free within " +
                                    std::to_string(DataLockWait.count() / 1000) + " seconds; nothing was changed");
}

}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    if (fs::exists(a, error) && fs::exists(b, error)) return fs::equivalent(a, b, error) && !error;
    const fs::path left = fs::weakly_canonical(fs::absolute(a, error), error);
    const fs::path right = fs::weakly_canonical(fs::absolute(b, error), error);
    return left == right;
}

TDataLocation LocateDataFile(const std::optional<std::string>& dataOption) {
    if (!dataOption) return {ProgramDataFile(), true, false};
    if (dataOption->empty()) throw UsageError("--data needs a FILE");
    TDataLocation location{*dataOption, false, true};
    // Without a known home there is no program file to compare with, and so
    // no program that could be writing this one.
    if (!AppDataPath.empty()) location.IsProgramFile = SameFile(*dataOption, ProgramDataFile());
    return location;
}

void RefuseWhileProgramRuns(const TDataLocation& location) {
    // The quick answer; the data file's lock catches a program that runs on
    // this file under another user runtime folder too.
    if (location.IsProgramFile && IsInstanceRunning(InstanceMutexName)) throw TCliError(ExitLocked, ProgramRunsText);
}

TStoreSnapshot::TStoreSnapshot(const TDataLocation& location, TRecordLoading loading) {
    std::error_code error;
    const bool exists = fs::exists(location.Path, error);
    if (!exists && location.Explicit) throw Failure("no data file at " + location.Path);
    if (exists && fs::is_directory(location.Path, error)) throw Failure("the data file " + location.Path + " is a folder");
    // A report over a large file builds everything at once and then ends:
    // up to about three times the file's size in records, index and report.
    if (exists) {
        const auto size = fs::file_size(location.Path, error);
        if (!error) {
            FFileBytes = static_cast<size_t>(size);
            PrepareLargeHeap(FFileBytes * 3);
        }
    }
    FStore = std::make_unique<TRemindFile>(location.Path, TConfigOnClose::Keep, TIniAccess::ReadOnly, loading);
    RefuseUnreadable(*FStore);
}

TStoreSnapshot::~TStoreSnapshot() {
    // Held from a static pointer, so that a leak checker sees it reachable.
    static auto* kept = new std::vector<std::unique_ptr<TRemindFile>>();
    kept->push_back(std::move(FStore));
}

TStoreForChange::TStoreForChange(const TDataLocation& location, bool createFolder) {
    if (createFolder && !location.Explicit) ForceDirectories(AppDataPath + DataFolderName);
    std::error_code error;
    if (fs::is_directory(location.Path, error)) throw Failure("the data file " + location.Path + " is a folder");
    // Taken before the file is read: the change then starts from the last
    // writer's file, not from one read before it wrote.
    FLock = LockForChange(location);
    FStore = std::make_unique<TRemindFile>(location.Path, TConfigOnClose::Keep);
    RefuseUnreadable(*FStore);
}

TStoreForChange::~TStoreForChange() {
    FStore.reset();  // its last write lands while the lock is still held
    FLock.reset();
}

std::vector<TRmRecordStruct*> FindReminder(TRemindFile& store, const std::string& id) {
    std::vector<TRmRecordStruct*> records = store.FindAllBySection(Upper(id));
    if (records.empty())
        throw Failure("no reminder with ID '" + id + "' (olvoctl list --completed shows the finished ones)");
    return records;
}
