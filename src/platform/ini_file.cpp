#include "platform/ini_file.h"

#include <cerrno>
#include <charconv>
#include <sys/stat.h>

#include "platform/atomic_file.h"

bool TryParseIniInteger(const std::string& text, int& value) {
    std::string_view s = TrimBlanks(text);
    if (s.empty()) return false;
    bool negative = false;
    if (s.front() == '-' || s.front() == '+') {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty()) return false;
    long long v = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
    if (ec != std::errc() || ptr != s.data() + s.size()) return false;
    if (negative) v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return false;
    value = static_cast<int>(v);
    return true;
}

TIniFile::TIniFile(std::string fileName) : FFileName(std::move(fileName)) {
    std::string bytes;
    if (ReadWholeFile(FFileName, bytes)) {
        TDecodedText decoded = DecodeText(bytes);
        FEncoding = decoded.Encoding;
        FDocument = TIniDocument::Parse(decoded.Text);
    } else {
        struct stat st {};
        FUnreadable = stat(FFileName.c_str(), &st) == 0;
    }
}

TIniFile::~TIniFile() {
    try {
        UpdateFile();
    } catch (const EIniFileError&) {
        // Nothing can be reported from a destructor; the error was already
        // raised by the write that failed.
    }
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
    auto value = FDocument.Find(section, key);
    std::string result = value ? std::move(*value) : defaultValue;
    if (result.size() > MaxValueChars) result.resize(Utf8PrefixLength(result, MaxValueChars));
    return result;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const {
    int value = 0;
    return TryParseIniInteger(ReadString(section, key, ""), value) ? value : defaultValue;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(const std::string& section) const { return FDocument.KeyCount(section) > 0; }

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
    return FDocument.Find(section, key).has_value();
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) const { return FDocument.KeyNames(section); }

std::vector<std::string> TIniFile::ReadSections() const { return FDocument.SectionNames(); }

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    // Writing what the file already holds costs a whole-file rewrite for
    // nothing; such a write is complete as it stands.
    bool changed = false;
    // A pending change whose write failed earlier is retried.
    if (FDocument.Write(section, key, value, &changed) && (changed || FDirty)) Changed();
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::EraseSection(const std::string& section) {
    if (!FDocument.HasSection(section)) return;
    FDocument.EraseSection(section);
    Changed();
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key) {
    if (!FDocument.Find(section, key)) return;
    FDocument.DeleteKey(section, key);
    Changed();
}

void TIniFile::Update(const std::function<void()>& edits) {
    ++FUpdateDepth;
    try {
        edits();
    } catch (...) {
        --FUpdateDepth;
        throw;
    }
    if (--FUpdateDepth == 0) UpdateFile();
}

void TIniFile::UpdateFile() {
    if (FDirty) Flush();
}

void TIniFile::Changed() {
    FDirty = true;
    if (FUpdateDepth == 0) Flush();
}

void TIniFile::Flush() {
    const std::string message = "Unable to write to " + FFileName;
    if (FUnreadable) throw EIniFileError(message);
    std::string bytes = FDocument.Serialize();
    if (FEncoding != TTextEncoding::Utf8) bytes = EncodeText(bytes, FEncoding);
    if (!WriteFileAtomic(FFileName, bytes)) throw EIniFileError(message);
    FDirty = false;
}
