// Sections whose lines stay in the parsed text until they are needed: they
// read, count, copy, edit and write back exactly as line-by-line ones, and a
// read-only file parsed where its pages are mapped reads as a copied one.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "platform/text_codec.h"
#include "support/test_support.h"

namespace {

using testing_support::TTempDir;
using testing_support::WriteFileBytes;

using TPairs = std::vector<std::pair<std::string, std::string>>;

TPairs KeysOf(const TIniDocument& doc, std::string_view section) {
    TPairs keys;
    doc.ForEachKey(section, [&](std::string_view k, std::string_view v) { keys.emplace_back(k, v); });
    return keys;
}

// Headers only where a line starts with "[" after blanks; "[" elsewhere,
// comments, a header's trailing text and every kind of line break.
const std::string Tricky =
    "; lead\r\n"
    "[A] trailing\r\n"
    "k1 = v [not] a header\r\n"
    "  ;k2=comment\r"
    "x[B]=inside a value\n"
    " \t[B]\n"
    "[broken\n"
    "k2=two\n"
    "=no key\n"
    "\v[C]\r"
    "k3=three\r"
    "k3=second";

TEST(IniUnreadSections, ReadAndWriteBackAsLinesWould) {
    TIniDocument doc = TIniDocument::Parse(Tricky);
    EXPECT_EQ(doc.SectionNames(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(KeysOf(doc, "a"), (TPairs{{"k1", "v [not] a header"}, {"x[B]", "inside a value"}}));
    EXPECT_EQ(KeysOf(doc, "B"), (TPairs{{"k2", "two"}}));
    EXPECT_EQ(KeysOf(doc, "C"), (TPairs{{"k3", "three"}, {"k3", "second"}}));
    EXPECT_EQ(doc.KeyCount("A"), 2u);
    EXPECT_EQ(doc.KeyCount("C"), 2u);
    EXPECT_EQ(doc.Read("C", "K3"), "three");
    EXPECT_EQ(doc.LineBreak(), "\r\n");
    EXPECT_EQ(doc.Serialize(), Tricky);
    // Visited through every way in, it still writes back the same bytes.
    EXPECT_EQ(doc.KeyNames("B"), (std::vector<std::string>{"k2"}));
    EXPECT_EQ(doc.Serialize(), Tricky);
}

TEST(IniUnreadSections, EditsOfSectionsNeverVisitedKeepEveryOtherByte) {
    TIniDocument doc = TIniDocument::Parse(Tricky);
    const TIniDocument untouched = doc;
    ASSERT_TRUE(doc.Write("A", "k1", "changed"));
    ASSERT_TRUE(doc.Write("C", "k4", "four"));
    doc.DeleteKey("B", "k2");
    ASSERT_TRUE(doc.Write("D", "k", "v"));
    EXPECT_EQ(doc.Serialize(),
              "; lead\r\n[A] trailing\r\nk1 = changed\r\n  ;k2=comment\rx[B]=inside a value\n \t[B]\n[broken\n"
              "=no key\n\v[C]\rk3=three\rk3=second\r\nk4=four\r\n[D]\r\nk=v\r\n");
    EXPECT_EQ(doc.KeyCount("B"), 0u);
    // The copy taken before shares the text, not the edits.
    EXPECT_EQ(untouched.Serialize(), Tricky);
    EXPECT_EQ(untouched.Read("A", "k1"), "v [not] a header");
    doc.EraseSection("c");
    EXPECT_FALSE(doc.HasSection("C"));
    EXPECT_EQ(doc.Read("D", "k"), "v");
}

TEST(IniUnreadSections, SharedTextOutlivesItsFirstOwner) {
    auto text = std::make_shared<const std::string>("[S]\nk=v\n[T]\nj=w");
    TIniDocument doc = TIniDocument::ParseShared(text, *text);
    text.reset();
    EXPECT_EQ(doc.Read("T", "j"), "w");
    ASSERT_TRUE(doc.Write("T", "n", "m"));
    EXPECT_EQ(doc.Serialize(), "[S]\nk=v\n[T]\nj=w\nn=m\n");
}

// The layout a program writes is read without the general rules, and must
// read as the general rules read it; anything else is left to them.
TEST(IniUnreadSections, ExactLayoutReadsAsTheGeneralRulesOrDeclines) {
    constexpr std::string_view Keys[] = {"ONE", "TWO", "THREE"};
    const std::string written = "[S]\nONE=1\nTWO=  \nTHREE=a = b\n[T]\nONE=x\n";
    struct Case {
        std::string Text;
        size_t Expected;  // keys read, or NotThatLayout
    };
    const size_t No = TIniDocument::NotThatLayout;
    const Case cases[] = {
        {"[S]\nONE=1\nTWO=2\nTHREE=a = b\n[T]\n", 3},
        {"[S]\nONE=1\nTWO=\n[T]\n", 2},          // the last keys left out
        {"[S]\nONE=1\nTWO=2\nTHREE=3", 3},        // the text's last line, without a break
        {"[S]\n[T]\n", 0},
        {"[S]\none=1\n", No},                      // spelled otherwise
        {"[S]\nONE =1\n", No},                     // blanks the general rules trim
        {"[S]\nONE= 1\n", No},
        {"[S]\nONE=1 \n", No},
        {"[S]\nONE=1\n\n", No},                    // a blank line
        {"[S]\nONE=1\n;c\n", No},                  // a comment
        {"[S]\nTWO=2\nONE=1\n", No},              // another order
        {"[S]\nONE=1\nONE=2\n", No},              // twice
        {"[S]\nONE=1\nFOUR=4\n", No},             // a key not in the layout
        {"[S]\nONEX=1\n", No},
        {"[S]\r\nONE=1\r\n", No},                  // CR in the text
        {"[T]\n", No},                              // no such section
        {"[S]\nONE=1\n[S]\nTWO=2\n", 1},          // the first section of the name counts
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        const TIniDocument doc = TIniDocument::Parse(c.Text);
        std::string_view values[3];
        size_t cursor = 0;
        const size_t read = doc.ReadExactLayout("S", cursor, Keys, 3, values);
        ASSERT_EQ(read, c.Expected);
        if (read == No) {
            EXPECT_EQ(cursor, 0u);
            continue;
        }
        // The general reading: the first line of each key, in file order.
        TPairs general = KeysOf(doc, "S");
        ASSERT_EQ(general.size(), read);
        for (size_t k = 0; k < read; ++k) {
            EXPECT_EQ(general[k].first, Keys[k]);
            EXPECT_EQ(general[k].second, values[k]);
        }
    }
    // A section edited in memory has lines of its own: left to the general rules.
    TIniDocument edited = TIniDocument::Parse(written);
    edited.Write("S", "ONE", "2");
    std::string_view values[3];
    size_t cursor = 0;
    EXPECT_EQ(edited.ReadExactLayout("S", cursor, Keys, 3, values), No);
}

class MappedFileTest : public ::testing::Test {
protected:
    std::string Path() const { return Dir / "data.ini"; }
    TTempDir Dir;
};

TEST_F(MappedFileTest, GivesWhatReadingGivesAndRefusesWhatItRefuses) {
    const std::string bytes = "[S]\r\nk=v\r\n" + std::string(10000, 'x');
    WriteFileBytes(Path(), bytes);
    std::shared_ptr<const TFileBytes> mapped;
    TFileIdentity identity;
    ASSERT_EQ(MapRegularFile(Path(), mapped, 1 << 20, &identity, nullptr), TFileRead::Ok);
    EXPECT_EQ(mapped->Bytes(), bytes);
    EXPECT_EQ(identity, FileIdentityOf(Path()));

    WriteFileBytes(Path(), "");
    ASSERT_EQ(MapRegularFile(Path(), mapped, 1 << 20, nullptr, nullptr), TFileRead::Ok);
    EXPECT_TRUE(mapped->Bytes().empty());

    std::string error;
    EXPECT_EQ(MapRegularFile(Dir / "none", mapped, 1 << 20, nullptr, &error), TFileRead::Missing);
    WriteFileBytes(Path(), "12345");
    EXPECT_EQ(MapRegularFile(Path(), mapped, 4, nullptr, &error), TFileRead::Refused);
    EXPECT_NE(error.find("larger than"), std::string::npos) << error;
    const std::string fifo = Dir / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(MapRegularFile(fifo, mapped, 1 << 20, nullptr, &error), TFileRead::Refused);
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    EXPECT_FALSE(mapped);
}

TEST_F(MappedFileTest, ReadOnlyFilesReadAsWritableOnesInEveryEncoding) {
    const std::string text = "[S]\r\nk=caf\xC3\xA9\r\n[T]\r\nj=\xFF\r\n";
    for (TTextEncoding encoding :
         {TTextEncoding::Utf8, TTextEncoding::Utf8Bom, TTextEncoding::Utf16LeBom, TTextEncoding::Utf16BeBom}) {
        SCOPED_TRACE(static_cast<int>(encoding));
        WriteFileBytes(Path(), EncodeText(text, encoding));
        TIniFile readOnly(Path(), TIniAccess::ReadOnly), writable(Path());
        ASSERT_FALSE(readOnly.ReadFailed());
        EXPECT_EQ(readOnly.Encoding(), writable.Encoding());
        EXPECT_EQ(readOnly.Document().Serialize(), writable.Document().Serialize());
        EXPECT_EQ(readOnly.ReadString("S", "k", ""), "caf\xC3\xA9");
    }
    // Text it cannot give back is refused read-only too, with the same reason.
    WriteFileBytes(Path(), std::string("[\0S\0]\0\n\0", 8));
    TIniFile readOnly(Path(), TIniAccess::ReadOnly), writable(Path());
    EXPECT_TRUE(readOnly.ReadFailed());
    EXPECT_EQ(readOnly.ReadError(), writable.ReadError());
}

TEST(TextCodecAsIs, AgreesWithTheExactDecoder) {
    const std::vector<std::string> samples = {
        "", "[S]\nk=v\n", "\xEF\xBB\xBF[S]", "\xFF\xFE[\0S\0]\0", std::string("\xFF\xFE\0\0", 4),
        std::string("\0\0\xFE\xFF", 4), std::string("[\0S\0]\0\n\0", 8), "\xFE\xFF\0[", "ab\xFF\xFE"};
    for (const std::string& bytes : samples) {
        SCOPED_TRACE(bytes);
        TTextEncoding encoding = TTextEncoding::Utf16LeBom;
        size_t skip = 99;
        TDecodedText decoded;
        const bool asIs = IsFileTextAsIs(bytes, encoding, skip);
        const bool decodes = DecodeFileText(std::string(bytes), decoded);
        if (!asIs) continue;
        ASSERT_TRUE(decodes);
        EXPECT_EQ(decoded.Text, bytes.substr(skip));
        EXPECT_EQ(decoded.Encoding, encoding);
    }
}

}  // namespace
