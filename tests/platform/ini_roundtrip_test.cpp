// A rewrite changes the lines it was asked to change and nothing else, in
// every encoding and line-break style; files it cannot use are left alone.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include "platform/ini_file.h"
#include "platform/text_codec.h"
#include "support/test_support.h"

using testing_support::ReadFileBytes;
using testing_support::TTempDir;
using testing_support::WriteFileBytes;

namespace {

// Every line kind the reader must keep: a comment before the first section,
// text after a section's "]", blanks around "=", a malformed line, a key
// without value, and a description in GBK (not valid UTF-8).
std::string SampleLines(const std::string& br) {
    return "; kept comment" + br + "[CONFIG] ; settings" + br + "Language = German " + br + "not a key line" + br +
           "[UNFINISHED]" + br + "R20260101080000=\xC2\xF2\xC5\xA3\xC4\xCC" + br + "R20260101090000=tea" + br +
           "[R20260101090000]PERIOD=9" + br + "PERIOD=1" + br + "VOICE=" + br + "=no key" + br;
}

struct TStyle {
    const char* Name;
    std::string Break;
    TTextEncoding Encoding;
};

class IniRoundTripTest : public ::testing::TestWithParam<TStyle> {
protected:
    std::string Path() const { return Dir / "data.ini"; }
    TTempDir Dir;
};

TEST_P(IniRoundTripTest, AChangeToOneValueLeavesEveryOtherByte) {
    const TStyle& style = GetParam();
    const std::string before = EncodeText(SampleLines(style.Break), style.Encoding);
    WriteFileBytes(Path(), before);
    {
        TIniFile ini(Path());
        ASSERT_FALSE(ini.ReadFailed()) << ini.ReadError();
        EXPECT_EQ(ini.Encoding(), style.Encoding);
        EXPECT_EQ(ini.ReadSection("UNFINISHED").size(), 2u);
        EXPECT_EQ(ini.ReadString("R20260101090000", "PERIOD", ""), "1") << "text after ']' is no key";
        EXPECT_EQ(ini.ReadString("CONFIG", "language", ""), "German");
        // Rewriting what a legacy-encoded value reads as keeps its bytes.
        const std::string legacy = ini.ReadString("UNFINISHED", "R20260101080000", "");
        ini.WriteString("UNFINISHED", "R20260101080000", legacy);
        ini.WriteString("UNFINISHED", "R20260101090000", "green tea");
    }
    std::string expected = SampleLines(style.Break);
    expected.replace(expected.find("=tea"), 4, "=green tea");
    EXPECT_EQ(ReadFileBytes(Path()), EncodeText(expected, style.Encoding));
}

INSTANTIATE_TEST_SUITE_P(
    Styles, IniRoundTripTest,
    ::testing::Values(TStyle{"Lf", "\n", TTextEncoding::Utf8}, TStyle{"CrLf", "\r\n", TTextEncoding::Utf8},
                      TStyle{"Cr", "\r", TTextEncoding::Utf8}, TStyle{"Utf8Bom", "\r\n", TTextEncoding::Utf8Bom},
                      TStyle{"Utf16Le", "\r\n", TTextEncoding::Utf16LeBom},
                      TStyle{"Utf16Be", "\r", TTextEncoding::Utf16BeBom}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(IniDocumentLines, MixedBreaksNewLinesAndAMissingLastBreak) {
    TIniDocument doc = TIniDocument::Parse("[A]\r\nx=1\ny=2\rz=3");
    EXPECT_EQ(doc.KeyNames("A"), (std::vector<std::string>{"x", "y", "z"}));
    EXPECT_EQ(doc.Serialize(), "[A]\r\nx=1\ny=2\rz=3");
    doc.Write("A", "w", "4");   // new lines take the first break of the text
    doc.Write("B", "v", "5");
    EXPECT_EQ(doc.Serialize(), "[A]\r\nx=1\ny=2\rz=3\r\nw=4\r\n[B]\r\nv=5\r\n");
    // A duplicate key goes with the first when deleted.
    TIniDocument dup = TIniDocument::Parse("[L]\nk=1\nK=2\nother=3\n");
    dup.DeleteKey("l", "k");
    EXPECT_EQ(dup.Serialize(), "[L]\nother=3\n");
}

TEST(TextCodecExact, Utf16KeepsUnpairedSurrogatesAndRefusesWhatItCannotGiveBack) {
    // A lone high surrogate in each byte order survives decoding and encoding.
    const std::string le("\xFF\xFE" "A\0\x3D\xD8" "B\0", 8);
    const std::string be("\xFE\xFF" "\0A\xD8\x3D" "\0B", 8);
    for (const auto& [bytes, encoding] : {std::pair{le, TTextEncoding::Utf16LeBom}, {be, TTextEncoding::Utf16BeBom}}) {
        TDecodedText decoded;
        ASSERT_TRUE(DecodeFileText(std::string(bytes), decoded));
        EXPECT_EQ(decoded.Encoding, encoding);
        EXPECT_EQ(EncodeText(decoded.Text, encoding), bytes);
    }
    TDecodedText out;
    std::string reason;
    EXPECT_FALSE(DecodeFileText(std::string("\xFF\xFE" "A\0B", 5), out, &reason)) << "odd length";
    EXPECT_FALSE(DecodeFileText(std::string("\xFF\xFE\0\0[\0\0\0", 8), out, &reason)) << "UTF-32";
    EXPECT_FALSE(DecodeFileText(std::string("[\0S\0]\0\r\0\n\0", 10), out, &reason)) << "UTF-16 without a mark";
    EXPECT_FALSE(reason.empty());
    // Stray zero bytes in an 8-bit file are kept, not a reason to refuse.
    std::string stray = "[S]\nk=v\0w\n" + std::string(200, 'x');
    stray[9] = '\0';
    ASSERT_TRUE(DecodeFileText(std::string(stray), out));
    EXPECT_EQ(out.Text, stray);
}

class IniFileRefusalTest : public ::testing::Test {
protected:
    std::string Path() const { return Dir / "data.ini"; }
    // The write is refused with the reason and the file keeps its bytes.
    void ExpectWriteRefused(const std::string& path, const std::string& reasonPart) {
        TIniFile ini(path);
        EXPECT_TRUE(ini.ReadFailed());
        EXPECT_NE(ini.ReadError().find(reasonPart), std::string::npos) << ini.ReadError();
        try {
            ini.WriteString("S", "k", "v");
            ADD_FAILURE() << "the write went through";
        } catch (const EIniFileError& e) {
            EXPECT_NE(std::string(e.what()).find("Unable to write to " + path), std::string::npos) << e.what();
        }
    }
    TTempDir Dir;
};

TEST_F(IniFileRefusalTest, UndecodableTextIsNeverReplaced) {
    const std::string bytes("[\0S\0]\0\r\0\n\0k\0=\0v\0", 16);
    WriteFileBytes(Path(), bytes);
    ExpectWriteRefused(Path(), "UTF-16 without a byte-order mark");
    EXPECT_EQ(ReadFileBytes(Path()), bytes);
}

TEST_F(IniFileRefusalTest, SpecialFilesAreRefusedWithoutBlocking) {
    ASSERT_EQ(mkfifo(Path().c_str(), 0600), 0);
    const auto start = std::chrono::steady_clock::now();
    ExpectWriteRefused(Path(), "not a regular file");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << "a FIFO must not block";
    struct stat st {};
    ASSERT_EQ(lstat(Path().c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the FIFO is not replaced by a regular file";

    // A device that never ends is refused, not read without limit.
    ExpectWriteRefused("/dev/zero", "not a regular file");
}

TEST_F(IniFileRefusalTest, FilesPastTheSizeLimitAreRefused) {
    // Sparse: costs no disk space.
    int fd = open(Path().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, static_cast<off_t>(TIniFile::MaxFileBytes) + 1), 0);
    close(fd);
    ExpectWriteRefused(Path(), "larger than 256 MiB");
}

TEST_F(IniFileRefusalTest, ReadOnlyAccessWritesNothing) {
    WriteFileBytes(Path(), "[S]\nk=1\n");
    ASSERT_EQ(chmod(Path().c_str(), 0400), 0);
    struct stat before {};
    ASSERT_EQ(stat(Path().c_str(), &before), 0);
    {
        TIniFile ini(Path(), TIniAccess::ReadOnly);
        EXPECT_FALSE(ini.ReadFailed());
        ini.WriteString("S", "k", "2");
        EXPECT_EQ(ini.ReadString("S", "k", ""), "2") << "changes stay in memory";
    }
    struct stat after {};
    ASSERT_EQ(stat(Path().c_str(), &after), 0);
    EXPECT_EQ(ReadFileBytes(Path()), "[S]\nk=1\n");
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(after.st_ino, before.st_ino);
}

}  // namespace
