// The text lookup: which table answers, how a file is read, and when the
// tables are loaded and loaded again.
#include <gtest/gtest.h>

#include <cstdio>

#include "i18n/lang_path.h"
#include "i18n/lang_text.h"
#include "platform/text_codec.h"
#include "support/test_support.h"

using testing_support::TTempDir;
using testing_support::WriteFileBytes;

namespace {

constexpr const char* Tr = "Translation";

class LangTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        LangFilePath = ActivePath();
        ReloadLanguage();
        SetBuiltInLanguageSource({});
    }
    void TearDown() override {
        SetBuiltInLanguageSource({});
        LangFilePath.clear();
        ReloadLanguage();
    }
    std::string ActivePath() const { return Dir / "Active.ini"; }
    void WriteActive(const std::string& text, TTextEncoding encoding = TTextEncoding::Utf16LeBom) const {
        WriteFileBytes(ActivePath(), EncodeText(text, encoding));
    }
    // A built-in file standing in for the resource; counts the loads.
    void UseBuiltIn(const std::string& text) {
        SetBuiltInLanguageSource([this, text](std::string& bytes) {
            ++BuiltInLoads;
            bytes = EncodeText(text, TTextEncoding::Utf16LeBom);
            return true;
        });
    }
    int BuiltInLoads = 0;
    TTempDir Dir;
};

TEST_F(LangTextTest, ActiveFileThenBuiltInThenDefault) {
    UseBuiltIn("[Translation]\r\nBoth=built-in both\r\nOnlyBuiltIn=built-in only\r\n");
    WriteActive("[Translation]\r\nBoth=active both\r\nOnlyActive=active only\r\n");
    EXPECT_EQ(LangText(Tr, "Both", "default"), "active both");
    EXPECT_EQ(LangText(Tr, "OnlyActive", "default"), "active only");
    EXPECT_EQ(LangText(Tr, "OnlyBuiltIn", "default"), "built-in only");
    EXPECT_EQ(LangText(Tr, "Neither", "default"), "default");
    EXPECT_EQ(LangText(Tr, "Neither"), "");
    EXPECT_EQ(LangText("Messages", "Both", "default"), "default") << "keys belong to their section";
}

TEST_F(LangTextTest, EmptySectionOrKeyGivesEmptyTextEvenWithADefault) {
    UseBuiltIn("[Translation]\r\n=no key\r\n");
    WriteActive("[Translation]\r\n=no key\r\n");
    EXPECT_EQ(LangText(Tr, "", "default"), "");
    EXPECT_EQ(LangText("", "Confirm", "default"), "");
    EXPECT_EQ(BuiltInLoads, 0) << "an empty key looks nothing up";
}

TEST_F(LangTextTest, AnEmptyValueCountsAsMissing) {
    WriteActive("[Translation]\r\nTfrmORMMain.btnBack.caption=\r\nTfrmAbout.Caption =   \r\n");
    // The real built-in file answers for what the active file leaves empty.
    EXPECT_EQ(LangText(Tr, "TfrmORMMain.btnBack.caption", "default"), "Back");
    EXPECT_EQ(LangText(Tr, "TfrmAbout.Caption", "default"), "About");

    UseBuiltIn("[Translation]\r\nEmptyToo=\r\n");
    EXPECT_EQ(LangText(Tr, "EmptyToo", "default"), "default") << "empty in both files";
}

TEST_F(LangTextTest, SectionsAndKeysIgnoreLetterCase) {
    UseBuiltIn("[translation]\r\nTFRMABOUT.CAPTION=About\r\n");
    WriteActive("[TRANSLATION]\r\ntfrmormmain.BTNBACK.Caption=Zurück\r\n");
    EXPECT_EQ(LangText(Tr, "TfrmORMMain.btnBack.caption"), "Zurück");
    EXPECT_EQ(LangText("translation", "TfrmORMMain.btnBack.CAPTION"), "Zurück");
    EXPECT_EQ(LangText(Tr, "TfrmAbout.Caption"), "About");
    EXPECT_EQ(LangText(Tr, "TfrmAbout.caption"), "About");
}

TEST_F(LangTextTest, LineRulesOfTheFileFormat) {
    WriteActive(
        "Text=before any section is ignored\r\n"
        "[Translation]\r\n"
        "; Comment=not a key\r\n"
        "\r\n"
        "  Padded  =  value with blanks inside  \r\n"
        "Format=a=b\r\n"
        "Twice=first\r\n"
        "TWICE=second\r\n"
        "[Messages]\r\n"
        "Text=message\r\n");
    EXPECT_EQ(LangText(Tr, "Padded"), "value with blanks inside");
    EXPECT_EQ(LangText(Tr, "Format"), "a=b") << "the value is everything after the first '='";
    EXPECT_EQ(LangText(Tr, "Twice"), "first");
    EXPECT_EQ(LangText(Tr, "; Comment", "none"), "none");
    EXPECT_EQ(LangText(Tr, "Text", "none"), "none");
    EXPECT_EQ(LangText("Messages", "Text"), "message");
}

TEST_F(LangTextTest, ReadsUtf16Utf8WithMarkAndUtf8WithoutMark) {
    const std::string text = "[Translation]\r\nWord=Zurück 返回\r\n";
    for (TTextEncoding encoding : {TTextEncoding::Utf16LeBom, TTextEncoding::Utf8Bom, TTextEncoding::Utf8}) {
        SCOPED_TRACE(static_cast<int>(encoding));
        WriteActive(text, encoding);
        ReloadLanguage();
        EXPECT_EQ(LangText(Tr, "Word"), "Zurück 返回");
    }
    // Unix line ends read the same.
    WriteActive("[Translation]\nWord=plain\n", TTextEncoding::Utf8);
    ReloadLanguage();
    EXPECT_EQ(LangText(Tr, "Word"), "plain");
}

TEST_F(LangTextTest, BytesThatAreNotUtf8ReadAsLatin1) {
    // A file saved in a Western single-byte code page: ü is the byte 0xFC.
    WriteFileBytes(ActivePath(), "[Translation]\r\nWord=Zur\xFC" "ck \xA9\r\n");
    ReloadLanguage();
    EXPECT_EQ(LangText(Tr, "Word"), "Zurück ©");
}

TEST_F(LangTextTest, TheBuiltInTableLoadsOnceAndOutlivesALanguageChange) {
    UseBuiltIn("[Translation]\r\nKey=english\r\n");
    EXPECT_EQ(LangText(Tr, "Key"), "english");
    EXPECT_EQ(LangText(Tr, "Other", "x"), "x");
    EXPECT_EQ(BuiltInLoads, 1);
    WriteActive("[Translation]\r\nKey=active\r\n");
    ReloadLanguage();
    EXPECT_EQ(LangText(Tr, "Key"), "active");
    EXPECT_EQ(LangText(Tr, "Other", "x"), "x");
    EXPECT_EQ(BuiltInLoads, 1);
}

TEST_F(LangTextTest, AMissingBuiltInTableGivesTheDefaultsAndIsRetried) {
    int attempts = 0;
    bool available = false;
    SetBuiltInLanguageSource([&](std::string& bytes) {
        ++attempts;
        if (!available) return false;
        bytes = EncodeText("[Translation]\r\nKey=english\r\n", TTextEncoding::Utf8Bom);
        return true;
    });
    WriteActive("[Translation]\r\nTranslated=active\r\n");
    EXPECT_EQ(LangText(Tr, "Translated", "default"), "active") << "the active file needs no built-in table";
    EXPECT_EQ(attempts, 0);
    EXPECT_EQ(LangText(Tr, "Key", "default"), "default");
    EXPECT_EQ(LangText(Tr, "Key"), "");
    EXPECT_EQ(attempts, 2) << "each lookup that needs the table tries again";

    available = true;
    EXPECT_EQ(LangText(Tr, "Key", "default"), "english");
    EXPECT_EQ(LangText(Tr, "Key", "default"), "english");
    EXPECT_EQ(attempts, 3);
}

TEST_F(LangTextTest, TheActiveFileLoadsWhenItAppearsAndStaysUntilReloaded) {
    UseBuiltIn("[Translation]\r\nKey=english\r\n");
    EXPECT_EQ(LangText(Tr, "Key"), "english") << "no file at LangFilePath yet";

    WriteActive("[Translation]\r\nKey=first version\r\n");
    EXPECT_EQ(LangText(Tr, "Key"), "first version") << "a missing file is tried again on the next lookup";

    WriteActive("[Translation]\r\nKey=second version\r\n");
    EXPECT_EQ(LangText(Tr, "Key"), "first version") << "a loaded table is kept";
    ReloadLanguage();
    EXPECT_EQ(LangText(Tr, "Key"), "second version");

    std::remove(ActivePath().c_str());
    EXPECT_EQ(LangText(Tr, "Key"), "second version");
    ReloadLanguage();
    EXPECT_EQ(LangText(Tr, "Key"), "english");
}

TEST_F(LangTextTest, AFolderAtTheLanguagePathIsNoLanguageFile) {
    UseBuiltIn("[Translation]\r\nKey=english\r\n");
    LangFilePath = Dir.Path();
    ReloadLanguage();
    EXPECT_EQ(LangText(Tr, "Key"), "english");
}

TEST_F(LangTextTest, ATranslationLackingKeysShowsEnglishForThem) {
    // The real built-in file: its cbbVoice lines have blanks around "=" and
    // after the text.
    WriteActive("; partial\r\n[Translation]\r\nTfrmORMMain.cbbVoice.Item1=Stumm\r\n[Lang]\r\nNativeLanguage=Deutsch\r\n");
    EXPECT_EQ(LangText(Tr, "TfrmORMMain.cbbVoice.Item1"), "Stumm");
    EXPECT_EQ(LangText(Tr, "TfrmORMMain.cbbVoice.Item2"), "Default");
    EXPECT_EQ(LangText(Tr, "TfrmORMMain.cbbVoice.Item3"), "Custom");
    EXPECT_EQ(LangText("Messages", "TimeOver"), "You have set a time earlier than the current time!");
    EXPECT_EQ(LangText("Message", "Newsletter", "News"), "News") << "a key no file holds";
}

}  // namespace
