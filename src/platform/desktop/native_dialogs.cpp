// Open and save dialogs over GtkFileChooserDialog. The chooser's own checks
// are kept, and ours come on top, so that the options behave the same with
// any GTK version: the default extension is added to a name without one,
// MustExist refuses a missing file, OverwritePrompt asks before replacing.
// A refused Ok leaves the dialog open, as users expect.
#include <sys/stat.h>

#include "platform/desktop/native_common.h"
#include "platform/desktop/native_widgets.h"

using namespace native_detail;

namespace {

std::function<void(TFileDialogKind, TFileDialogAutomation&)> GAutomation;

bool FileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string BaseName(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithDefaultExt(const std::string& path, const std::string& ext) {
    if (ext.empty() || path.empty() || BaseName(path).find('.') != std::string::npos) return path;
    return path + "." + ext;
}

// "Text files|*.txt;*.text|All files|*.*" -> one GtkFileFilter per pair.
std::vector<GtkFileFilter*> AddFilters(GtkFileChooser* chooser, const std::string& filter) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= filter.size() && !filter.empty()) {
        size_t bar = filter.find('|', start);
        parts.push_back(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    std::vector<GtkFileFilter*> filters;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        GtkFileFilter* f = gtk_file_filter_new();
        gtk_file_filter_set_name(f, parts[i].c_str());
        std::string patterns = parts[i + 1] + ";";
        for (size_t p = 0, semi; (semi = patterns.find(';', p)) != std::string::npos; p = semi + 1) {
            std::string pattern = patterns.substr(p, semi - p);
            // "*.*" means every file, also those without a dot.
            if (!pattern.empty()) gtk_file_filter_add_pattern(f, pattern == "*.*" ? "*" : pattern.c_str());
        }
        gtk_file_chooser_add_filter(chooser, f);
        filters.push_back(f);
    }
    return filters;
}

class TFileDialog : public TFileDialogAutomation {
public:
    TFileDialog(TFileDialogKind kind, TFileDialogOptions& options, GtkWindow* parent)
        : FKind(kind), FOptions(options) {
        bool save = kind == TFileDialogKind::Save;
        const char* title = options.Title.empty() ? (save ? "Save" : "Open") : options.Title.c_str();
        FDialog = gtk_file_chooser_dialog_new(title, parent,
                                              save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN,
                                              "_Cancel", GTK_RESPONSE_CANCEL, save ? "_Save" : "_Open",
                                              GTK_RESPONSE_ACCEPT, nullptr);
        gtk_window_set_modal(GTK_WINDOW(FDialog), TRUE);
        gtk_dialog_set_default_response(GTK_DIALOG(FDialog), GTK_RESPONSE_ACCEPT);
        Setup();
        g_signal_connect(FDialog, "response", G_CALLBACK(OnResponse), this);
        // Closing the window answers Cancel through "response"; the dialog
        // itself is never destroyed under us.
        g_signal_connect(FDialog, "delete-event", G_CALLBACK(gtk_true), nullptr);
    }
    ~TFileDialog() override { gtk_widget_destroy(FDialog); }

    TDialogResult Run() {
        gtk_widget_show(FDialog);
        if (GAutomation) GAutomation(FKind, *this);
        while (!FDone) g_main_context_iteration(nullptr, TRUE);
        return FResult;
    }

    void SetFileName(const std::string& nameOrPath) override {
        GtkFileChooser* chooser = GTK_FILE_CHOOSER(FDialog);
        std::string path = nameOrPath;
        if (!path.empty() && path[0] != '/') path = CurrentFolder() + "/" + path;
        FTyped = path;
        if (FKind == TFileDialogKind::Save) {
            std::string folder = path.substr(0, path.rfind('/'));
            gtk_file_chooser_set_current_folder(chooser, folder.empty() ? "/" : folder.c_str());
            gtk_file_chooser_set_current_name(chooser, BaseName(path).c_str());
        } else {
            gtk_file_chooser_set_filename(chooser, path.c_str());
        }
    }
    bool Accept() override {
        FAutomated = true;
        bool done = TryAccept(FTyped.empty() ? ChosenPath() : FTyped);
        FAutomated = false;
        return done;
    }
    void Cancel() override { Finish(TDialogResult::Cancel); }
    std::string LastMessage() const override { return FMessage; }
    void SetOverwriteAnswer(bool overwrite) override { FOverwriteAnswer = overwrite; }

private:
    void Setup() {
        GtkFileChooser* chooser = GTK_FILE_CHOOSER(FDialog);
        FFilters = AddFilters(chooser, FOptions.Filter);
        int index = FOptions.FilterIndex - 1;
        if (index >= 0 && index < int(FFilters.size())) gtk_file_chooser_set_filter(chooser, FFilters[size_t(index)]);
        std::string dir = FOptions.InitialDir;
        std::string name = FOptions.FileName;
        if (name.find('/') != std::string::npos) {
            dir = name.substr(0, name.rfind('/'));
            name = BaseName(name);
        }
        if (!dir.empty()) gtk_file_chooser_set_current_folder(chooser, dir.c_str());
        FFolder = dir;
        if (name.empty()) return;
        if (FKind == TFileDialogKind::Save) gtk_file_chooser_set_current_name(chooser, name.c_str());
        else if (!dir.empty()) gtk_file_chooser_set_filename(chooser, (dir + "/" + name).c_str());
    }
    std::string CurrentFolder() const {
        gchar* folder = gtk_file_chooser_get_current_folder(GTK_FILE_CHOOSER(FDialog));
        std::string result = folder ? folder : FFolder;
        g_free(folder);
        return result;
    }
    std::string ChosenPath() const {
        gchar* file = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(FDialog));
        std::string result = file ? file : "";
        g_free(file);
        return result;
    }
    // The user's answer to a message: Ok or Yes/No as a bool.
    bool Ask(GtkMessageType type, GtkButtonsType buttons, const std::string& text) {
        FMessage = text;
        if (FAutomated) return FOverwriteAnswer;
        GtkWidget* box = gtk_message_dialog_new(GTK_WINDOW(FDialog), GTK_DIALOG_MODAL, type, buttons, "%s",
                                                text.c_str());
        int response = gtk_dialog_run(GTK_DIALOG(box));
        gtk_widget_destroy(box);
        return response == GTK_RESPONSE_YES || response == GTK_RESPONSE_OK;
    }
    bool TryAccept(const std::string& chosen) {
        if (chosen.empty()) return false;
        std::string path = WithDefaultExt(chosen, FOptions.DefaultExt);
        // A name typed without its extension may still name the file as it is.
        if (FKind == TFileDialogKind::Open && !FileExists(path) && FileExists(chosen)) path = chosen;
        bool mustExist = FOptions.MustExist || FKind == TFileDialogKind::Open;
        if (mustExist && !FileExists(path)) {
            Ask(GTK_MESSAGE_WARNING, GTK_BUTTONS_OK, BaseName(path) + "\nFile not found.");
            return false;
        }
        if (FKind == TFileDialogKind::Save && FOptions.OverwritePrompt && FileExists(path) &&
            !Ask(GTK_MESSAGE_QUESTION, GTK_BUTTONS_YES_NO, BaseName(path) + " already exists.\nDo you want to replace it?"))
            return false;
        FOptions.FileName = path;
        GtkFileFilter* filter = gtk_file_chooser_get_filter(GTK_FILE_CHOOSER(FDialog));
        for (size_t i = 0; i < FFilters.size(); i++)
            if (FFilters[i] == filter) FOptions.FilterIndex = int(i) + 1;
        Finish(TDialogResult::Ok);
        return true;
    }
    void Finish(TDialogResult result) {
        FResult = result;
        FDone = true;
        gtk_widget_hide(FDialog);
    }
    static void OnResponse(GtkDialog*, int response, gpointer self) {
        auto* d = static_cast<TFileDialog*>(self);
        if (d->FDone) return;
        if (response == GTK_RESPONSE_ACCEPT) d->TryAccept(d->ChosenPath());
        else d->Finish(TDialogResult::Cancel);
    }

    TFileDialogKind FKind;
    TFileDialogOptions& FOptions;
    GtkWidget* FDialog;
    std::vector<GtkFileFilter*> FFilters;
    std::string FFolder, FTyped, FMessage;
    bool FDone = false, FAutomated = false, FOverwriteAnswer = false;
    TDialogResult FResult = TDialogResult::Cancel;
};

}  // namespace

void SetFileDialogAutomation(std::function<void(TFileDialogKind, TFileDialogAutomation&)> hook) {
    GAutomation = std::move(hook);
}

namespace native_detail {
TDialogResult RunFileDialogOver(TFileDialogKind kind, TFileDialogOptions& options, GtkWindow* parent) {
    TFileDialog dialog(kind, options, parent);
    return dialog.Run();
}
}  // namespace native_detail
