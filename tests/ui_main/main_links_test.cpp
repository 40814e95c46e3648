// The main window's links: the four buttons at the bottom right open their
// pages (the share as an encoded mail link), nothing without a server; and
// "Check for Updates" with the silent check at creation, against a server
// of the test's own on 127.0.0.1: which box shows, what Yes and No do, and
// that the box never holds the check's worker.
#include <chrono>
#include <string>
#include <vector>

#include "common/about_form.h"
#include "common/about_form_links.h"
#include "main_window_fixture.h"
#include "online/local_http_server.h"
#include "online/server_address.h"
#include "online/threads/online_thread.h"
#include "online/threads/update_threads.h"
#include "online/update_check.h"
#include "skin/orb_button.h"
#include "skin/orb_label.h"

using testing_support::TEnvGuard;

namespace {

constexpr const char* UpdateRoute = "/update/ormverinfo.htm";

class MainLinksTest : public TMainWindowFixture {
protected:
    void SetUp() override {
        TMainWindowFixture::SetUp();
        AnswerEveryBox();
    }
    void TearDown() override {
        // No worker may report to an application that is gone.
        EXPECT_TRUE(PumpUntil([] { return TOnlineThread::LiveCount() == 0; }));
        if (AboutWindow) App.FreeForm(AboutWindow);
        TMainWindowFixture::TearDown();
    }

    // Until the check has ended and every box it asked for is closed.
    bool CheckOver() {
        return PumpUntil([] { return !RunningUpdateCheck() && TOnlineThread::LiveCount() == 0; });
    }
    // Asks for the check with the link; its box is answered with `answer`.
    void Ask(int answer = mrOk) {
        NextAnswer = answer;
        ClickOn(*Window->lbl3);
    }
    // Until `count` boxes in all have been answered, and the check is over.
    void AwaitBoxes(size_t count = 1) {
        ASSERT_TRUE(PumpUntil([&] { return BoxAnswered(count); }));
        EXPECT_TRUE(CheckOver());
    }

    void ServeBuild(int build, const std::string& extra = "", int delayMs = 0) {
        TScriptedResponse answer = HttpResponse(200, "[VerInfo]\nbuild=" + std::to_string(build) + "\n" + extra);
        answer.DelayMs = delayMs;
        Server.Route(UpdateRoute, answer);
    }
    std::string Page() const { return Server.Base() + "get/newest.html"; }

    TfrmORMMain* OpenWithAutoUpdate(bool autoUpdate) {
        Store().AutoUpdate = autoUpdate;
        return OpenWindow();
    }

    TLocalHttpServer Server;
    TEnvGuard ServerVariable{ServerEnvVariable, Server.Base()};
    TOpenedAddresses Opened;
};

// ---- the link buttons ----

TEST_F(MainLinksTest, EachLinkButtonOpensItsPage) {
    OpenWithAutoUpdate(false);
    for (TOrbButton* button : {Window->btn1, Window->btn2, Window->btn3, Window->btn4}) ClickOn(*button);
    const std::string base = Server.Base();
    const std::vector<std::string> expected = {base + FollowPagePath, base + UpdatesPagePath, ShareMailLink(base),
                                               base};
    EXPECT_EQ(Opened(), expected);
    // The share is an encoded mail link without recipient.
    const std::string mail = Opened()[2];
    EXPECT_EQ(mail.rfind("mailto:?subject=Please%20Try%20Olvo%20Reminder%21&body=", 0), 0u) << mail;
    EXPECT_EQ(mail.find_first_of(" <>\""), std::string::npos) << mail;
    EXPECT_NE(mail.find(PercentEncode(base)), std::string::npos) << mail;
    EXPECT_EQ(Server.RequestCount(UpdateRoute), 0);
    // Any other tag opens nothing.
    Window->btn1->Tag = 7;
    ClickOn(*Window->btn1);
    EXPECT_EQ(Opened().size(), 4u);
}

TEST_F(MainLinksTest, WithoutServerNoLinkOpens) {
    TEnvGuard none(ServerEnvVariable, std::nullopt);
    OpenWithAutoUpdate(false);
    for (TOrbButton* button : {Window->btn1, Window->btn2, Window->btn3, Window->btn4}) ClickOn(*button);
    EXPECT_TRUE(Opened().empty());
}

TEST_F(MainLinksTest, TheDataFilesServerServesTheLinksToo) {
    TEnvGuard none(ServerEnvVariable, std::nullopt);
    Store().WriteString("CONFIG", ServerConfigKey, "http://127.0.0.1:9");
    OpenWithAutoUpdate(false);
    ClickOn(*Window->btn4);
    ClickOn(*Window->btn1);
    EXPECT_EQ(Opened(), (std::vector<std::string>{"http://127.0.0.1:9/", "http://127.0.0.1:9/social/follow.html"}));
}

// ---- the check the user asks for ----

TEST_F(MainLinksTest, NewerBuildAskedYesOpensTheDownloadPageNoDoesNot) {
    OpenWithAutoUpdate(false);
    ServeBuild(CurrentBuild() + 1, "NewGetUrl=" + Page() + "\n");
    Ask(mrYes);
    AwaitBoxes(1);
    Ask(mrNo);
    AwaitBoxes(2);
    EXPECT_EQ(BoxButtonSets(), (std::vector<int>{BtnSetYesNo, BtnSetYesNo}));
    EXPECT_EQ(Opened(), std::vector<std::string>{Page()});
    EXPECT_EQ(Server.RequestCount(UpdateRoute), 2);
}

TEST_F(MainLinksTest, NoNewerBuildAskedReportsTheLatest) {
    OpenWithAutoUpdate(false);
    ServeBuild(CurrentBuild());
    Ask();
    AwaitBoxes();
    EXPECT_EQ(BoxButtonSets(), std::vector<int>{BtnSetOk});
    EXPECT_TRUE(Opened().empty());
}

TEST_F(MainLinksTest, WithoutServerAskedReportsTheLatestWithoutRequest) {
    TEnvGuard none(ServerEnvVariable, std::nullopt);
    OpenWithAutoUpdate(true);
    EXPECT_FALSE(RunningUpdateCheck());  // the silent check had nothing to ask
    Ask();
    AwaitBoxes();
    EXPECT_EQ(BoxButtonSets(), std::vector<int>{BtnSetOk});
    EXPECT_EQ(Server.RequestCount(UpdateRoute), 0);
}

TEST_F(MainLinksTest, TwoQuickClicksMakeOneCheckAndOneBox) {
    OpenWithAutoUpdate(false);
    ServeBuild(CurrentBuild(), "", 300);
    Ask();
    Ask();
    AwaitBoxes();
    EXPECT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Server.RequestCount(UpdateRoute), 1);
}

// ---- the silent check at creation ----

TEST_F(MainLinksTest, SilentCheckOffersANewerBuild) {
    ServeBuild(CurrentBuild() + 1, "NewGetUrl=" + Page() + "\n");
    NextAnswer = mrYes;
    OpenWithAutoUpdate(true);
    AwaitBoxes();
    EXPECT_EQ(BoxButtonSets(), std::vector<int>{BtnSetYesNo});
    EXPECT_EQ(Opened(), std::vector<std::string>{Page()});
}

TEST_F(MainLinksTest, SilentCheckWithNothingNewerShowsNothingAndIgnoresClicks) {
    ServeBuild(CurrentBuild(), "", 300);
    OpenWithAutoUpdate(true);
    ASSERT_TRUE(RunningUpdateCheck());
    ClickOn(*Window->lbl3);
    EXPECT_TRUE(CheckOver());
    EXPECT_TRUE(Boxes.empty());
    EXPECT_EQ(Server.RequestCount(UpdateRoute), 1);
    // Once it is over, a click asks.
    Ask();
    AwaitBoxes();
    EXPECT_EQ(BoxButtonSets(), std::vector<int>{BtnSetOk});
}

TEST_F(MainLinksTest, SilentCheckUnreachableOrSwitchedOffShowsNothing) {
    TEnvGuard unreachable(ServerEnvVariable, "http://127.0.0.1:" + std::to_string(UnusedLocalPort()) + "/");
    OpenWithAutoUpdate(true);
    EXPECT_TRUE(CheckOver());
    EXPECT_TRUE(Boxes.empty());
    App.FreeForm(Window);
    Window = nullptr;

    TEnvGuard served(ServerEnvVariable, Server.Base());
    ServeBuild(CurrentBuild() + 1);
    OpenWithAutoUpdate(false);
    EXPECT_FALSE(RunningUpdateCheck());
    // Whatever else the window started on the server has ended by now.
    EXPECT_TRUE(CheckOver());
    EXPECT_EQ(Server.RequestCount(UpdateRoute), 0);
    EXPECT_TRUE(Boxes.empty());
}

// ---- the box and the worker ----

TEST_F(MainLinksTest, TheBoxShowsAfterTheWorkerIsThrough) {
    // While the box is open, the check's worker must be able to end: a box
    // opened inside its hand-over would keep it waiting until answered.
    ServeBuild(CurrentBuild() + 1, "NewGetUrl=" + Page() + "\n");
    bool workerEndedDuringBox = false;
    bool clickIgnoredDuringBox = false;
    OnBox = [&] {
        Host.QueueAction([&] {
            workerEndedDuringBox = PumpUntil([] { return TOnlineThread::LiveCount() == 0; }, std::chrono::seconds(3));
            // The check is over, but its answer still waits: a new request
            // now would start a second check.
            Window->lbl3->OnClick(Window->lbl3);
            clickIgnoredDuringBox = !RunningUpdateCheck();
        });
    };
    OpenWithAutoUpdate(false);
    Ask(mrNo);
    AwaitBoxes();
    EXPECT_TRUE(workerEndedDuringBox);
    EXPECT_TRUE(clickIgnoredDuringBox);
    EXPECT_EQ(Server.RequestCount(UpdateRoute), 1);
    EXPECT_EQ(Boxes.size(), 1u);
}

TEST_F(MainLinksTest, WindowGoneBeforeTheAnswerShowsNoBox) {
    ServeBuild(CurrentBuild() + 1, "", 300);
    OpenWithAutoUpdate(true);
    ASSERT_TRUE(RunningUpdateCheck());
    App.FreeForm(Window);
    Window = nullptr;
    EXPECT_TRUE(CheckOver());
    EXPECT_TRUE(Boxes.empty());
    EXPECT_TRUE(Opened().empty());
}

}  // namespace
