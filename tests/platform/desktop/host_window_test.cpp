// Real windows under X: placement, painting read back from the screen,
// transparent and shaped outlines on a screen that does not composite,
// windows that take no focus, and stay-on-top stacking.
#include "desktop_fixture.h"
#include "platform/gfx/text.h"
#include "platform/gui/form.h"

// X11 last: its macros (None, Status ...) clash with the names above.
#include <X11/Xlib.h>
#include <gdk/gdkx.h>

namespace {

// A control painting one colour, counting clicks.
class TSwatch : public TControl {
public:
    TSwatch(TComponent* owner, TColor32 fill, int radius = 0) : TControl(owner), Fill(fill), Radius(radius) {}
    TColor32 Fill;
    int Radius;
    int Clicks = 0;

protected:
    void Paint(TBitmap32& canvas) override {
        if (Radius > 0)
            canvas.RoundRect(ClientRect(), Radius, Fill, 0);
        else
            canvas.FillRect(ClientRect(), Fill);
    }
    void Click() override { Clicks++; }
};

constexpr TColor clRed = 0x0000FF, clGreen = 0x00FF00, clBlue = 0xFF0000, clYellow = 0x00FFFF, clCyan = 0xFFFF00;

class HostWindowTest : public TDesktopTest {
protected:
    TForm* MakeForm(const TRect& bounds, TColor color) {
        TForm* form = App->CreateForm<TForm>();
        form->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        form->SetColor(color);
        return form;
    }
    Window XidOf(TForm& form) { return GDK_WINDOW_XID(gtk_widget_get_window(Host->GtkWindowOf(form.Window()))); }
    // Position in X's stacking order among the root's children (higher is above).
    int StackIndex(Window xid) {
        Display* dpy = GDK_DISPLAY_XDISPLAY(gdk_display_get_default());
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        int index = -1;
        if (XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &count)) {
            for (unsigned i = 0; i < count; ++i)
                if (children[i] == xid) index = int(i);
            XFree(children);
        }
        return index;
    }
};

}  // namespace

TEST_F(HostWindowTest, WindowOpensWhereAskedAndShowsItsPixels) {
    TForm* form = MakeForm(Bounds(120, 140, 200, 100), clRed);
    form->Add<TSwatch>(Color32(0, 0, 255))->SetBounds(50, 25, 100, 50);
    form->Show();
    ASSERT_TRUE(WaitShown(*form));

    GdkWindow* gdk = gtk_widget_get_window(Host->GtkWindowOf(form->Window()));
    int x = 0, y = 0;
    gdk_window_get_origin(gdk, &x, &y);
    EXPECT_EQ(x, 120);
    EXPECT_EQ(y, 140);
    EXPECT_EQ(gdk_window_get_width(gdk), 200);
    EXPECT_EQ(gdk_window_get_height(gdk), 100);

    ASSERT_TRUE(PumpUntil([] { return ScreenPixel(120, 140) == 0xFF0000 && ScreenPixel(319, 239) == 0xFF0000; }));
    EXPECT_EQ(ScreenPixel(170, 165), 0x0000FFu);  // the child's first pixel
    EXPECT_EQ(ScreenPixel(269, 214), 0x0000FFu);  // and its last
    EXPECT_EQ(ScreenPixel(270, 215), 0xFF0000u);
    EXPECT_NE(ScreenPixel(320, 140), 0xFF0000u);  // nothing beyond the bounds
    EXPECT_NE(ScreenPixel(120, 240), 0xFF0000u);

    // A repaint of one control reaches the screen.
    auto* swatch = static_cast<TSwatch*>(form->Controls(0));
    swatch->Fill = Color32(0, 255, 0);
    swatch->Invalidate();
    EXPECT_TRUE(PumpUntil([] { return ScreenPixel(200, 190) == 0x00FF00; }));
}

TEST_F(HostWindowTest, TransparentCornersShowWhatLiesBehindWithoutCompositing) {
    if (Host->Composited()) GTEST_SKIP() << "for a screen without a compositor (Xvfb): shapes replace alpha there";
    TForm* back = MakeForm(Bounds(300, 300, 200, 200), clGreen);
    back->Show();
    ASSERT_TRUE(WaitShown(*back));
    // A rounded red panel on a window whose own pixels are transparent.
    TForm* front = MakeForm(Bounds(350, 350, 100, 100), clNone);
    front->SetTransparency(TTransparency::PerPixelAlpha);
    TSwatch* panel = front->Add<TSwatch>(Color32(255, 0, 0), 30);
    panel->SetBounds(0, 0, 100, 100);
    front->Show();
    ASSERT_TRUE(WaitShown(*front));

    ASSERT_TRUE(PumpUntil([] { return ScreenPixel(400, 400) == 0xFF0000; }));
    EXPECT_EQ(ScreenPixel(351, 351), 0x00FF00u);  // top-left corner: the window behind
    EXPECT_EQ(ScreenPixel(448, 448), 0x00FF00u);  // bottom-right corner
    EXPECT_EQ(ScreenPixel(351, 400), 0xFF0000u);  // the straight edge is the panel's

    // A click on a transparent corner belongs to the window behind.
    TSwatch* backSwatch = back->Add<TSwatch>(Color32(0, 255, 0));
    backSwatch->SetBounds(0, 0, 200, 200);
    ASSERT_EQ(RunTool({"xdotool", "mousemove", "352", "352", "click", "1"}), 0);
    ASSERT_TRUE(PumpUntil([&] { return backSwatch->Clicks == 1; }));
    EXPECT_EQ(panel->Clicks, 0);
}

TEST_F(HostWindowTest, RoundRectShapeCutsAnOpaqueWindow) {
    TForm* back = MakeForm(Bounds(300, 300, 200, 200), clGreen);
    back->Show();
    ASSERT_TRUE(WaitShown(*back));
    TForm* front = MakeForm(Bounds(350, 350, 100, 80), clBlue);
    front->Show();
    front->SetShape({TShapeKind::RoundRect, 20, {}});
    ASSERT_TRUE(WaitShown(*front));
    ASSERT_TRUE(PumpUntil([] { return ScreenPixel(400, 390) == 0x0000FF && ScreenPixel(351, 351) == 0x00FF00; }));
    EXPECT_EQ(ScreenPixel(448, 428), 0x00FF00u);
    EXPECT_EQ(ScreenPixel(350, 390), 0x0000FFu);
}

TEST_F(HostWindowTest, WindowThatTakesNoActivationLeavesTheFocusAlone) {
    TForm* main = MakeForm(Bounds(100, 100, 200, 150), clGreen);
    main->Show();
    ASSERT_TRUE(WaitShown(*main));
    ASSERT_TRUE(PumpUntil([&] { return main->Active(); }));

    TForm* popup = MakeForm(Bounds(400, 100, 150, 100), clYellow);
    popup->SetActivation(TActivation::NoActivate);
    TSwatch* item = popup->Add<TSwatch>(Color32(255, 255, 0));
    item->SetBounds(0, 0, 150, 100);
    popup->Show();
    ASSERT_TRUE(WaitShown(*popup));
    SyncX();
    EXPECT_TRUE(main->Active());
    EXPECT_FALSE(popup->Active());

    // Clicking it works and still leaves the focus where it was.
    ASSERT_EQ(RunTool({"xdotool", "mousemove", "450", "150", "click", "1"}), 0);
    ASSERT_TRUE(PumpUntil([&] { return item->Clicks == 1; }));
    SyncX();
    EXPECT_TRUE(main->Active());
    EXPECT_FALSE(popup->Active());
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(GDK_DISPLAY_XDISPLAY(gdk_display_get_default()), &focus, &revert);
    EXPECT_EQ(focus, XidOf(*main));
}

TEST_F(HostWindowTest, StayOnTopWindowStaysAboveANormalOneShownLater) {
    TForm* top = MakeForm(Bounds(100, 500, 200, 100), clYellow);
    top->SetStayOnTop(TStayOnTop::Yes);
    top->Show();
    ASSERT_TRUE(WaitShown(*top));
    TForm* normal = MakeForm(Bounds(150, 520, 200, 100), clCyan);
    normal->Show();
    ASSERT_TRUE(WaitShown(*normal));
    normal->Activate();
    SyncX();
    EXPECT_GT(StackIndex(XidOf(*top)), StackIndex(XidOf(*normal)));
    // The overlap shows the stay-on-top window once everything has drawn.
    EXPECT_TRUE(PumpUntil([] { return ScreenPixel(320, 610) == 0x00FFFF && ScreenPixel(200, 550) == 0xFFFF00; }));
}

TEST_F(HostWindowTest, SlideInEndsShownAtTheFinalBounds) {
    TForm* form = MakeForm(Bounds(600, 900, 150, 60), clGreen);
    form->SlideIn(Bounds(600, 700, 150, 60), 150);
    ASSERT_TRUE(WaitShown(*form));
    GdkWindow* gdk = gtk_widget_get_window(Host->GtkWindowOf(form->Window()));
    ASSERT_TRUE(PumpUntil([&] {
        int x = 0, y = 0;
        gdk_window_get_origin(gdk, &x, &y);
        return x == 600 && y == 700;
    }));
    EXPECT_TRUE(PumpUntil([] { return ScreenPixel(600, 700) == 0x00FF00 && ScreenPixel(749, 759) == 0x00FF00; }));
    EXPECT_EQ(form->BoundsRect(), Bounds(600, 700, 150, 60));
}

TEST_F(HostWindowTest, HintShowsAtItsPointAndAnEmptyTextHidesIt) {
    Host->ShowHint("A hint", {700, 100});
    ASSERT_TRUE(PumpUntil([] { return ScreenPixel(700, 100) == 0x767676 && ScreenPixel(702, 102) == 0xFFFFE1; }));
    // Dark text somewhere along its middle row.
    bool text = false;
    for (int x = 702; x < 740 && !text; ++x) text = ScreenPixel(x, 100 + TextHeight(TFont(), "A hint") / 2 + 2) < 0x808080;
    EXPECT_TRUE(text);
    Host->ShowHint("", {});
    EXPECT_TRUE(PumpUntil([] { return ScreenPixel(702, 102) != 0xFFFFE1; }));
}

namespace {
// Starts the window manager's move when pressed, as a caption bar does.
class TGrip : public TControl {
public:
    using TControl::TControl;
    int Presses = 0;

protected:
    void MouseDown(TMouseButton, TShiftState, TPoint) override {
        Presses++;
        Form()->BeginSystemMove();
    }
};
}  // namespace

TEST_F(HostWindowTest, DragOnAGripMovesTheWindowAndTheFormLearnsWhere) {
    TForm* form = MakeForm(Bounds(300, 300, 200, 100), clGreen);
    TGrip* grip = form->Add<TGrip>();
    grip->SetBounds(0, 0, 200, 30);
    form->Show();
    ASSERT_TRUE(WaitShown(*form));
    ASSERT_EQ(RunTool({"xdotool", "mousemove", "310", "310", "mousedown", "1"}), 0);
    ASSERT_TRUE(PumpUntil([&] { return grip->Presses == 1; }));
    SyncX();
    ASSERT_EQ(RunTool({"xdotool", "mousemove", "340", "330"}), 0);
    ASSERT_EQ(RunTool({"xdotool", "mousemove", "360", "350"}), 0);
    EXPECT_TRUE(PumpUntil([&] { return form->Left() == 350 && form->Top() == 340; }));
    ASSERT_EQ(RunTool({"xdotool", "mouseup", "1"}), 0);
    SyncX();
    EXPECT_EQ(form->BoundsRect(), Bounds(350, 340, 200, 100));
    EXPECT_TRUE(PumpUntil([] { return ScreenPixel(350, 340) == 0x00FF00; }));
}
