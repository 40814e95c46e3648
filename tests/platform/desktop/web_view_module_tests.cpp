// The web view's module: found beside the program or in the installed
// module folder, opened only when the first web view is made (until then
// the process maps no WebKit), and a missing or foreign module gives no
// view rather than a failure.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "desktop_fixture.h"
#include "online/local_http_server.h"
#include "platform/desktop/web_view_module.h"
#include "platform/gui/form.h"
#include "support/test_support.h"

namespace {

bool WebKitMapped() {
    std::ifstream maps("/proc/self/maps");
    const std::string text((std::istreambuf_iterator<char>(maps)), std::istreambuf_iterator<char>());
    return text.find("libwebkit2gtk") != std::string::npos;
}

std::string BuiltModule() { return std::string(OLVO_BIN_DIR) + "/" + WebViewModuleFile; }

TEST(WebViewModule, IsLookedForBesideTheProgramThenInTheInstalledModuleFolder) {
    EXPECT_EQ(WebViewModulePaths("/opt/olvo/bin/olvo-reminder"),
              (std::vector<std::string>{"/opt/olvo/bin/libolvo_webview.so",
                                        "/opt/olvo/lib/olvo-reminder/libolvo_webview.so"}));
    EXPECT_TRUE(WebViewModulePaths("").empty());
}

TEST(WebViewModule, AMissingOrForeignModuleGivesNoEntry) {
    // libm is a real library without our entry point.
    EXPECT_EQ(OpenWebViewModule({"/nonexistent/libolvo_webview.so", "libm.so.6"}), nullptr);
    EXPECT_EQ(OpenWebViewModule({}), nullptr);
}

TEST(WebViewModule, TheInstalledLayoutIsFound) {
    ASSERT_TRUE(std::filesystem::exists(BuiltModule())) << "the build puts the module beside the programs";
    testing_support::TTempDir root;
    std::filesystem::create_directories(root / "bin");
    std::filesystem::create_directories(root / "lib/olvo-reminder");
    std::filesystem::copy_file(BuiltModule(), root / (std::string("lib/olvo-reminder/") + WebViewModuleFile));
    EXPECT_NE(OpenWebViewModule(WebViewModulePaths(root / "bin/olvo-reminder")), nullptr);
}

// Runs in a process of its own (a death test's child starts afresh), so
// that no earlier test has loaded WebKit. Exits 0 when every step holds,
// else names the failed step.
[[noreturn]] void LoadPageInFreshProcess() {
    auto fail = [](const char* step) {
        std::fprintf(stderr, "step failed: %s\n", step);
        std::fflush(stderr);
        _exit(1);
    };
    // Xvfb has no GL; WebKit draws without its compositor there.
    setenv("WEBKIT_DISABLE_COMPOSITING_MODE", "1", 1);
    if (!StartGtkOnce()) fail("no display");
    TLocalHttpServer server;
    server.Route("/news/msg.html",
                 HttpResponse(200, "<html><body style='margin:5px'>Fresh news</body></html>",
                              "Content-Type: text/html\r\n"));
    TDesktopHost host;
    TApplication app(host);
    TForm* form = app.CreateForm<TForm>();
    form->SetBounds(40, 40, 320, 240);
    form->Show();
    PumpUntil([] { return false; }, 200);
    if (WebKitMapped()) fail("WebKit mapped before any web view was made");

    std::unique_ptr<TNativeWebView> view = host.CreateWebView(*form);
    if (!view) fail("no web view");
    if (!WebKitMapped()) fail("the web view works without WebKit mapped?");
    view->SetBounds(Bounds(0, 0, 320, 240));
    bool complete = false;
    view->OnNavigateComplete = [&](TNativeWebView*, const std::string&) { complete = true; };
    view->Navigate(server.Base() + "news/msg.html");
    if (!PumpUntil([&] { return complete; }, 30000)) fail("no navigation complete");
    if (!view->HasBody()) fail("the page has no body");
    std::string text;
    bool answered = false;
    view->RunScript("document.body.textContent", [&](const std::string& result) {
        text = result;
        answered = true;
    });
    if (!PumpUntil([&] { return answered; }, 20000)) fail("no script answer");
    if (text != "Fresh news") fail("the page's text differs");
    if (server.RequestCount("/news/msg.html") < 1) fail("the server saw no request");
    view.reset();
    _exit(0);
}

TEST(WebViewModule, WebKitIsMappedOnlyOnceAViewIsMadeAndThenLoadsALocalPage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(LoadPageInFreshProcess(), testing::ExitedWithCode(0), "");
}

}  // namespace
