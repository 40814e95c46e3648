// The GStreamer sound device for real: a one-second mp3 made here with sox
// and lame plays in real time to a fake audio output, and its notices reach
// a window as posted MM_MCINOTIFY messages on the desktop host's loop; files
// that are not sounds (whatever their names) fail; stop and close cut a
// playback short; the test button and the alert window behave as designed.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "desktop_fixture.h"
#include "platform/desktop/gst_sound_device.h"
#include "platform/gfx/picture.h"
#include "platform/gui/form.h"
#include "schedule/voice_prompt.h"
#include "support/test_support.h"

using testing_support::TEnvGuard;
using testing_support::TTempDir;
using testing_support::WriteFileBytes;

namespace {

using TNotice = std::pair<intptr_t, intptr_t>;

class GstSoundDeviceTest : public TDesktopTest {
protected:
    void SetUp() override {
        TDesktopTest::SetUp();
        Sink.emplace("OLVO_AUDIO_SINK", "fakesink sync=true");
        Window = App->CreateForm<TForm>();
        Window->OnMessage = [this](TForm*, const TMessage& msg) {
            if (msg.Msg != MM_MCINOTIFY) return;
            Notices.emplace_back(msg.WParam, msg.LParam);
            if (OnNotice) OnNotice(msg.WParam, msg.LParam);
        };
        Post = [h = Window->Handle(), app = App.get()](int status, TSoundDeviceId id) {
            app->PostMessage(h, MM_MCINOTIFY, status, id);
        };
        Mp3 = Dir / "tone.mp3";
        const std::string wav = Dir / "tone.wav";
        const std::string make = "sox -R -n -r 44100 -c 1 -b 16 '" + wav + "' synth 1.0 sine 440 gain -6 && lame --quiet '" +
                                 wav + "' '" + Mp3 + "'";
        ASSERT_EQ(std::system(make.c_str()), 0) << "sox and lame make the test sound";
    }
    void TearDown() override {
        Device.reset();
        TDesktopTest::TearDown();
        Sink.reset();
    }
    bool WaitNotices(size_t count, int timeoutMs = 5000) {
        return PumpUntil([&] { return Notices.size() >= count; }, timeoutMs);
    }
    int64_t ElapsedMs(std::chrono::steady_clock::time_point since) const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since).count();
    }

    TTempDir Dir;
    std::optional<TEnvGuard> Sink;
    std::unique_ptr<TGstSoundDevice> Device = std::make_unique<TGstSoundDevice>();
    TForm* Window = nullptr;
    TSoundNotify Post;
    std::vector<TNotice> Notices;
    std::function<void(intptr_t, intptr_t)> OnNotice;
    std::string Mp3;
};

TEST_F(GstSoundDeviceTest, OpenedThenCompletedWithOneDeviceId) {
    auto start = std::chrono::steady_clock::now();
    PlaySoundFile(*Device, Mp3, Post);
    ASSERT_TRUE(WaitNotices(2));
    const intptr_t id = Notices[0].second;
    EXPECT_NE(id, 0);
    EXPECT_EQ(Notices, (std::vector<TNotice>{{MCI_NOTIFY_SUCCESSFUL, id}, {MCI_NOTIFY_SUCCESSFUL, id}}));
    // Played in real time, once: the end comes after about a second.
    EXPECT_GE(ElapsedMs(start), 900);
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(Notices.size(), 2u);
    EXPECT_TRUE(Device->IsOpen(TSoundDeviceId(id))) << "the window closes it";
}

TEST_F(GstSoundDeviceTest, FilesThatAreNotSoundsFail) {
    WriteFileBytes(Dir / "notes.mp3", "These are notes, not a sound.\n");
    TBitmap32 picture(8, 8);
    ASSERT_TRUE(WritePngFile(picture, Dir / "picture.png"));
    ASSERT_EQ(std::rename((Dir / "picture.png").c_str(), (Dir / "picture.mp3").c_str()), 0);
    for (const char* name : {"missing.mp3", "notes.mp3", "picture.mp3"}) {
        Notices.clear();
        PlaySoundFile(*Device, Dir / name, Post);
        ASSERT_TRUE(WaitNotices(1)) << name;
        EXPECT_EQ(Notices, (std::vector<TNotice>{{MCI_NOTIFY_FAILURE, 0}})) << name;
    }
}

TEST_F(GstSoundDeviceTest, TheDecoderFollowsTheContentNotTheName) {
    const std::string renamed = Dir / "tone.dat";
    ASSERT_EQ(std::rename(Mp3.c_str(), renamed.c_str()), 0);
    PlaySoundFile(*Device, renamed, Post);
    ASSERT_TRUE(WaitNotices(2));
    EXPECT_EQ(Notices[1].first, MCI_NOTIFY_SUCCESSFUL);
}

TEST_F(GstSoundDeviceTest, StopMidPlayAbortsAndReportsTheStop) {
    PlaySoundFile(*Device, Mp3, Post);
    ASSERT_TRUE(WaitNotices(1));
    const auto id = TSoundDeviceId(Notices[0].second);
    PumpUntil([] { return false; }, 200);
    StopSound(*Device, id, Post);
    EXPECT_FALSE(Device->IsOpen(id));
    ASSERT_TRUE(WaitNotices(3));
    EXPECT_EQ(Notices[1], TNotice(MCI_NOTIFY_ABORTED, id));
    EXPECT_EQ(Notices[2], TNotice(MCI_NOTIFY_SUCCESSFUL, id));
    PumpUntil([] { return false; }, 1200);
    EXPECT_EQ(Notices.size(), 3u) << "no completion after the stop";
}

TEST_F(GstSoundDeviceTest, CloseMidPlayOnlyAborts) {
    PlaySoundFile(*Device, Mp3, Post);
    ASSERT_TRUE(WaitNotices(1));
    const auto id = TSoundDeviceId(Notices[0].second);
    EXPECT_TRUE(Device->Close(id));
    ASSERT_TRUE(WaitNotices(2));
    EXPECT_EQ(Notices[1], TNotice(MCI_NOTIFY_ABORTED, id));
    PumpUntil([] { return false; }, 1200);
    EXPECT_EQ(Notices.size(), 2u);
    EXPECT_FALSE(Device->Close(id));
}

TEST_F(GstSoundDeviceTest, TestButtonPlaysStopsAndPlaysAgain) {
    TTestVoice test(*Device, Post);
    std::vector<TTestButtonPicture> pictures;
    int messages = 0;
    test.OnUnknownFileType = [&](const TVoiceMessage&) { ++messages; };
    OnNotice = [&](intptr_t s, intptr_t id) {
        TTestButtonPicture p = test.HandleNotify(s, id);
        if (p != TTestButtonPicture::Unchanged) pictures.push_back(p);
    };
    using P = TTestButtonPicture;
    test.btnTestClick(Mp3);
    ASSERT_TRUE(PumpUntil([&] { return pictures.size() == 1; }));
    const TSoundDeviceId first = test.SoundDevice;
    test.btnTestClick(Mp3);
    ASSERT_TRUE(PumpUntil([&] { return pictures.size() == 2; }));
    EXPECT_FALSE(Device->IsOpen(first));
    test.btnTestClick(Mp3);
    ASSERT_TRUE(PumpUntil([&] { return pictures.size() == 3; }));
    EXPECT_EQ(pictures, (std::vector<P>{P::Stop, P::Play, P::Stop}));
    // Left alone, the second playback ends and the button is reset.
    ASSERT_TRUE(PumpUntil([&] { return pictures.size() == 4; }, 5000));
    EXPECT_EQ(pictures.back(), P::Play);
    EXPECT_EQ(test.SoundDevice, 0u);
    EXPECT_EQ(messages, 0);
}

TEST_F(GstSoundDeviceTest, AlertStartsNoSecondSoundWhileOnePlays) {
    TAlertVoice alert(*Device, Post);
    OnNotice = [&](intptr_t s, intptr_t id) { alert.HandleNotify(s, id); };
    EXPECT_TRUE(TAlertVoiceBatch(alert).Offer(Mp3));
    ASSERT_TRUE(PumpUntil([&] { return alert.SoundDevice != 0; }));
    const TSoundDeviceId playing = alert.SoundDevice;
    EXPECT_FALSE(TAlertVoiceBatch(alert).Offer(Mp3));
    ASSERT_TRUE(PumpUntil([&] { return alert.SoundDevice == 0; }, 5000));
    EXPECT_FALSE(Device->IsOpen(playing));
    // Every notice was about the one device.
    for (const TNotice& n : Notices) EXPECT_EQ(n.second, intptr_t(playing));
    EXPECT_TRUE(TAlertVoiceBatch(alert).Offer(Mp3));
    ASSERT_TRUE(PumpUntil([&] { return alert.SoundDevice != 0; }));
    const TSoundDeviceId second = alert.SoundDevice;
    EXPECT_NE(second, playing);
    alert.FormClose();
    EXPECT_FALSE(Device->IsOpen(second));
}

TEST_F(GstSoundDeviceTest, TheHostMakesTheDevice) {
    std::unique_ptr<TSoundDevice> device = Host->CreateSoundDevice();
    ASSERT_NE(device, nullptr);
    const TSoundDeviceId id = device->Open(Mp3);
    EXPECT_NE(id, 0u);
    EXPECT_TRUE(device->Close(id));
}

}  // namespace
