#include "online/threads/online_thread.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>

namespace {
std::atomic<int> Live{0};
}

TOnlineThread::TOnlineThread() {
    FreeOnTerminate = true;
    ++Live;
}

TOnlineThread::~TOnlineThread() { --Live; }

int TOnlineThread::LiveCount() { return Live; }

void TOnlineThread::LowerPriority() {
    // On Linux a thread id names that thread alone; a refusal leaves the
    // priority as it was, which only costs a little responsiveness.
    const auto tid = static_cast<id_t>(syscall(SYS_gettid));
    (void)setpriority(PRIO_PROCESS, tid, 19);
}
