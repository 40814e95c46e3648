// TOrbListBox's layout and drawing. Rows keep their content tops in a cache
// so that a paint finds the first visible row by binary search and lays out
// only the rows that meet the view, however long the list; the cache is
// rebuilt when rows or heights change, and at every layout while
// OnMeasureItem decides the heights (its answers may change at any time).
#include <algorithm>
#include <cstdlib>

#include "skin/orb_image_list.h"
#include "skin/orb_list_box.h"
#include "platform/gfx/text.h"

namespace {

constexpr TTextFlags CaptionFlags = tfLeft | tfSingleLine | tfEndEllipsis | tfNoPrefix;
// Movement before a drag with the button held counts as a rubber band.
constexpr int BandThreshold = 10;

void DrawOver(TBitmap32& buffer, const TRect& rect, const TPngImage& image) {
    if (image.Empty() || rect.IsEmpty()) return;
    if (rect.Width() == image.Width() && rect.Height() == image.Height())
        buffer.Draw(rect.Left, rect.Top, image);
    else
        buffer.StretchDraw(rect, image.BoundsRect(), image);
}

}  // namespace

// ---- layout ----

void TOrbListBox::MeasureItems() const {
    const size_t n = FItems.size();
    FTops.resize(n);
    FHeights.resize(n);
    int y = 0;
    for (size_t i = 0; i < n; ++i) {
        TOrbLBoxItem* item = FItems[i].get();
        FTops[i] = y;
        if (!item->Visible()) {
            FHeights[i] = 0;
            continue;
        }
        int height = FItemheight;
        if (OnMeasureItem) OnMeasureItem(item, int(i), height);
        FHeights[i] = std::max(0, height);
        y += FHeights[i] + FMarginItem;
    }
    FContentHeight = y;
    FMeasureDirty = false;
}

// The first row whose bottom lies below content coordinate y; rows' bottoms
// never decrease (an invisible row sits where the next one starts).
int TOrbListBox::FirstRowFrom(int contentY) const {
    int lo = 0, hi = int(FTops.size());
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (FTops[size_t(mid)] + FHeights[size_t(mid)] <= contentY)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

void TOrbListBox::ResetLaidOut() {
    for (int index : FLaidOut) {
        if (index >= Count()) continue;
        TOrbLBoxItem& item = *FItems[size_t(index)];
        item.ItemRect = item.TextRect = item.CheckRect = NoItemRect;
    }
    FLaidOut.clear();
}

TRect TOrbListBox::CheckBoxRect(const TRect& itemRect) const {
    if (!FShowCheckBox || !FHasCheckFrames) return NoItemRect;
    const TPngImage& frame = FCheckFrames[0];
    const int left = itemRect.Left + FItemLeftFix + FMarginCheckBox;
    const int top = itemRect.Top + (itemRect.Height() - frame.Height()) / 2;
    return Bounds(left, top, frame.Width(), frame.Height());
}

void TOrbListBox::LayOut() {
    FViewHeight = ViewHeight();
    if (FMeasureDirty || OnMeasureItem) MeasureItems();
    std::vector<int> previous;
    previous.swap(FLaidOut);
    FFirstLaid = FLastLaid = -1;
    const int n = Count();
    if (n > 0) {
        const int origin = FTopOffset + BorderInset();
        const int left = FLeftOffset + 2, right = Width() - 2 - BarWidth();
        FLastLaid = n - 1;
        for (int i = FirstRowFrom(-origin); i < n; ++i) {
            TOrbLBoxItem& item = *FItems[size_t(i)];
            if (!item.Visible()) continue;
            const int top = FTops[size_t(i)] + origin;
            if (top > FViewHeight) {
                FLastLaid = i;
                break;
            }
            item.ItemRect = {left, top, right, top + FHeights[size_t(i)]};
            item.CheckRect = CheckBoxRect(item.ItemRect);
            FLaidOut.push_back(i);
            if (FFirstLaid < 0 && item.ItemRect.Bottom > 0 && top < FViewHeight) FFirstLaid = i;
        }
    }
    // Rows that scrolled out of the view or were hidden are no longer laid out.
    for (int index : previous) {
        if (index >= n) continue;
        TOrbLBoxItem& item = *FItems[size_t(index)];
        if (item.Visible() && std::binary_search(FLaidOut.begin(), FLaidOut.end(), index)) continue;
        item.ItemRect = item.TextRect = item.CheckRect = NoItemRect;
    }
    FLayoutStale = false;
}

void TOrbListBox::EnsureLayout() {
    if (FLayoutStale || FMeasureDirty) LayOut();
}

// ---- drawing ----

void TOrbListBox::PaintBackground(TBitmap32& canvas) {
    if (Alpha() != 255 || Transparent() || FBackBitmap.Empty()) {
        TOrbUIParentControl::PaintBackground(canvas);
        return;
    }
    const TRect clip = PaintClip().IsEmpty() ? canvas.BoundsRect() : PaintClip();
    if (Color() != clNone) canvas.FillRect(clip, Color32FromColor(Color()));
    canvas.Draw(clip.Left, clip.Top, clip, FBackBitmap);
}

void TOrbListBox::DrawControl(TBitmap32& buffer) {
    if (IsLoading() || buffer.Empty()) return;
    auto alive = Lifetime();
    if (OnDrawBackGround) {
        OnDrawBackGround(buffer, ClientRect());
        if (alive.expired()) return;
    }
    LayOut();
    FWidestItem = 0;
    if (FHorScrollRes) UpdateWidestItem();
    // The bars go first: a bar that shows or hides changes the rows' width
    // and the view, and the rows are laid out again before any is drawn.
    UpdateVerticalBar();
    UpdateHorizontalBar();
    if (FLayoutStale) LayOut();
    const TRect clip = PaintClip().IsEmpty() ? buffer.BoundsRect() : PaintClip();
    // A copy: a draw handler may change the list.
    const std::vector<int> rows = FLaidOut;
    for (int index : rows) {
        TOrbLBoxItem* item = GetItem(index);
        if (!item) break;
        const TRect& r = item->ItemRect;
        if (r.Bottom <= 0 || r.Top >= FViewHeight || Intersect(r, clip).IsEmpty()) continue;
        DrawItem(buffer, index, *item);
        if (alive.expired()) return;
    }
    DrawBorder(buffer);
    DrawBand(buffer);
}

void TOrbListBox::DrawItem(TBitmap32& buffer, int index, TOrbLBoxItem& item) {
    if (OnBeforeItemDraw) OnBeforeItemDraw(buffer, index, &item);
    bool defaultDraw = true;
    if (OnItemOwnerDraw) OnItemOwnerDraw(buffer, index, &item, defaultDraw);
    if (defaultDraw) {
        DrawItemBackground(buffer, item);
        int x = item.ItemRect.Left + FItemLeftFix;
        x = DrawCheckBox(buffer, item, x);
        x = DrawPicture(buffer, item, x);
        DrawCaption(buffer, item, x);
    }
    if (OnAfterItemDraw) OnAfterItemDraw(buffer, index, &item);
}

void TOrbListBox::DrawItemBackground(TBitmap32& buffer, const TOrbLBoxItem& item) {
    if (&item == FDownItem || item.Selected)
        DrawOver(buffer, item.ItemRect, FSelectedImage);
    else if (&item == FHoverItem && FHotTrack)
        DrawOver(buffer, item.ItemRect, FHoverImage);
}

int TOrbListBox::DrawCheckBox(TBitmap32& buffer, TOrbLBoxItem& item, int x) {
    if (item.CheckRect == NoItemRect) return x;
    const bool hover = &item == FCheckHoverItem;
    const size_t frame = item.Checked ? (hover ? 3 : 1) : (hover ? 2 : 0);
    buffer.Draw(item.CheckRect.Left, item.CheckRect.Top, FCheckFrames[frame]);
    return item.CheckRect.Right;
}

int TOrbListBox::DrawPicture(TBitmap32& buffer, const TOrbLBoxItem& item, int x) {
    if (!FImagelist) return x;
    if (item.ImageIndex >= 0 && item.ImageIndex < FImagelist->Count()) {
        const int top = item.ItemRect.Top + (item.ItemRect.Height() - FImagelist->ImgHeight) / 2;
        FImagelist->Draw(&buffer, x + FMarginImageList, top, true, item.ImageIndex);
    }
    return x + FImagelist->ImgWidth;
}

TColor TOrbListBox::CaptionColor(const TOrbLBoxItem& item) const {
    if (!item.Enabled) return FFontColorDisable;
    if (&item == FDownItem || item.Selected) return FFontColorDown;
    if (&item == FHoverItem && FHotTrack) return FFontColorOver;
    return FFontColorNormal;
}

void TOrbListBox::DrawCaption(TBitmap32& buffer, TOrbLBoxItem& item, int x) {
    if (item.Caption().empty()) {
        item.TextRect = NoItemRect;
        return;
    }
    TFont font = Font();
    font.Color = CaptionColor(item);
    const TRect& r = item.ItemRect;
    // Captions are the user's own text: '&' is shown, never an accelerator.
    try {
        const int textHeight = TextHeight(font, item.Caption(), tfNoPrefix);
        const int top = r.Top + (r.Height() - textHeight) / 2;
        item.TextRect = {x + FMarginText, top, r.Right - 2, top + textHeight};
        DrawText(buffer, item.TextRect, font, item.Caption(), CaptionFlags);
    } catch (...) {
        // A caption that cannot be drawn leaves the row without it.
    }
}

int TOrbListBox::ContentWidth(const TOrbLBoxItem& item) const {
    int width = 0;
    if (FShowCheckBox && FHasCheckFrames) width += FMarginCheckBox + FCheckFrames[0].Width();
    if (FImagelist) width += FImagelist->ImgWidth;
    if (!item.Caption().empty()) width += FMarginText + TextWidth(Font(), item.Caption(), tfNoPrefix);
    return width;
}

// Measured over every row in view, not only those a partial repaint draws,
// so that repainting one row never hides the horizontal bar.
void TOrbListBox::UpdateWidestItem() {
    for (int index : FLaidOut) {
        const TOrbLBoxItem& item = *FItems[size_t(index)];
        if (item.ItemRect.Bottom <= 0 || item.ItemRect.Top >= FViewHeight) continue;
        FWidestItem = std::max(FWidestItem, ContentWidth(item));
    }
}

void TOrbListBox::DrawBorder(TBitmap32& buffer) {
    if (FBorderColor == clNone) return;
    const TColor color = IsEnabledInTree() ? FBorderColor : FFontColorDisable;
    buffer.FrameRect(ClientRect(), Color32FromColor(color));
}

bool TOrbListBox::BandDragged() const {
    if (!MultiSelect || FBandStart.X < 0 || FBandEnd.X < 0) return false;
    return std::abs(FBandEnd.X - FBandStart.X) >= BandThreshold ||
           std::abs(FBandEnd.Y - FBandStart.Y) >= BandThreshold;
}

TRect TOrbListBox::BandRect() const {
    const int endX = std::clamp(FBandEnd.X, 0, Width()), endY = std::clamp(FBandEnd.Y, 0, Height());
    return {std::min(FBandStart.X, endX), std::min(FBandStart.Y, endY), std::max(FBandStart.X, endX),
            std::max(FBandStart.Y, endY)};
}

void TOrbListBox::DrawBand(TBitmap32& buffer) {
    if (FImgSelBox.Empty() || !BandDragged()) return;
    DrawOver(buffer, BandRect(), FImgSelBox);
}
