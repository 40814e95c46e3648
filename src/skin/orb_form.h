// TOrbForm: the skinned frame of every window. It covers the whole client
// area of its borderless host form and draws the window's skin (an image
// cut in nine parts or stretched whole, over an optional picture), the
// border lines, the logo and the title; it creates the caption buttons,
// moves the window when the caption is dragged, maximises and restores it,
// resizes it from its edges when asked, gives the window a rounded or
// mask-shaped outline and asks the owner before the main window closes.
// Every other control of the window is a child of the frame.
//
// When it loads, the frame chains itself into the host's OnResize (to keep
// covering the client area) and OnActivate (to end a minimise); handlers
// the window set before showing still run first. A window that assigns
// either later must call the handler it replaces.
#pragma once

#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>

#include "platform/gfx/picture.h"
#include "platform/gui/host.h"
#include "skin/orb_control.h"

class TDStdFButton;
class TOrbPopupMenu;

// Raised when a control is used where it cannot work.
class EInvalidOperation : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

enum TOrbCutMode { CmNone, CmRound, CmMask };
enum TSkinDrawMode { SmAutoAndAverage, SmAuto, SmCrop, SmStretch, SmTile };
enum TSkinMixMode { SmmBlend, SmmMerge };
enum TOrbUIFormState { OisNormal, OisMax };
enum TOrbUIFormBtn { ObiMenu, ObiMinimize, ObiMaximize, ObiSkin };

// The set of caption buttons a window wants (close is always wanted).
class TOrbUIFormBtns {
public:
    TOrbUIFormBtns() = default;
    TOrbUIFormBtns(std::initializer_list<TOrbUIFormBtn> items) {
        for (TOrbUIFormBtn b : items) Include(b);
    }
    bool Contains(TOrbUIFormBtn b) const { return (FBits & Bit(b)) != 0; }
    void Include(TOrbUIFormBtn b) { FBits |= Bit(b); }
    void Exclude(TOrbUIFormBtn b) { FBits &= ~Bit(b); }
    friend bool operator==(const TOrbUIFormBtns&, const TOrbUIFormBtns&) = default;

private:
    static unsigned Bit(TOrbUIFormBtn b) { return 1u << unsigned(b); }
    unsigned FBits = 0;
};

// Where a press starts a resize: 4-pixel bands along the edges, the corners
// taking precedence.
enum class TOrbResizeZone { None, Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };

// The host's size limits for resizing by the edges; 0 is no limit (the
// work area bounds the maximum, 30 pixels the minimum).
struct TOrbSizeConstraints {
    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
};

using TOrbFormCloseQueryEvent = std::function<void(TComponent* Sender, bool& CanClose)>;
using TOrbFormPaintEvent = std::function<void(TComponent* Sender, TBitmap32& Abmp)>;

class TOrbForm : public TOrbUIParentControl {
public:
    static constexpr int ResizeBand = 4;
    static constexpr int MinFrameSize = 30;

    explicit TOrbForm(TComponent* owner);
    ~TOrbForm() override;

    // ---- skin ----
    const TPngImage& ImgForm() const { return FImgForm; }
    void SetImgForm(const TPngImage& value);
    const TOrbUIPadding& FormSplit() const { return FFormSplit; }
    void SetFormSplit(const TOrbUIPadding& value);
    bool UseSkin() const { return FUseSkin; }
    void SetUseSkin(bool value);
    const TPicture& SkinPic() const { return FSkinPic; }
    void SetSkinPic(const TPicture& value);
    TSkinDrawMode SkinDrawMode() const { return FSkinDrawMode; }
    void SetSkinDrawMode(TSkinDrawMode value);
    TSkinMixMode SkinMixMode() const { return FSkinMixMode; }
    void SetSkinMixMode(TSkinMixMode value);
    // The per-channel mean of the skin picture, the fill around it in
    // SmAutoAndAverage.
    TColor32 SkinPicAverage() const { return FSkinPicAverage; }
    // Hides TControl::SetColor: the frame is rebuilt with the new colour.
    void SetColor(TColor value);

    // ---- caption buttons (read when the frame loads) ----
    TPngImage ImgBtnClose, ImgBtnSingleClose, ImgBtnMin, ImgBtnSingleMin, ImgBtnMax, ImgBtnRestore, ImgBtnMenu,
        ImgBtnSkin;
    int BtnCaptionStateCount = 3;
    // Changing the set after loading does not rebuild the buttons.
    TOrbUIFormBtns FormBtns{ObiMenu, ObiMinimize, ObiMaximize};
    int BtnTopFix() const { return FBtnTopFix; }
    void SetBtnTopFix(int value);
    int BtnRightFix() const { return FBtnRightFix; }
    void SetBtnRightFix(int value);
    int BtnMargin() const { return FBtnMargin; }
    void SetBtnMargin(int value);
    // Each setter also updates the button that exists.
    const std::string& BtnMinHint() const { return FBtnMinHint; }
    void SetBtnMinHint(const std::string& value);
    const std::string& BtnMaxHint() const { return FBtnMaxHint; }
    void SetBtnMaxHint(const std::string& value);
    const std::string& BtnRestoreHint() const { return FBtnRestoreHint; }
    void SetBtnRestoreHint(const std::string& value);
    const std::string& BtnCloseHint() const { return FBtnCloseHint; }
    void SetBtnCloseHint(const std::string& value);
    const std::string& BtnMenuHint() const { return FBtnMenuHint; }
    void SetBtnMenuHint(const std::string& value);
    const std::string& BtnSkinHint() const { return FBtnSkinHint; }
    void SetBtnSkinHint(const std::string& value);
    // Null when the button was not created.
    TDStdFButton* BtnClose() const { return FBtnClose; }
    TDStdFButton* BtnMax() const { return FBtnMax; }
    TDStdFButton* BtnRestore() const { return FBtnRestore; }
    TDStdFButton* BtnMin() const { return FBtnMin; }
    TDStdFButton* BtnMenu() const { return FBtnMenu; }
    TDStdFButton* BtnSkin() const { return FBtnSkin; }
    // Shown by the menu button at its bottom-left corner; not owned.
    TOrbPopupMenu* BtnPopupMenu() const { return FBtnPopupMenu; }
    void SetBtnPopupMenu(TOrbPopupMenu* value);

    // ---- caption ----
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    const TFont& CaptionFont() const { return FCaptionFont; }
    void SetCaptionFont(const TFont& value);
    int CaptionHeight() const { return FCaptionHeight; }
    void SetCaptionHeight(int value);
    const TPngImage& ImgLogo() const { return FImgLogo; }
    void SetImgLogo(const TPngImage& value);
    const TPngImage& ImgCaption() const { return FImgCaption; }
    void SetImgCaption(const TPngImage& value);
    int LogoTopFix() const { return FLogoTopFix; }
    void SetLogoTopFix(int value);
    int LogoLeftFix() const { return FLogoLeftFix; }
    void SetLogoLeftFix(int value);
    int TitleTopFix() const { return FTitleTopFix; }
    void SetTitleTopFix(int value);
    int TitleLeftFix() const { return FTitleLeftFix; }
    void SetTitleLeftFix(int value);
    std::string LogoHint;
    bool LogoActive = true;

    // ---- border and outline ----
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    TColor InBorderColor() const { return FInBorderColor; }
    void SetInBorderColor(TColor value);
    TOrbCutMode CutMode() const { return FCutMode; }
    void SetCutMode(TOrbCutMode value);
    int CutRound() const { return FCutRound; }
    void SetCutRound(int value);
    const TBitmap32& CutMask() const { return FCutMask; }
    void SetCutMask(const TBitmap32& value);
    const TOrbUIPadding& CutRect() const { return FCutRect; }
    void SetCutRect(const TOrbUIPadding& value);

    // ---- window behaviour ----
    TOrbUIFormState FormState() const { return FFormState; }
    void SetFormState(TOrbUIFormState value);
    bool TopMost() const { return FTopMost; }
    void SetTopMost(bool value);
    bool CanMove = true;
    bool CanMoveAny = false;
    bool SupportReSize = false;
    // Kept for the window definitions; the window manager snaps windows on
    // its own here.
    bool SupportWin7AutoSize = false;
    TOrbSizeConstraints Constraints;

    // ---- state ----
    TForm* HostForm() const { return FHostForm; }
    // The skin with logo and title, as the last rebuild left it.
    const TBitmap32& SkinBuffer() const { return FSkin; }
    const TRect& CaptionRect() const { return FCaptionRect; }
    const TRect& LogoRect() const { return FLogoRect; }
    const TRect& TitleRect() const { return FTitleRect; }
    // The host's bounds before it was maximised.
    const TRect& NormalBounds() const { return FNormalBounds; }
    bool Minimizing() const { return FMinimizing; }
    bool LogoHover() const { return FLogoHover; }
    bool LogoPressed() const { return FLogoPressed; }
    TOrbResizeZone ResizeZone() const { return FResizeZone; }
    // The zone a point (frame coordinates) lies in; None when the frame
    // cannot be resized now.
    TOrbResizeZone ZoneAt(TPoint p) const;

    // ---- operations ----
    // Rebuilds the skin, the caption geometry, logo and title and the
    // window outline, repaints the frame and every skinned child, then
    // fires OnOrbFormSkinChange.
    void RebuildFrame();
    void ApplyWindowShape();
    void Maximize();
    void Restore();
    // What the caption buttons do.
    void CloseClick();
    void MinimizeClick();
    void MenuClick();
    void SkinClick();

    // ---- events ----
    TOrbFormCloseQueryEvent OnOrbFormCloseQuery;
    TNotifyEvent OnOrbFormMinimize, OnOrbFormMax, OnOrbFormRestore;
    TNotifyEvent OnOrbFormBtnMenuClick, OnOrbFormBtnSkinClick, OnOrbFormLogoClick;
    TNotifyEvent OnOrbFormFirstShow, OnOrbFormSkinChange, OnOrbFormUserChangeSize;
    TNotifyEvent OnOrbFormLeave, OnOrbFormClick;
    TOrbFormPaintEvent OnOrbFormPaint, OnOrbFormAfterSkinDraw, OnOrbFormBackGroundPaint;
    TMouseMoveEvent OnOrbFormMouseMove;

    void DrawControl(TBitmap32& buffer) override;
    void ApplyStyle() override;

protected:
    void Loaded() override;
    void Resized() override;
    void PaintBackground(TBitmap32& canvas) override;
    void Notification(TComponent* component, TOperation operation) override;
    void MouseDown(TMouseButton button, TShiftState shift, TPoint p) override;
    void MouseUp(TMouseButton button, TShiftState shift, TPoint p) override;
    void MouseMove(TShiftState shift, TPoint p) override;
    void MouseLeave() override;
    void Click() override;

private:
    enum class TBuild { Quiet, Notify };

    // ---- orb_form.cpp ----
    void HookHost();
    void AlignToHost();
    void HostActivated();
    void Rebuild(TBuild build);
    void RebuildIfLoaded();
    void RepaintSkinnedChildren(TWinControl& parent);
    void SetWindowBounds(const TRect& bounds);

    // ---- orb_form_buttons.cpp ----
    void CreateCaptionButtons();
    TDStdFButton* MakeButton(const char* name, const TPngImage& strip, const std::string& hint);
    void LayoutCaptionButtons();
    void ShowStateButtons();
    TDStdFButton* LeftmostButton() const;
    void SetButtonHint(TDStdFButton* button, std::string& slot, const std::string& value);

    // ---- orb_form_paint.cpp ----
    void PrepareSkinPic();
    void BuildSkinBuffer();
    void DrawSkinPic();
    void DrawFormImage();
    void ComputeCaptionRects();
    void DrawLogoAndTitle();
    void DrawBorder(TBitmap32& buffer) const;
    TWindowShape RoundShape() const;
    TWindowShape MaskShape() const;

    // ---- orb_form_input.cpp ----
    void TrackResizeCursor(TPoint p);
    bool TrackLogo(TPoint p);
    void SetLogoHover(bool value);
    void ResizeTo(TPoint screenPoint);
    void EndResize();
    bool CanResizeNow() const;

    TForm* FHostForm = nullptr;
    std::weak_ptr<void> FHostAlive;

    TPngImage FImgForm;
    TOrbUIPadding FFormSplit;
    bool FUseSkin = false;
    TPicture FSkinPic;
    TBitmap32 FSkinPicImage;  // the picture, set up for drawing
    TBitmap32 FSkinPicFaded;  // the picture melting into its average colour
    TColor32 FSkinPicAverage = 0;
    TSkinDrawMode FSkinDrawMode = SmAutoAndAverage;
    TSkinMixMode FSkinMixMode = SmmMerge;
    TBitmap32 FSkin;

    int FBtnTopFix = 0, FBtnRightFix = 0, FBtnMargin = 0;
    std::string FBtnMinHint, FBtnMaxHint, FBtnRestoreHint, FBtnCloseHint, FBtnMenuHint, FBtnSkinHint;
    TDStdFButton* FBtnClose = nullptr;
    TDStdFButton* FBtnMax = nullptr;
    TDStdFButton* FBtnRestore = nullptr;
    TDStdFButton* FBtnMin = nullptr;
    TDStdFButton* FBtnMenu = nullptr;
    TDStdFButton* FBtnSkin = nullptr;
    TOrbPopupMenu* FBtnPopupMenu = nullptr;

    std::string FCaption;
    TFont FCaptionFont;
    int FCaptionHeight = 30;
    TPngImage FImgLogo, FImgCaption;
    int FLogoTopFix = 0, FLogoLeftFix = 0, FTitleTopFix = 0, FTitleLeftFix = 0;

    TColor FBorderColor = clNone;
    TColor FInBorderColor = 0xE9E9E9;
    TOrbCutMode FCutMode = CmNone;
    int FCutRound = 5;
    TBitmap32 FCutMask;
    TOrbUIPadding FCutRect;
    bool FShapeSet = false;

    TOrbUIFormState FFormState = OisNormal;
    bool FTopMost = false;
    TRect FNormalBounds;
    bool FMinimizing = false;
    bool FChangingState = false;  // inside a maximise or restore
    bool FRebuilding = false;

    TRect FCaptionRect, FLogoRect, FTitleRect;
    bool FLogoHover = false;
    bool FLogoPressed = false;
    TPoint FPressPoint{-1, -1};
    TOrbResizeZone FResizeZone = TOrbResizeZone::None;
    TOrbResizeZone FSizing = TOrbResizeZone::None;
    TPoint FSizeStartPoint;  // screen
    TRect FSizeStartBounds;
};
