// The installed language files (Languages/*.ini beside the program) and the
// start-up choice of the active one. A language is known by its file's base
// name ("English" for Languages/English.ini).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The program folder's Languages/ folder, with a trailing '/'.
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
