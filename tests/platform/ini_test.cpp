#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/ini_file.h"
#include "platform/text_codec.h"
#include "support/test_support.h"

using testing_support::ReadFileBytes;
using testing_support::TTempDir;
using testing_support::WriteFileBytes;

TEST(IniDocument, ReadingRules) {
    TIniDocument doc = TIniDocument::Parse(
        "stray=before any section\n"
        "[Translation]\n"
        "; a comment=with equals\n"
        "  Key One  =  value = with = equals  \n"
        "TfrmMain.Caption=first\n"
        "tfrmmain.caption=duplicate loses\n"
        "no equals sign here\n"
        "=no key\n"
        "[ Other ]\n"
        "Empty=\n");
    EXPECT_EQ(doc.Read("translation", "KEY ONE"), "value = with = equals");
    EXPECT_EQ(doc.Read("TRANSLATION", "TfrmMain.caption"), "first");
    EXPECT_FALSE(doc.Find("Translation", "stray"));
    EXPECT_FALSE(doc.Find("Translation", "; a comment"));
    EXPECT_EQ(doc.Find("other", "empty"), std::optional<std::string>(""));
    EXPECT_EQ(doc.KeyNames("Translation"), (std::vector<std::string>{"Key One", "TfrmMain.Caption", "tfrmmain.caption"}));
    EXPECT_EQ(doc.SectionNames(), (std::vector<std::string>{"Translation", "Other"}));
    EXPECT_EQ(doc.Read("Missing", "x", "fallback"), "fallback");
}

TEST(IniDocument, WritesKeepOrderAndUnknownLines) {
    const std::string text = "; header comment\r\n[A]\r\nx=1\r\n; note\r\n\r\n[B]\r\ny=2\r\n";
    TIniDocument doc = TIniDocument::Parse(text);
    EXPECT_EQ(doc.Serialize(), text);
    doc.Write("a", "X", "10");     // existing key, other case: changed in place
    doc.Write("A", "z", "3");      // new key: end of its section
    doc.Write("C", "w", "4");      // new section: end of the file
    doc.DeleteKey("B", "y");
    EXPECT_EQ(doc.Serialize(), "; header comment\r\n[A]\r\nx=10\r\n; note\r\n\r\nz=3\r\n[B]\r\n[C]\r\nw=4\r\n");
    doc.EraseSection("b");
    EXPECT_FALSE(doc.HasSection("B"));
    EXPECT_EQ(doc.KeyCount("A"), 2u);
}

TEST(IniDocument, WritesCannotBreakTheFileStructure) {
    TIniDocument doc;
    EXPECT_TRUE(doc.Write("S", "k", "two\nlines\r\n[Injected]\nk=v"));
    EXPECT_FALSE(doc.Write("S]", "k", "v"));
    EXPECT_FALSE(doc.Write("S", "a=b", "v"));
    EXPECT_FALSE(doc.Write("", "k", "v"));
    TIniDocument back = TIniDocument::Parse(doc.Serialize());
    EXPECT_FALSE(back.HasSection("Injected"));
    EXPECT_EQ(back.SectionNames().size(), 1u);
    EXPECT_EQ(back.Read("S", "k"), doc.Read("S", "k"));
}

TEST(IniDocument, LargeSectionsStayCaseInsensitiveAndDeleteCorrectly) {
    TIniDocument doc;
    for (int i = 0; i < 100; ++i) doc.Write("List", "Key" + std::to_string(i), std::to_string(i));
    EXPECT_EQ(doc.Read("LIST", "key57"), "57");
    doc.DeleteKey("list", "KEY57");
    EXPECT_FALSE(doc.Find("List", "Key57"));
    EXPECT_EQ(doc.Read("List", "Key58"), "58");
    EXPECT_EQ(doc.KeyCount("List"), 99u);
    doc.Write("List", "key57", "back");
    EXPECT_EQ(doc.KeyNames("List").back(), "key57");
}

TEST(TextCodec, DecodesEveryAcceptedEncoding) {
    EXPECT_EQ(DecodeText("\xEF\xBB\xBFplain \xE4\xB8\xAD").Text, "plain 中");
    EXPECT_EQ(DecodeText("\xEF\xBB\xBFx").Encoding, TTextEncoding::Utf8Bom);
    TDecodedText utf16 = DecodeText(std::string("\xFF\xFE" "A\0-N\x3D\xD8\x00\xDE", 10));
    EXPECT_EQ(utf16.Encoding, TTextEncoding::Utf16LeBom);
    EXPECT_EQ(utf16.Text, "A中😀");
    // Invalid UTF-8 is read as Latin-1 rather than dropped.
    EXPECT_EQ(DecodeText("caf\xE9 \xC3(").Text, "café Ã(");
    // An unpaired surrogate and an odd trailing byte.
    EXPECT_EQ(DecodeText(std::string("\xFF\xFE\x00\xD8" "A\0" "B", 7)).Text, "\xEF\xBF\xBD" "A");
    const std::string mixed = "Zürich 北京 😀";
    EXPECT_EQ(DecodeText(EncodeText(mixed, TTextEncoding::Utf16LeBom)).Text, mixed);
}

class IniFileTest : public ::testing::Test {
protected:
    std::string Path() const { return Dir / "data.ini"; }
    TTempDir Dir;
};

TEST_F(IniFileTest, EveryWriteReachesTheDiskAtOnce) {
    TIniFile ini(Path());
    EXPECT_FALSE(testing_support::PathExists(Path()));
    ini.WriteString("S", "a", "1");
    EXPECT_EQ(ReadFileBytes(Path()), "[S]\na=1\n");
    ini.WriteInteger("S", "b", -7);
    ini.WriteBool("S", "c", true);
    EXPECT_EQ(ReadFileBytes(Path()), "[S]\na=1\nb=-7\nc=1\n");
    TIniFile other(Path());
    EXPECT_EQ(other.ReadInteger("s", "B", 0), -7);
    EXPECT_TRUE(other.ReadBool("S", "c", false));
    struct stat st {};
    ASSERT_EQ(stat(Path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u) << "a new data file is private to the user";
}

TEST_F(IniFileTest, UpdateWritesOnceAtTheEnd) {
    TIniFile ini(Path());
    ini.Update([&] {
        ini.WriteString("S", "a", "1");
        EXPECT_FALSE(testing_support::PathExists(Path()));
        ini.Update([&] { ini.WriteString("S", "b", "2"); });
        EXPECT_FALSE(testing_support::PathExists(Path())) << "a nested update joins the outer one";
    });
    EXPECT_EQ(ReadFileBytes(Path()), "[S]\na=1\nb=2\n");
}

TEST_F(IniFileTest, EditsThatThrowAreWrittenWithTheNextChange) {
    TIniFile ini(Path());
    EXPECT_THROW(ini.Update([&] {
        ini.WriteString("S", "a", "1");
        throw std::runtime_error("interrupted");
    }),
                 std::runtime_error);
    ini.WriteString("S", "b", "2");
    EXPECT_EQ(ReadFileBytes(Path()), "[S]\na=1\nb=2\n");
}

TEST_F(IniFileTest, ExistingFileKeepsEncodingAndLineBreaks) {
    WriteFileBytes(Path(), EncodeText("[S]\r\nk=中文\r\n", TTextEncoding::Utf16LeBom));
    {
        TIniFile ini(Path());
        EXPECT_EQ(ini.ReadString("S", "k", ""), "中文");
        ini.WriteString("S", "n", "新");
    }
    TDecodedText back = DecodeText(ReadFileBytes(Path()));
    EXPECT_EQ(back.Encoding, TTextEncoding::Utf16LeBom);
    EXPECT_EQ(back.Text, "[S]\r\nk=中文\r\nn=新\r\n");

    WriteFileBytes(Path(), "\xEF\xBB\xBF[S]\nk=v\n");
    TIniFile(Path()).WriteString("S", "k", "w");
    EXPECT_EQ(ReadFileBytes(Path()), "\xEF\xBB\xBF[S]\nk=w\n");
}

TEST_F(IniFileTest, IntegersAndLongValues) {
    WriteFileBytes(Path(), "[S]\nhex=0x1F\nneg= -12 \nbad=12x\nhuge=99999999999\nlong=" + std::string(3000, 'v') + "\n");
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadInteger("S", "hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("S", "neg", 0), -12);
    EXPECT_EQ(ini.ReadInteger("S", "bad", 5), 5);
    EXPECT_EQ(ini.ReadInteger("S", "huge", 5), 5);
    EXPECT_EQ(ini.ReadInteger("S", "missing", 5), 5);
    EXPECT_EQ(ini.ReadString("S", "long", ""), std::string(3000, 'v'));
    EXPECT_TRUE(ini.SectionExists("s"));
    EXPECT_FALSE(ini.SectionExists("T"));
}

TEST_F(IniFileTest, WriteThroughASymlinkReplacesItsTarget) {
    std::string real = Dir / "real.ini";
    WriteFileBytes(real, "[S]\nk=1\n");
    ASSERT_EQ(symlink(real.c_str(), Path().c_str()), 0);
    TIniFile(Path()).WriteString("S", "k", "2");
    EXPECT_EQ(ReadFileBytes(real), "[S]\nk=2\n");
    struct stat st {};
    ASSERT_EQ(lstat(Path().c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}
