// The operating-system touch points every subsystem shares, mapped onto the
// platform layer; see public_funs.h.
#include "common/public_funs.h"

#include "platform/autostart.h"
#include "platform/folders.h"
#include "platform/shell_open.h"
#include "version_config.h"

#include <climits>
#include <cstdlib>

bool IsWin64 = false;
std::string AppDataPath;

namespace {

// Access rights of the registry calls: KEY_READ, KEY_ALL_ACCESS, and
// KEY_WOW64_64KEY to reach the 64-bit view from a 32-bit process.
constexpr uint32_t KeyRead = 0x20019;
constexpr uint32_t KeyAllAccess = 0xF003F;
constexpr uint32_t KeyWow64_64Key = 0x100;

// Registry paths compare without regard to case, and callers may write
// either separator.
std::string NormalizeKeyPath(const std::string& path) {
    std::string out = path;
    for (char& c : out) {
        if (c == '/') c = '\\';
        else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool IsRunKey(HKEY root, const std::string& keyPath) {
    return root == HKEY_CURRENT_USER && NormalizeKeyPath(keyPath) == NormalizeKeyPath(RunKeyPath);
}

std::string CanonicalPath(const std::string& path) {
    if (path.empty()) return {};
    char buf[PATH_MAX];
    return realpath(path.c_str(), buf) ? std::string(buf) : std::string();
}

uint32_t HiLo(int high, int low) {
    return (static_cast<uint32_t>(high) << 16) | (static_cast<uint32_t>(low) & 0xFFFF);
}

}  // namespace

void InitPublicFuns() {
    // There is no 32-bit emulation layer whose views could differ.
    IsWin64 = false;
    AppDataPath = AddPathDelimiter(GetSpecialFolderPath(nullptr, CSIDL_APPDATA));
}

void OpenURL(HWND /*owner*/, const std::string& target) {
    if (target.find_first_not_of(" \t\r\n") == std::string::npos) return;
    try {
        ShellOpen(target);
    } catch (...) {
        // Opening a link is a convenience; a failure to start the handler
        // must never take the window that asked for it down.
    }
}

void SetFsRedirection(TFsRedirection /*state*/) {}

std::string GetSpecialFolderPath(HWND /*owner*/, int folderId) {
    switch (folderId) {
        case CSIDL_APPDATA:
        case CSIDL_LOCAL_APPDATA: return XdgDataHome();
        case CSIDL_PERSONAL: return HomeFolder();
        case CSIDL_DESKTOP: return XdgDesktopFolder();
        case CSIDL_STARTUP: return XdgAutostartFolder();
        default: return {};
    }
}

std::string AddPathDelimiter(const std::string& path) {
    if (path.empty() || path.back() == '/') return path;
    return path + "/";
}

uint32_t RegAccessMask(bool readOnly) {
    uint32_t mask = readOnly ? KeyRead : KeyAllAccess;
    if (IsWin64) mask |= KeyWow64_64Key;
    return mask;
}

bool RegWriteStr(HKEY root, const std::string& keyPath, const std::string& valueName, const std::string& text) {
    // Answers true whatever came of the write, as the call always has;
    // a caller that cares asks RegValueExist afterwards.
    if (IsRunKey(root, keyPath)) WriteAutostartEntry(valueName, text);
    return true;
}

bool RegDeleteVal(HKEY root, const std::string& keyPath, const std::string& valueName) {
    return IsRunKey(root, keyPath) && DeleteAutostartEntry(valueName);
}

bool RegValueExist(HKEY root, const std::string& keyPath, const std::string& valueName, bool /*useViewRule*/) {
    // When nobody can tell (a key that cannot be opened, an entry behind a
    // folder we may not search) the answer errs towards presence.
    if (!IsRunKey(root, keyPath)) return true;
    return AutostartEntryPresence(valueName) != TAutostartPresence::Absent;
}

std::string RegReadStr(HKEY root, const std::string& keyPath, const std::string& valueName) {
    std::string command;
    if (!IsRunKey(root, keyPath) || !ReadAutostartCommand(valueName, command)) return {};
    return command;
}

void GetFileVersionRecord(const std::string& filePath, TVSFixedFileInfo& record) {
    const std::string wanted = CanonicalPath(filePath);
    if (wanted.empty() || wanted != CanonicalPath("/proc/self/exe")) return;
    record.dwSignature = 0xFEEF04BD;
    record.dwStrucVersion = 0x00010000;
    record.dwFileVersionMS = HiLo(OLVO_VERSION_MAJOR, OLVO_VERSION_MINOR);
    record.dwFileVersionLS = HiLo(OLVO_VERSION_RELEASE, OLVO_VERSION_BUILD);
    record.dwProductVersionMS = record.dwFileVersionMS;
    record.dwProductVersionLS = record.dwFileVersionLS;
    record.dwFileFlagsMask = 0x3F;
    record.dwFileFlags = 0;
    record.dwFileOS = 0x40004;   // VOS_NT_WINDOWS32, as the resource declared
    record.dwFileType = 1;       // VFT_APP
    record.dwFileSubtype = 0;
}

std::string VersionText(const TVSFixedFileInfo& record) {
    return std::to_string(record.dwFileVersionMS >> 16) + "." + std::to_string(record.dwFileVersionMS & 0xFFFF) +
           std::to_string(record.dwFileVersionLS >> 16) + "." + std::to_string(record.dwFileVersionLS & 0xFFFF);
}

std::string ProgramPath() { return ExecutablePath(); }

std::string ProgramFolder() {
    const std::string path = ProgramPath();
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

namespace {

// Installed below the prefix as bin/<executable> and
// share/olvo-reminder/<data>; the install rules use the same two names.
constexpr const char* InstalledDataFolder = "share/olvo-reminder/";

// "/usr/bin/" -> "/usr/"; the root is its own parent; a relative folder
// without a parent gives "".
std::string ParentFolder(const std::string& folder) {
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    if (path == "/") return path;
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Inside double quotes an Exec line takes '"', '`', '$' and the backslash
// only behind a backslash, and '%' (a field code otherwise) only doubled.
std::string QuoteExecArgument(const std::string& argument) {
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
        if (c == '%') quoted += '%';
    }
    return quoted + '"';
}

}  // namespace

std::string ProgramDataFolderFor(const std::string& programFolder) {
    if (programFolder.empty()) return {};
    const std::string beside = AddPathDelimiter(programFolder);
    if (DirectoryExists(beside + "Languages") || FileExists(beside + "default.mp3")) return beside;
    const std::string installed = ParentFolder(beside) + InstalledDataFolder;
    return DirectoryExists(installed) ? installed : beside;
}

std::string ProgramDataFolder() { return ProgramDataFolderFor(ProgramFolder()); }

std::string LogonStartCommandFor(const std::string& executablePath) {
    if (executablePath.empty()) return {};
    return QuoteExecArgument(executablePath) + " -os";
}

std::string LogonStartCommand() { return LogonStartCommandFor(ProgramPath()); }
