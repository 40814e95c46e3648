// The base window on the offscreen host: its frame, when its language pass
// runs, and what the pass does to the fonts and captions of the window, its
// frame and its skinned buttons and labels.
#include <gtest/gtest.h>

#include <type_traits>

#include "i18n/forms/base_form.h"
#include "i18n/lang_fonts.h"
#include "i18n/lang_path.h"
#include "i18n/lang_text.h"
#include "platform/gui/application.h"
#include "platform/offscreen/offscreen_host.h"
#include "platform/text_codec.h"
#include "skin/orb_button.h"
#include "skin/orb_caption_button.h"
#include "skin/orb_check_box.h"
#include "skin/orb_form.h"
#include "skin/orb_label.h"
#include "skin/orb_panel.h"
#include "support/test_support.h"

using testing_support::TTempDir;
using testing_support::WriteFileBytes;

namespace {

constexpr TColor Navy = 0x800000, White = 0xFFFFFF, Red = 0x0000FF;

class TTabButton : public TOrbButton {
public:
    using TOrbButton::TOrbButton;
};

// A derived window as the program's dialogs are written: controls built in
// the constructor, the language pass left to creation.
class TfrmSampleDlg : public TfrmBase {
public:
    explicit TfrmSampleDlg(TComponent* owner) : TfrmBase(owner) {
        SetCaption("Sample design");
        TFont white;
        white.Color = White;
        white.Bold = true;
        fxfrm1->SetCaptionFont(white);
        btnOk = Make<TOrbButton>(fxfrm1, "btnOk", "OK design", 3);
        btnBold = Make<TOrbButton>(fxfrm1, "btnBold", "Bold design", 3);
        TFont bold;
        bold.Bold = true;
        bold.Color = Red;
        btnBold->SetAllFonts(bold);
        TOrbPanel* panel = Make<TOrbPanel>(fxfrm1, "pnlBody", "", 0);
        btnTab = Make<TTabButton>(panel, "btnTab", "Tab design", 0);
        lblName = Make<TOrbLabel>(panel, "lblName", "Name design", 2);
        lblBold = Make<TOrbLabel>(fxfrm1, "lblBold", "Bold label design", 2);
        lblBold->SetFont(bold);
        chkOther = Make<TOrbCheckBox>(fxfrm1, "chkOther", "Check design", 0);
    }
    std::string ClassName() const override { return "TfrmSampleDlg"; }
    void ApplyLanguage() override {
        ++Passes;
        TfrmBase::ApplyLanguage();
    }

    TOrbButton *btnOk, *btnBold, *btnTab;
    TOrbLabel *lblName, *lblBold;
    TOrbCheckBox* chkOther;
    int Passes = 0;

private:
    template <class T>
    T* Make(TWinControl* parent, const char* name, const std::string& caption, intptr_t tag) {
        T* control = parent->Add<T>();
        control->Name = name;
        control->Tag = tag;
        if constexpr (!std::is_same_v<T, TOrbPanel>) control->SetCaption(caption);
        control->SetBounds(4, 34, 60, 20);
        return control;
    }
};

class BaseFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        LangFilePath = Dir / "Active.ini";
        // A built-in file that stands for the English one but says nothing
        // about these windows' controls.
        SetBuiltInLanguageSource([](std::string& bytes) {
            bytes = EncodeText("[Translation]\r\nDefaultFont=Verdana\r\nDefaultFontSize=14\r\n"
                               "TfrmSampleDlg.chkOther.caption=Check built-in\r\n",
                               TTextEncoding::Utf16LeBom);
            return true;
        });
        ReloadLanguage();
    }
    void TearDown() override {
        SetBuiltInLanguageSource({});
        LangFilePath.clear();
        ReloadLanguage();
    }
    void UseLanguage(const std::string& translation) {
        WriteFileBytes(LangFilePath, EncodeText("[Translation]\r\n" + translation, TTextEncoding::Utf16LeBom));
        ReloadLanguage();
    }
    TfrmSampleDlg* OpenSample() {
        auto* form = App.CreateForm<TfrmSampleDlg>();
        form->Show();
        Host.Settle();
        return form;
    }
    TOffscreenHost Host;
    TApplication App{Host};
    TTempDir Dir;
};

void ExpectFace(const TFont& font, const std::string& name, int size, int charset) {
    EXPECT_EQ(font.Name, name);
    EXPECT_EQ(font.Size, size);
    EXPECT_EQ(font.Charset, charset);
}

void ExpectAllFaces(const TfrmSampleDlg& form, const std::string& name, int size, int charset) {
    for (const TOrbButton* b : {form.btnOk, form.btnTab})
        for (const TFont* f : {&b->FontNormal(), &b->FontOver(), &b->FontDown(), &b->FontDisable(),
                               &b->FontSelect(), &b->FontFocus()})
            ExpectFace(*f, name, size, charset);
    for (const TOrbLabel* l : {form.lblName, form.lblBold})
        for (const TFont* f : {&l->FontOver(), &l->FontDown(), &l->FontDisable()}) ExpectFace(*f, name, size, charset);
    ExpectFace(form.lblName->Font(), name, size, charset);
}

TEST_F(BaseFormTest, TheBaseWindowAndItsFrame) {
    UseLanguage("TfrmBase.Caption=Base window\r\n");
    auto* form = App.CreateForm<TfrmBase>();
    EXPECT_EQ(form->Font().Color, Navy);
    EXPECT_EQ(form->Font().PixelHeight(), 11);
    form->Show();
    Host.Settle();
    TOrbForm* frame = form->fxfrm1;
    EXPECT_EQ(form->FindComponent("fxfrm1"), frame);
    EXPECT_EQ(frame->BoundsRect(), Bounds(0, 0, 132, 99));
    EXPECT_EQ(form->ClientRect(), Bounds(0, 0, 132, 99));
    EXPECT_EQ(frame->CaptionHeight(), 30);
    EXPECT_EQ(frame->InBorderColor(), TColor(0xE9E9E9));
    // Only the close strip is given: a close button of one 45-pixel frame.
    ASSERT_NE(frame->BtnClose(), nullptr);
    EXPECT_EQ(frame->BtnClose()->Width(), 45);
    EXPECT_EQ(frame->BtnMenu(), nullptr);
    EXPECT_EQ(Host.PixelAt(*form, 60, 60), Color32(0x80, 0, 0x80));
    EXPECT_EQ(form->Caption(), "Base window");
    EXPECT_EQ(frame->Caption(), "Base window");
}

TEST_F(BaseFormTest, CreationTranslatesTheDerivedWindowByItsClassName) {
    UseLanguage(
        "TfrmSampleDlg.Caption=Sample\r\n"
        "TfrmBase.btnOk.caption=Wrong class\r\n"
        "TfrmSampleDlg.btnOk.Caption=Fine\r\n"
        "TfrmSampleDlg.btnTab.caption=Tab\r\n"
        "TfrmSampleDlg.lblName.caption=Name:\r\n"
        "TfrmSampleDlg.chkOther.caption=Checked\r\n");
    auto* form = App.CreateForm<TfrmSampleDlg>();
    EXPECT_EQ(form->Passes, 0);
    form->Show();
    Host.Settle();
    EXPECT_EQ(form->Passes, 1);
    EXPECT_EQ(form->Caption(), "Sample");
    EXPECT_EQ(form->fxfrm1->Caption(), "Sample");
    EXPECT_EQ(form->btnOk->Caption(), "Fine");
    EXPECT_EQ(form->btnTab->Caption(), "Tab") << "descendants and controls on panels count";
    EXPECT_EQ(form->lblName->Caption(), "Name:");
    EXPECT_EQ(form->btnBold->Caption(), "Bold design") << "no key: the design caption stays";
    EXPECT_EQ(form->chkOther->Caption(), "Check design") << "other controls are the window's own business";
    form->Hide();
    form->Show();
    EXPECT_EQ(form->Passes, 1) << "showing again is no new creation";
}

TEST_F(BaseFormTest, TheLanguageFontReachesEverySkinnedButtonAndLabel) {
    UseLanguage("DefaultFont=Arial\r\nDefaultFontSize=10\r\nDefaultCharset=RUSSIAN_CHARSET\r\n");
    TfrmSampleDlg* form = OpenSample();
    ExpectFace(form->Font(), "Arial", 10, 204);
    EXPECT_EQ(form->Font().Color, Navy);
    ExpectFace(form->fxfrm1->CaptionFont(), "Arial", 10, 204);
    EXPECT_EQ(form->fxfrm1->CaptionFont().Color, White) << "the title keeps its colour and style";
    EXPECT_TRUE(form->fxfrm1->CaptionFont().Bold);
    ExpectAllFaces(*form, "Arial", 10, 204);
}

TEST_F(BaseFormTest, WithoutALanguageFileTahomaEightAndTheSystemCharset) {
    ExpectAllFaces(*OpenSample(), "Tahoma", 8, 1);
}

TEST_F(BaseFormTest, BoldControlsGrowByTheirTag) {
    UseLanguage("DefaultFontSize=8\r\n");
    TfrmSampleDlg* form = OpenSample();
    EXPECT_EQ(form->lblBold->Font().Size, 10) << "tag 2 plus the language's 8";
    EXPECT_EQ(form->lblBold->FontOver().Size, 8);
    EXPECT_EQ(form->lblName->Font().Size, 8) << "not bold: the tag is no size";
    TOrbButton* b = form->btnBold;
    auto expectBold = [b](int size) {
        for (const TFont* f : {&b->FontNormal(), &b->FontOver(), &b->FontDown(), &b->FontDisable(),
                               &b->FontSelect(), &b->FontFocus()}) {
            EXPECT_EQ(f->Size, size);
            EXPECT_EQ(f->Color, Red);
        }
    };
    expectBold(11);
    EXPECT_EQ(form->btnOk->FontNormal().Size, 8);
    form->ApplyLanguage();
    expectBold(11);  // each pass starts from the language size again

    // A tag that holds something else still leaves a font that draws.
    b->Tag = 100000;
    form->lblBold->Tag = -50;
    form->ApplyLanguage();
    expectBold(MaxLangFontSize);
    EXPECT_EQ(form->lblBold->Font().Size, 1);
}

TEST_F(BaseFormTest, ASecondPassAfterALanguageChangeShowsTheNewTexts) {
    UseLanguage("TfrmSampleDlg.btnOk.caption=Gut\r\nTfrmSampleDlg.lblName.caption=Name:\r\n");
    TfrmSampleDlg* form = OpenSample();
    ASSERT_EQ(form->btnOk->Caption(), "Gut");
    UseLanguage("DefaultFont=SimSun\r\nDefaultCharset=GB2312_CHARSET\r\nTfrmSampleDlg.Caption=示例\r\n"
                "TfrmSampleDlg.btnOk.caption=好\r\n");
    form->ApplyLanguage();
    EXPECT_EQ(form->fxfrm1->Caption(), "示例");
    EXPECT_EQ(form->btnOk->Caption(), "好");
    EXPECT_EQ(form->lblName->Caption(), "Name:") << "a key the new file lacks keeps the previous text";
    ExpectFace(form->btnOk->FontNormal(), "SimSun", 8, 134);
    ExpectFace(form->fxfrm1->CaptionFont(), "SimSun", 8, 134);
}

}  // namespace
