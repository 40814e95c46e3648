// The reminder store: the per-user data file and the reminders it holds.
// It owns every record for the whole run; other parts keep plain pointers.
//
// File layout: section CONFIG holds the settings; section UNFINISHED lists
// every reminder (finished ones too) as <section name>=<description>; each
// reminder has a section of its own, named "R" + its creation moment as
// YYYYMMDDhhmmss. Every reminder change is on disk, as one atomic file
// replacement, when the call returns. A reminder's section gets one more key,
// NEXTALERT, only while a postponement is pending
// (TRmRecordStruct::HasPostponement).
//
// The store never writes what it could not read: a moment whose text cannot
// be read loads as UnreadableMoment and its text stays in the file until the
// moment is set anew; lines and bytes it does not understand are written back
// as they were (platform/ini_file.h). Opened read-only it never writes.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/ini_file.h"
#include "store/rm_record.h"

inline constexpr const char* DataFileName = "ov_rmind_data.dat";
inline constexpr const char* ListSection = "UNFINISHED";
inline constexpr const char* ConfigSection = "CONFIG";
inline constexpr const char* BackupSection = "BACKUP";

// Whether freeing the store saves the configuration. The program does;
// tools that only change reminders keep the file's settings as they are.
enum class TConfigOnClose { Save, Keep };

// Whether opening the store reads every reminder into memory, or leaves them
// in the file for VisitRecords (a report that looks at each once).
enum class TRecordLoading { All, OnVisit };

// Raised when a new reminder can be given no identity of its own: every
// second from its creation moment to the end of year 9999 is taken.
class ENoFreeIdentity : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TRemindFile : public TIniFile {
public:
    // Loads the settings and the reminders; a missing file gives defaults and
    // no reminders, and nothing is created on disk until the first write.
    explicit TRemindFile(const std::string& fileName, TConfigOnClose onClose = TConfigOnClose::Save,
                         TIniAccess access = TIniAccess::ReadWrite, TRecordLoading loading = TRecordLoading::All);
    // Saves the configuration unless told to keep it (a failure cannot be
    // reported from here: call SaveConfig first where it must be).
    ~TRemindFile() override;

    bool Hide = false;
    bool AutoUpdate = true;
    bool CheckNews = true;
    int NewsId = -1;
    std::string Language = "English";

    const std::vector<std::unique_ptr<TRmRecordStruct>>& Records() const { return FRecords; }

    void LoadAll();
    // Each reminder the file lists, in list order, read as LoadAll reads it
    // into one record that the next one replaces: only as long as the call
    // lasts. For a store opened with TRecordLoading::OnVisit, whose
    // Records() stay empty; a large file then costs one record in memory.
    void VisitRecords(const std::function<void(const TRmRecordStruct&)>& visit) const;
    std::unique_ptr<TRmRecordStruct> ReadRecord(const std::string& listSection, const std::string& key) const;
    static std::string SectionOf(const TRmRecordStruct& record);
    // Whether the record's section name is that text exactly.
    static bool SectionNameIs(const TRmRecordStruct& record, std::string_view name);
    // Writes all keys of the record as one replacement of the file.
    void WriteRecord(const std::string& listSection, TRmRecordStruct& record);

    // Takes ownership and writes the record. When its section already names
    // another reminder (two created within the same second), its creation
    // moment moves forward a second at a time until the section is free
    // (ENoFreeIdentity past year 9999; the record is then not taken).
    // Answers the stored record. If the write fails the record is kept in
    // memory (and written with the next change) and the error is raised.
    TRmRecordStruct* AddRecord(std::unique_ptr<TRmRecordStruct> record);
    void UpdateRecord(TRmRecordStruct* record);
    // Removes the reminder's section and list entry and frees the record.
    void DeleteRecord(TRmRecordStruct* record);
    bool Contains(const TRmRecordStruct* record) const;
    // The stored record whose section is that name (any case), or null.
    TRmRecordStruct* FindBySection(std::string_view section) const;
    // Every stored record of that identity: a hand-edited file can list one
    // reminder twice (the same name in another case).
    std::vector<TRmRecordStruct*> FindAllBySection(std::string_view section) const;

    void SaveConfig();

    // Copies every reminder (the data file without its settings, plus a
    // BACKUP section with today's date) to the target, replacing it.
    // Raises EIniFileError when the target cannot be written.
    void Backup(const std::string& target);
    // Adds every reminder of a backup (or data) file whose identity the data
    // file does not hold yet, in one write; existing reminders are never
    // changed. A missing or unreadable source adds nothing. The source is
    // only read.
    void Restore(const std::string& source);

protected:
    // Refuses a replacement that would drop reminders someone else added to
    // the file behind this store's back.
    void CheckReplacement(const TIniDocument& onDisk) override;

private:
    // `cursor` (see TIniDocument::ForEachKey) when many are read in list order.
    static std::unique_ptr<TRmRecordStruct> ReadRecordFrom(const TIniDocument& ini, std::string_view key,
                                                           std::string_view rawDescription,
                                                           size_t* cursor = nullptr);
    // The same into a record of the caller's, every field replaced.
    static void ReadRecordInto(TRmRecordStruct& r, const TIniDocument& ini, std::string_view key,
                               std::string_view rawDescription, size_t* cursor);
    void LoadSettings();
    void WriteMoment(const std::string& section, const std::string& oldSection, const char* key, TDateTime value,
                     std::string (*text)(TDateTime));
    void ForgetListKey(const std::string& key);
    bool SectionTaken(const std::string& section, const TRmRecordStruct* except) const;

    static const char* SectionNameInto(const TRmRecordStruct& record, char (&name)[15]);
    using TBySection = std::unordered_multimap<std::string, TRmRecordStruct*, TAsciiCaseHash, TAsciiCaseEqual>;
    // Built on first use: a report that only lists never needs it.
    const TBySection& BySection() const;
    void IndexRecord(TRmRecordStruct* record);
    void UnindexRecord(TRmRecordStruct* record);

    TConfigOnClose FOnClose;
    std::vector<std::unique_ptr<TRmRecordStruct>> FRecords;
    // Records by section name, so that adding many reminders (a restore)
    // does not compare every new identity with every stored one. A record's
    // creation moment is its identity and does not change once stored.
    mutable TBySection FBySection;
    mutable bool FIndexed = false;
    // Reminders loaded from a section that is not the one their creation
    // moment names (a damaged or hand-edited file). The old section is
    // removed with the reminder's next write, so it cannot come back as a
    // duplicate on the next start.
    std::unordered_map<const TRmRecordStruct*, std::string> FLoadedSections;
    // List entries this store removed, so that their absence is not taken
    // for reminders someone else added.
    std::unordered_set<std::string, TAsciiCaseHash, TAsciiCaseEqual> FRemovedKeys;
};
