// The level windows of a showing TOrbPopupMenu and what the mouse and the
// navigation keys do on them.
//
// One level, by event:
//   event            | where / state                 | action
//   move             | over a scroll button          | its hover flag, recompose
//   move             | onto another usable row       | hover := row, a press elsewhere
//                    |                               | is dropped, open submenus close,
//                    |                               | the row's submenu opens at once
//   move, leave      | onto no row                   | hover cleared; an open submenu
//                    |                               | stays (the way into it crosses gaps)
//   left press       | on a hovered scroll button    | scroll one row, repeat after
//                    |                               | KeyRepeatDelay, then every
//                    |                               | KeyRepeatInterval
//   press            | elsewhere                     | pressed := hover
//   release          | a scroll button was pressed   | repeat stops
//   left release     | over the pressed row, no      | click: AutoCheck, radio group,
//                    | submenu                       | close, then OnClick
//   right release    | over the pressed row          | the level's right-click event
//   wheel            | scrolling level               | one row up or down
#include <algorithm>

#include "platform/gui/application.h"
#include "platform/gui/timer.h"
#include "skin/orb_control.h"
#include "skin/orb_menu_form.h"
#include "skin/orb_popup_menu.h"

namespace {
bool Selectable(const TOrbMenuItem& item) { return item.Visible() && item.Enabled() && !item.IsSeparator(); }
}  // namespace

TForm* TOrbPopupMenu::LevelWindow(int level) const {
    if (level < 0 || level >= LevelCount) return nullptr;
    const TOrbMenuLevel& lv = FLevels[size_t(level)];
    return lv.WindowAlive.expired() ? nullptr : lv.Window;
}

const TBitmap32& TOrbPopupMenu::LevelImage(int level) const {
    static const TBitmap32 none;
    return level >= 0 && level < LevelCount ? FLevels[size_t(level)].Image : none;
}

TOrbMenuItem* TOrbPopupMenu::HoverItem(int level) const {
    return level >= 0 && level < LevelCount ? FLevels[size_t(level)].HoverItem : nullptr;
}

int TOrbPopupMenu::DeepestLevel() const {
    for (int level = LevelCount - 1; level > 0; --level)
        if (LevelWindow(level)) return level;
    return 0;
}

bool TOrbPopupMenu::OpenLevel(int level, TRect bounds) {
    TOrbMenuLevel& lv = FLevels[size_t(level)];
    auto* window = Application->CreateForm<TOrbMenuForm>(this, level);
    window->SetOwnerForm(OwnerForm());
    window->SetOpacity(uint8_t(std::clamp(Alpha, 0, 255)));
    window->OnDeactivate = [this, life = Lifetime(), window](TComponent*) {
        if (!life.expired() && window->Menu()) DeactivationSeen();
    };
    window->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    lv.Window = window;
    lv.WindowAlive = window->Lifetime();
    lv.HoverItem = lv.DownItem = lv.SubItem = nullptr;
    lv.UpHover = lv.DownHover = lv.UpDown = lv.DownDown = false;
    Compose(level);
    window->Show();
    return true;
}

void TOrbPopupMenu::OpenSubmenu(int level, TOrbMenuItem* item) {
    const int sub = level + 1;
    if (sub >= LevelCount || !item || !item->HasSubItems() || !item->Enabled()) return;
    auto alive = Lifetime();
    auto itemAlive = item->Lifetime();
    if (OnSubMenuShow) OnSubMenuShow(item);
    if (alive.expired() || itemAlive.expired() || !FShowing) return;
    TOrbMenuLevel& parent = FLevels[size_t(level)];
    if (!LevelWindow(level) || parent.HoverItem != item) return;
    CloseLevelsFrom(sub);
    TOrbMenuLevel& lv = FLevels[size_t(sub)];
    lv.Parent = item;
    lv.TopIndex = 0;
    if (!HasVisibleItems(sub)) return;
    Measure(sub);
    if (lv.Width <= 0 || lv.Height <= 0) return;
    const TRect work = Application->Host().WorkArea();
    const TRect from = parent.Window->BoundsRect();
    int top = from.Top + item->ItemRect.Top;
    if (top + lv.Height > work.Bottom) top -= lv.Height;
    if (top < work.Top) top = work.Top + (work.Height() - lv.Height) / 2;
    int left = from.Right - AlphaWidth;
    if (left + lv.Width > work.Right) left = from.Left + AlphaWidth - lv.Width;
    parent.SubItem = item;
    OpenLevel(sub, Bounds(left, top, lv.Width, lv.Height));
    Compose(level);
    parent.Window->Invalidate();
    if (sub == LevelCount - 1 && OnLastMenuShow) OnLastMenuShow(this);
}

void TOrbPopupMenu::CloseLevelsFrom(int level) {
    level = std::max(level, 1);
    for (int l = LevelCount - 1; l >= level; --l) {
        TOrbMenuLevel& lv = FLevels[size_t(l)];
        if (FRepeatLevel == l) {
            FRepeatTimer->SetEnabled(false);
            FRepeatLevel = -1;
        }
        if (TForm* window = LevelWindow(l)) {
            lv.Window->Detach();
            if (Application) Application->ReleaseForm(window);
        }
        lv.Window = nullptr;
        lv.WindowAlive.reset();
        lv.Parent = lv.HoverItem = lv.DownItem = lv.SubItem = nullptr;
        lv.Image = TBitmap32();
    }
    TOrbMenuLevel& parent = FLevels[size_t(level - 1)];
    if (!parent.SubItem) return;
    parent.SubItem = nullptr;
    if (!LevelWindow(level - 1)) return;
    Compose(level - 1);
    parent.Window->Invalidate();
}

TOrbMenuItem* TOrbPopupMenu::ItemAt(int level, TPoint p) const {
    for (auto& item : ItemsOf(level))
        if (Selectable(*item) && item->ItemRect.Contains(p)) return item.get();
    return nullptr;
}

void TOrbPopupMenu::SetHover(int level, TOrbMenuItem* item, bool openSubmenu) {
    TOrbMenuLevel& lv = FLevels[size_t(level)];
    if (item == lv.HoverItem) return;
    lv.HoverItem = item;
    if (lv.DownItem && lv.DownItem != item) lv.DownItem = nullptr;
    if (item && lv.SubItem && lv.SubItem != item) CloseLevelsFrom(level + 1);
    Compose(level);
    lv.Window->Invalidate();
    if (item && openSubmenu && item->HasSubItems() && lv.SubItem != item) OpenSubmenu(level, item);
}

void TOrbPopupMenu::LevelMouseMove(int level, TPoint p) {
    if (!FShowing || !LevelWindow(level)) return;
    TOrbMenuLevel& lv = FLevels[size_t(level)];
    if (lv.Scrolling) {
        const bool up = lv.UpRect.Contains(p), down = lv.DownRect.Contains(p);
        if (up != lv.UpHover || down != lv.DownHover) {
            lv.UpHover = up;
            lv.DownHover = down;
            Compose(level);
            lv.Window->Invalidate();
        }
        if (up || down) return;
    }
    SetHover(level, ItemAt(level, p), true);
}

void TOrbPopupMenu::LevelMouseLeave(int level) {
    if (!FShowing || !LevelWindow(level)) return;
    TOrbMenuLevel& lv = FLevels[size_t(level)];
    lv.UpHover = lv.DownHover = false;
    if (lv.HoverItem) {
        SetHover(level, nullptr, false);
        return;
    }
    Compose(level);
    lv.Window->Invalidate();
}

void TOrbPopupMenu::LevelMouseDown(int level, TMouseButton button, TPoint p) {
    // A press that came without a move before it still hits what is under it.
    LevelMouseMove(level, p);
    if (!FShowing || !LevelWindow(level)) return;
    TOrbMenuLevel& lv = FLevels[size_t(level)];
    if (button == TMouseButton::Left && lv.Scrolling && (lv.UpHover || lv.DownHover)) {
        lv.UpDown = lv.UpHover;
        lv.DownDown = lv.DownHover;
        FRepeatLevel = level;
        if (!ScrollBy(level, lv.UpDown ? -1 : 1)) Compose(level);
        lv.Window->Invalidate();
        FRepeatTimer->SetEnabled(false);
        FRepeatTimer->SetInterval(KeyRepeatDelay());
        FRepeatTimer->SetEnabled(true);
        return;
    }
    if (button == TMouseButton::Middle) return;
    lv.DownItem = lv.HoverItem;
    Compose(level);
    lv.Window->Invalidate();
}

void TOrbPopupMenu::LevelMouseUp(int level, TMouseButton button, TPoint p) {
    if (!FShowing || !LevelWindow(level)) return;
    TOrbMenuLevel& lv = FLevels[size_t(level)];
    if (lv.UpDown || lv.DownDown) {
        lv.UpDown = lv.DownDown = false;
        FRepeatTimer->SetEnabled(false);
        FRepeatLevel = -1;
        Compose(level);
        lv.Window->Invalidate();
        return;
    }
    TOrbMenuItem* pressed = lv.DownItem;
    if (!pressed) return;
    lv.DownItem = nullptr;
    const bool over = ItemAt(level, p) == pressed;
    if (over && button == TMouseButton::Left && !pressed->HasSubItems()) {
        ClickItem(pressed);
        return;
    }
    if (over && button == TMouseButton::Right) {
        RightClickItem(level, pressed);
        return;
    }
    Compose(level);
    lv.Window->Invalidate();
}

void TOrbPopupMenu::LevelMouseWheel(int level, int delta) {
    if (FShowing && LevelWindow(level) && delta != 0) ScrollBy(level, delta < 0 ? 1 : -1);
}

bool TOrbPopupMenu::ScrollBy(int level, int rows) {
    TOrbMenuLevel& lv = FLevels[size_t(level)];
    if (!lv.Scrolling || !LevelWindow(level)) return false;
    const auto& items = ItemsOf(level);
    const int visible = int(std::count_if(items.begin(), items.end(), [](auto& item) { return item->Visible(); }));
    if (rows > 0 && lv.TopIndex + lv.RowsShown >= visible) return false;
    if (rows < 0 && lv.TopIndex <= 0) return false;
    lv.TopIndex = std::clamp(lv.TopIndex + rows, 0, std::max(0, visible - 1));
    Compose(level);
    lv.Window->Invalidate();
    return true;
}

void TOrbPopupMenu::RepeatScroll() {
    const int level = FRepeatLevel;
    if (!FShowing || level < 0 || !(FLevels[size_t(level)].UpDown || FLevels[size_t(level)].DownDown)) {
        FRepeatTimer->SetEnabled(false);
        FRepeatLevel = -1;
        return;
    }
    ScrollBy(level, FLevels[size_t(level)].UpDown ? -1 : 1);
    FRepeatTimer->SetInterval(KeyRepeatInterval());
}

void TOrbPopupMenu::ClickItem(TOrbMenuItem* item) {
    if (item->AutoCheck) item->SetChecked(!item->Checked());
    if (item->RadioItem && item->Checked()) {
        const auto& siblings = item->ParentItem() ? item->ParentItem()->SubItems() : FItems;
        for (auto& other : siblings)
            if (other.get() != item && other->RadioItem && other->GroupIndex == item->GroupIndex)
                other->SetChecked(false);
    }
    // The handler may clear the menu and so free the item it runs for.
    TNotifyEvent onClick = item->OnClick;
    auto itemAlive = item->Lifetime();
    CloseMenu(true);
    if (onClick && !itemAlive.expired()) onClick(item);
}

void TOrbPopupMenu::RightClickItem(int level, TOrbMenuItem* item) {
    TOrbMenuItemEvent handler = level == 0   ? OnMenuItemRightClick
                                : level == 1 ? OnSubMenuItemRightClick
                                             : OnLastMenuItemRightClick;
    auto alive = Lifetime();
    if (handler) {
        FKeepOnDeactivate = true;
        handler(this, item);
    }
    if (alive.expired() || !LevelWindow(level)) return;
    Compose(level);
    FLevels[size_t(level)].Window->Invalidate();
}

// ---- keys ----

TKeyHookResult TOrbPopupMenu::MenuKey(int key) {
    const int level = DeepestLevel();
    TOrbMenuItem* item = FLevels[size_t(level)].HoverItem;
    switch (key) {
        case vk::Down: MoveHighlight(level, 1); break;
        case vk::Up: MoveHighlight(level, -1); break;
        case vk::Return:
            if (item && !item->HasSubItems()) {
                ClickItem(item);
                break;
            }
            [[fallthrough]];
        case vk::Right:
            if (!item || !item->HasSubItems()) break;
            OpenSubmenu(level, item);
            if (FShowing && FLevels[size_t(level)].SubItem == item) MoveHighlight(level + 1, 1);
            break;
        case vk::Left:
            if (level == 0) break;
            item = FLevels[size_t(level)].Parent;
            CloseLevelsFrom(level);
            SetHover(level - 1, item, false);
            break;
        case vk::Escape: CloseMenu(true); break;
        default: return TKeyHookResult::Pass;
    }
    return TKeyHookResult::Swallow;
}

void TOrbPopupMenu::MoveHighlight(int level, int step) {
    if (!LevelWindow(level)) return;
    std::vector<TOrbMenuItem*> rows;
    for (auto& item : ItemsOf(level))
        if (Selectable(*item)) rows.push_back(item.get());
    if (rows.empty()) return;
    const int count = int(rows.size());
    auto it = std::find(rows.begin(), rows.end(), FLevels[size_t(level)].HoverItem);
    const int index = it == rows.end() ? (step > 0 ? 0 : count - 1) : (int(it - rows.begin()) + step + count) % count;
    EnsureShown(level, rows[size_t(index)]);
    SetHover(level, rows[size_t(index)], false);
}

void TOrbPopupMenu::EnsureShown(int level, TOrbMenuItem* item) {
    TOrbMenuLevel& lv = FLevels[size_t(level)];
    if (!lv.Scrolling) return;
    int visibleIndex = 0;
    for (auto& other : ItemsOf(level)) {
        if (other.get() == item) break;
        if (other->Visible()) visibleIndex++;
    }
    if (visibleIndex < lv.TopIndex) lv.TopIndex = visibleIndex;
    Compose(level);
    // Rows may differ in height: step down until the row is laid out.
    while (item->ItemRect.Left < 0 && lv.TopIndex < visibleIndex) {
        lv.TopIndex++;
        Compose(level);
    }
    lv.Window->Invalidate();
}
