// TOrbPopupMenu and TOrbMenuItem: the skinned popup menu (the tray menu,
// the small menu under the main window's logo). The menu keeps a tree of
// items up to three levels deep; each open level is measured, composed into
// one per-pixel-alpha image and shown in a borderless level window
// (TOrbMenuForm) that never takes activation. While a menu shows it follows
// the mouse, opens submenus on hover, scrolls levels taller than the work
// area, takes the navigation keys through the application's key hook, and
// closes on a click, a shortcut, a new popup or a loss of activation.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gfx/font.h"
#include "platform/gui/control.h"
#include "skin/orb_deactivation_watch.h"
#include "skin/orb_image_ops.h"
#include "skin/orb_types.h"

class TForm;
class TTimer;
class TOrbImageList;
class TOrbPopupMenu;
class TOrbMenuForm;

// A key with its modifier keys (ssShift, ssCtrl, ssAlt); Key 0 is none.
struct TShortCut {
    int Key = 0;
    TShiftState Shift = ssNone;
    bool IsNone() const { return Key == 0; }
    friend bool operator==(const TShortCut&, const TShortCut&) = default;
};
// "Ctrl+Shift+S" style text, as the menu shows it right-aligned; "" for none.
std::string ShortCutToText(const TShortCut& shortCut);

class TOrbMenuItem : public TComponent {
public:
    TOrbMenuItem();
    explicit TOrbMenuItem(const std::string& caption);
    ~TOrbMenuItem() override;

    TOrbPopupMenu* Menu() const { return FMenu; }
    TOrbMenuItem* ParentItem() const { return FParent; }
    // 0 for a top-level item, 1 for its children, 2 for theirs.
    int Level() const { return FLevel; }
    int Count() const { return int(FItems.size()); }
    TOrbMenuItem* Items(int index) const;
    const std::vector<std::unique_ptr<TOrbMenuItem>>& SubItems() const { return FItems; }
    bool HasSubItems() const { return !FItems.empty(); }
    // Appends a child; answers null (and frees the child) when it would make
    // the tree deeper than the three levels a menu can show.
    TOrbMenuItem* AddSubItem(std::unique_ptr<TOrbMenuItem> child);
    TOrbMenuItem* AddSubItem(const std::string& caption);

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    bool IsSeparator() const { return FCaption == "-"; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    bool Selected() const { return FSelected; }
    void SetSelected(bool value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor value);
    int CustomHeight() const { return FCustomHeight; }
    void SetCustomHeight(int value);
    const TShortCut& ShortCut() const { return FShortCut; }
    void SetShortCut(const TShortCut& value);

    std::string Hint;  // free text for the owner
    bool AutoCheck = false;
    // Checked by a click, a radio item unchecks the radio items of its
    // GroupIndex among its siblings.
    bool RadioItem = false;
    int GroupIndex = 0;
    // The row of the last layout, in its level window; (-1, -1, -1, -1)
    // while the item takes no row.
    TRect ItemRect{-1, -1, -1, -1};
    // Runs after the menu has closed; Sender is the item.
    TNotifyEvent OnClick;

private:
    friend class TOrbPopupMenu;
    void AttachTo(TOrbPopupMenu* menu, TOrbMenuItem* parent, int level);
    int Depth() const;  // levels below this item
    void Changed();

    TOrbPopupMenu* FMenu = nullptr;
    TOrbMenuItem* FParent = nullptr;
    int FLevel = 0;
    std::vector<std::unique_ptr<TOrbMenuItem>> FItems;
    std::string FCaption;
    bool FEnabled = true;
    bool FVisible = true;
    bool FChecked = false;
    bool FSelected = false;
    int FImageIndex = -1;
    TColor FFontColor = clNone;
    int FCustomHeight = -1;
    TShortCut FShortCut;
};

using TOrbBeforePopupEvent = std::function<void(TComponent* sender, bool& canShow)>;
using TOrbMenuCloseEvent = std::function<void(TComponent* sender, bool isNormalClose)>;
using TOrbMenuItemEvent = std::function<void(TComponent* sender, TOrbMenuItem* item)>;

// The skin images cut for drawing: done when an image or its cut changes,
// never while painting.
struct TOrbMenuSkin {
    std::optional<TPiece9> Back;
    std::vector<TPngImage> ItemFrames, CheckFrames, RadioFrames, ArrowFrames, ScrollFrames;
};

// What one open level holds (the menu has three).
struct TOrbMenuLevel {
    TOrbMenuForm* Window = nullptr;
    std::weak_ptr<void> WindowAlive;
    TOrbMenuItem* Parent = nullptr;  // whose children the level shows; null at the top
    TBitmap32 Image;
    TBitmap32 Background;  // the assembled background, kept while the size stays
    std::vector<TPngImage> RowFrames;  // the item frames widened to the row width
    int RowFramesWidth = -1;
    int Width = 0, Height = 0;
    TOrbMenuItem* HoverItem = nullptr;
    TOrbMenuItem* DownItem = nullptr;
    TOrbMenuItem* SubItem = nullptr;  // whose submenu is open
    int TopIndex = 0;                 // first visible item shown
    int RowsShown = 0;
    bool Scrolling = false;
    TRect UpRect, DownRect;
    bool UpHover = false, DownHover = false, UpDown = false, DownDown = false;
};

class TOrbPopupMenu : public TComponent {
public:
    static constexpr int LevelCount = 3;

    explicit TOrbPopupMenu(TComponent* owner = nullptr);
    ~TOrbPopupMenu() override;

    // ---- items ----
    // Take the item over; its subtree joins the menu and every shortcut in
    // it is registered.
    TOrbMenuItem* AddItem(std::unique_ptr<TOrbMenuItem> item);
    TOrbMenuItem* AddItem(const std::string& caption);
    // Before position `index`; -1 appends. An index past the end is ignored
    // (null is answered and the item freed).
    TOrbMenuItem* InsertItem(int index, std::unique_ptr<TOrbMenuItem> item);
    TOrbMenuItem* GetItem(int index) const;
    int Count() const { return int(FItems.size()); }
    // Frees every item (a showing menu is closed first).
    void Clear();

    // ---- showing ----
    void Popup(int x, int y);
    void CloseMenu(bool isNormalClose);
    bool Showing() const { return FShowing; }
    // The owner passes its key-downs in: the first registered item that is
    // visible and enabled with exactly this key and shift state closes the
    // menu and runs. Answers whether one ran.
    bool HandleShortCut(TShiftState shift, int key);
    // The window and image of an open level (0..2); null / empty when closed.
    TForm* LevelWindow(int level) const;
    const TBitmap32& LevelImage(int level) const;
    // The item under the highlight on a level, null for none.
    TOrbMenuItem* HoverItem(int level) const;

    // ---- skin ----
    const TPngImage& ImgBack() const { return FImgBack; }
    void SetImgBack(const TPngImage& value);
    const TOrbUIPadding& ImgSplit() const { return FImgSplit; }
    void SetImgSplit(const TOrbUIPadding& value);
    const TPngImage& ImgItem() const { return FImgItem; }
    void SetImgItem(const TPngImage& value);
    int ItemStateCount() const { return FItemStateCount; }
    void SetItemStateCount(int value);
    const TOrbUIPadding& ItemSplit() const { return FItemSplit; }
    void SetItemSplit(const TOrbUIPadding& value);
    const TPngImage& ImgLine() const { return FImgLine; }
    void SetImgLine(const TPngImage& value);
    const TPngImage& ImgCheck() const { return FImgCheck; }
    void SetImgCheck(const TPngImage& value);
    const TPngImage& ImgRadio() const { return FImgRadio; }
    void SetImgRadio(const TPngImage& value);
    int CheckRadioStateCount() const { return FCheckRadioStateCount; }
    void SetCheckRadioStateCount(int value);
    const TPngImage& ImgSubArrow() const { return FImgSubArrow; }
    void SetImgSubArrow(const TPngImage& value);
    int SubArrowStateCount() const { return FSubArrowStateCount; }
    void SetSubArrowStateCount(int value);
    // Six frames: up normal, hover, pressed; down normal, hover, pressed.
    const TPngImage& ImgBtnUpDown() const { return FImgBtnUpDown; }
    void SetImgBtnUpDown(const TPngImage& value);
    // The optional bar at the left of the top level, its logo at the bottom
    // and the caption picture above the logo.
    const TPngImage& ImgBar() const { return FImgBar; }
    void SetImgBar(const TPngImage& value);
    const TPngImage& ImgBarLogo() const { return FImgBarLogo; }
    void SetImgBarLogo(const TPngImage& value);
    const TPngImage& ImgBarCaption() const { return FImgBarCaption; }
    void SetImgBarCaption(const TPngImage& value);
    bool HaveBar = false;

    int ItemHeight = 22;
    int MenuBarWidth = 16;
    int AlphaWidth = 8;
    int MarginItemX = 2, MarginItemY = 2;
    int MarginText = 2;
    int MinWidth = 0;
    int Alpha = 255;
    TFont FontNormal, FontOver, FontDown, FontDisable, FontSelect;
    TOrbImageList* ImageList() const { return FImageList; }
    void SetImageList(TOrbImageList* value);
    intptr_t AssociateHandle = -1;  // stored for the owner only

    // ---- events ----
    TOrbBeforePopupEvent OnBeforPopup;
    TNotifyEvent OnPopup;
    TOrbMenuCloseEvent OnMenuClose;
    TOrbMenuItemEvent OnMenuItemRightClick, OnSubMenuItemRightClick, OnLastMenuItemRightClick;
    TNotifyEvent OnSubMenuShow;   // Sender: the item whose submenu opens
    TNotifyEvent OnLastMenuShow;  // Sender: the menu

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TOrbMenuItem;
    friend class TOrbMenuForm;
    struct THookState;
    struct TMenuKeyHook;
    struct TMenuPressHook;

    // items (orb_popup_menu.cpp)
    void RegisterShortCut(TOrbMenuItem* item);
    void Unregister(TOrbMenuItem* item);
    void ItemChanged(TOrbMenuItem* item);
    void RecutSkin();
    // the hooks that watch for deactivation and take the keys
    void InstallHooks();
    void RemoveHooks();
    void DeactivationSeen();
    TForm* OwnerForm() const;

    // measuring and composing (orb_menu_paint.cpp)
    const std::vector<std::unique_ptr<TOrbMenuItem>>& ItemsOf(int level) const;
    bool HasVisibleItems(int level) const;
    void Measure(int level);
    void Compose(int level);
    void LayoutRows(int level, int left, int top);
    void DrawBackground(int level);
    void DrawRow(int level, TOrbMenuItem& item);
    int DrawMark(TOrbMenuItem& item, const TRect& row);
    void DrawScrollButtons(int level);
    TFont FontFor(int level, const TOrbMenuItem& item) const;
    int RowFrame(int level, const TOrbMenuItem& item) const;
    bool HasBar(int level) const;
    void DrawBar(int level);
    int RowHeight(const TOrbMenuItem& item) const;
    int MarkColumnWidth() const;
    int ArrowColumnWidth() const;
    void Repaint(int level);

    // level windows and input (orb_menu_input.cpp)
    bool OpenLevel(int level, TRect bounds);
    void OpenSubmenu(int level, TOrbMenuItem* item);
    void CloseLevelsFrom(int level);
    int DeepestLevel() const;
    TOrbMenuItem* ItemAt(int level, TPoint p) const;
    void SetHover(int level, TOrbMenuItem* item, bool openSubmenu);
    void LevelMouseMove(int level, TPoint p);
    void LevelMouseLeave(int level);
    void LevelMouseDown(int level, TMouseButton button, TPoint p);
    void LevelMouseUp(int level, TMouseButton button, TPoint p);
    void LevelMouseWheel(int level, int delta);
    bool ScrollBy(int level, int rows);
    void RepeatScroll();
    void ClickItem(TOrbMenuItem* item);
    void RightClickItem(int level, TOrbMenuItem* item);
    TKeyHookResult MenuKey(int key);
    void MoveHighlight(int level, int step);
    void EnsureShown(int level, TOrbMenuItem* item);

    std::vector<std::unique_ptr<TOrbMenuItem>> FItems;
    std::vector<TOrbMenuItem*> FShortCutItems;
    std::array<TOrbMenuLevel, LevelCount> FLevels;
    bool FShowing = false;
    // A right-click handed to the owner keeps the menu through a loss of
    // activation (its handler may open something of its own).
    bool FKeepOnDeactivate = false;
    std::shared_ptr<THookState> FHooks;
    TDeactivationWatch FDeactivation;
    TTimer* FRepeatTimer = nullptr;
    int FRepeatLevel = -1;

    TPngImage FImgBack, FImgItem, FImgLine, FImgCheck, FImgRadio, FImgSubArrow, FImgBtnUpDown;
    TPngImage FImgBar, FImgBarLogo, FImgBarCaption;
    TOrbUIPadding FImgSplit, FItemSplit{2, 0, 5, 0};
    int FItemStateCount = 4;
    int FCheckRadioStateCount = 2;
    int FSubArrowStateCount = 3;
    TOrbMenuSkin FSkin;
    TOrbImageList* FImageList = nullptr;
};
