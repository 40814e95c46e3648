// Data file location, the program's lock, and the two ways of opening the
// store.
#include "cli/cli_data.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "app/instance_wakeup.h"
#include "cli/cli_request.h"
#include "common/public_funs.h"
#include "platform/atomic_file.h"
#include "platform/folders.h"
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

// A folder of our own for the copy; mkdtemp makes it private (0700), as the
// reminders in it are the user's.
std::string MakePrivateFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/olvoctl-XXXXXX";
    if (!mkdtemp(pattern.data())) throw Failure("cannot create a temporary folder in " + pattern);
    return pattern;
}

void RefuseUnreadable(const TRemindFile& store, const std::string& path) {
    if (store.ReadFailed()) throw Failure("cannot read the data file " + path);
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
    if (location.IsProgramFile && IsInstanceRunning(InstanceMutexName))
        throw TCliError(ExitLocked,
                        "Olvo Reminder is running and owns its data file; nothing was changed. "
                        "Make the change in the program, or quit it and try again.");
}

TStoreSnapshot::TStoreSnapshot(const TDataLocation& location) {
    std::error_code error;
    const bool exists = fs::exists(location.Path, error);
    if (!exists && location.Explicit) throw Failure("no data file at " + location.Path);
    if (exists && !FileExists(location.Path)) throw Failure("the data file " + location.Path + " is a folder");
    FFolder = MakePrivateFolder();
    const std::string copy = FFolder + "/" + DataFileName;
    std::string bytes;
    if (exists && !ReadWholeFile(location.Path, bytes)) throw Failure("cannot read the data file " + location.Path);
    if (exists && !WriteFileAtomic(copy, bytes)) throw Failure("cannot copy the data file into " + FFolder);
    FStore = std::make_unique<TRemindFile>(copy);
}

TStoreSnapshot::~TStoreSnapshot() {
    FStore.reset();  // its closing write goes to the copy, before the copy goes
    std::error_code error;
    if (!FFolder.empty()) fs::remove_all(FFolder, error);
}

std::unique_ptr<TRemindFile> OpenStoreForChange(const TDataLocation& location, bool createFolder) {
    if (createFolder && !location.Explicit) ForceDirectories(AppDataPath + DataFolderName);
    std::error_code error;
    if (fs::is_directory(location.Path, error)) throw Failure("the data file " + location.Path + " is a folder");
    auto store = std::make_unique<TRemindFile>(location.Path, TConfigOnClose::Keep);
    RefuseUnreadable(*store, location.Path);
    return store;
}

TRmRecordStruct& FindReminder(TRemindFile& store, const std::string& id) {
    if (TRmRecordStruct* record = store.FindBySection(Upper(id))) return *record;
    throw Failure("no reminder with ID '" + id + "' (olvoctl list --completed shows the finished ones)");
}
