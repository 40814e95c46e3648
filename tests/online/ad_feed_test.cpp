// The advertisement feed without threads: the request address, the feed
// step on good and bad input, the picture cache and the delivery rule.
#include "ad_feed_fixture.h"

#include <filesystem>

#include "online/ad_item.h"

using namespace ad_test;
using testing_support::PathExists;
using testing_support::ReadFileBytes;
using testing_support::TTempDir;
using testing_support::WriteFileBytes;

namespace {

class TRecordingReader : public TAdFeedReader {
public:
    using TAdFeedReader::TAdFeedReader;
    std::vector<std::shared_ptr<TagOlvoAdInfo>> Downloads;

protected:
    void StartPictureDownload(const std::shared_ptr<TagOlvoAdInfo>& item) override { Downloads.push_back(item); }
};

class AdFeedTest : public testing::Test {
protected:
    TTempDir Dir;
    TRecordingReader Reader{Dir.Path(), "/home/someone/olvo/Languages/English.ini", "1.00.1"};
    std::vector<TagOlvoAdInfo> Delivered;

    void SetUp() override {
        Reader.OnAdReady = [this](TAdFeedReader* reader, const TagOlvoAdInfo& item) {
            EXPECT_EQ(reader, &Reader);
            Delivered.push_back(item);
        };
    }
    std::vector<std::string> Titles() const {
        std::vector<std::string> titles;
        for (const auto& item : Delivered) titles.push_back(item.Title);
        return titles;
    }
    std::string Stored() const { return ReadFileBytes(Dir / StoredFeedFileName); }
    bool HasStored() const { return PathExists(Dir / StoredFeedFileName); }
};

TEST_F(AdFeedTest, RequestAddressComesFromTheClientStateAndNeedsAServer) {
    // First run: the built-in address and feed version zero.
    EXPECT_EQ(Reader.PrepareRequest("http://127.0.0.1:8080/"),
              "http://127.0.0.1:8080/ad/ad1.php?name=opm&ver=1.00.1&lang=English.ini&adver=0");
    EXPECT_EQ(Reader.AdVer, "0");
    WriteFileBytes(Dir / AdStateFileName, R"({"adcheckurl":"http://127.0.0.1:9/feed","adver":"4 b&c"})");
    EXPECT_EQ(Reader.PrepareRequest("http://127.0.0.1:8080/"),
              "http://127.0.0.1:9/feed?name=opm&ver=1.00.1&lang=English.ini&adver=4%20b%26c");
    // A stored address must be a web address.
    WriteFileBytes(Dir / AdStateFileName, R"({"adcheckurl":"file:///etc/passwd","adver":"2"})");
    EXPECT_EQ(Reader.PrepareRequest("http://127.0.0.1:8080/").rfind("http://127.0.0.1:8080/ad/ad1.php?", 0), 0u);
    // An unreadable state only resets the version.
    for (const char* state : {"{not json", R"({"adcheckurl":"http://127.0.0.1:9/f"})", R"({"adver":7})", "[]"}) {
        WriteFileBytes(Dir / AdStateFileName, state);
        Reader.AdVer = "5";
        const std::string url = Reader.PrepareRequest("http://127.0.0.1:8080/");
        EXPECT_EQ(Reader.AdVer, "0") << state;
        EXPECT_NE(url.find("&adver=0"), std::string::npos) << url;
    }
    // No server, or no version or language, means no request.
    WriteFileBytes(Dir / AdStateFileName, R"({"adcheckurl":"http://127.0.0.1:9/feed","adver":"2"})");
    EXPECT_EQ(Reader.PrepareRequest(""), "");
    Reader.Version.clear();
    EXPECT_EQ(Reader.PrepareRequest("http://127.0.0.1:8080/"), "");
    Reader.Version = "1.00.1";
    Reader.Lang.clear();
    EXPECT_EQ(Reader.PrepareRequest("http://127.0.0.1:8080/"), "");
}

TEST_F(AdFeedTest, FeedIsShownAndStoredCompactWithNonAsciiEscaped) {
    WriteFileBytes(Dir / "cached.png", FakePng("cached"));
    const json feed = Feed(1, {Group(0, {Item(5, "Caf\u00e9 \u65e5"), Item(0, "pic", "http://127.0.0.1:9/img/cached.png"),
                                         Item(1, "fresh", "http://127.0.0.1:9/img/fresh.png")})});
    Reader.FeedStep(feed.dump(2));
    // Title-only and cached items at once; the missing picture is fetched.
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Caf\u00e9 \u65e5", "pic"}));
    EXPECT_FALSE(Delivered[0].Image.has_value());
    EXPECT_EQ(Delivered[1].Image, FakePng("cached"));
    EXPECT_EQ(Delivered[1].LocalPath, Dir / "cached.png");
    EXPECT_EQ(Delivered[0].FontColor, 0x0080FFu);  // #FF8000: red 255, green 128, blue 0
    EXPECT_EQ(Delivered[0].FontColorOver, 0xFF0000u);
    EXPECT_EQ(Delivered[0].Rect.Left, 4);
    EXPECT_EQ(Delivered[0].Rect.Width(), 192);
    EXPECT_EQ(Delivered[0].Rect.Height(), 88);
    EXPECT_EQ(Delivered[0].GroupPage, 2);
    EXPECT_EQ(Delivered[1].Link, "http://olvo.test/pic");
    ASSERT_EQ(Reader.Downloads.size(), 1u);
    EXPECT_EQ(Reader.Downloads[0]->LocalPath, Dir / "fresh.png");
    EXPECT_EQ(Stored(), feed.dump(-1, ' ', true));
    EXPECT_NE(Stored().find("Caf\\u00e9 \\u65e5"), std::string::npos) << Stored();
    EXPECT_EQ(Stored().find('\n'), std::string::npos);
    EXPECT_EQ(Reader.AdVer, "9");
    EXPECT_EQ(Reader.Lang, "English");
    EXPECT_EQ(Reader.AdId, "A17");
    EXPECT_EQ(Reader.Refresh, 3600);
    EXPECT_EQ(Reader.CheckUrl, "http://olvo.test/ad/ad1.php");
    EXPECT_EQ(Reader.Groups.at(0)->FirstLife, 30);
}

TEST_F(AdFeedTest, MsgZeroShowsTheStoredFeedFromTheCache) {
    Reader.FeedStep(R"({"msg":0,"adgroup":[]})");  // nothing stored yet: nothing shown
    EXPECT_TRUE(Delivered.empty());
    EXPECT_FALSE(HasStored());
    WriteFileBytes(Dir / "a.png", FakePng("a"));
    WriteFileBytes(Dir / StoredFeedFileName,
                   Feed(1, {Group(0, {Item(0, "stored", "http://127.0.0.1:9/a.png")})}).dump(-1, ' ', true));
    const std::string before = Stored();
    Reader.FeedStep(R"({"msg":0})");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"stored"}));
    EXPECT_TRUE(Reader.Downloads.empty());
    EXPECT_EQ(Stored(), before);
}

TEST_F(AdFeedTest, MsgTwoDropsTheAdsAndKeepsTheStoredFeed) {
    Reader.FeedStep(Feed(1, {Group(0, {Item(1, "p", "http://127.0.0.1:9/p.png")})}).dump());
    const std::string stored = Stored();
    ASSERT_EQ(Reader.Downloads.size(), 1u);
    const auto pending = Reader.Downloads[0];
    Reader.FeedStep(R"({"msg":2})");
    EXPECT_TRUE(Reader.Cleared);
    EXPECT_TRUE(Reader.Groups.empty());
    EXPECT_EQ(Stored(), stored);
    // A picture that arrives for a dropped item is not shown.
    Reader.PictureDownloaded(pending, true, FakePng("late"));
    EXPECT_TRUE(Delivered.empty());
}

TEST_F(AdFeedTest, OnlyMessagesOneAndThreeStoreTheFeed) {
    for (const auto& [msg, stored] : std::vector<std::pair<int, bool>>{{1, true}, {3, true}, {7, false}}) {
        SCOPED_TRACE(msg);
        std::filesystem::remove(Dir / StoredFeedFileName);
        Delivered.clear();
        Reader.FeedStep(Feed(msg, {Group(0, {Item(5, "once")})}).dump());
        ASSERT_EQ(Titles(), (std::vector<std::string>{"once"}));
        EXPECT_EQ(Delivered[0].Link, "http://olvo.test/once");
        EXPECT_EQ(HasStored(), stored);
    }
}

TEST_F(AdFeedTest, KindOneGroupsShowTheirFirstItemOnly) {
    for (const char* name : {"a.png", "b.png", "c.png"}) WriteFileBytes(Dir / name, FakePng(name));
    const json items = {Item(0, "a", "http://h.test/a.png"), Item(0, "b", "http://h.test/b.png"),
                        Item(0, "c", "http://h.test/c.png")};
    Reader.FeedStep(Feed(1, {Group(1, items), Group(0, items)}).dump());
    // The tile ends on the last item handed out: "c" of the kind-0 group.
    EXPECT_EQ(Titles(), (std::vector<std::string>{"a", "a", "b", "c"}));
}

TEST_F(AdFeedTest, DownloadedPicturesAreHandedOutWhenTheyArrive) {
    Reader.FeedStep(Feed(1, {Group(1, {Item(0, "first", "http://h.test/1.png"), Item(0, "second", "http://h.test/2.png")})})
                        .dump());
    ASSERT_EQ(Reader.Downloads.size(), 2u);
    Reader.PictureDownloaded(Reader.Downloads[1], true, FakePng("2"));  // kind 1, not first: held back
    Reader.PictureDownloaded(Reader.Downloads[0], false, "");           // failed: never shown
    EXPECT_TRUE(Delivered.empty());
    Reader.PictureDownloaded(Reader.Downloads[0], true, FakePng("1"));
    ASSERT_EQ(Delivered.size(), 1u);
    EXPECT_EQ(Delivered[0].Image, FakePng("1"));
}

TEST_F(AdFeedTest, BadItemEndsTheStepAndStoresNothing) {
    WriteFileBytes(Dir / "bad.png", "GIF89a not a png");
    std::vector<json> broken = {Item(5, "x"), Item(0, "bad", "http://h.test/bad.png")};  // a damaged cached picture
    broken[0].erase("fontcolorover");
    const std::vector<std::pair<const char*, json>> changes = {
        {"align", 1.5},          {"align", "5"},        {"fontsize", 99999999999LL},
        {"fontsize", -3000000000LL}, {"title", 12},     {"rect", json::array({1, 2, 3, 4})},
        {"fontcolor", "#GG0000"}, {"fontcolor", "#FF80"}, {"life", nullptr},
    };
    for (const auto& [member, value] : changes) {
        broken.push_back(Item(5, "x"));
        broken.back()[member] = value;
    }
    for (const json& item : broken) {
        SCOPED_TRACE(item.dump());
        Delivered.clear();
        Reader.FeedStep(Feed(1, {Group(0, {Item(5, "good"), item, Item(5, "after")})}).dump());
        EXPECT_EQ(Titles(), (std::vector<std::string>{"good"}));
        EXPECT_FALSE(HasStored());
    }
    // The damaged picture is fetched again next time, not failed on for ever.
    EXPECT_FALSE(PathExists(Dir / "bad.png"));
}

TEST_F(AdFeedTest, UnparsableFeedsAndBadGroupsAreAbsorbed) {
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    std::vector<std::string> bodies = {"{", "null", "[1,2]", "{\"msg\":\"1\"}", "{\"msg\":1e40}",
                                       "{\"msg\":2147483648}", "{\"msg\":1,\"x\":" + deep + "}", deep};
    for (const json& group : {json("text"), json{{"kind", 0}, {"page", 1}}, json{{"kind", 0}, {"page", 1}, {"adinfo", 3}},
                              json{{"kind", 4294967296LL}, {"page", 1}, {"adinfo", json::array()}}})
        bodies.push_back(Feed(1, {group}).dump());
    for (const std::string& body : bodies) {
        SCOPED_TRACE(body.substr(0, 60));
        Reader.FeedStep(body);
        EXPECT_TRUE(Delivered.empty());
        EXPECT_FALSE(Reader.Cleared);
        EXPECT_FALSE(HasStored());
    }
}

TEST_F(AdFeedTest, LegacyBytesInTextsAreReadAsLatin1) {
    std::string body = Feed(3, {Group(0, {Item(5, "TITLE")})}).dump();
    const std::string member = "\"title\":\"TITLE\"";
    ASSERT_NE(body.find(member), std::string::npos);
    body.replace(body.find(member), member.size(), "\"title\":\"Caf\xE9\"");
    Reader.FeedStep(body);
    ASSERT_EQ(Delivered.size(), 1u);
    EXPECT_EQ(Delivered[0].Title, "Caf\u00e9");
}

TEST_F(AdFeedTest, MissingTopLevelMembersStopOnlyTheirOwnReading) {
    json feed = Feed(7, {Group(0, {Item(5, "x")})});
    feed["adver"] = 3;  // wrong type: the members after it are not read
    Reader.FeedStep(feed.dump());
    EXPECT_EQ(Reader.Lang, "English");
    EXPECT_EQ(Reader.AdVer, "0");
    EXPECT_EQ(Reader.Refresh, 86400);
    EXPECT_TRUE(Delivered.empty());
}

TEST_F(AdFeedTest, PicturesWithoutAUsableFileNameAreNotCached) {
    Reader.FeedStep(Feed(3, {Group(0, {Item(0, "dir", "http://h.test/img/"), Item(0, "up", "http://h.test/..")})}).dump());
    ASSERT_EQ(Reader.Downloads.size(), 2u);
    EXPECT_EQ(Reader.Downloads[0]->LocalPath, "");
    EXPECT_EQ(Reader.Downloads[1]->LocalPath, "");
}

TEST(AdItem, ColourRule) {
    EXPECT_EQ(ParseAdColour("#FF8000"), 0x0080FFu);
    EXPECT_EQ(ParseAdColour("x0000ff"), 0xFF0000u);  // the first character is skipped whatever it is
    EXPECT_EQ(ParseAdColour("#123456789"), 0x563412u);
    EXPECT_EQ(ParseAdColour(""), 0u);
    EXPECT_EQ(ParseAdColour("#FF80"), std::nullopt);
    EXPECT_EQ(ParseAdColour("#FF80 0"), std::nullopt);
    EXPECT_EQ(ParseAdColour("#-10000"), std::nullopt);
}

TEST(AdItem, PictureFileNames) {
    EXPECT_EQ(AdPictureFileName("http://h.test/img/a1.png"), "a1.png");
    EXPECT_EQ(AdPictureFileName("a1.png"), "a1.png");
    EXPECT_EQ(AdPictureFileName("http://h.test/p.php?id=3"), "p.php?id=3");
    EXPECT_EQ(AdPictureFileName("http://h.test/img/"), "");
    EXPECT_EQ(AdPictureFileName("http://h.test/."), "");
    // The feed's own files are never a picture's cache file.
    EXPECT_EQ(AdPictureFileName("http://h.test/UpdateInfo.txt"), "");
    EXPECT_EQ(AdPictureFileName("Ad.txt"), "");
    EXPECT_EQ(AdPictureFileName(".."), "");
    EXPECT_EQ(AdPictureFileName(std::string("a\0b.png", 7)), "");
}

TEST(AdItem, TileTakesTheItem) {
    TAdInfo tile;
    EXPECT_EQ(tile.Type, -1);
    TagOlvoAdInfo item;
    item.Align = AdTitleBelowPicture;
    item.Frame = 2;
    item.Image = std::string("png");
    item.Rect = {10, 20, 110, 70};
    item.Link = "https://olvo.test/x";
    item.Title = "T";
    item.FontColorOver = 0xFF;
    ApplyAdItem(tile, item);
    EXPECT_EQ(tile.Picture, std::optional<std::string>("png"));
    EXPECT_EQ(tile.Left, 10);
    EXPECT_EQ(tile.Top, 20);
    EXPECT_EQ(tile.Width, 100);
    EXPECT_EQ(tile.Height, 50);
    EXPECT_EQ(tile.Type, 1);
    EXPECT_EQ(tile.Frame, 2);
    EXPECT_EQ(tile.Link, "https://olvo.test/x");
    EXPECT_EQ(tile.FontColorOver, 0xFFu);

    item.Image.reset();
    item.Align = AdPictureStretched;
    ApplyAdItem(tile, item);
    EXPECT_EQ(tile.Picture, std::optional<std::string>(""));  // an empty picture

    item.Align = AdTitleOnly;
    item.Frame = 9;
    ApplyAdItem(tile, item);
    EXPECT_FALSE(tile.Picture.has_value());
    EXPECT_EQ(tile.Frame, 2);  // not taken from title-only items

    tile.Picture = "kept";
    item.Align = 8;
    item.Link = "file:///home/someone/.bashrc";
    ApplyAdItem(tile, item);
    EXPECT_EQ(tile.Picture, std::optional<std::string>("kept"));
    EXPECT_EQ(tile.Type, 8);
    EXPECT_EQ(tile.Link, "");
}

TEST_F(AdFeedTest, ExampleServerFeedHasEveryLayout) {
    const std::string folder = testing_support::SourceDir() + "/examples/server/";
    Reader.FeedStep(ReadFileBytes(folder + "ad/ad1.php"));
    // The title-only group shows its first item at once; every picture is
    // fetched, and each has its drawing beside the feed.
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Thank you for using Olvo Reminder!"}));
    std::vector<int> layouts;
    for (const auto& item : Reader.Downloads) {
        layouts.push_back(item->Align);
        const std::string name = AdPictureFileName(item->ImgSrc);
        EXPECT_TRUE(PathExists(folder + "ad/svg/" + name.substr(0, name.size() - 4) + ".svg")) << name;
        EXPECT_EQ(item->ImgSrc.rfind("http://127.0.0.1:8080/ad/img/", 0), 0u) << item->ImgSrc;
    }
    EXPECT_EQ(layouts, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_TRUE(HasStored());
}

}  // namespace
