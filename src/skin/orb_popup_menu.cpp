// TOrbPopupMenu: the item tree, the skin images (cut when they are set),
// popping up and closing, shortcuts, and the hooks that a showing menu puts
// in front of the application's and the active window's handlers.
#include "skin/orb_popup_menu.h"

#include <algorithm>

#include "platform/gui/application.h"
#include "platform/gui/timer.h"
#include "skin/orb_image_list.h"
#include "skin/orb_menu_form.h"

namespace {
// The platform's window-text system colour.
constexpr TColor WindowTextColor = 0x80000008;

std::vector<TPngImage> Frames(const TPngImage& strip, int count) {
    std::vector<TPngImage> frames;
    for (int k = 0; k < count; ++k) {
        auto frame = SliceState(strip, count, k);
        if (!frame) return {};
        frames.push_back(std::move(*frame));
    }
    return frames;
}

TPngImage Blended(const TPngImage& image) {
    TPngImage copy = image;
    copy.DrawMode = TDrawMode::Blend;
    copy.CombineMode = TCombineMode::Merge;
    return copy;
}

// Visible and enabled, and so is every item above it.
bool Reachable(const TOrbMenuItem* item) {
    for (; item; item = item->ParentItem())
        if (!item->Visible() || !item->Enabled()) return false;
    return true;
}
}  // namespace

// What the key hook of one showing holds. A hook that is still called after
// the menu closed (someone chained over it) or after the menu is gone only
// passes the call on.
struct TOrbPopupMenu::THookState {
    TOrbPopupMenu* Menu = nullptr;
    std::weak_ptr<void> MenuAlive;
    std::function<TKeyHookResult(TForm*, int, TShiftState)> PreviousKeyHook;
    std::function<void(TForm*)> PreviousPressHook;

    bool Live() const { return !MenuAlive.expired() && Menu->FShowing && Menu->FHooks.get() == this; }
};

struct TOrbPopupMenu::TMenuKeyHook {
    std::shared_ptr<THookState> State;
    TKeyHookResult operator()(TForm* form, int key, TShiftState shift) const {
        std::shared_ptr<THookState> state = State;
        auto previous = state->PreviousKeyHook;
        if (state->Live() && state->Menu->MenuKey(key) == TKeyHookResult::Swallow) return TKeyHookResult::Swallow;
        return previous ? previous(form, key, shift) : TKeyHookResult::Pass;
    }
};

// A press in a window of the program that is not one of the menus closes
// the menu, as a click elsewhere does (the application stays active, so
// no deactivation tells).
struct TOrbPopupMenu::TMenuPressHook {
    std::shared_ptr<THookState> State;
    void operator()(TForm* form) const {
        std::shared_ptr<THookState> state = State;
        auto previous = state->PreviousPressHook;
        if (state->Live() && !dynamic_cast<TOrbMenuForm*>(form)) state->Menu->CloseMenu(true);
        if (previous) previous(form);
    }
};

TOrbPopupMenu::TOrbPopupMenu(TComponent* owner) : TComponent(owner) {
    for (TFont* font : {&FontNormal, &FontOver, &FontDown, &FontDisable, &FontSelect}) font->Color = WindowTextColor;
    FRepeatTimer = Create<TTimer>();
    FRepeatTimer->SetEnabled(false);
    FRepeatTimer->OnTimer = [this](TComponent*) { RepeatScroll(); };
    FLoading = false;
}

TOrbPopupMenu::~TOrbPopupMenu() {
    // Torn down without events: the owner is going away too.
    FShowing = false;
    RemoveHooks();
    for (int level = LevelCount - 1; level >= 0; --level) {
        TOrbMenuLevel& lv = FLevels[size_t(level)];
        if (!lv.Window || lv.WindowAlive.expired()) continue;
        lv.Window->Detach();
        if (Application) Application->ReleaseForm(lv.Window);
    }
    // Before the shortcut list goes: the items unregister themselves.
    FItems.clear();
}

// ---- items ----

TOrbMenuItem* TOrbPopupMenu::AddItem(std::unique_ptr<TOrbMenuItem> item) { return InsertItem(-1, std::move(item)); }

TOrbMenuItem* TOrbPopupMenu::AddItem(const std::string& caption) {
    return AddItem(std::make_unique<TOrbMenuItem>(caption));
}

TOrbMenuItem* TOrbPopupMenu::InsertItem(int index, std::unique_ptr<TOrbMenuItem> item) {
    if (!item || index < -1 || index > Count()) return nullptr;
    // A subtree too deep for the three level windows stays out.
    if (item->Depth() >= LevelCount) return nullptr;
    TOrbMenuItem* raw = item.get();
    FItems.insert(index < 0 ? FItems.end() : FItems.begin() + index, std::move(item));
    raw->AttachTo(this, nullptr, 0);
    ItemChanged(raw);
    return raw;
}

TOrbMenuItem* TOrbPopupMenu::GetItem(int index) const {
    return index >= 0 && index < Count() ? FItems[size_t(index)].get() : nullptr;
}

void TOrbPopupMenu::Clear() {
    // The open levels point into the items.
    CloseMenu(true);
    FItems.clear();
    FShortCutItems.clear();
}

void TOrbPopupMenu::RegisterShortCut(TOrbMenuItem* item) {
    if (std::find(FShortCutItems.begin(), FShortCutItems.end(), item) == FShortCutItems.end())
        FShortCutItems.push_back(item);
}

void TOrbPopupMenu::Unregister(TOrbMenuItem* item) {
    FShortCutItems.erase(std::remove(FShortCutItems.begin(), FShortCutItems.end(), item), FShortCutItems.end());
    for (TOrbMenuLevel& lv : FLevels) {
        if (lv.HoverItem == item) lv.HoverItem = nullptr;
        if (lv.DownItem == item) lv.DownItem = nullptr;
        if (lv.SubItem == item) lv.SubItem = nullptr;
    }
}

void TOrbPopupMenu::ItemChanged(TOrbMenuItem* item) {
    if (!FShowing) return;
    for (int level = 0; level < LevelCount; ++level) {
        const TOrbMenuLevel& lv = FLevels[size_t(level)];
        if (lv.Window && (lv.Parent == item->ParentItem() || lv.Parent == item)) Repaint(level);
    }
}

bool TOrbPopupMenu::HandleShortCut(TShiftState shift, int key) {
    if (key == 0) return false;
    const TShiftState modifiers = shift & (ssShift | ssCtrl | ssAlt);
    for (TOrbMenuItem* item : FShortCutItems) {
        if (item->ShortCut().Key != key || item->ShortCut().Shift != modifiers || !Reachable(item)) continue;
        // The handler may clear the menu and so free the item it runs for.
        TNotifyEvent onClick = item->OnClick;
        auto itemAlive = item->Lifetime();
        CloseMenu(true);
        if (onClick && !itemAlive.expired()) onClick(item);
        return true;
    }
    return false;
}

// ---- skin ----

void TOrbPopupMenu::RecutSkin() {
    FSkin.Back = Cut9(FImgBack, FImgSplit);
    FSkin.ItemFrames = Frames(FImgItem, FItemStateCount);
    FSkin.CheckFrames = Frames(FImgCheck, FCheckRadioStateCount);
    FSkin.RadioFrames = Frames(FImgRadio, FCheckRadioStateCount);
    FSkin.ArrowFrames = Frames(FImgSubArrow, FSubArrowStateCount);
    FSkin.ScrollFrames = Frames(FImgBtnUpDown, 6);
    for (TOrbMenuLevel& lv : FLevels) {
        lv.Background = TBitmap32();
        lv.RowFramesWidth = -1;
    }
    for (int level = 0; level < LevelCount; ++level) Repaint(level);
}

void TOrbPopupMenu::SetImgBack(const TPngImage& value) {
    FImgBack = value;
    RecutSkin();
}
void TOrbPopupMenu::SetImgSplit(const TOrbUIPadding& value) {
    if (value == FImgSplit) return;
    FImgSplit = value;
    RecutSkin();
}
void TOrbPopupMenu::SetImgItem(const TPngImage& value) {
    FImgItem = value;
    RecutSkin();
}
void TOrbPopupMenu::SetItemStateCount(int value) {
    if (value == FItemStateCount) return;
    FItemStateCount = value;
    RecutSkin();
}
void TOrbPopupMenu::SetItemSplit(const TOrbUIPadding& value) {
    if (value == FItemSplit) return;
    FItemSplit = value;
    RecutSkin();
}
void TOrbPopupMenu::SetImgLine(const TPngImage& value) {
    FImgLine = Blended(value);
    RecutSkin();
}
void TOrbPopupMenu::SetImgCheck(const TPngImage& value) {
    FImgCheck = value;
    RecutSkin();
}
void TOrbPopupMenu::SetImgRadio(const TPngImage& value) {
    FImgRadio = value;
    RecutSkin();
}
void TOrbPopupMenu::SetCheckRadioStateCount(int value) {
    if (value == FCheckRadioStateCount) return;
    FCheckRadioStateCount = value;
    RecutSkin();
}
void TOrbPopupMenu::SetImgSubArrow(const TPngImage& value) {
    FImgSubArrow = value;
    RecutSkin();
}
void TOrbPopupMenu::SetSubArrowStateCount(int value) {
    if (value == FSubArrowStateCount) return;
    FSubArrowStateCount = value;
    RecutSkin();
}
void TOrbPopupMenu::SetImgBtnUpDown(const TPngImage& value) {
    FImgBtnUpDown = value;
    RecutSkin();
}
void TOrbPopupMenu::SetImgBar(const TPngImage& value) {
    FImgBar = Blended(value);
    RecutSkin();
}
void TOrbPopupMenu::SetImgBarLogo(const TPngImage& value) {
    FImgBarLogo = Blended(value);
    RecutSkin();
}
void TOrbPopupMenu::SetImgBarCaption(const TPngImage& value) {
    FImgBarCaption = Blended(value);
    RecutSkin();
}

void TOrbPopupMenu::SetImageList(TOrbImageList* value) {
    if (value == FImageList) return;
    if (FImageList) RemoveFreeNotification(FImageList);
    FImageList = value;
    if (FImageList) FreeNotification(FImageList);
}

void TOrbPopupMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::Remove && component == FImageList) FImageList = nullptr;
}

// ---- showing and closing ----

TForm* TOrbPopupMenu::OwnerForm() const {
    auto* control = dynamic_cast<TControl*>(Owner());
    return control ? control->Form() : nullptr;
}

void TOrbPopupMenu::Popup(int x, int y) {
    auto alive = Lifetime();
    if (FShowing) CloseMenu(false);
    if (alive.expired()) return;
    bool canShow = true;
    if (OnBeforPopup) OnBeforPopup(this, canShow);
    if (alive.expired() || !canShow) return;
    if (OnPopup) OnPopup(this);
    // A handler may have popped the menu up by itself.
    if (alive.expired() || FShowing || !Application || !HasVisibleItems(0)) return;
    TOrbMenuLevel& lv = FLevels[0];
    lv.TopIndex = 0;
    Measure(0);
    if (lv.Width <= 0 || lv.Height <= 0) return;
    const TRect work = Application->Host().WorkArea();
    int top = y + lv.Height > work.Bottom ? work.Bottom - lv.Height : y;
    int left = x + lv.Width > work.Right ? x - lv.Width : x;
    // Flipped up or left, a big menu must still start inside the work area.
    top = std::max(top, work.Top);
    left = std::max(left, work.Left);
    FShowing = true;
    FKeepOnDeactivate = false;
    InstallHooks();
    OpenLevel(0, Bounds(left, top, lv.Width, lv.Height));
}

void TOrbPopupMenu::CloseMenu(bool isNormalClose) {
    if (!FShowing) return;
    FShowing = false;
    FKeepOnDeactivate = false;
    FRepeatTimer->SetEnabled(false);
    FRepeatLevel = -1;
    RemoveHooks();
    // Deepest first. Released, not freed: the close may come from inside a
    // level window's own mouse handler.
    for (int level = LevelCount - 1; level >= 0; --level) {
        TOrbMenuLevel& lv = FLevels[size_t(level)];
        TOrbMenuForm* window = lv.WindowAlive.expired() ? nullptr : lv.Window;
        lv.Window = nullptr;
        lv.WindowAlive.reset();
        lv.HoverItem = lv.DownItem = lv.SubItem = nullptr;
        lv.UpHover = lv.DownHover = lv.UpDown = lv.DownDown = false;
        lv.Image = TBitmap32();
        if (!window) continue;
        window->Detach();
        if (Application) Application->ReleaseForm(window);
    }
    if (OnMenuClose) OnMenuClose(this, isNormalClose);
}

void TOrbPopupMenu::DeactivationSeen() {
    if (!FKeepOnDeactivate) CloseMenu(true);
}

void TOrbPopupMenu::InstallHooks() {
    if (!Application) return;
    RemoveHooks();
    auto state = std::make_shared<THookState>();
    state->Menu = this;
    state->MenuAlive = Lifetime();
    state->PreviousKeyHook = Application->OnKeyHook;
    Application->OnKeyHook = TMenuKeyHook{state};
    state->PreviousPressHook = Application->OnFormPress;
    Application->OnFormPress = TMenuPressHook{state};
    FHooks = std::move(state);
    // A click on another window of the program leaves the application
    // active; the window that had the focus still loses it.
    TForm* focused = nullptr;
    for (TForm* form : Application->Forms())
        if (form->Active() && !dynamic_cast<TOrbMenuForm*>(form)) {
            focused = form;
            break;
        }
    FDeactivation.OnApplicationDeactivate = [this] { DeactivationSeen(); };
    FDeactivation.OnFormDeactivate = [this] { DeactivationSeen(); };
    FDeactivation.Start(focused);
}

void TOrbPopupMenu::RemoveHooks() {
    FDeactivation.Stop();
    if (!FHooks) return;
    std::shared_ptr<THookState> state = std::move(FHooks);
    FHooks.reset();
    // A key hook that someone chained over stays in their chain and only
    // passes calls on from now.
    if (!Application) return;
    const auto* keyHook = Application->OnKeyHook.target<TMenuKeyHook>();
    if (keyHook && keyHook->State == state) Application->OnKeyHook = state->PreviousKeyHook;
    const auto* pressHook = Application->OnFormPress.target<TMenuPressHook>();
    if (pressHook && pressHook->State == state) Application->OnFormPress = state->PreviousPressHook;
}
