// Per-user autostart entries: the desktop's "run at logon" list. An entry
// named N is the desktop entry file <autostart folder>/N.desktop, whose Exec
// value is the command the session starts at logon.
#pragma once

#include <string>

// A name can become a file in the autostart folder only when it is not
// empty, not "." or "..", and holds neither '/' nor a NUL character.
bool IsValidAutostartName(const std::string& name);

// <autostart folder>/<name>.desktop; empty for an invalid name or when the
// folder is unknown.
std::string AutostartEntryPath(const std::string& name);

// The text of a minimal, valid entry that starts `command`. Values are
// written with the desktop-entry string escapes (\\, \n, \r, \t), so a
// command holding a backslash or a line break cannot break the file or add
// lines of its own.
std::string FormatAutostartEntry(const std::string& name, const std::string& command);
// The unescaped Exec value of the [Desktop Entry] group; false when the
// group or the key is missing.
bool ParseAutostartExec(const std::string& text, std::string& command);

// Writes the entry (creating the autostart folder when missing) so that a
// crash leaves either the old or the new file. False, with nothing written,
// for an invalid name or a command holding a NUL character.
bool WriteAutostartEntry(const std::string& name, const std::string& command, std::string* error = nullptr);
// The stored command; false when the entry is absent or unreadable.
bool ReadAutostartCommand(const std::string& name, std::string& command);
// True only when the entry existed and was removed.
bool DeleteAutostartEntry(const std::string& name);

enum class TAutostartPresence { Absent, Present, Unknown };
// Present when the entry file exists; Unknown when the folder may not be
// searched (permission denied), so nobody can tell.
TAutostartPresence AutostartEntryPresence(const std::string& name);
