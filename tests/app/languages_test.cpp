#include <gtest/gtest.h>

#include <algorithm>

#include "app/languages.h"
#include "app/program_entry.h"
#include "common/public_funs.h"
#include "i18n/lang_path.h"
#include "platform/folders.h"
#include "platform/text_codec.h"
#include "store/remind_file.h"
#include "support/test_support.h"

using testing_support::TTempDir;
using testing_support::WriteFileBytes;

class LanguageChoiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ForceDirectories(Languages());
    }
    std::string Languages() const { return Dir / "Languages/"; }
    std::string DataFolder() const { return Dir / "data/Olvo_Reminder/"; }
    void AddLanguage(const std::string& name, const std::string& langCode, bool utf16 = true) const {
        std::string text = "; translator notes\r\n[Translation]\r\nLanguageName=X\r\nLangCode=" + langCode + "\r\n";
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

TEST_F(LanguageChoiceTest, ListsIniFilesByBaseName) {
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

TEST_F(LanguageChoiceTest, MatchesTheInterfaceLanguageAgainstLangCode) {
    AddLanguage("German", "0407|0807|0C07|1007|1407");
    AddLanguage("Chinese", "0804|1004", /*utf16=*/false);
    EXPECT_EQ(ChooseLanguageFrom(DataFolder(), Languages(), 0x0807), "German");
    EXPECT_EQ(ChooseLanguageFrom(DataFolder(), Languages(), 0x0C07), "German") << "codes compare without case";
    EXPECT_EQ(ChooseLanguageFrom(DataFolder(), Languages(), 0x1004), "Chinese");
    EXPECT_EQ(ChooseLanguageFrom(DataFolder(), Languages(), 0x0411), "English");
}

TEST_F(LanguageChoiceTest, CodeListPiecesMatchWhole) {
    AddLanguage("Odd", "|04070||0C07|");
    EXPECT_EQ(ChooseLanguageFrom(DataFolder(), Languages(), 0x0407), "English") << "0407 is only part of 04070";
    EXPECT_EQ(ChooseLanguageFrom(DataFolder(), Languages(), 0x0C07), "Odd");
}

TEST_F(LanguageChoiceTest, TwoMatchingFilesTheFirstListedWins) {
    AddLanguage("Deutsch", "0407");
    AddLanguage("German", "0407");
    EXPECT_EQ(ChooseLanguageFrom(DataFolder(), Languages(), 0x0407), Listed().front());
}

TEST_F(LanguageChoiceTest, TheConfiguredLanguageWinsOnlyWhenTheDataFolderExists) {
    AddLanguage("German", "0407");
    WriteConfiguredLanguage("Chinese");
    EXPECT_EQ(ChooseLanguageFrom(DataFolder(), Languages(), 0x0407), "Chinese");
    WriteConfiguredLanguage("");
    EXPECT_EQ(ChooseLanguageFrom(DataFolder(), Languages(), 0x0407), "German");
}

TEST_F(LanguageChoiceTest, AMissingLanguageFileFallsBackToEnglishIni) {
    AddLanguage("German", "0407");
    SetLanguageFileIn(Languages(), "German");
    EXPECT_EQ(LangFilePath, Languages() + "German.ini");
    SetLanguageFileIn(Languages(), "Klingon");
    EXPECT_EQ(LangFilePath, Languages() + "English.ini");
    SetLanguageFileIn(Languages(), "../Languages/German");
    EXPECT_EQ(LangFilePath, Languages() + "English.ini");
}

TEST_F(LanguageChoiceTest, TheMatchedLanguageIsStoredAndLastsToTheNextStart) {
    AddLanguage("German", "0407");
    AppDataPath = Dir / "data/";
    std::string chosen = ChooseLanguageFrom(DataFolder(), Languages(), 0x0407);
    ASSERT_EQ(chosen, "German");
    OpenReminderStore(chosen).reset();  // destruction saves the configuration
    EXPECT_EQ(AppDataPath, DataFolder());
    // A later start on a machine whose interface language matches nothing.
    EXPECT_EQ(ChooseLanguageFrom(DataFolder(), Languages(), 0x0411), "German");
}
