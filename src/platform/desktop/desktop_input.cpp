// GDK input to the form: buttons (with our own double-click rule), motion,
// wheel, crossing, keys mapped to the virtual key codes, characters through
// the input method, focus as activation, close requests and system moves.
#include <cmath>

#include "platform/desktop/desktop_window.h"
#include "platform/gui/application.h"

namespace {

TShiftState ShiftOf(guint state) {
    TShiftState s = ssNone;
    if (state & GDK_SHIFT_MASK) s |= ssShift;
    if (state & GDK_CONTROL_MASK) s |= ssCtrl;
    if (state & GDK_MOD1_MASK) s |= ssAlt;
    if (state & GDK_BUTTON1_MASK) s |= ssLeft;
    if (state & GDK_BUTTON3_MASK) s |= ssRight;
    if (state & GDK_BUTTON2_MASK) s |= ssMiddle;
    return s;
}

bool ButtonOf(guint button, TMouseButton& out) {
    switch (button) {
        case 1: out = TMouseButton::Left; return true;
        case 2: out = TMouseButton::Middle; return true;
        case 3: out = TMouseButton::Right; return true;
        default: return false;
    }
}

TShiftState ButtonBit(TMouseButton b) {
    return b == TMouseButton::Left ? ssLeft : b == TMouseButton::Right ? ssRight : ssMiddle;
}

TPoint PointOf(double x, double y) { return {int(std::floor(x)), int(std::floor(y))}; }

// Everything an input event caused runs before the next event is read.
void AfterInput() {
    if (Application) Application->DispatchPending();
}

int KeyPunctuation(guint keyval) {
    switch (keyval) {
        case GDK_KEY_semicolon: case GDK_KEY_colon: return 0xBA;
        case GDK_KEY_equal: case GDK_KEY_plus: return 0xBB;
        case GDK_KEY_comma: case GDK_KEY_less: return 0xBC;
        case GDK_KEY_minus: case GDK_KEY_underscore: return 0xBD;
        case GDK_KEY_period: case GDK_KEY_greater: return 0xBE;
        case GDK_KEY_slash: case GDK_KEY_question: return 0xBF;
        case GDK_KEY_grave: case GDK_KEY_asciitilde: return 0xC0;
        case GDK_KEY_bracketleft: case GDK_KEY_braceleft: return 0xDB;
        case GDK_KEY_backslash: case GDK_KEY_bar: return 0xDC;
        case GDK_KEY_bracketright: case GDK_KEY_braceright: return 0xDD;
        case GDK_KEY_apostrophe: case GDK_KEY_quotedbl: return 0xDE;
        default: return 0;
    }
}

}  // namespace

// The virtual key code of a GDK key value; 0 for keys without one.
int VirtualKeyOf(guint keyval) {
    if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z) return int(keyval - GDK_KEY_a) + 'A';
    if (keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z) return int(keyval - GDK_KEY_A) + 'A';
    if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) return int(keyval - GDK_KEY_0) + '0';
    if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F24) return vk::F1 + int(keyval - GDK_KEY_F1);
    if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9) return 0x60 + int(keyval - GDK_KEY_KP_0);
    switch (keyval) {
        case GDK_KEY_BackSpace: return vk::Back;
        case GDK_KEY_Tab: case GDK_KEY_ISO_Left_Tab: return vk::Tab;
        case GDK_KEY_Return: case GDK_KEY_KP_Enter: return vk::Return;
        case GDK_KEY_Shift_L: case GDK_KEY_Shift_R: return vk::Shift;
        case GDK_KEY_Control_L: case GDK_KEY_Control_R: return vk::Control;
        case GDK_KEY_Alt_L: case GDK_KEY_Alt_R: case GDK_KEY_Meta_L: return vk::Menu;
        case GDK_KEY_Pause: return 0x13;
        case GDK_KEY_Caps_Lock: return 0x14;
        case GDK_KEY_Escape: return vk::Escape;
        case GDK_KEY_space: case GDK_KEY_KP_Space: return vk::Space;
        case GDK_KEY_Page_Up: case GDK_KEY_KP_Page_Up: return vk::Prior;
        case GDK_KEY_Page_Down: case GDK_KEY_KP_Page_Down: return vk::Next;
        case GDK_KEY_End: case GDK_KEY_KP_End: return vk::End;
        case GDK_KEY_Home: case GDK_KEY_KP_Home: return vk::Home;
        case GDK_KEY_Left: case GDK_KEY_KP_Left: return vk::Left;
        case GDK_KEY_Up: case GDK_KEY_KP_Up: return vk::Up;
        case GDK_KEY_Right: case GDK_KEY_KP_Right: return vk::Right;
        case GDK_KEY_Down: case GDK_KEY_KP_Down: return vk::Down;
        case GDK_KEY_Insert: case GDK_KEY_KP_Insert: return vk::Insert;
        case GDK_KEY_Delete: case GDK_KEY_KP_Delete: return vk::Delete;
        case GDK_KEY_KP_Multiply: return 0x6A;
        case GDK_KEY_KP_Add: return 0x6B;
        case GDK_KEY_KP_Subtract: return 0x6D;
        case GDK_KEY_KP_Decimal: return 0x6E;
        case GDK_KEY_KP_Divide: return 0x6F;
        case GDK_KEY_Num_Lock: return 0x90;
        case GDK_KEY_Menu: return 0x5D;
        default: return KeyPunctuation(keyval);
    }
}

namespace {

// GTK reports the second press of a double click as a plain press followed
// by a 2BUTTON event; the framework wants that press marked. The rule is the
// desktop's: same button, within the double-click time and distance, and
// not the press after a double click (that starts a new pair).
bool IsDoublePress(TDesktopWindow& w, const GdkEventButton* e) {
    GtkSettings* settings = gtk_settings_get_default();
    int timeMs = 400, distance = 5;
    g_object_get(settings, "gtk-double-click-time", &timeMs, "gtk-double-click-distance", &distance, nullptr);
    bool isDouble = !w.LastPressWasDouble && e->button == w.LastPressButton &&
                    e->time - w.LastPressTime <= guint32(timeMs) && std::fabs(e->x_root - w.LastPressX) <= distance &&
                    std::fabs(e->y_root - w.LastPressY) <= distance;
    w.LastPressTime = e->time;
    w.LastPressX = e->x_root;
    w.LastPressY = e->y_root;
    w.LastPressButton = e->button;
    w.LastPressWasDouble = isDouble;
    return isDouble;
}

gboolean OnButtonPress(GtkWidget* area, GdkEventButton* e, gpointer data) {
    auto& w = *static_cast<TDesktopWindow*>(data);
    TMouseButton button;
    if (e->type != GDK_BUTTON_PRESS || !ButtonOf(e->button, button)) return TRUE;
    // A click on our surface takes the keyboard from a native widget.
    gtk_widget_grab_focus(area);
    w.WmMoving = false;
    TShiftState shift = ShiftOf(e->state) | ButtonBit(button);
    if (IsDoublePress(w, e)) shift |= ssDouble;
    w.Form->HostMouseDown(button, shift, PointOf(e->x, e->y));
    AfterInput();
    return TRUE;
}

gboolean OnButtonRelease(GtkWidget*, GdkEventButton* e, gpointer data) {
    auto& w = *static_cast<TDesktopWindow*>(data);
    TMouseButton button;
    if (!ButtonOf(e->button, button)) return TRUE;
    // The state still holds the released button; the framework's does not.
    TShiftState shift = ShiftOf(e->state) & ~ButtonBit(button);
    w.Form->HostMouseUp(button, shift, PointOf(e->x, e->y));
    AfterInput();
    return TRUE;
}

gboolean OnMotion(GtkWidget*, GdkEventMotion* e, gpointer data) {
    auto& w = *static_cast<TDesktopWindow*>(data);
    w.Form->HostMouseMove(ShiftOf(e->state), PointOf(e->x, e->y));
    AfterInput();
    return TRUE;
}

gboolean OnScroll(GtkWidget*, GdkEventScroll* e, gpointer data) {
    auto& w = *static_cast<TDesktopWindow*>(data);
    int steps = 0;
    if (e->direction == GDK_SCROLL_UP) {
        steps = 1;
    } else if (e->direction == GDK_SCROLL_DOWN) {
        steps = -1;
    } else if (e->direction == GDK_SCROLL_SMOOTH) {
        // Touchpads scroll in fractions; whole wheel steps go on.
        w.ScrollRemainder -= e->delta_y;
        steps = int(w.ScrollRemainder);
        w.ScrollRemainder -= steps;
    }
    if (steps == 0) return TRUE;
    w.Form->HostMouseWheel(steps * 120, ShiftOf(e->state), PointOf(e->x, e->y));
    AfterInput();
    return TRUE;
}

gboolean OnLeave(GtkWidget*, GdkEventCrossing* e, gpointer data) {
    auto& w = *static_cast<TDesktopWindow*>(data);
    // Leaving into a child (a native widget) or through a grab is not leaving.
    if (e->detail == GDK_NOTIFY_INFERIOR || e->mode != GDK_CROSSING_NORMAL) return FALSE;
    w.Form->HostMouseLeave();
    AfterInput();
    return FALSE;
}

bool NativeWidgetHasFocus(TDesktopWindow& w) {
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(w.Window));
    return focus && focus != w.Area;
}

gboolean OnKey(GtkWidget*, GdkEventKey* e, gpointer data) {
    auto& w = *static_cast<TDesktopWindow*>(data);
    // Keys for a focused native widget go their usual way through GTK. The
    // application's key hook still sees each key-down first, as it does
    // for the program's own controls (the menu shortcuts work there too).
    if (NativeWidgetHasFocus(w)) {
        const int key = VirtualKeyOf(gdk_keyval_to_lower(e->keyval));
        if (!key || e->type != GDK_KEY_PRESS || !Application || !Application->OnKeyHook || w.Form->InputBlocked())
            return FALSE;
        auto alive = w.Form->Lifetime();
        const bool swallowed = Application->OnKeyHook(w.Form, key, ShiftOf(e->state)) == TKeyHookResult::Swallow;
        AfterInput();
        return swallowed || alive.expired() ? TRUE : FALSE;
    }
    auto alive = w.Form->Lifetime();
    int key = VirtualKeyOf(gdk_keyval_to_lower(e->keyval));
    if (key && e->type == GDK_KEY_PRESS) w.Form->HostKeyDown(key, ShiftOf(e->state));
    if (key && e->type == GDK_KEY_RELEASE) w.Form->HostKeyUp(key, ShiftOf(e->state));
    // Characters come from the input method, after their key-down as on
    // the desktop the program was written for.
    if (!alive.expired() && !(e->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK)))
        gtk_im_context_filter_keypress(w.Im, e);
    AfterInput();
    return TRUE;
}

void OnCommit(GtkIMContext*, const gchar* text, gpointer data) {
    auto& w = *static_cast<TDesktopWindow*>(data);
    if (text && *text) w.Form->HostKeyPress(text);
}

gboolean OnFocusIn(GtkWidget*, GdkEventFocus*, gpointer data) {
    auto& w = *static_cast<TDesktopWindow*>(data);
    gtk_im_context_focus_in(w.Im);
    // A window that takes no activation never becomes the active form, even
    // where the pointer gives it the keyboard (no window manager).
    if (w.Activation == TActivation::Normal) w.Form->HostActivated(true);
    AfterInput();
    return FALSE;
}

gboolean OnFocusOut(GtkWidget*, GdkEventFocus*, gpointer data) {
    auto& w = *static_cast<TDesktopWindow*>(data);
    gtk_im_context_focus_out(w.Im);
    w.Form->HostActivated(false);
    AfterInput();
    return FALSE;
}

gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
    static_cast<TDesktopWindow*>(data)->Form->HostCloseRequest();
    AfterInput();
    return TRUE;  // the form decides; GTK must not destroy the window
}

gboolean OnConfigure(GtkWidget*, GdkEventConfigure*, gpointer data) {
    auto& w = *static_cast<TDesktopWindow*>(data);
    GdkWindow* gdk = gtk_widget_get_window(w.Window);
    // Only a move the user made through the window manager is news to the
    // form; our own moves are what it asked for.
    if (!w.WmMoving || !gdk || w.SlideSource) return FALSE;
    int x = 0, y = 0;
    gdk_window_get_origin(gdk, &x, &y);
    TRect bounds = Bounds(x, y, w.Bounds.Width(), w.Bounds.Height());
    if (bounds == w.Bounds) return FALSE;
    w.Bounds = bounds;
    w.Form->HostMoved(bounds);
    AfterInput();
    return FALSE;
}

void OnRealize(GtkWidget* area, gpointer data) {
    auto& w = *static_cast<TDesktopWindow*>(data);
    gtk_im_context_set_client_window(w.Im, gtk_widget_get_window(area));
}

}  // namespace

// Presses over some native widgets (a text view placed in the pass-through
// layer) are not found by GDK in that layer and arrive at the toplevel's
// own window instead of at the widget or at our surface. They belong to
// the surface below: the framework then hands the keyboard to the native
// control under the press.
gboolean OnStrayButton(GtkWidget* window, GdkEventButton* e, gpointer data) {
    auto& w = *static_cast<TDesktopWindow*>(data);
    if (e->window != gtk_widget_get_window(window)) return FALSE;
    return e->type == GDK_BUTTON_RELEASE ? OnButtonRelease(w.Area, e, data) : OnButtonPress(w.Area, e, data);
}

void ConnectInput(TDesktopWindow& w) {
    gtk_widget_add_events(w.Area, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK |
                                      GDK_SCROLL_MASK | GDK_SMOOTH_SCROLL_MASK | GDK_ENTER_NOTIFY_MASK |
                                      GDK_LEAVE_NOTIFY_MASK);
    gtk_widget_add_events(w.Window, GDK_KEY_PRESS_MASK | GDK_KEY_RELEASE_MASK | GDK_FOCUS_CHANGE_MASK |
                                        GDK_STRUCTURE_MASK);
    g_signal_connect(w.Area, "button-press-event", G_CALLBACK(OnButtonPress), &w);
    g_signal_connect(w.Area, "button-release-event", G_CALLBACK(OnButtonRelease), &w);
    g_signal_connect(w.Area, "motion-notify-event", G_CALLBACK(OnMotion), &w);
    g_signal_connect(w.Area, "scroll-event", G_CALLBACK(OnScroll), &w);
    g_signal_connect(w.Area, "leave-notify-event", G_CALLBACK(OnLeave), &w);
    g_signal_connect(w.Area, "realize", G_CALLBACK(OnRealize), &w);
    gtk_widget_add_events(w.Window, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK);
    g_signal_connect(w.Window, "button-press-event", G_CALLBACK(OnStrayButton), &w);
    g_signal_connect(w.Window, "button-release-event", G_CALLBACK(OnStrayButton), &w);
    g_signal_connect(w.Window, "key-press-event", G_CALLBACK(OnKey), &w);
    g_signal_connect(w.Window, "key-release-event", G_CALLBACK(OnKey), &w);
    g_signal_connect(w.Window, "focus-in-event", G_CALLBACK(OnFocusIn), &w);
    g_signal_connect(w.Window, "focus-out-event", G_CALLBACK(OnFocusOut), &w);
    g_signal_connect(w.Window, "delete-event", G_CALLBACK(OnDelete), &w);
    g_signal_connect(w.Window, "configure-event", G_CALLBACK(OnConfigure), &w);
    g_signal_connect(w.Im, "commit", G_CALLBACK(OnCommit), &w);
}
