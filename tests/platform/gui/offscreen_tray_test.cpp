// The offscreen tray icon model: a tray a test makes appear and go away,
// reported once per change, and the picture set a window hands it.
#include "gui_fixture.h"

TEST_F(GuiTest, TrayIconReportsTheTrayComingAndGoing) {
    auto tray = Host.CreateTrayIcon();
    auto* model = Host.TrayIcons.Last();
    std::vector<bool> seen;
    tray->OnTrayChanged = [&](TTrayIcon* sender) {
        EXPECT_EQ(sender, tray.get());
        seen.push_back(sender->TrayAvailable());
    };
    EXPECT_TRUE(tray->TrayAvailable()) << "the offscreen desktop has a tray unless a test removes it";
    EXPECT_FALSE(tray->Embedded()) << "available is not shown";
    model->SetTrayPresent(false);
    model->SetTrayPresent(false);
    tray->SetVisible(true);
    EXPECT_FALSE(tray->Embedded());
    model->SetTrayPresent(true);
    EXPECT_TRUE(tray->Embedded());
    EXPECT_EQ(seen, (std::vector<bool>{false, true})) << "one report per change";
}

TEST_F(GuiTest, TrayIconKeepsThePictureSetAndShowsTheLargest) {
    auto tray = Host.CreateTrayIcon();
    auto* model = Host.TrayIcons.Last();
    tray->SetImages({TBitmap32(16, 16), TBitmap32(48, 48), TBitmap32(24, 24)});
    ASSERT_EQ(model->Images.size(), 3u);
    EXPECT_EQ(model->Image.Width(), 48);
    tray->SetImages({});
    EXPECT_TRUE(model->Image.Empty());
    tray->SetImage(TBitmap32(32, 32));
    EXPECT_EQ(model->Image.Width(), 32);
}
