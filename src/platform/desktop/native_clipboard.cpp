// The CLIPBOARD selection through GtkClipboard. Reading waits for the owner
// (a nested loop on the UI thread), as a paste does.
#include "platform/desktop/native_common.h"
#include "platform/desktop/native_widgets.h"

namespace {

class TGtkClipboard : public TClipboard {
public:
    std::string Text() const override {
        gchar* text = gtk_clipboard_wait_for_text(Get());
        std::string result = text ? text : "";
        g_free(text);
        return result;
    }
    void SetText(const std::string& utf8) override {
        GtkClipboard* clipboard = Get();
        gtk_clipboard_set_text(clipboard, utf8.c_str(), int(utf8.size()));
        // A clipboard manager, where one runs, keeps the text after we exit.
        gtk_clipboard_set_can_store(clipboard, nullptr, 0);
    }

private:
    static GtkClipboard* Get() { return gtk_clipboard_get(GDK_SELECTION_CLIPBOARD); }
};

}  // namespace

TClipboard& DesktopClipboard() {
    static TGtkClipboard clipboard;
    return clipboard;
}
