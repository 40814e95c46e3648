// Starting other programs without waiting for them: the stand-in for the
// shell's "open" verb (the desktop's default handler through xdg-open) and
// the detached start it is built on.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Starts argv[0] (looked up in PATH) with the given arguments, no shell
// involved. The child runs in a session of its own with standard input and
// output on /dev/null and none of our other open files; it is reaped in the
// background so it never lingers as a zombie. Returns at once: true when the
// program was started, else false with the reason in `error`.
bool StartDetached(const std::vector<std::string>& argv, std::string* error = nullptr);

// Hands a target (web address, mailto: link, file path) to xdg-open. The
// target goes through unchanged as one argument, except that a relative file
// name beginning with '-' that exists is passed as "./<name>" so it cannot
// read as an option.
bool ShellOpen(const std::string& target, std::string* error = nullptr);

// Lets a test see what would be opened without starting anything: while a
// hook is set, ShellOpen hands the target to it instead of xdg-open and
// returns its answer. An empty hook restores the real opener; the previous
// hook is returned.
using TShellOpenHook = std::function<bool(const std::string& target)>;
TShellOpenHook SetShellOpenHook(TShellOpenHook hook);
