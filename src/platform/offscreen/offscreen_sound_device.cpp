// The in-memory sound device on the offscreen host's virtual clock.
#include "platform/offscreen/offscreen_sound_device.h"

#include <algorithm>

#include "platform/gui/application.h"
#include "platform/gui/timer.h"
#include "platform/offscreen/offscreen_host.h"

TOffscreenSoundDevice::TOffscreenSoundDevice(TOffscreenHost& host, const TMemorySoundFiles& files,
                                             TModelRegistry<TOffscreenSoundDevice>& registry)
    : TMemorySoundDevice(files, [&host] { return host.NowMs(); }), FHost(host), FRegistry(registry) {
    FRegistry.Add(this);
}

TOffscreenSoundDevice::~TOffscreenSoundDevice() {
    FRegistry.Remove(this);
    // The timer goes first: its handler calls into this device.
    FTimer.reset();
}

void TOffscreenSoundDevice::DueChanged(int64_t nextDueMs) {
    if (!Application) return;  // nothing drives the clock: tests call Poll()
    if (!FTimer) {
        FTimer = std::make_unique<TTimer>(nullptr);
        FTimer->SetEnabled(false);
        FTimer->OnTimer = [this](TComponent*) { Poll(); };
    }
    if (nextDueMs < 0) {
        FTimer->SetEnabled(false);
        return;
    }
    // A zero interval would never fire; a sound already due ends on the
    // next millisecond.
    FTimer->SetInterval(int(std::max<int64_t>(1, nextDueMs - FHost.NowMs())));
    FTimer->SetEnabled(true);
    FTimer->Restart();
}
