// TDesktopHost's windows: creating the GTK window of a form, showing the
// composed image, outlines, stacking, opacity, the slide-in and the tooltip.

#include <cmath>

#include "platform/desktop/desktop_window.h"
#include "platform/gfx/text.h"
#include "platform/gui/application.h"

namespace {

gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer data) {
    auto* w = static_cast<TDesktopWindow*>(data);
    if (!w->Image || w->Image->Empty()) return TRUE;
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    if (w->Transparency == TTransparency::Opaque ||
        (w->Transparency == TTransparency::PerPixelAlpha && !w->Host->Composited())) {
        // An opaque window shows its image as is, even on an RGBA visual.
        // Where the screen cannot blend, a translucent window keeps only its
        // mostly opaque pixels (see UpdateShape); they are shown over white,
        // the colour of the floating windows' bodies, so that their soft
        // edges do not turn black.
        if (w->Transparency == TTransparency::Opaque)
            cairo_set_source_rgb(cr, 0, 0, 0);
        else
            cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    }
    cairo_set_source_surface(cr, static_cast<cairo_surface_t*>(w->Image->CairoSurface()), 0, 0);
    cairo_paint(cr);
    if (w->DrawCount++ == 0) NotifyFirstPaint(*w->Host);
    return TRUE;
}

// The pixels of `image` with alpha of at least `minAlpha`, as rectangles of
// row runs.
cairo_region_t* AlphaRegion(const TBitmap32& image, uint32_t minAlpha = 1) {
    cairo_region_t* region = cairo_region_create();
    const uint8_t* data = image.Data();
    for (int y = 0; y < image.Height(); ++y) {
        auto* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * size_t(image.Stride()));
        int x = 0;
        while (x < image.Width()) {
            while (x < image.Width() && (row[x] >> 24) < minAlpha) ++x;
            int start = x;
            while (x < image.Width() && (row[x] >> 24) >= minAlpha) ++x;
            if (x > start) {
                cairo_rectangle_int_t r{start, y, x - start, 1};
                cairo_region_union_rectangle(region, &r);
            }
        }
    }
    return region;
}

// A rounded rectangle as row runs: the pixels whose centres lie inside.
cairo_region_t* RoundRectRegion(int width, int height, int radius) {
    cairo_region_t* region = cairo_region_create();
    radius = std::min(radius, std::min(width, height) / 2);
    for (int y = 0; y < height; ++y) {
        int inset = 0;
        double cy = y + 0.5;
        double dy = cy < radius ? radius - cy : (cy > height - radius ? cy - (height - radius) : 0);
        if (dy > 0) {
            double dx = std::sqrt(std::max(0.0, double(radius) * radius - dy * dy));
            inset = int(std::ceil(radius - dx - 0.5));
        }
        if (width - 2 * inset <= 0) continue;
        cairo_rectangle_int_t r{inset, y, width - 2 * inset, 1};
        cairo_region_union_rectangle(region, &r);
    }
    return region;
}

bool SameRegion(const cairo_region_t* a, const cairo_region_t* b) {
    if (!a || !b) return a == b;
    return cairo_region_equal(a, b);
}

void ReplaceRegion(cairo_region_t*& slot, cairo_region_t* value) {
    if (slot) cairo_region_destroy(slot);
    slot = value;
}

}  // namespace

TDesktopWindow::~TDesktopWindow() {
    if (SlideSource) g_source_remove(SlideSource);
    if (Im) {
        gtk_im_context_set_client_window(Im, nullptr);
        g_object_unref(Im);
    }
    if (Window) gtk_widget_destroy(Window);
    ReplaceRegion(FormShape, nullptr);
    ReplaceRegion(AppliedShape, nullptr);
    ReplaceRegion(AppliedInput, nullptr);
}

void TDesktopWindow::UpdateShape() {
    // Fully transparent pixels let clicks through, as on layered windows;
    // where the screen cannot blend, they are cut out of the window too.
    cairo_region_t* input = nullptr;
    if (Transparency == TTransparency::PerPixelAlpha && Image && !Image->Empty()) input = AlphaRegion(*Image);
    if (FormShape) {
        if (input)
            cairo_region_intersect(input, FormShape);
        else
            input = cairo_region_copy(FormShape);
    }
    cairo_region_t* shape = nullptr;
    if (!Host->Composited()) {
        // Without blending a faint pixel (a shadow) would show as a dark
        // one: only the pixels at least half opaque stay.
        if (Transparency == TTransparency::PerPixelAlpha && Image && !Image->Empty()) {
            shape = AlphaRegion(*Image, 128);
            if (FormShape) cairo_region_intersect(shape, FormShape);
        } else if (input) {
            shape = cairo_region_copy(input);
        }
    } else if (FormShape)
        shape = cairo_region_copy(FormShape);
    if (!SameRegion(input, AppliedInput)) {
        gtk_widget_input_shape_combine_region(Window, input);
        ReplaceRegion(AppliedInput, input ? cairo_region_copy(input) : nullptr);
    }
    if (!SameRegion(shape, AppliedShape)) {
        gtk_widget_shape_combine_region(Window, shape);
        ReplaceRegion(AppliedShape, shape ? cairo_region_copy(shape) : nullptr);
    }
    if (input) cairo_region_destroy(input);
    if (shape) cairo_region_destroy(shape);
}

THostWindow TDesktopHost::CreateWindow(TForm& form) {
    auto w = std::make_unique<TDesktopWindow>();
    w->Host = this;
    w->Id = FNextWindow++;
    w->Form = &form;
    w->Window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GtkWindow* win = GTK_WINDOW(w->Window);
    gtk_window_set_decorated(win, FALSE);
    gtk_widget_set_app_paintable(w->Window, TRUE);
    if (FComposited)
        if (GdkVisual* rgba = gdk_screen_get_rgba_visual(gtk_widget_get_screen(w->Window)))
            gtk_widget_set_visual(w->Window, rgba);
    GtkWidget* overlay = gtk_overlay_new();
    w->Area = gtk_drawing_area_new();
    gtk_widget_set_can_focus(w->Area, TRUE);
    gtk_container_add(GTK_CONTAINER(overlay), w->Area);
    w->Layer = gtk_fixed_new();
    gtk_overlay_add_overlay(GTK_OVERLAY(overlay), w->Layer);
    gtk_overlay_set_overlay_pass_through(GTK_OVERLAY(overlay), w->Layer, TRUE);
    gtk_container_add(GTK_CONTAINER(w->Window), overlay);
    gtk_widget_show_all(overlay);
    g_signal_connect(w->Area, "draw", G_CALLBACK(OnDraw), w.get());
    w->Im = gtk_im_multicontext_new();
    ConnectInput(*w);
    THostWindow id = w->Id;
    FWindows[id] = std::move(w);
    return id;
}

void TDesktopHost::DestroyWindow(THostWindow window) {
    auto it = FWindows.find(window);
    if (it == FWindows.end()) return;
    // Owned windows outlive their owner here: they lose the link, not the life.
    for (auto& [id, other] : FWindows)
        if (other->Owner == window) {
            other->Owner = 0;
            gtk_window_set_transient_for(GTK_WINDOW(other->Window), nullptr);
        }
    FWindows.erase(it);
}

GtkWidget* TDesktopHost::GtkWindowOf(THostWindow window) const {
    TDesktopWindow* w = Find(window);
    return w ? w->Window : nullptr;
}

GtkWidget* TDesktopHost::NativeLayer(THostWindow window) const {
    TDesktopWindow* w = Find(window);
    return w ? w->Layer : nullptr;
}

int TDesktopHost::DrawCount(THostWindow window) const {
    TDesktopWindow* w = Find(window);
    return w ? w->DrawCount : 0;
}

void TDesktopHost::SetBounds(THostWindow window, const TRect& bounds) {
    TDesktopWindow* w = Find(window);
    if (!w) return;
    w->Bounds = bounds;
    if (w->SlideSource) return;  // the slide ends at the form's bounds
    GtkWindow* win = GTK_WINDOW(w->Window);
    gtk_window_move(win, bounds.Left, bounds.Top);
    gtk_widget_set_size_request(w->Area, std::max(1, bounds.Width()), std::max(1, bounds.Height()));
    gtk_window_resize(win, std::max(1, bounds.Width()), std::max(1, bounds.Height()));
}

void TDesktopHost::SetVisible(THostWindow window, bool visible) {
    TDesktopWindow* w = Find(window);
    if (!w || w->Visible == visible) return;
    w->Visible = visible;
    if (!visible) {
        gtk_widget_hide(w->Window);
        return;
    }
    // Mapping again must not land where a window manager put it last time.
    gtk_window_move(GTK_WINDOW(w->Window), w->Bounds.Left, w->Bounds.Top);
    gtk_widget_show(w->Window);
    // Keys go to the framework's controls until a native widget is clicked.
    if (!gtk_window_get_focus(GTK_WINDOW(w->Window))) gtk_widget_grab_focus(w->Area);
    if (w->Activation == TActivation::Normal)
        gtk_window_present_with_time(GTK_WINDOW(w->Window), gtk_get_current_event_time());
    if (w->StayOnTop == TStayOnTop::No) RaiseTopmost();
}

void TDesktopHost::Present(THostWindow window, const TBitmap32& image, const TRect& damage) {
    TDesktopWindow* w = Find(window);
    if (!w) return;
    TRect area = Intersect(damage, image.BoundsRect());
    if (w->Image != &image) area = image.BoundsRect();
    w->Image = &image;
    cairo_surface_mark_dirty_rectangle(static_cast<cairo_surface_t*>(image.CairoSurface()), area.Left, area.Top,
                                       area.Width(), area.Height());
    if (w->Transparency == TTransparency::PerPixelAlpha) w->UpdateShape();
    gtk_widget_queue_draw_area(w->Area, area.Left, area.Top, area.Width(), area.Height());
}

void TDesktopHost::SetShape(THostWindow window, const TWindowShape& shape) {
    TDesktopWindow* w = Find(window);
    if (!w) return;
    cairo_region_t* region = nullptr;
    if (shape.Kind == TShapeKind::RoundRect)
        region = RoundRectRegion(w->Bounds.Width(), w->Bounds.Height(), shape.Radius);
    else if (shape.Kind == TShapeKind::Mask)
        region = AlphaRegion(shape.Mask);
    ReplaceRegion(w->FormShape, region);
    w->UpdateShape();
}

void TDesktopHost::SetOpacity(THostWindow window, uint8_t opacity) {
    // Only a compositing screen can show it; elsewhere the window stays opaque.
    if (TDesktopWindow* w = Find(window)) gtk_widget_set_opacity(w->Window, opacity / 255.0);
}

void TDesktopHost::SetTransparency(THostWindow window, TTransparency mode) {
    TDesktopWindow* w = Find(window);
    if (!w) return;
    w->Transparency = mode;
    w->UpdateShape();
    gtk_widget_queue_draw(w->Area);
}

void TDesktopHost::SetStayOnTop(THostWindow window, TStayOnTop value) {
    TDesktopWindow* w = Find(window);
    if (!w) return;
    w->StayOnTop = value;
    gtk_window_set_keep_above(GTK_WINDOW(w->Window), value == TStayOnTop::Yes);
    if (value == TStayOnTop::Yes) RaiseTopmost();
}

void TDesktopHost::SetOwner(THostWindow window, THostWindow owner) {
    TDesktopWindow* w = Find(window);
    if (!w) return;
    w->Owner = owner;
    TDesktopWindow* o = Find(owner);
    gtk_window_set_transient_for(GTK_WINDOW(w->Window), o ? GTK_WINDOW(o->Window) : nullptr);
}

void TDesktopHost::SetActivation(THostWindow window, TActivation value) {
    TDesktopWindow* w = Find(window);
    if (!w) return;
    w->Activation = value;
    bool normal = value == TActivation::Normal;
    GtkWindow* win = GTK_WINDOW(w->Window);
    gtk_window_set_accept_focus(win, normal);
    gtk_window_set_focus_on_map(win, normal);
    gtk_window_set_skip_taskbar_hint(win, !normal);
    gtk_window_set_skip_pager_hint(win, !normal);
    if (!gtk_widget_get_realized(w->Window))
        gtk_window_set_type_hint(win, normal ? GDK_WINDOW_TYPE_HINT_NORMAL : GDK_WINDOW_TYPE_HINT_UTILITY);
}

void TDesktopHost::SetWindowState(THostWindow window, TWindowState state) {
    TDesktopWindow* w = Find(window);
    if (!w) return;
    if (state == TWindowState::Minimized)
        gtk_window_iconify(GTK_WINDOW(w->Window));
    else
        gtk_window_deiconify(GTK_WINDOW(w->Window));
}

void TDesktopHost::Activate(THostWindow window) {
    TDesktopWindow* w = Find(window);
    if (!w || !w->Visible || w->Activation != TActivation::Normal) return;
    gtk_window_present_with_time(GTK_WINDOW(w->Window), gtk_get_current_event_time());
    if (w->StayOnTop == TStayOnTop::No) RaiseTopmost();
}

void TDesktopHost::RaiseTopmost() {
    for (auto& [id, w] : FWindows) {
        GdkWindow* gdk = gtk_widget_get_window(w->Window);
        if (w->Visible && w->StayOnTop == TStayOnTop::Yes && gdk) gdk_window_raise(gdk);
    }
}

namespace {
gboolean SlideStep(gpointer data) {
    auto* w = static_cast<TDesktopWindow*>(data);
    int64_t elapsed = w->Host->NowMs() - w->SlideStartMs;
    double t = w->SlideDurationMs > 0 ? std::min(1.0, double(elapsed) / w->SlideDurationMs) : 1.0;
    int top = w->SlideFromTop + int(std::lround((w->Bounds.Top - w->SlideFromTop) * t));
    gtk_window_move(GTK_WINDOW(w->Window), w->Bounds.Left, top);
    if (t < 1.0) return G_SOURCE_CONTINUE;
    w->SlideSource = 0;
    return G_SOURCE_REMOVE;
}
}  // namespace

void TDesktopHost::SlideIn(THostWindow window, const TRect& finalBounds, int durationMs) {
    TDesktopWindow* w = Find(window);
    if (!w) return;
    if (w->SlideSource) g_source_remove(w->SlideSource);
    w->SlideSource = 0;
    int fromTop = w->Bounds.Top;
    SetBounds(window, finalBounds);
    if (durationMs > 0 && fromTop != finalBounds.Top) {
        gtk_window_move(GTK_WINDOW(w->Window), finalBounds.Left, fromTop);
        w->SlideFromTop = fromTop;
        w->SlideStartMs = NowMs();
        w->SlideDurationMs = durationMs;
        w->SlideSource = g_timeout_add(15, SlideStep, w);
    }
    if (!w->Visible) {
        w->Visible = true;
        gtk_widget_show(w->Window);
        if (w->Activation == TActivation::Normal) gtk_window_present(GTK_WINDOW(w->Window));
        if (w->StayOnTop == TStayOnTop::No) RaiseTopmost();
    }
}

void TDesktopHost::BeginSystemMove(THostWindow window, TPoint screenPoint) {
    TDesktopWindow* w = Find(window);
    if (!w || !w->Visible) return;
    w->WmMoving = true;
    guint button = 1;
    if (GdkEvent* current = gtk_get_current_event()) {
        guint b = 0;
        if (gdk_event_get_button(current, &b) && b) button = b;
        gdk_event_free(current);
    }
    gtk_window_begin_move_drag(GTK_WINDOW(w->Window), int(button), screenPoint.X, screenPoint.Y,
                               gtk_get_current_event_time());
}

void TDesktopHost::SetCapture(THostWindow, bool) {
    // GTK's implicit grab already sends every pointer event from a press to
    // its release to the pressed window, which is what capture is used for.
}

void TDesktopHost::SetCursor(THostWindow window, TCursor cursor) {
    TDesktopWindow* w = Find(window);
    GdkWindow* gdk = w ? gtk_widget_get_window(w->Area) : nullptr;
    if (!gdk) return;
    const char* name = nullptr;
    switch (cursor) {
        case TCursor::Default: break;
        case TCursor::Arrow: name = "default"; break;
        case TCursor::Hand: name = "pointer"; break;
        case TCursor::IBeam: name = "text"; break;
        case TCursor::Wait: name = "wait"; break;
        case TCursor::SizeAll: name = "move"; break;
        case TCursor::SizeNS: name = "ns-resize"; break;
        case TCursor::SizeWE: name = "ew-resize"; break;
        case TCursor::SizeNWSE: name = "nwse-resize"; break;
        case TCursor::SizeNESW: name = "nesw-resize"; break;
    }
    GdkCursor* c = name ? gdk_cursor_new_from_name(gdk_window_get_display(gdk), name) : nullptr;
    gdk_window_set_cursor(gdk, c);
    if (c) g_object_unref(c);
}

namespace {
gboolean OnHintDraw(GtkWidget*, cairo_t* cr, gpointer data) {
    auto* image = static_cast<TBitmap32*>(data);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, static_cast<cairo_surface_t*>(image->CairoSurface()), 0, 0);
    cairo_paint(cr);
    return TRUE;
}
}  // namespace

void TDesktopHost::ShowHint(const std::string& text, TPoint screenPoint) {
    if (text.empty()) {
        if (FHintWindow) gtk_widget_hide(FHintWindow);
        return;
    }
    if (!FHintWindow) {
        FHintWindow = gtk_window_new(GTK_WINDOW_POPUP);
        gtk_window_set_type_hint(GTK_WINDOW(FHintWindow), GDK_WINDOW_TYPE_HINT_TOOLTIP);
        gtk_widget_set_app_paintable(FHintWindow, TRUE);
        g_signal_connect(FHintWindow, "draw", G_CALLBACK(OnHintDraw), &FHintImage);
    }
    // The tooltip look of the classic desktop: dark text on pale yellow.
    TFont font;
    TPoint size = TextExtent(font, text, tfNoPrefix);
    TRect box{0, 0, size.X + 8, size.Y + 4};
    FHintImage.SetSize(box.Width(), box.Height());
    FHintImage.Clear(Color32(0xFF, 0xFF, 0xE1));
    FHintImage.FrameRect(box, Color32(0x76, 0x76, 0x76));
    DrawText(FHintImage, box, font, text, tfCenter | tfVCenter | tfSingleLine | tfNoPrefix);
    gtk_widget_set_size_request(FHintWindow, box.Width(), box.Height());
    gtk_window_resize(GTK_WINDOW(FHintWindow), box.Width(), box.Height());
    gtk_window_move(GTK_WINDOW(FHintWindow), screenPoint.X, screenPoint.Y);
    gtk_widget_show(FHintWindow);
    gtk_widget_queue_draw(FHintWindow);
}
