// TfrmORMMain's tray side: the tray icon, the tray menu (also the frame's
// menu-button menu) with its web links, switches and Exit, the wait for a
// tray after a start at logon, and the key hook that gives the menu's
// shortcuts (F1: the help page) to every window of the program.
//
// The Language entry is disabled while the menu is opened from the tray
// icon and enabled when the frame's menu button opens it; closing either
// popup menu enables it again.
#include <exception>

#include "common/about_form_links.h"
#include "common/public_funs.h"
#include "i18n/lang_text.h"
#include "online/server_address.h"
#include "platform/gui/application.h"
#include "platform/gui/timer.h"
#include "skin/orb_form.h"
#include "skin/orb_image.h"
#include "skin/orb_label.h"
#include "skin/orb_popup_menu.h"
#include "skin/skin_artwork.h"
#include "skin/skin_presets.h"
#include "ui/main/main_form.h"

namespace {

constexpr const char* Translation = "Translation";
// The run-at-logon entry's name.
constexpr const char* RunValueName = "OlvoReminder";

// The entries' tags (the language submenu sits under TrayLanguage).
enum : intptr_t {
    TrayHelp = 1,
    TrayForum,
    TrayHome,
    TrayContact,
    TrayUpdates,
    TrayNews,
    TrayLanguage,
    TrayRunOnStartup,
    TrayAbout,
    TrayExit,
};
constexpr int TrayEntryCount = 10;

// The tray pictures at the sizes the program icon is rendered at.
std::vector<TBitmap32> TrayPictures() {
    std::vector<TBitmap32> pictures;
    for (const char* name : {"icon_16", "icon_22", "icon_24", "icon_32", "icon_48", "icon_64"}) {
        TBitmap32 picture = SkinArtwork(name);
        if (!picture.Empty()) pictures.push_back(std::move(picture));
    }
    return pictures;
}

}  // namespace

void TfrmORMMain::BuildTray() {
    FTrayIcon = Application->Host().CreateTrayIcon();
    TrayIcon1 = FTrayIcon.get();
    if (TrayIcon1) {
        TrayIcon1->SetImages(TrayPictures());
        TrayIcon1->SetHint(Caption());
        TrayIcon1->OnClick = [this](TTrayIcon*, TPoint) { TrayIcon1DblClick(this); };
        TrayIcon1->OnRightButtonDown = [this](TTrayIcon*, TPoint p) { TrayIcon1MouseDown(TMouseButton::Right, p); };
        // A tray that appears is news at once; the timer is the fallback
        // for desktops that do not say so.
        TrayIcon1->OnTrayChanged = [this](TTrayIcon*) {
            if (tmr1->Enabled()) tmr1Timer(tmr1);
        };
    }

    auto menuClose = [this](TComponent* sender, bool) { ppmTrayIconMenuClose(sender); };
    ppmTrayIcon = Create<TOrbPopupMenu>();
    ppmTrayIcon->Name = "ppmTrayIcon";
    LoadProgramMenuSkin(*ppmTrayIcon);
    ppmTrayIcon->ItemHeight = 25;
    ppmTrayIcon->MinWidth = 180;
    ppmTrayIcon->OnMenuClose = menuClose;
    fxpmn1 = Create<TOrbPopupMenu>();
    fxpmn1->Name = "fxpmn1";
    LoadProgramMenuSkin(*fxpmn1);
    fxpmn1->MinWidth = 80;
    fxpmn1->OnMenuClose = menuClose;

    fxfrm1->SetBtnPopupMenu(ppmTrayIcon);
    fxfrm1->OnOrbFormBtnMenuClick = [this](TComponent*) {
        // Opened from the window, the Language entry is available.
        if (ppmTrayIcon->Showing()) ppmTrayIcon->CloseMenu(true);
        if (TOrbMenuItem* language = ppmTrayIcon->GetItem(7)) language->SetEnabled(true);
    };
    img1->OnClick = [this](TComponent* sender) { lbl1click(sender); };
    lbl1->Onclick = [this](TComponent* sender) { lbl1click(sender); };
    tmr1->OnTimer = [this](TComponent* sender) { tmr1Timer(sender); };
    // The window's closing takes the icon out of the tray.
    OnClose = [this](TComponent*, TCloseAction&) {
        if (TrayIcon1) TrayIcon1->SetVisible(false);
    };
}

void TfrmORMMain::StartTrayAtCreation() {
    if (!FLogonStart) {
        if (TrayIcon1) TrayIcon1->SetVisible(true);
        StartNewsAtCreation();
        return;
    }
    if (HasActiveReminders()) {
        tmr1->SetEnabled(true);
        return;
    }
    // A start at logon with nothing to remind of leaves no process behind:
    // the close goes ahead (nothing is active) once the loop runs.
    auto alive = Lifetime();
    Application->Defer([this, alive] {
        if (!alive.expired()) Close();
    });
}

void TfrmORMMain::tmr1Timer(TComponent* /*Sender*/) {
    if (!TrayIcon1 || !TrayIcon1->TrayAvailable()) return;
    tmr1->SetEnabled(false);
    TrayIcon1->SetVisible(true);
    StartNewsAtCreation();
}

void TfrmORMMain::InstallAppMessageHook() {
    // The menu's own hook chains over this one while it shows; a hook set
    // before stays behind this one.
    auto previous = Application->OnKeyHook;
    auto alive = Lifetime();
    Application->OnKeyHook = [this, alive, previous](TForm* form, int key, TShiftState shift) {
        if (!alive.expired()) AppMessageHook(key, shift);
        return previous ? previous(form, key, shift) : TKeyHookResult::Pass;
    };
}

void TfrmORMMain::AppMessageHook(int key, TShiftState shift) {
    // Never handled here: the key goes on to its window as usual.
    if (ppmTrayIcon) ppmTrayIcon->HandleShortCut(shift, key);
}

// ---- the tray menu ----

void TfrmORMMain::BuildMenus() {
    ppmTrayIcon->Clear();
    const std::string className = ClassName();
    for (int i = 1; i <= TrayEntryCount; ++i) {
        auto item = std::make_unique<TOrbMenuItem>(
            LangText(Translation, className + ".TrayMenuItem" + std::to_string(i), ""));
        item->Tag = i;
        item->OnClick = [this](TComponent* sender) { TrayMenuClick(sender); };
        TOrbMenuItem* added = ppmTrayIcon->AddItem(std::move(item));
        switch (i) {
            case TrayHelp: added->SetShortCut({vk::F1, ssNone}); break;
            case TrayUpdates: added->SetChecked(FStore->AutoUpdate); break;
            case TrayNews: added->SetChecked(FStore->CheckNews); break;
            case TrayLanguage: AddLanguageItems(*added); break;
            case TrayRunOnStartup:
                added->SetChecked(RegValueExist(HKEY_CURRENT_USER, RunKeyPath, RunValueName, true));
                break;
            default: break;
        }
    }
    ppmTrayIcon->InsertItem(4, std::make_unique<TOrbMenuItem>("-"));
    ppmTrayIcon->InsertItem(8, std::make_unique<TOrbMenuItem>("-"));

    fxpmn1->Clear();
    for (intptr_t tag : {1, 2}) {
        auto item = std::make_unique<TOrbMenuItem>(
            LangText(Translation, "TfrmORMMain.fxpmn.item" + std::to_string(tag), ""));
        item->Tag = tag;
        item->OnClick = [this](TComponent* sender) { BackupMenuClick(sender); };
        fxpmn1->AddItem(std::move(item));
    }
}

std::string TfrmORMMain::ServerPage(const char* path) const { return ServerUrl(LinkServerBase(), path); }

void TfrmORMMain::TrayMenuClick(TComponent* Sender) {
    auto* item = dynamic_cast<TOrbMenuItem*>(Sender);
    if (!item) return;
    try {
        switch (item->Tag) {
            case TrayHelp: OpenURL(this, ServerPage(HelpPagePath)); break;
            case TrayForum: OpenURL(this, ServerPage(ForumPagePath)); break;
            case TrayHome: OpenURL(this, HomePageUrl(LinkServerBase())); break;
            case TrayContact: OpenURL(this, ServerPage(ContactPagePath)); break;
            case TrayUpdates:
                // Governs the check at the next start; none starts now.
                item->SetChecked(!item->Checked());
                FStore->AutoUpdate = item->Checked();
                FStore->SaveConfig();
                break;
            case TrayNews:
                item->SetChecked(!item->Checked());
                FStore->CheckNews = item->Checked();
                FStore->SaveConfig();
                break;
            case TrayRunOnStartup:
                // Failures stay silent: the mark shows what is stored, as
                // a rebuild of the menu would.
                if (item->Checked())
                    RegDeleteVal(HKEY_CURRENT_USER, RunKeyPath, RunValueName);
                else
                    RegWriteStr(HKEY_CURRENT_USER, RunKeyPath, RunValueName, LogonStartCommand());
                item->SetChecked(RegValueExist(HKEY_CURRENT_USER, RunKeyPath, RunValueName, true));
                break;
            case TrayAbout: ShowAbout(); break;
            case TrayExit: ExitProgram(); break;
            default: break;
        }
    } catch (const std::exception& error) {
        // A configuration that cannot be written.
        ReportError(error);
    }
}

void TfrmORMMain::ExitProgram() {
    if (HasActiveReminders()) {
        auto alive = Lifetime();
        const int answer = ShowMsg(LangText("Messages", "ExitApp", ""), BtnSetYesNo, MsgIconQuestion);
        if (alive.expired() || answer != MsgResultYes) return;
    }
    // The close the frame's button only turns into hiding goes ahead now.
    FExiting = true;
    Close();
}

// ---- the icon and the menus' opening and closing ----

void TfrmORMMain::TrayIcon1DblClick(TComponent* /*Sender*/) {
    Show();
    if (WindowState() == TWindowState::Minimized) SetWindowState(TWindowState::Normal);
    Activate();
}

void TfrmORMMain::TrayIcon1MouseDown(TMouseButton button, TPoint screenPoint) {
    if (button != TMouseButton::Right) return;
    // A menu still showing would report its close after the entry was
    // disabled, and so enable it again: it closes first.
    if (ppmTrayIcon->Showing()) ppmTrayIcon->CloseMenu(true);
    if (TOrbMenuItem* language = ppmTrayIcon->GetItem(7)) language->SetEnabled(false);
    ppmTrayIcon->Popup(screenPoint.X, screenPoint.Y);
}

void TfrmORMMain::ppmTrayIconMenuClose(TComponent* /*Sender*/) {
    if (TOrbMenuItem* language = ppmTrayIcon->GetItem(7)) language->SetEnabled(true);
}
