// TfrmORMMain's construction, language pass, creation and closing, and the
// hand-offs through which the due check and the alert window reach the
// list. The controls are built here in the window's component order (the
// language pass walks it); the editor page is built by main_editor_layout.
#include "ui/main/main_form.h"

#include <exception>

#include "common/public_funs.h"
#include "i18n/forms/form_fonts.h"
#include "i18n/lang_text.h"
#include "platform/gui/application.h"
#include "platform/gui/timer.h"
#include "schedule/remind_dlg.h"
#include "schedule/schedule_text.h"
#include "skin/orb_button.h"
#include "skin/orb_form.h"
#include "skin/orb_image.h"
#include "skin/orb_image_list.h"
#include "skin/orb_label.h"
#include "skin/orb_list_box.h"
#include "skin/orb_message_box_preset.h"
#include "skin/orb_panel.h"
#include "skin/orb_scroll_bar.h"
#include "skin/skin_artwork.h"
#include "skin/skin_presets.h"

TfrmORMMain* MainWindow = nullptr;

namespace {

constexpr const char* Translation = "Translation";
constexpr int ClientWidth = 660, ClientHeight = 455;
constexpr int TabGroup = 10;

// Colours as 0x00BBGGRR.
constexpr TColor White = 0xFFFFFF;
constexpr TColor Black = 0x000000;
constexpr TColor Navy = 0x800000;
constexpr TColor Grey = 0x808080;
constexpr TColor DesktopBlue = 0xD77800;   // rgb 0, 120, 215
constexpr TColor FrameBorder = 0x322D2A;   // rgb 42, 45, 50
constexpr TColor FrameInBorder = 0x4F4640; // rgb 64, 70, 79
constexpr TColor TitleInk = 0x32302A;      // rgb 42, 48, 50
constexpr TColor TabInk = 0x32302A;        // rgb 42, 48, 50
constexpr TColor BarInk = 0x7A726B;        // rgb 107, 114, 122
constexpr TColor CaptionInk = 0xE1DCD7;    // rgb 215, 220, 225
constexpr TColor LinkHover = 0xE69516;     // rgb 22, 149, 230
constexpr TColor TitleBand = 0xFBFAF8;     // rgb 248, 250, 251

// The pictures of imgStorage, by index.
constexpr const char* StoragePictures[] = {
    "main_empty_unfinished", "main_empty_note", "main_empty_completed", "row_btn_recover", "row_btn_finish",
    "row_btn_delete",        "row_btn_details", "voice_play",           "voice_stop",
};

TFont WithSize(TFont font, int size) {
    font.Size = size;
    return font;
}

// Delphi's Format with the one text argument the version label takes: the
// first "%s" becomes the value and "%%" a percent sign. Further "%s" stay
// as they are, so a translator's slip cannot break the window's creation.
std::string FormatOne(const std::string& format, const std::string& value) {
    std::string out;
    bool used = false;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (format[i + 1] == 's' && !used) {
                out += value;
                used = true;
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

TOrbButton* MakeStripButton(TWinControl& parent, const char* name, const char* artwork, int left, int top, int width,
                            int height) {
    auto* button = parent.Add<TOrbButton>();
    button->Name = name;
    button->SetImgBtn(SkinArtwork(artwork));
    button->SetBtnStateCount(4);
    button->SetAutoSize(false);
    button->SetBounds(left, top, width, height);
    button->SetTransparent(true);
    button->ShowHint = true;
    return button;
}

}  // namespace

TfrmORMMain::TfrmORMMain(TComponent* owner, std::unique_ptr<TRemindFile> store)
    : TfrmBase(owner), FStore(std::move(store)) {
    MainWindow = this;
    Name = "frmORMMain";
    SetCaption("Olvo Reminder");
    const TRect work = Application->Host().WorkArea();
    SetBounds(work.Left + (work.Width() - ClientWidth) / 2, work.Top + (work.Height() - ClientHeight) / 2,
              ClientWidth, ClientHeight);

    BuildFrame();
    BuildStorage();
    BuildTabs();
    BuildListPage();
    BuildBottomBar();
    WireAboutLinks();

    Timer1 = Create<TTimer>();
    Timer1->Name = "Timer1";
    Timer1->SetInterval(TDueCheck::TimerInterval);
    Timer1->OnTimer = [this](TComponent*) { timerTimer(); };
    tmr1 = Create<TTimer>();
    tmr1->Name = "tmr1";
    tmr1->SetEnabled(false);
    tmr1->SetInterval(1000);

    OrbMessageBox1 = Create<TOrbMessageBox>();
    OrbMessageBox1->Name = "OrbMessageBox1";
    LoadProgramMessageBoxSkin(*OrbMessageBox1);

    FDueCheck = std::make_unique<TDueCheck>(*FStore, *this);
    FSoundDevice = Application->Host().CreateSoundDevice();
    const uint64_t handle = Handle();
    FTestVoice = std::make_unique<TTestVoice>(*FSoundDevice, [handle](int status, TSoundDeviceId device) {
        // The device's own thread may call: only queue the notice.
        if (Application) Application->PostMessage(handle, MM_MCINOTIFY, status, intptr_t(device));
    });
    FTestVoice->OnUnknownFileType = [this](const TVoiceMessage& message) {
        ShowMsg(message.Text, message.Buttons, message.Icon);
    };

    BuildEditorPage();
    BuildTray();
    SetAlertListWindows(this);
}

TfrmORMMain::~TfrmORMMain() {
    SetAlertListWindows(nullptr);
    if (MainWindow == this) MainWindow = nullptr;
    // The controls go first, while the store, the due check and the sound
    // they may call back into still exist.
    for (TTimer* timer : {Timer1, tmr1, FSlideTimer})
        if (timer) timer->SetEnabled(false);
    FTestVoice->StopIfPlaying();
    DestroyChildren();
    KeepNewsId();
}

// ---- construction ----

void TfrmORMMain::BuildFrame() {
    fxfrm1->SetImgForm(SkinArtwork("main_skin"));
    fxfrm1->SetFormSplit(TOrbUIPadding());
    fxfrm1->SetSkinDrawMode(SmStretch);
    fxfrm1->ImgBtnClose = SkinArtwork("btn_close");
    fxfrm1->ImgBtnMin = SkinArtwork("main_btn_min");
    fxfrm1->ImgBtnMenu = SkinArtwork("main_btn_menu");
    fxfrm1->FormBtns = {ObiMenu, ObiMinimize, ObiSkin};
    fxfrm1->SetImgLogo(SkinArtwork("logo"));
    fxfrm1->SetBorderColor(FrameBorder);
    fxfrm1->SetInBorderColor(FrameInBorder);
    fxfrm1->SetCaptionFont(ColouredFont(White, true));
    fxfrm1->SetBtnTopFix(-3);
    fxfrm1->SetLogoLeftFix(6);
    fxfrm1->SetLogoTopFix(-1);
    fxfrm1->SetTitleLeftFix(2);
    fxfrm1->SetTitleTopFix(-1);
    fxfrm1->SetCutRound(0);
    fxfrm1->SetBtnCloseHint("Hide");
    fxfrm1->OnOrbFormCloseQuery = [this](TComponent* sender, bool& canClose) {
        OrbForm1OrbFormCloseQuery(sender, canClose);
    };
    // A close the window manager asks for (a key such as Alt+F4) is the
    // frame's close too: it must not end the program while reminders wait.
    OnCloseQuery = [this](TComponent* sender, bool& canClose) { OrbForm1OrbFormCloseQuery(sender, canClose); };
    // The tray menu the menu button opens is attached with the tray icon.
    fxfrm1->OnOrbFormBtnMenuClick = [](TComponent*) {};
}

void TfrmORMMain::BuildStorage() {
    imgStorage = Create<TOrbImageStorage>();
    imgStorage->Name = "imgStorage";
    for (const char* name : StoragePictures) {
        TPicture picture;
        picture.Assign(SkinArtwork(name));
        imgStorage->Add().SetPicture(picture);
    }
    ScrollRes = Create<TOrbScrollBarRes>();
    ScrollRes->Name = "ScrollRes";
    LoadProgramScrollBarSkin(ScrollRes->Skin, skVer);
}

void TfrmORMMain::BuildTabs() {
    auto make = [this](const char* name, const std::string& caption, intptr_t tag, int top, int width, int height) {
        auto* tab = fxfrm1->Add<TOrbButton>();
        tab->Name = name;
        tab->Tag = tag;
        tab->SetImgBtn(SkinArtwork("tab_button"));
        tab->SetBtnStateCount(5);
        tab->SetBtnSplit(TOrbUIPadding(6, 6, 188, 33));
        tab->SetAutoSize(false);
        tab->SetBounds(5, top, width, height);
        tab->SetButtonTab(true);
        tab->SetGroupIndex(TabGroup);
        tab->SetAllFonts(ColouredFont(TabInk));
        tab->SetFontSelect(ColouredFont(LinkHover));
        tab->SetTransparent(true);
        tab->SetCaption(caption);
        tab->OnClick = [this](TComponent* sender) { btnUnfinish1Click(sender); };
        return tab;
    };
    btnUnfinish = make("btnUnfinish", "Unfinished", 0, 31, 193, 39);
    btnCompleted = make("btnCompleted", "Completed", 1, 72, 194, 38);
}

void TfrmORMMain::BuildListPage() {
    pnlList = fxfrm1->Add<TOrbPanel>();
    pnlList->Name = "pnlList";
    pnlList->SetBounds(205, 31, 450, 400);
    pnlList->SetColor(White);
    pnlList->TrackHover = false;

    pnlListTitle = pnlList->Add<TOrbPanel>();
    pnlListTitle->Name = "pnlListTitle";
    pnlListTitle->SetBounds(0, 0, 450, 41);
    pnlListTitle->SetColor(TitleBand);
    pnlListTitle->TrackHover = false;

    txCaption = pnlListTitle->Add<TOrbLabel>();
    txCaption->Name = "txCaption";
    txCaption->SetBounds(10, 3, 310, 33);
    txCaption->SetFont(ColouredFont(TitleInk, true));
    txCaption->SetFontOver(ColouredFont(TitleInk, true));
    txCaption->SetFontDown(ColouredFont(TitleInk, true));
    txCaption->SetSupportMouseOverDown(false);
    txCaption->SetTransparent(true);

    btnNew = MakeStripButton(*pnlListTitle, "btnNew", "btn_new", 403, 5, 37, 34);
    btnNew->OnClick = [this](TComponent*) { OpenEditor(nullptr); };

    lbData = pnlList->Add<TOrbListBox>();
    lbData->Name = "lbData";
    lbData->SetBounds(0, 41, 450, 320);
    lbData->SetColor(White);
    lbData->SetImgitem(SkinArtwork("list_item"));
    lbData->SetItemStateCount(2);
    lbData->Setitemsplit(TOrbUIPadding(5, 0, 15, 0));
    lbData->SetItemheight(50);
    lbData->SetMarginCheckBox(2);
    lbData->SetMarginImageList(2);
    lbData->SetMarginItem(2);
    lbData->SetMarginText(6);
    lbData->MultiSelect = true;
    lbData->SetHotTrack(true);
    lbData->SetBorderColor(clNone);
    lbData->SetFontColorNormal(Black);
    lbData->SetFontColorOver(DesktopBlue);
    lbData->SetFontColorDown(Navy);
    lbData->SetFontColorDisable(Grey);
    TFont listFont;
    listFont.Name = "Tahoma";
    listFont.SetPixelHeight(12);
    lbData->SetFont(listFont);
    lbData->SetVerScrollRes(ScrollRes);
    lbData->OnAfterItemDraw = [this](TBitmap32& canvas, int index, TOrbLBoxItem* item) {
        lbDataAfterItemDraw(canvas, index, item);
    };
    lbData->OnDrawBackGround = [this](TBitmap32& canvas, const TRect& rect) { lbDataDrawBackGround(canvas, rect); };
    lbData->OnMouseMove = [this](TComponent*, TShiftState, int x, int y) { lbDataMouseMove({x, y}); };
    lbData->OnMouseLeave = [this](TComponent*) { lbDataMouseLeave(); };
    // A wheel step moves the rows from under the panel: it comes back with
    // the next move of the mouse, beside the row then under it.
    lbData->OnMouseWheel = [this](TComponent*, TShiftState, int, TPoint, bool&) { HideRowButtons(); };

    pnlBtn = lbData->Add<TOrbPanel>();
    pnlBtn->Name = "pnlBtn";
    pnlBtn->SetBounds(0, 0, 57, 50);
    pnlBtn->SetTransparent(true);
    pnlBtn->TrackHover = false;
    pnlBtn->SetVisible(false);
    btnDetails = MakeStripButton(*pnlBtn, "btnDetails", "row_btn_details", 1, 11, 25, 29);
    btnDetails->OnClick = [this](TComponent* sender) { btnDetailsClick(sender); };
    btnDelete = MakeStripButton(*pnlBtn, "btnDelete", "row_btn_finish", 31, 11, 25, 29);
    btnDelete->OnClick = [this](TComponent* sender) { btnDeleteClick(sender); };

    // Below the editor page, which is built later: the list page's picture
    // slides underneath it.
    BuildSlideShot();
}

void TfrmORMMain::BuildBottomBar() {
    auto label = [this](const char* name, const std::string& caption, int left, int top, int width, int height,
                        TColor color) {
        auto* l = fxfrm1->Add<TOrbLabel>();
        l->Name = name;
        l->SetBounds(left, top, width, height);
        l->SetFont(ColouredFont(color));
        l->SetFontOver(ColouredFont(color));
        l->SetFontDown(ColouredFont(color));
        l->SetTransparent(true);
        l->SetCaption(caption);
        return l;
    };
    img1 = fxfrm1->Add<TOrbImage>();
    img1->Name = "img1";
    img1->SetBounds(501, 1, 15, 16);
    img1->SetCursor(TCursor::Hand);
    TPicture backupIcon;
    backupIcon.Assign(SkinArtwork("backup_icon"));
    img1->SetPicture(backupIcon);
    img1->SetCenter(true);
    img1->SetTransparent(true);
    lbl1 = label("lbl1", "Restore", 515, 1, 72, 16, CaptionInk);
    lbl1->SetCursor(TCursor::Hand);
    lbl1->SetFontOver(ColouredFont(White));

    imgad = fxfrm1->Add<TOrbImage>();
    imgad->Name = "imgad";
    imgad->SetBounds(4, 331, 200, 100);
    imgad->SetCursor(TCursor::Hand);
    imgad->SetTransparent(true);

    lbl2 = label("lbl2", "Current Version:%s", 5, 433, 174, 20, BarInk);
    lbl2->SetSupportMouseOverDown(false);
    lbl3 = label("lbl3", "Check for Updates", 179, 433, 128, 20, BarInk);
    lbl3->SetCursor(TCursor::Hand);

    const char* shares[] = {"share_like", "share_chat", "share_mail", "share_home"};
    const char* names[] = {"btn1", "btn2", "btn3", "btn4"};
    TOrbButton** buttons[] = {&btn1, &btn2, &btn3, &btn4};
    for (int i = 0; i < 4; ++i) *buttons[i] = MakeStripButton(*fxfrm1, names[i], shares[i], 569 + 22 * i, 435, 20, 19);
}

// ---- creation, language, closing ----

void TfrmORMMain::FormCreate() {
    StartTrayAtCreation();
    if (FStore->AutoUpdate) StartUpdate(true);
    TfrmBase::FormCreate();
    try {
        DueCheck().CheckMissedReminders();
    } catch (const std::exception& error) {
        ReportError(error);
    }
    InstallAppMessageHook();
    if (pnlDetails) pnlDetails->SetBounds(pnlList->Left() + pnlList->Width(), pnlList->Top(), 450, 400);
    CaptionWeekBoxes();
    StartAdReader();
    SelectTab(btnUnfinish);
}

void TfrmORMMain::ApplyLanguage() {
    TfrmBase::ApplyLanguage();
    const std::string className = ClassName();
    auto text = [&className](const char* suffix) { return LangText(Translation, className + suffix, ""); };

    // The tab captions' colours, after the pass copied the language's face
    // and size into them. White would vanish on the light tab frames of the
    // program's artwork: the captions take the page's ink, the selected tab
    // the accent of its bar.
    for (TOrbButton* tab : {btnUnfinish, btnCompleted}) {
        tab->SetFontNormal(Recoloured(tab->FontNormal(), TabInk));
        tab->SetFontOver(Recoloured(tab->FontOver(), TabInk));
        tab->SetFontDown(Recoloured(tab->FontDown(), TabInk));
        tab->SetFontDisable(Recoloured(tab->FontDisable(), BarInk));
        tab->SetFontSelect(Recoloured(tab->FontSelect(), LinkHover));
        tab->SetFontFocus(Recoloured(tab->FontFocus(), TabInk));
    }
    txCaption->SetFont(WithSize(txCaption->Font(), 12));
    txCaption->SetFontOver(WithSize(txCaption->FontOver(), 12));
    txCaption->SetFontDown(WithSize(txCaption->FontDown(), 12));

    fxfrm1->SetBtnCloseHint(text(".CloseHint"));
    fxfrm1->SetBtnMenuHint(text(".MenuHint"));
    fxfrm1->SetBtnMinHint(text(".MinHint"));

    btn1->Hint = text(".imgf.hint");
    btn2->Hint = text(".imgt.hint");
    btn3->Hint = text(".imgmail.hint");
    btn4->Hint = text(".imghome.hint");

    txCaption->SetCaption(CurrentTab() == TReminderTab::Completed ? btnCompleted->Caption() : btnUnfinish->Caption());

    OrbMessageBox1->BtnCaptionNo = LangText(Translation, "msgdlg.btnNO", "No");
    OrbMessageBox1->BtnCaptionYes = LangText(Translation, "msgdlg.btnYes", "Yes");
    OrbMessageBox1->BtnCaptionOk = LangText(Translation, "msgdlg.btnOk", "Ok");

    ApplyEditorLanguage();

    TVSFixedFileInfo version;
    GetFileVersionRecord(ProgramPath(), version);
    lbl2->SetCaption(FormatOne(lbl2->Caption(), VersionText(version)));

    lbl3->SetFontOver(Recoloured(lbl3->FontOver(), LinkHover));

    BuildMenus();

    // The rules' texts name their kind in the language: renewed for every
    // reminder, so that the listed rows do not keep the old words.
    const TScheduleWords words = CurrentScheduleWords();
    for (const auto& record : FStore->Records()) ScheduleTextInto(record->ScheduleText, *record, words);
    lbData->Invalidate();
}

void TfrmORMMain::OrbForm1OrbFormCloseQuery(TComponent* /*Sender*/, bool& CanClose) {
    // Closing the frame keeps the program in the tray while there is
    // something left to remind of.
    if (FExiting || !HasActiveReminders()) return;
    CanClose = false;
    Hide();
}

void TfrmORMMain::HandleMessage(const TMessage& msg) {
    if (msg.Msg == MM_MCINOTIFY) {
        ShowTestPicture(TestVoice().HandleNotify(msg.WParam, msg.LParam));
        return;
    }
    TfrmBase::HandleMessage(msg);
}

void TfrmORMMain::timerTimer() {
    try {
        FDueCheck->timerTimer();
    } catch (const std::exception& error) {
        ReportError(error);
    }
}

void TfrmORMMain::ReportError(const std::exception& error) { ShowMsg(error.what(), BtnSetOk, MsgIconError); }

int TfrmORMMain::ShowMsg(const std::string& text, int buttons, int icon) {
    if (!OrbMessageBox1) return 0;
    return OrbMessageBox1->ShowMsg(LangText(Translation, "Confirm", "Confirm"), text, nullptr, false, nullptr, buttons,
                                   icon);
}

bool TfrmORMMain::HasActiveReminders() const {
    for (const auto& record : FStore->Records())
        if (record->IsActive()) return true;
    return false;
}

// ---- the hand-offs ----

void TfrmORMMain::ShowAlerts(const std::vector<TRmRecordStruct*>& due) { ::ShowAlerts(due); }

void TfrmORMMain::ShowMissed(const std::vector<TRmRecordStruct*>& missed) { ::ShowMissed(missed); }

void TfrmORMMain::RefreshReminder(TRmRecordStruct* record) {
    if (!record) return;
    FStore->UpdateRecord(record);
    record->ScheduleText = ScheduleTextOf(*record);
}

void TfrmORMMain::RepaintList() {
    if (lbData) lbData->UpdateView();
}
