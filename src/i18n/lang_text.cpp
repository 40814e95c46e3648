#include "i18n/lang_text.h"

#include <cstddef>
#include <memory>

#include "i18n/lang_path.h"
#include "i18n/lang_table.h"
#include "platform/atomic_file.h"
#include "platform/folders.h"

// The built-in English file, generated at build time from
// assets/Languages/English.ini.
extern const unsigned char MemLangResourceData[];
extern const std::size_t MemLangResourceSize;

namespace {

bool ReadMemLangResource(std::string& bytes) {
    if (MemLangResourceSize == 0) return false;
    bytes.assign(reinterpret_cast<const char*>(MemLangResourceData), MemLangResourceSize);
    return true;
}

// Process-wide, created on first use so that a lookup made while other
// globals are still being set up finds it ready.
struct TLanguageTables {
    std::unique_ptr<TLangTable> Active;
    std::unique_ptr<TLangTable> BuiltIn;
    TBuiltInLanguageSource BuiltInSource = ReadMemLangResource;
};

TLanguageTables& Tables() {
    static TLanguageTables tables;
    return tables;
}

// No file at the path (or one that cannot be read) leaves the table absent;
// the next lookup tries again, so a file that appears later is picked up.
void LoadActiveTable(TLanguageTables& tables) {
    std::string bytes;
    if (!FileExists(LangFilePath) || !ReadWholeFile(LangFilePath, bytes)) return;
    tables.Active = std::make_unique<TLangTable>(TLangTable::FromBytes(bytes));
}

// A failure is not reported: the callers' defaults stand in, and the next
// lookup tries again.
void LoadBuiltInTable(TLanguageTables& tables) {
    std::string bytes;
    if (!tables.BuiltInSource || !tables.BuiltInSource(bytes)) return;
    tables.BuiltIn = std::make_unique<TLangTable>(TLangTable::FromBytes(bytes));
}

}  // namespace

std::string LangText(const std::string& section, const std::string& key, const std::string& defaultText) {
    if (section.empty() || key.empty()) return {};
    TLanguageTables& tables = Tables();

    if (!tables.Active) LoadActiveTable(tables);
    if (tables.Active) {
        if (const std::string* text = tables.Active->Find(section, key)) return *text;
    }

    if (!tables.BuiltIn) LoadBuiltInTable(tables);
    if (tables.BuiltIn) {
        if (const std::string* text = tables.BuiltIn->Find(section, key)) return *text;
    }
    return defaultText;
}

void ReloadLanguage() {
    TLanguageTables& tables = Tables();
    tables.Active.reset();
    LoadActiveTable(tables);
}

void SetBuiltInLanguageSource(TBuiltInLanguageSource source) {
    TLanguageTables& tables = Tables();
    tables.BuiltInSource = source ? std::move(source) : TBuiltInLanguageSource(ReadMemLangResource);
    tables.BuiltIn.reset();
}
