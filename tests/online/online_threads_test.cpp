// The online checks' worker threads against a server of the test's own on
// 127.0.0.1: results arrive through the callbacks on the user-interface
// thread, one check of a kind at a time, and the ad reader's downloads end
// up in the cache.
#include <chrono>
#include <thread>

#include "ad_feed_fixture.h"
#include "local_http_server.h"
#include "online/server_address.h"
#include "online/threads/ad_reader.h"
#include "online/threads/http_read_thread.h"
#include "online/threads/news_threads.h"
#include "online/threads/update_threads.h"
#include "platform/folders.h"
#include "platform/gfx/picture.h"
#include "platform/gui/application.h"
#include "platform/offscreen/offscreen_host.h"

using namespace ad_test;
using testing_support::PathExists;
using testing_support::ReadFileBytes;
using testing_support::TTempDir;
using testing_support::WriteFileBytes;

namespace {

std::string RealPng(int width, int height) {
    TBitmap32 bitmap(width, height);
    bitmap.FillRect(TRect{0, 0, width, height}, Color32(200, 40, 10));
    std::string bytes;
    EXPECT_TRUE(WritePng(bitmap, bytes));
    return bytes;
}

class OnlineThreadsTest : public testing::Test {
protected:
    TOffscreenHost Host;
    TApplication App{Host};
    TLocalHttpServer Server;
    std::thread::id UIThread = std::this_thread::get_id();

    // Runs the user-interface side until `done`; the deadline only turns a
    // hang into a failure.
    template <class Pred>
    bool PumpUntil(Pred done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            {
                std::unique_lock lock(App.QueueMutex());
                App.QueueSignal().wait_for(lock, std::chrono::milliseconds(20));
            }
            App.ProcessMessages();
        }
        return true;
    }
    void TearDown() override {
        // No thread may outlive the application it reports to.
        EXPECT_TRUE(PumpUntil([] { return TOnlineThread::LiveCount() == 0; }));
        EXPECT_FALSE(RunningUpdateCheck());
        EXPECT_FALSE(NewsCheckRunning());
    }
};

TEST_F(OnlineThreadsTest, TextThreadHandsItsBodyOverOnTheUserInterfaceThread) {
    Server.Route("/t", HttpResponse(404, "page"));
    auto* thread = new THttpReadThread(Server.Base() + "t");
    bool reported = false;
    thread->OnTerminate = [&](TThread* sender) {
        auto* fetch = static_cast<THttpReadThread*>(sender);
        EXPECT_EQ(std::this_thread::get_id(), UIThread);
        EXPECT_TRUE(fetch->Done);
        EXPECT_EQ(fetch->Body, "page");
        reported = true;
    };
    thread->Start();
    EXPECT_TRUE(PumpUntil([&] { return reported; }));
}

TEST_F(OnlineThreadsTest, NewerBuildIsOfferedOnceWithItsPage) {
    TScriptedResponse answer = HttpResponse(200, "[VerInfo]\nbuild=54\nNewGetUrl=http://127.0.0.1:1/get.html\n");
    answer.DelayMs = 300;
    Server.Route("/update/ormverinfo.htm", answer);
    int offers = 0;
    std::string page;
    TUpdateHandlers handlers;
    handlers.OnNewBuild = [&](const TUpdateAnswer& a) {
        EXPECT_EQ(std::this_thread::get_id(), UIThread);
        EXPECT_EQ(RunningUpdateCheck() != nullptr, true);  // still running while the user is asked
        page = a.NewGetUrl;
        ++offers;
    };
    handlers.OnNoNewBuild = [] { ADD_FAILURE() << "no newer build reported"; };
    EXPECT_TRUE(StartUpdateCheck(true, Server.Base(), handlers, 53));
    // Asked again while the first check runs: ignored.
    EXPECT_FALSE(StartUpdateCheck(false, Server.Base(), handlers, 53));
    EXPECT_TRUE(PumpUntil([&] { return offers > 0 && !RunningUpdateCheck(); }));
    EXPECT_EQ(offers, 1);
    EXPECT_EQ(page, "http://127.0.0.1:1/get.html");
    EXPECT_EQ(Server.RequestCount("/update/ormverinfo.htm"), 1);
    // An answer without a page offers our download page.
    Server.Route("/update/ormverinfo.htm", HttpResponse(200, "[VerInfo]\nbuild=54\n"));
    ASSERT_TRUE(StartUpdateCheck(true, Server.Base(), handlers, 53));
    ASSERT_TRUE(PumpUntil([&] { return offers > 1 && !RunningUpdateCheck(); }));
    EXPECT_EQ(page, Server.Base() + "download.html");
}

TEST_F(OnlineThreadsTest, NoNewerBuildIsReportedOnlyWhenAsked) {
    TScriptedResponse answer = HttpResponse(200, "[VerInfo]\nbuild=53\n");
    answer.DelayMs = 300;
    Server.Route("/update/ormverinfo.htm", answer);
    int latest = 0;
    TUpdateHandlers handlers;
    handlers.OnNewBuild = [](const TUpdateAnswer&) { ADD_FAILURE(); };
    handlers.OnNoNewBuild = [&] { ++latest; };
    ASSERT_TRUE(StartUpdateCheck(true, Server.Base(), handlers, 53));
    // The user's click during the silent check is ignored, and the silent
    // check that finds nothing newer tells nothing.
    EXPECT_FALSE(StartUpdateCheck(false, Server.Base(), handlers, 53));
    ASSERT_TRUE(PumpUntil([] { return !RunningUpdateCheck(); }));
    EXPECT_EQ(latest, 0);
    Server.Route("/update/ormverinfo.htm", HttpResponse(200, "[VerInfo]\nbuild=53\n"));
    ASSERT_TRUE(StartUpdateCheck(false, Server.Base(), handlers, 53));
    ASSERT_TRUE(PumpUntil([] { return !RunningUpdateCheck(); }));
    EXPECT_EQ(latest, 1);
    // An unreachable or unset server: the latest is reported when asked.
    const size_t requests = Server.Requests().size();
    const std::string nobody = "http://127.0.0.1:" + std::to_string(UnusedLocalPort()) + "/";
    ASSERT_TRUE(StartUpdateCheck(false, nobody, handlers, 53));
    ASSERT_TRUE(PumpUntil([] { return !RunningUpdateCheck(); }));
    ASSERT_TRUE(StartUpdateCheck(false, "", handlers, 53));
    ASSERT_TRUE(PumpUntil([] { return !RunningUpdateCheck(); }));
    EXPECT_EQ(latest, 3);
    EXPECT_EQ(Server.Requests().size(), requests);
}

TEST_F(OnlineThreadsTest, OnlyUnseenNewsIsHandedOverOnce) {
    TScriptedResponse answer = HttpResponse(200, "[Msg]\nMsgID=8\nFormWidth=400\nFormHeight=300\n");
    answer.DelayMs = 300;
    Server.Route("/news/orminfo.htm", answer);
    std::vector<TNewsAnswer> shown;
    TNewsHandlers handlers;
    handlers.OnNewsReady = [&](const TNewsAnswer& a) {
        EXPECT_EQ(std::this_thread::get_id(), UIThread);
        shown.push_back(a);
    };
    ASSERT_TRUE(StartNewsCheck(7, Server.Base(), handlers));
    EXPECT_TRUE(NewsCheckRunning());
    EXPECT_FALSE(StartNewsCheck(7, Server.Base(), handlers));
    ASSERT_TRUE(PumpUntil([] { return !NewsCheckRunning(); }));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].MsgID, 8);
    EXPECT_EQ(shown[0].Url, Server.Base() + "news/msg.html");
    EXPECT_EQ(shown[0].FormWidth, 400);
    EXPECT_EQ(Server.RequestCount("/news/orminfo.htm"), 1);
    // Seen news, or no server, shows nothing.
    Server.Route("/news/orminfo.htm", HttpResponse(200, "[Msg]\nMsgID=7\n"));
    ASSERT_TRUE(StartNewsCheck(7, Server.Base(), handlers));
    ASSERT_TRUE(PumpUntil([] { return !NewsCheckRunning(); }));
    ASSERT_TRUE(StartNewsCheck(-1, "", handlers));
    ASSERT_TRUE(PumpUntil([] { return !NewsCheckRunning(); }));
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(Server.RequestCount("/news/orminfo.htm"), 2);
}

class AdReaderTest : public OnlineThreadsTest {
protected:
    TTempDir Data;
    std::string Cache = AdCacheFolder(Data.Path());
    std::vector<TagOlvoAdInfo> Delivered;

    std::unique_ptr<TOlvoADReader> MakeReader() {
        auto reader = std::make_unique<TOlvoADReader>(Cache, "/usr/share/olvo/Languages/English.ini", "1.00.1");
        reader->OnAdReady = [this](TAdFeedReader*, const TagOlvoAdInfo& item) {
            EXPECT_EQ(std::this_thread::get_id(), UIThread);
            Delivered.push_back(item);
        };
        return reader;
    }
    std::string Picture(const std::string& name) const { return Server.Base() + "img/" + name; }
    // Serves `feed` and runs a new reader until its downloads are over.
    void RunReader(const json& feed) {
        Server.Route("/ad/ad1.php", HttpResponse(200, feed.dump()));
        auto reader = MakeReader();
        ASSERT_TRUE(reader->Start(Server.Base()));
        ASSERT_TRUE(PumpUntil([&] { return reader->Pending() == 0; }));
    }
};

TEST_F(AdReaderTest, FirstRunDownloadsCachesAndShows) {
    const std::string png = RealPng(20, 10);
    Server.Route("/img/a.png", HttpResponse(200, png));
    Server.Route("/img/missing.png", HttpResponse(404, "<html>no</html>"));
    const json feed = Feed(1, {Group(0, {Item(0, "a", Picture("a.png")), Item(1, "gone", Picture("missing.png")),
                                         Item(5, "words")})});
    RunReader(feed);
    ASSERT_EQ(Delivered.size(), 2u);
    EXPECT_EQ(Delivered[0].Title, "words");  // at once: no picture to wait for
    EXPECT_EQ(Delivered[1].Title, "a");
    EXPECT_EQ(Delivered[1].Image, png);
    EXPECT_EQ(ReadFileBytes(Cache + "a.png"), png);
    EXPECT_FALSE(PathExists(Cache + "missing.png"));
    EXPECT_TRUE(PathExists(Cache + StoredFeedFileName));
    const auto requests = Server.Requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests[0].Target, "/ad/ad1.php?name=opm&ver=1.00.1&lang=English.ini&adver=0");
}

TEST_F(AdReaderTest, StoredFeedIsShownFromTheCacheWithoutDownloads) {
    const std::string png = RealPng(8, 8);
    Server.Route("/img/a.png", HttpResponse(200, png));
    RunReader(Feed(1, {Group(0, {Item(4, "a", Picture("a.png"))})}));
    ASSERT_EQ(Delivered.size(), 1u);
    Delivered.clear();
    RunReader(json{{"msg", 0}});
    ASSERT_EQ(Delivered.size(), 1u);
    EXPECT_EQ(Delivered[0].Image, png);
    EXPECT_EQ(Server.RequestCount("/img/a.png"), 1);
}

TEST_F(AdReaderTest, PicturesThatAreNotPngAreNeitherShownNorCached) {
    Server.Route("/img/fake.png", HttpResponse(200, "GIF89a....."));
    Server.Route("/img/cut.png", HttpResponse(200, RealPng(30, 30).substr(0, 40)));
    // A header claiming a vast picture is refused before decoding.
    std::string vast = RealPng(4, 4);
    vast.replace(16, 8, std::string("\x00\x01\x00\x00\x00\x01\x00\x00", 8));
    Server.Route("/img/vast.png", HttpResponse(200, vast));
    RunReader(Feed(3, {Group(0, {Item(0, "f", Picture("fake.png")), Item(0, "c", Picture("cut.png")),
                                 Item(0, "v", Picture("vast.png"))})}));
    EXPECT_TRUE(Delivered.empty());
    for (const char* name : {"fake.png", "cut.png", "vast.png"}) EXPECT_FALSE(PathExists(Cache + name)) << name;
}

TEST_F(AdReaderTest, NoServerMeansNoRequestEvenWithAStoredAddress) {
    auto reader = MakeReader();
    ASSERT_TRUE(ForceDirectories(Cache));
    WriteFileBytes(Cache + AdStateFileName, R"({"adcheckurl":")" + Server.Base() + R"(ad/ad1.php","adver":"3"})");
    EXPECT_FALSE(reader->Start(""));
    EXPECT_EQ(reader->Pending(), 0);
    App.ProcessMessages();
    EXPECT_TRUE(Server.Requests().empty());
}

TEST_F(AdReaderTest, ReaderFreedWhileFetchingDeliversNothing) {
    TScriptedResponse slow = HttpResponse(200, Feed(3, {Group(0, {Item(5, "late")})}).dump());
    slow.DelayMs = 200;
    Server.Route("/ad/ad1.php", slow);
    auto reader = MakeReader();
    ASSERT_TRUE(reader->Start(Server.Base()));
    reader.reset();
    EXPECT_TRUE(PumpUntil([&] { return Server.RequestCount("/ad/ad1.php") == 1; }));
    // Long enough for the answer to arrive and its thread to end.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(800);
    PumpUntil([&] { return std::chrono::steady_clock::now() > until; });
    EXPECT_TRUE(Delivered.empty());
}

}  // namespace
