// Measuring, laying out and composing the levels of a TOrbPopupMenu. Each
// level is composed into one image in the level's own state (hover,
// pressed, open submenu, scroll buttons); the level window shows it as it
// is, alpha included.
#include <algorithm>

#include "platform/gfx/text.h"
#include "platform/gui/application.h"
#include "skin/orb_image_list.h"
#include "skin/orb_menu_form.h"
#include "skin/orb_popup_menu.h"

namespace {
constexpr TTextFlags RowTextFlags = tfSingleLine | tfVCenter;
// Between a caption and its shortcut text.
constexpr int ShortCutGap = 16;

int CentredTop(const TRect& row, int height) { return row.Top + (row.Height() - height) / 2; }
}  // namespace

const std::vector<std::unique_ptr<TOrbMenuItem>>& TOrbPopupMenu::ItemsOf(int level) const {
    const TOrbMenuItem* parent = FLevels[size_t(level)].Parent;
    return parent ? parent->SubItems() : FItems;
}

bool TOrbPopupMenu::HasVisibleItems(int level) const {
    const auto& items = ItemsOf(level);
    return std::any_of(items.begin(), items.end(), [](auto& item) { return item->Visible(); });
}

int TOrbPopupMenu::RowHeight(const TOrbMenuItem& item) const {
    if (item.IsSeparator()) return FImgLine.Height();
    return item.CustomHeight() > 0 ? item.CustomHeight() : ItemHeight;
}

int TOrbPopupMenu::MarkColumnWidth() const {
    return FSkin.CheckFrames.empty() ? MenuBarWidth : FSkin.CheckFrames[0].Width() + 2;
}

int TOrbPopupMenu::ArrowColumnWidth() const { return FSkin.ArrowFrames.empty() ? 0 : FSkin.ArrowFrames[0].Width() + 2; }

bool TOrbPopupMenu::HasBar(int level) const { return level == 0 && HaveBar && !FImgBar.Empty(); }

TFont TOrbPopupMenu::FontFor(int level, const TOrbMenuItem& item) const {
    const TOrbMenuLevel& lv = FLevels[size_t(level)];
    if (!item.Enabled()) return FontDisable;
    if (&item == lv.HoverItem) return FontOver;
    if (&item == lv.DownItem) return FontDown;
    if (item.Selected() || &item == lv.SubItem) return FontSelect;
    TFont font = FontNormal;
    if (item.FontColor() != clNone) font.Color = item.FontColor();
    return font;
}

int TOrbPopupMenu::RowFrame(int level, const TOrbMenuItem& item) const {
    const TOrbMenuLevel& lv = FLevels[size_t(level)];
    const int frames = int(FSkin.ItemFrames.size());
    if (frames == 0) return -1;
    if (&item == lv.DownItem && frames > 1) return 1;
    if (&item == lv.HoverItem) return 0;
    if (item.Selected() && frames > 2) return 2;
    if (&item == lv.SubItem) return 0;
    return -1;
}

void TOrbPopupMenu::Measure(int level) {
    TOrbMenuLevel& lv = FLevels[size_t(level)];
    const int markColumn = MarkColumnWidth();
    const int pictureColumn = FImageList ? FImageList->ImgWidth + 2 : 0;
    const int arrowColumn = ArrowColumnWidth();
    int rowsHeight = 0, widest = 0;
    for (auto& item : ItemsOf(level)) {
        if (!item->Visible()) continue;
        rowsHeight += RowHeight(*item) + 2;
        if (item->IsSeparator()) continue;
        const TFont font = FontFor(level, *item);
        // Everything DrawRow puts on the row, so that no caption is cut: the
        // mark's inset, the mark and picture columns, the gap before the
        // caption, the caption, a gap and the shortcut, the arrow.
        const std::string shortCut = ShortCutToText(item->ShortCut());
        int width = 2 + markColumn + pictureColumn + MarginText + TextWidth(font, item->Caption()) + MarginText;
        if (!shortCut.empty()) width += ShortCutGap + TextWidth(font, shortCut);
        if (item->HasSubItems()) width += arrowColumn;
        widest = std::max(widest, width);
    }
    int width = widest + 2 * (AlphaWidth + MarginItemX) + (HasBar(level) ? FImgBar.Width() : 0);
    lv.Width = std::max(width, MinWidth);
    lv.Height = rowsHeight + 2 * AlphaWidth + 4;
    lv.Scrolling = false;
    const TRect work = Application ? Application->Host().WorkArea() : TRect{};
    if (lv.Height <= work.Height() || FSkin.ScrollFrames.empty()) return;
    const TPngImage& button = FSkin.ScrollFrames[0];
    // Capped at the work area: a level taller than the screen would put its
    // own scroll buttons out of reach.
    lv.Height = std::min(work.Height() - 20 + 2 * button.Height(), work.Height());
    lv.Scrolling = true;
    const int buttonLeft = (lv.Width - button.Width()) / 2;
    lv.UpRect = Bounds(buttonLeft, AlphaWidth + 2, button.Width(), button.Height());
    lv.DownRect = Bounds(buttonLeft, lv.Height - AlphaWidth - 2 - button.Height(), button.Width(), button.Height());
    lv.TopIndex = std::max(0, lv.TopIndex);
}

void TOrbPopupMenu::LayoutRows(int level, int left, int top) {
    TOrbMenuLevel& lv = FLevels[size_t(level)];
    const int right = lv.Width - AlphaWidth - MarginItemX;
    const int limit = lv.Scrolling ? lv.DownRect.Top : lv.Height;
    int y = top, index = 0;
    bool full = false;
    lv.RowsShown = 0;
    for (auto& item : ItemsOf(level)) {
        item->ItemRect = {-1, -1, -1, -1};
        if (!item->Visible() || index++ < lv.TopIndex || full) continue;
        const int bottom = y + RowHeight(*item);
        // Once a row does not end inside, none after it is shown either.
        if (bottom > limit) {
            full = true;
            continue;
        }
        item->ItemRect = {left, y, right, bottom};
        lv.RowsShown++;
        y = bottom + MarginItemY;
    }
}

void TOrbPopupMenu::DrawBackground(int level) {
    TOrbMenuLevel& lv = FLevels[size_t(level)];
    if (lv.Background.Width() != lv.Width || lv.Background.Height() != lv.Height) {
        if (FSkin.Back)
            Assemble9(lv.Background, lv.Width, lv.Height, *FSkin.Back);
        else
            lv.Background.SetSize(lv.Width, lv.Height);
    }
    lv.Image = lv.Background;
}

void TOrbPopupMenu::DrawBar(int level) {
    TOrbMenuLevel& lv = FLevels[size_t(level)];
    const TRect bar{AlphaWidth, AlphaWidth, AlphaWidth + FImgBar.Width(), lv.Height - AlphaWidth};
    lv.Image.StretchDraw(bar, FImgBar.BoundsRect(), FImgBar);
    int bottom = bar.Bottom;
    if (!FImgBarLogo.Empty()) {
        bottom -= FImgBarLogo.Height();
        lv.Image.Draw(bar.Left, bottom, FImgBarLogo);
    }
    if (!FImgBarCaption.Empty()) lv.Image.Draw(bar.Left, bottom - FImgBarCaption.Height(), FImgBarCaption);
}

void TOrbPopupMenu::Compose(int level) {
    TOrbMenuLevel& lv = FLevels[size_t(level)];
    if (lv.Width <= 0 || lv.Height <= 0) return;
    DrawBackground(level);
    int left = AlphaWidth + MarginItemX;
    if (HasBar(level)) {
        DrawBar(level);
        left += FImgBar.Width() + MarginItemX;
    }
    const int top = AlphaWidth + MarginItemY + (lv.Scrolling ? lv.UpRect.Height() : 0);
    LayoutRows(level, left, top);
    const int rowWidth = lv.Width - AlphaWidth - MarginItemX - left;
    if (rowWidth != lv.RowFramesWidth) {
        // Widened once per row width, not at every paint.
        lv.RowFramesWidth = rowWidth;
        lv.RowFrames.clear();
        for (const TPngImage& frame : FSkin.ItemFrames) {
            auto wide = Stretch3H(frame, FItemSplit.Left(), FItemSplit.Right(), 255, clNone, rowWidth);
            lv.RowFrames.push_back(wide ? *wide : frame);
        }
    }
    for (auto& item : ItemsOf(level))
        if (item->ItemRect.Left >= 0) DrawRow(level, *item);
    if (lv.Scrolling) DrawScrollButtons(level);
    // The window copies the image with its alpha.
    lv.Image.DrawMode = TDrawMode::Opaque;
}

// The mark column, then the picture column; answers where the caption's
// gap begins. Every row uses the same columns, so captions line up whether
// an item is checked, has a picture or neither.
int TOrbPopupMenu::DrawMark(TOrbMenuItem& item, const TRect& row) {
    TBitmap32& image = FLevels[size_t(item.Level())].Image;
    const int x = row.Left + 2;
    const auto& marks = item.RadioItem ? FSkin.RadioFrames : FSkin.CheckFrames;
    if (item.Checked() && !marks.empty()) {
        const TPngImage& mark = marks[item.Enabled() ? 0 : std::min<size_t>(1, marks.size() - 1)];
        image.Draw(x, CentredTop(row, mark.Height()), mark);
    }
    const int pictureLeft = x + MarkColumnWidth();
    if (!FImageList) return pictureLeft;
    FImageList->Draw(&image, pictureLeft, CentredTop(row, FImageList->ImgHeight), item.Enabled(), item.ImageIndex());
    return pictureLeft + FImageList->ImgWidth + 2;
}

void TOrbPopupMenu::DrawRow(int level, TOrbMenuItem& item) {
    TOrbMenuLevel& lv = FLevels[size_t(level)];
    const TRect& row = item.ItemRect;
    if (item.IsSeparator()) {
        if (!FImgLine.Empty()) lv.Image.StretchDraw(row, FImgLine.BoundsRect(), FImgLine);
        return;
    }
    const int frame = RowFrame(level, item);
    if (frame >= 0 && size_t(frame) < lv.RowFrames.size()) {
        const TPngImage& strip = lv.RowFrames[size_t(frame)];
        lv.Image.StretchDraw(row, strip.BoundsRect(), strip);
    }
    const int textLeft = DrawMark(item, row) + MarginText;
    int textRight = row.Right - 2;
    if (item.HasSubItems() && !FSkin.ArrowFrames.empty()) {
        const bool hover = &item == lv.HoverItem;
        const size_t state = !item.Enabled() ? 2 : hover ? 1 : 0;
        const TPngImage& arrow = FSkin.ArrowFrames[std::min(state, FSkin.ArrowFrames.size() - 1)];
        lv.Image.Draw(row.Right - 2 - arrow.Width(), CentredTop(row, arrow.Height()), arrow);
        textRight -= ArrowColumnWidth();
    }
    const TFont font = FontFor(level, item);
    DrawText(lv.Image, {textLeft, row.Top, textRight, row.Bottom}, font, item.Caption(), RowTextFlags);
    const std::string shortCut = ShortCutToText(item.ShortCut());
    if (!shortCut.empty())
        DrawText(lv.Image, {textLeft, row.Top, textRight, row.Bottom}, font, shortCut, RowTextFlags | tfRight);
}

void TOrbPopupMenu::DrawScrollButtons(int level) {
    TOrbMenuLevel& lv = FLevels[size_t(level)];
    if (FSkin.ScrollFrames.size() < 6) return;
    const size_t up = lv.UpDown ? 2 : lv.UpHover ? 1 : 0;
    const size_t down = 3 + (lv.DownDown ? 2 : lv.DownHover ? 1 : 0);
    lv.Image.Draw(lv.UpRect.Left, lv.UpRect.Top, FSkin.ScrollFrames[up]);
    lv.Image.Draw(lv.DownRect.Left, lv.DownRect.Top, FSkin.ScrollFrames[down]);
}

void TOrbPopupMenu::Repaint(int level) {
    TOrbMenuLevel& lv = FLevels[size_t(level)];
    if (!lv.Window || lv.WindowAlive.expired()) return;
    auto usable = [](TOrbMenuItem* item) { return item && item->Visible() && item->Enabled(); };
    if (!usable(lv.HoverItem)) lv.HoverItem = nullptr;
    if (!usable(lv.DownItem)) lv.DownItem = nullptr;
    if (lv.SubItem && !usable(lv.SubItem) && level + 1 < LevelCount) CloseLevelsFrom(level + 1);
    const int oldWidth = lv.Width, oldHeight = lv.Height;
    Measure(level);
    if (lv.Width != oldWidth || lv.Height != oldHeight)
        lv.Window->SetBounds(lv.Window->Left(), lv.Window->Top(), lv.Width, lv.Height);
    Compose(level);
    lv.Window->Invalidate();
}
