// The base of the online checks' worker threads: a TThread that frees
// itself when done and is counted while it exists, so that whoever ends the
// application can let the last of them finish first (the application must
// outlive its threads).
#pragma once

#include "platform/gui/thread.h"

class TOnlineThread : public TThread {
public:
    TOnlineThread();
    ~TOnlineThread() override;

    // Online threads not yet freed (still fetching, or about to be freed).
    static int LiveCount();

protected:
    // Background fetches yield the processor to everything else: the
    // calling worker thread (only it) runs at the lowest priority.
    static void LowerPriority();
};
