// The user's well-known folders (home and the XDG base folders), the running
// executable's path, and the small file-system questions the program asks:
// does a file or folder exist, create a folder with its parents, list a
// folder. Paths come back without a trailing '/' (except the root itself)
// and are empty when they cannot be determined.
#pragma once

#include <string>
#include <vector>

// $HOME when it is an absolute path, else the password database's entry.
std::string HomeFolder();
// $XDG_DATA_HOME when absolute, else <home>/.local/share.
std::string XdgDataHome();
// $XDG_CONFIG_HOME when absolute, else <home>/.config.
std::string XdgConfigHome();
// $XDG_CACHE_HOME when absolute, else <home>/.cache.
std::string XdgCacheHome();
// $XDG_DESKTOP_DIR when absolute, else the XDG_DESKTOP_DIR line of
// <config>/user-dirs.dirs, else <home>/Desktop.
std::string XdgDesktopFolder();
// Where per-user autostart entries live: <config>/autostart.
std::string XdgAutostartFolder();

// The running executable, read from /proc/self/exe.
std::string ExecutablePath();

// Creates the folder and any missing parents (private to the user when new);
// true when the folder exists afterwards, whether or not it was created now.
bool ForceDirectories(const std::string& path, unsigned mode = 0700);
// A file that is not a folder (symbolic links followed).
bool FileExists(const std::string& path);
// A folder (symbolic links followed).
bool DirectoryExists(const std::string& path);
// The folder's entry names other than "." and "..", in the order the file
// system lists them; false (and no names) when it cannot be read.
bool ListFolderEntries(const std::string& path, std::vector<std::string>& names);
