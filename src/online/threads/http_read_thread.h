// THttpReadThread: one answer text fetched on a worker thread. The owner
// sets OnTerminate, starts the thread and reads Done and Body inside that
// handler, on the user-interface thread; the thread frees itself afterwards.
#pragma once

#include <string>

#include "online/http_fetch.h"
#include "online/threads/online_thread.h"

class THttpReadThread : public TOnlineThread {
public:
    explicit THttpReadThread(std::string url);

    std::string URL;
    std::string Body;   // the fetched text; empty when nothing came
    bool Done = false;  // the fetch returned (also with an empty text)
    TFetchLimits Limits;

protected:
    void Execute() override;
};
