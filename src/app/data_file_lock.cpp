#include "app/data_file_lock.h"

bool IsRunningProgram(const TLockHolder& holder) {
    return holder.Name == ProgramLockHolder && ProcessAlive(holder.Pid);
}
