// The language files that ship with the program: the built-in English file
// holds exactly the program's texts, and every translation carries the same
// keys, stored the same way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <regex>
#include <set>

#include "i18n/lang_path.h"
#include "i18n/lang_text.h"
#include "i18n/language_files.h"
#include "platform/ini_document.h"
#include "platform/text_codec.h"
#include "support/test_support.h"

extern const unsigned char MemLangResourceData[];
extern const std::size_t MemLangResourceSize;

namespace {

using TKey = std::pair<std::string, std::string>;  // section, key

// The texts the program expects of its built-in file, written out from the
// list of texts the windows and messages use.
const std::map<TKey, std::string>& ExpectedEnglish() {
    static const std::map<TKey, std::string> texts = [] {
        std::map<TKey, std::string> t;
        auto tr = [&](const std::string& key, const std::string& text) { t[{"Translation", key}] = text; };
        tr("LanguageName", "ENU");
        tr("LangCode", "0C09|2809|1009|2409|4009|1809|2009|4409|1409|3409|4809|1c09|2C09|0809|0409|3009");
        tr("ReadHabit", "Left-to-right");
        tr("DefaultFont", "Tahoma");
        tr("DefaultFontSize", "8");
        tr("DefaultCharset", "ANSI_CHARSET");
        tr("Confirm", "Confirm");
        const std::string m = "TfrmORMMain.";
        tr(m + "Caption", "Olvo Reminder");
        tr(m + "btnUnfinish.Caption", "Unfinished");
        tr(m + "btnCompleted.Caption", "Completed");
        tr(m + "btnBack.caption", "Back");
        tr(m + "btnDone.Caption", "Save");
        tr(m + "lblRepeat.caption", "Repeat:");
        tr(m + "lblTime.caption", "Time:");
        tr(m + "lblName.caption", "Description:");
        tr(m + "lblDate.caption", "Date:");
        const char* periods[] = {"Once", "Daily", "Weekly", "Monthly", "Yearly"};
        for (int n = 1; n <= 5; ++n) tr(m + "cbPeriod.Item" + std::to_string(n), periods[n - 1]);
        tr(m + "imgf.hint", "Follow us on Facebook");
        tr(m + "imgt.hint", "Follow us on Twitter");
        tr(m + "imgmail.hint", "Share it to your friends");
        tr(m + "imghome.hint", "Home Page");
        tr(m + "CloseHint", "Close");
        tr(m + "MenuHint", "Menu");
        tr(m + "MinHint", "Minimize");
        tr(m + "lbl2.caption", "Current Version:%s");
        tr(m + "lbl3.Caption", "Check for Updates");
        tr(m + "btnDetails.hint_1", "Details");
        tr(m + "btnDetails.hint_2", "Modify and Recover");
        tr(m + "btnDelete.hint_1", "Mark as finished");
        tr(m + "btnDelete.hint_2", "Delete");
        const char* tray[] = {"Online Help", "Forum",    "Homepage",       "Contact Us", "Check for Updates",
                              "Check for News", "Language", "Run on Startup", "About",      "Exit"};
        for (int n = 1; n <= 10; ++n) tr(m + "TrayMenuItem" + std::to_string(n), tray[n - 1]);
        tr(m + "lbl1.caption", "Restore");
        tr(m + "fxpmn.item1", "Backup");
        tr(m + "fxpmn.item2", "Restore");
        tr(m + "cbbVoice.Item1", "Mute");
        tr(m + "cbbVoice.Item2", "Default");
        tr(m + "cbbVoice.Item3", "Custom");
        tr(m + "lblVoice.Caption", "Voice prompts");
        tr("msgdlg.btnNO", "NO");
        tr("msgdlg.btnOk", "OK");
        tr("msgdlg.btnYes", "Yes");
        const char* units[] = {"Y", "M", "D", "HH", "MM", "SS"};
        const char* unitNames[] = {"Year", "Month", "Day", "Hour", "Minute", "Second"};
        for (int i = 0; i < 6; ++i) {
            tr(std::string("const") + units[i], unitNames[i]);
            tr(std::string("const") + units[i] + "s", std::string(unitNames[i]) + "s");
        }
        tr("GetLang", "translate to...");
        tr("TfrmRemindDlg.Caption", "Notice");
        tr("TfrmRemindDlg.Caption_1", "You have missed some reminders");
        tr("TfrmRemindDlg.btnComplete.Caption", "OK I got it");
        tr("TfrmRemindDlg.btnDelay.Caption", "Postpone");
        tr("TfrmAbout.Caption", "About");
        tr("TfrmAbout.lblEmail.caption", "Email Support:");
        tr("TfrmAbout.lblhome.caption", "Official Homepage:");
        tr("TfrmAbout.lblthanks.caption", "Acknowledgements to the following:");
        tr("TfrmAbout.btnOk.Caption", "OK");
        tr("TfrmAbout.lblver.Caption", "Current Version:");
        auto msg = [&](const std::string& key, const std::string& text) { t[{"Messages", key}] = text; };
        msg("UnkonwFileType", "Unrecognized sound file!");
        msg("ExitModify", "You have unsaved changes. Are you sure to leave this page?");
        msg("RemindNameNULL", "Please fill the description of the reminder!");
        msg("NewVer", "Newer version available! Update now?");
        msg("NoNewVer", "Congrats! You are using the newest version now.");
        msg("ExitApp",
            "Are you sure to quit Olvo Reminder? Olvo Reminder's olvo notices will no longer be available then!");
        msg("NoneReminder", "You have not set any reminder!");
        msg("NoneCopmpleted", "You have no completed reminder!");
        msg("NoneSelected", "Please select at least one item!");
        msg("TimeOver", "You have set a time earlier than the current time!");
        t[{"Lang", "NativeLanguage"}] = "English";
        return t;
    }();
    return texts;
}

std::string ShippedFolder() { return testing_support::SourceDir() + "/assets/Languages/"; }

std::string BuiltInBytes() {
    return std::string(reinterpret_cast<const char*>(MemLangResourceData), MemLangResourceSize);
}

std::set<TKey> KeySet(const TIniDocument& document) {
    std::set<TKey> keys;
    for (const std::string& section : document.SectionNames())
        for (const std::string& key : document.KeyNames(section)) {
            bool fresh = keys.insert({section, key}).second;
            EXPECT_TRUE(fresh) << "duplicate key " << section << "/" << key;
        }
    return keys;
}

std::multiset<std::string> Placeholders(const std::string& text) {
    static const std::regex placeholder("%[sd]");
    std::multiset<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), placeholder); it != std::sregex_iterator(); ++it)
        found.insert(it->str());
    return found;
}

// Checks what every shipped file must be: UTF-16LE with a mark, CR LF line
// ends, translator notes first, and text that decodes without damage.
TIniDocument CheckFileForm(const std::string& bytes) {
    EXPECT_TRUE(bytes.size() > 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') << "UTF-16LE byte-order mark";
    TDecodedText decoded = DecodeText(bytes);
    EXPECT_EQ(decoded.Encoding, TTextEncoding::Utf16LeBom);
    const std::string& text = decoded.Text;
    EXPECT_EQ(text.find("\xEF\xBF\xBD"), std::string::npos) << "no replacement characters";
    size_t lineFeeds = std::count(text.begin(), text.end(), '\n');
    size_t crlf = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++crlf;
    EXPECT_GT(lineFeeds, 0u);
    EXPECT_EQ(crlf, lineFeeds) << "every line ends in CR LF";
    EXPECT_EQ(text.substr(0, 2), "; ") << "translator notes come first";
    return TIniDocument::Parse(text);
}

TEST(ShippedLanguagesTest, TheBuiltInFileHoldsExactlyTheProgramsTexts) {
    ASSERT_GT(MemLangResourceSize, 0u);
    EXPECT_EQ(BuiltInBytes(), testing_support::ReadFileBytes(ShippedFolder() + "English.ini"))
        << "the resource is English.ini as shipped";
    TIniDocument builtIn = CheckFileForm(BuiltInBytes());

    std::set<TKey> expectedKeys;
    for (const auto& [key, text] : ExpectedEnglish()) expectedKeys.insert(key);
    EXPECT_EQ(KeySet(builtIn), expectedKeys);

    // Through the lookup, with no language file: every text is the built-in one.
    LangFilePath.clear();
    ReloadLanguage();
    for (const auto& [key, text] : ExpectedEnglish())
        EXPECT_EQ(LangText(key.first, key.second, "<missing>"), text) << key.first << "/" << key.second;
}

struct TShipped {
    const char* Name;
    const char* LangCode;
    const char* NativeLanguage;
    const char* Charset;
};

class ShippedTranslationTest : public ::testing::TestWithParam<TShipped> {};

TEST_P(ShippedTranslationTest, CarriesEveryKeyOfTheBuiltInFile) {
    const TShipped& shipped = GetParam();
    const std::string bytes = testing_support::ReadFileBytes(ShippedFolder() + shipped.Name + ".ini");
    ASSERT_FALSE(bytes.empty());
    TIniDocument translation = CheckFileForm(bytes);
    TIniDocument builtIn = TIniDocument::Parse(DecodeText(BuiltInBytes()).Text);

    EXPECT_EQ(translation.SectionNames(), builtIn.SectionNames());
    for (const std::string& section : builtIn.SectionNames())
        EXPECT_EQ(translation.KeyNames(section), builtIn.KeyNames(section)) << section;

    for (const auto& [key, english] : ExpectedEnglish()) {
        std::string text = translation.Read(key.first, key.second);
        EXPECT_FALSE(text.empty()) << key.second << " would fall back to English";
        EXPECT_EQ(Placeholders(text), Placeholders(english)) << key.second;
    }
    EXPECT_EQ(translation.Read("Translation", "LangCode"), shipped.LangCode);
    EXPECT_EQ(translation.Read("Translation", "DefaultCharset"), shipped.Charset);
    EXPECT_EQ(NativeLanguageNameIn(ShippedFolder(), shipped.Name), shipped.NativeLanguage);
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedTranslationTest,
                         ::testing::Values(TShipped{"English", "0C09|2809|1009|2409|4009|1809|2009|4409|1409|3409|4809|1c09|2C09|0809|0409|3009",
                                                    "English", "ANSI_CHARSET"},
                                           TShipped{"Chinese", "0804|1004", "简体中文", "GB2312_CHARSET"},
                                           TShipped{"German", "0407|0807|0C07|1007|1407", "Deutsch", "ANSI_CHARSET"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(ShippedLanguagesTest, TheChineseTextsAreTranslated) {
    // Every shown text of the Chinese file holds Chinese characters; only
    // the settings and the product name stay in Latin letters.
    const std::set<std::string> latin = {"LanguageName", "LangCode",        "ReadHabit",         "DefaultFont",
                                         "DefaultFontSize", "DefaultCharset", "TfrmORMMain.Caption"};
    TIniDocument chinese = TIniDocument::Parse(
        DecodeText(testing_support::ReadFileBytes(ShippedFolder() + "Chinese.ini")).Text);
    for (const auto& [key, english] : ExpectedEnglish()) {
        if (latin.contains(key.second)) continue;
        std::string text = chinese.Read(key.first, key.second);
        bool nonAscii = std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
        EXPECT_TRUE(nonAscii) << key.second << " = " << text;
    }
}

TEST(ShippedLanguagesTest, TheGermanTextsAreTranslated) {
    // Words that German shares with English are few; more than these in
    // common means texts were left untranslated.
    TIniDocument german = TIniDocument::Parse(
        DecodeText(testing_support::ReadFileBytes(ShippedFolder() + "German.ini")).Text);
    std::set<std::string> same;
    for (const auto& [key, english] : ExpectedEnglish())
        if (german.Read(key.first, key.second) == english) same.insert(key.second);
    const std::set<std::string> shared = {"ReadHabit", "DefaultFont", "DefaultFontSize", "DefaultCharset",
                                          "TfrmORMMain.Caption", "TfrmORMMain.btnDetails.hint_1",
                                          "TfrmORMMain.TrayMenuItem2", "TfrmORMMain.TrayMenuItem3",
                                          "msgdlg.btnOk", "TfrmAbout.btnOk.Caption", "constMM"};
    std::set<std::string> unexpected;
    std::set_difference(same.begin(), same.end(), shared.begin(), shared.end(),
                        std::inserter(unexpected, unexpected.begin()));
    EXPECT_TRUE(unexpected.empty()) << "untranslated: " << ::testing::PrintToString(unexpected);
}

}  // namespace
