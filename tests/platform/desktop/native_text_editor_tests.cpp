// The GTK text editor holds text set by code, reports the user's edits and
// follows its scroll state as skinned scroll bars need it.
#include <string>

#include "platform/desktop/native_widgets.h"
#include "platform/desktop/native_test_support.h"

using namespace native_test;

namespace {

class TextEditor : public TNativeFixture {
protected:
    void SetUp() override {
        TNativeFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        Editor = CreateDesktopTextEditorIn(Layer);
        Editor->SetBounds({10, 10, 210, 110});
        Editor->OnChange = [&](TNativeTextEditor*) { Changes++; };
        Editor->OnScroll = [&](TNativeTextEditor*) { Scrolls++; };
    }
    void TearDown() override {
        Editor.reset();
        TNativeFixture::TearDown();
    }
    GtkTextView* View() {
        GtkWidget* scroller = GTK_WIDGET(gtk_container_get_children(GTK_CONTAINER(Layer))->data);
        return GTK_TEXT_VIEW(gtk_bin_get_child(GTK_BIN(scroller)));
    }
    // Types at the caret the way the keyboard does (honours read-only).
    void UserTypes(const std::string& text) {
        GtkTextBuffer* buffer = gtk_text_view_get_buffer(View());
        gtk_text_buffer_insert_interactive_at_cursor(buffer, text.c_str(), -1, gtk_text_view_get_editable(View()));
    }
    std::unique_ptr<TNativeTextEditor> Editor;
    int Changes = 0, Scrolls = 0;
};

std::string Lines(int count, const std::string& line) {
    std::string text;
    for (int i = 0; i < count; i++) text += line + std::to_string(i) + "\n";
    return text;
}

TEST_F(TextEditor, HoldsTextAndReportsOnlyRealChanges) {
    Editor->SetText("first line\nsecond — 中文");
    EXPECT_EQ(Editor->Text(), "first line\nsecond — 中文");
    EXPECT_EQ(Changes, 1);
    Editor->SetText("first line\nsecond — 中文");
    EXPECT_EQ(Changes, 1);
}

TEST_F(TextEditor, UserEditsReportChangesUnlessReadOnly) {
    Editor->SetText("abc");
    Changes = 0;
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(View());
    GtkTextIter end;
    gtk_text_buffer_get_end_iter(buffer, &end);
    gtk_text_buffer_place_cursor(buffer, &end);
    UserTypes("d");
    EXPECT_EQ(Editor->Text(), "abcd");
    EXPECT_EQ(Changes, 1);

    Editor->SetReadOnly(TReadOnly::Yes);
    UserTypes("e");
    EXPECT_EQ(Editor->Text(), "abcd");
    EXPECT_EQ(Changes, 1);
}

TEST_F(TextEditor, ScrollStateFollowsLongTextAndScrollTo) {
    Editor->SetText(Lines(200, "line "));
    ASSERT_TRUE(PumpUntil([&] {
        TScrollState v = Editor->Scroll(TScrollDirection::Vertical);
        return v.Page >= 90 && v.Max + 1 > v.Page * 10;
    })) << "the vertical range never covered the text";
    TScrollState v = Editor->Scroll(TScrollDirection::Vertical);
    EXPECT_EQ(v.Min, 0);
    EXPECT_EQ(v.Pos, 0);

    Scrolls = 0;
    Editor->ScrollTo(TScrollDirection::Vertical, 120);
    EXPECT_EQ(Editor->Scroll(TScrollDirection::Vertical).Pos, 120);
    EXPECT_GE(Scrolls, 1);

    Editor->ScrollTo(TScrollDirection::Vertical, 1000000);
    v = Editor->Scroll(TScrollDirection::Vertical);
    EXPECT_EQ(v.Pos, v.Max - v.Page + 1);
    Editor->ScrollTo(TScrollDirection::Vertical, -5);
    EXPECT_EQ(Editor->Scroll(TScrollDirection::Vertical).Pos, 0);
}

TEST_F(TextEditor, OnlyUnwrappedTextScrollsSideways) {
    std::string longLine(400, 'x');
    Editor->SetText(longLine);
    ASSERT_TRUE(PumpUntil([&] { return Editor->Scroll(TScrollDirection::Horizontal).Page > 0; }));
    Settle();
    TScrollState h = Editor->Scroll(TScrollDirection::Horizontal);
    EXPECT_LE(h.Max + 1, h.Page) << "wrapped text must fit the width";

    Editor->SetWordWrap(TWordWrap::No);
    ASSERT_TRUE(PumpUntil([&] {
        TScrollState s = Editor->Scroll(TScrollDirection::Horizontal);
        return s.Max + 1 > s.Page * 2;
    })) << "an unwrapped long line must widen the horizontal range";
}

}  // namespace

namespace {

// The colour on screen at a point of the test window.
TColor32 ScreenPixel(GtkWidget* window, int x, int y) {
    GdkPixbuf* shot = gdk_pixbuf_get_from_window(gtk_widget_get_window(window), x, y, 1, 1);
    if (!shot) return 0;
    const guchar* p = gdk_pixbuf_get_pixels(shot);
    TColor32 c = Color32(p[0], p[1], p[2]);
    g_object_unref(shot);
    return c;
}

TEST_F(TextEditor, SitsAtItsBoundsInItsColoursAndTakesFocus) {
    Editor->SetBounds({30, 40, 230, 140});
    Editor->SetColors(0x00000000, 0x000000FF);  // black on red (0x00BBGGRR)
    GtkWidget* scroller = gtk_widget_get_parent(GTK_WIDGET(View()));
    ASSERT_TRUE(PumpUntil([&] {
        GtkAllocation a;
        gtk_widget_get_allocation(scroller, &a);
        return a.x == 30 && a.y == 40 && a.width == 200 && a.height == 100;
    })) << "the editor is not at its bounds";
    EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(Window, 200, 120) == Color32(255, 0, 0); }))
        << std::hex << ScreenPixel(Window, 200, 120);
    EXPECT_NE(ScreenPixel(Window, 20, 120), Color32(255, 0, 0)) << "red outside the bounds";

    Editor->SetFocus();
    EXPECT_TRUE(Editor->Focused());
    Editor->SetVisible(false);
    EXPECT_FALSE(Editor->Focused());
    Editor->SetEnabled(false);
    Editor->SetVisible(true);
    Editor->SetFocus();
    EXPECT_FALSE(Editor->Focused()) << "a disabled editor took the focus";
}

}  // namespace
