// The About window on the offscreen host: its layout and texts in the
// language, the two links (underlined under the mouse, handed to the
// desktop's opener on a click, nothing without a server), the
// acknowledgements box with its bars, closing, and one window at a time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/about_form.h"
#include "common/about_form_links.h"
#include "common/public_funs.h"
#include "i18n/lang_path.h"
#include "i18n/lang_text.h"
#include "platform/gui/application.h"
#include "platform/offscreen/offscreen_host.h"
#include "platform/shell_open.h"
#include "platform/text_codec.h"
#include "skin/orb_button.h"
#include "skin/orb_form.h"
#include "skin/orb_label.h"
#include "skin/orb_rich_edit.h"
#include "skin/orb_scroll_bar.h"
#include "support/test_support.h"

using testing_support::SourceDir;
using testing_support::TTempDir;
using testing_support::WriteFileBytes;

namespace {

const std::string Server = "http://127.0.0.1:9/";

class AboutFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        LangFilePath = Dir / "None.ini";  // no file: the built-in English texts
        ReloadLanguage();
        FPreviousHook = SetShellOpenHook([this](const std::string& target) {
            Opened.push_back(target);
            return true;
        });
    }
    void TearDown() override {
        SetShellOpenHook(std::move(FPreviousHook));
        LangFilePath.clear();
        ReloadLanguage();
    }

    TfrmAbout* Open(const std::string& base = Server, const TForm* over = nullptr) {
        TfrmAbout* window = ShowAboutWindow(base, over);
        Host.Settle();
        return window;
    }
    void UseLanguage(const std::string& translation) {
        WriteFileBytes(Dir / "Active.ini", EncodeText("[Translation]\r\n" + translation, TTextEncoding::Utf16LeBom));
        LangFilePath = Dir / "Active.ini";
        ReloadLanguage();
    }

    static TPoint CentreOf(const TControl& control) {
        const TRect r = control.FormRect();
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    void ClickOn(TForm& form, const TControl& control) {
        const TPoint p = CentreOf(control);
        Host.MouseMove(form, p.X, p.Y);
        Host.Click(form, p.X, p.Y);
        Host.Settle();
    }

    TTempDir Dir;
    TOffscreenHost Host;
    TApplication App{Host};
    std::vector<std::string> Opened;

private:
    TShellOpenHook FPreviousHook;
};

TEST_F(AboutFormTest, LayoutInTheEnglishTexts) {
    TfrmAbout* about = Open();
    ASSERT_TRUE(about);
    EXPECT_EQ(about->ClassName(), "TfrmAbout");
    EXPECT_EQ(about->Width(), 500);
    EXPECT_EQ(about->Height(), 289);
    EXPECT_EQ(about->fxfrm1->BoundsRect(), Bounds(0, 0, 500, 289));
    EXPECT_EQ(about->Caption(), "About");
    EXPECT_EQ(about->lblver->Caption(), "Current Version:");
    EXPECT_EQ(about->lblemail->Caption(), "Email Support:");
    EXPECT_EQ(about->lblhome->Caption(), "Official Homepage:");
    EXPECT_EQ(about->lblthanks->Caption(), "Acknowledgements to the following:");
    EXPECT_EQ(about->btnOk->Caption(), "OK");
    EXPECT_EQ(about->lblsupport->Caption(), SupportEmail);
    EXPECT_EQ(about->lblweb->Caption(), "127.0.0.1:9");

    TVSFixedFileInfo version;
    GetFileVersionRecord(ProgramPath(), version);
    EXPECT_FALSE(VersionText(version).empty());
    EXPECT_EQ(about->lblverinfo->Caption(), VersionText(version));

    // Each name sits on the row of its value, left of it.
    const std::pair<TOrbLabel*, TOrbLabel*> rows[] = {
        {about->lblver, about->lblverinfo}, {about->lblemail, about->lblsupport}, {about->lblhome, about->lblweb}};
    for (auto [name, value] : rows) {
        EXPECT_EQ(name->Top(), value->Top());
        EXPECT_LE(name->Left() + name->Width(), value->Left());
    }
    EXPECT_LE(about->OrbScrollBar2->FormRect().Bottom, about->btnOk->FormRect().Top);
    EXPECT_LE(about->btnOk->FormRect().Bottom, 289);

    // The window shows the About artwork: white content under a dark band.
    const TColor32 content = Host.PixelAt(*about, 250, 140);
    EXPECT_EQ(content, Color32(255, 255, 255));
    const TColor32 band = Host.PixelAt(*about, 250, 12);
    EXPECT_LT(((band >> 16) & 0xFF) + ((band >> 8) & 0xFF) + (band & 0xFF), 3u * 80u);
}

TEST_F(AboutFormTest, TextsAndFontsComeFromTheLanguage) {
    LangFilePath = SourceDir() + "/assets/Languages/German.ini";
    ReloadLanguage();
    TfrmAbout* about = Open();
    EXPECT_EQ(about->Caption(), "Über");
    EXPECT_EQ(about->lblver->Caption(), "Aktuelle Version:");
    EXPECT_EQ(about->lblemail->Caption(), "E-Mail-Support:");
    EXPECT_EQ(about->lblthanks->Caption(), "Unser Dank gilt:");
    about->Close();
    Host.Settle();

    // A language without the About keys: the English texts; its font on
    // every label and on the acknowledgements, which stay italic.
    UseLanguage("DefaultFont=Arial\r\nDefaultFontSize=10\r\nTfrmAbout.lblver.Caption=\r\n");
    about = Open();
    EXPECT_EQ(about->Caption(), "About");
    EXPECT_EQ(about->lblver->Caption(), "Current Version:");
    for (const TOrbLabel* l : {about->lblver, about->lblsupport, about->lblweb, about->lblthanks}) {
        EXPECT_EQ(l->Font().Name, "Arial") << l->Name;
        EXPECT_EQ(l->Font().Size, 10) << l->Name;
        EXPECT_EQ(l->FontOver().Name, "Arial") << l->Name;
    }
    EXPECT_EQ(about->OrbRichEdit1->Font().Name, "Arial");
    EXPECT_TRUE(about->OrbRichEdit1->Font().Italic);
    EXPECT_EQ(about->btnOk->FontNormal().Size, 10);
}

TEST_F(AboutFormTest, LinksUnderlineUnderTheMouseOnlyAndClicksOpenTheirAddresses) {
    TfrmAbout* about = Open();
    for (TOrbLabel* link : {about->lblsupport, about->lblweb}) {
        EXPECT_FALSE(link->DrawFont().Underline) << link->Name;
        EXPECT_EQ(link->Cursor(), TCursor::Hand) << link->Name;
        const TPoint p = CentreOf(*link);
        Host.MouseMove(*about, p.X, p.Y);
        Host.Settle();
        EXPECT_TRUE(link->DrawFont().Underline) << link->Name;
        EXPECT_EQ(Host.WindowOf(*about)->Cursor, TCursor::Hand) << link->Name;
        Host.MouseMove(*about, 5, 280);
        Host.Settle();
        EXPECT_FALSE(link->DrawFont().Underline) << link->Name;
    }
    ClickOn(*about, *about->lblsupport);
    ClickOn(*about, *about->lblweb);
    // The home page goes with its scheme: a bare host would read as a file.
    EXPECT_EQ(Opened, (std::vector<std::string>{std::string("mailto:") + SupportEmail, Server}));
    // Labels that are not links open nothing.
    ClickOn(*about, *about->lblhome);
    ClickOn(*about, *about->lblverinfo);
    EXPECT_EQ(Opened.size(), 2u);
}

TEST_F(AboutFormTest, WithoutServerTheHomeRowIsHiddenAndOpensNothing) {
    TfrmAbout* about = Open("");
    EXPECT_EQ(about->lblweb->Caption(), "");
    EXPECT_EQ(about->HomeUrl(), "");
    EXPECT_FALSE(about->lblhome->Visible());
    EXPECT_FALSE(about->lblweb->Visible());
    ClickOn(*about, *about->lblweb);
    EXPECT_TRUE(Opened.empty());
    // The mail address needs no server.
    ClickOn(*about, *about->lblsupport);
    EXPECT_EQ(Opened.size(), 1u);
}

TEST_F(AboutFormTest, AcknowledgementsReadOnlyItalicWithBothBars) {
    TfrmAbout* about = Open();
    TOrbRichEdit* box = about->OrbRichEdit1;
    EXPECT_TRUE(box->ReadOnly());
    EXPECT_TRUE(box->Font().Italic);
    EXPECT_EQ(box->ScrollBars(), TScrollStyle::Both);
    EXPECT_EQ(box->VerScrollBar(), about->OrbScrollBar1);
    EXPECT_EQ(box->HorScrollBar(), about->OrbScrollBar2);
    EXPECT_EQ(about->OrbScrollBar1->Kind(), skVer);
    EXPECT_EQ(about->OrbScrollBar2->Kind(), skHor);
    EXPECT_EQ(box->Text(), AboutThanksText);

    auto* editor = Host.TextEditors.Last();
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->ReadOnly, TReadOnly::Yes);
    EXPECT_EQ(editor->Text(), AboutThanksText);
    // Typing changes nothing.
    editor->UserType("more");
    EXPECT_EQ(box->Text(), AboutThanksText);
    // The paragraph wraps, so nothing is wider than the box.
    EXPECT_FALSE(about->OrbScrollBar2->Enabled());
    // The vertical bar follows the box: enabled once there are more lines
    // than the box shows, and moved when the text scrolls. (The model
    // counts line breaks; the desktop's editor counts wrapped lines too.)
    box->SetText("one\ntwo\nthree\nfour\nfive\nsix\nseven");
    Host.Settle();
    EXPECT_TRUE(about->OrbScrollBar1->Enabled());
    editor->UserScroll(TScrollDirection::Vertical, 2);
    Host.Settle();
    EXPECT_EQ(about->OrbScrollBar1->Position(), 2);
}

TEST_F(AboutFormTest, OneWindowAtATimeBroughtToTheFront) {
    TfrmAbout* first = Open();
    EXPECT_EQ(AboutWindow, first);
    Host.DeactivateApplication();
    first->Hide();
    Host.Settle();
    TfrmAbout* again = Open();
    EXPECT_EQ(again, first);
    EXPECT_TRUE(first->Visible());
    EXPECT_EQ(Host.ActiveForm(), first);
    int count = 0;
    for (TForm* f : App.Forms())
        if (dynamic_cast<TfrmAbout*>(f)) ++count;
    EXPECT_EQ(count, 1);

    // OK closes and frees it; the next request makes a fresh window, in
    // the language of the moment. Escape and the frame's close do as OK.
    ClickOn(*first, *first->btnOk);
    EXPECT_FALSE(App.IsForm(first));
    EXPECT_EQ(AboutWindow, nullptr);
    UseLanguage("TfrmAbout.Caption=About now\r\n");
    TfrmAbout* next = Open();
    EXPECT_EQ(next->Caption(), "About now");
    Host.PressKey(*next, vk::Escape);
    Host.Settle();
    EXPECT_FALSE(App.IsForm(next));
    next = Open();
    Host.CloseRequest(*next);
    Host.Settle();
    EXPECT_FALSE(App.IsForm(next));
    EXPECT_EQ(AboutWindow, nullptr);
}

TEST_F(AboutFormTest, CentredOnTheWindowItOpensOver) {
    TForm* owner = App.CreateForm<TForm>();
    owner->SetBounds(300, 200, 660, 455);
    owner->Show();
    TfrmAbout* about = Open(Server, owner);
    EXPECT_EQ(about->Left(), 300 + (660 - 500) / 2);
    EXPECT_EQ(about->Top(), 200 + (455 - 289) / 2);
    about->Close();
    Host.Settle();

    // Over a window near the screen's edge it stays on the work area.
    owner->SetBounds(-400, 900, 660, 455);
    about = Open(Server, owner);
    EXPECT_EQ(about->Left(), Host.WorkAreaRect.Left);
    EXPECT_EQ(about->Top(), Host.WorkAreaRect.Bottom - 289);
}

}  // namespace
