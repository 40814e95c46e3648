// The skinned window frame on the offscreen host: which caption buttons are
// made from which strip and where they sit, what close and minimise do on
// the main and on a secondary window, moving by the caption, maximise and
// restore, resizing by the edges, the logo, the skin's nine parts and
// average colour, the window outline, and placement on a form only.
#include <gtest/gtest.h>

#include <functional>

#include "platform/gui/gui_fixture.h"
#include "skin/orb_caption_button.h"
#include "skin/orb_form.h"
#include "skin/orb_popup_menu.h"

namespace {

constexpr TColor32 Red = Color32(255, 0, 0), Green = Color32(0, 255, 0), Blue = Color32(0, 0, 255);
constexpr TColor32 Purple = Color32(0x80, 0, 0x80);  // the frame's default Color

TBitmap32 Solid(int width, int height, TColor32 color) {
    TBitmap32 b(width, height);
    b.Clear(color);
    return b;
}

// Three frames of one colour each, side by side.
TBitmap32 Strip(int frameWidth, int height, TColor32 normal, TColor32 over = Green, TColor32 down = Blue) {
    TBitmap32 b(frameWidth * 3, height);
    b.FillRect(Bounds(0, 0, frameWidth, height), normal);
    b.FillRect(Bounds(frameWidth, 0, frameWidth, height), over);
    b.FillRect(Bounds(2 * frameWidth, 0, frameWidth, height), down);
    return b;
}

class OrbFormTest : public GuiTest {
protected:
    // A host form at (100, 50) with a frame set up by `setUp`, then shown.
    TOrbForm* MakeFrame(int width, int height, const std::function<void(TOrbForm&)>& setUp = {}) {
        TForm* form = App.CreateForm<TForm>();
        form->SetBounds(100, 50, width, height);
        TOrbForm* frame = form->Add<TOrbForm>();
        frame->ImgBtnClose = Strip(10, 8, Red);
        if (setUp) setUp(*frame);
        form->Show();
        Host.Settle();
        return frame;
    }
    const TOffscreenWindow& Window(TOrbForm* frame) { return *Host.WindowOf(*frame->HostForm()); }
    void ClickButton(TDStdFButton* b) {
        TRect r = b->FormRect();
        Host.Click(*b->Form(), r.Left + 1, r.Top + 1);
    }
};

// ---- caption buttons ----

TEST_F(OrbFormTest, CloseTakesTheSingleCloseStripOnlyWhenNothingElseIsWanted) {
    auto withSingle = [](TOrbUIFormBtns btns) {
        return [btns](TOrbForm& f) {
            f.FormBtns = btns;
            f.ImgBtnSingleClose = Strip(14, 8, Blue, Green, Red);
        };
    };
    // Menu wanted but without an image: no menu button, the plain close.
    TOrbForm* dialog = MakeFrame(200, 100, withSingle({ObiMenu}));
    ASSERT_NE(dialog->BtnClose(), nullptr);
    EXPECT_EQ(dialog->BtnMenu(), nullptr);
    EXPECT_EQ(dialog->BtnClose()->Width(), 10);
    EXPECT_EQ(Host.PixelAt(*dialog->HostForm(), 200 - 4 - 10 + 1, 1), Red);

    TOrbForm* news = MakeFrame(200, 100, withSingle({}));
    EXPECT_EQ(news->BtnClose()->Width(), 14);
    EXPECT_EQ(Host.PixelAt(*news->HostForm(), 200 - 4 - 14 + 1, 1), Blue);

    // Single close wanted but not given: the button exists and shows nothing.
    TOrbForm* bare = MakeFrame(200, 100, [](TOrbForm& f) { f.FormBtns = {}; });
    ASSERT_NE(bare->BtnClose(), nullptr);
    EXPECT_EQ(bare->BtnClose()->Width(), 0);
    EXPECT_EQ(Host.PixelAt(*bare->HostForm(), 200 - 4 - 10 + 1, 1), Purple);
}

TEST_F(OrbFormTest, ButtonsAreNamedAndPlacedRightToLeft) {
    TOrbForm* f = MakeFrame(300, 120, [](TOrbForm& f) {
        f.FormBtns = {ObiMenu, ObiMinimize, ObiMaximize, ObiSkin};
        f.ImgBtnMax = Strip(12, 8, Green);
        f.ImgBtnRestore = Strip(11, 8, Blue);
        f.ImgBtnMin = Strip(9, 8, Blue);
        f.ImgBtnSingleMin = Strip(20, 8, Red);  // not used: the menu is wanted
        f.ImgBtnMenu = Strip(8, 8, Red);
        f.ImgBtnSkin = Strip(7, 8, Green);
        f.SetBtnMargin(2);
        f.SetBtnRightFix(-1);
        f.SetBtnTopFix(5);
        f.SetBtnCloseHint("Hide");
    });
    const int closeLeft = 300 - 1 - 10 - 4;
    EXPECT_EQ(f->BtnClose()->BoundsRect(), Bounds(closeLeft, 5, 10, 8));
    EXPECT_EQ(f->BtnMax()->Left(), closeLeft - 2 - 12);
    EXPECT_EQ(f->BtnRestore()->Left(), closeLeft - 2 - 11);
    EXPECT_TRUE(f->BtnMax()->Visible());
    EXPECT_FALSE(f->BtnRestore()->Visible());
    EXPECT_EQ(f->BtnMin()->Left(), f->BtnMax()->Left() - 2 - 9);
    EXPECT_EQ(f->BtnMenu()->Left(), f->BtnMin()->Left() - 2 - 8);
    EXPECT_EQ(f->BtnSkin()->Left(), f->BtnMenu()->Left() - 2 - 7);
    for (const char* name : {"BtnClose", "BtnMax", "BtnRestore", "BtnMin", "BtnMenu", "BtnSkin"})
        EXPECT_NE(f->HostForm()->FindComponent(name), nullptr) << name;
    EXPECT_EQ(f->BtnClose()->Hint, "Hide");
    f->SetBtnMinHint("Minimize");
    EXPECT_EQ(f->BtnMin()->Hint, "Minimize");

    // Hover shows the second frame.
    Host.MouseMove(*f->HostForm(), closeLeft + 2, 7);
    EXPECT_EQ(Host.PixelAt(*f->HostForm(), closeLeft + 2, 7), Green);
}

TEST_F(OrbFormTest, ABorderColourPutsTheButtonsThreePixelsLowerAndFramesTheWindow) {
    auto mainLike = [](TColor border) {
        return [border](TOrbForm& f) {
            f.SetBtnTopFix(-3);
            f.SetBorderColor(border);
            f.SetInBorderColor(0x4F4640);
        };
    };
    TOrbForm* plain = MakeFrame(120, 80, mainLike(clNone));
    TOrbForm* bordered = MakeFrame(120, 80, mainLike(0x322D2A));
    EXPECT_EQ(plain->BtnClose()->Top(), -3);
    EXPECT_EQ(bordered->BtnClose()->Top(), 0);
    TForm& host = *bordered->HostForm();
    EXPECT_EQ(Host.PixelAt(host, 0, 40), Color32(0x2A, 0x2D, 0x32));
    EXPECT_EQ(Host.PixelAt(host, 119, 79), Color32(0x2A, 0x2D, 0x32));
    EXPECT_EQ(Host.PixelAt(host, 1, 40), Color32(0x40, 0x46, 0x4F));
    EXPECT_EQ(Host.PixelAt(host, 2, 40), Purple);
    EXPECT_EQ(Host.PixelAt(*plain->HostForm(), 0, 40), Purple);
}

// ---- close and minimise ----

TEST_F(OrbFormTest, MainWindowCloseAsksFirstAndAVetoKeepsTheProgramRunning) {
    TOrbForm* main = MakeFrame(200, 100);
    ASSERT_EQ(App.MainForm(), main->HostForm());
    bool allow = false;
    int asked = 0;
    main->OnOrbFormCloseQuery = [&](TComponent* sender, bool& canClose) {
        EXPECT_EQ(sender, main);
        EXPECT_TRUE(canClose);
        asked++;
        canClose = allow;
    };
    ClickButton(main->BtnClose());
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(App.Terminated());
    EXPECT_TRUE(main->HostForm()->Visible());

    allow = true;
    ClickButton(main->BtnClose());
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(App.Terminated());
}

TEST_F(OrbFormTest, SecondaryWindowCloseAndMinimiseCloseOnlyThatWindow) {
    TOrbForm* main = MakeFrame(200, 100);
    auto withMin = [](TOrbForm& f) { f.ImgBtnMin = Strip(9, 8, Blue); };
    TOrbForm* about = MakeFrame(150, 90, withMin);
    int asked = 0, minimised = 0;
    about->OnOrbFormCloseQuery = [&](TComponent*, bool&) { asked++; };
    about->OnOrbFormMinimize = [&](TComponent*) { minimised++; };
    ClickButton(about->BtnMin());
    EXPECT_FALSE(about->HostForm()->Visible());
    EXPECT_EQ(minimised, 0);
    EXPECT_EQ(Window(main).State, TWindowState::Normal);
    EXPECT_FALSE(App.Terminated());

    TOrbForm* alert = MakeFrame(150, 90);
    ClickButton(alert->BtnClose());
    EXPECT_FALSE(alert->HostForm()->Visible());
    EXPECT_EQ(asked, 0);  // only the main window asks
    EXPECT_FALSE(App.Terminated());
}

TEST_F(OrbFormTest, MainWindowMinimiseMinimisesOnceAndRebuildsOnReturn) {
    TOrbForm* main = MakeFrame(200, 100, [](TOrbForm& f) { f.ImgBtnMin = Strip(9, 8, Blue); });
    int minimised = 0, rebuilt = 0;
    main->OnOrbFormMinimize = [&](TComponent*) { minimised++; };
    main->OnOrbFormSkinChange = [&](TComponent*) { rebuilt++; };
    ClickButton(main->BtnMin());
    EXPECT_EQ(Window(main).State, TWindowState::Minimized);
    EXPECT_TRUE(main->Minimizing());
    main->MinimizeClick();
    EXPECT_EQ(minimised, 1);

    Host.ActivateForm(*main->HostForm());
    EXPECT_FALSE(main->Minimizing());
    EXPECT_EQ(rebuilt, 1);

    // Put back without being activated: the button still works.
    ClickButton(main->BtnMin());
    App.Restore();
    ClickButton(main->BtnMin());
    EXPECT_EQ(minimised, 3);
    EXPECT_EQ(Window(main).State, TWindowState::Minimized);
}

// ---- moving and resizing ----

TEST_F(OrbFormTest, OnlyADragFromTheCaptionMovesTheWindow) {
    TOrbForm* f = MakeFrame(200, 120);
    TForm& host = *f->HostForm();
    auto dragTo = [&](int x, int y, int toY) {
        Host.MouseDown(host, x, y);
        Host.MouseMove(host, x + 10, toY, ssLeft);
        Host.MouseUp(host, x + 10, toY);
        return Window(f).SystemMoveCount;
    };
    auto drag = [&](int x, int y) { return dragTo(x, y, y + 3); };
    EXPECT_EQ(drag(50, 10), 1);
    EXPECT_EQ(drag(50, 60), 1);        // below the caption
    EXPECT_EQ(dragTo(50, 40, 10), 1);  // from below into the caption
    f->CanMoveAny = true;
    EXPECT_EQ(drag(50, 60), 2);
    f->CanMove = false;
    EXPECT_EQ(drag(50, 10), 2);
    f->CanMove = true;
    f->Maximize();
    EXPECT_EQ(drag(50, 10), 2);
}

TEST_F(OrbFormTest, EdgesResizeWithinTheLimitsAndSetTheCursor) {
    TOrbForm* f = MakeFrame(200, 120, [](TOrbForm& f) { f.SupportReSize = true; });
    TForm& host = *f->HostForm();
    Host.MouseMove(host, 198, 60);
    EXPECT_EQ(Window(f).Cursor, TCursor::SizeWE);
    Host.MouseMove(host, 1, 1);
    EXPECT_EQ(Window(f).Cursor, TCursor::SizeNWSE);
    Host.MouseMove(host, 198, 118);
    EXPECT_EQ(Window(f).Cursor, TCursor::SizeNWSE);
    Host.MouseMove(host, 1, 118);
    EXPECT_EQ(Window(f).Cursor, TCursor::SizeNESW);
    Host.MouseMove(host, 100, 60);
    EXPECT_EQ(Window(f).Cursor, TCursor::Default);

    int changed = 0;
    f->OnOrbFormUserChangeSize = [&](TComponent*) { changed++; };
    Host.MouseDown(host, 198, 60);
    Host.MouseMove(host, 218, 60, ssLeft);
    EXPECT_EQ(host.BoundsRect(), Bounds(100, 50, 220, 120));
    EXPECT_EQ(f->Width(), 220);
    EXPECT_EQ(f->BtnClose()->Left(), 220 - 4 - 10);
    Host.MouseMove(host, 0, 60, ssLeft);  // narrower than 30: refused
    EXPECT_EQ(host.Width(), 220);
    Host.MouseUp(host, 0, 60);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(Window(f).SystemMoveCount, 0);

    // The left edge moves the origin too.
    Host.MouseDown(host, 1, 60);
    Host.MouseMove(host, 11, 60, ssLeft);
    Host.MouseUp(host, 11, 60);
    EXPECT_EQ(host.BoundsRect(), Bounds(110, 50, 210, 120));
}

// ---- maximise and restore ----

TEST_F(OrbFormTest, MaximiseFillsTheWorkAreaAndRestoreBringsTheBoundsBack) {
    Host.WorkAreaRect = {0, 0, 800, 560};
    TOrbForm* f = MakeFrame(200, 120, [](TOrbForm& f) {
        f.ImgBtnMax = Strip(12, 8, Green);
        f.ImgBtnRestore = Strip(12, 8, Blue);
    });
    TForm& host = *f->HostForm();
    TLog events;
    f->OnOrbFormMax = [&](TComponent*) { events.push_back("max"); };
    f->OnOrbFormRestore = [&](TComponent*) { events.push_back("restore"); };

    ClickButton(f->BtnMax());
    EXPECT_EQ(host.BoundsRect(), Host.WorkAreaRect);
    EXPECT_EQ(f->BoundsRect(), Bounds(0, 0, 800, 560));
    EXPECT_EQ(f->FormState(), OisMax);
    EXPECT_FALSE(f->BtnMax()->Visible());
    EXPECT_TRUE(f->BtnRestore()->Visible());
    EXPECT_EQ(f->BtnClose()->Left(), 800 - 4 - 10);
    ClickButton(f->BtnRestore());
    EXPECT_EQ(host.BoundsRect(), Bounds(100, 50, 200, 120));
    EXPECT_EQ(f->FormState(), OisNormal);

    // The caption's double click toggles; below the caption it does nothing.
    Host.DoubleClick(host, 60, 10);
    EXPECT_EQ(host.BoundsRect(), Host.WorkAreaRect);
    Host.DoubleClick(host, 60, 10);
    EXPECT_EQ(host.BoundsRect(), Bounds(100, 50, 200, 120));
    Host.DoubleClick(host, 60, 80);
    EXPECT_EQ(f->FormState(), OisNormal);
    EXPECT_EQ(events, (TLog{"max", "restore", "max", "restore"}));

    f->FormBtns.Exclude(ObiMaximize);
    Host.DoubleClick(host, 60, 10);
    EXPECT_EQ(f->FormState(), OisNormal);
}

TEST_F(OrbFormTest, AFrameLoadedMaximisedStartsOnTheWorkArea) {
    Host.WorkAreaRect = {0, 0, 640, 480};
    TOrbForm* f = MakeFrame(200, 120, [](TOrbForm& f) { f.SetFormState(OisMax); });
    EXPECT_EQ(f->HostForm()->BoundsRect(), Host.WorkAreaRect);
    f->SetFormState(OisNormal);
    EXPECT_EQ(f->HostForm()->BoundsRect(), Bounds(100, 50, 200, 120));
}

// ---- window outline ----

TEST_F(OrbFormTest, RoundShapeCutsTheCornersUnlessMaximised) {
    TOrbForm* f = MakeFrame(60, 40, [](TOrbForm& f) {
        f.SetCutMode(CmRound);
        f.SetCutRound(10);
    });
    auto in = [&](int x, int y) { return AlphaOf(Window(f).Shape.Mask.Pixel(x, y)) != 0; };
    ASSERT_EQ(Window(f).Shape.Kind, TShapeKind::Mask);
    EXPECT_FALSE(in(0, 0));
    EXPECT_FALSE(in(2, 0));
    EXPECT_TRUE(in(3, 0));
    EXPECT_FALSE(in(59, 0));
    EXPECT_FALSE(in(0, 39));
    EXPECT_FALSE(in(59, 39));
    EXPECT_TRUE(in(30, 0));
    EXPECT_TRUE(in(0, 20));

    f->Maximize();
    EXPECT_EQ(Window(f).Shape.Kind, TShapeKind::Rectangle);
    f->Restore();
    EXPECT_EQ(Window(f).Shape.Kind, TShapeKind::Mask);
    f->SetCutMode(CmNone);
    EXPECT_EQ(Window(f).Shape.Kind, TShapeKind::Rectangle);
}

TEST_F(OrbFormTest, MaskShapeKeepsEveryPixelThatIsNotBlack) {
    TBitmap32 mask = Solid(20, 10, Color32(10, 10, 10));
    mask.FillRect(Bounds(0, 0, 5, 10), Color32(0, 0, 0));
    TOrbForm* f = MakeFrame(20, 10, [&](TOrbForm& f) {
        f.SetCutMode(CmMask);
        f.SetCutMask(mask);
    });
    const TBitmap32& shape = Window(f).Shape.Mask;
    EXPECT_EQ(AlphaOf(shape.Pixel(4, 5)), 0);
    EXPECT_EQ(AlphaOf(shape.Pixel(5, 5)), 255);
}

// ---- skin ----

TEST_F(OrbFormTest, NinePartSkinKeepsCornersAndStretchesTheRest) {
    TBitmap32 skin = Solid(30, 30, Green);
    skin.FillRect(Bounds(0, 0, 10, 10), Red);
    skin.FillRect(Bounds(20, 20, 10, 10), Blue);
    TOrbForm* f = MakeFrame(100, 80, [&](TOrbForm& f) {
        f.SetUseSkin(true);
        f.SetImgForm(skin);
        f.SetFormSplit({10, 10, 20, 20});
    });
    TForm& host = *f->HostForm();
    EXPECT_EQ(Host.PixelAt(host, 9, 9), Red);
    EXPECT_EQ(Host.PixelAt(host, 10, 10), Green);
    EXPECT_EQ(Host.PixelAt(host, 89, 69), Green);
    EXPECT_EQ(Host.PixelAt(host, 90, 70), Blue);

    f->SetFormSplit({});  // no nine parts: the whole image stretched
    Host.Settle();
    EXPECT_EQ(Host.PixelAt(host, 20, 20), Red);
    f->SetUseSkin(false);
    Host.Settle();
    EXPECT_EQ(Host.PixelAt(host, 20, 20), Purple);
}

TEST_F(OrbFormTest, SkinPictureSitsOnItsAverageColour) {
    TBitmap32 picture = Solid(20, 10, Red);
    picture.FillRect(Bounds(10, 0, 10, 10), Blue);
    TPicture pic;
    pic.Assign(picture);
    TOrbForm* f = MakeFrame(100, 60, [&](TOrbForm& f) {
        f.SetUseSkin(true);
        f.SetSkinPic(pic);
    });
    EXPECT_EQ(f->SkinPicAverage(), Color32(127, 0, 127));
    EXPECT_EQ(Host.PixelAt(*f->HostForm(), 80, 40), Color32(127, 0, 127));
}

// ---- logo and menu ----

TEST_F(OrbFormTest, LogoShowsItsHintAndClicksWithoutMovingTheWindow) {
    TOrbForm* f = MakeFrame(200, 100, [](TOrbForm& f) {
        f.SetImgLogo(Solid(16, 16, Blue));
        f.SetLogoLeftFix(6);
        f.LogoHint = "Home";
    });
    EXPECT_EQ(f->LogoRect(), Bounds(10, 7, 16, 16));
    TForm& host = *f->HostForm();
    int clicks = 0;
    f->OnOrbFormLogoClick = [&](TComponent*) { clicks++; };
    Host.MouseMove(host, 12, 10);
    Host.MouseMove(host, 13, 10);
    Host.Advance(App.HintPause + 10);
    EXPECT_EQ(Host.HintText, "Home");
    Host.MouseDown(host, 13, 10);
    Host.MouseMove(host, 14, 11, ssLeft);
    Host.MouseUp(host, 14, 11);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(Window(f).SystemMoveCount, 0);
    Host.MouseMove(host, 100, 10);
    EXPECT_EQ(Host.HintText, "");
}

TEST_F(OrbFormTest, MenuButtonReportsThenPopsTheMenuAtItsBottomLeft) {
    TOrbPopupMenu* menu = nullptr;
    TOrbForm* f = MakeFrame(200, 100, [&](TOrbForm& f) {
        f.ImgBtnMenu = Strip(8, 8, Green);
        menu = f.Owner()->Create<TOrbPopupMenu>();
        menu->AddItem("Exit");
        f.SetBtnPopupMenu(menu);
    });
    TComponent* sender = nullptr;
    bool shownBefore = true;
    f->OnOrbFormBtnMenuClick = [&](TComponent* s) {
        sender = s;
        shownBefore = menu->Showing();
    };
    ClickButton(f->BtnMenu());
    EXPECT_EQ(sender, f->BtnMenu());
    EXPECT_FALSE(shownBefore);
    ASSERT_TRUE(menu->Showing());
    TPoint corner = f->BtnMenu()->ClientToScreen({0, f->BtnMenu()->Height()});
    EXPECT_EQ(menu->LevelWindow(0)->Left(), corner.X);
    EXPECT_EQ(menu->LevelWindow(0)->Top(), corner.Y);
}

// ---- placement ----

TEST_F(OrbFormTest, PlacementAnywhereButOnAFormRaises) {
    TForm* form = MakeForm(200, 100);
    TWinControl* panel = form->Add<TWinControl>();
    try {
        panel->Add<TOrbForm>();
        FAIL() << "no error raised";
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "A Paretn control must TForm");
    }
    EXPECT_NO_THROW(form->Add<TOrbForm>());
}

}  // namespace
