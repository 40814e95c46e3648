// The gallery's translated window on a real display, in English and in
// Chinese: its frame and each control's state read back as screen pixels,
// the captions and the window font each language file gives, and a click on
// the language switch retranslating the open window.
#include <filesystem>
#include <string>

#include "gallery/gallery_controls_form.h"
#include "gallery/gallery_form.h"
#include "i18n/lang_path.h"
#include "i18n/lang_text.h"
#include "platform/atomic_file.h"
#include "platform/desktop/desktop_fixture.h"
#include "platform/gfx/text.h"
#include "platform/text_codec.h"
#include "skin/orb_button.h"
#include "skin/orb_caption_button.h"
#include "skin/orb_check_box.h"
#include "skin/orb_form.h"
#include "skin/orb_image.h"
#include "skin/orb_label.h"
#include "skin/orb_panel.h"

namespace {

int Red(uint32_t rgb) { return int(rgb >> 16) & 0xFF; }
int Green(uint32_t rgb) { return int(rgb >> 8) & 0xFF; }
int Blue(uint32_t rgb) { return int(rgb) & 0xFF; }
int Sum(uint32_t rgb) { return Red(rgb) + Green(rgb) + Blue(rgb); }

uint32_t PixelOf(const TControl& control, TPoint p) {
    const TPoint s = control.ClientToScreen(p);
    return ScreenPixel(s.X, s.Y);
}

bool IsAccentBlue(uint32_t rgb) { return Blue(rgb) > 200 && Red(rgb) < 80 && Green(rgb) > 110 && Green(rgb) < 190; }

// Pixels of the rectangle (control coordinates) much darker than the page.
int DarkPixels(const TControl& control, const TRect& r) {
    int dark = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (Sum(PixelOf(control, {x, y})) < 3 * 140) ++dark;
    return dark;
}

class GalleryControlsTest : public TDesktopTest {
protected:
    TfrmGallery* Form = nullptr;
    std::string SavedPath;

    void SetUp() override {
        SavedPath = LangFilePath;
        TDesktopTest::SetUp();
    }
    void TearDown() override {
        TDesktopTest::TearDown();
        LangFilePath = SavedPath;
        ReloadLanguage();
    }
    void Open(TGalleryLanguage language) {
        Form = App->CreateForm<TfrmGallery>(language);
        Form->Show();
        ASSERT_TRUE(WaitShown(*Form));
        SyncX();
    }
    // Waits until the screen shows what the window drew last.
    void Settle() {
        const int drawn = Host->DrawCount(Form->Window());
        PumpUntil([&] { return Host->DrawCount(Form->Window()) > drawn; }, 300);
        SyncX();
    }
};

TEST_F(GalleryControlsTest, FrameHasItsCaptionBandLogoAndTwoCaptionButtons) {
    Open(TGalleryLanguage::English);
    EXPECT_EQ(Form->ClassName(), "TfrmGallery");
    EXPECT_EQ(Form->Width(), 640);
    EXPECT_EQ(Form->Height(), 460);
    TOrbForm* frame = Form->fxfrm1;
    EXPECT_EQ(frame->Width(), 640);
    // Slate between the title and the caption buttons, white below it.
    EXPECT_EQ(PixelOf(*frame, {400, 24}), 0x31353Bu);
    EXPECT_EQ(PixelOf(*frame, {400, 36}), 0xFFFFFFu);
    EXPECT_FALSE(frame->LogoRect().IsEmpty());
    EXPECT_GE(frame->TitleRect().Left, frame->LogoRect().Right);
    ASSERT_NE(frame->BtnClose(), nullptr);
    ASSERT_NE(frame->BtnMin(), nullptr);
    EXPECT_EQ(frame->BtnMax(), nullptr);
    EXPECT_EQ(frame->BtnMenu(), nullptr);
    EXPECT_LT(frame->BtnMin()->Left(), frame->BtnClose()->Left());
    // The white title is drawn on the band.
    const TRect title = frame->TitleRect();
    int light = 0;
    for (int x = title.Left; x < title.Left + 60; ++x)
        if (Sum(PixelOf(*frame, {x, (title.Top + title.Bottom) / 2})) > 3 * 200) ++light;
    EXPECT_GT(light, 3);
}

TEST_F(GalleryControlsTest, EachControlShowsItsState) {
    Open(TGalleryLanguage::English);
    // Push buttons: the disabled one is much lighter, the selected one darker.
    const uint32_t normal = PixelOf(*Form->btnNormal, {8, 14});
    const uint32_t disabled = PixelOf(*Form->btnDisabled, {8, 14});
    const uint32_t selected = PixelOf(*Form->btnSelected, {8, 14});
    EXPECT_TRUE(IsAccentBlue(normal)) << std::hex << normal;
    EXPECT_GT(Sum(disabled), Sum(normal) + 200) << std::hex << disabled;
    EXPECT_LT(Sum(selected), Sum(normal) - 40) << std::hex << selected;

    // Tabs: one of the group is selected, tinted, with its accent bar.
    EXPECT_EQ(Form->btnTabFirst->BtnStatus(), bsSelect);
    EXPECT_EQ(Form->btnTabSecond->BtnStatus(), bsNormal);
    const TPoint beside{Form->btnTabFirst->Width() - 8, Form->btnTabFirst->Height() / 2};
    const uint32_t tint = PixelOf(*Form->btnTabFirst, beside);
    EXPECT_GT(Blue(tint), Red(tint) + 15) << std::hex << tint;
    EXPECT_GT(Red(tint), 200);
    EXPECT_EQ(PixelOf(*Form->btnTabSecond, beside), 0xFFFFFFu);
    EXPECT_TRUE(IsAccentBlue(PixelOf(*Form->btnTabFirst, {1, beside.Y})));

    // Check and radio boxes: accent when checked, white inside when not.
    for (TOrbCheckBox* box : {Form->chkChecked, Form->rbFirst}) {
        const TRect r = box->BoxRect();
        const uint32_t edge = PixelOf(*box, {(r.Left + r.Right) / 2, r.Top + 3});
        EXPECT_TRUE(IsAccentBlue(edge)) << box->Name << " " << std::hex << edge;
    }
    for (TOrbCheckBox* box : {Form->chkUnchecked, Form->rbSecond}) {
        const TRect r = box->BoxRect();
        EXPECT_EQ(PixelOf(*box, {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}), 0xFFFFFFu) << box->Name;
    }
    EXPECT_EQ(Form->chkDisabled->CaptionColor(), Form->chkDisabled->FontColorDisable());

    // The panel tints the white page with its colour at its Alpha.
    const uint32_t panel = PixelOf(*Form->pnlTint, {4, 4});
    EXPECT_GT(Red(panel), 150);
    EXPECT_LT(Red(panel), 240) << std::hex << panel;
    EXPECT_GT(Blue(panel), Red(panel) + 30);

    // The image shows the storage's icon.
    ASSERT_NE(Form->imgIcon->ShownPicture(), nullptr);
    EXPECT_TRUE(IsAccentBlue(PixelOf(*Form->imgIcon, {5, 24})));
}

TEST_F(GalleryControlsTest, CutLabelOffersItsCaptionAsHint) {
    Open(TGalleryLanguage::English);
    TOrbLabel* cut = Form->lblCut;
    EXPECT_TRUE(cut->TextCut());
    EXPECT_TRUE(cut->ShowHint);
    EXPECT_EQ(cut->Hint, cut->Caption());
    EXPECT_FALSE(Form->lblPlain->TextCut());
}

// The same window in each language: the wrapped label takes three whole
// lines, and every caption of the heading and the plain label draws.
class GalleryLanguageTest : public GalleryControlsTest, public ::testing::WithParamInterface<TGalleryLanguage> {};

TEST_P(GalleryLanguageTest, WrappedLabelFillsThreeLinesAndTextDraws) {
    Open(GetParam());
    TOrbLabel* wrapped = Form->lblWrapped;
    const TRect r = wrapped->TextRect();
    const TTextMetrics m =
        MeasureText(wrapped->DrawFont(), wrapped->Caption(), r.Width(), r.Height(), wrapped->TextFlags());
    EXPECT_EQ(m.LineCount, 3) << m.ShownText;
    EXPECT_FALSE(m.Ellipsized) << m.ShownText;
    for (TOrbLabel* label : {Form->lblPlain, Form->lblWrapped, Form->lblGlow, Form->lblCut}) {
        EXPECT_EQ(UnknownGlyphCount(label->Font(), label->Caption()), 0) << label->Name;
    }
    EXPECT_GT(DarkPixels(*Form->lblPlain, Form->lblPlain->TextRect()), 20);
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, GalleryLanguageTest,
                         ::testing::Values(TGalleryLanguage::English, TGalleryLanguage::Chinese));

TEST_F(GalleryControlsTest, ClickOnTheSwitchRetranslatesTheOpenWindow) {
    Open(TGalleryLanguage::English);
    const std::string caption = Form->Caption(), plain = Form->lblPlain->Caption();
    const std::string check = Form->chkChecked->Caption();
    EXPECT_EQ(Form->Font().Name, "DejaVu Sans");
    EXPECT_EQ(caption, "Skinned controls");

    const TPoint at = Form->btnChinese->ClientToScreen({48, 16});
    ASSERT_EQ(RunTool({"xdotool", "mousemove", std::to_string(at.X), std::to_string(at.Y), "click", "1"}), 0);
    ASSERT_TRUE(PumpUntil([&] { return Form->Language() == TGalleryLanguage::Chinese; }));
    Settle();
    // The window, its frame, labels, buttons and boxes all take the Chinese
    // file's font and texts.
    EXPECT_EQ(Form->Font().Name, "WenQuanYi Micro Hei");
    EXPECT_EQ(Form->Font().Size, 9);
    EXPECT_EQ(Form->chkChecked->Font().Name, "WenQuanYi Micro Hei");
    EXPECT_EQ(Form->btnNormal->FontNormal().Name, "WenQuanYi Micro Hei");
    EXPECT_EQ(Form->Caption(), "皮肤控件");
    EXPECT_EQ(Form->fxfrm1->Caption(), Form->Caption());
    EXPECT_EQ(Form->lblPlain->Caption(), "普通标签，左对齐。");
    EXPECT_EQ(Form->chkChecked->Caption(), "播放声音");
    EXPECT_EQ(Form->btnNormal->Caption(), "可用");
    EXPECT_EQ(Form->fxfrm1->BtnCloseHint(), "关闭");
    EXPECT_EQ(Form->btnChinese->BtnStatus(), bsSelect);
    EXPECT_EQ(Form->btnEnglish->BtnStatus(), bsNormal);
    // The tab group of the window is a group of its own.
    EXPECT_EQ(Form->btnTabFirst->BtnStatus(), bsSelect);
    EXPECT_GT(DarkPixels(*Form->lblPlain, Form->lblPlain->TextRect()), 20);

    Form->SetLanguage(TGalleryLanguage::English);
    EXPECT_EQ(Form->Caption(), caption);
    EXPECT_EQ(Form->lblPlain->Caption(), plain);
    EXPECT_EQ(Form->chkChecked->Caption(), check);
    EXPECT_EQ(Form->Font().Name, "DejaVu Sans");
    EXPECT_EQ(Form->btnEnglish->BtnStatus(), bsSelect);
}

TEST_F(GalleryControlsTest, GalleryButtonOpensTheOneWindowAgainAfterClose) {
    auto* gallery = App->CreateForm<TGalleryForm>();
    gallery->Show();
    ASSERT_TRUE(WaitShown(*gallery));
    TfrmGallery* first = gallery->ShowMoreControls();
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(WaitShown(*first));
    EXPECT_EQ(first->Caption(), "Skinned controls");
    first->fxfrm1->CloseClick();
    EXPECT_FALSE(first->Visible());
    EXPECT_EQ(gallery->ShowMoreControls(), first);
    EXPECT_TRUE(first->Visible());
}

// The gallery's keys live in its own files only.
TEST(GalleryLanguageFiles, ShippedFilesCarryNoGalleryKeys) {
    const std::filesystem::path shipped = std::filesystem::path(OLVO_SOURCE_DIR) / "assets" / "Languages";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(shipped)) {
        if (entry.path().extension() != ".ini") continue;
        std::string bytes;
        ASSERT_TRUE(ReadWholeFile(entry.path().string(), bytes));
        EXPECT_EQ(DecodeText(bytes).Text.find("TfrmGallery."), std::string::npos) << entry.path();
        ++files;
    }
    EXPECT_GT(files, 0);
    for (TGalleryLanguage language : {TGalleryLanguage::English, TGalleryLanguage::Chinese})
        EXPECT_TRUE(std::filesystem::exists(GalleryLanguageFile(language))) << GalleryLanguageFile(language);
}

}  // namespace
