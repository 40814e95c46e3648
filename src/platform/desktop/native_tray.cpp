// The tray icon of the desktop host. Current panels show tray icons as
// status-notifier items on the session bus (sni_item.h); older ones, and
// stand-alone tray hosts, embed a small X window in an XEmbed tray (the
// _NET_SYSTEM_TRAY_S<n> selection owner), which GtkStatusIcon provides. The
// icon is an item while a watcher owns its name on the bus and an XEmbed
// icon otherwise, moving between the two as watchers come and go; whether
// any tray exists is checked each second and reported through
// OnTrayChanged.
#include "platform/desktop/native_common.h"
#include "platform/desktop/native_widgets.h"
#include "platform/desktop/sni_icon.h"
#include "platform/desktop/sni_item.h"
#include "platform/desktop/sni_tray.h"

// X11 last: its macros (None, Status, Bool) clash with names above.
#include <X11/Xlib.h>
#include <gdk/gdkx.h>

namespace {

GdkPixbuf* PixbufFromBitmap(const TBitmap32& image) {
    if (image.Empty()) return nullptr;
    // Converts the premultiplied surface to the straight RGBA GdkPixbuf wants.
    return gdk_pixbuf_get_from_surface(static_cast<cairo_surface_t*>(image.CairoSurface()), 0, 0, image.Width(),
                                       image.Height());
}

TPoint PointerPosition() {
    GdkDisplay* display = gdk_display_get_default();
    GdkSeat* seat = display ? gdk_display_get_default_seat(display) : nullptr;
    GdkDevice* pointer = seat ? gdk_seat_get_pointer(seat) : nullptr;
    int x = 0, y = 0;
    if (pointer) gdk_device_get_position(pointer, nullptr, &x, &y);
    return {x, y};
}

G_GNUC_BEGIN_IGNORE_DEPRECATIONS

// The icon in an XEmbed tray. It is made already visible when it is to be
// shown and dropped when hidden: GtkStatusIcon realizes and docks its plug
// window as it is made, and a plug unrealized while its dock request is on
// its way and then realized again is mapped by the tray with GDK's update
// freeze out of balance ("gdk_window_thaw_toplevel_updates: assertion ...
// failed"). A fresh icon for every showing never goes through that.
class TXEmbedIcon {
public:
    TXEmbedIcon(const std::vector<TBitmap32>& images, const std::string& hint, std::function<void(TPoint)> click,
                std::function<void(TPoint)> rightDown)
        : FImages(images), FClick(std::move(click)), FRightDown(std::move(rightDown)) {
        GdkPixbuf* pixbuf = PixbufFromBitmap(IconAtSize(FImages, 24));
        FIcon = GTK_STATUS_ICON(g_object_new(GTK_TYPE_STATUS_ICON, "visible", TRUE, "pixbuf", pixbuf,
                                             "tooltip-text", hint.empty() ? nullptr : hint.c_str(), nullptr));
        if (pixbuf) g_object_unref(pixbuf);
        g_signal_connect(FIcon, "button-press-event", G_CALLBACK(OnPress), this);
        g_signal_connect(FIcon, "button-release-event", G_CALLBACK(OnRelease), this);
        g_signal_connect(FIcon, "size-changed", G_CALLBACK(OnSizeChanged), this);
    }
    ~TXEmbedIcon() {
        g_signal_handlers_disconnect_by_data(FIcon, this);
        gtk_status_icon_set_visible(FIcon, FALSE);
        g_object_unref(FIcon);
    }
    TXEmbedIcon(const TXEmbedIcon&) = delete;
    TXEmbedIcon& operator=(const TXEmbedIcon&) = delete;

    void SetImages(const std::vector<TBitmap32>& images) {
        FImages = images;
        int size = gtk_status_icon_get_size(FIcon);
        ShowImage(size > 0 ? size : 24);
    }
    void SetHint(const std::string& text) {
        gtk_status_icon_set_tooltip_text(FIcon, text.empty() ? nullptr : text.c_str());
    }
    bool Embedded() const { return gtk_status_icon_is_embedded(FIcon); }
    bool ScreenArea(TRect& area) const {
        GdkRectangle r{};
        if (!Embedded() || !gtk_status_icon_get_geometry(FIcon, nullptr, &r, nullptr)) return false;
        area = {r.x, r.y, r.x + r.width, r.y + r.height};
        return true;
    }

private:
    void ShowImage(int size) {
        GdkPixbuf* pixbuf = PixbufFromBitmap(IconAtSize(FImages, size));
        if (!pixbuf) return;
        gtk_status_icon_set_from_pixbuf(FIcon, pixbuf);
        g_object_unref(pixbuf);
    }
    // The tray gives the size it shows; a picture drawn for it beats one
    // GTK scales on the fly.
    static gboolean OnSizeChanged(GtkStatusIcon*, gint size, gpointer self) {
        if (size <= 0) return FALSE;
        static_cast<TXEmbedIcon*>(self)->ShowImage(size);
        return TRUE;
    }
    static TPoint RootPoint(const GdkEventButton* event) { return {int(event->x_root), int(event->y_root)}; }
    static gboolean OnPress(GtkStatusIcon*, GdkEventButton* event, gpointer self) {
        auto* icon = static_cast<TXEmbedIcon*>(self);
        if (event->type != GDK_BUTTON_PRESS) return FALSE;  // not the extra press of a double click
        if (event->button == 1) icon->FLeftDown = true;
        if (event->button == 3 && icon->FRightDown) icon->FRightDown(RootPoint(event));
        return event->button == 3;  // GTK has nothing to do with it: no "popup-menu"
    }
    // A click is a left press and release on the icon.
    static gboolean OnRelease(GtkStatusIcon*, GdkEventButton* event, gpointer self) {
        auto* icon = static_cast<TXEmbedIcon*>(self);
        if (event->button != 1 || !icon->FLeftDown) return FALSE;
        icon->FLeftDown = false;
        if (icon->FClick) icon->FClick(RootPoint(event));
        return FALSE;
    }

    GtkStatusIcon* FIcon = nullptr;
    std::vector<TBitmap32> FImages;
    std::function<void(TPoint)> FClick, FRightDown;
    bool FLeftDown = false;
};

G_GNUC_END_IGNORE_DEPRECATIONS

class TDesktopTrayIcon : public TTrayIcon {
public:
    TDesktopTrayIcon() {
        FSni.OnActivate = [this](TPoint p) { Click(p); };
        FSni.OnContextMenu = [this](TPoint p) { RightButtonDown(p); };
        FSni.OnStateChanged = [this] { Apply(); };
        FTrayAvailable = TrayAvailable();
        FPoll = g_timeout_add(1000, &TDesktopTrayIcon::Poll, this);
    }
    ~TDesktopTrayIcon() override {
        g_source_remove(FPoll);
        FSni.OnStateChanged = nullptr;
    }
    TDesktopTrayIcon(const TDesktopTrayIcon&) = delete;
    TDesktopTrayIcon& operator=(const TDesktopTrayIcon&) = delete;

    void SetImage(const TBitmap32& image) override { SetImages({image}); }
    void SetImages(const std::vector<TBitmap32>& images) override {
        FImages = images;
        FSni.SetIcon(images);
        if (FXEmbed) FXEmbed->SetImages(images);
    }
    void SetHint(const std::string& text) override {
        FHint = text;
        FSni.SetToolTip(text);
        if (FXEmbed) FXEmbed->SetHint(text);
    }
    void SetVisible(bool visible) override {
        if (visible == FVisible) return;
        FVisible = visible;
        Apply();
    }
    bool Visible() const override { return FVisible; }
    bool Embedded() const override {
        if (!FVisible) return false;
        if (Kind() == TTrayKind::StatusNotifier) return FSni.Registered() && FSni.HostRegistered();
        return FXEmbed && FXEmbed->Embedded();
    }
    bool TrayAvailable() const override { return FSni.HostRegistered() || DesktopTrayHostExists(); }

    // A watcher whose host has not (or no longer) registered shows nothing:
    // where an XEmbed tray is there, the icon goes there meanwhile.
    TTrayKind Kind() const {
        return FSni.Connected() && FSni.WatcherPresent() && (FSni.HostRegistered() || !DesktopTrayHostExists())
                   ? TTrayKind::StatusNotifier
                   : TTrayKind::XEmbed;
    }
    bool ScreenArea(TRect& area) const {
        return Kind() == TTrayKind::XEmbed && FXEmbed && FXEmbed->ScreenArea(area);
    }

private:
    // Shows the icon through the kind of tray there is now. Publishing or
    // withdrawing the item reports a state change, which lands here again.
    void Apply() {
        if (FApplying) return;
        FApplying = true;
        bool sni = Kind() == TTrayKind::StatusNotifier;
        FAppliedKind = sni ? TTrayKind::StatusNotifier : TTrayKind::XEmbed;
        FSni.SetPublished(FVisible && sni);
        if (FVisible && !sni && !FXEmbed)
            FXEmbed = std::make_unique<TXEmbedIcon>(
                FImages, FHint, [this](TPoint p) { Click(p); }, [this](TPoint p) { RightButtonDown(p); });
        else if (!(FVisible && !sni))
            FXEmbed.reset();
        FApplying = false;
        CheckTray();
    }
    // Last in every path: the handler may free this icon.
    void CheckTray() {
        bool available = TrayAvailable();
        if (available == FTrayAvailable) return;
        FTrayAvailable = available;
        if (OnTrayChanged) OnTrayChanged(this);
    }
    static gboolean Poll(gpointer self) {
        auto* icon = static_cast<TDesktopTrayIcon*>(self);
        // An XEmbed tray that came or went can change where the icon goes.
        if (icon->FVisible && icon->Kind() != icon->FAppliedKind)
            icon->Apply();
        else
            icon->CheckTray();
        return G_SOURCE_CONTINUE;
    }
    // Some panels give no position (0, 0); the pointer is where the user
    // clicked, which is where a menu belongs.
    static TPoint ClickPoint(TPoint given) { return given.X == 0 && given.Y == 0 ? PointerPosition() : given; }
    void Click(TPoint p) {
        if (OnClick) OnClick(this, ClickPoint(p));
    }
    void RightButtonDown(TPoint p) {
        if (OnRightButtonDown) OnRightButtonDown(this, ClickPoint(p));
    }

    TSniItem FSni;
    std::unique_ptr<TXEmbedIcon> FXEmbed;
    std::vector<TBitmap32> FImages;
    std::string FHint;
    bool FVisible = false;
    bool FApplying = false;
    TTrayKind FAppliedKind = TTrayKind::XEmbed;
    bool FTrayAvailable = false;
    guint FPoll = 0;
};

}  // namespace

std::unique_ptr<TTrayIcon> CreateDesktopTrayIcon() { return std::make_unique<TDesktopTrayIcon>(); }

TTrayKind DesktopTrayKind(const TTrayIcon& icon) {
    auto* desktop = dynamic_cast<const TDesktopTrayIcon*>(&icon);
    return desktop ? desktop->Kind() : TTrayKind::XEmbed;
}

bool TrayIconScreenArea(const TTrayIcon& icon, TRect& area) {
    auto* desktop = dynamic_cast<const TDesktopTrayIcon*>(&icon);
    return desktop && desktop->ScreenArea(area);
}

bool DesktopTrayHostExists() {
    GdkDisplay* display = gdk_display_get_default();
    if (!display || !GDK_IS_X11_DISPLAY(display)) return false;
    Display* x = GDK_DISPLAY_XDISPLAY(display);
    std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(x));
    Atom selection = XInternAtom(x, name.c_str(), False);
    return XGetSelectionOwner(x, selection) != None;
}
