// Where olvoctl finds the data file and how it opens it. Commands that only
// read open the store read-only: nothing they do (the store's own writes
// included) reaches the disk. Commands that change it take the data file's
// lock first and hold it until the change is on disk, so concurrent changes
// queue up instead of replacing one another; the running program holds that
// lock for its whole run, which keeps every change out while it runs.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_lock.h"
#include "store/remind_file.h"

struct TDataLocation {
    std::string Path;
    // The file the program itself uses (the default, or --data naming it):
    // the program's single-instance lock guards it.
    bool IsProgramFile = true;
    // Named with --data: a missing file is then an error for reading.
    bool Explicit = false;
};

// The program's own data file (AppDataPath must be set up), or the --data
// file when one is given.
TDataLocation LocateDataFile(const std::optional<std::string>& dataOption);

// Raises the exit-3 error while the program runs and owns the file: its
// store holds the whole file in memory and would overwrite our change with
// its next write.
void RefuseWhileProgramRuns(const TDataLocation& location);

// A read-only view of the data file. Closing it would write nothing, and
// olvoctl ends right after its one command: the store is left for the end
// of the process to take back in one go, as freeing ten thousand records
// one by one costs about as much as listing them.
class TStoreSnapshot {
public:
    // OnVisit: the reminders stay in the file for the store's VisitRecords.
    explicit TStoreSnapshot(const TDataLocation& location, TRecordLoading loading = TRecordLoading::All);
    ~TStoreSnapshot();
    TStoreSnapshot(const TStoreSnapshot&) = delete;
    TStoreSnapshot& operator=(const TStoreSnapshot&) = delete;

    TRemindFile& Store() { return *FStore; }
    // The data file's size when it was opened (0 for none).
    size_t FileBytes() const { return FFileBytes; }

private:
    std::unique_ptr<TRemindFile> FStore;
    size_t FFileBytes = 0;
};

// The store on the data file itself, for a change, under the file's lock.
// Every change reaches the file when the store's call returns. Closing it
// leaves the settings section alone: writing default settings (English among
// them) into a file that had none would override the language the program
// picks on its first start. The lock goes when the store has closed.
class TStoreForChange {
public:
    TStoreForChange(const TDataLocation& location, bool createFolder);
    ~TStoreForChange();

    TRemindFile& Store() { return *FStore; }

private:
    std::unique_ptr<TFileLock> FLock;
    std::unique_ptr<TRemindFile> FStore;
};

// Every list entry of the reminder whose ID (section name, any case) is
// given; raises the "no reminder" failure when there is none.
std::vector<TRmRecordStruct*> FindReminder(TRemindFile& store, const std::string& id);

// True when both paths name one file (or, where it does not exist yet, the
// same place).
bool SameFile(const std::string& a, const std::string& b);
