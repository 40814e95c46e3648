// The slide between the list page and the editor page on the virtual clock:
// fifteen steps of thirty pixels five milliseconds apart, the list page's
// picture moving with the editor page, the final places of both pages, and
// a second request while a slide runs.
#include "main_window_fixture.h"
#include "skin/orb_button.h"
#include "skin/orb_panel.h"

namespace {

constexpr int PageLeft = 205, PageTop = 31, PageWidth = 450, PageHeight = 400;
constexpr bool Editor = true, List = false;

class SlideTest : public TMainWindowFixture {
protected:
    void SetUp() override {
        TMainWindowFixture::SetUp();
        AddReminder("Morning run", PeriodDaily, EncodeTime(7, 0, 0));
        AddReminder("Pay the rent", PeriodMonthly, EncodeTime(8, 0, 0), {0});
        OpenWindow();
        Before = Host.Screenshot(*Window);
    }

    // The slide is over with that page in front, the editor page in its place.
    void ExpectInFront(bool editor) {
        EXPECT_FALSE(Window->Sliding());
        EXPECT_EQ(Window->EditorShowing(), editor);
        EXPECT_EQ(Window->pnlList->Visible(), !editor);
        EXPECT_EQ(Window->pnlDetails->Visible(), editor);
        EXPECT_EQ(Window->pnlDetails->BoundsRect(),
                  Bounds(editor ? PageLeft : PageLeft + PageWidth, PageTop, PageWidth, PageHeight));
    }
    // The window shows the list page's columns from..to-1 (as they were
    // before the slide) at the page's left edge.
    void ExpectListColumns(int from, int to, int line) {
        SCOPED_TRACE("from line " + std::to_string(line));
        const TBitmap32 now = Host.Screenshot(*Window);
        int differences = 0;
        for (int y = PageTop; y < PageTop + PageHeight; y += 3)
            for (int c = from; c < to; c += 2)
                if (now.Pixel(PageLeft + c - from, y) != Before.Pixel(PageLeft + c, y)) ++differences;
        EXPECT_EQ(differences, 0);
    }

    TBitmap32 Before;
};

TEST_F(SlideTest, TheEditorSlidesInFromTheRightInFifteenSteps) {
    ExpectInFront(List);
    Window->SlidePages();
    EXPECT_TRUE(Window->Sliding());
    EXPECT_TRUE(Window->EditorShowing()) << "sliding in counts as showing";
    EXPECT_FALSE(Window->pnlList->Visible());
    EXPECT_TRUE(Window->pnlDetails->Visible());
    EXPECT_EQ(Window->pnlDetails->Left(), PageLeft + PageWidth);
    Host.Settle();
    ExpectListColumns(0, PageWidth, __LINE__);

    Host.Advance(4);
    EXPECT_EQ(Window->pnlDetails->Left(), PageLeft + PageWidth) << "steps are 5 ms apart";
    Host.Advance(1);
    for (int step = 1; step < 15; ++step) {
        SCOPED_TRACE(step);
        EXPECT_TRUE(Window->Sliding());
        EXPECT_EQ(Window->pnlDetails->Left(), PageLeft + PageWidth - 30 * step);
        if (step == 5 || step == 11) ExpectListColumns(30 * step, PageWidth, __LINE__);
        Host.Advance(5);
    }
    ExpectInFront(Editor);
    Host.Advance(100);
    ExpectInFront(Editor);
}

TEST_F(SlideTest, TheListSlidesBackFromTheLeftWithThePictureTakenWhenTheEditorOpened) {
    Window->SlidePages();
    FinishSlide();
    ExpectInFront(Editor);

    Window->SlidePages();
    EXPECT_TRUE(Window->Sliding());
    EXPECT_FALSE(Window->EditorShowing());
    EXPECT_FALSE(Window->pnlList->Visible()) << "the list page shows only at the end";
    for (int step = 1; step <= 15; ++step) {
        SCOPED_TRACE(step);
        Host.Advance(5);
        if (step < 15) {
            EXPECT_EQ(Window->pnlDetails->Left(), PageLeft + 30 * step);
            if (step == 4 || step == 10) ExpectListColumns(PageWidth - 30 * step, PageWidth, __LINE__);
        }
    }
    ExpectInFront(List);
    EXPECT_EQ(Host.Screenshot(*Window).Pixel(PageLeft + 100, PageTop + 60),
              Before.Pixel(PageLeft + 100, PageTop + 60));
}

TEST_F(SlideTest, ARequestWhileOneRunsFinishesTheRunningSlideFirst) {
    Window->SlidePages();
    Host.Advance(5 * 5);
    ASSERT_TRUE(Window->Sliding());
    Window->SlidePages();  // back, half way in
    EXPECT_TRUE(Window->Sliding());
    EXPECT_FALSE(Window->EditorShowing());
    EXPECT_EQ(Window->pnlDetails->Left(), PageLeft) << "the first slide ended where it was going";
    Host.Advance(5 * 15);
    ExpectInFront(List);

    // And again on the way back.
    Window->SlidePages();
    FinishSlide();
    Window->SlidePages();
    Host.Advance(5 * 3);
    Window->SlidePages();
    EXPECT_TRUE(Window->EditorShowing());
    EXPECT_FALSE(Window->pnlList->Visible());
    FinishSlide();
    ExpectInFront(Editor);
}

TEST_F(SlideTest, InputIsHandledWhileThePagesSlide) {
    Window->SlidePages();
    Host.Advance(5 * 3);
    ASSERT_TRUE(Window->Sliding());
    // The tab question comes up mid-slide; No leaves the slide running.
    AnswerNextBox(mrNo);
    ClickOn(*Window->btnCompleted);
    EXPECT_EQ(AskedButtonSets.size(), 1u);
    EXPECT_EQ(Window->CurrentTab(), TReminderTab::Unfinished);
    FinishSlide();
    ExpectInFront(Editor);
}

TEST_F(SlideTest, TheHoverPanelIsNotCarriedOntoTheEditor) {
    MoveTo(RowCentre(Row(0)));
    ASSERT_TRUE(Window->pnlBtn->Visible());
    Window->SlidePages();
    EXPECT_FALSE(Window->pnlBtn->Visible());
    EXPECT_EQ(Window->pnlBtn->Tag, 0);
}

}  // namespace
