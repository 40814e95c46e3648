// The main window's news check: started at creation against the configured
// server when CheckNews is set, the news window opened with the answer, and
// the number of the page the user saw written as NEWSID when the window goes.
#include <chrono>

#include "online/local_http_server.h"
#include "online/news_form.h"
#include "online/server_address.h"
#include "online/threads/news_threads.h"
#include "online/threads/online_thread.h"
#include "ui_main/main_window_fixture.h"

namespace {

class MainNewsTest : public TMainWindowFixture {
protected:
    void SetUp() override {
        TMainWindowFixture::SetUp();
        Server.emplace();
        UseServer(Server->Base());
        // Only the news check talks to the server in these tests.
        Store().AutoUpdate = false;
    }
    void TearDown() override {
        // No worker may outlive the application it reports to.
        EXPECT_TRUE(PumpUntil([] { return TOnlineThread::LiveCount() == 0; }));
        TMainWindowFixture::TearDown();
        ServerVariable.reset();
    }

    void UseServer(const std::optional<std::string>& base) {
        ServerVariable.reset();
        ServerVariable.emplace(ServerEnvVariable, base);
    }
    void Answer(int msgId) {
        Server->Route("/news/orminfo.htm",
                      HttpResponse(200, "[Msg]\nMsgID=" + std::to_string(msgId) + "\nUrl=" + Server->Base() +
                                            "news/msg.html\n"));
    }
    // The number the user saw in an earlier run, as the data file holds it.
    void SeenBefore(int msgId) {
        Store().NewsId = msgId;
        Store().SaveConfig();
    }
    int NewsRequests() const { return Server->RequestCount("/news/orminfo.htm"); }

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
    // Opens the main window and waits for its news check to end.
    void OpenAndCheck() {
        OpenWindow();
        ASSERT_TRUE(PumpUntil([] { return !NewsCheckRunning() && TOnlineThread::LiveCount() == 0; }));
        Host.Settle();
    }
    // Completes the news page as a browser would.
    void LoadPage() {
        TOffscreenWebView* view = Host.WebViews.Last();
        ASSERT_NE(view, nullptr);
        view->ScriptHandler = [](const std::string&) { return std::string(TFrmNews::StyledAnswer); };
        view->FinishNavigation(TBody::Present);
        Host.Settle();
    }
    void CloseMainWindow() {
        App.FreeForm(Window);
        Window = nullptr;
    }

    std::optional<TLocalHttpServer> Server;
    std::optional<testing_support::TEnvGuard> ServerVariable;
};

TEST_F(MainNewsTest, UnseenNewsOpensTheNewsWindowAndItsNumberIsKept) {
    SeenBefore(4);
    Answer(5);
    OpenAndCheck();
    EXPECT_EQ(NewsRequests(), 1);
    ASSERT_NE(NewsWindow, nullptr);
    EXPECT_EQ(NewsWindow->NewsUrl, Server->Base() + "news/msg.html");
    LoadPage();
    EXPECT_TRUE(NewsWindow->Visible());
    EXPECT_EQ(ReadBack()->NewsId, 4) << "kept when the window goes, not before";
    CloseMainWindow();
    EXPECT_EQ(ReadBack()->NewsId, 5);
}

TEST_F(MainNewsTest, NewsAlreadySeenOpensNothing) {
    SeenBefore(5);
    Answer(5);
    OpenAndCheck();
    EXPECT_EQ(NewsRequests(), 1);
    EXPECT_EQ(NewsWindow, nullptr);
    EXPECT_TRUE(Host.WebViews.Items.empty());
}

TEST_F(MainNewsTest, APageThatNeverShowedLeavesTheNumberForTheNextRun) {
    SeenBefore(4);
    Answer(5);
    OpenAndCheck();
    ASSERT_NE(Host.WebViews.Last(), nullptr);
    Host.WebViews.Last()->FinishNavigation(TBody::Missing);
    Host.Settle();
    ASSERT_NE(NewsWindow, nullptr);
    EXPECT_FALSE(NewsWindow->Visible());
    CloseMainWindow();
    EXPECT_EQ(ReadBack()->NewsId, 4);
}

TEST_F(MainNewsTest, CheckNewsOffAsksNothing) {
    Store().CheckNews = false;
    Answer(5);
    OpenAndCheck();
    EXPECT_EQ(NewsRequests(), 0);
    EXPECT_EQ(NewsWindow, nullptr);
}

TEST_F(MainNewsTest, WithoutAServerNoCheckStarts) {
    UseServer(std::nullopt);
    Answer(5);
    OpenWindow();
    EXPECT_FALSE(NewsCheckRunning());
    ASSERT_TRUE(PumpUntil([] { return TOnlineThread::LiveCount() == 0; }));
    EXPECT_EQ(NewsRequests(), 0);
    EXPECT_EQ(NewsWindow, nullptr);
    CloseMainWindow();
    EXPECT_EQ(ReadBack()->NewsId, -1);
}

TEST_F(MainNewsTest, TheServerFromTheDataFileServesTooWhenNoVariableIsSet) {
    UseServer(std::nullopt);
    Store().WriteString("CONFIG", ServerConfigKey, Server->Base());
    SeenBefore(1);
    Answer(2);
    OpenAndCheck();
    EXPECT_EQ(NewsRequests(), 1);
    EXPECT_NE(NewsWindow, nullptr);
}

TEST_F(MainNewsTest, TheNewsWindowMayOutliveTheMainWindow) {
    Answer(5);
    OpenAndCheck();
    ASSERT_NE(NewsWindow, nullptr);
    CloseMainWindow();
    // The page completing afterwards reaches no freed window.
    LoadPage();
    EXPECT_TRUE(NewsWindow->Visible());
}

}  // namespace
