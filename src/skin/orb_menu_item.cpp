// TOrbMenuItem: one entry of a skinned popup menu and its submenu, and the
// text a shortcut is shown with.
#include <algorithm>

#include "skin/orb_popup_menu.h"

namespace {
std::string KeyName(int key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, char(key));
    if (key >= vk::F1 && key < vk::F1 + 24) return "F" + std::to_string(key - vk::F1 + 1);
    switch (key) {
        case vk::Back: return "BkSp";
        case vk::Tab: return "Tab";
        case vk::Return: return "Enter";
        case vk::Escape: return "Esc";
        case vk::Space: return "Space";
        case vk::Prior: return "PgUp";
        case vk::Next: return "PgDn";
        case vk::End: return "End";
        case vk::Home: return "Home";
        case vk::Left: return "Left";
        case vk::Up: return "Up";
        case vk::Right: return "Right";
        case vk::Down: return "Down";
        case vk::Insert: return "Ins";
        case vk::Delete: return "Del";
        default: return "";
    }
}
}  // namespace

std::string ShortCutToText(const TShortCut& shortCut) {
    std::string name = KeyName(shortCut.Key);
    if (name.empty()) return "";
    std::string text;
    if (shortCut.Shift & ssShift) text += "Shift+";
    if (shortCut.Shift & ssCtrl) text += "Ctrl+";
    if (shortCut.Shift & ssAlt) text += "Alt+";
    return text + name;
}

TOrbMenuItem::TOrbMenuItem() : TComponent(nullptr) { FLoading = false; }

TOrbMenuItem::TOrbMenuItem(const std::string& caption) : TOrbMenuItem() { FCaption = caption; }

TOrbMenuItem::~TOrbMenuItem() {
    // Children first, while they can still reach the menu through us.
    FItems.clear();
    if (FMenu) FMenu->Unregister(this);
}

TOrbMenuItem* TOrbMenuItem::Items(int index) const {
    return index >= 0 && index < Count() ? FItems[size_t(index)].get() : nullptr;
}

int TOrbMenuItem::Depth() const {
    int depth = 0;
    for (auto& child : FItems) depth = std::max(depth, child->Depth() + 1);
    return depth;
}

TOrbMenuItem* TOrbMenuItem::AddSubItem(std::unique_ptr<TOrbMenuItem> child) {
    if (!child || child.get() == this) return nullptr;
    // A fourth level would have no window to open in.
    if (FLevel + 1 + child->Depth() >= TOrbPopupMenu::LevelCount) return nullptr;
    TOrbMenuItem* raw = child.get();
    FItems.push_back(std::move(child));
    raw->AttachTo(FMenu, this, FLevel + 1);
    Changed();
    return raw;
}

TOrbMenuItem* TOrbMenuItem::AddSubItem(const std::string& caption) {
    return AddSubItem(std::make_unique<TOrbMenuItem>(caption));
}

void TOrbMenuItem::AttachTo(TOrbPopupMenu* menu, TOrbMenuItem* parent, int level) {
    FParent = parent;
    FLevel = level;
    FMenu = menu;
    if (FMenu && !FShortCut.IsNone()) FMenu->RegisterShortCut(this);
    for (auto& child : FItems) child->AttachTo(menu, this, level + 1);
}

void TOrbMenuItem::Changed() {
    if (FMenu) FMenu->ItemChanged(this);
}

void TOrbMenuItem::SetCaption(const std::string& value) {
    if (value == FCaption) return;
    FCaption = value;
    Changed();
}

void TOrbMenuItem::SetEnabled(bool value) {
    if (value == FEnabled) return;
    FEnabled = value;
    Changed();
}

void TOrbMenuItem::SetVisible(bool value) {
    if (value == FVisible) return;
    FVisible = value;
    Changed();
}

void TOrbMenuItem::SetChecked(bool value) {
    if (value == FChecked) return;
    FChecked = value;
    Changed();
}

void TOrbMenuItem::SetSelected(bool value) {
    if (value == FSelected) return;
    FSelected = value;
    Changed();
}

void TOrbMenuItem::SetImageIndex(int value) {
    if (value == FImageIndex) return;
    FImageIndex = value;
    Changed();
}

void TOrbMenuItem::SetFontColor(TColor value) {
    if (value == FFontColor) return;
    FFontColor = value;
    Changed();
}

void TOrbMenuItem::SetCustomHeight(int value) {
    if (value == FCustomHeight) return;
    FCustomHeight = value;
    Changed();
}

void TOrbMenuItem::SetShortCut(const TShortCut& value) {
    if (value == FShortCut) return;
    FShortCut = value;
    if (FMenu && !FShortCut.IsNone()) FMenu->RegisterShortCut(this);
    Changed();
}
