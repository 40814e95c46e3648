#include "store/remind_file.h"

#include <algorithm>
#include <cstdio>

#include "platform/atomic_file.h"
#include "platform/folders.h"
#include "platform/locale_format.h"
#include "store/text_escape.h"

namespace {

constexpr const char* KeyPeriod = "PERIOD";
constexpr const char* KeyCreate = "CREATEDATETIME";
constexpr const char* KeyLast = "LASTTIME";
constexpr const char* KeyWake = "WAKETIME";
constexpr const char* KeyVoice = "VOICE";
constexpr const char* KeyEnd = "ENDTIME";
constexpr const char* KeyRepeat = "REPEAT_DATA";

TDateTime ReadDateTimeValue(const TIniFile& ini, const std::string& section, const char* key) {
    TDateTime value = 0;
    std::string text = ini.ReadString(section, key, "");
    return !text.empty() && TryStrToDateTime(text, value) ? value : 0;
}

TDateTime ReadTimeValue(const TIniFile& ini, const std::string& section, const char* key) {
    TDateTime value = 0;
    std::string text = ini.ReadString(section, key, "");
    return !text.empty() && TryStrToTime(text, value) ? value : 0;
}

}  // namespace

TRemindFile::TRemindFile(const std::string& fileName, TConfigOnClose onClose)
    : TIniFile(fileName), FOnClose(onClose) {
    LoadAll();
}

TRemindFile::~TRemindFile() {
    try {
        if (FOnClose == TConfigOnClose::Save) SaveConfig();
    } catch (const EIniFileError&) {
        // Reported by the caller's own SaveConfig where it matters.
    }
    FRecords.clear();
}

void TRemindFile::LoadAll() {
    Hide = ReadBool(ConfigSection, "HIDE", false);
    AutoUpdate = ReadBool(ConfigSection, "AUTEUPDATE", true);
    CheckNews = ReadBool(ConfigSection, "CHECKNEWS", true);
    NewsId = ReadInteger(ConfigSection, "NEWSID", -1);
    Language = ReadString(ConfigSection, "Language", "English");

    FRecords.clear();
    FBySection.clear();
    FLoadedSections.clear();
    for (const std::string& key : ReadSection(ListSection)) {
        auto record = ReadRecord(ListSection, key);
        std::string section = SectionOf(*record);
        if (section != key) FLoadedSections[record.get()] = key;
        FBySection.emplace(std::move(section), record.get());
        FRecords.push_back(std::move(record));
    }
}

std::unique_ptr<TRmRecordStruct> TRemindFile::ReadRecord(const std::string& listSection, const std::string& key) const {
    return ReadRecordFrom(*this, listSection, key);
}

std::unique_ptr<TRmRecordStruct> TRemindFile::ReadRecordFrom(const TIniFile& ini, const std::string& listSection,
                                                             const std::string& key) {
    auto r = std::make_unique<TRmRecordStruct>();
    r->Description = DecodeIniValue(ini.ReadString(listSection, key, ""));
    r->CreateDateTime = ReadDateTimeValue(ini, key, KeyCreate);
    // Stored in a byte as the file's integer would be: -1 becomes 255.
    r->Period = static_cast<uint8_t>(ini.ReadInteger(key, KeyPeriod, -1));
    r->WakeTime = ReadTimeValue(ini, key, KeyWake);
    r->EndTime = ReadDateTimeValue(ini, key, KeyEnd);
    r->LastTime = ReadDateTimeValue(ini, key, KeyLast);
    r->Voice = ini.ReadString(key, KeyVoice, "");
    r->RepeatData = RepeatDataFromHex(ini.ReadString(key, KeyRepeat, ""));
    return r;
}

std::string TRemindFile::SectionOf(const TRmRecordStruct& record) {
    TDateParts d;
    TTimeParts t;
    DecodeDateTime(record.CreateDateTime, d, t);
    // "R" + YYYYMMDDhhmmss; built by hand, as loading a large file asks for
    // every reminder's name.
    char name[15] = {'R'};
    auto put = [&name](int at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10) name[at + i] = static_cast<char>('0' + value % 10);
    };
    put(1, d.Year, 4);
    put(5, d.Month, 2);
    put(7, d.Day, 2);
    put(9, t.Hour, 2);
    put(11, t.Minute, 2);
    put(13, t.Second, 2);
    return std::string(name, sizeof name);
}

void TRemindFile::WriteRecord(const std::string& listSection, TRmRecordStruct& r) {
    const std::string section = SectionOf(r);
    Update([&] {
        auto old = FLoadedSections.find(&r);
        if (old != FLoadedSections.end()) {
            if (old->second != section && !FindBySection(old->second)) {
                DeleteKey(listSection, old->second);
                EraseSection(old->second);
            }
            FLoadedSections.erase(old);
        }
        WriteString(listSection, section, EncodeIniValue(r.Description));
        WriteString(section, KeyPeriod, std::to_string(r.Period));
        WriteString(section, KeyCreate, DateTimeToStr(r.CreateDateTime));
        WriteString(section, KeyLast, DateTimeToStr(r.LastTime));
        WriteString(section, KeyWake, TimeToStr(r.WakeTime));
        WriteString(section, KeyVoice, r.Voice);
        WriteString(section, KeyEnd, r.EndTime != 0 ? DateTimeToStr(r.EndTime) : "");
        WriteString(section, KeyRepeat, RepeatDataToHex(r.RepeatData));
    });
}

bool TRemindFile::Contains(const TRmRecordStruct* record) const {
    return std::any_of(FRecords.begin(), FRecords.end(), [&](const auto& r) { return r.get() == record; });
}

void TRemindFile::IndexRecord(TRmRecordStruct* record) { FBySection.emplace(SectionOf(*record), record); }

void TRemindFile::UnindexRecord(TRmRecordStruct* record) {
    auto [first, last] = FBySection.equal_range(SectionOf(*record));
    for (auto it = first; it != last; ++it) {
        if (it->second == record) {
            FBySection.erase(it);
            return;
        }
    }
}

TRmRecordStruct* TRemindFile::FindBySection(const std::string& section) const {
    auto it = FBySection.find(section);
    return it == FBySection.end() ? nullptr : it->second;
}

bool TRemindFile::SectionTaken(const std::string& section, const TRmRecordStruct* except) const {
    auto [first, last] = FBySection.equal_range(section);
    for (auto it = first; it != last; ++it)
        if (it->second != except) return true;
    return SectionExists(section);
}

TRmRecordStruct* TRemindFile::AddRecord(std::unique_ptr<TRmRecordStruct> record) {
    if (!record) return nullptr;
    if (Contains(record.get())) {
        // Already ours: the caller's pointer must not own it twice.
        return record.release();
    }
    while (SectionTaken(SectionOf(*record), record.get())) record->CreateDateTime += OneSecond;
    TRmRecordStruct* stored = record.get();
    IndexRecord(stored);
    FRecords.push_back(std::move(record));
    WriteRecord(ListSection, *stored);
    return stored;
}

void TRemindFile::UpdateRecord(TRmRecordStruct* record) {
    if (record && Contains(record)) WriteRecord(ListSection, *record);
}

void TRemindFile::DeleteRecord(TRmRecordStruct* record) {
    auto it = std::find_if(FRecords.begin(), FRecords.end(), [&](const auto& r) { return r.get() == record; });
    if (it == FRecords.end()) return;
    const std::string section = SectionOf(*record);
    UnindexRecord(record);
    std::unique_ptr<TRmRecordStruct> owned = std::move(*it);
    FRecords.erase(it);
    auto loaded = FLoadedSections.find(record);
    std::string oldSection = loaded != FLoadedSections.end() ? loaded->second : "";
    FLoadedSections.erase(record);
    Update([&] {
        if (!oldSection.empty() && !FindBySection(oldSection)) {
            DeleteKey(ListSection, oldSection);
            EraseSection(oldSection);
        }
        // Another reminder may carry the same identity (a file edited by
        // hand); its entry stays.
        if (!FindBySection(section)) {
            EraseSection(section);
            DeleteKey(ListSection, section);
        }
    });
}

void TRemindFile::SaveConfig() {
    Update([&] {
        WriteBool(ConfigSection, "HIDE", Hide);
        WriteBool(ConfigSection, "AUTEUPDATE", AutoUpdate);
        WriteBool(ConfigSection, "CHECKNEWS", CheckNews);
        WriteInteger(ConfigSection, "NEWSID", NewsId);
        WriteString(ConfigSection, "Language", Language);
    });
    UpdateFile();
}

void TRemindFile::Backup(const std::string& target) {
    TIniDocument copy = Document();
    copy.EraseSection(ConfigSection);
    copy.EraseSection(BackupSection);  // so the stamp is the last section
    copy.Write(BackupSection, "BACKTIME", DateToStr(Date()));
    std::string bytes = copy.Serialize();
    if (Encoding() != TTextEncoding::Utf8) bytes = EncodeText(bytes, Encoding());
    if (!WriteFileAtomic(target, bytes)) throw EIniFileError("Unable to write to " + target);
}

void TRemindFile::Restore(const std::string& source) {
    if (!FileExists(source)) return;
    const TIniFile backup(source);  // read only: nothing is ever written to it
    if (backup.ReadFailed()) return;
    std::vector<std::unique_ptr<TRmRecordStruct>> incoming;
    for (const std::string& key : backup.ReadSection(ListSection))
        incoming.push_back(ReadRecordFrom(backup, ListSection, key));
    // All additions reach the data file as one replacement.
    Update([&] {
        for (auto& r : incoming)
            if (!SectionExists(SectionOf(*r))) AddRecord(std::move(r));
    });
}
