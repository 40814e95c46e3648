// The advertisement tile on the offscreen host: the six layouts read back
// as pixels from items handed to the window's item handler, the hover
// colour, the click, pictures that do not decode, and the real reader
// against the example feed served on 127.0.0.1 (and no reader without a
// server). OLVO_AD_SHOTS set to a folder keeps screenshots of the tile.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <utility>

#include "main_window_fixture.h"
#include "common/public_funs.h"
#include "online/ad_feed.h"
#include "online/local_http_server.h"
#include "online/server_address.h"
#include "online/threads/online_thread.h"
#include "platform/gfx/picture.h"
#include "platform/gfx/text.h"
#include "skin/orb_image.h"
#include "skin/orb_panel.h"
#include "support/child_process.h"

namespace {

using testing_support::PathExists;
using testing_support::ReadFileBytes;

constexpr TColor32 Green = Color32(0, 160, 0);
constexpr TColor Ink = 0xC80000;       // rgb 0, 0, 200
constexpr TColor HoverInk = 0x0000C8;  // rgb 200, 0, 0
const TRect Whole{0, 0, 200, 100};

std::string Png(int width, int height) {
    TBitmap32 bitmap(width, height);
    bitmap.Clear(Green);
    std::string bytes;
    EXPECT_TRUE(WritePng(bitmap, bytes));
    return bytes;
}

TagOlvoAdInfo Item(int align, TAdRect rect, std::optional<std::string> image = std::nullopt,
                   const std::string& title = "HIH") {
    TagOlvoAdInfo item;
    item.Align = align;
    item.Title = title;
    item.Link = "http://olvo.test/offer";
    item.Rect = rect;
    item.FontName = "DejaVu Sans";
    item.FontSize = 12;
    item.FontColor = Ink;
    item.FontColorOver = HoverInk;
    item.Image = std::move(image);
    return item;
}

class AdTileTest : public TMainWindowFixture {
protected:
    void SetUp() override {
        TMainWindowFixture::SetUp();
        FSavedAppData = std::exchange(AppDataPath, Dir / "appdata/");
    }
    void TearDown() override {
        // No worker may report to an application that is gone.
        EXPECT_TRUE(PumpUntil([] { return TOnlineThread::LiveCount() == 0; }));
        TMainWindowFixture::TearDown();
        AppDataPath = FSavedAppData;
    }

    void Show(const TagOlvoAdInfo& item) {
        Window->AdItemReady(item);
        Host.Settle();
    }
    TBitmap32 Tile() const { return Host.Screenshot(*Window).Copy(Window->imgad->FormRect()); }
    // The smallest rect holding every tile pixel near the colour (empty: none).
    TRect Extent(TColor32 color) const {
        const TBitmap32 tile = Tile();
        TRect box{200, 100, 0, 0};
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x) {
                const TColor32 p = tile.Pixel(x, y);
                if (std::abs(RedOf(p) - RedOf(color)) + std::abs(GreenOf(p) - GreenOf(color)) +
                        std::abs(BlueOf(p) - BlueOf(color)) > 40)
                    continue;
                box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                       std::max(box.Bottom, y + 1)};
            }
        return box.Left < box.Right ? box : TRect{};
    }
    TRect InkExtent(TColor color = Ink) const { return Extent(Color32FromColor(color)); }
    static bool Within(const TRect& inner, const TRect& outer) {
        return !inner.IsEmpty() && Intersect(inner, outer) == inner;
    }
    void SaveShot(const std::string& name) const {
        if (const char* shots = std::getenv("OLVO_AD_SHOTS"))
            WritePngFile(Tile(), std::string(shots) + "/ad_tile_" + name + ".png");
    }

    testing_support::TEnvGuard FServer{ServerEnvVariable, std::nullopt};
    TOpenedAddresses Opened;

private:
    std::string FSavedAppData;
};

TEST_F(AdTileTest, EachLayoutPlacesPictureAndTitleWhereItsCodeSays) {
    OpenWindow();
    TFont font;
    font.Name = "DejaVu Sans";
    font.Size = 12;
    const int tw = TextWidth(font, "HIH", tfNoPrefix), th = TextHeight(font, "HIH", tfNoPrefix);
    const int d = std::abs(40 - TextHeight(font, "a", tfNoPrefix)) / 2;  // beside a picture 40 high
    ASSERT_GT(d, 4);
    struct TCase {
        int Align, PW, PH;
        TRect Picture, Title;  // where the picture lies, where all of the title's ink lies
    } cases[] = {
        {AdTitleRightOfPicture, 30, 40, {10, 10, 40, 50}, {40, 10 + d, 160, 90}},
        {AdTitleBelowPicture, 60, 30, {10, 10, 70, 40}, {10, 40, 130, 90}},
        {AdPictureRightOfTitle, 30, 40, {10 + tw, 10, 40 + tw, 50}, {10, 10 + d, 10 + tw, 90}},
        {AdPictureBelowTitle, 60, 30, {10, 10 + th, 70, 40 + th}, {10, 10, 130, 10 + th}},
        {AdPictureStretched, 20, 10, Whole, {}},
        {AdTitleOnly, 30, 40, {}, {10, 10, 130, 90}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE("layout " + std::to_string(c.Align));
        Show(Item(c.Align, {10, 10, 130, 90}, Png(c.PW, c.PH)));
        EXPECT_EQ(Extent(Green), c.Picture);
        if (c.Title.IsEmpty())
            EXPECT_TRUE(InkExtent().IsEmpty());
        else
            EXPECT_TRUE(Within(InkExtent(), c.Title)) << InkExtent().Left << "," << InkExtent().Top;
    }
    // A title that does not fit ends within its rect.
    Show(Item(AdTitleOnly, {20, 30, 80, 60}, std::nullopt, std::string(30, 'H')));
    EXPECT_TRUE(Within(InkExtent(), {20, 30, 80, 60}));
    EXPECT_GT(InkExtent().Right, 60) << "the rect is filled up to the cut";
}

TEST_F(AdTileTest, LayoutBesideAPictureWithoutOneShowsTheTitleAloneInTheFirstPaint) {
    OpenWindow();
    for (std::optional<std::string> none : {std::optional<std::string>(), std::optional<std::string>("")}) {
        Show(Item(AdTitleBelowPicture, {10, 10, 130, 90}, Png(60, 30)));
        Show(Item(AdTitleRightOfPicture, {10, 10, 130, 90}, none));
        EXPECT_TRUE(Extent(Green).IsEmpty());
        // Where the title-only layout puts it: from the top of the rect,
        // not half an "a" lower.
        EXPECT_LT(InkExtent().Top, 16);
    }
    Show(Item(AdPictureStretched, {0, 0, 200, 100}));
    EXPECT_TRUE(InkExtent().IsEmpty());
}

TEST_F(AdTileTest, NothingShowsBeforeTheFirstItemNorForUnknownLayouts) {
    OpenWindow();
    const TRect at = Window->imgad->FormRect();
    EXPECT_EQ(Extent(Host.PixelAt(*Window, at.Left + 100, at.Top - 4)), Whole) << "the column shows through";
    ClickOn(*Window->imgad);
    EXPECT_TRUE(Opened().empty());
    MoveTo(CentreOf(*Window->pnlList));
    Show(Item(AdTitleOnly, {10, 10, 130, 90}));
    ASSERT_FALSE(InkExtent().IsEmpty());
    Show(Item(9, {10, 10, 130, 90}, Png(20, 20)));
    EXPECT_TRUE(InkExtent().IsEmpty());
    EXPECT_TRUE(Extent(Green).IsEmpty());
}

TEST_F(AdTileTest, HoverPaintsTheOverColourAndAClickOpensOnlyAWebAddress) {
    OpenWindow();
    TagOlvoAdInfo item = Item(AdTitleOnly, {10, 10, 130, 90});
    item.Link = "https://olvo.test/offer?id=7&x=1";
    Show(item);
    EXPECT_FALSE(InkExtent(Ink).IsEmpty());
    MoveTo(CentreOf(*Window->imgad));
    Host.Settle();
    EXPECT_TRUE(InkExtent(Ink).IsEmpty());
    EXPECT_FALSE(InkExtent(HoverInk).IsEmpty());
    MoveTo(CentreOf(*Window->pnlList));
    Host.Settle();
    EXPECT_FALSE(InkExtent(Ink).IsEmpty());
    EXPECT_TRUE(InkExtent(HoverInk).IsEmpty());

    ClickOn(*Window->imgad);
    EXPECT_EQ(Opened(), std::vector<std::string>{item.Link});
    for (const char* link : {"file:///etc/passwd", "/usr/bin/xterm", "javascript:alert(1)", ""}) {
        item.Link = link;
        Show(item);
        ClickOn(*Window->imgad);
    }
    EXPECT_EQ(Opened().size(), 1u);
}

TEST_F(AdTileTest, PictureThatDoesNotDecodeLeavesTheTileAsItWas) {
    OpenWindow();
    Show(Item(AdTitleBelowPicture, {10, 10, 130, 90}, Png(60, 30)));
    const TRect picture = Extent(Green), title = InkExtent();
    std::string cut = Png(40, 40);
    cut.resize(cut.size() / 2);
    for (const std::string& bad : {std::string("GIF89a not a png"), cut, std::string("\x89PNG\r\n\x1a\n", 8)}) {
        TagOlvoAdInfo item = Item(AdPictureStretched, {0, 0, 200, 100}, bad);
        item.Link = "http://olvo.test/bad";
        Show(item);
    }
    EXPECT_EQ(Extent(Green), picture);
    EXPECT_EQ(InkExtent(), title);
    ClickOn(*Window->imgad);
    EXPECT_EQ(Opened(), std::vector<std::string>{"http://olvo.test/offer"});
}

// The example server's ad folder as the example script serves it: the feed
// pointed at the test's server, the pictures rendered from their sources.
class ExampleAdTileTest : public AdTileTest {
protected:
    void SetUp() override {
        AdTileTest::SetUp();
        const std::string folder = testing_support::SourceDir() + "/examples/server/ad/";
        for (const auto& entry : std::filesystem::directory_iterator(folder + "svg")) {
            const std::string name = entry.path().stem().string() + ".png", out = Dir / name;
            testing_support::TChildProcess render(
                {"/bin/sh", "-c", "exec rsvg-convert -o \"$0\" \"$1\"", out, entry.path().string()});
            if (render.Wait(30) == 127) GTEST_SKIP() << "rsvg-convert renders the example pictures";
            ASSERT_TRUE(PathExists(out)) << name;
            Pictures[name] = ReadFileBytes(out);
            Server.Route("/ad/img/" + name, HttpResponse(200, Pictures[name]));
        }
        Feed = ReadFileBytes(folder + "ad1.php");
        for (size_t at; (at = Feed.find("http://127.0.0.1:8080/")) != std::string::npos;)
            Feed.replace(at, 22, Server.Base());
        Server.Route("/ad/ad1.php", HttpResponse(200, Feed));
    }
    int PictureRequests() const {
        int count = 0;
        for (const auto& [name, bytes] : Pictures) count += Server.RequestCount("/ad/img/" + name);
        return count;
    }

    TLocalHttpServer Server;
    std::map<std::string, std::string> Pictures;
    std::string Feed;
};

// The feed step with the rendered pictures in place of downloads.
class TExampleFeed : public TAdFeedReader {
public:
    TExampleFeed(const std::string& cacheDir, const std::map<std::string, std::string>& pictures)
        : TAdFeedReader(cacheDir, "English.ini", "1.00.1"), FPictures(pictures) {}

protected:
    void StartPictureDownload(const std::shared_ptr<TagOlvoAdInfo>& item) override {
        PictureDownloaded(item, true, FPictures.at(AdPictureFileName(item->ImgSrc)));
    }

private:
    const std::map<std::string, std::string>& FPictures;
};

TEST_F(ExampleAdTileTest, EveryExampleItemShowsWholeInTheTile) {
    OpenWindow();
    std::vector<TagOlvoAdInfo> items;
    TExampleFeed feed(Dir.Path(), Pictures);
    feed.OnAdReady = [&](TAdFeedReader*, const TagOlvoAdInfo& item) { items.push_back(item); };
    feed.FeedStep(Feed);
    ASSERT_EQ(items.size(), 6u);
    for (const TagOlvoAdInfo& item : items) {
        SCOPED_TRACE(item.Title);
        Show(item);
        SaveShot("layout" + std::to_string(item.Align));
        TBitmap32 picture;
        if (item.Image && !item.Image->empty()) {
            ASSERT_TRUE(ReadPng(*item.Image, picture));
        }
        const TFont font{item.FontName, item.FontSize};
        const TPoint text = TextExtent(font, item.Title, tfNoPrefix);
        const int pw = picture.Width(), ph = picture.Height();
        const int d = std::abs(ph - TextHeight(font, "a", tfNoPrefix)) / 2;
        const TAdRect& r = item.Rect;
        // The title's rect and the picture's far corner as the layout
        // places them: both inside the tile, the title not cut.
        TRect title{r.Left, r.Top, r.Right, r.Bottom};
        TPoint corner{r.Left + pw, r.Top + ph};
        switch (item.Align) {
            case AdTitleRightOfPicture: title = {r.Left + pw, r.Top + d, r.Left + pw + r.Width(), r.Bottom}; break;
            case AdTitleBelowPicture: title.Top += ph; break;
            case AdPictureRightOfTitle: title.Top += d, corner.X += text.X; break;
            case AdPictureBelowTitle: corner.Y += text.Y; break;
            case AdPictureStretched: continue;
        }
        EXPECT_LE(corner.X, 200);
        EXPECT_LE(corner.Y, 100);
        title = Intersect(title, Whole);
        EXPECT_LE(text.X, title.Width());
        EXPECT_LE(text.Y, title.Height());
    }
}

TEST_F(ExampleAdTileTest, ReaderStartsWithTheWindowAndFillsTheTile) {
    testing_support::TEnvGuard server(ServerEnvVariable, Server.Base());
    OpenWindow();
    ASSERT_TRUE(PumpUntil([&] { return PictureRequests() == 5 && TOnlineThread::LiveCount() == 0; }));
    SaveShot("example_server");
    std::vector<std::string> asked;
    for (const TRecordedRequest& request : Server.Requests())
        if (request.Target.starts_with("/ad/")) asked.push_back(request.Target);
    ASSERT_FALSE(asked.empty());
    EXPECT_TRUE(asked[0].starts_with("/ad/ad1.php?name=opm&ver=") && asked[0].ends_with("&lang=None.ini&adver=0"))
        << asked[0];
    EXPECT_EQ(asked.size(), 6u) << "the feed and five pictures, once each";
    for (const auto& [name, bytes] : Pictures) EXPECT_EQ(ReadFileBytes(AdCacheFolder(AppDataPath) + name), bytes);

    // The last item handed out is on the tile: one with a picture (the
    // title-only item comes first, without waiting for a download).
    EXPECT_GE(Window->AdInfo().Type, AdTitleRightOfPicture);
    EXPECT_LE(Window->AdInfo().Type, AdPictureStretched);
    // The column's colour just above the tile (the reader may have been
    // quicker than any look at the empty tile).
    const TRect at = Window->imgad->FormRect();
    const TColor32 column = Host.PixelAt(*Window, at.Left + 100, at.Top - 4);
    const TBitmap32 tile = Tile();
    int changed = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) changed += tile.Pixel(x, y) != column;
    EXPECT_GT(changed, 500);
    ClickOn(*Window->imgad);
    ASSERT_EQ(Opened().size(), 1u);
    EXPECT_TRUE(Opened()[0].starts_with(Server.Base())) << Opened()[0];
}

TEST_F(ExampleAdTileTest, ServerFromTheDataFileStartsTheReaderToo) {
    Store().WriteString(ConfigSection, ServerConfigKey, Server.Base());
    OpenWindow();
    EXPECT_TRUE(PumpUntil([&] { return PictureRequests() == 5 && TOnlineThread::LiveCount() == 0; }));
    EXPECT_EQ(Server.RequestCount("/ad/ad1.php"), 1);
}

TEST_F(ExampleAdTileTest, NoServerNoReader) {
    OpenWindow();
    EXPECT_EQ(TOnlineThread::LiveCount(), 0);
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
    PumpUntil([&] { return std::chrono::steady_clock::now() > until; });
    EXPECT_TRUE(Server.Requests().empty());
    EXPECT_FALSE(PathExists(AdCacheFolder(AppDataPath))) << "not even the cache folder";
    EXPECT_EQ(Window->AdInfo().Type, -1);
}

}  // namespace
