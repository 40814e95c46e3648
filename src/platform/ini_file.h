// A profile file: an INI document on disk that every write reaches at once.
// Each change replaces the whole file atomically (temporary file, flush,
// rename), so a crash leaves the old or the new file, never a damaged one.
// Changes made inside one Update() call reach the disk as one replacement.
//
// The file is read once, when the object is created; this process is the
// file's only writer while it runs (the single-instance lock sees to that).
// Reading accepts UTF-16LE or UTF-8 with a byte-order mark and plain UTF-8;
// an existing file keeps its encoding and line breaks; a new file is UTF-8.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ini_document.h"
#include "platform/text_codec.h"

// Raised when the file cannot be written: "Unable to write to <path>".
class EIniFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TIniFile {
public:
    // Values longer than this many characters are cut on reading.
    static constexpr size_t MaxValueChars = 2047;

    explicit TIniFile(std::string fileName);
    virtual ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const std::string& FileName() const { return FFileName; }

    std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    // Decimal, or hexadecimal with 0x; anything else gives the default.
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
    bool SectionExists(const std::string& section) const;  // holds at least one key
    bool ValueExists(const std::string& section, const std::string& key) const;
    std::vector<std::string> ReadSection(const std::string& section) const;  // key names in order
    std::vector<std::string> ReadSections() const;

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    void EraseSection(const std::string& section);
    void DeleteKey(const std::string& section, const std::string& key);

    // Runs the edits and writes the file once at the end (nested calls join
    // the outermost one). If the edits throw, nothing is written now; the
    // changes already made stay in memory and go out with the next write.
    void Update(const std::function<void()>& edits);
    // Writes pending changes, if any.
    void UpdateFile();

    // The document as the file holds it (after the writes made so far).
    const TIniDocument& Document() const { return FDocument; }
    // True when the file exists but could not be read.
    bool ReadFailed() const { return FUnreadable; }
    TTextEncoding Encoding() const { return FEncoding; }

private:
    void Changed();
    void Flush();

    std::string FFileName;
    TIniDocument FDocument;
    TTextEncoding FEncoding = TTextEncoding::Utf8;
    // A file that exists but could not be read is never replaced: that
    // would destroy whatever it holds.
    bool FUnreadable = false;
    bool FDirty = false;
    int FUpdateDepth = 0;
};

// Parses decimal or 0x-hexadecimal integer text as the profile functions
// do; false for anything else.
bool TryParseIniInteger(const std::string& text, int& value);
