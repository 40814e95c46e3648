// Where olvoctl finds the data file and how it opens it. Commands that only
// read work on a private copy, so nothing they do (the store's own writes
// included) can reach the data file. Commands that change it open the file
// itself, and only while the program is not running.
#pragma once

#include <memory>
#include <optional>
#include <string>

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

// A read-only view: the store loaded from a temporary copy of the data file.
class TStoreSnapshot {
public:
    explicit TStoreSnapshot(const TDataLocation& location);
    ~TStoreSnapshot();
    TStoreSnapshot(const TStoreSnapshot&) = delete;
    TStoreSnapshot& operator=(const TStoreSnapshot&) = delete;

    TRemindFile& Store() { return *FStore; }

private:
    std::string FFolder;
    std::unique_ptr<TRemindFile> FStore;
};

// The store on the data file itself, for a change. Every change reaches the
// file when the store's call returns. Closing it leaves the settings section
// alone: writing default settings (English among them) into a file that had
// none would override the language the program picks on its first start.
std::unique_ptr<TRemindFile> OpenStoreForChange(const TDataLocation& location, bool createFolder);

// The reminder whose ID (section name, any case) is given; raises the
// "no reminder" failure when there is none.
TRmRecordStruct& FindReminder(TRemindFile& store, const std::string& id);

// True when both paths name one file (or, where it does not exist yet, the
// same place).
bool SameFile(const std::string& a, const std::string& b);
