// The web view lives in a module of its own: WebKit maps some 25 MB of
// libraries into a process, and most runs never show a page. The desktop
// host opens the module when the first web view is made and keeps it for
// the rest of the run (WebKit cannot be unloaded safely once started).
// Program and module are built together; the entry point below is the
// whole contract between them.
#pragma once

#include <string>
#include <vector>

#include "platform/gui/native_controls.h"

inline constexpr const char* WebViewModuleFile = "libolvo_webview.so";
// Where an installed program keeps its modules, relative to its folder.
inline constexpr const char* InstalledModuleFolder = "../lib/olvo-reminder";

// The module's entry point: a new web view placed in `layer` (a GtkFixed*),
// owned by the caller, or null when the view cannot be made.
inline constexpr const char* WebViewEntryName = "OlvoCreateWebView";
using TWebViewEntry = TNativeWebView* (*)(void* layer);

// The places the module is looked for, in order: beside the program (the
// build tree), then the installed tree's module folder. Empty for an
// empty program path.
std::vector<std::string> WebViewModulePaths(const std::string& programPath);

// The entry point of the first of `paths` that loads and has one; null
// when none does (nothing is reported: the caller shows no page).
TWebViewEntry OpenWebViewModule(const std::vector<std::string>& paths);

// The running program's module, opened on the first call. A failure is
// tried again on the next call.
TWebViewEntry WebViewEntry();
