// TOrbCombobox's settings, its items and the chosen one, the skin pieces it
// cuts once per image or size (box frames widened to the control, button,
// row and check frames, the drop-down's nine pieces), the placement of its
// buttons, and choosing an entry.
#include "skin/orb_combobox.h"

#include <algorithm>

#include "skin/orb_image_list.h"
#include "skin/orb_list_form.h"

namespace {

constexpr TColor White = 0xFFFFFF;

// Every frame of a strip, ready to blend; none unless all of them cut.
std::vector<TPngImage> Frames(const TPngImage& strip, int count) {
    std::vector<TPngImage> frames;
    for (int k = 0; k < count; ++k) {
        auto frame = SliceState(strip, count, k);
        if (!frame) return {};
        frame->DrawMode = TDrawMode::Blend;
        frame->CombineMode = TCombineMode::Merge;
        frames.push_back(std::move(*frame));
    }
    return frames;
}

template <class T>
bool Store(T& field, T value) {
    if (field == value) return false;
    field = value;
    return true;
}

}  // namespace

int TOrbCboxItem::Index() const { return FOwner ? FOwner->IndexOf(this) : -1; }

TOrbCombobox::TOrbCombobox(TComponent* owner) : TOrbUIParentControl(owner) {
    TabStop = true;
    SetColor(White);
    SetBounds(0, 0, 150, 25);
}

TOrbCombobox::~TOrbCombobox() {
    RemoveHooks();
    FreeListForm();
    for (TComponent* c : {static_cast<TComponent*>(FVerScrollRes), static_cast<TComponent*>(FImagelist)})
        if (c) RemoveFreeNotification(c);
}

void TOrbCombobox::Loaded() {
    TOrbUIParentControl::Loaded();
    CutSkin();
}

void TOrbCombobox::Resized() {
    if (!IsLoading() && !FPlacing) CutSkin();
    TOrbUIParentControl::Resized();
}

void TOrbCombobox::Notification(TComponent* component, TOperation operation) {
    TOrbUIParentControl::Notification(component, operation);
    if (operation != TOperation::Remove) return;
    // The scroll bar keeps the images it copied; only the reference goes.
    if (component == FVerScrollRes) FVerScrollRes = nullptr;
    if (component == FImagelist) {
        FImagelist = nullptr;
        Refresh();
    }
}

// ---- skin pieces and layout ----

void TOrbCombobox::CutSkin() {
    if (IsLoading()) return;
    FBoxFrames = Frames(FImgBox, FBoxStateCount);
    const bool widen = FBoxsplit.Left() < FBoxsplit.Right();
    for (TPngImage& frame : FBoxFrames) {
        if (!widen || frame.Width() > Width()) continue;
        if (auto wide = Stretch3H(frame, FBoxsplit.Left(), FBoxsplit.Right(), 255, clNone, Width())) frame = *wide;
    }
    FBtnFrames = Frames(FImgBtn, FBtnStateCount);
    FExtraFrames = Frames(FImgExtraBtn, FBtnStateCount);
    // Only one or two row frames have a meaning; any other count shows none.
    FItemFrames = FItemStateCount == 1 || FItemStateCount == 2 ? Frames(FImgitem, FItemStateCount)
                                                               : std::vector<TPngImage>{};
    FCheckFrames = FCheckStateCount == 4 ? Frames(FImgCheck, 4) : std::vector<TPngImage>{};
    FFormPieces = Cut9(FImgForm, FFormsplit);
    FListBack = TBitmap32();
    FRowFramesWidth = -1;
    if (!FBoxFrames.empty() && FBoxFrames[0].Height() != Height()) {
        FPlacing = true;
        SetHeight(FBoxFrames[0].Height());
        FPlacing = false;
    }
    PlaceButtons();
    Refresh();
}

void TOrbCombobox::PlaceButtons() {
    FBtnRect = FExtraRect = TRect{};
    const int right = Width() - FBtnOffSet - 1;
    if (!FBtnFrames.empty()) {
        const TPngImage& f = FBtnFrames[0];
        FBtnRect = Bounds(right - f.Width(), (Height() - f.Height()) / 2, f.Width(), f.Height());
    }
    if (FExtraBtn && !FExtraFrames.empty()) {
        const TPngImage& f = FExtraFrames[0];
        const int top = (Height() - f.Height()) / 2;
        if (FExtraBtnLeft)
            FExtraRect = Bounds(FBtnOffSet + 2, top, f.Width(), f.Height());
        else
            FExtraRect = Bounds((FBtnRect.IsEmpty() ? right : FBtnRect.Left) - f.Width(), top, f.Width(), f.Height());
    }
}

void TOrbCombobox::Refresh() {
    Changed();
    if (DroppedDown()) ComposeList();
}

// ---- settings ----

void TOrbCombobox::SetImgBox(const TPngImage& value) {
    FImgBox = value;
    CutSkin();
}
void TOrbCombobox::SetBoxStateCount(int value) {
    if (Store(FBoxStateCount, value)) CutSkin();
}
void TOrbCombobox::SetBoxsplit(const TOrbUIPadding& value) {
    if (Store(FBoxsplit, value)) CutSkin();
}
void TOrbCombobox::SetImgBtn(const TPngImage& value) {
    FImgBtn = value;
    CutSkin();
}
void TOrbCombobox::SetBtnStateCount(int value) {
    if (Store(FBtnStateCount, value)) CutSkin();
}
void TOrbCombobox::SetBtnOffSet(int value) {
    if (Store(FBtnOffSet, value)) CutSkin();
}
void TOrbCombobox::SetImgExtraBtn(const TPngImage& value) {
    FImgExtraBtn = value;
    CutSkin();
}
void TOrbCombobox::SetExtraBtn(bool value) {
    if (Store(FExtraBtn, value)) CutSkin();
}
void TOrbCombobox::SetExtraBtnLeft(bool value) {
    if (Store(FExtraBtnLeft, value)) CutSkin();
}
void TOrbCombobox::SetImgForm(const TPngImage& value) {
    FImgForm = value;
    CutSkin();
}
void TOrbCombobox::SetFormsplit(const TOrbUIPadding& value) {
    if (Store(FFormsplit, value)) CutSkin();
}
void TOrbCombobox::SetImgitem(const TPngImage& value) {
    FImgitem = value;
    CutSkin();
}
void TOrbCombobox::SetItemStateCount(int value) {
    if (Store(FItemStateCount, value)) CutSkin();
}
void TOrbCombobox::Setitemsplit(const TOrbUIPadding& value) {
    if (Store(FItemsplit, value)) CutSkin();
}
void TOrbCombobox::SetImgCheck(const TPngImage& value) {
    FImgCheck = value;
    CutSkin();
}
void TOrbCombobox::SetCheckStateCount(int value) {
    if (Store(FCheckStateCount, value)) CutSkin();
}

void TOrbCombobox::SetVerScrollRes(TOrbScrollBarRes* value) {
    if (value == FVerScrollRes) return;
    if (FVerScrollRes) RemoveFreeNotification(FVerScrollRes);
    FVerScrollRes = value;
    if (FVerScrollRes) FreeNotification(FVerScrollRes);
    if (FScrollBar && FVerScrollRes) FScrollBar->SetScrollRes(FVerScrollRes);
}

void TOrbCombobox::SetImagelist(TOrbImageList* value) {
    if (value == FImagelist) return;
    if (FImagelist) RemoveFreeNotification(FImagelist);
    FImagelist = value;
    if (FImagelist) FreeNotification(FImagelist);
    Refresh();
}

void TOrbCombobox::SetImgIndex(int value) {
    if (Store(FImgIndex, value)) Changed();
}

// ---- items ----

TOrbCboxItem* TOrbCombobox::AddItem() {
    FItems.push_back(std::make_unique<TOrbCboxItem>(this));
    return FItems.back().get();
}

void TOrbCombobox::Clear() {
    // The drop-down's hover and press point into the items.
    CloseUp();
    FHoverItem = FDownItem = FCheckHoverItem = FCheckDownItem = nullptr;
    FSelectedItem = nullptr;
    FFirstShown = 0;
    for (auto& item : FItems) item->FOwner = nullptr;
    FItems.clear();
}

TOrbCboxItem* TOrbCombobox::GetItem(int index) const {
    return index >= 0 && index < Count() ? FItems[size_t(index)].get() : nullptr;
}

int TOrbCombobox::IndexOf(const TOrbCboxItem* item) const {
    if (!item) return -1;
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == item) return int(i);
    return -1;
}

void TOrbCombobox::Setindex(int value) {
    if (value == -1) {
        // The box keeps what it shows: only the choice is forgotten.
        FSelectedItem = nullptr;
        if (DroppedDown()) ComposeList();
        return;
    }
    TOrbCboxItem* item = GetItem(value);
    if (!item || item == FSelectedItem) return;
    FSelectedItem = item;
    FShownImageIndex = item->ImageIndex;
    SetText(item->Caption);
    Refresh();
    if (OnChange) OnChange(item);
}

void TOrbCombobox::SetText(const std::string& value) {
    if (value == FText) return;
    FText = value;
    Changed();
}

// ---- choosing ----

// What a release on a row or an arrow key does with the entry: the box
// shows it, OnItemClick sees the previous index, OnChange only runs for a
// new choice, then the entry's own OnItemChosen. Any handler may free the
// combo box or clear its items.
void TOrbCombobox::Choose(TOrbCboxItem* item, TCloseAfter close) {
    auto alive = Lifetime();
    auto itemAlive = item->Lifetime();
    FShownImageIndex = item->ImageIndex;
    SetText(item->Caption);
    FBtnHover = false;
    Changed();
    if (OnItemClick) OnItemClick(this, item);
    if (alive.expired()) return;
    if (!itemAlive.expired() && item->FOwner == this && item != FSelectedItem) {
        FSelectedItem = item;
        if (OnChange) OnChange(item);
        if (alive.expired()) return;
    }
    if (!itemAlive.expired() && item->OnItemChosen) {
        auto chosen = item->OnItemChosen;
        chosen(item);
        if (alive.expired()) return;
    }
    if (close == TCloseAfter::Yes)
        CloseUp();
    else if (DroppedDown())
        ComposeList();
}

// The neighbour of the chosen entry among those that can be chosen; with
// nothing chosen, the first one. At either end nothing happens.
void TOrbCombobox::StepChoice(int step) {
    int i = index();
    const auto usable = [this](int k) { return FItems[size_t(k)]->Visible && FItems[size_t(k)]->Enabled; };
    if (i < 0) {
        i = 0;
        while (i < Count() && !usable(i)) ++i;
    } else {
        do i += step;
        while (i >= 0 && i < Count() && !usable(i));
    }
    if (i < 0 || i >= Count()) return;
    Choose(FItems[size_t(i)].get(), TCloseAfter::No);
}
