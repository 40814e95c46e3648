// The in-memory sound device the offscreen host and the core tests play
// through: which files it accepts (by their first bytes, not their names),
// when playback ends on its clock, and the notices of play, stop and close.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/sound_device.h"
#include "support/test_support.h"

using testing_support::TTempDir;
using testing_support::WriteFileBytes;
using namespace std::string_literals;

namespace {

using TNotices = std::vector<std::pair<int, TSoundDeviceId>>;

TSoundNotify Into(TNotices& notices) {
    return [&notices](int status, TSoundDeviceId id) { notices.emplace_back(status, id); };
}

const std::string Mp3Frame = std::string("\xFF\xFB\x90\x64", 4) + std::string(8, '\0');

struct TSniffCase {
    const char* Name;
    std::string Bytes;
    bool Sound;
};

TEST(SoundFileSniffing, DecidesByTheFirstBytes) {
    const std::vector<TSniffCase> cases = {
        {"id3.mp3", "ID3\x04" + std::string(8, '\0'), true},
        {"frame.mp3", Mp3Frame, true},
        {"wave.wav", "RIFF\x24\x08\0\0WAVEfmt "s, true},
        {"ogg.ogg", "OggS" + std::string(8, '\0'), true},
        {"flac.flac", "fLaC" + std::string(8, '\0'), true},
        {"avi.wav", "RIFF\x24\x08\0\0AVI LIST"s, false},
        {"text.mp3", "just some text, not a sound", false},
        {"png.mp3", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR"s, false},
        // Sync bits but a reserved layer: noise, not a frame.
        {"reserved.mp3", std::string("\xFF\xF9\x90\x64", 4) + std::string(8, '\0'), false},
        {"empty.mp3", "", false},
    };
    TTempDir dir;
    for (const auto& c : cases) {
        WriteFileBytes(dir / c.Name, c.Bytes);
        EXPECT_EQ(LooksLikeSoundFile(dir / c.Name), c.Sound) << c.Name;
    }
    EXPECT_FALSE(LooksLikeSoundFile(dir / "missing.mp3"));
    EXPECT_FALSE(LooksLikeSoundFile(dir.Path()));  // a folder
}

class MemorySoundDeviceTest : public ::testing::Test {
protected:
    MemorySoundDeviceTest() : Device(Files, [this] { return Now; }) {
        WriteFileBytes(Dir / "chime.mp3", Mp3Frame);
        WriteFileBytes(Dir / "long.wav", "RIFF\x24\x08\0\0WAVEfmt "s);
        WriteFileBytes(Dir / "note.txt", "not a sound");
        Files.DurationMs[Dir / "long.wav"] = 5000;
    }
    void AdvanceTo(int64_t ms) {
        Now = ms;
        Device.Poll();
    }
    TTempDir Dir;
    TMemorySoundFiles Files;
    int64_t Now = 0;
    TMemorySoundDevice Device;
    TNotices Notices;
};

TEST_F(MemorySoundDeviceTest, PlaysOnceAndEndsAtItsLength) {
    TSoundDeviceId id = Device.Open(Dir / "long.wav");
    ASSERT_NE(id, 0u);
    ASSERT_TRUE(Device.Play(id, Into(Notices)));
    AdvanceTo(4999);
    EXPECT_TRUE(Notices.empty());
    EXPECT_TRUE(Device.IsPlaying(id));
    AdvanceTo(5000);
    EXPECT_EQ(Notices, (TNotices{{MCI_NOTIFY_SUCCESSFUL, id}}));
    AdvanceTo(20000);
    EXPECT_EQ(Notices.size(), 1u) << "played once, no repetition";
    EXPECT_TRUE(Device.IsOpen(id)) << "the end does not close the device";
}

TEST_F(MemorySoundDeviceTest, OtherFilesTakeTheDefaultLength) {
    Files.DefaultDurationMs = 1500;
    TSoundDeviceId id = Device.Open(Dir / "chime.mp3");
    Device.Play(id, Into(Notices));
    EXPECT_EQ(Device.NextDueMs(), 1500);
}

TEST_F(MemorySoundDeviceTest, FilesThatAreNotSoundsDoNotOpen) {
    EXPECT_EQ(Device.Open(Dir / "note.txt"), 0u);
    EXPECT_EQ(Device.Open(Dir / "missing.mp3"), 0u);
    EXPECT_EQ(Device.Open(""), 0u);
    EXPECT_EQ(Device.OpenCount(), 0);
}

TEST_F(MemorySoundDeviceTest, StopAbortsThePlayAndReportsItself) {
    TNotices stopNotices;
    TSoundDeviceId id = Device.Open(Dir / "long.wav");
    Device.Play(id, Into(Notices));
    AdvanceTo(1000);
    ASSERT_TRUE(Device.Stop(id, Into(stopNotices)));
    EXPECT_EQ(Notices, (TNotices{{MCI_NOTIFY_ABORTED, id}}));
    EXPECT_EQ(stopNotices, (TNotices{{MCI_NOTIFY_SUCCESSFUL, id}}));
    AdvanceTo(10000);
    EXPECT_EQ(Notices.size(), 1u) << "a stopped sound does not complete later";
    // Played again it starts from the beginning.
    Device.Play(id, Into(Notices));
    EXPECT_EQ(Device.NextDueMs(), 15000);
}

TEST_F(MemorySoundDeviceTest, CloseMidPlayAbortsAndForgetsTheDevice) {
    TSoundDeviceId id = Device.Open(Dir / "long.wav");
    Device.Play(id, Into(Notices));
    ASSERT_TRUE(Device.Close(id));
    EXPECT_EQ(Notices, (TNotices{{MCI_NOTIFY_ABORTED, id}}));
    EXPECT_FALSE(Device.IsOpen(id));
    EXPECT_EQ(Device.NextDueMs(), -1);
    EXPECT_FALSE(Device.Close(id)) << "a second close finds nothing";
    EXPECT_FALSE(Device.Play(id, Into(Notices)));
    EXPECT_FALSE(Device.Stop(id, Into(Notices)));
    EXPECT_EQ(Notices.size(), 1u) << "calls on a closed device post nothing";
}

TEST_F(MemorySoundDeviceTest, PlayingAgainSupersedesTheFirstNotice) {
    TNotices first;
    TSoundDeviceId id = Device.Open(Dir / "long.wav");
    Device.Play(id, Into(first));
    AdvanceTo(2000);
    Device.Play(id, Into(Notices));
    EXPECT_EQ(first, (TNotices{{MCI_NOTIFY_SUPERSEDED, id}}));
    AdvanceTo(6999);
    EXPECT_TRUE(Notices.empty());
    AdvanceTo(7000);
    EXPECT_EQ(Notices, (TNotices{{MCI_NOTIFY_SUCCESSFUL, id}}));
}

TEST_F(MemorySoundDeviceTest, AFailingPlayCommandLeavesTheDeviceOpen) {
    Files.PlayFails.insert(Dir / "chime.mp3");
    TSoundDeviceId id = Device.Open(Dir / "chime.mp3");
    ASSERT_NE(id, 0u);
    EXPECT_FALSE(Device.Play(id, Into(Notices)));
    EXPECT_TRUE(Notices.empty());
    EXPECT_TRUE(Device.IsOpen(id));
}

TEST_F(MemorySoundDeviceTest, IdsAreNeverReusedAndDevicesEndSeparately) {
    TNotices second;
    TSoundDeviceId a = Device.Open(Dir / "chime.mp3");
    TSoundDeviceId b = Device.Open(Dir / "long.wav");
    EXPECT_NE(a, b);
    Device.Play(a, Into(Notices));
    Device.Play(b, Into(second));
    AdvanceTo(1000);
    EXPECT_EQ(Notices, (TNotices{{MCI_NOTIFY_SUCCESSFUL, a}}));
    EXPECT_TRUE(second.empty());
    EXPECT_EQ(Device.NextDueMs(), 5000);
    Device.Close(a);
    EXPECT_NE(Device.Open(Dir / "chime.mp3"), a);
    EXPECT_EQ(Device.OpenedCount(), 3);
}

}  // namespace
