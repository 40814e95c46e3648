// Voice prompts: playing a reminder's sound once and keeping track of it
// from the notices a window receives. The two operations every caller
// uses (PlaySoundFile, StopSound), the alert window's sound (one per
// batch, none while one plays, silent on failure) and the editor's test
// button (which picture it shows, the message on a file that will not
// play), the browse button and the voice choice. Display-free: a window
// owns these objects, passes a notify function that posts MM_MCINOTIFY to
// itself, hands every MM_MCINOTIFY it receives to HandleNotify and applies
// what comes back, for example
//     TSoundNotify post = [h = Handle()](int s, TSoundDeviceId d) {
//         Application->PostMessage(h, MM_MCINOTIFY, s, d); };
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/sound_device.h"

// The Voice value of the default sound.
inline constexpr const char* DefaultVoiceFile = "default.mp3";

// Where a voice's file is: the default sound in the program's data folder
// (ProgramDataFolder) when it is there, else by its bare name in the
// current folder; any other voice is the path it holds.
std::string VoiceFilePath(const std::string& voice);

// Opens the file (the default sound by VoiceFilePath) and plays it once.
// `window` gets: FAILURE with id 0 when it does not open; else SUCCESSFUL
// with the new id (the opened notice), then the device's own notices, or
// FAILURE with the id when the play command fails.
void PlaySoundFile(TSoundDevice& device, const std::string& path, const TSoundNotify& window);
// Stops the device (its SUCCESSFUL notice goes to `window`), then closes it.
void StopSound(TSoundDevice& device, TSoundDeviceId soundDevice, const TSoundNotify& window);

// The alert window's sound. Notices of devices this object did not see
// open (left over from a device already closed) are ignored.
class TAlertVoice {
public:
    TAlertVoice(TSoundDevice& device, TSoundNotify window);

    // The open device, 0 when none.
    TSoundDeviceId SoundDevice = 0;

    // One MM_MCINOTIFY: the opened notice keeps the id, the completion
    // closes the device, a failure forgets it. Nothing is ever shown.
    void HandleNotify(intptr_t status, intptr_t deviceId);
    // FormClose: stops and closes a held sound.
    void FormClose();

    TSoundDevice& Device() const { return FDevice; }
    const TSoundNotify& Window() const { return FWindow; }

private:
    TSoundDevice& FDevice;
    TSoundNotify FWindow;
};

// One ShowAlerts call: the first newly listed record with a voice plays,
// only while the window holds no sound; no other row of the call plays
// (its opened notice is handled only after the call returns).
class TAlertVoiceBatch {
public:
    explicit TAlertVoiceBatch(TAlertVoice& voice) : FVoice(voice) {}
    // A newly added row's Voice; true when its playback was started.
    bool Offer(const std::string& voice);

private:
    TAlertVoice& FVoice;
    bool FStarted = false;
};

// The test button's pictures in the main window's image storage.
enum class TTestButtonPicture { Unchanged = 0, Play = 7, Stop = 8 };

// A message for the main window's skinned message box.
struct TVoiceMessage {
    std::string Text;
    std::string Caption;
    int Buttons = 4;  // OK
    int Icon = 3;     // question
};

// The main window's test sound for the editor's file row.
class TTestVoice {
public:
    TTestVoice(TSoundDevice& device, TSoundNotify window);

    // The open device, 0 when none.
    TSoundDeviceId SoundDevice = 0;
    // Shows the message box; called when a file will not play.
    std::function<void(const TVoiceMessage& message)> OnUnknownFileType;

    // One MM_MCINOTIFY; the picture the test button is to show (and be
    // redrawn with), Unchanged when the button is left as it is.
    TTestButtonPicture HandleNotify(intptr_t status, intptr_t deviceId);
    // Stops a playing test sound, else plays the path box's text.
    void btnTestClick(const std::string& edtVoiceText);
    // btnDoneClick / btnBackClick: stops the sound when one is held.
    void StopIfPlaying();

private:
    TSoundDevice& FDevice;
    TSoundNotify FWindow;
};

// What the browse button asks the host's file-open dialog for.
struct TVoiceFileDialog {
    std::string Filter;        // none: every file is offered
    bool PathMustExist = true;
    bool FileMustExist = true;
    bool ReadOnlyBox = false;  // no "open read-only" check box
    bool Resizable = true;
};
// Runs the dialog: fills `path` and answers true on OK.
using TOpenFileDialog = std::function<bool(const TVoiceFileDialog& request, std::string& path)>;

// The browse button: the chosen file's full path becomes the path box's
// text; true when it changed hands (the dialog was confirmed).
bool btnSelFileClick(const TOpenFileDialog& openDialog, std::string& edtVoiceText);

// The voice choice (0 Mute, 1 Default, 2 Custom): whether the file row
// (pnlVoice) is to be shown.
enum class TVoiceRow { Hidden, Shown };
TVoiceRow cbbVoiceItemClick(int index);
