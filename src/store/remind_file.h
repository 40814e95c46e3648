// The reminder store: the per-user data file and the reminders it holds.
// It owns every record for the whole run; other parts keep plain pointers.
//
// File layout: section CONFIG holds the settings; section UNFINISHED lists
// every reminder (finished ones too) as <section name>=<description>; each
// reminder has a section of its own, named "R" + its creation moment as
// YYYYMMDDhhmmss. Every reminder change is on disk, as one atomic file
// replacement, when the call returns.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
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

class TRemindFile : public TIniFile {
public:
    // Loads the settings and the reminders; a missing file gives defaults and
    // no reminders, and nothing is created on disk until the first write.
    explicit TRemindFile(const std::string& fileName, TConfigOnClose onClose = TConfigOnClose::Save);
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
    std::unique_ptr<TRmRecordStruct> ReadRecord(const std::string& listSection, const std::string& key) const;
    static std::string SectionOf(const TRmRecordStruct& record);
    // Writes all keys of the record as one replacement of the file.
    void WriteRecord(const std::string& listSection, TRmRecordStruct& record);

    // Takes ownership and writes the record. When its section already names
    // another reminder (two created within the same second), its creation
    // moment moves forward a second at a time until the section is free.
    // Answers the stored record. If the write fails the record is kept in
    // memory (and written with the next change) and the error is raised.
    TRmRecordStruct* AddRecord(std::unique_ptr<TRmRecordStruct> record);
    void UpdateRecord(TRmRecordStruct* record);
    // Removes the reminder's section and list entry and frees the record.
    void DeleteRecord(TRmRecordStruct* record);
    bool Contains(const TRmRecordStruct* record) const;
    // The stored record whose section is that name, or null.
    TRmRecordStruct* FindBySection(const std::string& section) const;

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

private:
    static std::unique_ptr<TRmRecordStruct> ReadRecordFrom(const TIniFile& ini, const std::string& listSection,
                                                           const std::string& key);
    bool SectionTaken(const std::string& section, const TRmRecordStruct* except) const;
    void ForgetLoadedSection(TRmRecordStruct* record);

    void IndexRecord(TRmRecordStruct* record);
    void UnindexRecord(TRmRecordStruct* record);

    TConfigOnClose FOnClose;
    std::vector<std::unique_ptr<TRmRecordStruct>> FRecords;
    // Records by section name, so that adding many reminders (a restore)
    // does not compare every new identity with every stored one. A record's
    // creation moment is its identity and does not change once stored.
    std::unordered_multimap<std::string, TRmRecordStruct*> FBySection;
    // Reminders loaded from a section that is not the one their creation
    // moment names (a damaged or hand-edited file). The old section is
    // removed with the reminder's next write, so it cannot come back as a
    // duplicate on the next start.
    std::unordered_map<const TRmRecordStruct*, std::string> FLoadedSections;
};
