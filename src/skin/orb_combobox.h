// TOrbCombobox, the skinned drop-down choice, and TOrbCboxItem, one of its
// entries. The box shows the chosen entry's text between a skinned frame
// and a drop button; a release on it opens a borderless, never-activated
// drop-down window (TOrbListForm) that lists ShowitemCount entries at a
// time, scrolls with a TOrbScrollBar beyond that, tracks hover and press,
// and reports the choice. The arrow keys choose the neighbouring entry
// while the box has the focus. With CanInput an embedded TOrbEdit lets the
// box text be typed.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "skin/orb_control.h"
#include "skin/orb_deactivation_watch.h"
#include "skin/orb_image_ops.h"
#include "skin/orb_scroll_bar.h"

class TOrbCombobox;
class TOrbImageList;
class TOrbListForm;
class TOrbEdit;

// A component only so that it can be the Sender of OnChange and hand out a
// lifetime handle; the combo box owns it, it has no component owner.
class TOrbCboxItem : public TComponent {
public:
    explicit TOrbCboxItem(TOrbCombobox* owner) : TComponent(nullptr), FOwner(owner) { FLoading = false; }

    TOrbCombobox* OwnerCombo() const { return FOwner; }
    // The position in the owner's list; -1 without an owner.
    int Index() const;

    std::string Caption;
    std::string SubCaption;  // kept for the owner, never drawn
    int ImageIndex = -1;
    bool Enabled = true;
    bool Visible = true;
    bool Checked = false;
    // Where the last composition of the drop-down put the row and its check
    // box, in drop-down coordinates; (-1, -1, -1, -1) while not shown.
    TRect ItemRect{-1, -1, -1, -1};
    TRect CheckRect{-1, -1, -1, -1};
    // Replaces the built-in drawing of this row when set.
    std::function<void(TBitmap32& ACanvas, TOrbCboxItem* AItem)> OnDraw;
    // Runs after this entry was chosen in the drop-down or by a key.
    std::function<void(TOrbCboxItem* AItem)> OnItemChosen;

private:
    friend class TOrbCombobox;
    TOrbCombobox* FOwner;
};

// Whether choosing an entry closes the drop-down (a click) or leaves it as
// it is (an arrow key).
enum class TCloseAfter { Yes, No };

using TOrbCboxItemEvent = std::function<void(TComponent* Sender, TOrbCboxItem* AItem)>;

class TOrbCombobox : public TOrbUIParentControl {
public:
    explicit TOrbCombobox(TComponent* owner);
    ~TOrbCombobox() override;

    // ---- skin of the box ----
    const TPngImage& ImgBox() const { return FImgBox; }
    void SetImgBox(const TPngImage& value);
    int BoxStateCount() const { return FBoxStateCount; }
    void SetBoxStateCount(int value);
    const TOrbUIPadding& Boxsplit() const { return FBoxsplit; }
    void SetBoxsplit(const TOrbUIPadding& value);
    const TPngImage& ImgBtn() const { return FImgBtn; }
    void SetImgBtn(const TPngImage& value);
    int BtnStateCount() const { return FBtnStateCount; }
    void SetBtnStateCount(int value);
    int BtnOffSet() const { return FBtnOffSet; }
    void SetBtnOffSet(int value);
    const TPngImage& ImgExtraBtn() const { return FImgExtraBtn; }
    void SetImgExtraBtn(const TPngImage& value);
    bool ExtraBtn() const { return FExtraBtn; }
    void SetExtraBtn(bool value);
    bool ExtraBtnLeft() const { return FExtraBtnLeft; }
    void SetExtraBtnLeft(bool value);
    std::string ExtraBtnHint;

    // ---- skin of the drop-down ----
    const TPngImage& ImgForm() const { return FImgForm; }
    void SetImgForm(const TPngImage& value);
    const TOrbUIPadding& Formsplit() const { return FFormsplit; }
    void SetFormsplit(const TOrbUIPadding& value);
    const TPngImage& Imgitem() const { return FImgitem; }
    void SetImgitem(const TPngImage& value);
    int ItemStateCount() const { return FItemStateCount; }
    void SetItemStateCount(int value);
    const TOrbUIPadding& itemsplit() const { return FItemsplit; }
    void Setitemsplit(const TOrbUIPadding& value);
    const TPngImage& ImgCheck() const { return FImgCheck; }
    void SetImgCheck(const TPngImage& value);
    int CheckStateCount() const { return FCheckStateCount; }
    void SetCheckStateCount(int value);
    bool ShowCheckBox = false;
    int ShowitemCount = 8;
    int AlphaWidth = 2;
    TOrbScrollBarRes* VerScrollRes() const { return FVerScrollRes; }
    void SetVerScrollRes(TOrbScrollBarRes* value);

    // ---- pictures ----
    TOrbImageList* Imagelist() const { return FImagelist; }
    void SetImagelist(TOrbImageList* value);
    int ImgIndex() const { return FImgIndex; }
    void SetImgIndex(int value);

    // ---- colours ----
    TColor FontColorNormal = 0x000000, FontColorOver = 0xFF0000, FontColorDown = 0x800000,
           FontColorDisable = 0x808080;
    TColor FontItemColorNormal = 0x383838, FontItemColorOver = 0xFFFFFF, FontItemColorDown = 0xFFFFFF,
           FontItemColorDisable = 0x808080;

    // ---- typing into the box ----
    bool CanInput = false;
    const TPngImage& ImgEditInput() const { return FImgEditInput; }
    void SetImgEditInput(const TPngImage& value) { FImgEditInput = value; }
    TColor EditSelColor = 0x00FFFF;
    int OutWidth = 2;
    TOrbEdit* Edit() const { return FEdit; }

    // ---- items ----
    TOrbCboxItem* AddItem();  // appended; no repaint
    void Clear();
    TOrbCboxItem* GetItem(int index) const;  // null out of range
    int Count() const { return int(FItems.size()); }
    int IndexOf(const TOrbCboxItem* item) const;
    TOrbCboxItem* SelectedItem() const { return FSelectedItem; }
    int index() const { return IndexOf(FSelectedItem); }
    void Setindex(int value);
    const std::string& Text() const { return FText; }
    void SetText(const std::string& value);

    // ---- the drop-down ----
    void DropDown();  // opens it, or closes it when it shows
    void CloseUp();
    bool DroppedDown() const;
    bool OpenedUpward() const { return FUpward; }
    TOrbListForm* ListForm() const;
    TOrbScrollBar* ScrollBar() const { return FScrollBar; }
    const TBitmap32& ListImage() const { return FListImage; }
    int FirstShownItem() const { return FFirstShown; }
    TOrbCboxItem* HoverItem() const { return FHoverItem; }
    TOrbCboxItem* DownItem() const { return FDownItem; }
    // 22 until an item image is set, then that image's height.
    int ItemHeight() const { return FItemFrames.empty() ? 22 : FItemFrames[0].Height(); }

    // ---- geometry shared by drawing and hit tests ----
    TRect BtnRect() const { return FBtnRect; }
    TRect ExtraBtnRect() const { return FExtraRect; }
    TRect TextRect() const;
    bool BtnHover() const { return FBtnHover; }
    bool BtnDown() const { return FBtnDown; }

    // ---- events ----
    TOrbCboxItemEvent OnItemClick, OnItemCheck;
    TNotifyEvent OnChange;  // Sender: the newly chosen item
    TNotifyEvent OnbtnClick, OnExtraBtnClick, OnGetFocus, OnLostFocus;
    TKeyEvent OnEditkeyDown, OnEditkeyUp;

    void DrawControl(TBitmap32& buffer) override;

protected:
    void Loaded() override;
    void Resized() override;
    void Notification(TComponent* component, TOperation operation) override;
    void MouseDown(TMouseButton button, TShiftState shift, TPoint p) override;
    void MouseUp(TMouseButton button, TShiftState shift, TPoint p) override;
    void MouseMove(TShiftState shift, TPoint p) override;
    void MouseLeave() override;
    void KeyDown(int& key, TShiftState shift) override;
    void FocusEnter() override;
    void FocusExit() override;

private:
    friend class TOrbListForm;

    // skin pieces and layout (orb_combobox.cpp)
    void CutSkin();
    void PlaceButtons();
    void Refresh();  // the box and an open drop-down

    // the box (orb_combobox_paint.cpp)
    int BoxFrame() const;
    int ButtonFrame(bool hover, bool down) const;
    TColor BoxTextColor() const;
    int PictureLeft() const;
    void DrawPicture(TBitmap32& buffer, int& x) const;

    // choosing (orb_combobox.cpp)
    void Choose(TOrbCboxItem* item, TCloseAfter close);
    void StepChoice(int step);
    bool EditShown() const;
    void ShowEdit();
    void EditExit();

    // the drop-down (orb_combobox_dropdown.cpp)
    TOrbListForm* EnsureListForm();
    int RowsShown() const;
    int ListHeight() const;
    void SetUpScrollBar(int width, int height);
    void PlaceListForm(int height);
    void InstallHooks();
    void RemoveHooks();
    void ListDeactivated();
    void FreeListForm();

    // composing and input of the drop-down (orb_combobox_list.cpp)
    void ComposeList();
    void LayOutRows();
    void DrawRow(TOrbCboxItem& item);
    const TPngImage* RowBackground(const TOrbCboxItem& item);
    TColor ItemTextColor(const TOrbCboxItem& item) const;
    void ListMouseMove(TPoint p);
    void ListMouseLeave();
    void ListMouseDown(TMouseButton button, TPoint p);
    void ListMouseUp(TMouseButton button, TPoint p);
    void ListMouseWheel(int delta);
    void ScrollTo(int first);
    TOrbCboxItem* RowAt(TPoint p) const;

    std::vector<std::unique_ptr<TOrbCboxItem>> FItems;
    TOrbCboxItem* FSelectedItem = nullptr;
    std::string FText;

    TPngImage FImgBox, FImgBtn, FImgExtraBtn, FImgForm, FImgitem, FImgCheck, FImgEditInput;
    int FBoxStateCount = 4, FBtnStateCount = 4, FItemStateCount = 4, FCheckStateCount = 4;
    TOrbUIPadding FBoxsplit, FFormsplit, FItemsplit;
    int FBtnOffSet = 0;
    bool FExtraBtn = false, FExtraBtnLeft = false;
    TOrbScrollBarRes* FVerScrollRes = nullptr;
    TOrbImageList* FImagelist = nullptr;
    int FImgIndex = -1;
    // The picture of the entry the box text came from: it stays with the
    // text when the choice is forgotten.
    int FShownImageIndex = -1;

    // cut once per image or size change, never while painting
    std::vector<TPngImage> FBoxFrames, FBtnFrames, FExtraFrames, FItemFrames, FCheckFrames;
    std::vector<TPngImage> FRowFrames;  // item frames widened to the row width
    int FRowFramesWidth = -1;
    std::optional<TPiece9> FFormPieces;
    TBitmap32 FListBack;  // the assembled background at the drop-down's size

    TRect FBtnRect, FExtraRect;
    bool FBtnHover = false, FBtnDown = false, FExtraHover = false, FExtraDown = false;
    std::string FOwnHint;
    bool FPlacing = false;

    TOrbListForm* FListForm = nullptr;
    std::weak_ptr<void> FListAlive;
    TOrbScrollBar* FScrollBar = nullptr;
    TBitmap32 FListImage;
    int FFirstShown = 0;
    bool FUpward = false;
    TOrbCboxItem *FHoverItem = nullptr, *FDownItem = nullptr;
    TOrbCboxItem *FCheckHoverItem = nullptr, *FCheckDownItem = nullptr;
    TDeactivationWatch FDeactivation;

    TOrbEdit* FEdit = nullptr;
};
