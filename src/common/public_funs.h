// The small operations through which the program touches the operating
// system: opening a web address, mail link or file; well-known folders;
// run-at-logon values; the program's own version. Every call is synchronous,
// runs on the user-interface thread and absorbs its failures.
#pragma once

#include <cstdint>
#include <string>

// Process-wide values, prepared once before any window exists
// (InitPublicFuns). AppDataPath is shared mutable state: the main window
// appends its own folder to it at creation.
extern bool IsWin64;
extern std::string AppDataPath;
void InitPublicFuns();

// Stand-ins for the window handle and registry root handles of the calls.
using HWND = void*;
using HKEY = uintptr_t;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;

// The key under which run-at-logon values live.
inline constexpr const char* RunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Shell folder ids the program may ask for.
constexpr int CSIDL_DESKTOP = 0x0000;
constexpr int CSIDL_PERSONAL = 0x0005;
constexpr int CSIDL_STARTUP = 0x0007;
constexpr int CSIDL_APPDATA = 0x001A;
constexpr int CSIDL_LOCAL_APPDATA = 0x001C;

enum class TFsRedirection { Off, On };

// Opens a target (http/https address, mailto: link, file) in the desktop's
// default handler without waiting for it; blanks only does nothing.
void OpenURL(HWND owner, const std::string& target);
// No file-system redirection exists here; kept so callers read the same.
void SetFsRedirection(TFsRedirection state);
// The folder for a shell folder id, without trailing '/'; empty when unknown.
std::string GetSpecialFolderPath(HWND owner, int folderId);
// The path with '/' appended unless it already ends in one; "" stays "".
std::string AddPathDelimiter(const std::string& path);

// Run-at-logon values. The current user's Run key is the XDG autostart
// folder: a value named N is the file N.desktop there, whose Exec= line is
// the stored text. Other keys do not exist here.
uint32_t RegAccessMask(bool readOnly);
bool RegWriteStr(HKEY root, const std::string& keyPath, const std::string& valueName,
                 const std::string& text);
bool RegDeleteVal(HKEY root, const std::string& keyPath, const std::string& valueName);
bool RegValueExist(HKEY root, const std::string& keyPath, const std::string& valueName,
                   bool useViewRule = true);
// The stored text of a value (empty when absent); a convenience the Windows
// calls had in other forms.
std::string RegReadStr(HKEY root, const std::string& keyPath, const std::string& valueName);

// The fixed file-version record, as the version resource held it.
struct TVSFixedFileInfo {
    uint32_t dwSignature = 0;
    uint32_t dwStrucVersion = 0;
    uint32_t dwFileVersionMS = 0;
    uint32_t dwFileVersionLS = 0;
    uint32_t dwProductVersionMS = 0;
    uint32_t dwProductVersionLS = 0;
    uint32_t dwFileFlagsMask = 0;
    uint32_t dwFileFlags = 0;
    uint32_t dwFileOS = 0;
    uint32_t dwFileType = 0;
    uint32_t dwFileSubtype = 0;
};

// Fills the record for the program's own executable (version compiled in);
// for any other file the record is left untouched.
void GetFileVersionRecord(const std::string& filePath, TVSFixedFileInfo& record);
// major.minor immediately followed by release, then .build: 1.1.5.53 -> "1.15.53".
std::string VersionText(const TVSFixedFileInfo& record);

// The running executable's path and folder (with trailing '/').
std::string ProgramPath();
std::string ProgramFolder();

// The folder holding the program's data (Languages/, default.mp3), with a
// trailing '/'. In the build tree the data sits beside the executable; an
// installed program lives in <prefix>/bin and finds it in
// <prefix>/share/olvo-reminder/. The executable's own folder wins when it
// holds Languages/ or default.mp3; else the installed folder when it
// exists; else the executable's folder, so a broken install still falls
// back to the built-in texts as before.
std::string ProgramDataFolder();
// The same choice for an executable in `programFolder` (trailing '/'
// optional); an empty folder answers "".
std::string ProgramDataFolderFor(const std::string& programFolder);

// The command a run-at-logon entry stores: the running executable's
// absolute path, double-quoted as a desktop entry's Exec line wants it,
// followed by " -os" (any argument marks a start at logon).
std::string LogonStartCommand();
// The same for a given executable path; "" when the path is empty.
std::string LogonStartCommandFor(const std::string& executablePath);
