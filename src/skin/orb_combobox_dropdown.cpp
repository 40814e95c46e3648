// Opening and closing the combo box's drop-down: the window (made once and
// kept), its size and place below or above the box, the scroll bar beyond
// ShowitemCount, and the hooks that close it when the application or the
// box's window loses activation.
#include <algorithm>

#include "platform/gui/application.h"
#include "skin/orb_combobox.h"
#include "skin/orb_list_form.h"

TOrbListForm* TOrbCombobox::ListForm() const { return FListAlive.expired() ? nullptr : FListForm; }

bool TOrbCombobox::DroppedDown() const {
    const TOrbListForm* form = ListForm();
    return form && form->Visible();
}

TOrbListForm* TOrbCombobox::EnsureListForm() {
    if (TOrbListForm* form = ListForm()) return form;
    if (!Application) return nullptr;
    auto* form = Application->CreateForm<TOrbListForm>(this);
    form->SetOwnerForm(Form());
    form->OnDeactivate = [this, life = Lifetime(), form](TComponent*) {
        if (!life.expired() && form->Combo()) ListDeactivated();
    };
    FListForm = form;
    FListAlive = form->Lifetime();
    FScrollBar = nullptr;
    return form;
}

void TOrbCombobox::FreeListForm() {
    TOrbListForm* form = ListForm();
    if (FScrollBar && form) FScrollBar->OnScroll = nullptr;
    FScrollBar = nullptr;
    FListForm = nullptr;
    FListAlive.reset();
    if (!form) return;
    form->Detach();
    // Released, not freed: the box may go from inside the window's handler.
    if (Application) Application->ReleaseForm(form);
}

int TOrbCombobox::RowsShown() const { return std::min(std::max(ShowitemCount, 1), Count()); }

int TOrbCombobox::ListHeight() const {
    const int rows = RowsShown() * (ItemHeight() + 2);
    return FImgForm.Empty() ? rows + 4 : rows + 2 * AlphaWidth + 2;
}

void TOrbCombobox::DropDown() {
    if (DroppedDown()) {
        CloseUp();
        return;
    }
    if (FItems.empty() || !Form()) return;
    TOrbListForm* form = EnsureListForm();
    if (!form) return;
    const int height = ListHeight();
    form->SetTransparency(FImgForm.Empty() ? TTransparency::Opaque : TTransparency::PerPixelAlpha);
    form->SetOpacity(uint8_t(Alpha()));
    FHoverItem = FDownItem = FCheckHoverItem = FCheckDownItem = nullptr;
    FFirstShown = std::clamp(FFirstShown, 0, std::max(0, Count() - RowsShown()));
    PlaceListForm(height);
    SetUpScrollBar(Width(), height);
    InstallHooks();
    ComposeList();
    form->Show();
    Changed();
}

void TOrbCombobox::CloseUp() {
    FHoverItem = FDownItem = FCheckHoverItem = FCheckDownItem = nullptr;
    if (!DroppedDown()) return;
    RemoveHooks();
    FListForm->Hide();
    Changed();
}

// Below the box; above it when the work area ends first.
void TOrbCombobox::PlaceListForm(int height) {
    const TPoint origin = ClientToScreen({0, 0});
    const TRect work = Application->Host().WorkArea();
    int top = origin.Y + Height();
    FUpward = top + height > work.Bottom;
    if (FUpward) top = origin.Y - height;
    FListForm->SetBounds(origin.X, top, Width(), height);
}

void TOrbCombobox::SetUpScrollBar(int width, int height) {
    const bool needed = Count() > ShowitemCount && FVerScrollRes;
    if (!needed) {
        if (FScrollBar) FScrollBar->SetVisible(false);
        return;
    }
    if (!FScrollBar) {
        FScrollBar = FListForm->Add<TOrbScrollBar>();
        FScrollBar->SetTransparent(true);
        FScrollBar->OnScroll = [this](TComponent*, int& position) { ScrollTo(position); };
    }
    FScrollBar->SetScrollRes(FVerScrollRes);
    FScrollBar->SmallChange = 1;
    FScrollBar->LargeChange = std::max(ShowitemCount, 1);
    FScrollBar->SetParams(0, Count() - 1, ShowitemCount, FFirstShown);
    const int barWidth = FScrollBar->Width();
    const int inset = AlphaWidth + 1;
    FScrollBar->SetBounds(width - AlphaWidth - barWidth, inset, barWidth, height - 2 * inset);
    FScrollBar->SetVisible(true);
}

void TOrbCombobox::ScrollTo(int first) {
    first = std::clamp(first, 0, std::max(0, Count() - RowsShown()));
    if (FScrollBar && FScrollBar->Visible() && FScrollBar->Position() != first) FScrollBar->SetPosition(first);
    if (first == FFirstShown) return;
    FFirstShown = first;
    FHoverItem = nullptr;
    ComposeList();
}

// A press on the drop button or (without typing) on the box must not close
// the drop-down here: its release toggles it, and would open it again.
void TOrbCombobox::ListDeactivated() {
    if (!DroppedDown() || !Application) return;
    const TPoint p = ScreenToClient(Application->Host().CursorPos());
    if (FBtnRect.Contains(p) || (!CanInput && ClientRect().Contains(p))) return;
    CloseUp();
}

void TOrbCombobox::InstallHooks() {
    FDeactivation.OnApplicationDeactivate = [this] { CloseUp(); };
    FDeactivation.OnFormDeactivate = [this] { ListDeactivated(); };
    // A click on another window of the program leaves the application
    // active; the box's own window still loses activation.
    FDeactivation.Start(Form());
}

void TOrbCombobox::RemoveHooks() { FDeactivation.Stop(); }
