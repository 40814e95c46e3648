// TFrmNews's construction, the show handler and the page: the web view is
// made for each page and freed when the window closes.
#include "online/news_form.h"

#include <exception>

#include "i18n/forms/form_fonts.h"
#include "i18n/lang_text.h"
#include "platform/gui/application.h"
#include "platform/gui/timer.h"
#include "skin/orb_form.h"
#include "skin/skin_artwork.h"

TFrmNews* NewsWindow = nullptr;

// The page is shown without its own scroll bars, border or margin: it is
// made to fit the window. Answers StyledAnswer when all of it ran.
const char* const TFrmNews::StyleScript =
    "(function () {"
    " var body = document.body;"
    " if (!body) return 'no body';"
    " body.setAttribute('scroll', 'no');"
    " body.style.border = 'none';"
    " body.style.margin = '0px';"
    " document.documentElement.style.overflow = 'hidden';"
    " return 'styled';"
    "})()";
const char* const TFrmNews::StyledAnswer = "styled";

namespace {
constexpr TColor White = 0xFFFFFF;
}  // namespace

TFrmNews::TFrmNews(TComponent* owner) : TForm(owner) {
    Name = "FrmNews";
    SetBounds(Left(), Top(), DesignWidth, DesignHeight);
    TFont font;  // Tahoma 8 pt until the language's font is applied
    SetFont(font);
    // News arrives while the user works elsewhere: it must not take the
    // keyboard from them.
    SetActivation(TActivation::NoActivate);
    BuildFrame();

    timer1 = Create<TTimer>();
    timer1->Name = "timer1";
    timer1->SetEnabled(false);
    timer1->SetInterval(SlideIntervalMs);
    timer1->OnTimer = [this](TComponent*) { timer1Timer(); };
    timer2 = Create<TTimer>();
    timer2->Name = "timer2";
    timer2->SetEnabled(false);
    timer2->SetInterval(DesignRestMs);  // every show sets RestMs
    timer2->OnTimer = [this](TComponent*) { timer2Timer(); };

    OnClose = [this](TComponent*, TCloseAction&) { FormClose(); };
}

TFrmNews::~TFrmNews() {
    if (NewsWindow == this) NewsWindow = nullptr;
    // Native controls go before their form.
    FRetiredView.reset();
    wb1.reset();
}

void TFrmNews::BuildFrame() {
    fxfrm1 = Add<TOrbForm>();
    fxfrm1->Name = "fxfrm1";
    fxfrm1->SetBounds(0, 0, DesignWidth, DesignHeight);
    fxfrm1->SetUseSkin(true);
    fxfrm1->SetSkinMixMode(SmmMerge);
    fxfrm1->SetImgForm(SkinArtwork("news_skin"));
    fxfrm1->SetFormSplit(TOrbUIPadding(30, 26, 70, 70));
    fxfrm1->SetCaptionHeight(CaptionHeight);
    // No caption button but close, which then takes the single-close strip.
    fxfrm1->FormBtns = {};
    fxfrm1->ImgBtnSingleClose = SkinArtwork("news_btn_close");
    fxfrm1->BtnCaptionStateCount = 3;
    fxfrm1->SetBtnRightFix(3);
    fxfrm1->SetImgLogo(SkinArtwork("logo"));
    fxfrm1->SetCutMode(CmRound);
    fxfrm1->SetCutRound(5);
    fxfrm1->CanMove = true;
    fxfrm1->SupportReSize = false;
    TFont captionFont;
    captionFont.Color = White;
    captionFont.Bold = true;
    fxfrm1->SetCaptionFont(captionFont);
    // The design caption; every show replaces it with the language's text.
    fxfrm1->SetCaption("Newsleeter");
}

// ---- the show handler ----

bool TFrmNews::ShowNews(const TNewsAnswer& answer) {
    if (answer.MsgID <= 0 || answer.MsgID == ShownId) return false;
    // A page still up gives way to the newer one.
    if (Visible() || wb1) {
        FormClose();
        Hide();
    }
    ShownId = answer.MsgID;
    FormWidth = answer.FormWidth;
    FormHeight = answer.FormHeight;
    int width = DesignWidth, height = DesignHeight;
    if (const auto size = NewsPageSize(FormWidth, FormHeight)) {
        width = size->Width + 2;
        height = size->Height + CaptionHeight;
    }
    NewsUrl = answer.Url;
    // Entirely below the work area: the slide brings it up.
    const TRect area = Application->Host().WorkArea();
    SetBounds(area.Right - width - RightMargin, area.Bottom + height, width, height);
    return PrepareAndNavigate();
}

void TFrmNews::ApplyLanguageFont() {
    const TFont font = LangFont(Font());
    SetFont(font);
    TFont caption = fxfrm1->CaptionFont();
    CopyFont(caption, font);
    fxfrm1->SetCaptionFont(caption);
}

bool TFrmNews::PrepareAndNavigate() {
    ApplyLanguageFont();
    fxfrm1->SetCaption(LangText("Message", "Newsletter", "Newsletter"));
    // The view is placed on the window's native layer, which must exist
    // while the window is still hidden.
    HandleNeeded();
    wb1 = Application->Host().CreateWebView(*this);
    if (!wb1) return false;  // no web engine: no news window
    wb1->SetBounds(Bounds(1, 23, 488, 242));
    wb1->OnNavigateComplete = [this, alive = Lifetime()](TNativeWebView* sender, const std::string& url) {
        if (!alive.expired()) wb1NavigateComplete2(sender, url);
    };
    SetOpacity(255);
    FFading = false;
    timer2->SetInterval(RestMs);
    FNavigating = true;
    const int navigation = ++FNavigation;
    wb1->Navigate(NewsUrl);
    return FNavigating && navigation == FNavigation;
}

// ---- the page ----

void TFrmNews::wb1NavigateComplete2(TNativeWebView* sender, const std::string& /*url*/) {
    // Only the page this show asked for: a link followed inside the shown
    // page changes nothing about the window.
    if (!FNavigating || sender != wb1.get()) return;
    if (!wb1->HasBody()) {
        Close();
        return;
    }
    const int navigation = FNavigation;
    wb1->RunScript(StyleScript, [this, alive = Lifetime(), navigation](const std::string& answer) {
        if (alive.expired() || navigation != FNavigation || !FNavigating) return;
        PageStyled(answer);
    });
}

void TFrmNews::PageStyled(const std::string& answer) {
    try {
        if (answer != StyledAnswer) {
            Close();
            return;
        }
        FNavigating = false;
        wb1->SetBounds(Bounds(1, CaptionHeight, Width() - 2, Height() - (CaptionHeight + 1)));
        Show();
        timer1->SetEnabled(true);
    } catch (const std::exception&) {
        Close();
        return;
    }
    if (OnNewsShown) OnNewsShown(this, ShownId);
}

void TFrmNews::FormClose() {
    timer1->SetEnabled(false);
    timer2->SetEnabled(false);
    FNavigating = false;
    FFading = false;
    ++FNavigation;
    if (!wb1) return;
    // The close may come from inside one of the view's own events: it is
    // freed once that event has finished, and before the window in any case.
    wb1->SetVisible(false);
    FRetiredView = std::move(wb1);
    Application->Defer([this, alive = Lifetime()] {
        if (!alive.expired()) FRetiredView.reset();
    });
}

bool ShowNewsWindow(const TNewsAnswer& answer, std::function<void(TFrmNews* sender, int32_t msgId)> onShown) {
    if (!Application) return false;
    if (!NewsWindow) NewsWindow = Application->CreateForm<TFrmNews>();
    if (onShown) NewsWindow->OnNewsShown = std::move(onShown);
    return NewsWindow->ShowNews(answer);
}
