// Per-user autostart entries; see autostart.h.
#include "platform/autostart.h"

#include "platform/atomic_file.h"
#include "platform/folders.h"

#include <cerrno>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const EntryGroup = "[Desktop Entry]";

std::string EscapeValue(const std::string& value) {
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default: out += c;
        }
    }
    // A leading space would be taken as padding after '=' by readers.
    if (!out.empty() && out[0] == ' ') out.replace(0, 1, "\\s");
    return out;
}

std::string UnescapeValue(const std::string& value) {
    std::string out;
    out.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (char next = value[++i]) {
            case 's': out += ' '; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case '\\': out += '\\'; break;
            default: out += '\\'; out += next;   // not an escape: kept as written
        }
    }
    return out;
}

std::string TrimBlanks(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

}  // namespace

bool IsValidAutostartName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

std::string AutostartEntryPath(const std::string& name) {
    if (!IsValidAutostartName(name)) return {};
    const std::string folder = XdgAutostartFolder();
    if (folder.empty()) return {};
    return folder + "/" + name + ".desktop";
}

std::string FormatAutostartEntry(const std::string& name, const std::string& command) {
    std::string text = std::string(EntryGroup) + "\n";
    text += "Type=Application\n";
    text += "Version=1.0\n";
    text += "Name=" + EscapeValue(name) + "\n";
    text += "Exec=" + EscapeValue(command) + "\n";
    text += "Terminal=false\n";
    text += "NoDisplay=false\n";
    text += "Hidden=false\n";
    text += "X-GNOME-Autostart-enabled=true\n";
    return text;
}

bool ParseAutostartExec(const std::string& text, std::string& command) {
    std::istringstream in(text);
    std::string line;
    bool inEntryGroup = false;
    while (std::getline(in, line)) {
        const std::string trimmed = TrimBlanks(line);
        if (trimmed.empty() || trimmed[0] == '#') continue;
        if (trimmed[0] == '[') {
            inEntryGroup = trimmed == EntryGroup;
            continue;
        }
        if (!inEntryGroup) continue;
        size_t eq = trimmed.find('=');
        if (eq == std::string::npos || TrimBlanks(trimmed.substr(0, eq)) != "Exec") continue;
        // Blanks after '=' are padding; the value's own leading space is "\s".
        std::string value = line.substr(line.find('=') + 1);
        size_t start = value.find_first_not_of(" \t");
        value = start == std::string::npos ? std::string() : value.substr(start);
        if (!value.empty() && value.back() == '\r') value.pop_back();
        command = UnescapeValue(value);
        return true;
    }
    return false;
}

bool WriteAutostartEntry(const std::string& name, const std::string& command, std::string* error) {
    const std::string path = AutostartEntryPath(name);
    if (path.empty()) {
        if (error) *error = "not a usable autostart entry name";
        return false;
    }
    if (command.find('\0') != std::string::npos) {
        if (error) *error = "a command cannot hold a NUL character";
        return false;
    }
    // A fresh desktop account has no autostart folder yet.
    if (!ForceDirectories(XdgAutostartFolder())) {
        if (error) *error = "cannot create " + XdgAutostartFolder();
        return false;
    }
    return WriteFileAtomic(path, FormatAutostartEntry(name, command), error);
}

bool ReadAutostartCommand(const std::string& name, std::string& command) {
    const std::string path = AutostartEntryPath(name);
    std::string text;
    if (path.empty() || !ReadWholeFile(path, text)) return false;
    return ParseAutostartExec(text, command);
}

bool DeleteAutostartEntry(const std::string& name) {
    const std::string path = AutostartEntryPath(name);
    return !path.empty() && unlink(path.c_str()) == 0;
}

TAutostartPresence AutostartEntryPresence(const std::string& name) {
    const std::string path = AutostartEntryPath(name);
    if (path.empty()) return TAutostartPresence::Absent;
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) return TAutostartPresence::Present;
    return errno == EACCES ? TAutostartPresence::Unknown : TAutostartPresence::Absent;
}
