// The text lookup every window and message uses: the active language file
// (at LangFilePath), then the built-in English file, then the caller's
// default. Tables load on first use; used on the user-interface thread only.
#pragma once

#include <functional>
#include <string>

// An empty key gives an empty text even when a default is given.
std::string LangText(const std::string& section, const std::string& key, const std::string& defaultText = "");

// Drops the active table and loads the file at the current LangFilePath when
// one exists there (else the next lookup tries again).
void ReloadLanguage();

// Supplies the bytes of the built-in English file; false when it cannot.
using TBuiltInLanguageSource = std::function<bool(std::string& bytes)>;

// Replaces where the built-in file comes from (the compiled-in resource
// "MemLang" unless replaced; an empty function puts the resource back) and
// drops the built-in table, so the next lookup that needs it loads afresh.
// Lets tests stand in a damaged or missing resource.
void SetBuiltInLanguageSource(TBuiltInLanguageSource source);
