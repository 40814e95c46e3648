// Mouse routing on the offscreen host: the topmost control under the point,
// enter/leave pairs, capture from press to release, clicks, double clicks,
// the wheel, cursors, and handlers that free their own sender.
#include "gui_fixture.h"

TEST_F(GuiTest, PressGoesToTopmostVisibleEnabledControlInLocalCoordinates) {
    TForm* form = MakeForm();
    TProbe* a = AddProbe(form, "A", Bounds(10, 10, 50, 50));
    TProbe* b = AddProbe(form, "B", Bounds(30, 30, 50, 50));
    TProbe* panel = AddProbe(form, "P", Bounds(100, 20, 80, 80));
    TProbe* inner = AddProbe(panel, "I", Bounds(10, 10, 20, 20));

    Host.Click(*form, 40, 40);
    EXPECT_EQ(b->Clicks, 1);
    EXPECT_EQ(a->Downs, 0);
    EXPECT_EQ(b->LastPoint, (TPoint{10, 10}));

    Host.Click(*form, 15, 15);
    EXPECT_EQ(a->Clicks, 1);

    b->SetVisible(false);
    Host.Click(*form, 40, 40);
    EXPECT_EQ(a->Clicks, 2);
    b->SetVisible(true);
    b->SetEnabled(false);
    Host.Click(*form, 40, 40);
    EXPECT_EQ(a->Clicks, 3);
    EXPECT_EQ(b->Clicks, 1);

    Host.Click(*form, 115, 35);
    EXPECT_EQ(inner->Clicks, 1);
    EXPECT_EQ(inner->LastPoint, (TPoint{5, 5}));
    EXPECT_EQ(panel->Clicks, 0);
    Host.Click(*form, 105, 25);
    EXPECT_EQ(panel->Clicks, 1);
}

TEST_F(GuiTest, BringToFrontChangesWhoIsHit) {
    TForm* form = MakeForm();
    TProbe* a = AddProbe(form, "A", Bounds(10, 10, 50, 50));
    TProbe* b = AddProbe(form, "B", Bounds(30, 30, 50, 50));
    a->BringToFront();
    Host.Click(*form, 40, 40);
    EXPECT_EQ(a->Clicks, 1);
    EXPECT_EQ(b->Clicks, 0);
}

TEST_F(GuiTest, EnterAndLeaveComeInPairsAlongTheParentChain) {
    TForm* form = MakeForm();
    AddProbe(form, "A", Bounds(10, 10, 40, 40));
    TProbe* panel = AddProbe(form, "P", Bounds(100, 10, 80, 80));
    AddProbe(panel, "I", Bounds(10, 10, 20, 20));

    Host.MouseMove(*form, 20, 20);
    Host.MouseMove(*form, 25, 25);  // inside A again: nothing new
    Host.MouseMove(*form, 105, 15);
    Host.MouseMove(*form, 115, 25);  // into the inner control: the panel stays entered
    Host.MouseMove(*form, 105, 15);
    Host.MouseMove(*form, 190, 140);
    Host.MouseMove(*form, 115, 25);
    Host.MouseLeave(*form);
    TLog expected{"A:enter", "A:leave", "P:enter", "I:enter", "I:leave", "P:leave",
                  "P:enter", "I:enter", "I:leave", "P:leave"};
    EXPECT_EQ(Log, expected);
    EXPECT_FALSE(panel->MouseInControl());
}

TEST_F(GuiTest, CaptureHoldsFromPressToReleaseOutsideTheControl) {
    TForm* form = MakeForm();
    TProbe* a = AddProbe(form, "A", Bounds(10, 10, 40, 40));
    TProbe* b = AddProbe(form, "B", Bounds(100, 10, 40, 40));

    Host.MouseDown(*form, 20, 20);
    EXPECT_TRUE(Host.WindowOf(*form)->Captured);
    Host.MouseMove(*form, 110, 20, ssLeft);
    EXPECT_EQ(b->Moves, 0);
    EXPECT_EQ(a->LastPoint, (TPoint{100, 10}));  // A's coordinates, outside A
    Host.MouseMove(*form, 250, -30, ssLeft);      // outside the window too
    EXPECT_EQ(a->LastPoint, (TPoint{240, -40}));
    Host.MouseUp(*form, 110, 20);
    EXPECT_EQ(a->Ups, 1);
    EXPECT_EQ(b->Ups, 0);
    EXPECT_EQ(a->Clicks, 0) << "released outside: no click";
    EXPECT_FALSE(Host.WindowOf(*form)->Captured);

    Host.MouseMove(*form, 112, 22);
    EXPECT_GT(b->Moves, 0);
    EXPECT_TRUE(b->MouseInControl());
    EXPECT_FALSE(a->MouseInControl());
}

TEST_F(GuiTest, SecondButtonDuringCaptureKeepsTheFirstTarget) {
    TForm* form = MakeForm();
    TProbe* a = AddProbe(form, "A", Bounds(10, 10, 40, 40));
    TProbe* b = AddProbe(form, "B", Bounds(100, 10, 40, 40));
    Host.MouseDown(*form, 20, 20, TMouseButton::Left);
    Host.MouseDown(*form, 110, 20, TMouseButton::Right);
    Host.MouseUp(*form, 110, 20, TMouseButton::Left);
    EXPECT_TRUE(Host.WindowOf(*form)->Captured) << "right button still down";
    Host.MouseUp(*form, 110, 20, TMouseButton::Right);
    EXPECT_FALSE(Host.WindowOf(*form)->Captured);
    EXPECT_EQ(a->Downs, 2);
    EXPECT_EQ(a->Ups, 2);
    EXPECT_EQ(b->Downs + b->Ups, 0);
}

TEST_F(GuiTest, DoubleClickFiresOneClickAndOneDoubleClick) {
    TForm* form = MakeForm();
    TProbe* a = AddProbe(form, "A", Bounds(10, 10, 40, 40));
    int clicks = 0, doubles = 0;
    a->OnClick = [&](TComponent* sender) {
        EXPECT_EQ(sender, a);
        clicks++;
    };
    a->OnDblClick = [&](TComponent*) { doubles++; };
    Host.DoubleClick(*form, 20, 20);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(a->Downs, 2);
    EXPECT_EQ(a->Ups, 2);
}

TEST_F(GuiTest, WheelTravelsUpUntilAControlHandlesIt) {
    TForm* form = MakeForm();
    TProbe* panel = AddProbe(form, "P", Bounds(10, 10, 100, 100));
    TProbe* inner = AddProbe(panel, "I", Bounds(10, 10, 30, 30));
    inner->WheelResult = TEventResult::Ignored;
    Host.Wheel(*form, 25, 25, -120);
    EXPECT_EQ(Log, (TLog{"I:wheel -120", "P:wheel -120"}));
    Log.clear();
    inner->WheelResult = TEventResult::Handled;
    Host.Wheel(*form, 25, 25, 120);
    EXPECT_EQ(Log, (TLog{"I:wheel 120"}));
}

TEST_F(GuiTest, CursorFollowsTheHoveredControl) {
    TForm* form = MakeForm();
    TProbe* a = AddProbe(form, "A", Bounds(10, 10, 40, 40));
    a->SetCursor(TCursor::Hand);
    Host.MouseMove(*form, 20, 20);
    EXPECT_EQ(Host.WindowOf(*form)->Cursor, TCursor::Hand);
    Host.MouseMove(*form, 150, 100);
    EXPECT_EQ(Host.WindowOf(*form)->Cursor, TCursor::Default);
}

TEST_F(GuiTest, ClickHandlerThatFreesItsOwnControlIsSafe) {
    TForm* form = MakeForm();
    TProbe* a = AddProbe(form, "A", Bounds(10, 10, 40, 40));
    TProbe* b = AddProbe(form, "B", Bounds(100, 10, 40, 40));
    a->OnClick = [&](TComponent* sender) { form->DestroyControl(static_cast<TControl*>(sender)); };
    Host.Click(*form, 20, 20);
    EXPECT_EQ(form->ControlCount(), 1);
    EXPECT_EQ(form->CaptureControl(), nullptr);
    Host.MouseMove(*form, 20, 20);  // where A was: the form itself
    Host.Click(*form, 110, 20);
    EXPECT_EQ(b->Clicks, 1);
}

TEST_F(GuiTest, HandlersThatFreeTheWholeFormAreSafe) {
    TForm* form = MakeForm();
    TProbe* a = AddProbe(form, "A", Bounds(10, 10, 40, 40));
    a->OnMouseDown = [&](TComponent*, TMouseButton, TShiftState, int, int) { App.FreeForm(form); };
    Host.Click(*form, 20, 20);
    EXPECT_TRUE(App.Forms().empty());

    TForm* second = MakeForm();
    TProbe* c = AddProbe(second, "C", Bounds(10, 10, 40, 40));
    c->OnMouseEnter = [&](TComponent*) { App.FreeForm(second); };
    Host.MouseMove(*second, 20, 20);
    EXPECT_TRUE(App.Forms().empty());
}
