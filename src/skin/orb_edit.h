// TOrbEdit, the skinned single-line edit: its own caret and selection over
// UTF-8 text, the clipboard through the host, one level of undo, password
// and digits-only modes, an optional picture at the left and an extra
// button at the right, and a skinned popup menu on right release. The
// editing rules live in TOrbEditModel; this class turns input into those
// steps and draws the result (drawing in orb_edit_paint.cpp, keys and
// characters in orb_edit_keys.cpp, mouse and focus in orb_edit_mouse.cpp).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "skin/orb_control.h"
#include "skin/orb_edit_model.h"

class TTimer;
class TOrbImageList;
class TOrbPopupMenu;

// Called before a character is handled; emptying `key` drops it. Control
// characters come as one byte (Ctrl+A is "\x01", Backspace "\b").
using TOrbEditKeyPressEvent = std::function<void(TComponent* sender, std::string& key)>;

class TOrbEdit : public TOrbUIParentControl {
public:
    explicit TOrbEdit(TComponent* owner);
    ~TOrbEdit() override;

    static constexpr int BlinkInterval = 450;

    // ---- text, caret and selection (character indices, -1 none) ----
    const std::string& Text() const { return FModel.Text(); }
    void SetText(const std::string& value);  // OnChange when it differs
    int CaretPos() const { return FModel.CaretPos; }
    int SelAnchor() const { return FModel.SelAnchor; }
    int SelStart() const { return FModel.CaretPos; }
    int SelEnd() const { return FModel.SelAnchor; }
    void SetSelStart(int value);
    void SetSelEnd(int value);
    std::string SelText() const { return FModel.SelText(); }
    void SetSelText(const std::string& value);  // replaces the selection (or inserts at the caret)
    void SelectAll();
    const std::string& UndoText() const { return FModel.UndoText; }

    // ---- modes ----
    bool OnlyRead() const { return FOnlyRead; }
    void SetOnlyRead(bool value);
    bool OnlyNumber = false;
    // One character drawn in place of each character; empty for none.
    const std::string& PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(const std::string& value);

    // ---- looks ----
    TColor SelColor() const { return FSelColor; }
    void SetSelColor(TColor value);
    const TPngImage& ImgEdit() const { return FImgEdit; }
    void SetImgEdit(const TPngImage& value);
    const TPngImage& ImgInput() const { return FImgInput; }
    void SetImgInput(const TPngImage& value);  // the box while focused and editable
    const TPngImage& ImgPassWord() const { return FImgPassWord; }
    void SetImgPassWord(const TPngImage& value);  // the box in password mode
    int EditStateCount() const { return FEditStateCount; }
    void SetEditStateCount(int value);  // below 1 ignored
    int Imgx1() const { return FImgx1; }
    int ImgX2() const { return FImgX2; }
    void SetImgx1(int value);
    void SetImgX2(int value);
    const TPngImage& ImgExtra() const { return FImgExtra; }
    void SetImgExtra(const TPngImage& value);
    int ExtraStateCount() const { return FExtraStateCount; }
    void SetExtraStateCount(int value);  // clamped to 1..4
    TOrbImageList* ImageList() const { return FImageList; }
    void SetImageList(TOrbImageList* value);
    int Imgindex() const { return FImgindex; }
    void SetImgindex(int value);
    int MarginImgList() const { return FMarginImgList; }
    void SetMarginImgList(int value);
    int MarginText() const { return FMarginText; }
    void SetMarginText(int value);
    int Boxoffset() const { return FBoxoffset; }
    void SetBoxoffset(int value);
    int OutWidth() const { return FOutWidth; }
    void SetOutWidth(int value);

    // ---- popup menu ----
    TOrbPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TOrbPopupMenu* value);
    intptr_t MenuHandle = 0;
    // The menu this edit opened is still showing.
    bool MenuOpen() const;

    // ---- events ----
    TNotifyEvent OnChange, OnGetFocus, OnLostFocus;
    TOrbEditKeyPressEvent OnkeyPress;
    TNotifyEvent OnImglistClick, OnBtnExtraClick;

    // ---- geometry shared by drawing and hit test (client coordinates) ----
    enum class TPart { None, Text, Picture, Extra };
    TRect PictureRect() const;  // empty without a picture
    TRect ExtraRect() const;    // empty without an extra button
    TRect TextRect() const;     // where the text is drawn and clipped
    TPart PartAt(TPoint p) const;
    // The x of the boundary before character `index`, and the boundary
    // nearest to x: the caret a press at x places.
    int CaretX(int index) const;
    int CharIndexAt(int x) const;

    // ---- state as the drawing sees it ----
    bool CaretShown() const;
    int BoxFrame() const;    // the ImgEdit frame for the state (0..3)
    int ExtraFrame() const;  // the ImgExtra frame (0..3)
    bool ExtraHover() const { return FExtraHover; }
    bool ExtraPressed() const { return FExtraPressed; }

    void DrawControl(TBitmap32& buffer) override;

protected:
    void KeyDown(int& key, TShiftState shift) override;
    void KeyPress(const std::string& text) override;
    void FocusEnter() override;
    void FocusExit() override;
    void MouseDown(TMouseButton button, TShiftState shift, TPoint p) override;
    void MouseMove(TShiftState shift, TPoint p) override;
    void MouseUp(TMouseButton button, TShiftState shift, TPoint p) override;
    void MouseLeave() override;
    void EnabledChanged() override;
    void Resized() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    // keys and characters (orb_edit_keys.cpp)
    void HandleChar(const std::string& ch);
    bool HandleControlChar(unsigned char code);
    bool EditKey(int key, TShiftState shift);
    void CopyToClipboard();
    void Paste();
    void TextEdited(bool changed);
    bool CharAllowed(const std::string& ch) const;
    // mouse and focus (orb_edit_mouse.cpp)
    void UpdatePartHover(TPart part);
    void OpenPopupMenu(TPoint p);
    void StartBlink();
    void StopBlink();
    void BlinkTick();
    // drawing and measuring (orb_edit_paint.cpp)
    std::string ShownText() const;
    const std::vector<int>& BoundaryX() const;
    void MeasureChanged();
    void ScrollCaretIntoView();
    void DrawBox(TBitmap32& buffer);
    void DrawPicture(TBitmap32& buffer);
    void DrawTextLayer(TBitmap32& buffer);
    void DrawSelection(TBitmap32& buffer);
    void DrawCaret(TBitmap32& buffer);
    void DrawExtra(TBitmap32& buffer);
    const TPngImage& BoxImage() const;
    void ApplyBoxHeight();
    bool Editable() const { return !FOnlyRead && Enabled(); }

    TOrbEditModel FModel;
    bool FOnlyRead = false;
    std::string FPasswordChar;
    TColor FSelColor = 0x00FFFF;
    TPngImage FImgEdit, FImgInput, FImgPassWord, FImgExtra;
    int FEditStateCount = 3;
    int FImgx1 = 0, FImgX2 = 0;
    int FExtraStateCount = 4;
    TOrbImageList* FImageList = nullptr;
    int FImgindex = -1;
    int FMarginImgList = 0;
    int FMarginText = 2;
    int FBoxoffset = 0;
    int FOutWidth = 2;
    TOrbPopupMenu* FPopupMenu = nullptr;
    bool FMenuOpen = false;

    std::unique_ptr<TTimer> FBlink;
    bool FCaretOn = false;
    bool FFocusByPress = false;  // the focus came with the press being handled
    bool FDragging = false;
    bool FExtraHover = false, FExtraPressed = false;
    bool FPictureHover = false, FPicturePressed = false;
    int FScrollX = 0;  // how far the text is shifted left to keep the caret in view

    // The measured boundary positions of the shown text, rebuilt on demand.
    mutable std::vector<int> FBoundaryX;
    mutable bool FMeasured = false;
    mutable TFont FMeasuredFont;
};
