#include "app/desktop_windows.h"

#include "app/instance_wakeup.h"
#include "platform/desktop/desktop_host.h"
#include "platform/gui/application.h"
#include "store/remind_file.h"
#include "ui/main/main_form.h"

TDesktopProgramWindows::TDesktopProgramWindows(int* argc, char*** argv) : FArgc(argc), FArgv(argv) {}

TDesktopProgramWindows::~TDesktopProgramWindows() {
    // Forms go before the application, the application before its host.
    FApp.reset();
    FHost.reset();
}

bool TDesktopProgramWindows::Open(std::unique_ptr<TRemindFile> store, bool logonStart, std::string& problem) {
    if (!StartDesktop(FArgc, FArgv)) {
        problem = "cannot open the display (is DISPLAY set?)";
        return false;
    }
    FHost = std::make_unique<TDesktopHost>();
    FApp = std::make_unique<TApplication>(*FHost);
    FMain = FApp->CreateForm<TfrmORMMain>(std::move(store));
    // A start at logon with nothing left to remind leaves no process behind.
    if (logonStart && !FMain->HasActiveReminders()) {
        FEndAtOnce = true;
        return true;
    }
    FMain->SetLogonStart(logonStart);
    if (logonStart) {
        // Created without showing: the window waits for a tray, and the
        // loop must not show it either.
        FMain->LoadWithoutShowing();
        FStartHidden = true;
        return true;
    }
    FMain->Show();
    return true;
}

void TDesktopProgramWindows::Run() {
    if (FEndAtOnce || !FApp) return;
    if (!FStartHidden) {
        FApp->Run();
        return;
    }
    // The application's Run would show the hidden main window.
    TApplication* app = FApp.get();
    FHost->RunLoop(nullptr, [app] { return app->Terminated(); });
}

void TDesktopProgramWindows::Post(std::function<void()> call) {
    if (FApp) FApp->Defer(std::move(call));
}

TMainWindowShow TDesktopProgramWindows::MainWindowShow() const {
    if (!FMain) return TMainWindowShow::None;
    if (!FMain->Visible()) return TMainWindowShow::Hidden;
    if (FMain->WindowState() == TWindowState::Minimized) return TMainWindowShow::Minimized;
    return TMainWindowShow::Normal;
}

void TDesktopProgramWindows::Restore(intptr_t how) {
    if (!FMain) return;
    if (how == RestoreShow) {
        FMain->Show();
        FMain->Activate();
    } else if (how == RestoreFromMinimized) {
        FMain->SetWindowState(TWindowState::Normal);
        FMain->Activate();
    }
}

void TDesktopProgramWindows::Quit() {
    if (FApp) FApp->Terminate();
}

void TDesktopProgramWindows::Close() {
    if (FMain) FMain->Store().SaveConfig();
    FMain = nullptr;
    FApp.reset();
    FHost.reset();
}
