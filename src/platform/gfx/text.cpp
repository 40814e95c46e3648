// Text through pango on cairo. Measuring and drawing build the layout the
// same way (same resolution and font options), so a width measured here is
// the width drawn.
#include "platform/gfx/text.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cctype>

namespace {

// The surface measurements are laid out on; one per thread because pango's
// font maps are per thread.
struct TMeasureSurface {
    cairo_surface_t* Surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* Cr = cairo_create(Surface);
    ~TMeasureSurface() {
        cairo_destroy(Cr);
        cairo_surface_destroy(Surface);
    }
};

cairo_t* MeasureContext() {
    thread_local TMeasureSurface surface;
    return surface.Cr;
}

int Utf8Length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

PangoFontDescription* Describe(const TFont& font) {
    PangoFontDescription* desc = pango_font_description_new();
    // The generic family behind the face keeps the size and style when the
    // face is not installed ("Tahoma" on most Linux desktops).
    std::string families = font.Name.empty() ? "Sans" : font.Name + ",Sans";
    pango_font_description_set_family(desc, families.c_str());
    pango_font_description_set_size(desc, (font.Size > 0 ? font.Size : 8) * PANGO_SCALE);
    pango_font_description_set_weight(desc, font.Bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(desc, font.Italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    return desc;
}

void SetupContext(PangoLayout* layout, const TFont& font) {
    PangoContext* ctx = pango_layout_get_context(layout);
    pango_cairo_context_set_resolution(ctx, ScreenDpi);
    // Grey antialiasing: subpixel colour fringes would be wrong on bitmaps
    // that are composed further. Whole-pixel advances keep measured and
    // drawn widths equal.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    pango_cairo_context_set_font_options(ctx, options);
    cairo_font_options_destroy(options);
    std::string language = CharsetLanguage(font.Charset);
    if (!language.empty()) pango_context_set_language(ctx, pango_language_from_string(language.c_str()));
    pango_layout_context_changed(layout);
}

void SetText(PangoLayout* layout, const TFont& font, const std::string& text, TTextFlags flags) {
    TPrefixText shown{text, -1};
    if (!(flags & tfNoPrefix)) shown = StripPrefix(text);
    pango_layout_set_text(layout, shown.Text.c_str(), int(shown.Text.size()));
    PangoAttrList* attrs = pango_attr_list_new();
    if (font.Underline) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (font.StrikeOut) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
    if (shown.AcceleratorPos >= 0 && !font.Underline) {
        PangoAttribute* u = pango_attr_underline_new(PANGO_UNDERLINE_LOW);
        u->start_index = unsigned(shown.AcceleratorPos);
        u->end_index = u->start_index + unsigned(Utf8Length(uint8_t(shown.Text[size_t(shown.AcceleratorPos)])));
        pango_attr_list_insert(attrs, u);
    }
    pango_layout_set_attributes(layout, attrs);
    pango_attr_list_unref(attrs);
}

// A layout of the text for a box of width x height pixels (<= 0: unbounded).
PangoLayout* MakeLayout(cairo_t* cr, const TFont& font, const std::string& text, int width, int height,
                        TTextFlags flags) {
    PangoLayout* layout = pango_cairo_create_layout(cr);
    SetupContext(layout, font);
    PangoFontDescription* desc = Describe(font);
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);
    SetText(layout, font, text, flags);
    if (flags & tfSingleLine) pango_layout_set_single_paragraph_mode(layout, TRUE);
    pango_layout_set_alignment(layout, (flags & tfCenter)  ? PANGO_ALIGN_CENTER
                                       : (flags & tfRight) ? PANGO_ALIGN_RIGHT
                                                           : PANGO_ALIGN_LEFT);
    const bool wrap = (flags & tfWordBreak) && !(flags & tfSingleLine);
    if ((wrap || (flags & tfEndEllipsis)) && width > 0) {
        pango_layout_set_width(layout, width * PANGO_SCALE);
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
        if (flags & tfEndEllipsis) {
            pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
            // Wrapped text ellipsizes the last line that fits the height;
            // otherwise every paragraph stays on one line (height -1).
            pango_layout_set_height(layout, wrap && height > 0 ? height * PANGO_SCALE : -1);
        }
    }
    return layout;
}

// The characters a laid-out line shows, with "…" for an ellipsized part.
std::string LineText(PangoLayout* layout, PangoLayoutLine* line) {
    const char* text = pango_layout_get_text(layout);
    std::string out;
    for (GSList* run = line->runs; run; run = run->next) {
        const PangoItem* item = static_cast<PangoGlyphItem*>(run->data)->item;
        if (item->analysis.flags & PANGO_ANALYSIS_FLAG_IS_ELLIPSIS) out += "\xE2\x80\xA6";
        else out.append(text + item->offset, size_t(item->length));
    }
    // A wrapped line keeps the space it broke at; it shows nothing.
    while (!out.empty() && (out.back() == ' ' || out.back() == '\n')) out.pop_back();
    return out;
}

}  // namespace

TPrefixText StripPrefix(const std::string& text) {
    TPrefixText out;
    out.Text.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out.Text += text[i];
            continue;
        }
        if (i + 1 >= text.size()) break;  // a trailing '&' marks nothing and is not shown
        if (text[i + 1] == '&') {
            out.Text += '&';
            ++i;
        } else if (out.AcceleratorPos < 0) {
            out.AcceleratorPos = int(out.Text.size());
        }
    }
    return out;
}

char AcceleratorChar(const std::string& text) {
    TPrefixText p = StripPrefix(text);
    if (p.AcceleratorPos < 0) return 0;
    auto c = uint8_t(p.Text[size_t(p.AcceleratorPos)]);
    return c < 0x80 ? char(std::tolower(c)) : 0;
}

TTextMetrics MeasureText(const TFont& font, const std::string& text, int width, int height, TTextFlags flags) {
    PangoLayout* layout = MakeLayout(MeasureContext(), font, text, width, height, flags);
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    TTextMetrics m;
    m.Height = logical.height;
    m.LineCount = pango_layout_get_line_count(layout);
    // The layout's own extent spans its whole width once one is set; the
    // widest line is what the text takes.
    for (int i = 0; i < m.LineCount; ++i) {
        PangoLayoutLine* line = pango_layout_get_line_readonly(layout, i);
        PangoRectangle extent;
        pango_layout_line_get_pixel_extents(line, nullptr, &extent);
        m.Width = std::max(m.Width, extent.width);
        if (i > 0) m.ShownText += '\n';
        m.ShownText += LineText(layout, line);
    }
    m.Ellipsized = pango_layout_is_ellipsized(layout);
    m.UnknownGlyphs = pango_layout_get_unknown_glyphs_count(layout);
    g_object_unref(layout);
    return m;
}

TPoint TextExtent(const TFont& font, const std::string& text, TTextFlags flags) {
    TTextMetrics m = MeasureText(font, text, 0, 0, flags & (tfNoPrefix | tfSingleLine));
    return {m.Width, m.Height};
}

int TextWidth(const TFont& font, const std::string& text, TTextFlags flags) {
    return TextExtent(font, text, flags).X;
}

int TextHeight(const TFont& font, const std::string& text, TTextFlags flags) {
    return TextExtent(font, text, flags).Y;
}

int UnknownGlyphCount(const TFont& font, const std::string& text) {
    return MeasureText(font, text, 0, 0, tfNoPrefix).UnknownGlyphs;
}

void DrawText(TBitmap32& target, const TRect& rect, const TFont& font, const std::string& text, TTextFlags flags) {
    if (target.Empty() || text.empty()) return;
    auto* surface = static_cast<cairo_surface_t*>(target.CairoSurface());
    cairo_t* cr = cairo_create(surface);
    if (!(flags & tfNoClip)) {
        cairo_rectangle(cr, rect.Left, rect.Top, rect.Width(), rect.Height());
        cairo_clip(cr);
    }
    PangoLayout* layout = MakeLayout(cr, font, text, rect.Width(), rect.Height(), flags);
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    double x = rect.Left, y = rect.Top;
    if (pango_layout_get_width(layout) < 0) {
        // Unbounded layouts align their lines among themselves; the block
        // is placed in the rectangle here.
        if (flags & tfCenter) x += (rect.Width() - logical.width) / 2 - logical.x;
        else if (flags & tfRight) x += rect.Width() - logical.width - logical.x;
    }
    if (flags & tfVCenter) y += (rect.Height() - logical.height) / 2;
    else if (flags & tfBottom) y += rect.Height() - logical.height;
    TColor32 c = Color32FromColor(font.Color == clNone ? 0 : font.Color);
    cairo_set_source_rgb(cr, RedOf(c) / 255.0, GreenOf(c) / 255.0, BlueOf(c) / 255.0);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout);
    g_object_unref(layout);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
}
