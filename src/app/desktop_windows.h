// The program's windows on the desktop host: GTK opened on the display,
// the application object and the main window over the reminder store.
#pragma once

#include <memory>

#include "app/program_entry.h"

class TApplication;
class TDesktopHost;
class TfrmORMMain;

class TDesktopProgramWindows : public TProgramWindows {
public:
    TDesktopProgramWindows(int* argc, char*** argv);
    ~TDesktopProgramWindows() override;

    bool Open(std::unique_ptr<TRemindFile> store, bool logonStart, std::string& problem) override;
    void Run() override;
    void Post(std::function<void()> call) override;
    TMainWindowShow MainWindowShow() const override;
    void Restore(intptr_t how) override;
    void Quit() override;
    void Close() override;

private:
    int* FArgc;
    char*** FArgv;
    std::unique_ptr<TDesktopHost> FHost;
    std::unique_ptr<TApplication> FApp;
    TfrmORMMain* FMain = nullptr;
    bool FEndAtOnce = false;
    // A start at logon: the main window was created without showing.
    bool FStartHidden = false;
};
