// TOrbListBox, the owner-drawn skinned list of the program's windows, and
// TOrbLBoxItem, one of its rows. The list lays its items out top to bottom,
// draws each from a skin strip with an optional check box, picture and
// caption, tracks hover, press, check and selection with the mouse, hands
// every stage of drawing to events so the owning window can paint its own
// row content, and creates skinned scroll bars when the items do not fit.
// It also accepts child controls (the main window's per-row hover buttons).
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/orb_control.h"
#include "skin/orb_scroll_bar.h"

class TOrbImageList;
class TOrbListBox;

// A rectangle no layout has given yet.
constexpr TRect NoItemRect{-1, -1, -1, -1};

class TOrbLBoxItem {
public:
    explicit TOrbLBoxItem(TOrbListBox* owner) : FOwner(owner) {}
    TOrbLBoxItem(const TOrbLBoxItem&) = delete;
    TOrbLBoxItem& operator=(const TOrbLBoxItem&) = delete;

    TOrbListBox* Owner() const { return FOwner; }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    // Invisible items take no room.
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

    std::string SubCaption;  // kept for the owner, never drawn
    int ImageIndex = -1;     // into the list box's Imagelist; -1 none
    bool Enabled = true;     // disabled items ignore the mouse
    bool Checked = false;
    bool Selected = false;
    // Where the last layout put the item, its caption and its check box, in
    // list box coordinates; NoItemRect while the row is not laid out (only
    // rows that meet the visible area are).
    TRect ItemRect = NoItemRect;
    TRect TextRect = NoItemRect;
    TRect CheckRect = NoItemRect;
    void* Data = nullptr;  // the owner's; never freed by the list box

private:
    TOrbListBox* FOwner;
    std::string FCaption;
    bool FVisible = true;
};

using TOrbLBoxItemEvent = std::function<void(TComponent* Sender, TOrbLBoxItem* AItem)>;
using TOrbLBoxMeasureEvent = std::function<void(TOrbLBoxItem* AItem, int itemindex, int& itemHeight)>;
using TOrbLBoxDrawEvent = std::function<void(TBitmap32& ACanvas, int itemindex, TOrbLBoxItem* AItem)>;
using TOrbLBoxOwnerDrawEvent =
    std::function<void(TBitmap32& ACanvas, int itemindex, TOrbLBoxItem* AItem, bool& DefaultDraw)>;
using TOrbLBoxBackGroundEvent = std::function<void(TBitmap32& ACanvas, const TRect& ARect)>;

class TOrbListBox : public TOrbUIParentControl {
public:
    explicit TOrbListBox(TComponent* owner);
    ~TOrbListBox() override;

    // ---- skin images (each change re-cuts what depends on it) ----
    const TPngImage& ImgBack() const { return FImgBack; }
    void SetImgBack(const TPngImage& value);
    const TPngImage& Imgitem() const { return FImgitem; }
    void SetImgitem(const TPngImage& value);
    const TOrbUIPadding& itemsplit() const { return FItemsplit; }
    void Setitemsplit(const TOrbUIPadding& value);
    int ItemStateCount() const { return FItemStateCount; }
    void SetItemStateCount(int value);
    const TPngImage& ImgCheck() const { return FImgCheck; }
    void SetImgCheck(const TPngImage& value);
    int CheckStateCount() const { return FCheckStateCount; }
    void SetCheckStateCount(int value);
    const TPngImage& ImgSelBox() const { return FImgSelBox; }
    void SetImgSelBox(const TPngImage& value);

    // ---- behaviour and geometry ----
    bool ShowCheckBox() const { return FShowCheckBox; }
    void SetShowCheckBox(bool value);
    bool MultiSelect = false;
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool value);
    bool SupportRightSelect = false;
    int Itemheight() const { return FItemheight; }
    void SetItemheight(int value);  // values <= 0 are ignored
    int ItemLeftFix() const { return FItemLeftFix; }
    void SetItemLeftFix(int value);
    int MarginCheckBox() const { return FMarginCheckBox; }
    void SetMarginCheckBox(int value);
    int MarginImageList() const { return FMarginImageList; }
    void SetMarginImageList(int value);
    int MarginText() const { return FMarginText; }
    void SetMarginText(int value);
    int MarginItem() const { return FMarginItem; }
    void SetMarginItem(int value);

    // ---- colours ----
    TColor FontColorNormal() const { return FFontColorNormal; }
    void SetFontColorNormal(TColor value);
    TColor FontColorOver() const { return FFontColorOver; }
    void SetFontColorOver(TColor value);
    TColor FontColorDown() const { return FFontColorDown; }
    void SetFontColorDown(TColor value);
    TColor FontColorDisable() const { return FFontColorDisable; }
    void SetFontColorDisable(TColor value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);  // clNone: no frame and no inset

    // ---- shared components, not owned (dropped when freed) ----
    TOrbScrollBarRes* VerScrollRes() const { return FVerScrollRes; }
    void SetVerScrollRes(TOrbScrollBarRes* value);
    TOrbScrollBarRes* HorScrollRes() const { return FHorScrollRes; }
    void SetHorScrollRes(TOrbScrollBarRes* value);
    TOrbImageList* Imagelist() const { return FImagelist; }
    void SetImagelist(TOrbImageList* value);

    // ---- events ----
    TOrbLBoxItemEvent OnItemClick, OnItemDbClick, OnItemCheck;
    TOrbLBoxMeasureEvent OnMeasureItem;
    TOrbLBoxDrawEvent OnBeforeItemDraw, OnAfterItemDraw;
    TOrbLBoxOwnerDrawEvent OnItemOwnerDraw;
    TOrbLBoxBackGroundEvent OnDrawBackGround;

    // ---- items ----
    // A new item at the end; no repaint (windows refresh after filling).
    TOrbLBoxItem* AddItem();
    // Ignored for an item not in the list.
    void DeleteItem(TOrbLBoxItem* item);
    void Clear();
    TOrbLBoxItem* GetItem(int index) const;  // null out of range
    int IndexOf(const TOrbLBoxItem* item) const;
    int Count() const { return int(FItems.size()); }
    int SelectedCount() const;
    // Repaints (through OnRedraw when assigned) once the list has loaded.
    void UpdateView();

    // ---- state ----
    TOrbLBoxItem* HoverItem() const { return FHoverItem; }
    TOrbLBoxItem* DownItem() const { return FDownItem; }
    TOrbLBoxItem* CheckHoverItem() const { return FCheckHoverItem; }
    TOrbLBoxItem* CheckDownItem() const { return FCheckDownItem; }
    int TopOffset() const { return FTopOffset; }    // 0 or negative
    int LeftOffset() const { return FLeftOffset; }  // 0 or negative
    int ContentHeight() const;
    int ViewHeight() const;
    int WidestItem() const { return FWidestItem; }
    // The bars, null until first needed.
    TOrbScrollBar* VerScrollBar() const { return FVerBar; }
    TOrbScrollBar* HorScrollBar() const { return FHorBar; }
    // The first laid-out row and the one after the visible ones (or the
    // last item); -1 when nothing is laid out.
    int FirstLaidOut() const { return FFirstLaid; }
    int LastLaidOut() const { return FLastLaid; }

    void DrawControl(TBitmap32& buffer) override;

protected:
    void Loaded() override;
    void Resized() override;
    void PaintBackground(TBitmap32& canvas) override;
    void Notification(TComponent* component, TOperation operation) override;
    void MouseDown(TMouseButton button, TShiftState shift, TPoint p) override;
    void MouseUp(TMouseButton button, TShiftState shift, TPoint p) override;
    void MouseMove(TShiftState shift, TPoint p) override;
    void MouseLeave() override;
    void DblClick() override;
    TEventResult MouseWheel(int delta, TShiftState shift, TPoint p) override;

private:
    friend class TOrbLBoxItem;

    // ---- cached skin pieces (orb_list_box.cpp) ----
    void BuildItemImages();
    void BuildCheckFrames();
    void BuildBackBitmap();
    int BarWidth() const;
    int HorBarHeight() const;
    int BorderInset() const { return FBorderColor != clNone ? 1 : 0; }

    // ---- layout (orb_list_box_paint.cpp) ----
    // Content tops and heights of every item, rebuilt when items or heights
    // changed, or at every layout while OnMeasureItem decides the heights.
    void MeasureItems() const;
    // Gives the rows meeting the visible area their rectangles.
    void LayOut();
    void EnsureLayout();
    // Heights changed (an item's visibility, Itemheight, MarginItem).
    void LayoutChanged();
    int FirstRowFrom(int contentY) const;
    void ResetLaidOut();
    // Where a row's check box goes; NoItemRect when rows have none.
    TRect CheckBoxRect(const TRect& itemRect) const;

    // ---- drawing (orb_list_box_paint.cpp) ----
    void DrawItem(TBitmap32& buffer, int index, TOrbLBoxItem& item);
    void DrawItemBackground(TBitmap32& buffer, const TOrbLBoxItem& item);
    int DrawCheckBox(TBitmap32& buffer, TOrbLBoxItem& item, int x);
    int DrawPicture(TBitmap32& buffer, const TOrbLBoxItem& item, int x);
    void DrawCaption(TBitmap32& buffer, TOrbLBoxItem& item, int x);
    void DrawBorder(TBitmap32& buffer);
    void DrawBand(TBitmap32& buffer);
    TColor CaptionColor(const TOrbLBoxItem& item) const;
    int ContentWidth(const TOrbLBoxItem& item) const;
    void UpdateWidestItem();

    // ---- scroll bars (orb_list_box.cpp) ----
    void UpdateVerticalBar();
    void UpdateHorizontalBar();
    TOrbScrollBar* MakeBar(TOrbUIScrollkind kind, TOrbScrollBarRes* res);
    void ScrollVertically(int position);
    void ScrollHorizontally(int position);
    void FreeBars();

    // ---- input (orb_list_box_input.cpp) ----
    TOrbLBoxItem* ItemAt(TPoint p);
    void PressAt(TShiftState shift, TPoint p);
    void ReleaseAt(TPoint p);
    void SelectOnPress(TOrbLBoxItem* item, TShiftState shift);
    void ClearSelection();
    void TrackHoverAt(TPoint p);
    void TrackCheckHover(TOrbLBoxItem* hit, TPoint p);
    void RepaintItem(const TOrbLBoxItem* item);
    bool BandDragged() const;
    void SelectByBand();
    TRect BandRect() const;
    void UpdateTruncationHint(TOrbLBoxItem* item);
    void CancelTruncationHint();

    // Published settings.
    TPngImage FImgBack, FImgitem, FImgCheck, FImgSelBox;
    TOrbUIPadding FItemsplit;
    int FItemStateCount = 2;
    int FCheckStateCount = 4;
    bool FShowCheckBox = false;
    bool FHotTrack = true;
    int FItemheight = 22;
    int FItemLeftFix = 0;
    int FMarginCheckBox = 2, FMarginImageList = 2, FMarginText = 2, FMarginItem = 2;
    TColor FFontColorNormal = 0x000000, FFontColorOver = 0xFF0000, FFontColorDown = 0x800000,
           FFontColorDisable = 0x808080, FBorderColor = 0xF0CAA6;
    TOrbScrollBarRes* FVerScrollRes = nullptr;
    TOrbScrollBarRes* FHorScrollRes = nullptr;
    TOrbImageList* FImagelist = nullptr;

    std::vector<std::unique_ptr<TOrbLBoxItem>> FItems;

    // Layout cache, in content coordinates (before TopOffset and the
    // border inset); heights are 0 for invisible items.
    mutable std::vector<int> FTops, FHeights;
    mutable int FContentHeight = 0;
    mutable bool FMeasureDirty = false;
    bool FLayoutStale = true;
    std::vector<int> FLaidOut;  // indices given a rectangle by the last layout
    int FFirstLaid = -1, FLastLaid = -1;
    int FViewHeight = 0;
    int FTopOffset = 0, FLeftOffset = 0;
    int FWidestItem = 0;

    // Mouse state.
    TOrbLBoxItem* FHoverItem = nullptr;
    TOrbLBoxItem* FDownItem = nullptr;
    TOrbLBoxItem* FCheckHoverItem = nullptr;
    TOrbLBoxItem* FCheckDownItem = nullptr;
    TOrbLBoxItem* FAnchor = nullptr;
    TOrbLBoxItem* FAnchor2 = nullptr;
    TPoint FBandStart{-1, -1}, FBandEnd{-1, -1};

    // Truncation hint: the item it is shown for and the list's own hint.
    TOrbLBoxItem* FHintItem = nullptr;
    std::string FSavedHint;
    bool FSavedShowHint = false;

    // Cut skin pieces.
    TPngImage FHoverImage, FSelectedImage;
    std::array<TPngImage, 4> FCheckFrames;
    bool FHasCheckFrames = false;
    TBitmap32 FBackBitmap;

    TOrbScrollBar* FVerBar = nullptr;
    TOrbScrollBar* FHorBar = nullptr;
};
