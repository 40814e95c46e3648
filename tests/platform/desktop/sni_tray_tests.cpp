// The tray icon as a status-notifier item: it registers with the watcher
// on a private session bus, serves its properties and pixmaps, passes the
// host's clicks on, follows the watcher away and back, and falls back to
// the XEmbed tray when no watcher is there.
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/desktop/sni_tray.h"
#include "platform/desktop/tray_test_bus.h"
#include "platform/gfx/picture.h"

using namespace native_test;
using namespace tray_test;

namespace {

TBitmap32 Filled(int size, TColor32 color) {
    TBitmap32 image(size, size);
    image.FillRect(image.BoundsRect(), color);
    return image;
}

std::string StringOf(GVariant* value) {
    const bool isText = value && (g_variant_is_of_type(value, G_VARIANT_TYPE_STRING) ||
                                  g_variant_is_of_type(value, G_VARIANT_TYPE_OBJECT_PATH));
    std::string text = isText ? g_variant_get_string(value, nullptr) : "<none>";
    if (value) g_variant_unref(value);
    return text;
}

struct TPixmap {
    int Width = 0, Height = 0;
    std::vector<uint8_t> Bytes;
};

std::vector<TPixmap> PixmapsOf(GVariant* value) {
    std::vector<TPixmap> list;
    if (!value) return list;
    GVariantIter iter;
    g_variant_iter_init(&iter, value);
    int w = 0, h = 0;
    GVariant* bytes = nullptr;
    while (g_variant_iter_next(&iter, "(ii@ay)", &w, &h, &bytes)) {
        gsize n = 0;
        auto* data = static_cast<const uint8_t*>(g_variant_get_fixed_array(bytes, &n, 1));
        list.push_back({w, h, std::vector<uint8_t>(data, data + n)});
        g_variant_unref(bytes);
    }
    g_variant_unref(value);
    return list;
}

class SniTray : public ::testing::Test {
protected:
    void SetUp() override {
        if (!StartGtk()) FAIL() << "no X display (DISPLAY unset or unusable): scripts/test.sh starts Xvfb";
        ASSERT_TRUE(UsePrivateSessionBus()) << "dbus-daemon (package dbus-daemon) is needed for the tray tests";
    }
    void TearDown() override {
        Icon.reset();
        Watcher.Stop();
        Settle();
    }
    // Starts the watcher and shows an icon registered with it.
    void ShowRegistered() {
        ASSERT_TRUE(Watcher.Start());
        Icon = CreateDesktopTrayIcon();
        Icon->OnClick = [&](TTrayIcon* sender, TPoint p) {
            EXPECT_EQ(sender, Icon.get());
            Clicks.push_back(p);
        };
        Icon->OnRightButtonDown = [&](TTrayIcon*, TPoint p) { RightDowns.push_back(p); };
        Icon->SetHint("Reminders");
        Icon->SetImage(Filled(16, Color32(10, 20, 30)));
        Icon->SetVisible(true);
        ASSERT_TRUE(PumpUntil([&] { return !Watcher.Items.empty() && Icon->Embedded(); }))
            << "the item never registered";
        Service = Watcher.Items.front();
    }

    TFakeWatcher Watcher;
    std::unique_ptr<TTrayIcon> Icon;
    std::string Service;
    std::vector<TPoint> Clicks, RightDowns;
};

TEST_F(SniTray, RegistersWithTheWatcherAndServesItsProperties) {
    ASSERT_NO_FATAL_FAILURE(ShowRegistered());
    EXPECT_EQ(DesktopTrayKind(*Icon), TTrayKind::StatusNotifier);
    EXPECT_EQ(Service.rfind("org.kde.StatusNotifierItem-" + std::to_string(getpid()) + "-", 0), 0u) << Service;
    EXPECT_EQ(Watcher.Items.size(), 1u) << "registered once";

    EXPECT_EQ(StringOf(Watcher.ItemProperty(Service, "Category")), "ApplicationStatus");
    EXPECT_EQ(StringOf(Watcher.ItemProperty(Service, "Id")), "olvo-reminder");
    EXPECT_EQ(StringOf(Watcher.ItemProperty(Service, "Status")), "Active");
    EXPECT_EQ(StringOf(Watcher.ItemProperty(Service, "Menu")), "/NO_DBUSMENU");
    GVariant* isMenu = Watcher.ItemProperty(Service, "ItemIsMenu");
    ASSERT_TRUE(isMenu);
    EXPECT_FALSE(g_variant_get_boolean(isMenu));
    g_variant_unref(isMenu);
    GVariant* tip = Watcher.ItemProperty(Service, "ToolTip");
    ASSERT_TRUE(tip && g_variant_is_of_type(tip, G_VARIANT_TYPE("(sa(iiay)ss)")));
    const gchar* title = nullptr;
    g_variant_get_child(tip, 2, "&s", &title);
    EXPECT_STREQ(title, "Reminders");
    g_variant_unref(tip);
    // Only a changed tool tip is announced.
    Watcher.Signals.clear();
    Icon->SetHint("Reminders");
    Icon->SetHint("2 reminders due");
    ASSERT_TRUE(PumpUntil([&] { return !Watcher.Signals.empty(); }));
    Settle();
    EXPECT_EQ(Watcher.Signals, (std::vector<std::string>{"NewToolTip"}));

    TRect area;
    EXPECT_FALSE(TrayIconScreenArea(*Icon, area)) << "no XEmbed icon beside the item";
}

TEST_F(SniTray, IconPixmapHasEverySizeStraightArgbInNetworkOrder) {
    ASSERT_NO_FATAL_FAILURE(ShowRegistered());
    // An exact 16 and a larger, half-transparent picture the other sizes
    // are scaled from.
    Icon->SetImages({Filled(64, Color32(200, 100, 50, 128)), Filled(16, Color32(0x12, 0x34, 0x56))});
    ASSERT_TRUE(PumpUntil([&] { return !Watcher.Signals.empty(); }));
    EXPECT_EQ(Watcher.Signals.back(), "NewIcon");

    std::vector<TPixmap> pixmaps = PixmapsOf(Watcher.ItemProperty(Service, "IconPixmap"));
    ASSERT_EQ(pixmaps.size(), 5u);
    const int sizes[] = {16, 22, 24, 32, 48};
    for (size_t i = 0; i < pixmaps.size(); i++) {
        const TPixmap& p = pixmaps[i];
        SCOPED_TRACE(sizes[i]);
        EXPECT_EQ(p.Width, sizes[i]);
        EXPECT_EQ(p.Height, sizes[i]);
        ASSERT_EQ(p.Bytes.size(), size_t(sizes[i] * sizes[i] * 4));
        size_t centre = (size_t(sizes[i] / 2) * sizes[i] + sizes[i] / 2) * 4;
        if (sizes[i] == 16) {
            // Taken as it is: every pixel A, R, G, B.
            for (size_t b = 0; b < p.Bytes.size(); b += 4)
                ASSERT_EQ(std::vector<uint8_t>(p.Bytes.begin() + b, p.Bytes.begin() + b + 4),
                          (std::vector<uint8_t>{0xFF, 0x12, 0x34, 0x56}));
        } else {
            // Straight alpha: the colour is not darkened by its alpha.
            EXPECT_EQ(p.Bytes[centre], 128);
            EXPECT_NEAR(p.Bytes[centre + 1], 200, 2);
            EXPECT_NEAR(p.Bytes[centre + 2], 100, 2);
            EXPECT_NEAR(p.Bytes[centre + 3], 50, 2);
        }
    }
}

TEST_F(SniTray, ServesTheProgramsArtworkAtItsOwnSizes) {
    ASSERT_NO_FATAL_FAILURE(ShowRegistered());
    std::vector<TBitmap32> artwork;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        TBitmap32 image;
        std::string path = std::string(OLVO_BIN_DIR) + "/../generated/skin/icon_" + std::to_string(size) + ".png";
        ASSERT_TRUE(ReadPngFile(path, image)) << path;
        artwork.push_back(image);
    }
    Icon->SetImages(artwork);
    std::vector<TPixmap> pixmaps = PixmapsOf(Watcher.ItemProperty(Service, "IconPixmap"));
    ASSERT_EQ(pixmaps.size(), 5u);
    for (const TPixmap& p : pixmaps) {
        const TBitmap32* source = nullptr;
        for (const TBitmap32& image : artwork)
            if (image.Width() == p.Width) source = &image;
        ASSERT_TRUE(source) << p.Width;
        for (int y = 0; y < p.Height; y++)
            for (int x = 0; x < p.Width; x++) {
                TColor32 c = source->Pixel(x, y);
                const uint8_t* b = &p.Bytes[size_t(y * p.Width + x) * 4];
                ASSERT_EQ(TColor32(b[0]) << 24 | TColor32(b[1]) << 16 | TColor32(b[2]) << 8 | b[3], c)
                    << p.Width << " at " << x << "," << y;
            }
    }
}

TEST_F(SniTray, HostClicksReachTheHandlersWithTheirPoint) {
    ASSERT_NO_FATAL_FAILURE(ShowRegistered());
    EXPECT_TRUE(Watcher.CallItem(Service, "Activate", g_variant_new("(ii)", 120, 340)));
    EXPECT_TRUE(Watcher.CallItem(Service, "ContextMenu", g_variant_new("(ii)", 900, 20)));
    // Taken and answered, but they mean nothing here.
    EXPECT_TRUE(Watcher.CallItem(Service, "SecondaryActivate", g_variant_new("(ii)", 5, 6)));
    EXPECT_TRUE(Watcher.CallItem(Service, "Scroll", g_variant_new("(is)", 120, "vertical")));
    ASSERT_TRUE(PumpUntil([&] { return !Clicks.empty() && !RightDowns.empty(); }));
    Settle();
    EXPECT_EQ(Clicks, (std::vector<TPoint>{{120, 340}}));
    EXPECT_EQ(RightDowns, (std::vector<TPoint>{{900, 20}}));

    // A host that knows no position: the menu goes where the pointer is.
    ASSERT_TRUE(RunTool({"xdotool", "mousemove", "77", "88"}));
    EXPECT_TRUE(Watcher.CallItem(Service, "ContextMenu", g_variant_new("(ii)", 0, 0)));
    ASSERT_TRUE(PumpUntil([&] { return RightDowns.size() == 2; }));
    EXPECT_EQ(RightDowns.back(), (TPoint{77, 88}));
}

TEST_F(SniTray, RegistersAgainWithAWatcherThatReturns) {
    ASSERT_NO_FATAL_FAILURE(ShowRegistered());
    Watcher.Stop();
    ASSERT_TRUE(PumpUntil([&] { return !Icon->Embedded(); }));
    EXPECT_EQ(DesktopTrayKind(*Icon), TTrayKind::XEmbed) << "no watcher: the XEmbed tray is tried";

    ASSERT_TRUE(Watcher.Start());
    ASSERT_TRUE(PumpUntil([&] { return Watcher.Items.size() == 1 && Icon->Embedded(); }))
        << "the new watcher got no registration";
    EXPECT_EQ(Watcher.Items.front(), Service) << "the same name as before";
    EXPECT_EQ(DesktopTrayKind(*Icon), TTrayKind::StatusNotifier);
}

TEST_F(SniTray, AHiddenIconLeavesTheBus) {
    ASSERT_NO_FATAL_FAILURE(ShowRegistered());
    Icon->SetVisible(false);
    EXPECT_FALSE(Icon->Embedded());
    ASSERT_TRUE(PumpUntil([&] { return !Watcher.NameHasOwner(Service); })) << "a watcher would keep the item";
    Icon->SetVisible(true);
    ASSERT_TRUE(PumpUntil([&] { return Watcher.Items.size() == 2 && Icon->Embedded(); }));

    Icon.reset();
    ASSERT_TRUE(PumpUntil([&] { return !Watcher.NameHasOwner(Service); })) << "a freed icon leaves nothing behind";
}

TEST_F(SniTray, WithoutAWatcherTheIconDocksInTheXEmbedTray) {
    TXEmbedTray tray;
    if (!DesktopTrayHostExists()) {
        ASSERT_TRUE(tray.Start()) << "trayer (the XEmbed tray for this test) did not start";
    }
    Icon = CreateDesktopTrayIcon();
    Icon->SetImage(Filled(16, Color32(200, 40, 40)));
    EXPECT_EQ(DesktopTrayKind(*Icon), TTrayKind::XEmbed);
    Icon->SetVisible(true);
    ASSERT_TRUE(PumpUntil([&] { return Icon->Embedded(); }, 15000)) << "the icon never docked";
    TRect area;
    EXPECT_TRUE(TrayIconScreenArea(*Icon, area));

    // A watcher appearing takes the icon over; the XEmbed icon goes.
    ASSERT_TRUE(Watcher.Start());
    ASSERT_TRUE(PumpUntil([&] { return Watcher.Items.size() == 1 && Icon->Embedded(); }));
    EXPECT_EQ(DesktopTrayKind(*Icon), TTrayKind::StatusNotifier);
    EXPECT_FALSE(TrayIconScreenArea(*Icon, area));
}

// A watcher without a host shows nothing: an XEmbed tray beside it gets the
// icon until the host registers.
TEST_F(SniTray, AWatcherWithoutAHostLeavesTheIconInTheXEmbedTray) {
    TXEmbedTray tray;
    if (!DesktopTrayHostExists()) {
        ASSERT_TRUE(tray.Start()) << "trayer (the XEmbed tray for this test) did not start";
    }
    ASSERT_TRUE(Watcher.Start(false));
    Icon = CreateDesktopTrayIcon();
    Icon->SetImage(Filled(16, Color32(40, 200, 40)));
    Icon->SetVisible(true);
    ASSERT_TRUE(PumpUntil([&] { return Icon->Embedded(); }, 15000)) << "the icon never docked";
    EXPECT_EQ(DesktopTrayKind(*Icon), TTrayKind::XEmbed);
    EXPECT_TRUE(Watcher.Items.empty());

    Watcher.SetHostRegistered(true);
    ASSERT_TRUE(PumpUntil([&] { return Watcher.Items.size() == 1 && Icon->Embedded(); }));
    EXPECT_EQ(DesktopTrayKind(*Icon), TTrayKind::StatusNotifier);
}

TEST_F(SniTray, TrayAvailableFollowsWatcherHostsAndTheXEmbedTray) {
    if (DesktopTrayHostExists()) GTEST_SKIP() << "the display has an XEmbed tray of its own";
    Icon = CreateDesktopTrayIcon();
    int changes = 0;
    Icon->OnTrayChanged = [&](TTrayIcon* sender) {
        EXPECT_EQ(sender, Icon.get());
        changes++;
    };
    EXPECT_FALSE(Icon->TrayAvailable());

    // A watcher alone shows nothing; its host does.
    ASSERT_TRUE(Watcher.Start(false));
    ASSERT_TRUE(PumpUntil([&] { return DesktopTrayKind(*Icon) == TTrayKind::StatusNotifier; }));
    EXPECT_FALSE(Icon->TrayAvailable());
    Watcher.SetHostRegistered(true);
    ASSERT_TRUE(PumpUntil([&] { return Icon->TrayAvailable(); }));
    EXPECT_EQ(changes, 1);
    Watcher.SetHostRegistered(false);
    ASSERT_TRUE(PumpUntil([&] { return !Icon->TrayAvailable() && changes == 2; }));
    Watcher.Stop();

    // An XEmbed tray is noticed within the second's check.
    TXEmbedTray tray;
    ASSERT_TRUE(tray.Start()) << "trayer (the XEmbed tray for this test) did not start";
    EXPECT_TRUE(Icon->TrayAvailable());
    ASSERT_TRUE(PumpUntil([&] { return changes == 3; }, 3000));
    tray.Stop();
    ASSERT_TRUE(PumpUntil([&] { return changes == 4; }, 3000));
    EXPECT_FALSE(Icon->TrayAvailable());
}

}  // namespace
