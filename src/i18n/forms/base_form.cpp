// TfrmBase: the base window's frame settings and its language pass.
#include "i18n/forms/base_form.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "i18n/forms/form_fonts.h"
#include "i18n/lang_fonts.h"
#include "i18n/lang_text.h"
#include "skin/orb_button.h"
#include "skin/orb_form.h"
#include "skin/orb_label.h"
#include "skin/skin_artwork.h"

namespace {

constexpr const char* Translation = "Translation";
constexpr TColor clNavy = 0x800000;

// Bold captions grow by the control's tag. A tag is also free for other
// uses, so the result is kept to a size that still draws.
int GrownSize(int size, intptr_t by) {
    long long grown = (long long)size + (long long)by;
    return int(std::clamp<long long>(grown, 1, MaxLangFontSize));
}

TFont Copied(TFont target, const TFont& source) {
    CopyFont(target, source);
    return target;
}

TFont Grown(TFont font, intptr_t by) {
    font.Size = GrownSize(font.Size, by);
    return font;
}

void SetUpFrame(TOrbForm& frame) {
    frame.Name = "fxfrm1";
    frame.SetBounds(0, 0, 132, 99);
    frame.SetUseSkin(true);
    frame.SetSkinMixMode(SmmMerge);
    frame.SetSkinDrawMode(SmAutoAndAverage);
    frame.CanMove = true;
    frame.BtnCaptionStateCount = 3;
    frame.SetCaptionHeight(30);
    frame.FormBtns = {ObiMenu, ObiMinimize, ObiMaximize};
    frame.ImgBtnClose = SkinArtwork("btn_close");
    frame.SetColor(0x800080);
    frame.SetBorderColor(clNone);
    frame.SetInBorderColor(0xE9E9E9);
    frame.SetCutMode(CmNone);
    TFont captionFont;  // Tahoma 8 pt
    frame.SetCaptionFont(captionFont);
}

}  // namespace

TfrmBase::TfrmBase(TComponent* owner) : TForm(owner) {
    SetBounds(Left(), Top(), 132, 99);
    TFont font;
    font.Name = "Tahoma";
    font.Color = clNavy;
    font.SetPixelHeight(11);
    SetFont(font);
    fxfrm1 = Add<TOrbForm>();
    SetUpFrame(*fxfrm1);
}

void TfrmBase::Loaded() {
    TForm::Loaded();
    if (FCreated) return;
    FCreated = true;
    FormCreate();
}

void TfrmBase::FormCreate() { ApplyLanguage(); }

void TfrmBase::ApplyLanguage() {
    const TFont font = LangFont(Font());
    SetFont(font);
    fxfrm1->SetCaptionFont(Copied(fxfrm1->CaptionFont(), font));

    const std::string className = ClassName();
    SetCaption(LangText(Translation, className + ".Caption", Caption()));
    fxfrm1->SetCaption(Caption());

    // A copy: a caption setter may repaint, and painting must not be able
    // to pull the list from under the walk.
    const std::vector<TComponent*> components = Components();
    for (TComponent* component : components) {
        if (auto* button = dynamic_cast<TOrbButton*>(component))
            TranslateButton(*button, className);
        else if (auto* label = dynamic_cast<TOrbLabel*>(component))
            TranslateLabel(*label, className);
    }
}

void TfrmBase::TranslateButton(TOrbButton& button, const std::string& className) {
    const TFont& font = Font();
    button.SetFontNormal(Copied(button.FontNormal(), font));
    button.SetFontOver(Copied(button.FontOver(), font));
    button.SetFontDown(Copied(button.FontDown(), font));
    button.SetFontDisable(Copied(button.FontDisable(), font));
    button.SetFontSelect(Copied(button.FontSelect(), font));
    button.SetFontFocus(Copied(button.FontFocus(), font));
    button.SetCaption(LangText(Translation, className + "." + button.Name + ".caption", button.Caption()));
    if (!button.FontNormal().Bold) return;
    const intptr_t by = button.Tag;
    button.SetFontNormal(Grown(button.FontNormal(), by));
    button.SetFontOver(Grown(button.FontOver(), by));
    button.SetFontDown(Grown(button.FontDown(), by));
    button.SetFontDisable(Grown(button.FontDisable(), by));
    button.SetFontSelect(Grown(button.FontSelect(), by));
    button.SetFontFocus(Grown(button.FontFocus(), by));
}

void TfrmBase::TranslateLabel(TOrbLabel& label, const std::string& className) {
    const TFont& font = Font();
    label.SetFont(Copied(label.Font(), font));
    label.SetFontOver(Copied(label.FontOver(), font));
    label.SetFontDown(Copied(label.FontDown(), font));
    label.SetFontDisable(Copied(label.FontDisable(), font));
    label.SetCaption(LangText(Translation, className + "." + label.Name + ".caption", label.Caption()));
    // Only the normal font: the hover and pressed fonts keep the plain size.
    if (!label.Font().Bold) return;
    TFont bold = label.Font();
    bold.Size = GrownSize(font.Size, label.Tag);
    label.SetFont(bold);
}
