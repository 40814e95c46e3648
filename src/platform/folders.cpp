// Well-known folders and file-system questions; see folders.h.
#include "platform/folders.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string StripTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// An environment value only counts when absolute: the XDG rules say a
// relative one is invalid and must be ignored, and a relative home would
// put the user's data wherever the program happened to be started.
std::string AbsoluteEnv(const char* name) {
    const char* value = std::getenv(name);
    if (!value || value[0] != '/') return {};
    return StripTrailingSlashes(value);
}

std::string HomeFromPasswordDatabase() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buf(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buf.data(), buf.size(), &found) != 0 || !found || !found->pw_dir ||
        found->pw_dir[0] != '/')
        return {};
    return StripTrailingSlashes(found->pw_dir);
}

// Under the given base folder, or empty when the base is unknown, so that a
// missing home never turns into a path relative to the working folder.
std::string Under(const std::string& base, const char* rest) {
    if (base.empty()) return {};
    return base == "/" ? std::string(rest) : base + rest;
}

// The desktop line of xdg-user-dirs' file: XDG_DESKTOP_DIR="$HOME/Desktop"
// or an absolute path in quotes.
std::string DesktopFromUserDirs(const std::string& home) {
    const std::string config = XdgConfigHome();
    if (config.empty()) return {};
    std::ifstream in(config + "/user-dirs.dirs");
    const std::string key = "XDG_DESKTOP_DIR=";
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) != 0) continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0) {
            if (home.empty()) return {};
            value = home + value.substr(5);
        }
        if (value.empty() || value[0] != '/') return {};
        return StripTrailingSlashes(value);
    }
    return {};
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string HomeFolder() {
    std::string home = AbsoluteEnv("HOME");
    return home.empty() ? HomeFromPasswordDatabase() : home;
}

std::string XdgDataHome() {
    std::string env = AbsoluteEnv("XDG_DATA_HOME");
    return env.empty() ? Under(HomeFolder(), "/.local/share") : env;
}

std::string XdgConfigHome() {
    std::string env = AbsoluteEnv("XDG_CONFIG_HOME");
    return env.empty() ? Under(HomeFolder(), "/.config") : env;
}

std::string XdgCacheHome() {
    std::string env = AbsoluteEnv("XDG_CACHE_HOME");
    return env.empty() ? Under(HomeFolder(), "/.cache") : env;
}

std::string XdgDesktopFolder() {
    std::string env = AbsoluteEnv("XDG_DESKTOP_DIR");
    if (!env.empty()) return env;
    const std::string home = HomeFolder();
    std::string fromFile = DesktopFromUserDirs(home);
    return fromFile.empty() ? Under(home, "/Desktop") : fromFile;
}

std::string XdgAutostartFolder() { return Under(XdgConfigHome(), "/autostart"); }

std::string ExecutablePath() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return {};
    return std::string(buf, static_cast<size_t>(n));
}

bool ForceDirectories(const std::string& path, unsigned mode) {
    if (path.empty()) return false;
    if (IsFolder(path)) return true;
    // Each prefix ending before a '/' is a parent; the path itself comes last.
    size_t pos = 0;
    do {
        pos = path.find('/', pos + 1);
        const std::string prefix = path.substr(0, pos);
        if (prefix.back() == '/') continue;   // "//" inside the path
        // Something already there (or made at the same moment by another
        // process) is fine as long as it is a folder.
        if (mkdir(prefix.c_str(), static_cast<mode_t>(mode)) != 0 && !IsFolder(prefix)) return false;
    } while (pos != std::string::npos);
    return IsFolder(path);
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path) { return !path.empty() && IsFolder(path); }

bool ListFolderEntries(const std::string& path, std::vector<std::string>& names) {
    names.clear();
    DIR* dir = opendir(path.c_str());
    if (!dir) return false;
    errno = 0;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
        errno = 0;
    }
    const bool ok = errno == 0;
    closedir(dir);
    if (!ok) names.clear();
    return ok;
}
