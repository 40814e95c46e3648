#include "platform/ini_file.h"

#include <charconv>

bool TryParseIniInteger(std::string_view text, int& value) {
    std::string_view s = TrimBlanks(text);
    if (s.empty()) return false;
    // A single digit (every reminder's kind): what the long way would give.
    if (s.size() == 1 && s[0] >= '0' && s[0] <= '9') {
        value = s[0] - '0';
        return true;
    }
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

bool LoadIniDocument(const std::string& path, TIniDocument& document, TTextEncoding& encoding,
                     TFileIdentity* identity, std::string* error) {
    std::string bytes;
    switch (ReadRegularFile(path, bytes, TIniFile::MaxFileBytes, identity, error)) {
        case TFileRead::Missing: return true;
        case TFileRead::Refused: return false;
        case TFileRead::Ok: break;
    }
    TDecodedText decoded;
    std::string why;
    if (!DecodeFileText(std::move(bytes), decoded, &why)) {
        if (error) *error = path + " cannot be read as text: " + why;
        return false;
    }
    encoding = decoded.Encoding;
    document = TIniDocument::ParseTaking(std::move(decoded.Text));
    return true;
}

namespace {

// LoadIniDocument for a store that never writes: UTF-8 text is parsed where
// the file's pages are mapped, rather than copied first.
bool LoadIniDocumentMapped(const std::string& path, TIniDocument& document, TTextEncoding& encoding,
                           TFileIdentity* identity, std::string* error) {
    std::shared_ptr<const TFileBytes> file;
    switch (MapRegularFile(path, file, TIniFile::MaxFileBytes, identity, error)) {
        case TFileRead::Missing: return true;
        case TFileRead::Refused: return false;
        case TFileRead::Ok: break;
    }
    const std::string_view bytes = file->Bytes();
    size_t skip = 0;
    if (IsFileTextAsIs(bytes, encoding, skip)) {
        document = TIniDocument::ParseShared(file, bytes.substr(skip));
        return true;
    }
    TDecodedText decoded;
    std::string why;
    if (!DecodeFileText(std::string(bytes), decoded, &why)) {
        if (error) *error = path + " cannot be read as text: " + why;
        return false;
    }
    encoding = decoded.Encoding;
    document = TIniDocument::ParseTaking(std::move(decoded.Text));
    return true;
}

}  // namespace

TIniFile::TIniFile(std::string fileName, TIniAccess access) : FFileName(std::move(fileName)), FAccess(access) {
    FUnreadable = access == TIniAccess::ReadOnly
                      ? !LoadIniDocumentMapped(FFileName, FDocument, FEncoding, &FIdentity, &FReadError)
                      : !LoadIniDocument(FFileName, FDocument, FEncoding, &FIdentity, &FReadError);
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
    return value ? std::move(*value) : defaultValue;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const {
    int value = 0;
    auto raw = FDocument.FindRaw(section, key);
    return raw && TryParseIniInteger(*raw, value) ? value : defaultValue;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(const std::string& section) const { return FDocument.KeyCount(section) > 0; }

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
    return FDocument.FindRaw(section, key).has_value();
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
    if (!FDocument.FindRaw(section, key)) return;
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

void TIniFile::CheckReplacement(const TIniDocument&) {}

EIniFileError TIniFile::WriteError(const std::string& reason) const {
    return EIniFileError("Unable to write to " + FFileName + (reason.empty() ? "" : ": " + reason));
}

void TIniFile::Flush() {
    if (FAccess == TIniAccess::ReadOnly) {
        FDirty = false;  // the changes stay in memory, by design
        return;
    }
    if (FUnreadable) throw WriteError(FReadError);
    const TFileIdentity now = FileIdentityOf(FFileName);
    if (now != FIdentity && now.Exists) {
        TIniDocument onDisk;
        TTextEncoding encoding = FEncoding;
        std::string error;
        if (!LoadIniDocument(FFileName, onDisk, encoding, nullptr, &error)) throw WriteError(error);
        CheckReplacement(onDisk);
    }
    std::string bytes = FDocument.Serialize();
    if (FEncoding != TTextEncoding::Utf8) bytes = EncodeText(bytes, FEncoding);
    // The store's own message, as it always was: the path is the reason enough.
    if (!WriteFileAtomic(FFileName, bytes)) throw WriteError(std::string());
    FIdentity = FileIdentityOf(FFileName);
    FDirty = false;
}
