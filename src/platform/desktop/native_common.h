// Shared pieces of the GTK native controls: the placement of a widget in a
// form's native layer (the GtkFixed over the drawn surface) and the
// conversion of fonts and colours to GTK's CSS. Internal to the desktop host.
#pragma once

#include <gtk/gtk.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/gfx/font.h"
#include "platform/gui/native_controls.h"

namespace native_detail {

// CSS colour "rgb(r,g,b)" of a 0x00BBGGRR colour (system colours included).
std::string CssColor(TColor color);
// CSS declarations (no selector) for a font: family, size, weight, style.
std::string CssFont(const TFont& font);
// Replaces the widget's private style sheet (one per widget, so controls
// never restyle each other).
void SetWidgetCss(GtkWidget* widget, const std::string& css);

// True when `widget` or one of its descendants is its window's focus widget.
// Inline: the web view module places its view with TPlaced too, and links
// nothing of the program.
inline bool HoldsFocus(GtkWidget* widget) {
    GtkWidget* top = gtk_widget_get_toplevel(widget);
    if (!GTK_IS_WINDOW(top)) return false;
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(top));
    return focus && (focus == widget || gtk_widget_is_ancestor(focus, widget));
}

// A native control whose root widget sits in a GtkFixed. The root is
// destroyed with the control; if the layer (with its window) went first,
// the weak pointer has cleared it and the control becomes inert.
template <class Base>
class TPlaced : public Base {
public:
    TPlaced(GtkWidget* layer, GtkWidget* root, GtkWidget* focusTarget)
        : FRoot(root), FFocusTarget(focusTarget) {
        gtk_fixed_put(GTK_FIXED(layer), FRoot, 0, 0);
        g_object_add_weak_pointer(G_OBJECT(FRoot), reinterpret_cast<gpointer*>(&FRoot));
        gtk_widget_show_all(FRoot);
    }
    ~TPlaced() override {
        // No handler may reach the half-destroyed control while its widgets go.
        for (gpointer instance : FConnected)
            if (G_IS_OBJECT(instance)) g_signal_handlers_disconnect_by_data(instance, this);
        for (gpointer instance : FConnected) g_object_unref(instance);
        if (!FRoot) return;
        g_object_remove_weak_pointer(G_OBJECT(FRoot), reinterpret_cast<gpointer*>(&FRoot));
        gtk_widget_destroy(FRoot);
    }
    TPlaced(const TPlaced&) = delete;
    TPlaced& operator=(const TPlaced&) = delete;

    void SetBounds(const TRect& formRect) override {
        if (!FRoot) return;
        GtkWidget* layer = gtk_widget_get_parent(FRoot);
        if (GTK_IS_FIXED(layer)) gtk_fixed_move(GTK_FIXED(layer), FRoot, formRect.Left, formRect.Top);
        // A size request is a minimum: a control never gets smaller than its
        // theme allows, which keeps it usable at tiny bounds.
        gtk_widget_set_size_request(FRoot, std::max(1, formRect.Width()), std::max(1, formRect.Height()));
    }
    void SetVisible(bool visible) override {
        if (FRoot) gtk_widget_set_visible(FRoot, visible);
    }
    void SetEnabled(bool enabled) override {
        if (FRoot) gtk_widget_set_sensitive(FRoot, enabled);
    }
    void SetFocus() override {
        if (FRoot && gtk_widget_get_visible(FRoot) && gtk_widget_is_sensitive(FRoot))
            gtk_widget_grab_focus(FFocusTarget);
    }
    bool Focused() const override { return FRoot && HoldsFocus(FRoot); }

protected:
    // Connects a handler whose data is this control; it is disconnected
    // before the widgets are destroyed.
    gulong Connect(gpointer instance, const char* signal, GCallback handler) {
        FConnected.push_back(g_object_ref(instance));
        return g_signal_connect(instance, signal, handler, this);
    }

    GtkWidget* FRoot;
    GtkWidget* FFocusTarget;
    std::vector<gpointer> FConnected;
};

// The file dialog, modal over `parent` (may be null).
TDialogResult RunFileDialogOver(TFileDialogKind kind, TFileDialogOptions& options, GtkWindow* parent);

}  // namespace native_detail
