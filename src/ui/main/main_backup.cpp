// TfrmORMMain's backup and restore: the small menu under the "Restore"
// link at the top right (img1 and lbl1 open it) and its two entries, which
// run the host's file dialogs and hand the chosen file to the store.
#include <exception>

#include "platform/gui/application.h"
#include "skin/orb_image.h"
#include "skin/orb_popup_menu.h"
#include "ui/main/main_form.h"

namespace {

// Both dialogs offer the data files and suggest the same name.
TFileDialogOptions BackupDialogOptions() {
    TFileDialogOptions options;
    options.Filter = "Olvo Reminder Data|*.dat";
    options.FileName = "olvoreminddata.dat";
    return options;
}

}  // namespace

void TfrmORMMain::lbl1click(TComponent* /*Sender*/) {
    // Under the picture, from its bottom-left corner.
    const TPoint at = img1->ClientToScreen({0, img1->Height()});
    fxpmn1->Popup(at.X, at.Y);
}

void TfrmORMMain::BackupMenuClick(TComponent* Sender) {
    if (!Sender) return;
    THost& host = Application->Host();
    TFileDialogOptions options = BackupDialogOptions();
    try {
        if (Sender->Tag == 1) {
            // No default extension: a name typed without one stays so.
            options.OverwritePrompt = true;
            if (host.RunFileDialog(TFileDialogKind::Save, options, this) != TDialogResult::Ok) return;
            FStore->Backup(options.FileName);
        } else if (Sender->Tag == 2) {
            options.DefaultExt = "dat";
            options.MustExist = true;
            if (host.RunFileDialog(TFileDialogKind::Open, options, this) != TDialogResult::Ok) return;
            FStore->Restore(options.FileName);
            // The tab shown is listed anew with what came back. Listed
            // directly: choosing the tab again would ask to leave an open
            // editor, and a No would keep the restored reminders unlisted.
            FillList(CurrentTab());
        }
    } catch (const std::exception& error) {
        // A backup target or a data file that cannot be written.
        ReportError(error);
    }
}
