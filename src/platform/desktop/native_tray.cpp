// The tray icon: a GtkStatusIcon, which docks into the desktop's XEmbed
// system tray (the _NET_SYSTEM_TRAY_S<n> selection owner). GtkStatusIcon is
// deprecated because newer desktops dropped XEmbed trays, but it is the way
// to reach the trays that exist; desktops without one need an XEmbed tray
// host (or an extension that provides one) to show the icon.
#include "platform/desktop/native_common.h"
#include "platform/desktop/native_widgets.h"

// X11 last: its macros (None, Status, Bool) clash with names above.
#include <X11/Xlib.h>
#include <gdk/gdkx.h>

G_GNUC_BEGIN_IGNORE_DEPRECATIONS

namespace {

GdkPixbuf* PixbufFromBitmap(const TBitmap32& image) {
    if (image.Empty()) return nullptr;
    // Converts the premultiplied surface to the straight RGBA GdkPixbuf wants.
    return gdk_pixbuf_get_from_surface(static_cast<cairo_surface_t*>(image.CairoSurface()), 0, 0, image.Width(),
                                       image.Height());
}

class TGtkTrayIcon : public TTrayIcon {
public:
    // Hidden from the start: an icon docked and at once hidden again makes
    // GDK complain about its window's update freeze.
    TGtkTrayIcon() : FIcon(GTK_STATUS_ICON(g_object_new(GTK_TYPE_STATUS_ICON, "visible", FALSE, nullptr))) {
        g_signal_connect(FIcon, "button-press-event", G_CALLBACK(OnPress), this);
        g_signal_connect(FIcon, "button-release-event", G_CALLBACK(OnRelease), this);
    }
    ~TGtkTrayIcon() override {
        g_signal_handlers_disconnect_by_data(FIcon, this);
        gtk_status_icon_set_visible(FIcon, FALSE);
        g_object_unref(FIcon);
    }
    TGtkTrayIcon(const TGtkTrayIcon&) = delete;
    TGtkTrayIcon& operator=(const TGtkTrayIcon&) = delete;

    void SetImage(const TBitmap32& image) override {
        GdkPixbuf* pixbuf = PixbufFromBitmap(image);
        if (!pixbuf) return;
        gtk_status_icon_set_from_pixbuf(FIcon, pixbuf);
        g_object_unref(pixbuf);
    }
    void SetHint(const std::string& text) override {
        gtk_status_icon_set_tooltip_text(FIcon, text.empty() ? nullptr : text.c_str());
    }
    void SetVisible(bool visible) override { gtk_status_icon_set_visible(FIcon, visible); }
    bool Visible() const override { return gtk_status_icon_get_visible(FIcon); }
    bool Embedded() const override { return Visible() && gtk_status_icon_is_embedded(FIcon); }
    bool ScreenArea(TRect& area) const {
        GdkRectangle r{};
        if (!Embedded() || !gtk_status_icon_get_geometry(FIcon, nullptr, &r, nullptr)) return false;
        area = {r.x, r.y, r.x + r.width, r.y + r.height};
        return true;
    }

private:
    static TPoint RootPoint(const GdkEventButton* event) { return {int(event->x_root), int(event->y_root)}; }
    static gboolean OnPress(GtkStatusIcon*, GdkEventButton* event, gpointer self) {
        auto* icon = static_cast<TGtkTrayIcon*>(self);
        if (event->type != GDK_BUTTON_PRESS) return FALSE;  // not the extra press of a double click
        if (event->button == 1) icon->FLeftDown = true;
        if (event->button == 3 && icon->OnRightButtonDown) icon->OnRightButtonDown(icon, RootPoint(event));
        return event->button == 3;  // GTK has nothing to do with it: no "popup-menu"
    }
    // A click is a left press and release on the icon.
    static gboolean OnRelease(GtkStatusIcon*, GdkEventButton* event, gpointer self) {
        auto* icon = static_cast<TGtkTrayIcon*>(self);
        if (event->button != 1 || !icon->FLeftDown) return FALSE;
        icon->FLeftDown = false;
        if (icon->OnClick) icon->OnClick(icon, RootPoint(event));
        return FALSE;
    }

    GtkStatusIcon* FIcon;
    bool FLeftDown = false;
};

}  // namespace

G_GNUC_END_IGNORE_DEPRECATIONS

std::unique_ptr<TTrayIcon> CreateDesktopTrayIcon() { return std::make_unique<TGtkTrayIcon>(); }

bool TrayIconScreenArea(const TTrayIcon& icon, TRect& area) {
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    auto* gtkIcon = dynamic_cast<const TGtkTrayIcon*>(&icon);
    bool known = gtkIcon && gtkIcon->ScreenArea(area);
    G_GNUC_END_IGNORE_DEPRECATIONS
    return known;
}

bool DesktopTrayHostExists() {
    GdkDisplay* display = gdk_display_get_default();
    if (!display || !GDK_IS_X11_DISPLAY(display)) return false;
    Display* x = GDK_DISPLAY_XDISPLAY(display);
    std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(x));
    Atom selection = XInternAtom(x, name.c_str(), False);
    return XGetSelectionOwner(x, selection) != None;
}
