// The language's font settings: read from the active file alone and afresh
// each time, with the defaults for a missing file, a missing key and a
// value that cannot make a usable font.
#include <gtest/gtest.h>

#include "i18n/lang_fonts.h"
#include "i18n/lang_path.h"
#include "i18n/lang_text.h"
#include "platform/text_codec.h"
#include "support/test_support.h"

using testing_support::TTempDir;
using testing_support::WriteFileBytes;

namespace {

class LangFontsTest : public ::testing::Test {
protected:
    void SetUp() override {
        LangFilePath = Dir / "Active.ini";
        // A built-in file that prescribes another font: it must never answer.
        SetBuiltInLanguageSource([](std::string& bytes) {
            bytes = EncodeText("[Translation]\r\nDefaultFont=Verdana\r\nDefaultFontSize=14\r\n"
                               "DefaultCharset=GREEK_CHARSET\r\n",
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
    void WriteActive(const std::string& translation) const {
        WriteFileBytes(LangFilePath, EncodeText("[Translation]\r\n" + translation, TTextEncoding::Utf16LeBom));
    }
    TTempDir Dir;
};

TEST_F(LangFontsTest, DefaultsForAMissingFileOrMissingKeys) {
    // No file: the built-in file's Verdana 14 Greek must not show through.
    EXPECT_EQ(LangFontName(), "Tahoma");
    EXPECT_EQ(LangFontSize(), 8);
    EXPECT_EQ(LangCharset(), LangDefaultCharset);
    WriteActive("Confirm=OK\r\nDefaultFont=\r\n");
    EXPECT_EQ(LangFontName(), "Tahoma") << "an empty value counts as not set";
    EXPECT_EQ(LangFontSize(), 8);
    EXPECT_EQ(LangCharset(), LangAnsiCharset);
}

TEST_F(LangFontsTest, ReadsKeysInAnyCaseAfreshOnEachRequest) {
    WriteActive("defaultfont = Arial\r\nDEFAULTFONTSIZE=10\r\nDefaultCharSet=gb2312_charset\r\n");
    EXPECT_EQ(LangFontName(), "Arial");
    EXPECT_EQ(LangFontSize(), 10);
    EXPECT_EQ(LangCharset(), 134);
    WriteActive("DefaultFont=SimSun\r\n");
    EXPECT_EQ(LangFontName(), "SimSun") << "no reload needed";
}

TEST_F(LangFontsTest, CharsetNamesAndSizeValues) {
    const std::pair<const char*, int> charsets[] = {
        {"ANSI_CHARSET", 0},   {"DEFAULT_CHARSET", 1}, {"MAC_CHARSET", 77},   {"ChineseBig5_Charset", 136},
        {"HEBREW_CHARSET", 177}, {"EASTEUROPE_CHARSET", 238}, {"oem_charset", 255},
        {"KLINGON_CHARSET", 1}, {"GB2312", 1}, {"134", 1},
    };
    for (const auto& [name, value] : charsets) {
        WriteActive(std::string("DefaultCharset=") + name + "\r\n");
        EXPECT_EQ(LangCharset(), value) << name;
    }
    const std::pair<const char*, int> sizes[] = {
        {"10", 10}, {"+12", 12}, {"6", 6}, {"72", 72}, {"0", 8}, {"-3", 8}, {"5", 8},
        {"73", 8}, {"500", 8}, {"ten", 8}, {"10pt", 8}, {"9.5", 8}, {"99999999999", 8},
    };
    for (const auto& [text, size] : sizes) {
        WriteActive(std::string("DefaultFontSize=") + text + "\r\n");
        EXPECT_EQ(LangFontSize(), size) << text;
    }
}

}  // namespace
