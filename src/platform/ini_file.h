// A profile file: an INI document on disk that every write reaches at once.
// Each change replaces the whole file atomically (temporary file, flush,
// rename), so a crash leaves the old or the new file, never a damaged one.
// Changes made inside one Update() call reach the disk as one replacement.
//
// The file is read once, when the object is created. Writers of one file
// take turns through its lock (platform/file_lock.h), held from before the
// read until after the last write, so each sees the one before it.
//
// Reading accepts UTF-16 (either byte order) or UTF-8 with a byte-order mark
// and plain UTF-8, and any of LF, CR LF or CR as line breaks. A rewrite keeps
// the file's encoding and every line it did not change byte for byte; a new
// file is UTF-8. A file that is there but cannot be read or decoded (not a
// regular file, larger than MaxFileBytes, text in no known encoding) is
// never replaced: every write to it raises the error.
//
// Opened read-only, nothing ever reaches the disk: changes stay in memory.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/ini_document.h"
#include "platform/text_codec.h"

// Raised when the file cannot be written: "Unable to write to <path>",
// followed by the reason where one is known.
class EIniFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TIniAccess { ReadWrite, ReadOnly };

class TIniFile {
public:
    // Larger files are refused rather than read without limit.
    static constexpr size_t MaxFileBytes = size_t(256) << 20;

    explicit TIniFile(std::string fileName, TIniAccess access = TIniAccess::ReadWrite);
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
    // True when the file exists but could not be read; ReadError says why.
    bool ReadFailed() const { return FUnreadable; }
    const std::string& ReadError() const { return FReadError; }
    TTextEncoding Encoding() const { return FEncoding; }
    bool IsReadOnly() const { return FAccess == TIniAccess::ReadOnly; }

protected:
    // Called before a replacement when the file on disk is no longer the
    // one last read or written here (a program that does not take the lock
    // changed it). `onDisk` is what it holds now; raising EIniFileError
    // refuses the write and leaves the file as it is.
    virtual void CheckReplacement(const TIniDocument& onDisk);
    // The error a failed write raises.
    EIniFileError WriteError(const std::string& reason) const;

private:
    void Changed();
    void Flush();

    std::string FFileName;
    TIniAccess FAccess;
    TIniDocument FDocument;
    TTextEncoding FEncoding = TTextEncoding::Utf8;
    // A file that exists but could not be read is never replaced: that
    // would destroy whatever it holds.
    bool FUnreadable = false;
    std::string FReadError;
    TFileIdentity FIdentity;  // of the file as last read or written
    bool FDirty = false;
    int FUpdateDepth = 0;
};

// Parses decimal or 0x-hexadecimal integer text as the profile functions
// do; false for anything else.
bool TryParseIniInteger(std::string_view text, int& value);

// Reads a profile file's bytes and decodes them exactly (see TIniFile);
// false with the reason when the file is there but cannot be used.
// A missing file gives an empty document.
bool LoadIniDocument(const std::string& path, TIniDocument& document, TTextEncoding& encoding,
                     TFileIdentity* identity, std::string* error);
