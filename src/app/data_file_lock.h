// Who holds a data file's lock. The program holds its data file's lock for
// its whole run; olvoctl takes it for one change. Someone who finds the
// program holding it refuses at once instead of waiting for a run to end.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "platform/file_lock.h"

inline constexpr const char* ProgramLockHolder = "olvo-reminder";
inline constexpr const char* CliLockHolder = "olvoctl";
// How long a change waits for someone else's change to finish.
inline constexpr std::chrono::milliseconds DataLockWait{5000};

// The running program, as a lock holder (its process still exists).
bool IsRunningProgram(const TLockHolder& holder);
