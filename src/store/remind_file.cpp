#include "store/remind_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

#include "platform/ascii_word.h"
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
// A pending postponement; written only while there is one, so files without
// postponements look as they always have and older readers skip the key.
constexpr const char* KeyPostponement = "NEXTALERT";

// An empty or missing value is 0; text that reads under no format is kept
// apart from 0 (see UnreadableMoment).
TDateTime DateTimeValue(std::string_view text, const TFormatSettings& settings) {
    TDateTime value = 0;
    if (text.empty()) return 0;
    return TryStrToDateTime(text, value, settings) ? value : UnreadableMoment;
}

TDateTime TimeValue(std::string_view text, const TFormatSettings& settings) {
    TDateTime value = 0;
    if (text.empty()) return 0;
    return TryStrToTime(text, value, settings) ? value : UnreadableMoment;
}

// The creation moment a section name "R" + YYYYMMDDhhmmss stands for.
// Loading asks this of every reminder: the fourteen digits are checked a
// word at a time and the moment composed as EncodeDateTime composes it.
std::optional<TDateTime> MomentOfSectionName(std::string_view name) {
    if (name.size() != 15 || (name[0] != 'R' && name[0] != 'r')) return std::nullopt;
    const char* d = name.data() + 1;
    // Every one of the 14 bytes a digit: no byte below '0' or above '9'.
    uint64_t a, b;
    std::memcpy(&a, d, 8);
    std::memcpy(&b, d + 6, 8);
    constexpr uint64_t Ones = 0x0101010101010101ull, Highs = 0x8080808080808080ull;
    auto allDigits = [&](uint64_t w) {
        return (((w - Ones * '0') | (w + Ones * (0x7F - '9'))) & Highs) == 0 && (w & Highs) == 0;
    };
    if (!allDigits(a) || !allDigits(b)) return std::nullopt;
    auto two = [d](int at) { return (d[at] - '0') * 10 + (d[at + 1] - '0'); };
    const int year = two(0) * 100 + two(2), month = two(4), day = two(6);
    const int hour = two(8), minute = two(10), second = two(12);
    if (!IsValidDate(year, month, day) || hour > 23 || minute > 59 || second > 59) return std::nullopt;
    // EncodeDate + EncodeTime, without their checks (done above).
    return EncodeDate(year, month, day) + (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + 0) / MSecsPerDay;
}

// A reminder section's keys as WriteRecord writes them, each at the place
// KeySlot gives it (the postponement, written only while one is pending,
// comes last).
constexpr size_t KeyCount = 8;
constexpr std::string_view WrittenLayout[KeyCount] = {KeyPeriod, KeyCreate, KeyLast, KeyWake,
                                                       KeyVoice,  KeyEnd,    KeyRepeat, KeyPostponement};

// Where a reminder section's key goes among the values ReadRecordFrom
// collects; -1 for keys it does not know. Told apart by length first: every
// reminder's keys pass through here at load.
int KeySlot(std::string_view name) {
    auto is = [&](std::string_view key) { return name == key || SameTextAscii(name, key); };
    switch (name.size()) {
        case 6: return is(KeyPeriod) ? 0 : -1;
        case 14: return is(KeyCreate) ? 1 : -1;
        case 8: return is(KeyLast) ? 2 : is(KeyWake) ? 3 : -1;
        case 5: return is(KeyVoice) ? 4 : -1;
        case 7: return is(KeyEnd) ? 5 : -1;
        case 11: return is(KeyRepeat) ? 6 : -1;
        case 9: return is(KeyPostponement) ? 7 : -1;
        default: return -1;
    }
}

// The last moment whose section name still has a four-digit year.
constexpr TDateTime LastIdentityMoment = 2958465.0 + 86399.0 / 86400.0;  // 9999-12-31 23:59:59

std::string DateTimeText(TDateTime value) { return DateTimeToStr(value); }
std::string EndTimeText(TDateTime value) { return value != 0 ? DateTimeToStr(value) : ""; }
std::string TimeText(TDateTime value) { return TimeToStr(value); }

}  // namespace

TRemindFile::TRemindFile(const std::string& fileName, TConfigOnClose onClose, TIniAccess access,
                         TRecordLoading loading)
    : TIniFile(fileName, access), FOnClose(onClose) {
    if (loading == TRecordLoading::All)
        LoadAll();
    else
        LoadSettings();
}

TRemindFile::~TRemindFile() {
    try {
        if (FOnClose == TConfigOnClose::Save) SaveConfig();
    } catch (const EIniFileError&) {
        // Reported by the caller's own SaveConfig where it matters.
    }
    FRecords.clear();
}

void TRemindFile::LoadSettings() {
    Hide = ReadBool(ConfigSection, "HIDE", false);
    AutoUpdate = ReadBool(ConfigSection, "AUTEUPDATE", true);
    CheckNews = ReadBool(ConfigSection, "CHECKNEWS", true);
    NewsId = ReadInteger(ConfigSection, "NEWSID", -1);
    Language = ReadString(ConfigSection, "Language", "English");
}

void TRemindFile::LoadAll() {
    LoadSettings();
    FRecords.clear();
    FBySection.clear();
    FIndexed = false;
    FLoadedSections.clear();
    const TIniDocument& document = Document();
    // The reminders' sections usually follow one another as the list names
    // them: each lookup starts where the last one ended.
    size_t cursor = 0;
    // Where a reminder came from matters only to its next write, which a
    // read-only store never makes.
    const bool keepSections = !IsReadOnly();
    document.ForEachKey(ListSection, [&](std::string_view key, std::string_view description) {
        auto record = ReadRecordFrom(document, key, description, &cursor);
        if (keepSections && !SectionNameIs(*record, key)) FLoadedSections.emplace(record.get(), std::string(key));
        FRecords.push_back(std::move(record));
    });
}

void TRemindFile::VisitRecords(const std::function<void(const TRmRecordStruct&)>& visit) const {
    const TIniDocument& document = Document();
    TRmRecordStruct record;
    size_t cursor = 0;
    document.ForEachKey(ListSection, [&](std::string_view key, std::string_view description) {
        ReadRecordInto(record, document, key, description, &cursor);
        visit(record);
    });
}

std::unique_ptr<TRmRecordStruct> TRemindFile::ReadRecord(const std::string& listSection, const std::string& key) const {
    auto description = Document().FindRaw(listSection, key);
    return ReadRecordFrom(Document(), key, description.value_or(std::string_view()));
}

std::unique_ptr<TRmRecordStruct> TRemindFile::ReadRecordFrom(const TIniDocument& ini, std::string_view key,
                                                             std::string_view rawDescription, size_t* cursor) {
    auto r = std::make_unique<TRmRecordStruct>();
    ReadRecordInto(*r, ini, key, rawDescription, cursor);
    return r;
}

void TRemindFile::ReadRecordInto(TRmRecordStruct& r, const TIniDocument& ini, std::string_view key,
                                 std::string_view rawDescription, size_t* cursor) {
    // What lives only in memory starts over, as in a new record.
    r.NextAlert = 0;
    r.RemainText.clear();
    r.ScheduleText.clear();
    r.DueCache = TDueCacheSlot();
    // Text without the escape marker (nearly every description) needs no
    // decoding: it goes straight into the record's own storage.
    if (rawDescription.starts_with(EscapedValueMarker))
        r.Description = DecodeIniValue(SanitizeUtf8(rawDescription));
    else
        SanitizeUtf8Into(r.Description, rawDescription);
    // One pass over the reminder's section; where a key occurs twice the
    // first one counts, as for every other lookup.
    std::string_view values[KeyCount];
    bool found[KeyCount] = {};
    size_t noCursor = SIZE_MAX;
    size_t& at = cursor ? *cursor : noCursor;
    // Nearly every section is as WriteRecord left it.
    const size_t written = ini.ReadExactLayout(key, at, WrittenLayout, KeyCount, values);
    if (written != TIniDocument::NotThatLayout) {
        std::fill(found, found + written, true);
    } else {
        ini.ForEachKey(key, at, [&](std::string_view name, std::string_view value) {
            const int slot = KeySlot(name);
            if (slot >= 0 && !found[slot]) {
                found[slot] = true;
                values[slot] = value;
            }
        });
    }
    int period = -1;
    if (!found[0] || !TryParseIniInteger(values[0], period)) period = -1;
    // Stored in a byte as the file's integer would be: -1 becomes 255.
    r.Period = static_cast<uint8_t>(period);
    const TFormatSettings& settings = FormatSettings();
    const TDateTime created = DateTimeValue(values[1], settings);
    r.CreateDateTime = created;
    // The section name says when the reminder was made: a creation moment
    // whose text is unreadable is taken from it, so the reminder keeps its
    // identity (and the text stays in the file).
    if (IsUnreadable(created))
        if (auto moment = MomentOfSectionName(key)) r.CreateDateTime = *moment;
    // Until its first alert a reminder's last time is its creation moment,
    // written the same: the same text reads the same.
    r.LastTime = values[2] == values[1] ? created : DateTimeValue(values[2], settings);
    r.WakeTime = TimeValue(values[3], settings);
    SanitizeUtf8Into(r.Voice, values[4]);
    r.EndTime = DateTimeValue(values[5], settings);
    r.RepeatData = RepeatDataFromHex(values[6]);
    // The pending postponement is the alert moment again. One whose text
    // cannot be read is no postponement, but its text stays, as any other.
    r.Postponement = DateTimeValue(values[7], settings);
    if (!IsUnreadable(r.Postponement)) r.NextAlert = r.Postponement;
}

bool TRemindFile::SectionNameIs(const TRmRecordStruct& record, std::string_view name) {
    if (name.size() != 15) return false;
    // Loading asks this of every reminder: the name's moment against the
    // record's, to the second (as the name is made), costs less than
    // making the name. Moments no name can show take the long way.
    const TDateTime created = record.CreateDateTime;
    if (name[0] == 'R' && std::isfinite(created) && created > -693594.0 && created < 2958465.0) {
        const auto moment = MomentOfSectionName(name);
        // Read from the text the store writes, the two are the same double.
        if (moment && *moment == created) return true;
        auto second = [](TDateTime v) {
            const int64_t ms = static_cast<int64_t>(std::llround(v * MSecsPerDay));
            return ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
        };
        return moment && second(*moment) == second(created);
    }
    char buffer[15];
    return std::string_view(SectionNameInto(record, buffer), sizeof buffer) == name;
}

std::string TRemindFile::SectionOf(const TRmRecordStruct& record) {
    char buffer[15];
    return std::string(SectionNameInto(record, buffer), sizeof buffer);
}

const char* TRemindFile::SectionNameInto(const TRmRecordStruct& record, char (&name)[15]) {
    TDateParts d;
    TTimeParts t;
    DecodeDateTime(record.CreateDateTime, d, t);
    // "R" + YYYYMMDDhhmmss; built by hand, as loading a large file asks for
    // every reminder's name.
    name[0] = 'R';
    // Two digits at a time; every field but the year is below 100, and the
    // year's last four digits are the ones written.
    auto two = [&name](int at, int value) { PutTwoDigits(name + at, static_cast<unsigned>(value)); };
    const int year = d.Year % 10000;
    two(1, year / 100);
    two(3, year % 100);
    two(5, d.Month);
    two(7, d.Day);
    two(9, t.Hour);
    two(11, t.Minute);
    two(13, t.Second);
    return name;
}

void TRemindFile::WriteMoment(const std::string& section, const std::string& oldSection, const char* key,
                              TDateTime value, std::string (*text)(TDateTime)) {
    if (!IsUnreadable(value)) return WriteString(section, key, text(value));
    // Kept as the file had it; a reminder moving to another section takes
    // the text along.
    if (oldSection.empty()) return;
    if (auto raw = Document().FindRaw(oldSection, key)) WriteString(section, key, std::string(*raw));
}

void TRemindFile::ForgetListKey(const std::string& key) {
    FRemovedKeys.insert(key);
    DeleteKey(ListSection, key);
}

void TRemindFile::WriteRecord(const std::string& listSection, TRmRecordStruct& r) {
    const std::string section = SectionOf(r);
    Update([&] {
        std::string moving;
        auto old = FLoadedSections.find(&r);
        if (old != FLoadedSections.end()) {
            if (!SameTextAscii(old->second, section)) moving = old->second;
            FLoadedSections.erase(old);
        }
        WriteString(listSection, section, EncodeIniValue(r.Description));
        WriteString(section, KeyPeriod, std::to_string(r.Period));
        WriteMoment(section, moving, KeyCreate, r.CreateDateTime, DateTimeText);
        WriteMoment(section, moving, KeyLast, r.LastTime, DateTimeText);
        WriteMoment(section, moving, KeyWake, r.WakeTime, TimeText);
        WriteString(section, KeyVoice, r.Voice);
        WriteMoment(section, moving, KeyEnd, r.EndTime, EndTimeText);
        WriteString(section, KeyRepeat, RepeatDataToHex(r.RepeatData));
        if (r.HasPostponement())
            WriteString(section, KeyPostponement, DateTimeText(r.Postponement));
        else if (IsUnreadable(r.Postponement))
            WriteMoment(section, moving, KeyPostponement, r.Postponement, DateTimeText);
        else
            DeleteKey(section, KeyPostponement);
        // The old section goes only once nothing else claims it.
        if (!moving.empty() && !FindBySection(moving)) {
            ForgetListKey(moving);
            EraseSection(moving);
        }
    });
}

bool TRemindFile::Contains(const TRmRecordStruct* record) const {
    return std::any_of(FRecords.begin(), FRecords.end(), [&](const auto& r) { return r.get() == record; });
}

const TRemindFile::TBySection& TRemindFile::BySection() const {
    if (!FIndexed) {
        FBySection.clear();
        FBySection.reserve(FRecords.size());
        for (const auto& r : FRecords) FBySection.emplace(SectionOf(*r), r.get());
        FIndexed = true;
    }
    return FBySection;
}

void TRemindFile::IndexRecord(TRmRecordStruct* record) {
    if (FIndexed) FBySection.emplace(SectionOf(*record), record);
}

void TRemindFile::UnindexRecord(TRmRecordStruct* record) {
    if (!FIndexed) return;
    auto [first, last] = FBySection.equal_range(SectionOf(*record));
    for (auto it = first; it != last; ++it) {
        if (it->second == record) {
            FBySection.erase(it);
            return;
        }
    }
}

TRmRecordStruct* TRemindFile::FindBySection(std::string_view section) const {
    auto it = BySection().find(section);
    return it == BySection().end() ? nullptr : it->second;
}

std::vector<TRmRecordStruct*> TRemindFile::FindAllBySection(std::string_view section) const {
    std::vector<TRmRecordStruct*> found;
    auto [first, last] = BySection().equal_range(section);
    for (auto it = first; it != last; ++it) found.push_back(it->second);
    // In store order, as the list shows them.
    std::sort(found.begin(), found.end(), [&](const TRmRecordStruct* a, const TRmRecordStruct* b) {
        auto position = [&](const TRmRecordStruct* r) {
            return std::find_if(FRecords.begin(), FRecords.end(), [&](const auto& p) { return p.get() == r; });
        };
        return position(a) < position(b);
    });
    return found;
}

bool TRemindFile::SectionTaken(const std::string& section, const TRmRecordStruct* except) const {
    auto [first, last] = BySection().equal_range(section);
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
    // Past the last second of year 9999 no section name can be made, and
    // the search would go on for ever.
    const TDateTime wanted = record->CreateDateTime;
    while (SectionTaken(SectionOf(*record), record.get())) {
        record->CreateDateTime += OneSecond;
        if (!(record->CreateDateTime < LastIdentityMoment + OneSecond / 2)) {
            record->CreateDateTime = wanted;
            throw ENoFreeIdentity("no free identity for a new reminder: every second from " + DateTimeToStr(wanted) +
                                  " to the end of year 9999 is taken");
        }
    }
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
            ForgetListKey(oldSection);
            EraseSection(oldSection);
        }
        // Another reminder may carry the same identity (a file edited by
        // hand); its entry stays.
        if (!FindBySection(section)) {
            EraseSection(section);
            ForgetListKey(section);
        }
    });
}

void TRemindFile::CheckReplacement(const TIniDocument& onDisk) {
    std::string lost;
    size_t count = 0;
    onDisk.ForEachKey(ListSection, [&](std::string_view key, std::string_view) {
        if (Document().FindRaw(ListSection, key) || FRemovedKeys.contains(key)) return;
        if (count++ == 0) lost = std::string(key);
    });
    if (count > 0)
        throw WriteError("another program changed the file since it was read, and replacing it would remove " +
                         std::to_string(count) + (count == 1 ? " reminder" : " reminders") + " (" + lost +
                         (count > 1 ? ", ..." : "") + ") that it holds now; the file was left as it is");
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
    // Read only: nothing is ever written to the source.
    TIniDocument backup;
    TTextEncoding encoding;
    if (!LoadIniDocument(source, backup, encoding, nullptr, nullptr)) return;
    std::vector<std::unique_ptr<TRmRecordStruct>> incoming;
    backup.ForEachKey(ListSection, [&](std::string_view key, std::string_view description) {
        incoming.push_back(ReadRecordFrom(backup, key, description));
    });
    // All additions reach the data file as one replacement.
    Update([&] {
        for (auto& r : incoming)
            if (!SectionExists(SectionOf(*r))) AddRecord(std::move(r));
    });
}
