// Fonts and text: character-set names, size conversion, '&' accelerators,
// ellipsis and word break checked against measured widths, Chinese through
// font fallback, placement and alpha of drawn text.
#include "platform/gfx/text.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::string Chinese = "\xE6\x8F\x90\xE9\x86\x92\xE4\xBA\x8B\xE9\xA1\xB9";  // 提醒事项
const std::string Ellipsis = "\xE2\x80\xA6";

TFont Big(TColor color = 0) {
    TFont f;
    f.Size = 20;
    f.Bold = true;
    f.Color = color;
    return f;
}

// Bounding box of the pixels drawn (alpha or colour differing from `empty`).
TRect Ink(const TBitmap32& b, TColor32 empty) {
    TRect r{b.Width(), b.Height(), 0, 0};
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Pixel(x, y) != empty) r = {std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1),
                                             std::max(r.Bottom, y + 1)};
    return r;
}

}  // namespace

TEST(Font, CharsetNamesValuesAndLanguages) {
    struct TCase {
        const char* Name;
        int Value;
        const char* Language;
    } cases[] = {
        {"ANSI_CHARSET", 0, ""},          {"default_charset", 1, ""},   {"GB2312_CHARSET", 134, "zh-cn"},
        {"ChineseBig5_Charset", 136, "zh-tw"}, {"SHIFTJIS_CHARSET", 128, "ja"}, {"HANGEUL_CHARSET", 129, "ko"},
        {"RUSSIAN_CHARSET", 204, "ru"},   {"OEM_CHARSET", 255, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CharsetFromName(c.Name), c.Value) << c.Name;
        EXPECT_EQ(CharsetLanguage(c.Value), c.Language) << c.Name;
    }
    EXPECT_EQ(CharsetName(134), "GB2312_CHARSET");
    EXPECT_EQ(CharsetFromName("KLINGON_CHARSET"), std::nullopt);
    EXPECT_EQ(CharsetFromName(""), std::nullopt);
    EXPECT_EQ(CharsetName(3), "");
}

TEST(Font, PointsAndPixelsAt96Dpi) {
    struct TCase {
        int Points, Pixels;
    } cases[] = {{8, 11}, {9, 12}, {10, 13}, {12, 16}, {72, 96}};
    for (const auto& c : cases) {
        EXPECT_EQ(PointsToPixels(c.Points), c.Pixels);
        EXPECT_EQ(PixelsToPoints(c.Pixels), c.Points);
    }
    TFont f;
    f.SetPixelHeight(11);
    EXPECT_EQ(f.Size, 8);
    EXPECT_EQ(f.PixelHeight(), 11);
}

TEST(Text, PrefixesTable) {
    struct TCase {
        const char* In;
        const char* Shown;
        int Pos;
        char Key;
    } cases[] = {
        {"&File", "File", 0, 'f'}, {"Save &As", "Save As", 5, 'a'}, {"A&&B", "A&B", -1, 0},
        {"&&&x", "&x", 1, 'x'},    {"end&", "end", -1, 0},           {"", "", -1, 0},
        {"&a&b", "ab", 0, 'a'},
    };
    for (const auto& c : cases) {
        TPrefixText p = StripPrefix(c.In);
        EXPECT_EQ(p.Text, c.Shown) << c.In;
        EXPECT_EQ(p.AcceleratorPos, c.Pos) << c.In;
        EXPECT_EQ(AcceleratorChar(c.In), c.Key) << c.In;
    }
}

TEST(Text, AmpersandIsNotDrawnUnlessLiteral) {
    TFont f;
    EXPECT_EQ(TextExtent(f, "&File"), TextExtent(f, "File"));
    EXPECT_EQ(TextWidth(f, "A&&B"), TextWidth(f, "A&B", tfNoPrefix));
    EXPECT_GT(TextWidth(f, "&File", tfNoPrefix), TextWidth(f, "File"));
}

TEST(Text, AcceleratorIsUnderlined) {
    TFont f = Big();
    TBitmap32 plain(120, 50), accel(120, 50);
    DrawText(plain, plain.BoundsRect(), f, "File", 0);
    DrawText(accel, accel.BoundsRect(), f, "&File", 0);
    TRect a = Ink(accel, 0), p = Ink(plain, 0);
    ASSERT_GT(a.Bottom, p.Bottom);  // the underline lies below the letters
    // and only under the F
    TRect underline = Ink(accel.Copy({0, p.Bottom, 120, 50}), 0);
    EXPECT_LE(underline.Left, p.Left + 1);
    EXPECT_LE(underline.Right, p.Left + TextWidth(f, "F") + 1);
    EXPECT_GT(underline.Width(), TextWidth(f, "F") / 2);
}

TEST(Text, MissingFaceFallsBackAndMeasures) {
    TFont f;
    f.Name = "Tahoma";  // not installed here; a sans face stands in
    TPoint e = TextExtent(f, "Hello");
    EXPECT_GT(e.X, 10);
    EXPECT_GE(e.Y, f.PixelHeight());
    EXPECT_EQ(UnknownGlyphCount(f, "Hello"), 0);
    TFont bold = f;
    bold.Bold = true;
    EXPECT_GT(TextWidth(bold, "Reminder list"), TextWidth(f, "Reminder list"));
    TFont larger = f;
    larger.Size = 16;
    EXPECT_GT(TextWidth(larger, "Hello"), e.X);
}

TEST(Text, ChineseRendersThroughFallback) {
    TFont f;
    f.Charset = charset::Gb2312;
    EXPECT_GT(TextWidth(f, Chinese), 0);
    EXPECT_EQ(UnknownGlyphCount(f, Chinese), 0);
    TFont ansi;
    EXPECT_EQ(UnknownGlyphCount(ansi, Chinese), 0);
    // Four ideographs are wider than one.
    EXPECT_GT(TextWidth(f, Chinese), 3 * TextWidth(f, Chinese.substr(0, 3)));
    TBitmap32 b(100, 30);
    DrawText(b, b.BoundsRect(), f, Chinese, 0);
    EXPECT_FALSE(Ink(b, 0).IsEmpty());
}

TEST(Text, UnshowableCharactersAreCounted) {
    TFont f;
    EXPECT_GT(UnknownGlyphCount(f, "\xF3\xB0\x80\x80"), 0);  // a private-use plane character
}

TEST(Text, LineBreaksAndSingleLine) {
    TFont f;
    TPoint one = TextExtent(f, "Ab");
    TPoint two = TextExtent(f, "Ab\nAb");
    EXPECT_EQ(two.X, one.X);
    EXPECT_GT(two.Y, one.Y);
    EXPECT_EQ(MeasureText(f, "Ab\nAb", 0, 0, 0).LineCount, 2);
    EXPECT_EQ(MeasureText(f, "Ab\nAb", 0, 0, tfSingleLine).LineCount, 1);
}

TEST(Text, EndEllipsisFitsAndEndsWithEllipsis) {
    TFont f;
    const std::string text = "Remember to water the plants on the balcony";
    const int full = TextWidth(f, text);
    for (int width : {full / 2, full / 3, full - 5}) {
        TTextMetrics m = MeasureText(f, text, width, 20, tfSingleLine | tfEndEllipsis);
        EXPECT_TRUE(m.Ellipsized) << width;
        EXPECT_LE(m.Width, width);
        EXPECT_EQ(m.LineCount, 1);
        // What is shown is the longest prefix of the text that fits
        // together with the "…" after it.
        ASSERT_GT(m.ShownText.size(), Ellipsis.size());
        const std::string prefix = m.ShownText.substr(0, m.ShownText.size() - Ellipsis.size());
        EXPECT_EQ(m.ShownText.substr(prefix.size()), Ellipsis);
        EXPECT_EQ(text.substr(0, prefix.size()), prefix);
        EXPECT_LE(TextWidth(f, m.ShownText), width);
        EXPECT_GT(TextWidth(f, text.substr(0, prefix.size() + 1) + Ellipsis), width) << m.ShownText;
    }
    TTextMetrics fits = MeasureText(f, text, full, 20, tfSingleLine | tfEndEllipsis);
    EXPECT_FALSE(fits.Ellipsized);
    EXPECT_EQ(fits.ShownText, text);
}

TEST(Text, EllipsizedTextStaysInsideItsRectangle) {
    TFont f = Big();
    TBitmap32 b(200, 40);
    DrawText(b, {10, 0, 90, 40}, f, "Remember the balcony plants", tfSingleLine | tfEndEllipsis);
    TRect ink = Ink(b, 0);
    EXPECT_GE(ink.Left, 10);
    EXPECT_LE(ink.Right, 90);
    EXPECT_GT(ink.Right, 60);  // filled up to near the end, not cut short
}

TEST(Text, WordBreakLineCountMatchesWidths) {
    TFont f;
    const std::string text = "one two six ten";
    const int width = std::max(TextWidth(f, "one two"), TextWidth(f, "six ten"));
    ASSERT_LT(width, TextWidth(f, "one two six"));
    TTextMetrics m = MeasureText(f, text, width, 100, tfWordBreak);
    EXPECT_EQ(m.LineCount, 2);
    EXPECT_EQ(m.ShownText, "one two\nsix ten");
    EXPECT_LE(m.Width, width);
    EXPECT_FALSE(m.Ellipsized);
    EXPECT_EQ(MeasureText(f, text, TextWidth(f, text), 100, tfWordBreak).LineCount, 1);
    EXPECT_EQ(MeasureText(f, text, TextWidth(f, "one"), 100, tfWordBreak).LineCount, 4);
    // Single line wins over word break.
    EXPECT_EQ(MeasureText(f, text, width, 100, tfWordBreak | tfSingleLine).LineCount, 1);
}

TEST(Text, WordBreakWithEllipsisCutsAtTheHeight) {
    TFont f;
    const std::string text = "one two six ten";
    const int width = std::max(TextWidth(f, "one two"), TextWidth(f, "six ten"));
    const int lineHeight = TextHeight(f, "one");
    TTextMetrics m = MeasureText(f, text, width, lineHeight, tfWordBreak | tfEndEllipsis);
    EXPECT_EQ(m.LineCount, 1);
    EXPECT_TRUE(m.Ellipsized);
    EXPECT_LE(m.Width, width);
}

TEST(Text, HorizontalAndVerticalPlacement) {
    TFont f = Big();
    struct TCase {
        TTextFlags Flags;
        int CentreX, CentreY;  // of the ink, within 3 pixels
    } cases[] = {{tfCenter | tfVCenter | tfSingleLine, 100, 30}, {tfRight | tfBottom | tfSingleLine, -1, -1}};
    for (const auto& c : cases) {
        TBitmap32 b(200, 60);
        DrawText(b, b.BoundsRect(), f, "HH", c.Flags);
        TRect ink = Ink(b, 0);
        if (c.CentreX > 0) {
            EXPECT_NEAR((ink.Left + ink.Right) / 2, c.CentreX, 3);
            EXPECT_NEAR((ink.Top + ink.Bottom) / 2, c.CentreY, 4);
        } else {
            EXPECT_GE(ink.Right, 195);
            EXPECT_GE(ink.Bottom, 48);  // the line's descent stays below the letters
        }
    }
    TBitmap32 left(200, 60);
    DrawText(left, left.BoundsRect(), f, "HH", tfSingleLine);
    EXPECT_LE(Ink(left, 0).Left, 4);
    EXPECT_LE(Ink(left, 0).Top, 12);
}

TEST(Text, CentredLinesAreCentredEach) {
    TFont f = Big();
    // Wrapped (the layout has a width) and broken by '\n' (it has none): the
    // short first line sits in the middle either way.
    struct TCase {
        const char* Text;
        TTextFlags Flags;
    } cases[] = {{"II IIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIII", tfCenter | tfWordBreak},
                 {"II\nIIIIIIIIIIIIIIIIIIIIIIII", tfCenter}};
    for (const auto& [text, flags] : cases) {
        TBitmap32 b(300, 100);
        DrawText(b, b.BoundsRect(), f, text, flags);
        TRect first = Ink(b.Copy({0, 0, 300, 25}), 0);
        EXPECT_NEAR((first.Left + first.Right) / 2, 150, 4) << text;
        EXPECT_LT(first.Width(), 30) << text;
    }
}

TEST(Text, DrawnTextHasTheFontColourAndCoverageAlpha) {
    TFont f = Big(0x000000FF);  // red
    TBitmap32 clear(80, 40);
    DrawText(clear, clear.BoundsRect(), f, "H", 0);
    int opaque = 0, partial = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x) {
            TColor32 c = clear.Pixel(x, y);
            if (AlphaOf(c) == 0) continue;
            EXPECT_EQ(c & 0xFFFFFF, 0xFF0000u) << x << "," << y;
            (AlphaOf(c) == 255 ? opaque : partial)++;
        }
    EXPECT_GT(opaque, 20);  // the stems
    EXPECT_GT(partial, 0);  // antialiased edges
    TBitmap32 white(80, 40);
    white.Clear(Color32(255, 255, 255));
    DrawText(white, white.BoundsRect(), f, "H", 0);
    bool red = false;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x) {
            ASSERT_EQ(AlphaOf(white.Pixel(x, y)), 255);
            red = red || white.Pixel(x, y) == Color32(255, 0, 0);
        }
    EXPECT_TRUE(red);
}

TEST(Text, ClippedToTheRectangleUnlessNoClip) {
    TFont f = Big();
    TBitmap32 b(100, 40), free(100, 40);
    DrawText(b, {0, 0, 20, 40}, f, "HHHH", tfSingleLine);
    DrawText(free, {0, 0, 20, 40}, f, "HHHH", tfSingleLine | tfNoClip);
    EXPECT_LE(Ink(b, 0).Right, 20);
    EXPECT_GT(Ink(free, 0).Right, 40);
}
