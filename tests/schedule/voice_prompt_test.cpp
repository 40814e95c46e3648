// Voice prompts over the in-memory sound device: the notices a window gets
// and what the alert window and the test button make of them, with the
// notices queued like posted messages and handled only when the test
// dispatches them (as the event loop would, after the current call).
#include <gtest/gtest.h>

#include <unistd.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "common/public_funs.h"
#include "i18n/lang_path.h"
#include "i18n/lang_text.h"
#include "schedule/voice_prompt.h"
#include "support/test_support.h"

using testing_support::TTempDir;
using testing_support::WriteFileBytes;

namespace {

using TNotice = std::pair<int, TSoundDeviceId>;

// A window's posted-message queue for MM_MCINOTIFY.
struct TNoticeQueue {
    std::deque<TNotice> Queue;
    std::vector<TNotice> Seen;
    TSoundNotify Post() {
        return [this](int status, TSoundDeviceId id) { Queue.emplace_back(status, id); };
    }
    template <class Handler>
    void Dispatch(Handler&& handle) {
        while (!Queue.empty()) {
            TNotice n = Queue.front();
            Queue.pop_front();
            Seen.push_back(n);
            handle(n.first, n.second);
        }
    }
};

class VoicePromptTest : public ::testing::Test {
protected:
    VoicePromptTest() : Device(Files, [this] { return Now; }) {
        LangFilePath.clear();  // the built-in English texts
        ReloadLanguage();
        WriteFileBytes(Dir / "chime.mp3", "ID3\x04" + std::string(8, '\0'));
        WriteFileBytes(Dir / "notes.txt", "a text file");
        WriteFileBytes(Dir / "picture.mp3", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
        Files.DurationMs[Dir / "chime.mp3"] = 1000;
    }
    void Advance(int64_t ms) {
        Now += ms;
        Device.Poll();
    }
    TTempDir Dir;
    TMemorySoundFiles Files;
    int64_t Now = 0;
    TMemorySoundDevice Device;
    TNoticeQueue Window;
};

TEST_F(VoicePromptTest, PlaySoundFilePostsOpenedThenCompletionWithOneId) {
    PlaySoundFile(Device, Dir / "chime.mp3", Window.Post());
    ASSERT_EQ(Window.Queue.size(), 1u);
    const TSoundDeviceId id = Window.Queue.front().second;
    EXPECT_NE(id, 0u);
    EXPECT_EQ(Window.Queue.front().first, MCI_NOTIFY_SUCCESSFUL);
    Advance(1000);
    EXPECT_EQ(std::vector<TNotice>(Window.Queue.begin(), Window.Queue.end()),
              (std::vector<TNotice>{{MCI_NOTIFY_SUCCESSFUL, id}, {MCI_NOTIFY_SUCCESSFUL, id}}));
}

TEST_F(VoicePromptTest, FilesThatWillNotPlayPostFailureWithNoDevice) {
    for (const char* name : {"missing.mp3", "notes.txt", "picture.mp3"}) {
        Window.Queue.clear();
        PlaySoundFile(Device, Dir / name, Window.Post());
        EXPECT_EQ(std::vector<TNotice>(Window.Queue.begin(), Window.Queue.end()),
                  (std::vector<TNotice>{{MCI_NOTIFY_FAILURE, 0}}))
            << name;
    }
    EXPECT_EQ(Device.OpenCount(), 0);
}

TEST_F(VoicePromptTest, TheDefaultSoundIsFoundBesideTheProgramThenInTheCurrentFolder) {
    EXPECT_EQ(VoiceFilePath(Dir / "chime.mp3"), Dir / "chime.mp3");
    EXPECT_EQ(VoiceFilePath("Default.mp3"), "Default.mp3") << "only the exact name is the default";
    const std::string besideProgram = ProgramFolder() + "default.mp3";
    const bool built = testing_support::PathExists(besideProgram);
    char* old = getcwd(nullptr, 0);
    ASSERT_EQ(chdir(Dir.Path().c_str()), 0);
    WriteFileBytes(Dir / "default.mp3", "ID3\x04" + std::string(8, '\0'));
    PlaySoundFile(Device, "default.mp3", Window.Post());
    ASSERT_EQ(chdir(old), 0);
    free(old);
    ASSERT_EQ(Window.Queue.size(), 1u);
    EXPECT_EQ(Device.PathOf(Window.Queue.front().second), built ? besideProgram : "default.mp3");
}

// ---- the alert window ----

TEST_F(VoicePromptTest, AlertPlaysOnceThenReleasesTheDevice) {
    TAlertVoice alert(Device, Window.Post());
    auto handle = [&](int s, TSoundDeviceId id) { alert.HandleNotify(s, id); };
    TAlertVoiceBatch(alert).Offer(Dir / "chime.mp3");
    Window.Dispatch(handle);
    const TSoundDeviceId id = alert.SoundDevice;
    ASSERT_NE(id, 0u);
    Advance(1000);
    Window.Dispatch(handle);
    EXPECT_EQ(alert.SoundDevice, 0u);
    EXPECT_FALSE(Device.IsOpen(id));
    EXPECT_EQ(Device.OpenedCount(), 1);
}

TEST_F(VoicePromptTest, AlertStartsNoSecondSoundWhileOnePlays) {
    TAlertVoice alert(Device, Window.Post());
    auto handle = [&](int s, TSoundDeviceId id) { alert.HandleNotify(s, id); };
    {
        // Two voiced reminders due in one tick: only the first plays.
        TAlertVoiceBatch batch(alert);
        EXPECT_TRUE(batch.Offer(Dir / "chime.mp3"));
        EXPECT_FALSE(batch.Offer(Dir / "chime.mp3"));
    }
    Window.Dispatch(handle);
    Advance(500);
    // The next batch arrives while the first sound plays.
    EXPECT_FALSE(TAlertVoiceBatch(alert).Offer(Dir / "chime.mp3"));
    EXPECT_EQ(Device.OpenedCount(), 1);
    Advance(500);
    Window.Dispatch(handle);
    // Once it has ended, a later batch plays again; a mute one never does.
    EXPECT_FALSE(TAlertVoiceBatch(alert).Offer(""));
    EXPECT_TRUE(TAlertVoiceBatch(alert).Offer(Dir / "chime.mp3"));
    EXPECT_EQ(Device.OpenedCount(), 2);
}

TEST_F(VoicePromptTest, AlertFailureIsSilentAndLeavesNoDeviceOpen) {
    TAlertVoice alert(Device, Window.Post());
    auto handle = [&](int s, TSoundDeviceId id) { alert.HandleNotify(s, id); };
    TAlertVoiceBatch(alert).Offer(Dir / "notes.txt");
    Window.Dispatch(handle);
    EXPECT_EQ(alert.SoundDevice, 0u);
    // A file that opens but whose play command fails: opened, then failure.
    Files.PlayFails.insert(Dir / "chime.mp3");
    TAlertVoiceBatch(alert).Offer(Dir / "chime.mp3");
    ASSERT_EQ(Window.Queue.size(), 2u);
    EXPECT_EQ(Window.Queue[0].first, MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ(Window.Queue[1].first, MCI_NOTIFY_FAILURE);
    Window.Dispatch(handle);
    EXPECT_EQ(alert.SoundDevice, 0u);
    EXPECT_EQ(Device.OpenCount(), 0);
}

TEST_F(VoicePromptTest, ClosingTheAlertStopsItsSound) {
    TAlertVoice alert(Device, Window.Post());
    TAlertVoiceBatch(alert).Offer(Dir / "chime.mp3");
    Window.Dispatch([&](int s, TSoundDeviceId id) { alert.HandleNotify(s, id); });
    const TSoundDeviceId id = alert.SoundDevice;
    alert.FormClose();
    EXPECT_FALSE(Device.IsOpen(id));
    EXPECT_EQ(alert.SoundDevice, 0u);
    Advance(5000);
    EXPECT_EQ(Window.Queue.size(), 2u) << "aborted and stopped, no completion";
}

// ---- the main window's test button ----

class TestButtonTest : public VoicePromptTest {
protected:
    TestButtonTest() : Test(Device, Window.Post()) {
        Test.OnUnknownFileType = [this](const TVoiceMessage& m) { Messages.push_back(m); };
    }
    // Handles the queue; the pictures the button was given, in order.
    std::vector<TTestButtonPicture> Dispatch() {
        std::vector<TTestButtonPicture> pictures;
        Window.Dispatch([&](int s, TSoundDeviceId id) {
            TTestButtonPicture p = Test.HandleNotify(s, id);
            if (p != TTestButtonPicture::Unchanged) pictures.push_back(p);
        });
        return pictures;
    }
    TTestVoice Test;
    std::vector<TVoiceMessage> Messages;
};

using P = TTestButtonPicture;

TEST_F(TestButtonTest, PressPlaysAndTheSoundsEndResetsTheButton) {
    Test.btnTestClick(Dir / "chime.mp3");
    EXPECT_EQ(Dispatch(), std::vector<P>{P::Stop});
    const TSoundDeviceId id = Test.SoundDevice;
    ASSERT_NE(id, 0u);
    Advance(1000);
    EXPECT_EQ(Dispatch(), std::vector<P>{P::Play});
    EXPECT_EQ(Test.SoundDevice, 0u);
    EXPECT_FALSE(Device.IsOpen(id));
}

TEST_F(TestButtonTest, PressTwicePlaysThenStopsThenPlaysAgain) {
    Test.btnTestClick(Dir / "chime.mp3");
    EXPECT_EQ(Dispatch(), std::vector<P>{P::Stop});
    const TSoundDeviceId first = Test.SoundDevice;
    Advance(300);
    Test.btnTestClick(Dir / "chime.mp3");
    EXPECT_EQ(Test.SoundDevice, first) << "kept until the stop's notice arrives";
    EXPECT_EQ(Dispatch(), std::vector<P>{P::Play});
    EXPECT_FALSE(Device.IsOpen(first));
    Test.btnTestClick(Dir / "chime.mp3");
    EXPECT_EQ(Dispatch(), std::vector<P>{P::Stop});
    EXPECT_NE(Test.SoundDevice, first);
    EXPECT_TRUE(Messages.empty());
}

TEST_F(TestButtonTest, AnEndCrossingAStopDoesNotLeaveTheButtonOnStop) {
    Test.btnTestClick(Dir / "chime.mp3");
    Dispatch();
    // The sound ends and the user presses stop before the end's notice is
    // handled: two success notices for one device arrive.
    Advance(1000);
    Test.btnTestClick(Dir / "chime.mp3");
    EXPECT_EQ(Dispatch(), std::vector<P>{P::Play});
    EXPECT_EQ(Test.SoundDevice, 0u);
}

TEST_F(TestButtonTest, FilesThatWillNotPlayShowTheMessage) {
    for (const char* name : {"missing.mp3", "notes.txt", "picture.mp3"}) {
        Messages.clear();
        Test.btnTestClick(Dir / name);
        EXPECT_TRUE(Dispatch().empty()) << name;
        ASSERT_EQ(Messages.size(), 1u) << name;
        EXPECT_EQ(Messages[0].Text, "Unrecognized sound file!");
        EXPECT_EQ(Messages[0].Caption, "Confirm");
        EXPECT_EQ(Messages[0].Buttons, 4);
        EXPECT_EQ(Messages[0].Icon, 3);
        EXPECT_EQ(Test.SoundDevice, 0u);
    }
}

TEST_F(TestButtonTest, AFailedPlayShowsStopThenTheMessageAndClosesTheDevice) {
    Files.PlayFails.insert(Dir / "chime.mp3");
    Test.btnTestClick(Dir / "chime.mp3");
    EXPECT_EQ(Dispatch(), std::vector<P>{P::Stop});
    EXPECT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Test.SoundDevice, 0u);
    EXPECT_EQ(Device.OpenCount(), 0);
}

TEST_F(TestButtonTest, LeavingTheEditorStopsTheTestSound) {
    Test.StopIfPlaying();
    EXPECT_TRUE(Window.Queue.empty()) << "nothing held, nothing stopped";
    Test.btnTestClick(Dir / "chime.mp3");
    Dispatch();
    Test.StopIfPlaying();
    EXPECT_EQ(Dispatch(), std::vector<P>{P::Play});
    EXPECT_EQ(Device.OpenCount(), 0);
}

// ---- the file row ----

TEST(VoiceFileRow, BrowseSetsThePathOnlyWhenConfirmed) {
    std::string text = "default.mp3";
    TVoiceFileDialog asked;
    auto cancel = [&](const TVoiceFileDialog& r, std::string&) {
        asked = r;
        return false;
    };
    EXPECT_FALSE(btnSelFileClick(cancel, text));
    EXPECT_EQ(text, "default.mp3");
    EXPECT_TRUE(asked.Filter.empty());
    EXPECT_TRUE(asked.FileMustExist && asked.PathMustExist && asked.Resizable);
    EXPECT_FALSE(asked.ReadOnlyBox);
    auto choose = [](const TVoiceFileDialog&, std::string& path) {
        path = "/home/u/Music/bell.ogg";
        return true;
    };
    EXPECT_TRUE(btnSelFileClick(choose, text));
    EXPECT_EQ(text, "/home/u/Music/bell.ogg");
}

TEST(VoiceFileRow, OnlyCustomShowsTheRow) {
    EXPECT_EQ(cbbVoiceItemClick(0), TVoiceRow::Hidden);
    EXPECT_EQ(cbbVoiceItemClick(1), TVoiceRow::Hidden);
    EXPECT_EQ(cbbVoiceItemClick(2), TVoiceRow::Shown);
}

}  // namespace
