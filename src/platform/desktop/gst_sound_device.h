// The desktop's sound device: one GStreamer playbin per open file. The
// decoder is found from the file's content (GStreamer's type finding), not
// from its name; Open waits until the file is decoded up to its first
// sample, so a file that is missing, not a sound, or has nothing to play
// through (no audio output) fails there and then. Notices come from
// GStreamer's streaming thread, through the notify function.
//
// OLVO_AUDIO_SINK, when set, is a GStreamer pipeline description of the
// audio output used instead of the desktop's default one, for example
// "fakesink sync=true" (plays in real time to nowhere: the tests use it).
#pragma once

#include <map>
#include <memory>

#include "platform/sound_device.h"

class TGstSoundDevice : public TSoundDevice {
public:
    TGstSoundDevice();
    ~TGstSoundDevice() override;
    TGstSoundDevice(const TGstSoundDevice&) = delete;
    TGstSoundDevice& operator=(const TGstSoundDevice&) = delete;

    TSoundDeviceId Open(const std::string& path) override;
    bool Play(TSoundDeviceId device, TSoundNotify notify) override;
    bool Stop(TSoundDeviceId device, TSoundNotify notify) override;
    bool Close(TSoundDeviceId device) override;
    bool IsOpen(TSoundDeviceId device) const override { return FOpen.count(device) != 0; }

    // How long Open waits for a file to be ready before it gives up.
    int OpenTimeoutMs = 5000;

private:
    struct TPlayer;
    std::map<TSoundDeviceId, std::unique_ptr<TPlayer>> FOpen;
    TSoundDeviceId FNextId = 1;
};
