// The offscreen host's sound device: the in-memory device with its
// playback ending on the host's virtual clock, through the application's
// timer queue, so a test that advances the clock past a sound's length
// sees the completion notice arrive like any other posted message.
#pragma once

#include <memory>

#include "platform/offscreen/offscreen_native.h"
#include "platform/sound_device.h"

class TOffscreenHost;
class TTimer;

class TOffscreenSoundDevice : public TMemorySoundDevice {
public:
    TOffscreenSoundDevice(TOffscreenHost& host, const TMemorySoundFiles& files,
                          TModelRegistry<TOffscreenSoundDevice>& registry);
    ~TOffscreenSoundDevice() override;

protected:
    void DueChanged(int64_t nextDueMs) override;

private:
    TOffscreenHost& FHost;
    TModelRegistry<TOffscreenSoundDevice>& FRegistry;
    std::unique_ptr<TTimer> FTimer;  // made when first needed: it needs the application
};
