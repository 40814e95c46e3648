// The offscreen host's sound device: its playback ends on the virtual
// clock, so the completion notice arrives when a test advances past the
// sound's length, as a message posted to the window.
#include <cstdio>
#include <fstream>

#include "gui_fixture.h"
#include "platform/sound_device.h"

namespace {

class OffscreenSoundTest : public GuiTest {
protected:
    std::string SoundFile() {
        // An ID3 header is enough for the content check.
        const std::string path = testing::TempDir() + "offscreen_chime.mp3";
        std::ofstream(path, std::ios::binary) << std::string("ID3\x03\x00\x00\x00\x00\x00\x00", 10) << "frames";
        return path;
    }
};

TEST_F(OffscreenSoundTest, CompletionArrivesWhenTheClockPassesTheSoundsLength) {
    TForm* form = MakeForm();
    std::vector<std::pair<intptr_t, intptr_t>> notices;
    form->OnMessage = [&](TForm*, const TMessage& msg) {
        if (msg.Msg == MM_MCINOTIFY) notices.emplace_back(msg.WParam, msg.LParam);
    };
    const std::string path = SoundFile();
    Host.SoundFiles.DurationMs[path] = 1500;
    auto device = Host.CreateSoundDevice();
    const TSoundDeviceId id = device->Open(path);
    ASSERT_NE(id, 0u);
    auto post = [h = form->Handle(), this](int status, TSoundDeviceId d) {
        App.PostMessage(h, MM_MCINOTIFY, status, intptr_t(d));
    };
    ASSERT_TRUE(device->Play(id, post));
    Host.Advance(1400);
    EXPECT_TRUE(notices.empty());
    Host.Advance(200);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], std::make_pair(intptr_t(1), intptr_t(id)));

    // Stopped half-way: the pending play is aborted, then the stop succeeds,
    // and no completion follows.
    notices.clear();
    ASSERT_TRUE(device->Play(id, post));
    Host.Advance(500);
    ASSERT_TRUE(device->Stop(id, post));
    Host.Advance(2000);
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].first, 4);
    EXPECT_EQ(notices[1].first, 1);
    EXPECT_TRUE(device->Close(id));
    EXPECT_EQ(device->Open(path + ".missing"), 0u);
    std::remove(path.c_str());
}

}  // namespace
