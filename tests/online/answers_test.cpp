// The server address and the update and news answers: reading what the
// network sends, and what the user is then shown.
#include <gtest/gtest.h>

#include "online/news_check.h"
#include "online/server_address.h"
#include "online/update_check.h"
#include "platform/ini_file.h"
#include "support/test_support.h"

using testing_support::PathExists;
using testing_support::TEnvGuard;
using testing_support::TTempDir;
using testing_support::WriteFileBytes;

namespace {

const std::string DefaultGetUrl = "http://olvo.test/download.html";
const std::string DefaultNewsUrl = "http://olvo.test/news/msg.html";

TEST(ServerAddress, NormalisesToAWebAddressEndingInSlash) {
    EXPECT_EQ(NormalizeServerBase("http://olvo.test"), "http://olvo.test/");
    EXPECT_EQ(NormalizeServerBase("  https://olvo.test/svc/ \t"), "https://olvo.test/svc/");
    EXPECT_EQ(NormalizeServerBase("http://127.0.0.1:8080/"), "http://127.0.0.1:8080/");
    EXPECT_EQ(NormalizeServerBase(""), "");
    EXPECT_EQ(NormalizeServerBase("   "), "");
    EXPECT_EQ(NormalizeServerBase("olvo.test"), "");
    EXPECT_EQ(NormalizeServerBase("file:///srv/olvo"), "");
    EXPECT_EQ(NormalizeServerBase("ftp://olvo.test"), "");
    EXPECT_EQ(NormalizeServerBase("http://"), "");
    EXPECT_EQ(ServerUrl("", UpdateInfoPath), "");  // no base gives no addresses
    EXPECT_EQ(ServerUrl("http://olvo.test/", UpdateInfoPath), "http://olvo.test/update/ormverinfo.htm");
}

TEST(ServerAddress, EnvironmentComesBeforeConfiguration) {
    EXPECT_EQ(ServerBaseFrom("http://env.test", "http://config.test"), "http://env.test/");
    EXPECT_EQ(ServerBaseFrom(nullptr, "http://config.test"), "http://config.test/");
    // A value that is set but unusable does not hide a usable one.
    EXPECT_EQ(ServerBaseFrom("", "http://config.test"), "http://config.test/");
    EXPECT_EQ(ServerBaseFrom("not an address", "http://config.test"), "http://config.test/");
    EXPECT_EQ(ServerBaseFrom(nullptr, ""), "");
    EXPECT_EQ(ServerBaseFrom(nullptr, "file:///x"), "");
}

TEST(ServerAddress, ReadsTheDataFilesConfigSection) {
    TTempDir dir;
    WriteFileBytes(dir / "data.dat", "[CONFIG]\r\nSERVER=http://127.0.0.1:9/\r\nNEWSID=3\r\n");
    TIniFile dataFile(dir / "data.dat", TIniAccess::ReadOnly);
    {
        TEnvGuard env(ServerEnvVariable, std::nullopt);
        EXPECT_EQ(ServerBase(&dataFile), "http://127.0.0.1:9/");
        EXPECT_EQ(ServerBase(nullptr), "");
    }
    {
        TEnvGuard env(ServerEnvVariable, "https://127.0.0.1:10");
        EXPECT_EQ(ServerBase(&dataFile), "https://127.0.0.1:10/");
    }
}

TEST(UpdateAnswer, ReadsBuildPageAndInfoKeys) {
    const TUpdateAnswer answer = ParseUpdateAnswer(
        "[VerInfo]\r\nbuild=54\r\nNewGetUrl=https://olvo.test/get/1.15.54\r\n[NewInfo]\r\nFaster=1\r\nFixes=\r\n", 53,
        DefaultGetUrl);
    EXPECT_EQ(answer.NewBuild, 54);
    EXPECT_EQ(answer.NewGetUrl, "https://olvo.test/get/1.15.54");
    EXPECT_EQ(answer.NewInfo, (std::vector<std::string>{"Faster", "Fixes"}));
}

TEST(UpdateAnswer, MissingOrUnreadableValuesKeepTheDefaults) {
    struct TCase {
        const char* Text;
        int Build;
    } cases[] = {
        {"[VerInfo]\nNewGetUrl=http://olvo.test/x\n", 53},
        {"[VerInfo]\nbuild=fifty\n", 53},
        {"[VerInfo]\nbuild=54abc\n", 53},
        {"[VerInfo]\nbuild=99999999999\n", 53},
        {"[verinfo]\nBUILD=60\n", 60},  // names are compared without case
        {"[VerInfo]\nbuild= -2 \n", -2},
        {"<html><body>404 Not Found</body></html>", 53},
        {"\xEF\xBB\xBF[VerInfo]\nbuild=55\n", 55},
    };
    for (const TCase& c : cases) {
        const TUpdateAnswer answer = ParseUpdateAnswer(c.Text, 53, DefaultGetUrl);
        EXPECT_EQ(answer.NewBuild, c.Build) << c.Text;
    }
    EXPECT_EQ(ParseUpdateAnswer("[VerInfo]\nbuild=54\n", 53, DefaultGetUrl).NewGetUrl, DefaultGetUrl);
    // No answer at all keeps the build and names no page.
    const TUpdateAnswer none = ParseUpdateAnswer("", 53, DefaultGetUrl);
    EXPECT_EQ(none.NewBuild, 53);
    EXPECT_EQ(none.NewGetUrl, "");
    EXPECT_TRUE(none.NewInfo.empty());
    // Only web pages are offered.
    for (const char* page : {"file:///usr/bin/xterm", "/tmp/run.sh", "mailto:x@olvo.test", "javascript:x"}) {
        const std::string text = std::string("[VerInfo]\nbuild=54\nNewGetUrl=") + page + "\n";
        EXPECT_EQ(ParseUpdateAnswer(text, 53, DefaultGetUrl).NewGetUrl, DefaultGetUrl) << page;
    }
}

TEST(UpdateDecision, OnlyANewerBuildIsOffered) {
    EXPECT_EQ(DecideUpdate(54, 53, true), TUpdateVerdict::OfferUpdate);
    EXPECT_EQ(DecideUpdate(54, 53, false), TUpdateVerdict::OfferUpdate);
    EXPECT_EQ(DecideUpdate(53, 53, true), TUpdateVerdict::Nothing);
    EXPECT_EQ(DecideUpdate(52, 53, true), TUpdateVerdict::Nothing);
    EXPECT_EQ(DecideUpdate(53, 53, false), TUpdateVerdict::ReportLatest);
    EXPECT_EQ(DecideUpdate(52, 53, false), TUpdateVerdict::ReportLatest);
    // Signed: a negative build is older than any.
    EXPECT_EQ(DecideUpdate(-1, 0, false), TUpdateVerdict::ReportLatest);
}

TEST(NewsAnswer, ReadsTheMsgSectionWithDefaultsForMissingAndUnreadableKeys) {
    const struct {
        const char* Text;
        TNewsAnswer Expected;
    } cases[] = {
        {"[Msg]\nMsgID=7\nShowAll=0\nUrl=https://olvo.test/n/7.html\nFormWidth=400\nFormHeight=300\n",
         {7, false, "https://olvo.test/n/7.html", 400, 300}},
        {"[Msg]\nMsgID=x\nFormWidth=1e3\nUrl=file:///etc/passwd\n", {0, true, DefaultNewsUrl, 0, 0}},
        {"<html>404</html>", {0, true, DefaultNewsUrl, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        const TNewsAnswer answer = ParseNewsAnswer(c.Text, DefaultNewsUrl);
        EXPECT_EQ(answer.MsgID, c.Expected.MsgID);
        EXPECT_EQ(answer.ShowAll, c.Expected.ShowAll);
        EXPECT_EQ(answer.Url, c.Expected.Url);
        EXPECT_EQ(answer.FormWidth, c.Expected.FormWidth);
        EXPECT_EQ(answer.FormHeight, c.Expected.FormHeight);
    }
    const TNewsAnswer none = ParseNewsAnswer("", DefaultNewsUrl);
    EXPECT_EQ(none.MsgID, 0);
    EXPECT_EQ(none.Url, "");
}

TEST(NewsDecision, OnlyUnseenPositiveNumbersAreShown) {
    EXPECT_TRUE(IsNewNews(8, 7));
    EXPECT_FALSE(IsNewNews(7, 7));
    EXPECT_TRUE(IsNewNews(6, 7));  // another number, not an older one
    EXPECT_FALSE(IsNewNews(0, -1));
    EXPECT_FALSE(IsNewNews(-3, -1));
    EXPECT_TRUE(IsNewNews(1, -1));
    EXPECT_FALSE(IsNewNews(8, 7, 8));  // already shown in this run
}

TEST(NewsDecision, PageSizeNeedsBothSidesInRange) {
    EXPECT_FALSE(NewsPageSize(0, 300).has_value());
    EXPECT_FALSE(NewsPageSize(300, 0).has_value());
    EXPECT_FALSE(NewsPageSize(-5, 300).has_value());
    EXPECT_FALSE(NewsPageSize(MaxNewsPageSide + 1, 300).has_value());
    EXPECT_FALSE(NewsPageSize(2147483647, 2147483647).has_value());
    const auto size = NewsPageSize(400, 300);
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->Width, 400);
    EXPECT_EQ(size->Height, 300);
}

// The example server's answers (scripts/serve-example.sh) read as the
// program reads them.
TEST(ExampleServer, AnswersOfferANewerBuildAndANewsItem) {
    const std::string folder = testing_support::SourceDir() + "/examples/server/";
    const TUpdateAnswer update =
        ParseUpdateAnswer(testing_support::ReadFileBytes(folder + UpdateInfoPath), CurrentBuild(), DefaultGetUrl);
    EXPECT_GT(update.NewBuild, CurrentBuild());
    EXPECT_EQ(update.NewGetUrl, std::string("http://127.0.0.1:8080/") + DownloadPagePath);
    EXPECT_FALSE(update.NewInfo.empty());
    EXPECT_TRUE(PathExists(folder + DownloadPagePath));

    const TNewsAnswer news = ParseNewsAnswer(testing_support::ReadFileBytes(folder + NewsInfoPath), DefaultNewsUrl);
    EXPECT_TRUE(IsNewNews(news.MsgID, -1));
    EXPECT_EQ(news.Url, std::string("http://127.0.0.1:8080/") + NewsPagePath);
    EXPECT_TRUE(NewsPageSize(news.FormWidth, news.FormHeight).has_value());
    EXPECT_TRUE(PathExists(folder + NewsPagePath));
}

}  // namespace
