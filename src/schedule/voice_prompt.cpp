// Voice prompt playback and the windows' handling of its notices.
#include "schedule/voice_prompt.h"

#include "common/public_funs.h"
#include "i18n/lang_text.h"
#include "platform/folders.h"

std::string VoiceFilePath(const std::string& voice) {
    if (voice != DefaultVoiceFile) return voice;
    const std::string shipped = ProgramDataFolder() + DefaultVoiceFile;
    return FileExists(shipped) ? shipped : voice;
}

void PlaySoundFile(TSoundDevice& device, const std::string& path, const TSoundNotify& window) {
    const TSoundDeviceId id = device.Open(VoiceFilePath(path));
    if (id == 0) {
        window(MCI_NOTIFY_FAILURE, 0);
        return;
    }
    window(MCI_NOTIFY_SUCCESSFUL, id);
    if (!device.Play(id, window)) window(MCI_NOTIFY_FAILURE, id);
}

void StopSound(TSoundDevice& device, TSoundDeviceId soundDevice, const TSoundNotify& window) {
    device.Stop(soundDevice, window);
    device.Close(soundDevice);
}

// ---- the alert window ----

TAlertVoice::TAlertVoice(TSoundDevice& device, TSoundNotify window) : FDevice(device), FWindow(std::move(window)) {}

// status 1, SoundDevice 0, device open     -> opened notice: keep the id
// status 1, SoundDevice 0, device closed   -> left over from a closed device: ignore
// status 1, SoundDevice = id               -> completion: close, forget
// status 1, SoundDevice = another id       -> left over: ignore
// status 8                                 -> close that device (if any), forget
// any other status                         -> ignore
void TAlertVoice::HandleNotify(intptr_t status, intptr_t deviceId) {
    const auto id = TSoundDeviceId(deviceId);
    if (status == MCI_NOTIFY_SUCCESSFUL) {
        if (SoundDevice == 0) {
            if (id != 0 && FDevice.IsOpen(id)) SoundDevice = id;
        } else if (id == SoundDevice) {
            FDevice.Close(SoundDevice);
            SoundDevice = 0;
        }
    } else if (status == MCI_NOTIFY_FAILURE) {
        // A play that failed after opening leaves its device open; without
        // this close it would stay open for the rest of the run.
        if (id != 0) FDevice.Close(id);
        SoundDevice = 0;
    }
}

void TAlertVoice::FormClose() {
    if (SoundDevice == 0) return;
    StopSound(FDevice, SoundDevice, FWindow);
    SoundDevice = 0;
}

bool TAlertVoiceBatch::Offer(const std::string& voice) {
    if (voice.empty() || FStarted || FVoice.SoundDevice != 0) return false;
    FStarted = true;
    PlaySoundFile(FVoice.Device(), voice, FVoice.Window());
    return true;
}

// ---- the main window's test button ----

TTestVoice::TTestVoice(TSoundDevice& device, TSoundNotify window) : FDevice(device), FWindow(std::move(window)) {}

// The same table as the alert window's; in addition the opened notice shows
// the stop picture, the completion the play picture, and a failure the
// "UnkonwFileType" message.
TTestButtonPicture TTestVoice::HandleNotify(intptr_t status, intptr_t deviceId) {
    const auto id = TSoundDeviceId(deviceId);
    if (status == MCI_NOTIFY_SUCCESSFUL) {
        if (SoundDevice != 0) {
            if (id != SoundDevice) return TTestButtonPicture::Unchanged;
            FDevice.Close(SoundDevice);
            SoundDevice = 0;
            return TTestButtonPicture::Play;
        }
        // A second notice for a device already closed (its end and a stop
        // crossing) would otherwise leave the button on "stop" for good.
        if (id == 0 || !FDevice.IsOpen(id)) return TTestButtonPicture::Unchanged;
        SoundDevice = id;
        return TTestButtonPicture::Stop;
    }
    if (status == MCI_NOTIFY_FAILURE) {
        if (id != 0) FDevice.Close(id);
        SoundDevice = 0;
        if (OnUnknownFileType) {
            TVoiceMessage message;
            message.Text = LangText("Messages", "UnkonwFileType", "Unkonw File Type");
            message.Caption = LangText("Translation", "Confirm", "Confirm");
            OnUnknownFileType(message);
        }
    }
    return TTestButtonPicture::Unchanged;
}

void TTestVoice::btnTestClick(const std::string& edtVoiceText) {
    if (SoundDevice != 0)
        StopSound(FDevice, SoundDevice, FWindow);
    else
        PlaySoundFile(FDevice, edtVoiceText, FWindow);
}

void TTestVoice::StopIfPlaying() {
    if (SoundDevice != 0) StopSound(FDevice, SoundDevice, FWindow);
}

// ---- the file row ----

bool btnSelFileClick(const TOpenFileDialog& openDialog, std::string& edtVoiceText) {
    if (!openDialog) return false;
    std::string path;
    if (!openDialog(TVoiceFileDialog{}, path) || path.empty()) return false;
    edtVoiceText = path;
    return true;
}

TVoiceRow cbbVoiceItemClick(int index) { return index == 2 ? TVoiceRow::Shown : TVoiceRow::Hidden; }
