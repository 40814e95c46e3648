// The drop-down's picture and what the mouse does on its rows. The picture
// is composed in the drop-down's own state (hover, press, check hover,
// first shown row) into one image that the window shows with its alpha;
// the scroll bar draws itself over it.
//
//   event         | where / state                  | action
//   move          | over a visible, enabled row    | hover := that row (check hover follows
//                 |                                | its check box), recompose on a change
//   move, leave   | over no row                    | hover cleared
//   press         | on a hovered check box         | check-pressed := that row
//   press         | elsewhere                      | pressed := hover
//   release       | check-pressed, still on it     | toggle Checked, OnItemCheck
//   release       | pressed, over a row            | choose that row, close
//   wheel         | more rows than shown           | one row per notch
#include <algorithm>

#include "platform/gfx/text.h"
#include "skin/orb_combobox.h"
#include "skin/orb_image_list.h"
#include "skin/orb_list_form.h"

namespace {
constexpr TTextFlags ItemTextFlags = tfLeft | tfVCenter | tfSingleLine | tfEndEllipsis | tfNoPrefix;
constexpr TRect NoRect{-1, -1, -1, -1};
constexpr int WheelNotch = 120;
}  // namespace

void TOrbCombobox::ComposeList() {
    TOrbListForm* form = ListForm();
    if (!form) return;
    const int w = form->Width(), h = form->Height();
    if (FListBack.Width() != w || FListBack.Height() != h) {
        if (FFormPieces) {
            Assemble9(FListBack, w, h, *FFormPieces);
        } else {
            FListBack.SetSize(w, h);
            FListBack.Clear(Color32FromColor(Color()));
        }
    }
    FListImage = FListBack;
    FListImage.DrawMode = TDrawMode::Opaque;
    LayOutRows();
    for (auto& item : FItems)
        if (item->ItemRect.Left >= 0) DrawRow(*item);
    form->Invalidate();
}

// Rows from FirstShownItem, two pixels apart, as many as end above the
// bottom edge band (a row cut off there would paint over the shadow).
void TOrbCombobox::LayOutRows() {
    for (auto& item : FItems) item->ItemRect = item->CheckRect = NoRect;
    const bool bar = FScrollBar && FScrollBar->Visible();
    const int rightInset = bar ? FScrollBar->Width() + AlphaWidth + 1 : 2;
    const int left = AlphaWidth + 2, right = FListImage.Width() - AlphaWidth - rightInset;
    const int limit = FImgForm.Empty() ? FListImage.Height() : FListImage.Height() - AlphaWidth;
    const int rowHeight = ItemHeight();
    int y = AlphaWidth + 2;
    for (int i = FFirstShown; i < Count() && y + rowHeight <= limit; ++i) {
        TOrbCboxItem& item = *FItems[size_t(i)];
        if (!item.Visible) continue;
        item.ItemRect = {left, y, right, y + rowHeight};
        y += rowHeight + 2;
    }
}

// The pressed or chosen row takes the second frame (the only one when there
// is one); the hover row the first.
const TPngImage* TOrbCombobox::RowBackground(const TOrbCboxItem& item) {
    if (FItemFrames.empty()) return nullptr;
    const int width = item.ItemRect.Width();
    if (FRowFramesWidth != width) {
        FRowFrames = FItemFrames;
        if (FItemsplit.Left() < FItemsplit.Right())
            for (TPngImage& frame : FRowFrames)
                if (auto wide = Stretch3H(frame, FItemsplit.Left(), FItemsplit.Right(), 255, clNone, width))
                    frame = *wide;
        FRowFramesWidth = width;
    }
    if (&item == FDownItem || &item == FSelectedItem) return &FRowFrames.back();
    if (&item == FHoverItem) return &FRowFrames.front();
    return nullptr;
}

TColor TOrbCombobox::ItemTextColor(const TOrbCboxItem& item) const {
    if (!item.Enabled) return FontItemColorDisable;
    if (&item == FDownItem || &item == FSelectedItem) return FontItemColorDown;
    return &item == FHoverItem ? FontItemColorOver : FontItemColorNormal;
}

void TOrbCombobox::DrawRow(TOrbCboxItem& item) {
    const TRect row = item.ItemRect;
    if (const TPngImage* back = RowBackground(item)) FListImage.Draw(row.Left, row.Top, *back);
    if (item.OnDraw) {
        auto draw = item.OnDraw;
        draw(FListImage, &item);
        return;
    }
    int x = FBtnOffSet + 6;
    if (ShowCheckBox && !FCheckFrames.empty()) {
        const TPngImage& first = FCheckFrames[0];
        item.CheckRect = Bounds(x, row.Top + (row.Height() - first.Height()) / 2, first.Width(), first.Height());
        const int frame = (item.Checked ? 1 : 0) + (&item == FCheckHoverItem ? 2 : 0);
        FListImage.Draw(item.CheckRect.Left, item.CheckRect.Top, FCheckFrames[size_t(frame)]);
        x = item.CheckRect.Right + 4;
    }
    if (FImagelist) {
        const int top = row.Top + (row.Height() - FImagelist->ImgHeight) / 2;
        FImagelist->Draw(&FListImage, x, top, item.Enabled, item.ImageIndex);
        x += FImagelist->ImgWidth + 4;
    }
    TFont font = Font();
    font.Color = ItemTextColor(item);
    DrawText(FListImage, {x, row.Top, row.Right - 2, row.Bottom}, font, item.Caption, ItemTextFlags);
}

TOrbCboxItem* TOrbCombobox::RowAt(TPoint p) const {
    for (const auto& item : FItems)
        if (item->ItemRect.Left >= 0 && item->Visible && item->Enabled && item->ItemRect.Contains(p))
            return item.get();
    return nullptr;
}

void TOrbCombobox::ListMouseMove(TPoint p) {
    TOrbCboxItem* hit = RowAt(p);
    TOrbCboxItem* checkHit = ShowCheckBox && hit && hit->CheckRect.Contains(p) ? hit : nullptr;
    if (hit == FHoverItem && checkHit == FCheckHoverItem) return;
    FHoverItem = hit;
    FCheckHoverItem = checkHit;
    ComposeList();
}

void TOrbCombobox::ListMouseLeave() {
    if (!FHoverItem && !FCheckHoverItem) return;
    FHoverItem = FCheckHoverItem = nullptr;
    ComposeList();
}

void TOrbCombobox::ListMouseDown(TMouseButton button, TPoint p) {
    if (button != TMouseButton::Left) return;
    ListMouseMove(p);
    if (FCheckHoverItem)
        FCheckDownItem = FCheckHoverItem;
    else
        FDownItem = FHoverItem;
    ComposeList();
}

void TOrbCombobox::ListMouseUp(TMouseButton button, TPoint p) {
    if (button != TMouseButton::Left) return;
    TOrbCboxItem* checkDown = FCheckDownItem;
    TOrbCboxItem* down = FDownItem;
    FCheckDownItem = FDownItem = nullptr;
    TOrbCboxItem* hit = RowAt(p);
    FHoverItem = hit;
    if (checkDown) {
        if (hit == checkDown && checkDown->CheckRect.Contains(p)) {
            checkDown->Checked = !checkDown->Checked;
            auto alive = Lifetime();
            if (OnItemCheck) OnItemCheck(this, checkDown);
            if (alive.expired()) return;
        }
        ComposeList();
        return;
    }
    if (down && hit) {
        Choose(hit, TCloseAfter::Yes);
        return;
    }
    ComposeList();
}

void TOrbCombobox::ListMouseWheel(int delta) {
    int rows = delta / WheelNotch;
    if (rows == 0 && delta != 0) rows = delta > 0 ? 1 : -1;
    ScrollTo(FFirstShown - rows);
}
