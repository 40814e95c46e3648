// The plain-text editor: a GtkTextView in a GtkScrolledWindow whose own
// scroll bars stay hidden, because the form draws skinned scroll bars that
// mirror the adjustments (read through Scroll, moved through ScrollTo).
#include <algorithm>
#include <cmath>

#include "platform/desktop/native_common.h"
#include "platform/desktop/native_widgets.h"

using namespace native_detail;

namespace {

class TGtkTextEditor : public TPlaced<TNativeTextEditor> {
public:
    TGtkTextEditor(GtkWidget* layer, GtkWidget* scroller, GtkWidget* view)
        : TPlaced(layer, scroller, view), FView(view), FBuffer(gtk_text_view_get_buffer(GTK_TEXT_VIEW(view))) {
        FChangedId = Connect(FBuffer, "changed", G_CALLBACK(OnBufferChanged));
        GtkScrolledWindow* sw = GTK_SCROLLED_WINDOW(scroller);
        FAdjustment[0] = gtk_scrolled_window_get_hadjustment(sw);
        FAdjustment[1] = gtk_scrolled_window_get_vadjustment(sw);
        for (GtkAdjustment* adjustment : FAdjustment) {
            Connect(adjustment, "changed", G_CALLBACK(OnAdjustment));
            Connect(adjustment, "value-changed", G_CALLBACK(OnAdjustment));
        }
        SetWordWrap(TWordWrap::Yes);
        Restyle();
    }

    std::string Text() const override {
        if (!FRoot) return {};
        GtkTextIter start, end;
        gtk_text_buffer_get_bounds(FBuffer, &start, &end);
        gchar* text = gtk_text_buffer_get_text(FBuffer, &start, &end, TRUE);
        std::string result = text;
        g_free(text);
        return result;
    }
    void SetText(const std::string& utf8) override {
        if (!FRoot || utf8 == Text()) return;
        // set_text is a delete and an insert: one change for the caller.
        g_signal_handler_block(FBuffer, FChangedId);
        gtk_text_buffer_set_text(FBuffer, utf8.c_str(), int(utf8.size()));
        g_signal_handler_unblock(FBuffer, FChangedId);
        if (OnChange) OnChange(this);
    }
    void SetReadOnly(TReadOnly value) override {
        if (!FRoot) return;
        gtk_text_view_set_editable(GTK_TEXT_VIEW(FView), value == TReadOnly::No);
        gtk_text_view_set_cursor_visible(GTK_TEXT_VIEW(FView), value == TReadOnly::No);
    }
    void SetFont(const TFont& font) override {
        FFont = font;
        Restyle();
    }
    void SetWordWrap(TWordWrap value) override {
        if (!FRoot) return;
        gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(FView),
                                    value == TWordWrap::Yes ? GTK_WRAP_WORD_CHAR : GTK_WRAP_NONE);
    }
    void SetColors(TColor text, TColor background) override {
        FTextColor = text;
        FBackground = background;
        Restyle();
    }
    TScrollState Scroll(TScrollDirection direction) const override {
        GtkAdjustment* a = FAdjustment[int(direction)];
        TScrollState s;
        s.Min = int(std::lround(gtk_adjustment_get_lower(a)));
        s.Page = int(std::lround(gtk_adjustment_get_page_size(a)));
        // Pixels as units: Max is the last pixel, so Pos ends at Max - Page + 1.
        s.Max = std::max(s.Min, int(std::lround(gtk_adjustment_get_upper(a))) - 1);
        s.Pos = int(std::lround(gtk_adjustment_get_value(a)));
        return s;
    }
    void ScrollTo(TScrollDirection direction, int pos) override {
        TScrollState s = Scroll(direction);
        pos = std::clamp(pos, s.Min, std::max(s.Min, s.Max - std::max(s.Page, 1) + 1));
        // value-changed reports the move through OnAdjustment.
        gtk_adjustment_set_value(FAdjustment[int(direction)], pos);
    }

private:
    static void OnBufferChanged(GtkTextBuffer*, gpointer self) {
        auto* editor = static_cast<TGtkTextEditor*>(self);
        if (editor->OnChange) editor->OnChange(editor);
    }
    static void OnAdjustment(GtkAdjustment*, gpointer self) {
        auto* editor = static_cast<TGtkTextEditor*>(self);
        // GTK updates bounds, page and value one property at a time; only
        // a visible difference is worth a report.
        TScrollState now[2] = {editor->Scroll(TScrollDirection::Horizontal),
                               editor->Scroll(TScrollDirection::Vertical)};
        if (now[0] == editor->FReported[0] && now[1] == editor->FReported[1]) return;
        editor->FReported[0] = now[0];
        editor->FReported[1] = now[1];
        if (editor->OnScroll) editor->OnScroll(editor);
    }
    void Restyle() {
        if (!FRoot) return;
        std::string css = "textview { " + CssFont(FFont) + " }\n";
        css += "textview text { color: " + CssColor(FTextColor) + "; background-color: " +
               CssColor(FBackground) + "; }\n";
        SetWidgetCss(FView, css);
    }

    GtkWidget* FView;
    GtkTextBuffer* FBuffer;
    gulong FChangedId = 0;
    GtkAdjustment* FAdjustment[2] = {};
    TScrollState FReported[2];
    TFont FFont;
    TColor FTextColor = 0, FBackground = 0x00FFFFFF;
};

}  // namespace

std::unique_ptr<TNativeTextEditor> CreateDesktopTextEditorIn(TNativeLayerHandle layer) {
    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    // EXTERNAL scrolls like AUTOMATIC but never shows GTK's bars.
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_EXTERNAL, GTK_POLICY_EXTERNAL);
    gtk_scrolled_window_set_overlay_scrolling(GTK_SCROLLED_WINDOW(scroller), FALSE);
    GtkWidget* view = gtk_text_view_new();
    // A little air between the text and the skinned frame around it.
    gtk_text_view_set_left_margin(GTK_TEXT_VIEW(view), 4);
    gtk_text_view_set_right_margin(GTK_TEXT_VIEW(view), 4);
    gtk_container_add(GTK_CONTAINER(scroller), view);
    return std::make_unique<TGtkTextEditor>(static_cast<GtkWidget*>(layer), scroller, view);
}
