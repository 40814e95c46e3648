// TOrbMessageBox: the program's skinned confirmation and message dialog, a
// non-visual component. ShowMsg composes one picture (frame, logo, title,
// icon, wrapped message, close button, one or two buttons), shows it in a
// borderless per-pixel-alpha window (TOrbUIMessageForm) modally and answers
// which button closed it: 1 OK, 6 Yes, 7 No. A call made while a box shows,
// or one that cannot build its picture, shows nothing and answers mrNone.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/font.h"
#include "platform/gui/form.h"
#include "skin/orb_types.h"

class TOrbMessageBox;

// Button-set codes.
constexpr int BtnSetYesNo = 3;
constexpr int BtnSetOk = 4;
// Icon codes; any other value shows no icon.
constexpr int MsgIconWarning = 0, MsgIconError = 1, MsgIconInformation = 2, MsgIconQuestion = 3,
              MsgIconCustom = 4;

// Names the form a box belongs to (ShowMsg's OwnerInfo).
struct TOrbMsgOwnerInfo {
    TForm* Form = nullptr;
};

// The parts of a box the mouse can act on. Button1 is No (or OK), Button2 Yes.
enum class TMsgPart { None, Close, Button1, Button2 };

// Where everything of the current picture sits; one layout serves painting
// and hit-testing.
struct TMsgLayout {
    int Width = 0, Height = 0;
    TRect Close, Logo, Title, Icon, Message, Button1, Button2;
};

// The window a box shows in. It shows the box's refreshed picture and hands
// the mouse and the keys to the box.
class TOrbUIMessageForm : public TForm {
public:
    TOrbUIMessageForm(TComponent* owner, TOrbMessageBox* box);
    TOrbMessageBox* Box() const { return FBox; }
    // The box is going away: from here on the window only shows what it has.
    void Detach() { FBox = nullptr; }

protected:
    void Paint(TBitmap32& canvas) override;
    void MouseDown(TMouseButton button, TShiftState shift, TPoint p) override;
    void MouseUp(TMouseButton button, TShiftState shift, TPoint p) override;
    void MouseMove(TShiftState shift, TPoint p) override;
    void MouseLeave() override;
    void KeyDown(int& key, TShiftState shift) override;

private:
    TOrbMessageBox* FBox;
};

class TOrbMessageBox : public TComponent {
public:
    explicit TOrbMessageBox(TComponent* owner = nullptr);
    ~TOrbMessageBox() override;

    int ShowMsg(const std::string& Title, const std::string& Message, const TOrbMsgOwnerInfo* OwnerInfo,
                bool CenterOnScreen, TForm* OverForm, int Buttons, int Icon);

    // ---- skin ----
    const TPngImage& ImgForm() const { return FImgForm; }
    void SetImgForm(const TPngImage& value) { FImgForm = value; }
    const TOrbUIPadding& FormSplit() const { return FFormSplit; }
    void SetFormSplit(const TOrbUIPadding& value) { FFormSplit = value; }
    // Three frames: normal, hover, pressed.
    const TPngImage& ImgClose() const { return FImgClose; }
    void SetImgClose(const TPngImage& value) { FImgClose = value; }
    const TPngImage& ImgLogo() const { return FImgLogo; }
    void SetImgLogo(const TPngImage& value) { FImgLogo = value; }
    // Four frames: normal, hover, pressed, focused.
    const TPngImage& ImgBtn() const { return FImgBtn; }
    void SetImgBtn(const TPngImage& value) { FImgBtn = value; }
    // Four icons: warning, error, information, question.
    const TPngImage& ImgMsg() const { return FImgMsg; }
    void SetImgMsg(const TPngImage& value) { FImgMsg = value; }
    const TPngImage& ImgCustom() const { return FImgCustom; }
    void SetImgCustom(const TPngImage& value) { FImgCustom = value; }
    // Takes the place of ImgForm when set.
    const TPngImage& Pic() const { return FPic; }
    void SetPic(const TPngImage& value) { FPic = value; }

    int Alpha = 255;
    int AlphaWidth = 8;
    int CaptionHeight = 30;
    int CaptionLeftFix = 0;
    int BtnCloseLeft = 4;
    int MsgRowCount = 3;
    TFont FontTitle, FontMsg, FontBtn;
    std::string BtnCaptionYes = "Yes", BtnCaptionNo = "No", BtnCaptionOk = "Ok";
    // Kept for the owner; the box is drawn through the layered window alone.
    std::string BtnCloseHint = "Close";
    TColor SkinColor = clNone;
    int RoundValue = 1;

    // ---- state, for the owner and for tests ----
    bool Showing() const { return FShowing; }
    TOrbUIMessageForm* MessageForm() const;
    const TBitmap32& Picture() const { return FPicture; }
    const TBitmap32& Shown() const { return FShown; }
    const TMsgLayout& Layout() const { return FLayout; }
    int ButtonSet() const { return FButtonSet; }
    // Button1 or Button2; None without buttons.
    TMsgPart FocusedButton() const { return FFocus; }
    bool PartHover(TMsgPart part) const;
    bool PartPressed(TMsgPart part) const;
    TMsgPart PartAt(TPoint p) const;

    // Composes the picture for a message; answers false (and leaves the
    // picture empty) when the close, button or frame image is missing.
    bool Compose(const std::string& title, const std::string& message, int buttons, int icon);

private:
    friend class TOrbUIMessageForm;
    TRect PartRect(TMsgPart part) const;
    // Steps of Compose.
    TPoint ComposedSize(const std::string& message, TPoint& extent) const;
    void ComposeFrame(int width, int height);
    void LayOut(int width, int height, int icon, TPoint extent, const std::string& title);
    void DrawCaption(const std::string& title);
    void DrawBody(const std::string& message, int icon);
    void MakeButtonFrames();
    // Copies the picture, draws the parts in their state and shows it.
    void Refresh();
    void DrawPart(TBitmap32& target, TMsgPart part) const;

    TForm* PlacementForm(const TOrbMsgOwnerInfo* ownerInfo, TForm* overForm) const;
    TRect Placement(TForm* form, bool centerOnScreen) const;
    TOrbUIMessageForm* EnsureForm();

    // Input from the window.
    void FormMouseMove(TShiftState shift, TPoint p);
    void FormMouseDown(TMouseButton button, TPoint p);
    void FormMouseUp(TMouseButton button, TPoint p);
    void FormMouseLeave();
    void FormKeyDown(int& key);
    bool UpdateHover(TPoint p);
    int PartResult(TMsgPart part) const;
    void Finish(int result);

    TPngImage FImgForm, FImgClose, FImgLogo, FImgBtn, FImgMsg, FImgCustom, FPic;
    TOrbUIPadding FFormSplit;

    TBitmap32 FPicture;  // the composed picture without the parts' states
    TBitmap32 FShown;    // the picture with the parts drawn over it
    TMsgLayout FLayout;
    std::vector<TPngImage> FCloseFrames;
    // Per button slot, the four frames with the slot's caption on them.
    std::vector<TPngImage> FButton1Frames, FButton2Frames;
    int FButtonSet = 0;
    int FResult = mrOk;
    bool FShowing = false;
    TMsgPart FHover = TMsgPart::None;
    TMsgPart FPressed = TMsgPart::None;
    TMsgPart FFocus = TMsgPart::None;
    TOrbUIMessageForm* FForm = nullptr;
    std::weak_ptr<void> FFormAlive;
};
