#include "i18n/language_files.h"

#include <algorithm>
#include <exception>

#include "common/public_funs.h"
#include "i18n/lang_path.h"
#include "i18n/lang_text.h"
#include "platform/atomic_file.h"
#include "platform/folders.h"
#include "platform/ini_document.h"
#include "platform/locale_format.h"
#include "platform/text_codec.h"
#include "store/remind_file.h"

namespace {

constexpr const char* LanguageFileExt = ".ini";
constexpr const char* FallbackLanguage = "English";

// The LangCode list of a language file: lower-cased, cut at each '|'; an
// empty piece between two bars is kept, a trailing empty piece is not.
std::vector<std::string> LangCodesOf(const std::string& value) {
    std::vector<std::string> codes;
    std::string lower = AsciiLower(value);
    size_t start = 0;
    while (start < lower.size()) {
        size_t bar = lower.find('|', start);
        if (bar == std::string::npos) bar = lower.size();
        codes.push_back(lower.substr(start, bar - start));
        start = bar + 1;
    }
    return codes;
}

// A name is a file's base name; one that reaches outside the folder is not
// a language.
bool IsPlainName(const std::string& name) { return !name.empty() && name.find('/') == std::string::npos; }

std::string LanguageFileIn(const std::string& languageFolder, const std::string& name) {
    return AddPathDelimiter(languageFolder) + name + LanguageFileExt;
}

}  // namespace

std::string LanguageFolder() { return ProgramDataFolder() + "Languages/"; }

void ListLanguages(std::vector<std::string>& list) { ListLanguagesIn(LanguageFolder(), list); }

void ListLanguagesIn(const std::string& languageFolder, std::vector<std::string>& list) {
    list.clear();
    std::vector<std::string> names;
    if (!ListFolderEntries(languageFolder, names)) return;
    const std::string ext = LanguageFileExt;
    for (const std::string& name : names) {
        if (name.size() > ext.size() && name.ends_with(ext) && FileExists(AddPathDelimiter(languageFolder) + name))
            list.push_back(name.substr(0, name.size() - ext.size()));
    }
}

std::string ChooseLanguage() {
    return ChooseLanguageFrom(AppDataPath + "Olvo_Reminder/", LanguageFolder(), UserDefaultUILanguage());
}

std::string ChooseLanguageFrom(const std::string& dataFolder, const std::string& languageFolder,
                               uint16_t uiLanguage) {
    if (DirectoryExists(dataFolder)) {
        std::string bytes;
        if (ReadWholeFile(dataFolder + DataFileName, bytes)) {
            TIniDocument data = TIniDocument::Parse(DecodeText(bytes).Text);
            std::string configured = data.Read(ConfigSection, "Language");
            if (!configured.empty()) return configured;
        }
    }

    const std::string wanted = AsciiLower(LanguageIdText(uiLanguage));
    std::vector<std::string> languages;
    ListLanguagesIn(languageFolder, languages);
    for (const std::string& name : languages) {
        const std::string path = LanguageFileIn(languageFolder, name);
        if (!FileExists(path)) continue;
        std::string bytes;
        // A file that cannot be read ends the search.
        if (!ReadWholeFile(path, bytes)) return FallbackLanguage;
        TIniDocument file = TIniDocument::Parse(DecodeText(bytes).Text);
        auto codes = LangCodesOf(file.Read("Translation", "LangCode"));
        if (std::find(codes.begin(), codes.end(), wanted) != codes.end()) return name;
    }
    return FallbackLanguage;
}

void SetLanguageFile(const std::string& name) { SetLanguageFileIn(LanguageFolder(), name); }

void SetLanguageFileIn(const std::string& languageFolder, const std::string& name) {
    std::string path = LanguageFileIn(languageFolder, name);
    LangFilePath = IsPlainName(name) && FileExists(path) ? path : LanguageFileIn(languageFolder, FallbackLanguage);
}

std::string NativeLanguageName(const std::string& name) { return NativeLanguageNameIn(LanguageFolder(), name); }

std::string NativeLanguageNameIn(const std::string& languageFolder, const std::string& name) {
    const std::string path = LanguageFileIn(languageFolder, name);
    std::string bytes;
    if (!IsPlainName(name) || !FileExists(path) || !ReadWholeFile(path, bytes)) return name;
    TIniDocument file = TIniDocument::Parse(DecodeText(bytes).Text);
    // An empty label would leave a blank menu entry; the name reads better.
    std::string native = file.Read("Lang", "NativeLanguage");
    return native.empty() ? name : native;
}

void ChangeLanguage(TRemindFile& store, const std::string& name, const TApplyLanguage& applyLanguage) {
    ChangeLanguageIn(store, LanguageFolder(), name, applyLanguage);
}

void ChangeLanguageIn(TRemindFile& store, const std::string& languageFolder, const std::string& name,
                      const TApplyLanguage& applyLanguage) {
    store.Language = name;
    std::exception_ptr saveError;
    try {
        store.SaveConfig();
    } catch (const EIniFileError&) {
        saveError = std::current_exception();
    }
    LangFilePath = LanguageFileIn(languageFolder, name);
    ReloadLanguage();
    if (applyLanguage) applyLanguage();
    if (saveError) std::rethrow_exception(saveError);
}
