// The installed language files: listing, the start-up choice, the menu
// labels and the switch to another language at run time.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/public_funs.h"
#include "i18n/lang_path.h"
#include "i18n/lang_text.h"
#include "i18n/language_files.h"
#include "platform/folders.h"
#include "platform/ini_file.h"
#include "platform/text_codec.h"
#include "store/remind_file.h"
#include "support/test_support.h"

using testing_support::ReadFileBytes;
using testing_support::TTempDir;
using testing_support::WriteFileBytes;

namespace {

class LanguageFilesTest : public ::testing::Test {
protected:
    void SetUp() override { ForceDirectories(Languages()); }
    void TearDown() override {
        LangFilePath.clear();
        ReloadLanguage();
    }
    std::string Languages() const { return Dir / "Languages/"; }
    std::string DataFolder() const { return Dir / "data/Olvo_Reminder/"; }
    void AddLanguage(const std::string& name, const std::string& langCode, bool utf16 = true,
                     const std::string& more = "") const {
        std::string text = "; translator notes\r\n[Translation]\r\nLanguageName=X\r\nLangCode=" + langCode + "\r\n" + more;
        WriteFileBytes(Languages() + name + ".ini", EncodeText(text, utf16 ? TTextEncoding::Utf16LeBom : TTextEncoding::Utf8));
    }
    void WriteConfiguredLanguage(const std::string& value) const {
        ForceDirectories(DataFolder());
        WriteFileBytes(DataFolder() + DataFileName, "[CONFIG]\nLanguage=" + value + "\n");
    }
    std::vector<std::string> Listed() const {
        std::vector<std::string> list;
        ListLanguagesIn(Languages(), list);
        return list;
    }
    TTempDir Dir;
};

TEST_F(LanguageFilesTest, ListsIniFilesByBaseName) {
    AddLanguage("English", "0409");
    AddLanguage("German", "0407");
    WriteFileBytes(Languages() + "readme.txt", "not a language");
    ForceDirectories(Languages() + "folder.ini");
    std::vector<std::string> list = {"stale entry"};
    ListLanguagesIn(Languages(), list);
    std::sort(list.begin(), list.end());
    EXPECT_EQ(list, (std::vector<std::string>{"English", "German"}));
    ListLanguagesIn(Dir / "no-such-folder", list);
    EXPECT_TRUE(list.empty());
}

TEST_F(LanguageFilesTest, MatchesTheInterfaceLanguageAgainstLangCode) {
    AddLanguage("German", "0407|0807|0C07|1007|1407");
    AddLanguage("Chinese", "0804|1004", /*utf16=*/false);
    EXPECT_EQ(ChooseLanguageFrom(DataFolder(), Languages(), 0x0807), "German");
    EXPECT_EQ(ChooseLanguageFrom(DataFolder(), Languages(), 0x0C07), "German") << "codes compare without case";
    EXPECT_EQ(ChooseLanguageFrom(DataFolder(), Languages(), 0x1004), "Chinese");
    EXPECT_EQ(ChooseLanguageFrom(DataFolder(), Languages(), 0x0411), "English");
}

TEST_F(LanguageFilesTest, CodeListPiecesMatchWhole) {
    AddLanguage("Odd", "|04070||0C07|");
    EXPECT_EQ(ChooseLanguageFrom(DataFolder(), Languages(), 0x0407), "English") << "0407 is only part of 04070";
    EXPECT_EQ(ChooseLanguageFrom(DataFolder(), Languages(), 0x0C07), "Odd");
}

TEST_F(LanguageFilesTest, TwoMatchingFilesTheFirstListedWins) {
    AddLanguage("Deutsch", "0407");
    AddLanguage("German", "0407");
    EXPECT_EQ(ChooseLanguageFrom(DataFolder(), Languages(), 0x0407), Listed().front());
}

TEST_F(LanguageFilesTest, TheConfiguredLanguageWinsOnlyWhenTheDataFolderExists) {
    AddLanguage("German", "0407");
    WriteConfiguredLanguage("Chinese");
    EXPECT_EQ(ChooseLanguageFrom(DataFolder(), Languages(), 0x0407), "Chinese");
    WriteConfiguredLanguage("");
    EXPECT_EQ(ChooseLanguageFrom(DataFolder(), Languages(), 0x0407), "German");
}

TEST_F(LanguageFilesTest, AMissingLanguageFileFallsBackToEnglishIni) {
    AddLanguage("German", "0407");
    SetLanguageFileIn(Languages(), "German");
    EXPECT_EQ(LangFilePath, Languages() + "German.ini");
    SetLanguageFileIn(Languages(), "Klingon");
    EXPECT_EQ(LangFilePath, Languages() + "English.ini");
    SetLanguageFileIn(Languages(), "../Languages/German");
    EXPECT_EQ(LangFilePath, Languages() + "English.ini");
}

TEST_F(LanguageFilesTest, TheShippedFilesAreChosenByTheirLanguageIds) {
    const std::string shipped = testing_support::SourceDir() + "/assets/Languages";
    const std::string noData = Dir / "no-data/";
    EXPECT_EQ(ChooseLanguageFrom(noData, shipped, 0x0804), "Chinese");
    EXPECT_EQ(ChooseLanguageFrom(noData, shipped, 0x1004), "Chinese");
    EXPECT_EQ(ChooseLanguageFrom(noData, shipped, 0x0407), "German");
    EXPECT_EQ(ChooseLanguageFrom(noData, shipped, 0x1407), "German");
    EXPECT_EQ(ChooseLanguageFrom(noData, shipped, 0x0809), "English");
    EXPECT_EQ(ChooseLanguageFrom(noData, shipped, 0x0404), "English") << "Traditional Chinese has no file";
}

TEST_F(LanguageFilesTest, MenuLabelIsTheNativeNameOrTheFileName) {
    AddLanguage("German", "0407", true, "[Lang]\r\nnativelanguage = Deutsch\r\n");
    AddLanguage("Chinese", "0804", false, "[Lang]\r\nNativeLanguage=简体中文\r\n");
    AddLanguage("Plain", "0409");
    AddLanguage("Blank", "0409", true, "[Lang]\r\nNativeLanguage=\r\n");
    EXPECT_EQ(NativeLanguageNameIn(Languages(), "German"), "Deutsch");
    EXPECT_EQ(NativeLanguageNameIn(Languages(), "Chinese"), "简体中文");
    EXPECT_EQ(NativeLanguageNameIn(Languages(), "Plain"), "Plain");
    EXPECT_EQ(NativeLanguageNameIn(Languages(), "Blank"), "Blank");
    EXPECT_EQ(NativeLanguageNameIn(Languages(), "Missing"), "Missing");
    EXPECT_EQ(NativeLanguageNameIn(Languages(), "../Languages/German"), "../Languages/German");
}

class LanguageChangeTest : public LanguageFilesTest {
protected:
    void SetUp() override {
        LanguageFilesTest::SetUp();
        ForceDirectories(DataFolder());
        AddLanguage("German", "0407", true, "TfrmORMMain.btnBack.caption=Zurück\r\n");
        SetLanguageFileIn(Languages(), "English");
        ReloadLanguage();
    }
    std::string StoredLanguage() const {
        std::string bytes = ReadFileBytes(DataFolder() + DataFileName);
        return TIniDocument::Parse(DecodeText(bytes).Text).Read(ConfigSection, "Language");
    }
};

TEST_F(LanguageChangeTest, SwitchesTextsAndStoresTheLanguage) {
    TRemindFile store(DataFolder() + DataFileName);
    EXPECT_EQ(LangText("Translation", "TfrmORMMain.btnBack.caption"), "Back");

    std::vector<std::string> seenByWindowPass;
    ChangeLanguageIn(store, Languages(), "German",
                     [&] { seenByWindowPass.push_back(LangText("Translation", "TfrmORMMain.btnBack.caption")); });

    EXPECT_EQ(seenByWindowPass, std::vector<std::string>{"Zurück"}) << "the window pass runs once, after the reload";
    EXPECT_EQ(LangFilePath, Languages() + "German.ini");
    EXPECT_EQ(store.Language, "German");
    EXPECT_EQ(StoredLanguage(), "German") << "saved at once, not only at exit";
    EXPECT_EQ(LangText("Translation", "TfrmORMMain.btnDone.Caption"), "Save") << "untranslated keys stay English";
    // The next start reads it back.
    EXPECT_EQ(ChooseLanguageFrom(DataFolder(), Languages(), 0x0409), "German");
}

TEST_F(LanguageChangeTest, ALanguageWithoutAFileShowsBuiltInTextsUntilTheFileAppears) {
    TRemindFile store(DataFolder() + DataFileName);
    ChangeLanguageIn(store, Languages(), "German");
    ChangeLanguageIn(store, Languages(), "Dutch");
    EXPECT_EQ(LangFilePath, Languages() + "Dutch.ini") << "no existence test on a change";
    EXPECT_EQ(StoredLanguage(), "Dutch");
    EXPECT_EQ(LangText("Translation", "TfrmORMMain.btnBack.caption"), "Back");
    AddLanguage("Dutch", "0413", true, "TfrmORMMain.btnBack.caption=Terug\r\n");
    EXPECT_EQ(LangText("Translation", "TfrmORMMain.btnBack.caption"), "Terug");
}

TEST_F(LanguageChangeTest, AConfigurationThatCannotBeSavedStillSwitchesAndIsReported) {
    // Nothing can be written into a folder that does not exist.
    TRemindFile store(Dir / "gone/" + DataFileName);
    bool windowPassRan = false;
    EXPECT_THROW(ChangeLanguageIn(store, Languages(), "German", [&] { windowPassRan = true; }), EIniFileError);
    EXPECT_TRUE(windowPassRan);
    EXPECT_EQ(LangFilePath, Languages() + "German.ini");
    EXPECT_EQ(LangText("Translation", "TfrmORMMain.btnBack.caption"), "Zurück");
    EXPECT_EQ(store.Language, "German") << "saved again at exit";
}

}  // namespace
