// Factories for the native controls of the desktop (GTK) host: each returns
// a real GTK widget (or dialog, clipboard, status icon) behind the small
// interfaces of platform/gui/native_controls.h. Placed controls live in the
// form's native layer (the GtkFixed overlaid on its drawn surface) at form
// coordinates; the desktop host forwards its THost methods to these.
// Everything here runs on the GTK (UI) thread.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/gui/native_controls.h"

class TForm;

// Controls placed in the form's native layer. The form must already have
// its native window (NativeLayerOf(form) non-null).
std::unique_ptr<TNativeTextEditor> CreateDesktopTextEditor(TForm& form);
std::unique_ptr<TNativeDatePicker> CreateDesktopDatePicker(TForm& form);
std::unique_ptr<TNativeTimePicker> CreateDesktopTimePicker(TForm& form);
// WebKit is loaded only when the first web view is made: it is heavy. Null
// when its module (web_view_module.h) cannot be opened.
std::unique_ptr<TNativeWebView> CreateDesktopWebView(TForm& form);

// The tray icon: a status-notifier item while a watcher is on the session
// bus, else a status icon in the XEmbed system tray (sni_tray.h).
std::unique_ptr<TTrayIcon> CreateDesktopTrayIcon();
// Whether some program owns the X tray selection (_NET_SYSTEM_TRAY_S<n>)
// on the default screen, i.e. a tray exists to embed icons into.
bool DesktopTrayHostExists();
// Where a docked icon is on the screen (to place a window by the tray, or
// to click it in tests); false while it is not docked in an XEmbed tray
// (a status-notifier host does not tell).
bool TrayIconScreenArea(const TTrayIcon& icon, TRect& area);

// Modal over the owner's window (when given). On Ok, options.FileName holds
// the chosen path (with DefaultExt added where the options ask for it) and
// options.FilterIndex the filter in use.
TDialogResult RunDesktopFileDialog(TFileDialogKind kind, TFileDialogOptions& options, TForm* owner);

// Test hook: when set, it is called once each file dialog is shown, with
// the dialog kind and a controller to answer it as a user would (no real
// input is needed). Pass an empty function to remove it.
class TFileDialogAutomation {
public:
    virtual ~TFileDialogAutomation() = default;
    // Types a name (a bare name or a full path) into the dialog.
    virtual void SetFileName(const std::string& nameOrPath) = 0;
    // Presses Ok (accept) or Cancel. A rejected accept (a missing file under
    // MustExist, a declined overwrite) leaves the dialog open and Accept
    // returns false; the dialog stays open until Cancel or a good accept.
    virtual bool Accept() = 0;
    virtual void Cancel() = 0;
    // The message of the last rejection shown to the user, or empty.
    virtual std::string LastMessage() const = 0;
    // Answer for the overwrite confirmation the next Accept may raise.
    virtual void SetOverwriteAnswer(bool overwrite) = 0;
};
void SetFileDialogAutomation(std::function<void(TFileDialogKind kind, TFileDialogAutomation& dialog)> hook);

// The CLIPBOARD selection (not PRIMARY): what Ctrl+C / Ctrl+V use.
TClipboard& DesktopClipboard();

// Test hook for code that places controls without a TForm: the same
// factories on any GtkFixed. Declared with an opaque pointer so this header
// does not pull in GTK.
using TNativeLayerHandle = void*;  // a GtkFixed*
std::unique_ptr<TNativeTextEditor> CreateDesktopTextEditorIn(TNativeLayerHandle layer);
std::unique_ptr<TNativeDatePicker> CreateDesktopDatePickerIn(TNativeLayerHandle layer);
std::unique_ptr<TNativeTimePicker> CreateDesktopTimePickerIn(TNativeLayerHandle layer);
std::unique_ptr<TNativeWebView> CreateDesktopWebViewIn(TNativeLayerHandle layer);
