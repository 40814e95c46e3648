// The native control models of the offscreen host behave as the widgets
// they stand for: change and scroll events, clamped scrolling, dialogs
// answered by the test, navigation completing with or without a body.
#include "gui_fixture.h"

TEST_F(GuiTest, TextEditorReportsChangesAndClampsScrolling) {
    TForm* form = MakeForm();
    auto editor = Host.CreateTextEditor(*form);
    editor->SetBounds(Bounds(0, 0, 140, 64));  // 4 lines of 16 pixels
    int changes = 0, scrolls = 0;
    editor->OnChange = [&](TNativeTextEditor* sender) {
        EXPECT_EQ(sender, editor.get());
        changes++;
    };
    editor->OnScroll = [&](TNativeTextEditor*) { scrolls++; };
    editor->SetText("1\n2\n3\n4\n5\n6\n7\n8\n9\n10");
    editor->SetText("1\n2\n3\n4\n5\n6\n7\n8\n9\n10");
    EXPECT_EQ(changes, 1);
    TScrollState v = editor->Scroll(TScrollDirection::Vertical);
    EXPECT_EQ(v, (TScrollState{0, 9, 4, 0}));
    scrolls = 0;
    editor->ScrollTo(TScrollDirection::Vertical, 100);
    EXPECT_EQ(editor->Scroll(TScrollDirection::Vertical).Pos, 6) << "the last page shows lines 7 to 10";
    editor->ScrollTo(TScrollDirection::Vertical, 6);
    EXPECT_EQ(scrolls, 1) << "no event when nothing moved";

    auto* model = Host.TextEditors.Last();
    ASSERT_EQ(model, editor.get());
    model->SetReadOnly(TReadOnly::Yes);
    model->UserType("x");
    EXPECT_EQ(changes, 1);
    editor.reset();
    EXPECT_EQ(Host.TextEditors.Last(), nullptr);
}

TEST_F(GuiTest, PickersFireOnChangeOnlyForTheUsersPicks) {
    TForm* form = MakeForm();
    auto date = Host.CreateDatePicker(*form);
    auto time = Host.CreateTimePicker(*form);
    int dateChanges = 0, timeChanges = 0;
    date->OnChange = [&](TNativeDatePicker*) { dateChanges++; };
    time->OnChange = [&](TNativeTimePicker*) { timeChanges++; };
    date->SetDate(EncodeDateTime(2026, 3, 1, 15, 30, 0));
    time->SetTime(EncodeDateTime(2026, 3, 1, 15, 30, 0));
    EXPECT_EQ(date->Date(), EncodeDate(2026, 3, 1));
    EXPECT_DOUBLE_EQ(time->Time(), EncodeTime(15, 30, 0));
    EXPECT_EQ(dateChanges + timeChanges, 0);
    Host.DatePickers.Last()->UserPick(EncodeDate(2026, 3, 2));
    Host.TimePickers.Last()->UserPick(EncodeTime(8, 0, 0));
    EXPECT_EQ(dateChanges, 1);
    EXPECT_EQ(timeChanges, 1);
    EXPECT_EQ(date->Date(), EncodeDate(2026, 3, 2));
}

TEST_F(GuiTest, FileDialogsAreAnsweredByTheTest) {
    TFileDialogOptions options;
    options.DefaultExt = "txt";
    EXPECT_EQ(Host.RunFileDialog(TFileDialogKind::Save, options, nullptr), TDialogResult::Cancel);
    Host.OnFileDialog = [](TFileDialogKind kind, TFileDialogOptions& o) {
        EXPECT_EQ(kind, TFileDialogKind::Save);
        o.FileName = "/tmp/v1.2/notes";
        return TDialogResult::Ok;
    };
    EXPECT_EQ(Host.RunFileDialog(TFileDialogKind::Save, options, nullptr), TDialogResult::Ok);
    EXPECT_EQ(options.FileName, "/tmp/v1.2/notes.txt") << "a dot in a folder name is no extension";
    EXPECT_EQ(Host.FileDialogCount, 2);
}

TEST_F(GuiTest, WebViewCompletesNavigationAndRunsScripts) {
    TForm* form = MakeForm();
    auto view = Host.CreateWebView(*form);
    std::vector<std::string> completed;
    view->OnNavigateComplete = [&](TNativeWebView*, const std::string& url) { completed.push_back(url); };
    view->Navigate("file:///news.html");
    EXPECT_TRUE(completed.empty());
    Host.WebViews.Last()->ScriptHandler = [](const std::string& script) { return script == "m" ? "0px" : ""; };
    Host.WebViews.Last()->FinishNavigation(TBody::Present);
    EXPECT_EQ(completed, (std::vector<std::string>{"file:///news.html"}));
    EXPECT_TRUE(view->HasBody());
    std::string margin;
    view->RunScript("m", [&](const std::string& r) { margin = r; });
    EXPECT_EQ(margin, "0px");
    view->Navigate("http://127.0.0.1:1/");
    Host.WebViews.Last()->FinishNavigation(TBody::Missing);
    EXPECT_FALSE(view->HasBody());
}

TEST_F(GuiTest, TrayIconReportsClicksOnlyWhenEmbedded) {
    auto tray = Host.CreateTrayIcon();
    std::vector<TPoint> clicks, rights;
    tray->OnClick = [&](TTrayIcon*, TPoint p) { clicks.push_back(p); };
    tray->OnRightButtonDown = [&](TTrayIcon*, TPoint p) { rights.push_back(p); };
    Host.TrayIcons.Last()->UserClick({5, 5});
    EXPECT_TRUE(clicks.empty()) << "hidden icons get no clicks";
    tray->SetVisible(true);
    EXPECT_TRUE(tray->Embedded());
    Host.TrayIcons.Last()->UserClick({1900, 1060});
    Host.TrayIcons.Last()->UserRightButtonDown({1901, 1061});
    EXPECT_EQ(clicks, (std::vector<TPoint>{{1900, 1060}}));
    EXPECT_EQ(rights, (std::vector<TPoint>{{1901, 1061}}));
    Host.TrayIcons.Last()->TrayPresent = false;
    EXPECT_FALSE(tray->Embedded());
    Host.Clipboard().SetText("日程");
    EXPECT_EQ(Host.Clipboard().Text(), "日程");
}
