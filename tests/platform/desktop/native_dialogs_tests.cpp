// File dialogs answered through the automation hook, as a user would
// answer them; and the clipboard.
#include <string>

#include "platform/desktop/native_widgets.h"
#include "platform/desktop/native_test_support.h"
#include "support/test_support.h"

using namespace native_test;
using testing_support::PathExists;
using testing_support::TTempDir;
using testing_support::WriteFileBytes;

namespace {

class FileDialog : public TNativeFixture {
protected:
    void TearDown() override {
        SetFileDialogAutomation({});
        TNativeFixture::TearDown();
    }
    TDialogResult Run(TFileDialogKind kind, TFileDialogOptions& options) {
        return RunDesktopFileDialog(kind, options, nullptr);
    }
    TTempDir Dir;
};

TEST_F(FileDialog, SaveAddsTheDefaultExtensionToABareName) {
    TFileDialogOptions options;
    options.Filter = "Text files (*.txt)|*.txt|All files (*.*)|*.*";
    options.InitialDir = Dir.Path();
    options.DefaultExt = "txt";
    bool shown = false;
    SetFileDialogAutomation([&](TFileDialogKind kind, TFileDialogAutomation& dialog) {
        shown = true;
        EXPECT_EQ(kind, TFileDialogKind::Save);
        dialog.SetFileName("notes");
        EXPECT_TRUE(dialog.Accept());
    });
    EXPECT_EQ(Run(TFileDialogKind::Save, options), TDialogResult::Ok);
    EXPECT_TRUE(shown);
    EXPECT_EQ(options.FileName, Dir / "notes.txt");
    EXPECT_EQ(options.FilterIndex, 1);
}

TEST_F(FileDialog, SaveAsksBeforeReplacingAFile) {
    WriteFileBytes(Dir / "old.csv", "x");
    TFileDialogOptions options;
    options.InitialDir = Dir.Path();
    options.DefaultExt = "txt";
    options.OverwritePrompt = true;
    SetFileDialogAutomation([&](TFileDialogKind, TFileDialogAutomation& dialog) {
        dialog.SetFileName("old.csv");  // has an extension: kept as it is
        dialog.SetOverwriteAnswer(false);
        EXPECT_FALSE(dialog.Accept());
        EXPECT_NE(dialog.LastMessage().find("old.csv"), std::string::npos);
        dialog.SetOverwriteAnswer(true);
        EXPECT_TRUE(dialog.Accept());
    });
    EXPECT_EQ(Run(TFileDialogKind::Save, options), TDialogResult::Ok);
    EXPECT_EQ(options.FileName, Dir / "old.csv");
}

TEST_F(FileDialog, OpenRefusesAMissingFileAndTakesAnExistingOne) {
    WriteFileBytes(Dir / "here.ini", "[a]");
    TFileDialogOptions options;
    options.InitialDir = Dir.Path();
    options.MustExist = true;
    SetFileDialogAutomation([&](TFileDialogKind kind, TFileDialogAutomation& dialog) {
        EXPECT_EQ(kind, TFileDialogKind::Open);
        dialog.SetFileName(Dir / "gone.ini");
        EXPECT_FALSE(dialog.Accept());
        EXPECT_FALSE(dialog.LastMessage().empty());
        dialog.SetFileName(Dir / "here.ini");
        EXPECT_TRUE(dialog.Accept());
    });
    EXPECT_EQ(Run(TFileDialogKind::Open, options), TDialogResult::Ok);
    EXPECT_EQ(options.FileName, Dir / "here.ini");
}

TEST_F(FileDialog, CancelLeavesTheNameAlone) {
    TFileDialogOptions options;
    options.FileName = "keep.txt";
    SetFileDialogAutomation([&](TFileDialogKind, TFileDialogAutomation& dialog) {
        dialog.SetFileName("other");
        dialog.Cancel();
    });
    EXPECT_EQ(Run(TFileDialogKind::Save, options), TDialogResult::Cancel);
    EXPECT_EQ(options.FileName, "keep.txt");
    EXPECT_FALSE(PathExists(Dir / "other"));
}

TEST(Clipboard, RoundTripsText) {
    if (!StartGtk()) FAIL() << "no X display (DISPLAY unset or unusable): scripts/test.sh starts Xvfb";
    DesktopClipboard().SetText("Erinnerung — 提醒 ✓");
    EXPECT_EQ(DesktopClipboard().Text(), "Erinnerung — 提醒 ✓");
    DesktopClipboard().SetText("second");
    EXPECT_EQ(DesktopClipboard().Text(), "second");
}

}  // namespace
