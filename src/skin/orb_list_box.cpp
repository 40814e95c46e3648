// TOrbListBox's settings, its items, the skin pieces it cuts once (item
// backgrounds widened to the row, check box frames, the background at the
// control's size) and its lazily created scroll bars.
#include "skin/orb_list_box.h"

#include <algorithm>

#include "skin/orb_image_list.h"
#include "skin/orb_image_ops.h"

namespace {

constexpr TColor White = 0xFFFFFF;

// Stores a changed setting; answers whether it changed.
template <class T>
bool Store(T& field, T value) {
    if (field == value) return false;
    field = value;
    return true;
}

TPngImage BlendCopy(const TPngImage& image) {
    TPngImage copy = image;
    copy.DrawMode = TDrawMode::Blend;
    copy.CombineMode = TCombineMode::Merge;
    return copy;
}

}  // namespace

// ---- TOrbLBoxItem ----

void TOrbLBoxItem::SetCaption(const std::string& value) {
    if (value == FCaption) return;
    FCaption = value;
    if (FOwner) FOwner->UpdateView();
}

void TOrbLBoxItem::SetVisible(bool value) {
    if (value == FVisible) return;
    FVisible = value;
    if (FOwner) FOwner->LayoutChanged();
}

// ---- construction and loading ----

TOrbListBox::TOrbListBox(TComponent* owner) : TOrbUIParentControl(owner) {
    TabStop = true;
    SetColor(White);
    SetBounds(0, 0, 200, 150);
}

TOrbListBox::~TOrbListBox() {
    CancelTruncationHint();
    for (TComponent* c : {static_cast<TComponent*>(FVerScrollRes), static_cast<TComponent*>(FHorScrollRes),
                          static_cast<TComponent*>(FImagelist)})
        if (c) RemoveFreeNotification(c);
    // The bars are children and go with the control; their scroll handlers
    // point here and must not outlive it.
    if (FVerBar) FVerBar->OnScroll = nullptr;
    if (FHorBar) FHorBar->OnScroll = nullptr;
}

void TOrbListBox::Loaded() {
    TOrbUIParentControl::Loaded();
    BuildCheckFrames();
    BuildItemImages();
    BuildBackBitmap();
}

void TOrbListBox::Resized() {
    if (!IsLoading()) {
        BuildItemImages();
        BuildBackBitmap();
        FLayoutStale = true;
        if (FVerBar && FVerBar->Visible()) {
            if (ViewHeight() >= ContentHeight())
                FTopOffset = 0;
            else if (FTopOffset == 0)
                FTopOffset = -FVerBar->Position();
        }
        UpdateView();
    }
    TOrbUIParentControl::Resized();
}

void TOrbListBox::Notification(TComponent* component, TOperation operation) {
    TOrbUIParentControl::Notification(component, operation);
    if (operation != TOperation::Remove) return;
    // The bars keep the images they copied; only the reference goes.
    if (component == FVerScrollRes) FVerScrollRes = nullptr;
    if (component == FHorScrollRes) FHorScrollRes = nullptr;
    if (component == FImagelist) {
        FImagelist = nullptr;
        UpdateView();
    }
}

// ---- settings ----

void TOrbListBox::SetImgBack(const TPngImage& value) {
    FImgBack = BlendCopy(value);
    if (IsLoading()) return;
    BuildBackBitmap();
    UpdateView();
}

void TOrbListBox::SetImgitem(const TPngImage& value) {
    FImgitem = BlendCopy(value);
    if (IsLoading()) return;
    BuildItemImages();
    UpdateView();
}

void TOrbListBox::Setitemsplit(const TOrbUIPadding& value) {
    if (value == FItemsplit) return;
    FItemsplit = value;
    if (IsLoading()) return;
    BuildItemImages();
    UpdateView();
}

void TOrbListBox::SetItemStateCount(int value) {
    if (value == FItemStateCount) return;
    FItemStateCount = value;
    if (IsLoading()) return;
    BuildItemImages();
    UpdateView();
}

void TOrbListBox::SetImgCheck(const TPngImage& value) {
    FImgCheck = BlendCopy(value);
    if (IsLoading()) return;
    BuildCheckFrames();
    UpdateView();
}

void TOrbListBox::SetCheckStateCount(int value) {
    if (value == FCheckStateCount) return;
    FCheckStateCount = value;
    if (IsLoading()) return;
    BuildCheckFrames();
    UpdateView();
}

void TOrbListBox::SetImgSelBox(const TPngImage& value) { FImgSelBox = BlendCopy(value); }

void TOrbListBox::SetShowCheckBox(bool value) {
    if (value == FShowCheckBox) return;
    FShowCheckBox = value;
    if (!value) FCheckHoverItem = FCheckDownItem = nullptr;
    UpdateView();
}

void TOrbListBox::SetHotTrack(bool value) {
    if (value == FHotTrack) return;
    FHotTrack = value;
    UpdateView();
}

void TOrbListBox::SetItemheight(int value) {
    if (value <= 0 || value == FItemheight) return;
    FItemheight = value;
    LayoutChanged();
}

void TOrbListBox::SetMarginItem(int value) {
    if (value == FMarginItem) return;
    FMarginItem = value;
    LayoutChanged();
}

// The settings below only change how rows look.
void TOrbListBox::SetItemLeftFix(int value) {
    if (Store(FItemLeftFix, value)) UpdateView();
}
void TOrbListBox::SetMarginCheckBox(int value) {
    if (Store(FMarginCheckBox, value)) UpdateView();
}
void TOrbListBox::SetMarginImageList(int value) {
    if (Store(FMarginImageList, value)) UpdateView();
}
void TOrbListBox::SetMarginText(int value) {
    if (Store(FMarginText, value)) UpdateView();
}
void TOrbListBox::SetFontColorNormal(TColor value) {
    if (Store(FFontColorNormal, value)) UpdateView();
}
void TOrbListBox::SetFontColorOver(TColor value) {
    if (Store(FFontColorOver, value)) UpdateView();
}
void TOrbListBox::SetFontColorDown(TColor value) {
    if (Store(FFontColorDown, value)) UpdateView();
}
void TOrbListBox::SetFontColorDisable(TColor value) {
    if (Store(FFontColorDisable, value)) UpdateView();
}
void TOrbListBox::SetBorderColor(TColor value) {
    if (Store(FBorderColor, value)) UpdateView();
}

void TOrbListBox::SetVerScrollRes(TOrbScrollBarRes* value) {
    if (value == FVerScrollRes) return;
    if (FVerScrollRes) RemoveFreeNotification(FVerScrollRes);
    FVerScrollRes = value;
    if (!value) return;
    FreeNotification(value);
    if (FVerBar) FVerBar->SetScrollRes(value);
}

void TOrbListBox::SetHorScrollRes(TOrbScrollBarRes* value) {
    if (value == FHorScrollRes) return;
    if (FHorScrollRes) RemoveFreeNotification(FHorScrollRes);
    FHorScrollRes = value;
    if (!value) return;
    FreeNotification(value);
    if (FHorBar) FHorBar->SetScrollRes(value);
}

void TOrbListBox::SetImagelist(TOrbImageList* value) {
    if (value == FImagelist) return;
    if (FImagelist) RemoveFreeNotification(FImagelist);
    FImagelist = value;
    if (value) FreeNotification(value);
    UpdateView();
}

// ---- items ----

TOrbLBoxItem* TOrbListBox::AddItem() {
    FItems.push_back(std::make_unique<TOrbLBoxItem>(this));
    TOrbLBoxItem* item = FItems.back().get();
    // Filling a list adds rows one by one: extend the cached layout instead
    // of measuring everything again.
    if (!FMeasureDirty && !OnMeasureItem && FTops.size() + 1 == FItems.size()) {
        FTops.push_back(FContentHeight);
        FHeights.push_back(FItemheight);
        FContentHeight += FItemheight + FMarginItem;
    } else {
        FMeasureDirty = true;
    }
    FLayoutStale = true;
    return item;
}

void TOrbListBox::DeleteItem(TOrbLBoxItem* item) {
    const int index = IndexOf(item);
    if (index < 0) return;
    CancelTruncationHint();
    FHoverItem = FDownItem = FCheckHoverItem = FCheckDownItem = nullptr;
    FAnchor = FAnchor2 = nullptr;
    ResetLaidOut();
    FItems.erase(FItems.begin() + index);
    LayoutChanged();
}

void TOrbListBox::Clear() {
    CancelTruncationHint();
    FHoverItem = FDownItem = FCheckHoverItem = FCheckDownItem = nullptr;
    FAnchor = FAnchor2 = nullptr;
    FLaidOut.clear();
    FItems.clear();
    FTops.clear();
    FHeights.clear();
    FContentHeight = 0;
    FMeasureDirty = false;
    FLayoutStale = true;
    FFirstLaid = FLastLaid = -1;
    const bool hadBar = FVerBar && FVerBar->Visible();
    FreeBars();
    FTopOffset = FLeftOffset = 0;
    FWidestItem = 0;
    FBandStart = FBandEnd = {-1, -1};
    // The rows are as wide as the control again.
    if (hadBar && !IsLoading()) BuildItemImages();
}

TOrbLBoxItem* TOrbListBox::GetItem(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return FItems[size_t(index)].get();
}

int TOrbListBox::IndexOf(const TOrbLBoxItem* item) const {
    if (!item) return -1;
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == item) return int(i);
    return -1;
}

int TOrbListBox::SelectedCount() const {
    return int(std::count_if(FItems.begin(), FItems.end(), [](const auto& item) { return item->Selected; }));
}

void TOrbListBox::UpdateView() {
    FLayoutStale = true;
    Changed();
}

void TOrbListBox::LayoutChanged() {
    FMeasureDirty = true;
    UpdateView();
}

int TOrbListBox::ContentHeight() const {
    if (FMeasureDirty) MeasureItems();
    return FContentHeight;
}

int TOrbListBox::ViewHeight() const { return Height() - HorBarHeight(); }

// ---- skin pieces ----

int TOrbListBox::BarWidth() const { return FVerBar && FVerBar->Visible() ? FVerBar->Width() : 0; }

int TOrbListBox::HorBarHeight() const { return FHorBar && FHorBar->Visible() ? FHorBar->Height() : 0; }

void TOrbListBox::BuildItemImages() {
    FHoverImage = TPngImage();
    FSelectedImage = TPngImage();
    const int width = Width() - 4 - BarWidth();
    const int x1 = FItemsplit.Left(), x2 = FItemsplit.Right();
    auto widen = [&](const TPngImage& frame) {
        if (frame.Empty()) return TPngImage();
        if (x1 < x2)
            if (auto wide = Stretch3H(frame, x1, x2, 255, clNone, width)) return BlendCopy(*wide);
        return BlendCopy(frame);
    };
    if (FItemStateCount == 1) {
        FSelectedImage = widen(FImgitem);
    } else if (FItemStateCount == 2) {
        if (auto hover = SliceState(FImgitem, 2, 0)) FHoverImage = widen(*hover);
        if (auto selected = SliceState(FImgitem, 2, 1)) FSelectedImage = widen(*selected);
    }
    if (!FSelectedImage.Empty() && FSelectedImage.Height() != FItemheight) {
        FItemheight = FSelectedImage.Height();
        FMeasureDirty = true;
        FLayoutStale = true;
    }
}

void TOrbListBox::BuildCheckFrames() {
    FHasCheckFrames = false;
    for (TPngImage& frame : FCheckFrames) frame = TPngImage();
    if (FCheckStateCount != 4) return;
    for (int k = 0; k < 4; ++k) {
        auto frame = SliceState(FImgCheck, 4, k);
        if (!frame) return;
        FCheckFrames[size_t(k)] = BlendCopy(*frame);
    }
    FHasCheckFrames = true;
    FLayoutStale = true;
}

void TOrbListBox::BuildBackBitmap() {
    FBackBitmap = TBitmap32();
    if (FImgBack.Empty() || Width() <= 0 || Height() <= 0) return;
    FBackBitmap.SetSize(Width(), Height());
    TPngImage source = FImgBack;
    source.DrawMode = TDrawMode::Opaque;
    FBackBitmap.StretchDraw(FBackBitmap.BoundsRect(), source.BoundsRect(), source);
    FBackBitmap.DrawMode = TDrawMode::Blend;
    FBackBitmap.CombineMode = TCombineMode::Merge;
}

// ---- scroll bars ----

TOrbScrollBar* TOrbListBox::MakeBar(TOrbUIScrollkind kind, TOrbScrollBarRes* res) {
    auto* bar = Add<TOrbScrollBar>();
    bar->SetVisible(false);
    bar->SetKind(kind);
    bar->SetScrollRes(res);
    bar->SetTransparent(true);
    if (kind == skVer)
        bar->OnScroll = [this](TComponent*, int& position) { ScrollVertically(position); };
    else
        bar->OnScroll = [this](TComponent*, int& position) { ScrollHorizontally(position); };
    return bar;
}

void TOrbListBox::UpdateVerticalBar() {
    const int view = FViewHeight, content = FContentHeight;
    if (view >= content) {
        if (!FVerBar || !FVerBar->Visible()) return;
        FVerBar->SetVisible(false);
        FVerBar->SetPosition(0);
        FTopOffset = 0;
        BuildItemImages();
        UpdateView();
        return;
    }
    if (!FVerBar) {
        if (!FVerScrollRes) return;
        FVerBar = MakeBar(skVer, FVerScrollRes);
    }
    FVerBar->SmallChange = FItemheight + FMarginItem;
    FVerBar->LargeChange = 2 * FItemheight;
    if (!FVerBar->Visible()) {
        FVerBar->SetVisible(true);
        BuildItemImages();
        UpdateView();
    }
    FVerBar->SetMin(0);
    FVerBar->SetMax(content);
    FVerBar->SetPageSize(view);
    const int inset = BorderInset();
    FVerBar->SetBounds(Width() - FVerBar->Width() - inset, inset, FVerBar->Width(), view);
    // Rows deleted or a taller view narrow the range the bar allows: keep
    // the rows on it rather than show empty space past the last one.
    if (-FTopOffset != FVerBar->Position()) {
        FTopOffset = -FVerBar->Position();
        UpdateView();
    }
}

void TOrbListBox::UpdateHorizontalBar() {
    const int inset = BorderInset();
    const int available = Width() - 2 * inset - BarWidth();
    if (FWidestItem < available) {
        if (!FHorBar || !FHorBar->Visible()) return;
        FHorBar->SetVisible(false);
        FHorBar->SetPosition(0);
        FLeftOffset = 0;
        UpdateView();
        return;
    }
    if (!FHorBar) {
        if (!FHorScrollRes) return;
        FHorBar = MakeBar(skHor, FHorScrollRes);
    }
    if (!FHorBar->Visible()) {
        FHorBar->SetVisible(true);
        UpdateView();  // the view is shorter now
    }
    const int height = FHorBar->Height();
    FHorBar->SetBounds(inset, Height() - height - inset, available, height);
    FHorBar->SetMin(0);
    FHorBar->SetMax(FWidestItem);
    FHorBar->SetPageSize(available);
}

void TOrbListBox::ScrollVertically(int position) {
    if (-position == FTopOffset) return;
    FTopOffset = -position;
    UpdateView();
}

void TOrbListBox::ScrollHorizontally(int position) {
    if (-position == FLeftOffset) return;
    FLeftOffset = -position;
    UpdateView();
}

void TOrbListBox::FreeBars() {
    for (TOrbScrollBar** bar : {&FVerBar, &FHorBar}) {
        if (!*bar) continue;
        (*bar)->OnScroll = nullptr;
        DestroyControl(*bar);
        *bar = nullptr;
    }
}
