// What a second start does: find the first instance's main window and wake
// it, then end. The lock and the channel are platform/single_instance.
#pragma once

#include <cstdint>
#include <string>

inline constexpr const char* InstanceMutexName = "olvo_remind_me_mutex";
inline constexpr const char* MainWindowClass = "TfrmORMMain";
// Sent to the first instance's main window: wParam 1 shows it, 2 restores it
// from the minimised state; lParam 0.
inline constexpr uint32_t RestoreMessage = 0x117D;
inline constexpr intptr_t RestoreShow = 1;
inline constexpr intptr_t RestoreFromMinimized = 2;

// A hidden window is shown, a minimised one restored, a visible one left
// alone. Answers the parameter sent, or 0 when nothing was sent (no window,
// or a visible one).
intptr_t WakeFirstInstance(const std::string& mutexName = InstanceMutexName);
