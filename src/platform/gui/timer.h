// TTimer: calls OnTimer every Interval milliseconds while Enabled, on the
// user-interface thread, from the application's timer queue (the one clock
// the host keeps; the offscreen host's clock is the tests' virtual clock).
#pragma once

#include <cstdint>

#include "platform/gui/control.h"

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    int Interval() const { return FInterval; }
    void SetInterval(int ms);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    // Restarts the period from now (what re-enabling does).
    void Restart();

    TNotifyEvent OnTimer;

private:
    friend class TApplication;
    void Reschedule();
    void Fire();

    int FInterval = 1000;
    bool FEnabled = true;
    bool FScheduled = false;
    std::pair<int64_t, uint64_t> FKey{0, 0};
};
