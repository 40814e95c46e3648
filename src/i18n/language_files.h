// The installed language files (Languages/*.ini in the program's data
// folder, ProgramDataFolder): their listing, the start-up choice of the
// active one, their names as the language menu shows them, and the switch
// to another language at run time.
// A language is known by its file's base name ("English" for
// Languages/English.ini); that name is what the data file stores.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TRemindFile;

// The program data folder's Languages/ folder, with a trailing '/'.
std::string LanguageFolder();

// Names of the installed languages, in the order the folder listing gives.
void ListLanguages(std::vector<std::string>& list);
void ListLanguagesIn(const std::string& languageFolder, std::vector<std::string>& list);

// The language configured in the data file, if the data folder exists and
// names one; else the first installed language whose LangCode lists the
// user's interface language; else "English".
std::string ChooseLanguage();
std::string ChooseLanguageFrom(const std::string& dataFolder, const std::string& languageFolder,
                               uint16_t uiLanguage);

// LangFilePath becomes the named language's file, or Languages/English.ini
// when that file does not exist (whether or not English.ini exists).
void SetLanguageFile(const std::string& name);
void SetLanguageFileIn(const std::string& languageFolder, const std::string& name);

// The menu label of a language: the file's [Lang] NativeLanguage, or the
// name itself when the file, the key or its text is missing.
std::string NativeLanguageName(const std::string& name);
std::string NativeLanguageNameIn(const std::string& languageFolder, const std::string& name);

// Switches the program to another language: the store's Language becomes
// the name and the configuration is saved, LangFilePath becomes that
// language's file (no existence test: a missing file means built-in texts),
// the active table is reloaded, then `applyLanguage` (the main window's
// language pass) runs. Windows opened later read the new texts by
// themselves. When the configuration cannot be saved the switch still
// happens and the store's error (EIniFileError) is raised afterwards, so
// what the user sees matches what was chosen and the failure is reported.
using TApplyLanguage = std::function<void()>;
void ChangeLanguage(TRemindFile& store, const std::string& name, const TApplyLanguage& applyLanguage = {});
void ChangeLanguageIn(TRemindFile& store, const std::string& languageFolder, const std::string& name,
                      const TApplyLanguage& applyLanguage = {});
