// The WebKit view loads a local page, reports the completed navigation,
// knows whether the page has a body, and runs scripts in it.
#include <string>

#include "platform/desktop/native_widgets.h"
#include "platform/desktop/native_test_support.h"
#include "support/test_support.h"

using namespace native_test;
using testing_support::TTempDir;

namespace {

class WebView : public TNativeFixture {
protected:
    void SetUp() override {
        TNativeFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        View = CreateDesktopWebViewIn(Layer);
        View->SetBounds({0, 0, 300, 200});
        View->OnNavigateComplete = [&](TNativeWebView*, const std::string& url) { Completed.push_back(url); };
    }
    void TearDown() override {
        View.reset();
        TNativeFixture::TearDown();
    }
    std::string Run(const std::string& script) {
        bool done = false;
        std::string result;
        View->RunScript(script, [&](const std::string& r) {
            result = r;
            done = true;
        });
        EXPECT_TRUE(PumpUntil([&] { return done; }, 20000)) << script;
        return result;
    }
    std::unique_ptr<TNativeWebView> View;
    std::vector<std::string> Completed;
};

// WebKit starts its web process on the first load: generous deadlines.
TEST_F(WebView, LoadsALocalPageAndRunsScriptsInIt) {
    TTempDir dir;
    testing_support::WriteFileBytes(dir / "page.html",
                                    "<html><head><title>t</title></head><body style='margin:3px'>Hello</body></html>");
    std::string url = "file://" + dir.Path() + "/page.html";
    View->Navigate(url);
    ASSERT_TRUE(PumpUntil([&] { return !Completed.empty(); }, 30000)) << "no navigation complete";
    EXPECT_EQ(Completed.front(), url);
    EXPECT_EQ(View->Url(), url);
    EXPECT_TRUE(View->HasBody());

    EXPECT_EQ(Run("getComputedStyle(document.body).marginTop"), "3px");
    Run("document.body.style.margin = '17px'");
    EXPECT_EQ(Run("getComputedStyle(document.body).marginLeft"), "17px");
    EXPECT_EQ(Run("document.body.textContent"), "Hello");

    // The page reaches the screen inside the view's bounds.
    Run("document.documentElement.style.background = 'rgb(0,0,255)'");
    auto blueAt = [&](int x, int y) {
        GdkPixbuf* shot = gdk_pixbuf_get_from_window(gtk_widget_get_window(Window), x, y, 1, 1);
        if (!shot) return false;
        const guchar* p = gdk_pixbuf_get_pixels(shot);
        bool blue = p[0] == 0 && p[1] == 0 && p[2] == 255;
        g_object_unref(shot);
        return blue;
    };
    EXPECT_TRUE(PumpUntil([&] { return blueAt(250, 150); }, 20000)) << "the page never showed";
    EXPECT_FALSE(blueAt(350, 250)) << "the page spilled out of its bounds";
}

TEST_F(WebView, AFailedLoadCompletesWithoutABody) {
    TTempDir dir;
    std::string url = "file://" + dir.Path() + "/missing.html";
    View->Navigate(url);
    ASSERT_TRUE(PumpUntil([&] { return !Completed.empty(); }, 30000)) << "no navigation complete";
    EXPECT_FALSE(View->HasBody());
}

}  // namespace
