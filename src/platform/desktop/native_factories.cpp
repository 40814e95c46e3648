// The form-facing factories: find the form's native layer (or window) and
// build the control there.
#include "platform/desktop/desktop_host.h"
#include "platform/desktop/native_common.h"
#include "platform/desktop/native_widgets.h"

using namespace native_detail;

namespace {
GtkWidget* LayerOrNull(TForm& form) {
    GtkWidget* layer = NativeLayerOf(form);
    // Creating controls before the form's window exists is a caller fault.
    g_return_val_if_fail(layer != nullptr, nullptr);
    return layer;
}
}  // namespace

std::unique_ptr<TNativeTextEditor> CreateDesktopTextEditor(TForm& form) {
    GtkWidget* layer = LayerOrNull(form);
    return layer ? CreateDesktopTextEditorIn(layer) : nullptr;
}
std::unique_ptr<TNativeDatePicker> CreateDesktopDatePicker(TForm& form) {
    GtkWidget* layer = LayerOrNull(form);
    return layer ? CreateDesktopDatePickerIn(layer) : nullptr;
}
std::unique_ptr<TNativeTimePicker> CreateDesktopTimePicker(TForm& form) {
    GtkWidget* layer = LayerOrNull(form);
    return layer ? CreateDesktopTimePickerIn(layer) : nullptr;
}
std::unique_ptr<TNativeWebView> CreateDesktopWebView(TForm& form) {
    GtkWidget* layer = LayerOrNull(form);
    return layer ? CreateDesktopWebViewIn(layer) : nullptr;
}

TDialogResult RunDesktopFileDialog(TFileDialogKind kind, TFileDialogOptions& options, TForm* owner) {
    GtkWidget* layer = owner ? NativeLayerOf(*owner) : nullptr;
    GtkWidget* top = layer ? gtk_widget_get_toplevel(layer) : nullptr;
    return RunFileDialogOver(kind, options, GTK_IS_WINDOW(top) ? GTK_WINDOW(top) : nullptr);
}
