// TOrbForm: placement on the host, loading, the property setters, the link
// to the host's events, rebuilding and the maximise / restore cycle.
// Caption buttons are in orb_form_buttons.cpp, drawing and the window
// outline in orb_form_paint.cpp, the mouse in orb_form_input.cpp.
#include "skin/orb_form.h"

#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "skin/orb_caption_button.h"
#include "skin/orb_popup_menu.h"
#include "skin/orb_style.h"

TOrbForm::TOrbForm(TComponent* owner) : TOrbUIParentControl(owner) {
    TControl::SetColor(0x800080);
    // Hovering the frame changes nothing it draws; a repaint of the whole
    // window on every enter and leave would be wasted.
    TrackHover = false;
}

TOrbForm::~TOrbForm() {
    if (FBtnPopupMenu) RemoveFreeNotification(FBtnPopupMenu);
}

// ---- loading and the host ----

void TOrbForm::Loaded() {
    TForm* host = Parent() ? Parent()->AsForm() : nullptr;
    if (!host) throw EInvalidOperation("A Paretn control must TForm");
    // Still loading: the style's fields are taken without a rebuild.
    if (Style()) ApplyStyle();
    TOrbUIParentControl::Loaded();
    FHostForm = host;
    FHostAlive = host->Lifetime();
    HookHost();
    if (FTopMost) host->SetStayOnTop(TStayOnTop::Yes);
    // Taking the host's size must not rebuild a frame without its buttons.
    FChangingState = true;
    AlignToHost();
    FChangingState = false;
    CreateCaptionButtons();
    if (!FSkinPic.Empty()) PrepareSkinPic();
    Rebuild(FSkinPic.Empty() ? TBuild::Quiet : TBuild::Notify);
    auto alive = Lifetime();
    if (FFormState == OisMax) {
        FFormState = OisNormal;
        Maximize();
        if (alive.expired()) return;
    }
    if (OnOrbFormFirstShow) OnOrbFormFirstShow(this);
}

// The frame follows the host's size and learns when the host is activated
// by chaining the host's handlers; what the window set before the frame
// loaded still runs first.
void TOrbForm::HookHost() {
    auto alive = Lifetime();
    TNotifyEvent previousResize = FHostForm->OnResize;
    FHostForm->OnResize = [this, alive, previousResize](TComponent* sender) {
        if (previousResize) previousResize(sender);
        if (!alive.expired()) AlignToHost();
    };
    TNotifyEvent previousActivate = FHostForm->OnActivate;
    FHostForm->OnActivate = [this, alive, previousActivate](TComponent* sender) {
        if (previousActivate) previousActivate(sender);
        if (!alive.expired()) HostActivated();
    };
}

void TOrbForm::AlignToHost() {
    if (!FHostForm || FHostAlive.expired()) return;
    SetBounds(0, 0, FHostForm->Width(), FHostForm->Height());
}

void TOrbForm::HostActivated() {
    if (!FMinimizing) return;
    FMinimizing = false;
    RebuildFrame();
}

void TOrbForm::SetWindowBounds(const TRect& bounds) {
    if (!FHostForm) return;
    FHostForm->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    // The host's resize handler aligns the frame too; this covers a window
    // that replaced that handler.
    AlignToHost();
}

void TOrbForm::Resized() {
    TOrbUIParentControl::Resized();
    if (!FChangingState) RebuildIfLoaded();
}

void TOrbForm::Notification(TComponent* component, TOperation operation) {
    TOrbUIParentControl::Notification(component, operation);
    if (operation == TOperation::Remove && component == FBtnPopupMenu) FBtnPopupMenu = nullptr;
}

// ---- rebuilding ----

void TOrbForm::RebuildFrame() { Rebuild(TBuild::Notify); }

void TOrbForm::RebuildIfLoaded() {
    if (!IsLoading() && FHostForm) RebuildFrame();
}

void TOrbForm::Rebuild(TBuild build) {
    if (IsLoading() || !FHostForm || FRebuilding) return;
    auto alive = Lifetime();
    FRebuilding = true;
    BuildSkinBuffer();
    if (alive.expired()) return;
    LayoutCaptionButtons();
    ComputeCaptionRects();
    DrawLogoAndTitle();
    FRebuilding = false;
    ApplyWindowShape();
    Invalidate();
    RepaintSkinnedChildren(*this);
    if (build == TBuild::Notify && OnOrbFormSkinChange) OnOrbFormSkinChange(this);
}

void TOrbForm::RepaintSkinnedChildren(TWinControl& parent) {
    for (int i = 0; i < parent.ControlCount(); ++i) {
        TControl* child = parent.Controls(i);
        if (auto* graphic = dynamic_cast<TOrbUIGraphicControl*>(child)) graphic->Changed();
        if (auto* windowed = dynamic_cast<TOrbUIParentControl*>(child)) windowed->Changed();
        if (TWinControl* win = child->AsWinControl()) RepaintSkinnedChildren(*win);
    }
}

// ---- maximise and restore ----

void TOrbForm::Maximize() {
    if (!FHostForm || IsLoading()) {
        FFormState = OisMax;
        return;
    }
    if (FFormState == OisMax) return;
    FNormalBounds = FHostForm->BoundsRect();
    FFormState = OisMax;
    FChangingState = true;
    SetWindowBounds(Application->Host().WorkArea());
    FChangingState = false;
    ShowStateButtons();
    auto alive = Lifetime();
    RebuildFrame();
    if (!alive.expired() && OnOrbFormMax) OnOrbFormMax(this);
}

void TOrbForm::Restore() {
    if (!FHostForm || IsLoading()) {
        FFormState = OisNormal;
        return;
    }
    if (FFormState == OisNormal) return;
    FFormState = OisNormal;
    FChangingState = true;
    SetWindowBounds(FNormalBounds);
    FChangingState = false;
    ShowStateButtons();
    auto alive = Lifetime();
    RebuildFrame();
    if (!alive.expired() && OnOrbFormRestore) OnOrbFormRestore(this);
}

void TOrbForm::SetFormState(TOrbUIFormState value) {
    if (value == OisMax)
        Maximize();
    else
        Restore();
}

void TOrbForm::SetTopMost(bool value) {
    if (value == FTopMost) return;
    FTopMost = value;
    if (FHostForm) FHostForm->SetStayOnTop(value ? TStayOnTop::Yes : TStayOnTop::No);
}

// ---- style ----

void TOrbForm::ApplyStyle() {
    TOrbStyle* style = Style();
    if (!style) return;
    const TOrbFormStyle& s = style->FormStyle;
    ImgBtnClose = s.ImgBtnClose;
    ImgBtnSingleClose = s.ImgBtnSingleClose;
    ImgBtnMax = s.ImgBtnMax;
    ImgBtnRestore = s.ImgBtnRestore;
    ImgBtnMin = s.ImgBtnMin;
    ImgBtnSingleMin = s.ImgBtnSingleMin;
    ImgBtnMenu = s.ImgBtnMenu;
    ImgBtnSkin = s.ImgBtnSkin;
    FImgForm = s.ImgForm;
    FFormSplit = s.FormSplit;
    FSkinPic = s.SkinPic;
    if (s.SkinDrawMode >= SmAutoAndAverage && s.SkinDrawMode <= SmTile) FSkinDrawMode = TSkinDrawMode(s.SkinDrawMode);
    TControl::SetColor(s.FormColor);
    FCaptionHeight = s.CaptionHeight;
    FCaptionFont = s.CaptionFont;
    FBtnRightFix = s.BtnRightFix;
    FBtnTopFix = s.BtnTopFix;
    FLogoLeftFix = s.LogoLeftFix;
    FLogoTopFix = s.LogoTopFix;
    FTitleLeftFix = s.TitleLeftFix;
    FTitleTopFix = s.TitleTopFix;
    if (IsLoading() || !FHostForm) return;
    if (!FSkinPic.Empty()) PrepareSkinPic();
    RebuildFrame();
}

// ---- property setters ----

namespace {
template <class T>
bool Store(T& slot, const T& value) {
    if (slot == value) return false;
    slot = value;
    return true;
}
}  // namespace

void TOrbForm::SetImgForm(const TPngImage& value) {
    FImgForm = value;
    RebuildIfLoaded();
}

void TOrbForm::SetFormSplit(const TOrbUIPadding& value) {
    if (Store(FFormSplit, value)) RebuildIfLoaded();
}

void TOrbForm::SetUseSkin(bool value) {
    if (Store(FUseSkin, value)) RebuildIfLoaded();
}

void TOrbForm::SetSkinPic(const TPicture& value) {
    FSkinPic = value;
    if (IsLoading() || !FHostForm) return;
    PrepareSkinPic();
    RebuildFrame();
}

void TOrbForm::SetSkinDrawMode(TSkinDrawMode value) {
    if (Store(FSkinDrawMode, value)) RebuildIfLoaded();
}

void TOrbForm::SetSkinMixMode(TSkinMixMode value) {
    if (Store(FSkinMixMode, value)) RebuildIfLoaded();
}

void TOrbForm::SetColor(TColor value) {
    if (value == Color()) return;
    TControl::SetColor(value);
    RebuildIfLoaded();
}

void TOrbForm::SetCaption(const std::string& value) {
    if (Store(FCaption, value)) RebuildIfLoaded();
}

void TOrbForm::SetCaptionFont(const TFont& value) {
    if (Store(FCaptionFont, value)) RebuildIfLoaded();
}

void TOrbForm::SetCaptionHeight(int value) {
    if (Store(FCaptionHeight, value)) RebuildIfLoaded();
}

void TOrbForm::SetImgLogo(const TPngImage& value) {
    FImgLogo = value;
    RebuildIfLoaded();
}

void TOrbForm::SetImgCaption(const TPngImage& value) {
    FImgCaption = value;
    RebuildIfLoaded();
}

void TOrbForm::SetLogoTopFix(int value) {
    if (Store(FLogoTopFix, value)) RebuildIfLoaded();
}

void TOrbForm::SetLogoLeftFix(int value) {
    if (Store(FLogoLeftFix, value)) RebuildIfLoaded();
}

void TOrbForm::SetTitleTopFix(int value) {
    if (Store(FTitleTopFix, value)) RebuildIfLoaded();
}

void TOrbForm::SetTitleLeftFix(int value) {
    if (Store(FTitleLeftFix, value)) RebuildIfLoaded();
}

void TOrbForm::SetBtnTopFix(int value) {
    if (Store(FBtnTopFix, value)) RebuildIfLoaded();
}

void TOrbForm::SetBtnRightFix(int value) {
    if (Store(FBtnRightFix, value)) RebuildIfLoaded();
}

void TOrbForm::SetBtnMargin(int value) {
    if (Store(FBtnMargin, value)) RebuildIfLoaded();
}

// The close button's top follows the border colour.
void TOrbForm::SetBorderColor(TColor value) {
    if (Store(FBorderColor, value)) RebuildIfLoaded();
}

void TOrbForm::SetInBorderColor(TColor value) {
    if (Store(FInBorderColor, value)) Changed();
}

void TOrbForm::SetCutMode(TOrbCutMode value) {
    if (!Store(FCutMode, value)) return;
    if (!IsLoading()) ApplyWindowShape();
    Changed();
}

void TOrbForm::SetCutRound(int value) {
    if (!Store(FCutRound, value)) return;
    if (!IsLoading()) ApplyWindowShape();
    Changed();
}

void TOrbForm::SetCutMask(const TBitmap32& value) {
    FCutMask = value;
    if (!IsLoading()) ApplyWindowShape();
}

void TOrbForm::SetCutRect(const TOrbUIPadding& value) {
    if (Store(FCutRect, value) && !IsLoading()) ApplyWindowShape();
}

void TOrbForm::SetBtnPopupMenu(TOrbPopupMenu* value) {
    if (value == FBtnPopupMenu) return;
    if (FBtnPopupMenu) RemoveFreeNotification(FBtnPopupMenu);
    FBtnPopupMenu = value;
    if (FBtnPopupMenu) FreeNotification(FBtnPopupMenu);
}
