// TOrbMessageBox on the offscreen host: its size from the message, the
// wrapped and ellipsized text, the results of keys and clicks, placement,
// the system move, and the calls that must not show anything.
#include <gtest/gtest.h>

#include <string>

#include "platform/gfx/text.h"
#include "platform/gui/application.h"
#include "platform/offscreen/offscreen_host.h"
#include "skin/orb_message_box.h"
#include "skin/orb_message_box_preset.h"

namespace {

const TColor32 Outer = Color32(42, 45, 50);

TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

class MessageBoxTest : public testing::Test {
protected:
    TOffscreenHost Host;
    TApplication App{Host};
    TForm* Main = nullptr;
    TOrbMessageBox* Box = nullptr;

    void SetUp() override {
        Main = App.CreateForm<TForm>();
        Main->SetBounds(100, 50, 600, 400);
        Main->Show();
        Box = Main->Create<TOrbMessageBox>();
        LoadProgramMessageBoxSkin(*Box);
        Host.Settle();
    }
    TForm& Window() { return *Box->MessageForm(); }
    // Shows a box and runs `answer` inside its modal loop.
    int Ask(int buttons, std::function<void()> answer, const std::string& message = "Delete the reminder?") {
        Host.QueueAction(std::move(answer));
        return Box->ShowMsg("Confirm", message, nullptr, false, nullptr, buttons, MsgIconQuestion);
    }
    int AskWithKeys(int buttons, std::initializer_list<int> keys) {
        return Ask(buttons, [this, keys] {
            for (int key : keys) Host.PressKey(Window(), key);
        });
    }
    void ClickPart(TMsgPart part) {
        const TPoint p = Centre(part == TMsgPart::Close     ? Box->Layout().Close
                                : part == TMsgPart::Button1 ? Box->Layout().Button1
                                                            : Box->Layout().Button2);
        Host.MouseMove(Window(), p.X, p.Y);
        Host.Click(Window(), p.X, p.Y);
    }
};

TEST_F(MessageBoxTest, ShortMessageKeepsTheFrameImageAsItIs) {
    ASSERT_TRUE(Box->Compose("Confirm", "Delete the reminder?", BtnSetYesNo, MsgIconQuestion));
    const TBitmap32& picture = Box->Picture();
    ASSERT_EQ(picture.Width(), 280);
    ASSERT_EQ(picture.Height(), 154);
    // Untouched corners of the frame are the image's own pixels.
    for (TPoint p : {TPoint{0, 0}, TPoint{3, 100}, TPoint{276, 150}, TPoint{279, 153}})
        EXPECT_EQ(picture.Pixel(p.X, p.Y), Box->ImgForm().Pixel(p.X, p.Y)) << p.X << "," << p.Y;
    // Text landed in the message rectangle.
    const TRect m = Box->Layout().Message;
    int dark = 0;
    for (int y = m.Top; y < m.Bottom; ++y)
        for (int x = m.Left; x < m.Right; ++x) dark += RedOf(picture.Pixel(x, y)) < 128;
    EXPECT_GT(dark, 20);
}

TEST_F(MessageBoxTest, LongMessageGrowsTheBoxAndEndsItsThirdRowWithAnEllipsis) {
    std::string message;
    for (int i = 0; i < 60; ++i) message += "reminder" + std::to_string(i) + " ";
    ASSERT_TRUE(Box->Compose("Confirm", message, BtnSetOk, MsgIconInformation));
    const TMsgLayout& l = Box->Layout();
    const int w = TextWidth(Box->FontMsg, message, tfNoPrefix);
    EXPECT_EQ(l.Width, 35 + w / 3 + 2 * 3 + 10);
    EXPECT_EQ(l.Height, 154);
    EXPECT_EQ(Box->Picture().Width(), l.Width);
    // The grown frame keeps its border on the far side and its shadow.
    EXPECT_EQ(Box->Picture().Pixel(l.Width - 4, l.Height / 2), Outer);
    EXPECT_EQ(Box->Picture().Pixel(l.Width - 4, 1) , Box->ImgForm().Pixel(276, 1));
    const TTextMetrics shown = MeasureText(Box->FontMsg, message, l.Message.Width(), l.Message.Height(),
                                           tfWordBreak | tfEndEllipsis | tfNoPrefix);
    EXPECT_EQ(shown.LineCount, 3);
    EXPECT_TRUE(shown.Ellipsized);
    EXPECT_EQ(shown.ShownText.substr(shown.ShownText.size() - 3), "…");
    // Nothing of the text runs into the footer below its three rows.
    for (int y = l.Message.Bottom; y < l.Button1.Top - 8; ++y)
        for (int x = l.Message.Left; x < l.Message.Right; ++x)
            ASSERT_GT(RedOf(Box->Picture().Pixel(x, y)), 200) << x << "," << y;
}

TEST_F(MessageBoxTest, KeysAnswerYesNoAndOk) {
    EXPECT_EQ(AskWithKeys(BtnSetYesNo, {vk::Return}), mrYes);
    EXPECT_EQ(AskWithKeys(BtnSetYesNo, {vk::Right, vk::Return}), mrNo);
    EXPECT_EQ(AskWithKeys(BtnSetYesNo, {vk::Down, vk::Up, vk::Return}), mrYes);
    EXPECT_EQ(AskWithKeys(BtnSetYesNo, {vk::Escape}), mrOk);
    EXPECT_EQ(AskWithKeys(BtnSetOk, {vk::Right, vk::Return}), mrOk);
    EXPECT_FALSE(Box->Showing());
}

TEST_F(MessageBoxTest, ClicksAnswerByTheirButton) {
    EXPECT_EQ(Ask(BtnSetYesNo, [this] { ClickPart(TMsgPart::Close); }), mrNo);
    EXPECT_EQ(Ask(BtnSetYesNo, [this] { ClickPart(TMsgPart::Button2); }), mrYes);
    EXPECT_EQ(Ask(BtnSetYesNo, [this] { ClickPart(TMsgPart::Button1); }), mrNo);
    EXPECT_EQ(Ask(BtnSetOk, [this] { ClickPart(TMsgPart::Close); }), mrOk);
    EXPECT_EQ(Ask(BtnSetOk, [this] { ClickPart(TMsgPart::Button1); }), mrOk);
}

TEST_F(MessageBoxTest, PressOnOneButtonReleasedOnAnotherChoosesNothing) {
    bool stillShowing = false;
    const int result = Ask(BtnSetYesNo, [&] {
        const TPoint yes = Centre(Box->Layout().Button2), no = Centre(Box->Layout().Button1);
        Host.MouseMove(Window(), no.X, no.Y);
        Host.MouseDown(Window(), no.X, no.Y);
        EXPECT_TRUE(Box->PartPressed(TMsgPart::Button1));
        Host.MouseMove(Window(), yes.X, yes.Y, ssLeft);
        Host.MouseUp(Window(), yes.X, yes.Y);
        stillShowing = Box->Showing() && Window().Visible();
        EXPECT_FALSE(Box->PartPressed(TMsgPart::Button1));
        // The press gave No the focus, so Enter answers No.
        Host.PressKey(Window(), vk::Return);
    });
    EXPECT_TRUE(stillShowing);
    EXPECT_EQ(result, mrNo);
}

TEST_F(MessageBoxTest, DragFromOutsideTheButtonsMovesTheBox) {
    int movesOverText = -1, movesOverButton = -1;
    Ask(BtnSetYesNo, [&] {
        const TOffscreenWindow* w = Host.WindowOf(Window());
        const TPoint text = Centre(Box->Layout().Message), yes = Centre(Box->Layout().Button2);
        Host.MouseMove(Window(), text.X, text.Y);
        EXPECT_EQ(w->SystemMoveCount, 0) << "a plain hover must not start a move";
        Host.MouseDown(Window(), text.X, text.Y);
        Host.MouseMove(Window(), text.X + 5, text.Y + 5, ssLeft);
        movesOverText = w->SystemMoveCount;
        Host.MouseUp(Window(), text.X + 5, text.Y + 5);
        Host.MouseMove(Window(), yes.X, yes.Y);
        Host.MouseDown(Window(), yes.X, yes.Y);
        Host.MouseMove(Window(), yes.X + 2, yes.Y, ssLeft);
        movesOverButton = w->SystemMoveCount;
        Host.MouseUp(Window(), yes.X + 2, yes.Y);
    });
    EXPECT_EQ(movesOverText, 1);
    EXPECT_EQ(movesOverButton, 1);
}

TEST_F(MessageBoxTest, HoverAndFocusShowTheirFrames) {
    Ask(BtnSetYesNo, [this] {
        const TRect yes = Box->Layout().Button2, no = Box->Layout().Button1;
        // The focused Yes carries the accent ring, the normal No a grey edge.
        const TColor32 yesEdge = Host.PixelAt(Window(), Centre(yes).X, yes.Top);
        const TColor32 noEdge = Host.PixelAt(Window(), Centre(no).X, no.Top);
        EXPECT_GT(BlueOf(yesEdge), RedOf(yesEdge) + 100);
        EXPECT_LT(BlueOf(noEdge), RedOf(noEdge) + 40);
        const TPoint inside{no.Left + 12, Centre(no).Y - 6};
        const TColor32 before = Host.PixelAt(Window(), inside.X, inside.Y);
        Host.MouseMove(Window(), inside.X, inside.Y);
        Host.Settle();
        EXPECT_TRUE(Box->PartHover(TMsgPart::Button1));
        EXPECT_NE(Host.PixelAt(Window(), inside.X, inside.Y), before);
        Host.MouseLeave(Window());
        Host.Settle();
        EXPECT_EQ(Host.PixelAt(Window(), inside.X, inside.Y), before);
        Host.PressKey(Window(), vk::Escape);
    });
}

TEST_F(MessageBoxTest, PlacedOverTheFormOrCentredOnTheWorkArea) {
    TRect overForm, onScreen, shifted;
    auto bounds = [this](TRect& out) {
        return [this, &out] {
            out = Window().BoundsRect();
            Host.PressKey(Window(), vk::Escape);
        };
    };
    Host.QueueAction(bounds(overForm));
    Box->ShowMsg("Confirm", "Delete?", nullptr, false, nullptr, BtnSetYesNo, MsgIconQuestion);
    EXPECT_EQ(overForm, Bounds(100 + (600 - 280) / 2, 50 + (400 - 154) / 2, 280, 154));

    Host.QueueAction(bounds(onScreen));
    Box->ShowMsg("Confirm", "Delete?", nullptr, true, Main, BtnSetOk, MsgIconWarning);
    EXPECT_EQ(onScreen, Bounds((1920 - 280) / 2, (1040 - 154) / 2, 280, 154));

    Host.WorkAreaRect = {1920, 30, 1920 + 1280, 30 + 994};
    Host.QueueAction(bounds(shifted));
    Box->ShowMsg("Confirm", "Delete?", nullptr, true, nullptr, BtnSetOk, MsgIconWarning);
    EXPECT_EQ(shifted, Bounds(1920 + (1280 - 280) / 2, 30 + (994 - 154) / 2, 280, 154));

    TForm* other = App.CreateForm<TForm>();
    other->SetBounds(0, 0, 280, 154);
    TOrbMsgOwnerInfo owner{other};
    Host.QueueAction(bounds(overForm));
    Box->ShowMsg("Confirm", "Delete?", &owner, false, Main, BtnSetOk, MsgIconWarning);
    EXPECT_EQ(overForm, Bounds(0, 0, 280, 154));
}

TEST_F(MessageBoxTest, SecondCallWhileOneShowsReturnsAtOnce) {
    int inner = -1, depthInside = 0;
    const int result = Ask(BtnSetYesNo, [&] {
        depthInside = Host.LoopDepth();
        inner = Box->ShowMsg("Again", "Another question?", nullptr, false, nullptr, BtnSetYesNo, MsgIconQuestion);
        EXPECT_EQ(Host.LoopDepth(), depthInside);
        Host.PressKey(Window(), vk::Return);
    });
    EXPECT_EQ(inner, mrNone);
    EXPECT_EQ(result, mrYes);
    EXPECT_EQ(Host.MaxLoopDepth(), depthInside);
}

TEST_F(MessageBoxTest, ClosedByTheWindowManagerIsNeverAYes) {
    EXPECT_EQ(AskWithKeys(BtnSetYesNo, {vk::Return}), mrYes);
    // The Yes of the call before must not carry over.
    EXPECT_EQ(Ask(BtnSetYesNo, [this] { Host.CloseRequest(Window()); }), mrOk);
    EXPECT_FALSE(Box->Showing());
    EXPECT_EQ(AskWithKeys(BtnSetYesNo, {vk::Right, vk::Return}), mrNo);
}

TEST_F(MessageBoxTest, MissingImagesShowNothingInsteadOfAnUnanswerableBox) {
    Box->SetImgBtn(TPngImage());
    EXPECT_EQ(Box->ShowMsg("Confirm", "Delete?", nullptr, false, nullptr, BtnSetYesNo, MsgIconQuestion), mrNone);
    EXPECT_FALSE(Box->Showing());
    EXPECT_EQ(Host.MaxLoopDepth(), 0);
    // A missing icon strip only leaves the icon out.
    LoadProgramMessageBoxSkin(*Box);
    Box->SetImgMsg(TPngImage());
    ASSERT_TRUE(Box->Compose("Confirm", "Delete?", BtnSetOk, MsgIconWarning));
    EXPECT_TRUE(Box->Layout().Icon.IsEmpty());
    EXPECT_EQ(Box->Layout().Message.Left, 3 + 4);
}

}  // namespace
