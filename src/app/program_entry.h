// The program's main routine: one running copy, the start-up language, the
// data folder and the reminder store, then the event loop until the program
// is told to end.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TRemindFile;

// How the main window shows, as a later start asks about it.
enum class TMainWindowShow { None, Hidden, Minimized, Normal };

// The windows the program entry runs: the main window over the store and
// the event loop they live in. The desktop program supplies them; without
// them the program runs as a quiet background process (tests of the entry).
class TProgramWindows {
public:
    virtual ~TProgramWindows() = default;
    // Opens the display and creates the main window, which takes the store.
    // False (with a one-line reason) when there is no display to open.
    virtual bool Open(std::unique_ptr<TRemindFile> store, bool logonStart, std::string& problem) = 0;
    // The event loop, until the program is told to end.
    virtual void Run() = 0;
    // Any thread: runs `call` on the user-interface thread soon.
    virtual void Post(std::function<void()> call) = 0;
    // User-interface thread: what a later start finds, and its wake-up
    // (RestoreShow or RestoreFromMinimized).
    virtual TMainWindowShow MainWindowShow() const = 0;
    virtual void Restore(intptr_t how) = 0;
    // User-interface thread: the orderly end a desktop session asks for.
    virtual void Quit() = 0;
    // After Run: saves the configuration (raising EIniFileError when it
    // cannot be written) and frees the windows and the store.
    virtual void Close() = 0;
};

int RunProgram(int argc, char** argv, TProgramWindows* windows = nullptr);

// The first steps of the main window's creation: AppDataPath becomes the
// program's data folder (created with its parents) and the store opens on
// the data file there. The language chosen at start-up becomes the store's
// language, so that a language matched from the user's interface language
// lasts beyond this run.
std::unique_ptr<TRemindFile> OpenReminderStore(const std::string& startupLanguage);
// The data file, while AppDataPath is still the folder above the program's.
std::string DataFilePath();
