// TfrmAbout: building the window, its texts at creation, the link clicks
// and the one open About window. Captions set here are what shows when no
// language file has the key; the base language pass puts the language's
// texts in.
#include "common/about_form.h"

#include <algorithm>

#include "common/about_form_links.h"
#include "common/public_funs.h"
#include "i18n/forms/form_fonts.h"
#include "platform/gui/application.h"
#include "skin/orb_button.h"
#include "skin/orb_form.h"
#include "skin/orb_label.h"
#include "skin/orb_panel.h"
#include "skin/orb_rich_edit.h"
#include "skin/orb_scroll_bar.h"
#include "skin/skin_artwork.h"
#include "skin/skin_presets.h"

TfrmAbout* AboutWindow = nullptr;

const char* const AboutThanksText =
    "The translators of the German and the Chinese language files, everyone who tried the early builds and "
    "told us what went wrong, the people who suggested repeat rules, postponing and voice prompts, the "
    "authors of GTK, cairo, Pango, GStreamer, WebKitGTK, libcurl, libpng, libjpeg, zlib and JSON for "
    "Modern C++, and the DejaVu and WenQuanYi font projects";

namespace {

constexpr int ClientWidth = 500, ClientHeight = 289;

// Colours as 0x00BBGGRR.
constexpr TColor White = 0xFFFFFF;
constexpr TColor Ink = 0x32302A;        // rgb 42, 48, 50
constexpr TColor LinkInk = 0xE69516;    // rgb 22, 149, 230
constexpr TColor LinkHover = 0xB36A0E;  // rgb 14, 106, 179
constexpr TColor Muted = 0x8A8178;      // rgb 120, 129, 138
constexpr TColor EditFrame = 0xB3ADAB;  // rgb 171, 173, 179

// Rows of the label column and the value column beside it.
constexpr int NameLeft = 40, NameWidth = 140, ValueLeft = 185, ValueWidth = 275;
constexpr int RowTop = 50, RowStep = 24, LabelHeight = 18;
// The acknowledgements box: editor, vertical bar at its right, horizontal
// bar below it, inside a one-pixel frame.
constexpr int BoxLeft = 41, BoxTop = 152, BoxWidth = 403, BoxHeight = 68, BarSize = 15;

TFont Coloured(TColor color, bool underline = false) {
    TFont font;
    font.Color = color;
    font.Underline = underline;
    return font;
}

}  // namespace

TfrmAbout::TfrmAbout(TComponent* owner, std::string serverBase)
    : TfrmBase(owner), FHomeUrl(HomePageUrl(serverBase)) {
    Name = "frmAbout";
    SetCaption("About");
    SetBounds(Left(), Top(), ClientWidth, ClientHeight);
    SetColor(White);
    SetUpFrame();
    BuildLabels();
    BuildThanks();

    btnOk = fxfrm1->Add<TOrbButton>();
    btnOk->Name = "btnOk";
    btnOk->SetImgBtn(SkinArtwork("button"));
    btnOk->SetBtnStateCount(4);
    btnOk->SetBtnSplit(TOrbUIPadding(5, 5, 75, 23));
    btnOk->SetAutoSize(false);
    btnOk->SetBounds(ClientWidth - 40 - 76, ClientHeight - 42, 76, 30);
    btnOk->SetAllFonts(Coloured(White));
    btnOk->SetFontDisable(Coloured(Muted));
    btnOk->SetTransparent(true);
    btnOk->SetCaption("OK");
    btnOk->OnClick = [this](TComponent* sender) { btnOkClick(sender); };

    // Escape and Enter answer the window as its one button does.
    KeyPreview = true;

    OnClose = [this](TComponent*, TCloseAction& action) {
        // From here on a request for the About window makes a new one.
        if (AboutWindow == this) AboutWindow = nullptr;
        action = TCloseAction::Free;
    };
}

TfrmAbout::~TfrmAbout() {
    if (AboutWindow == this) AboutWindow = nullptr;
}

void TfrmAbout::SetUpFrame() {
    fxfrm1->SetBounds(0, 0, ClientWidth, ClientHeight);
    fxfrm1->SetImgForm(SkinArtwork("about_skin"));
    fxfrm1->SetFormSplit(TOrbUIPadding());
    fxfrm1->SetSkinDrawMode(SmStretch);
    // The menu button has no menu to open and so no picture: the frame
    // shows minimise (which closes a secondary window) and close.
    fxfrm1->FormBtns = {ObiMenu, ObiMinimize};
    fxfrm1->ImgBtnMin = SkinArtwork("main_btn_min");
    fxfrm1->SetImgLogo(SkinArtwork("logo"));
    fxfrm1->SetBorderColor(clNone);
    fxfrm1->SetInBorderColor(clNone);
    fxfrm1->SetBtnTopFix(-3);
    fxfrm1->SetLogoLeftFix(6);
    fxfrm1->SetLogoTopFix(-1);
    fxfrm1->SetTitleLeftFix(2);
    fxfrm1->SetTitleTopFix(-1);
    TFont caption = fxfrm1->CaptionFont();
    caption.Color = White;
    caption.Bold = true;
    fxfrm1->SetCaptionFont(caption);
}

TOrbLabel* TfrmAbout::AddLabel(const char* name, const std::string& caption, int left, int top, int width) {
    auto* label = fxfrm1->Add<TOrbLabel>();
    label->Name = name;
    label->SetBounds(left, top, width, LabelHeight);
    label->SetFont(Coloured(Ink));
    label->SetSupportMouseOverDown(false);
    label->SetTransparent(true);
    label->SetCaption(caption);
    return label;
}

TOrbLabel* TfrmAbout::AddLink(const char* name, const std::string& caption, int left, int top, int width) {
    TOrbLabel* link = AddLabel(name, caption, left, top, width);
    link->SetSupportMouseOverDown(true);
    link->SetFontOver(Coloured(LinkHover, true));
    link->SetFontDown(Coloured(LinkHover, true));
    link->SetFont(Coloured(LinkInk));
    link->SetCursor(TCursor::Hand);
    return link;
}

void TfrmAbout::BuildLabels() {
    lblver = AddLabel("lblver", "Current Version:", NameLeft, RowTop, NameWidth);
    lblverinfo = AddLabel("lblverinfo", "", ValueLeft, RowTop, ValueWidth);
    lblemail = AddLabel("lblemail", "Email Support:", NameLeft, RowTop + RowStep, NameWidth);
    lblsupport = AddLink("lblsupport", SupportEmail, ValueLeft, RowTop + RowStep, ValueWidth);
    lblsupport->Onclick = [this](TComponent* sender) { lblsupportclick(sender); };
    lblhome = AddLabel("lblhome", "Official Homepage:", NameLeft, RowTop + 2 * RowStep, NameWidth);
    lblweb = AddLink("lblweb", HomePageCaption(FHomeUrl), ValueLeft, RowTop + 2 * RowStep, ValueWidth);
    lblweb->Onclick = [this](TComponent* sender) { lblwebclick(sender); };
    // Without a server there is no page: the row would name nothing.
    if (FHomeUrl.empty()) {
        lblhome->SetVisible(false);
        lblweb->SetVisible(false);
    }
    lblthanks = AddLabel("lblthanks", "Acknowledgements to the following:", NameLeft, RowTop + 3 * RowStep + 6,
                         ClientWidth - 2 * NameLeft);
}

void TfrmAbout::BuildThanks() {
    // A one-pixel line around the box: the editor has no border of its
    // own and would not read as a box on the white window.
    auto* frame = fxfrm1->Add<TOrbPanel>();
    frame->Name = "pnlThanksFrame";
    frame->SetBounds(BoxLeft - 1, BoxTop - 1, BoxWidth + BarSize + 2, BoxHeight + BarSize + 2);
    frame->SetColor(EditFrame);
    frame->TrackHover = false;

    OrbRichEdit1 = fxfrm1->Add<TOrbRichEdit>();
    OrbRichEdit1->Name = "OrbRichEdit1";
    OrbRichEdit1->SetBounds(BoxLeft, BoxTop, BoxWidth, BoxHeight);
    OrbRichEdit1->SetReadOnly(true);
    OrbRichEdit1->SetWordWrap(true);
    OrbRichEdit1->SetScrollBars(TScrollStyle::Both);
    OrbRichEdit1->SetColor(White);
    TFont italic = Coloured(Ink);
    italic.Italic = true;
    OrbRichEdit1->SetFont(italic);
    OrbRichEdit1->SetText(AboutThanksText);

    auto bar = [this](const char* name, TOrbUIScrollkind kind, TRect bounds) {
        auto* b = fxfrm1->Add<TOrbScrollBar>();
        b->Name = name;
        b->SetKind(kind);
        LoadProgramScrollBarSkin(b->Skin, kind);
        b->SkinChanged();
        b->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        return b;
    };
    OrbScrollBar1 = bar("OrbScrollBar1", skVer, Bounds(BoxLeft + BoxWidth, BoxTop, BarSize, BoxHeight));
    OrbScrollBar2 = bar("OrbScrollBar2", skHor, Bounds(BoxLeft, BoxTop + BoxHeight, BoxWidth, BarSize));
    OrbRichEdit1->SetVerScrollBar(OrbScrollBar1);
    OrbRichEdit1->SetHorScrollBar(OrbScrollBar2);

    // The corner where the bars meet, in the box's white.
    auto* corner = fxfrm1->Add<TOrbPanel>();
    corner->Name = "pnlThanksCorner";
    corner->SetBounds(BoxLeft + BoxWidth, BoxTop + BoxHeight, BarSize, BarSize);
    corner->SetColor(White);
    corner->TrackHover = false;
}

void TfrmAbout::FormCreate() {
    TfrmBase::FormCreate();
    // The base pass leaves the text box alone; its names are in the
    // language's script, so it takes the language's face, set and size.
    TFont thanksFont = OrbRichEdit1->Font();
    CopyFont(thanksFont, Font());
    OrbRichEdit1->SetFont(thanksFont);

    TVSFixedFileInfo version;
    GetFileVersionRecord(ProgramPath(), version);
    lblverinfo->SetCaption(VersionText(version));
}

void TfrmAbout::PlaceOver(const TForm* over) {
    const TRect work = Application->Host().WorkArea();
    const TRect around = over && over->Visible() ? over->BoundsRect() : work;
    int left = around.Left + (around.Width() - ClientWidth) / 2;
    int top = around.Top + (around.Height() - ClientHeight) / 2;
    if (work.Width() > 0 && work.Height() > 0) {
        left = std::clamp(left, work.Left, std::max(work.Left, work.Right - ClientWidth));
        top = std::clamp(top, work.Top, std::max(work.Top, work.Bottom - ClientHeight));
    }
    SetBounds(left, top, ClientWidth, ClientHeight);
}

void TfrmAbout::lblsupportclick(TComponent* /*Sender*/) { OpenURL(this, "mailto:" + lblsupport->Caption()); }

void TfrmAbout::lblwebclick(TComponent* /*Sender*/) {
    // The link shows the address without its scheme; the desktop's opener
    // would take such a text for a file name, so the full address goes.
    OpenURL(this, FHomeUrl);
}

void TfrmAbout::btnOkClick(TComponent* /*Sender*/) { Close(); }

void TfrmAbout::KeyDown(int& key, TShiftState shift) {
    if (key == vk::Escape || key == vk::Return) {
        key = 0;
        Close();
        return;
    }
    TfrmBase::KeyDown(key, shift);
}

TfrmAbout* ShowAboutWindow(const std::string& serverBase, const TForm* over) {
    if (!Application) return nullptr;
    if (!AboutWindow) {
        AboutWindow = Application->CreateForm<TfrmAbout>(serverBase);
        AboutWindow->PlaceOver(over);
    }
    AboutWindow->Show();
    AboutWindow->Activate();
    return AboutWindow;
}
