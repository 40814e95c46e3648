// TfrmRemindDlg: building the window, its placement, showing and closing,
// the clock animation and the sound notices. The rows (listing, dismissing,
// postponing) are in remind_dlg_rows.cpp, their drawing in
// remind_dlg_paint.cpp.
#include "schedule/remind_dlg.h"

#include <limits>

#include "i18n/forms/form_fonts.h"
#include "i18n/lang_text.h"
#include "platform/gui/application.h"
#include "platform/gui/timer.h"
#include "skin/orb_button.h"
#include "skin/orb_combobox.h"
#include "skin/orb_combobox_preset.h"
#include "skin/orb_form.h"
#include "skin/orb_image.h"
#include "skin/orb_image_list.h"
#include "skin/orb_list_box.h"
#include "skin/orb_panel.h"
#include "skin/skin_artwork.h"
#include "skin/skin_presets.h"

TfrmRemindDlg* AlertWindow = nullptr;

namespace {

constexpr const char* Translation = "Translation";
constexpr TColor White = 0xFFFFFF, Black = 0x000000, Blue = 0xFF0000, Navy = 0x800000, Grey = 0x808080;
constexpr int ClientWidth = 440, ClientHeight = 180;
constexpr int SlideMs = 200;
constexpr int ClockFrames = 3;

// For a host that cannot play sounds: nothing opens, so nothing plays.
class TSilentSoundDevice : public TSoundDevice {
public:
    TSoundDeviceId Open(const std::string&) override { return 0; }
    bool Play(TSoundDeviceId, TSoundNotify) override { return false; }
    bool Stop(TSoundDeviceId, TSoundNotify) override { return false; }
    bool Close(TSoundDeviceId) override { return false; }
    bool IsOpen(TSoundDeviceId) const override { return false; }
};

}  // namespace

TfrmRemindDlg::TfrmRemindDlg(TComponent* owner) : TfrmBase(owner) {
    Name = "frmRemindDlg";
    SetCaption("Notice");
    SetBounds(Left(), Top(), ClientWidth, ClientHeight);
    SetColor(White);
    SetStayOnTop(TStayOnTop::Yes);
    // The window comes up while the user types elsewhere: it must not take
    // the keyboard from them.
    SetActivation(TActivation::NoActivate);

    FSoundDevice = Application->Host().CreateSoundDevice();
    if (!FSoundDevice) FSoundDevice = std::make_unique<TSilentSoundDevice>();
    // The device may call from its own thread: the notice is only posted.
    const uint64_t handle = Handle();
    FVoice = std::make_unique<TAlertVoice>(*FSoundDevice, [handle](int status, TSoundDeviceId device) {
        if (Application) Application->PostMessage(handle, MM_MCINOTIFY, status, intptr_t(device));
    });

    BuildControls();
    // Placed now rather than when first shown: the first batch sizes the
    // window by its rows before it shows, and needs TaskbarTop for that.
    PlaceNearTaskbar();

    OnShow = [this](TComponent*) { FormShow(); };
    OnClose = [this](TComponent*, TCloseAction& action) {
        if (FClosing) {
            action = TCloseAction::None;
            return;
        }
        FormClose();
        // Freed once the close has run to its end, never inside it.
        action = TCloseAction::Free;
    };
}

TfrmRemindDlg::~TfrmRemindDlg() {
    if (AlertWindow == this) AlertWindow = nullptr;
    if (FVoice) FVoice->FormClose();
}

// ---- building ----

void TfrmRemindDlg::BuildControls() {
    SetUpFrame();
    FScrollRes = Create<TOrbScrollBarRes>();
    FScrollRes->Name = "sbRes";
    LoadProgramScrollBarSkin(FScrollRes->Skin);

    imgClocks = Create<TOrbImageStorage>();
    imgClocks->Name = "imgClocks";
    for (int i = 0; i < ClockFrames; ++i) {
        TPicture picture;
        picture.Assign(SkinArtwork("alert_clock_" + std::to_string(i)));
        imgClocks->Add().SetPicture(picture);
    }
    imgClock = fxfrm1->Add<TOrbImage>();
    imgClock->Name = "imgClock";
    imgClock->SetBounds(5, 45, 96, 83);
    imgClock->SetTransparent(true);
    imgClock->SetImgStorage(imgClocks);
    imgClock->Setimageindex(0);

    BuildList();
    BuildBottomPanel();

    Timer1 = Create<TTimer>();
    Timer1->Name = "Timer1";
    Timer1->SetInterval(100);
    Timer1->OnTimer = [this](TComponent*) { Timer1Timer(); };
}

void TfrmRemindDlg::SetUpFrame() {
    fxfrm1->SetBounds(0, 0, ClientWidth, ClientHeight);
    fxfrm1->SetImgForm(SkinArtwork("alert_skin"));
    fxfrm1->SetFormSplit(TOrbUIPadding(15, 30, 35, 52));
    fxfrm1->SetImgLogo(SkinArtwork("logo"));
    // Only the close button: the menu is wanted but has no image.
    fxfrm1->FormBtns = {ObiMenu};
    fxfrm1->SetTopMost(true);
    fxfrm1->SetLogoLeftFix(6);
    fxfrm1->SetLogoTopFix(-1);
    fxfrm1->SetTitleLeftFix(2);
    fxfrm1->SetTitleTopFix(-1);
    fxfrm1->SetCaptionFont(Recoloured(fxfrm1->CaptionFont(), White));
}

void TfrmRemindDlg::BuildList() {
    lbReminds = fxfrm1->Add<TOrbListBox>();
    lbReminds->Name = "lbReminds";
    // One pixel below the caption strip: the list's white must not cut
    // into the frame's title bar.
    lbReminds->SetBounds(106, fxfrm1->CaptionHeight() + 1, 330, 106);
    lbReminds->SetColor(White);
    lbReminds->SetBorderColor(clNone);
    lbReminds->SetItemheight(44);
    lbReminds->SetImgCheck(SkinArtwork("alert_check"));
    lbReminds->SetCheckStateCount(4);
    lbReminds->SetShowCheckBox(true);
    lbReminds->MultiSelect = true;
    lbReminds->SetHotTrack(true);
    lbReminds->SupportRightSelect = true;
    lbReminds->SetMarginText(6);
    lbReminds->SetFontColorNormal(Black);
    lbReminds->SetFontColorOver(Blue);
    lbReminds->SetFontColorDown(Navy);
    lbReminds->SetFontColorDisable(Grey);
    lbReminds->SetVerScrollRes(FScrollRes);
    TFont font;
    font.Name = "Tahoma";
    font.SetPixelHeight(12);
    font.Color = Black;
    lbReminds->SetFont(font);

    const TBitmap32 strip = SkinArtwork("alert_check");
    const int frameWidth = strip.Width() / int(FBoxFrames.size());
    for (size_t i = 0; i < FBoxFrames.size(); ++i) {
        FBoxFrames[i] = strip.Copy(Bounds(int(i) * frameWidth, 0, frameWidth, strip.Height()));
        FBoxFrames[i].DrawMode = TDrawMode::Blend;
    }

    lbReminds->OnAfterItemDraw = [this](TBitmap32& canvas, int, TOrbLBoxItem* item) {
        lbRemindsAfterItemDraw(canvas, item);
    };
    lbReminds->OnItemClick = [this](TComponent*, TOrbLBoxItem* item) { lbRemindsItemClick(item); };
    lbReminds->OnMouseMove = [this](TComponent*, TShiftState, int x, int y) { TrackDismissHover({x, y}); };
    lbReminds->OnMouseLeave = [this](TComponent*) { TrackDismissHover({-1, -1}); };
}

void TfrmRemindDlg::BuildBottomPanel() {
    pnlBottom = fxfrm1->Add<TOrbPanel>();
    pnlBottom->Name = "pnlBottom";
    pnlBottom->SetBounds(106, 138, 330, 33);
    pnlBottom->SetColor(White);

    btnComplete = pnlBottom->Add<TOrbButton>();
    btnComplete->Name = "btnComplete";
    btnComplete->SetBounds(90, 3, 112, 28);
    btnComplete->SetImgBtn(SkinArtwork("button"));
    btnComplete->SetBtnStateCount(4);
    btnComplete->SetBtnSplit(TOrbUIPadding(5, 5, 75, 23));
    btnComplete->SetAllFonts(Recoloured(Font(), White));
    btnComplete->SetFontDisable(Recoloured(Font(), Grey));
    btnComplete->SetTransparent(true);
    btnComplete->SetCaption("OK I got it");
    btnComplete->OnClick = [this](TComponent*) { Close(); };

    cbDelay = pnlBottom->Add<TOrbCombobox>();
    cbDelay->Name = "cbDelay";
    cbDelay->SetBounds(214, 3, 112, 29);
    LoadProgramComboSkin(*cbDelay, FScrollRes);
    cbDelay->CanInput = false;
    // Only a click in the drop-down postpones (an arrow key on the box does
    // not). The drop-down goes first: a failed write raised by Postpone
    // must not leave it open over a closed window.
    cbDelay->OnItemClick = [this](TComponent*, TOrbCboxItem* item) {
        if (!item) return;
        cbDelay->CloseUp();
        Postpone(item->Index());
    };
}

// ---- creation and placement ----

void TfrmRemindDlg::FormCreate() {
    TfrmBase::FormCreate();
    // The list and the choice are not translated by the base pass, but
    // their texts are in the language's script.
    TFont listFont = lbReminds->Font();
    listFont.Charset = Font().Charset;
    lbReminds->SetFont(listFont);
    TFont comboFont = cbDelay->Font();
    CopyFont(comboFont, Font());
    cbDelay->SetFont(comboFont);
    FillDelayChoices();
    cbDelay->SetText(LangText(Translation, "TfrmRemindDlg.btnDelay.Caption"));
}

void TfrmRemindDlg::FillDelayChoices() {
    cbDelay->Clear();
    for (const TAlertDelay& choice : AlertDelays) {
        TOrbCboxItem* item = cbDelay->AddItem();
        item->Caption = std::string(choice.Number) + " " + LangText(Translation, choice.UnitKey, choice.UnitFallback);
    }
}

void TfrmRemindDlg::PlaceNearTaskbar() {
    const TRect area = Application->Host().WorkArea();
    if (area.IsEmpty()) return;
    TaskbarTop = area.Bottom;
    SetBounds(area.Right - Width(), TaskbarTop - Height(), Width(), Height());
}

void TfrmRemindDlg::Resized() {
    TfrmBase::Resized();
    AnchorBottomPanel();
}

void TfrmRemindDlg::AnchorBottomPanel() {
    if (!pnlBottom) return;
    pnlBottom->SetBounds(Width() - (ClientWidth - 106), Height() - (ClientHeight - 138), pnlBottom->Width(),
                         pnlBottom->Height());
}

// ---- showing and closing ----

// The window rises from the taskbar's edge (or by its own height when
// there is none) to where it was placed.
void TfrmRemindDlg::ShowSliding() {
    FSlideTarget = BoundsRect();
    FSlidePending = true;
    const int startTop = TaskbarTop != 0 ? TaskbarTop : FSlideTarget.Bottom;
    SetBounds(FSlideTarget.Left, startTop, FSlideTarget.Width(), FSlideTarget.Height());
    Show();
}

void TfrmRemindDlg::FormShow() {
    const TRect target = FSlidePending ? FSlideTarget : BoundsRect();
    FSlidePending = false;
    SlideIn(target, SlideMs);
}

void TfrmRemindDlg::FormClose() {
    FClosing = true;
    if (AlertWindow == this) AlertWindow = nullptr;
    FVoice->FormClose();
    Timer1->SetEnabled(false);
    // The rows point at records the store owns; once closed nothing may
    // reach them through this window.
    FDismissHover = nullptr;
    lbReminds->Clear();
}

void TfrmRemindDlg::Timer1Timer() {
    FrameIndex = FrameIndex == std::numeric_limits<int>::max() ? 0 : FrameIndex + 1;
    imgClock->Setimageindex(FrameIndex % ClockFrames);
}

void TfrmRemindDlg::HandleMessage(const TMessage& msg) {
    if (msg.Msg == MM_MCINOTIFY) {
        FVoice->HandleNotify(msg.WParam, msg.LParam);
        return;
    }
    TfrmBase::HandleMessage(msg);
}
