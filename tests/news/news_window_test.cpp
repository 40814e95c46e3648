// The news window on the offscreen host: it is prepared hidden, shows only
// a page that loaded and took its styling, slides up 20 pixels every 50 ms,
// rests a minute, fades by 10 every 33 ms and closes, unless the mouse is
// over it. Its web view exists only while a page is loading or shown.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "i18n/lang_path.h"
#include "i18n/lang_text.h"
#include "online/news_form.h"
#include "platform/gui/application.h"
#include "platform/gui/timer.h"
#include "platform/offscreen/offscreen_host.h"
#include "skin/orb_caption_button.h"
#include "skin/orb_form.h"
#include "support/test_support.h"

namespace {

constexpr const char* PageUrl = "http://127.0.0.1:9/news/msg.html";

TNewsAnswer Answer(int msgId, int width = 0, int height = 0) {
    TNewsAnswer answer;
    answer.MsgID = msgId;
    answer.Url = PageUrl;
    answer.FormWidth = width;
    answer.FormHeight = height;
    return answer;
}

class NewsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        LangFilePath = Dir / "Languages/None.ini";  // the built-in English texts
        ReloadLanguage();
        // The program's main window comes first; the news window is never
        // the application's main form.
        Main = App.CreateForm<TForm>();
        Host.WorkAreaRect = {0, 0, 1280, 984};
    }
    void TearDown() override {
        LangFilePath.clear();
        ReloadLanguage();
    }

    // The news window's web view while it has one.
    TOffscreenWebView* View() const { return Host.WebViews.Last(); }
    const TOffscreenWindow& Shown() const { return *Host.WindowOf(*NewsWindow); }

    // Shows the news and completes its page the way a browser would.
    void ShowLoaded(const TNewsAnswer& answer) {
        ASSERT_TRUE(ShowNewsWindow(answer, [this](TFrmNews*, int32_t id) { ShownIds.push_back(id); }));
        ASSERT_NE(View(), nullptr);
        View()->ScriptHandler = StyledPage;
        View()->FinishNavigation(TBody::Present);
        Host.Settle();
        ASSERT_TRUE(NewsWindow->Visible());
    }
    // Runs the slide to its end.
    void SlideIn() { Host.Advance(50 * 27); }

    static std::string StyledPage(const std::string& script) {
        return script == TFrmNews::StyleScript ? TFrmNews::StyledAnswer : "";
    }

    testing_support::TTempDir Dir;
    TOffscreenHost Host;
    TApplication App{Host};
    TForm* Main = nullptr;
    std::vector<int32_t> ShownIds;
};

TEST_F(NewsWindowTest, ThePageLoadsHiddenBelowTheWorkAreaInTheDesignSize) {
    ASSERT_TRUE(ShowNewsWindow(Answer(5)));
    ASSERT_NE(NewsWindow, nullptr);
    EXPECT_NE(App.MainForm(), NewsWindow);
    EXPECT_FALSE(NewsWindow->Visible());
    EXPECT_TRUE(NewsWindow->Navigating());
    EXPECT_EQ(NewsWindow->ShownId, 5);
    EXPECT_EQ(NewsWindow->NewsUrl, PageUrl);
    ASSERT_NE(View(), nullptr);
    EXPECT_EQ(View()->Url(), PageUrl);
    EXPECT_TRUE(View()->NavigationPending());
    EXPECT_EQ(NewsWindow->BoundsRect(), Bounds(1280 - 492 - 10, 984 + 266, 492, 266));
    EXPECT_EQ(NewsWindow->fxfrm1->Caption(), "Newsletter");
    EXPECT_EQ(NewsWindow->Opacity(), 255);
    EXPECT_FALSE(NewsWindow->timer1->Enabled());
    EXPECT_FALSE(NewsWindow->timer2->Enabled());
}

TEST_F(NewsWindowTest, ALoadedPageIsStyledPlacedAndShown) {
    ShowLoaded(Answer(5));
    EXPECT_EQ(View()->Scripts, std::vector<std::string>{TFrmNews::StyleScript});
    EXPECT_EQ(View()->Bounds, Bounds(1, 26, 490, 239));
    EXPECT_TRUE(NewsWindow->timer1->Enabled());
    EXPECT_EQ(ShownIds, std::vector<int32_t>{5});
    // The frame: the rounded outline and only the close button.
    const TWindowShape& shape = Shown().Shape;
    ASSERT_NE(shape.Kind, TShapeKind::Rectangle);
    if (shape.Kind == TShapeKind::Mask) {
        EXPECT_EQ(AlphaOf(shape.Mask.Pixel(0, 0)), 0) << "a rounded corner";
        EXPECT_NE(AlphaOf(shape.Mask.Pixel(2, 0)), 0);
        EXPECT_NE(AlphaOf(shape.Mask.Pixel(100, 100)), 0);
    }
    TOrbForm& frame = *NewsWindow->fxfrm1;
    ASSERT_NE(frame.BtnClose(), nullptr);
    EXPECT_EQ(frame.BtnMin(), nullptr);
    EXPECT_EQ(frame.BtnMenu(), nullptr);
    EXPECT_EQ(frame.BtnClose()->Left() + frame.BtnClose()->Width(), 492 + 3 - 4);
    EXPECT_EQ(Host.PixelAt(*NewsWindow, 200, 10), Color32(0x31, 0x35, 0x3B)) << "the caption band";
}

TEST_F(NewsWindowTest, TheAnswersPageSizeCountsOnlyWithBothSides) {
    ShowLoaded(Answer(5, 300, 200));
    EXPECT_EQ(NewsWindow->Width(), 302);
    EXPECT_EQ(NewsWindow->Height(), 226);
    EXPECT_EQ(View()->Bounds, Bounds(1, 26, 300, 199));
    NewsWindow->Close();

    ShowLoaded(Answer(6, 0, 300));
    EXPECT_EQ(NewsWindow->Width(), 492);
    EXPECT_EQ(NewsWindow->Height(), 266);
}

TEST_F(NewsWindowTest, ItSlidesUpTwentyPixelsEveryFiftyMillisecondsToItsRest) {
    ShowLoaded(Answer(5));
    const int start = 984 + 266, rest = 984 - 266;
    Host.Advance(49);
    EXPECT_EQ(NewsWindow->Top(), start);
    Host.Advance(1);
    EXPECT_EQ(NewsWindow->Top(), start - 20);
    Host.Advance(50 * 25);  // 26 steps: 520 of the 532 pixels
    EXPECT_EQ(NewsWindow->Top(), start - 520);
    EXPECT_TRUE(NewsWindow->timer1->Enabled());
    Host.Advance(50);  // the last step stops exactly at the rest
    EXPECT_EQ(NewsWindow->Top(), rest);
    EXPECT_FALSE(NewsWindow->timer1->Enabled());
    EXPECT_TRUE(NewsWindow->timer2->Enabled());
    EXPECT_EQ(NewsWindow->Left(), 1280 - 492 - 10);
}

TEST_F(NewsWindowTest, AfterAMinuteItFadesOutAndClosesKeepingItsNumber) {
    ShowLoaded(Answer(5));
    SlideIn();
    Host.Advance(59999);
    EXPECT_EQ(NewsWindow->Opacity(), 255);
    EXPECT_FALSE(NewsWindow->Fading());
    Host.Advance(1);
    EXPECT_EQ(NewsWindow->Opacity(), 245);
    EXPECT_TRUE(NewsWindow->Fading());
    EXPECT_EQ(NewsWindow->timer2->Interval(), 33);
    Host.Advance(33 * 23);
    EXPECT_EQ(NewsWindow->Opacity(), 15);
    EXPECT_TRUE(NewsWindow->Visible());
    Host.Advance(33);  // the 25th step reaches 5: closed
    EXPECT_FALSE(NewsWindow->Visible());
    EXPECT_FALSE(NewsWindow->timer2->Enabled());
    Host.Settle();
    EXPECT_TRUE(Host.WebViews.Items.empty()) << "the web view goes with the page";
    ASSERT_NE(NewsWindow, nullptr);
    EXPECT_EQ(NewsWindow->ShownId, 5);
}

TEST_F(NewsWindowTest, TheMouseOverTheWindowStopsTheFadeWhereItIs) {
    ShowLoaded(Answer(5));
    SlideIn();
    Host.Advance(60000 + 33 * 2);
    EXPECT_EQ(NewsWindow->Opacity(), 225);
    Host.Cursor = {NewsWindow->Left() + 100, NewsWindow->Top() + 100};
    Host.Advance(33);
    EXPECT_EQ(NewsWindow->Opacity(), 215);
    EXPECT_FALSE(NewsWindow->timer2->Enabled());
    Host.Advance(600000);
    EXPECT_TRUE(NewsWindow->Visible());
    EXPECT_EQ(NewsWindow->Opacity(), 215);
    EXPECT_EQ(Shown().Opacity, 215);
}

TEST_F(NewsWindowTest, TheMouseJustOutsideDoesNotStopTheFade) {
    ShowLoaded(Answer(5));
    SlideIn();
    Host.Cursor = {NewsWindow->Left() + NewsWindow->Width(), NewsWindow->Top() + 10};
    Host.Advance(60000 + 33 * 24);
    EXPECT_FALSE(NewsWindow->Visible());
}

TEST_F(NewsWindowTest, APageWithoutABodyOrWhoseStylingFailsNeverBecomesVisible) {
    using TScript = std::function<std::string(const std::string&)>;
    const TScript raised = [](const std::string&) { return std::string(); };
    const std::vector<std::pair<TBody, TScript>> cases{{TBody::Missing, StyledPage}, {TBody::Present, raised}};
    int msgId = 5;
    for (const auto& [body, script] : cases) {
        SCOPED_TRACE(body == TBody::Missing ? "no body" : "the styling script raised");
        ASSERT_TRUE(ShowNewsWindow(Answer(msgId++), [this](TFrmNews*, int32_t id) { ShownIds.push_back(id); }));
        View()->ScriptHandler = script;
        View()->FinishNavigation(body);
        Host.Settle();
        EXPECT_FALSE(NewsWindow->Visible());
        EXPECT_EQ(Host.WindowOf(*NewsWindow)->Visible, false);
        EXPECT_FALSE(NewsWindow->timer1->Enabled());
        EXPECT_TRUE(Host.WebViews.Items.empty());
        EXPECT_TRUE(ShownIds.empty()) << "a page never seen is not counted as seen";
    }
}

TEST_F(NewsWindowTest, ANumberIsShownOnceInARun) {
    ShowLoaded(Answer(5));
    NewsWindow->Close();
    Host.Settle();
    EXPECT_FALSE(ShowNewsWindow(Answer(5)));
    EXPECT_TRUE(Host.WebViews.Items.empty()) << "no page is loaded for it again";
    EXPECT_FALSE(NewsWindow->Visible());
    EXPECT_FALSE(ShowNewsWindow(Answer(0)));
    ShowLoaded(Answer(6));
    EXPECT_EQ(ShownIds, (std::vector<int32_t>{5, 6}));
}

TEST_F(NewsWindowTest, NewerNewsReplacesAPageStillShown) {
    ShowLoaded(Answer(5));
    SlideIn();
    ASSERT_TRUE(ShowNewsWindow(Answer(6)));
    EXPECT_FALSE(NewsWindow->Visible());
    EXPECT_FALSE(NewsWindow->timer2->Enabled());
    Host.Settle();
    ASSERT_EQ(Host.WebViews.Items.size(), 1u);
    EXPECT_EQ(NewsWindow->Top(), 984 + 266) << "it slides in anew";
}

TEST_F(NewsWindowTest, WithoutAWebEngineThereIsNoNewsWindow) {
    Host.WebViewAvailable = false;
    EXPECT_FALSE(ShowNewsWindow(Answer(5), [this](TFrmNews*, int32_t id) { ShownIds.push_back(id); }));
    Host.Advance(2000);
    ASSERT_NE(NewsWindow, nullptr);
    EXPECT_FALSE(NewsWindow->Visible());
    EXPECT_TRUE(ShownIds.empty());
}

TEST_F(NewsWindowTest, TheCloseButtonClosesTheWindowAndFreesThePage) {
    ShowLoaded(Answer(5));
    SlideIn();
    TDStdFButton& close = *NewsWindow->fxfrm1->BtnClose();
    const TRect r = close.FormRect();
    Host.MouseMove(*NewsWindow, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    Host.Click(*NewsWindow, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    Host.Settle();
    EXPECT_FALSE(NewsWindow->Visible());
    EXPECT_FALSE(NewsWindow->timer2->Enabled());
    EXPECT_TRUE(Host.WebViews.Items.empty());
    EXPECT_FALSE(App.Terminated()) << "the program goes on";
    EXPECT_TRUE(App.IsForm(NewsWindow));
}

TEST_F(NewsWindowTest, TheWindowTakesTheLanguagesFontAndCaption) {
    LangFilePath = Dir / "Test.ini";
    testing_support::WriteFileBytes(LangFilePath,
                                    "[Translation]\nDefaultFont=Arial\nDefaultFontSize=10\n"
                                    "[Message]\nNewsletter=Neuigkeiten\n");
    ReloadLanguage();
    ShowLoaded(Answer(5));
    EXPECT_EQ(NewsWindow->Font().Name, "Arial");
    EXPECT_EQ(NewsWindow->Font().Size, 10);
    const TFont& caption = NewsWindow->fxfrm1->CaptionFont();
    EXPECT_EQ(caption.Name, "Arial");
    EXPECT_EQ(caption.Size, 10);
    EXPECT_TRUE(caption.Bold) << "the caption keeps its style";
    EXPECT_EQ(caption.Color, TColor(0xFFFFFF));
    EXPECT_EQ(NewsWindow->fxfrm1->Caption(), "Neuigkeiten");
}

}  // namespace
