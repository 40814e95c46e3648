// The gallery's translated window: its frame, its controls and their
// language. Every caption set here is only the text shown when a language
// file lacks the key; the files in Languages/ beside this source decide.
#include "gallery/gallery_controls_form.h"

#include <filesystem>

#include "i18n/forms/form_fonts.h"
#include "i18n/lang_path.h"
#include "i18n/lang_text.h"
#include "skin/orb_button.h"
#include "skin/orb_check_box.h"
#include "skin/orb_form.h"
#include "skin/orb_image.h"
#include "skin/orb_image_list.h"
#include "skin/orb_label.h"
#include "skin/orb_panel.h"
#include "skin/skin_artwork.h"

namespace {
constexpr const char* Translation = "Translation";
constexpr TColor Ink = 0x32302A;      // rgb 42, 48, 50 as 0x00BBGGRR
constexpr TColor Muted = 0x8A8178;    // rgb 120, 129, 138
constexpr TColor Accent = 0xE69516;   // rgb 22, 149, 230
constexpr TColor White = 0xFFFFFF;
constexpr TColor Strip = 0xF5F3F1;    // rgb 241, 243, 245

constexpr int LeftColumn = 24;
constexpr int RightColumn = 340;
constexpr int TabGroup = 1;
constexpr int LanguageGroup = 2;

// Tab buttons are drawn from the five-frame strip, cut so the round
// corners and the selected tab's accent bar keep their size.
void SkinTab(TOrbButton& tab, int group) {
    tab.SetImgBtn(SkinArtwork("tab_button"));
    tab.SetBtnStateCount(5);
    tab.SetBtnSplit(TOrbUIPadding(6, 6, 188, 33));
    tab.SetButtonTab(true);
    tab.SetGroupIndex(group);
    tab.SetAllFonts(ColouredFont(Ink));
    tab.SetFontSelect(ColouredFont(Accent));
    tab.SetFontDisable(ColouredFont(Muted));
}

// The unselected tab frame is plain white: on the white page it would read
// as loose text, so each group sits on a grey strip with a 2-pixel rim.
TOrbPanel* AddTabStrip(TWinControl& parent, const char* name, int left, int top, int tabs) {
    auto* strip = parent.Add<TOrbPanel>();
    strip->Name = name;
    strip->SetBounds(left, top, 2 + tabs * 98, 36);
    strip->SetColor(Strip);
    return strip;
}
}  // namespace

std::string GalleryLanguageFile(TGalleryLanguage language) {
#ifdef OLVO_GALLERY_LANG_DIR
    const std::filesystem::path folder = OLVO_GALLERY_LANG_DIR;
#else
    // The build hands the compiler absolute source paths.
    const std::filesystem::path folder = std::filesystem::path(__FILE__).parent_path() / "Languages";
#endif
    return (folder / (language == TGalleryLanguage::Chinese ? "Chinese.ini" : "English.ini")).string();
}

TfrmGallery::TfrmGallery(TComponent* owner, TGalleryLanguage language) : TfrmBase(owner) {
    Name = "frmGallery";
    SetBounds(320, 260, 640, 460);
    TFont font = Font();
    font.Color = Ink;
    SetFont(font);
    SetCaption("Skinned controls");
    SetUpFrame();
    BuildButtons();
    BuildTabs();
    BuildChecks();
    BuildLabels();
    BuildPanelAndImage();
    BuildLanguageSwitch();
    // The first language pass runs when the window first shows and reads
    // the file chosen here.
    FLanguage = language;
    LangFilePath = GalleryLanguageFile(language);
    ReloadLanguage();
}

void TfrmGallery::SetUpFrame() {
    fxfrm1->SetImgForm(SkinArtwork("alert_skin"));
    fxfrm1->SetFormSplit(TOrbUIPadding(15, 30, 35, 52));
    fxfrm1->SetImgLogo(SkinArtwork("logo"));
    fxfrm1->ImgBtnMin = SkinArtwork("main_btn_min");
    // The menu is wanted only so the minimise button takes the ordinary
    // strip; without a menu image no menu button is made.
    fxfrm1->FormBtns = {ObiMenu, ObiMinimize};
    fxfrm1->SetLogoLeftFix(6);
    fxfrm1->SetLogoTopFix(-1);
    fxfrm1->SetTitleLeftFix(2);
    fxfrm1->SetTitleTopFix(-1);
    fxfrm1->SetCaptionFont(ColouredFont(White, true));
}

TOrbLabel* TfrmGallery::AddHeading(const char* name, const std::string& caption, int left, int top, int width) {
    auto* heading = fxfrm1->Add<TOrbLabel>();
    heading->Name = name;
    heading->Tag = 1;  // one point above the language's size, as bold titles are
    heading->SetBounds(left, top, width, 20);
    heading->SetFont(ColouredFont(Ink, true));
    heading->SetSupportMouseOverDown(false);
    heading->SetTransparent(true);
    heading->SetCaption(caption);
    return heading;
}

void TfrmGallery::BuildButtons() {
    AddHeading("lblButtons", "Push buttons", LeftColumn, 44, 290);
    auto make = [this](const char* name, const std::string& caption, int left) {
        auto* button = fxfrm1->Add<TOrbButton>();
        button->Name = name;
        button->SetImgBtn(SkinArtwork("button"));
        button->SetBtnStateCount(4);
        button->SetBtnSplit(TOrbUIPadding(5, 5, 75, 23));
        button->SetBounds(left, 70, 88, 28);
        button->SetAllFonts(ColouredFont(White));
        button->SetFontDisable(ColouredFont(Muted));
        button->SetTransparent(true);
        button->SetCaption(caption);
        return button;
    };
    btnNormal = make("btnNormal", "Enabled", LeftColumn);
    btnDisabled = make("btnDisabled", "Disabled", LeftColumn + 96);
    btnDisabled->SetEnabled(false);
    btnSelected = make("btnSelected", "Selected", LeftColumn + 192);
    btnSelected->SetBtnStatus(bsSelect);
}

void TfrmGallery::BuildTabs() {
    AddHeading("lblTabs", "Tab buttons", LeftColumn, 114, 290);
    TOrbPanel* strip = AddTabStrip(*fxfrm1, "pnlTabs", LeftColumn, 138, 3);
    auto make = [strip](const char* name, const std::string& caption, int index) {
        auto* tab = strip->Add<TOrbButton>();
        tab->Name = name;
        SkinTab(*tab, TabGroup);
        tab->SetBounds(2 + index * 98, 2, 96, 32);
        tab->SetTransparent(true);
        tab->SetCaption(caption);
        tab->OnClick = [tab](TComponent*) { tab->SetBtnStatus(bsSelect); };
        return tab;
    };
    btnTabFirst = make("btnTabFirst", "Today", 0);
    btnTabSecond = make("btnTabSecond", "This week", 1);
    btnTabThird = make("btnTabThird", "Later", 2);
    btnTabFirst->SetBtnStatus(bsSelect);
}

TOrbCheckBox* TfrmGallery::AddCheck(const char* name, const std::string& caption, bool radio, int left, int top) {
    auto* box = fxfrm1->Add<TOrbCheckBox>();
    box->Name = name;
    // Strips of four: unchecked and checked, then the same under the mouse.
    if (radio) {
        box->SetRadioItem(true);
        box->SetImgRadioBox(SkinArtwork("radio_box"));
    } else {
        box->SetImgCheckBox(SkinArtwork("check_box"));
    }
    box->SetCheckStateCount(4);
    box->SetTextOffset(4);
    box->SetBounds(left, top, 140, 20);
    box->SetFontColorNormal(Ink);
    box->SetFontColorOver(Accent);
    box->SetFontColorDown(Accent);
    box->SetFontColorDisable(Muted);
    box->SetTransparent(true);
    box->SetCaption(caption);
    return box;
}

void TfrmGallery::BuildChecks() {
    AddHeading("lblChecks", "Check boxes and radio items", LeftColumn, 190, 290);
    chkChecked = AddCheck("chkChecked", "Play a sound", false, LeftColumn, 216);
    chkChecked->SetChecked(true);
    chkUnchecked = AddCheck("chkUnchecked", "Show the news", false, LeftColumn + 146, 216);
    chkDisabled = AddCheck("chkDisabled", "Not available", false, LeftColumn, 242);
    chkDisabled->SetEnabled(false);
    rbFirst = AddCheck("rbFirst", "Daily", true, LeftColumn, 276);
    rbFirst->SetChecked(true);
    rbSecond = AddCheck("rbSecond", "Weekly", true, LeftColumn + 146, 276);
    rbDisabled = AddCheck("rbDisabled", "Hourly", true, LeftColumn, 302);
    rbDisabled->SetEnabled(false);
}

void TfrmGallery::BuildLabels() {
    AddHeading("lblLabels", "Labels", RightColumn, 44, 276);
    auto make = [this](const char* name, const std::string& caption, int top, int width, int height) {
        auto* label = fxfrm1->Add<TOrbLabel>();
        label->Name = name;
        label->SetBounds(RightColumn, top, width, height);
        label->SetFont(ColouredFont(Ink));
        label->SetFontOver(ColouredFont(Ink));
        label->SetFontDown(ColouredFont(Ink));
        label->SetTransparent(true);
        label->SetCaption(caption);
        return label;
    };
    lblPlain = make("lblPlain", "A plain label, left aligned.", 70, 276, 20);
    lblWrapped = make("lblWrapped",
                      "A longer label that breaks at words: it wraps inside its width and goes on "
                      "to a second and a third line.",
                      96, 276, 54);
    lblWrapped->SetWordBreak(true);
    // A glow lifts light text off a dark skin; on the white page it would
    // hardly show, so the glowing caption gets the caption band's slate.
    auto* band = fxfrm1->Add<TOrbPanel>();
    band->Name = "pnlGlow";
    band->SetBounds(RightColumn, 160, 276, 34);
    band->SetColor(0x3B3531);  // rgb 49, 53, 59
    lblGlow = band->Add<TOrbLabel>();
    lblGlow->Name = "lblGlow";
    lblGlow->Tag = 4;
    lblGlow->SetBounds(8, 0, 260, 34);
    lblGlow->SetFont(ColouredFont(White, true));
    lblGlow->SetSupportMouseOverDown(false);
    lblGlow->SetTransparent(true);
    lblGlow->SetBlurColor(Accent);
    lblGlow->SetBlurRadius(3);
    lblGlow->SetCaption("Glowing caption");
    lblCut = make("lblCut", "This caption is too long for its label and is cut", 202, 180, 20);
}

void TfrmGallery::BuildPanelAndImage() {
    AddHeading("lblPanelImage", "Panel and image", RightColumn, 236, 276);
    pnlTint = fxfrm1->Add<TOrbPanel>();
    pnlTint->Name = "pnlTint";
    pnlTint->SetBounds(RightColumn, 262, 190, 90);
    pnlTint->SetColor(Accent);
    pnlTint->SetAlpha(56);
    lblPanel = pnlTint->Add<TOrbLabel>();
    lblPanel->Name = "lblPanel";
    lblPanel->SetBounds(0, 0, 190, 90);
    lblPanel->SetAlignment(taCenter);
    lblPanel->SetFont(ColouredFont(Ink));
    lblPanel->SetSupportMouseOverDown(false);
    lblPanel->SetTransparent(true);
    lblPanel->SetCaption("Tinted panel");

    ImageStorage = Create<TOrbImageStorage>();
    TPicture icon;
    icon.Assign(SkinArtwork("icon_48"));
    ImageStorage->Add().SetPicture(icon);
    imgIcon = fxfrm1->Add<TOrbImage>();
    imgIcon->Name = "imgIcon";
    imgIcon->SetBounds(RightColumn + 214, 283, 48, 48);
    imgIcon->SetTransparent(true);
    imgIcon->SetImgStorage(ImageStorage);
    imgIcon->Setimageindex(0);
}

void TfrmGallery::BuildLanguageSwitch() {
    AddHeading("lblLanguage", "Language", LeftColumn, 340, 290);
    TOrbPanel* strip = AddTabStrip(*fxfrm1, "pnlLanguage", LeftColumn, 364, 2);
    auto make = [this, strip](const char* name, const std::string& caption, int index, TGalleryLanguage language) {
        auto* tab = strip->Add<TOrbButton>();
        tab->Name = name;
        SkinTab(*tab, LanguageGroup);
        tab->SetBounds(2 + index * 98, 2, 96, 32);
        tab->SetTransparent(true);
        tab->SetCaption(caption);
        tab->OnClick = [this, language](TComponent*) { SetLanguage(language); };
        return tab;
    };
    btnEnglish = make("btnEnglish", "English", 0, TGalleryLanguage::English);
    btnChinese = make("btnChinese", "中文", 1, TGalleryLanguage::Chinese);

    auto* help = fxfrm1->Add<TOrbLabel>();
    help->Name = "lblHelp";
    help->SetBounds(LeftColumn, 420, 592, 20);
    help->SetFont(ColouredFont(Muted));
    help->SetSupportMouseOverDown(false);
    help->SetTransparent(true);
    help->SetCaption("Hover and press the controls; the switch changes the language at once.");
}

void TfrmGallery::SetLanguage(TGalleryLanguage language) {
    const std::string file = GalleryLanguageFile(language);
    if (language == FLanguage && LangFilePath == file) return;
    FLanguage = language;
    LangFilePath = file;
    ReloadLanguage();
    if (!IsLoading()) ApplyLanguage();
}

void TfrmGallery::ApplyLanguage() {
    TfrmBase::ApplyLanguage();
    for (TOrbCheckBox* box : {chkChecked, chkUnchecked, chkDisabled, rbFirst, rbSecond, rbDisabled})
        TranslateCheck(*box);
    fxfrm1->SetBtnCloseHint(LangText(Translation, ClassName() + ".CloseHint", "Close"));
    fxfrm1->SetBtnMinHint(LangText(Translation, ClassName() + ".MinHint", "Minimize"));
    (FLanguage == TGalleryLanguage::Chinese ? btnChinese : btnEnglish)->SetBtnStatus(bsSelect);
}

// The base pass knows buttons and labels only; check boxes follow the same
// key pattern and take the language's face and size the same way.
void TfrmGallery::TranslateCheck(TOrbCheckBox& box) {
    TFont font = box.Font();
    CopyFont(font, Font());
    box.SetFont(font);
    box.SetCaption(LangText(Translation, ClassName() + "." + box.Name + ".caption", box.Caption()));
}
