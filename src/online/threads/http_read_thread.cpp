#include "online/threads/http_read_thread.h"


THttpReadThread::THttpReadThread(std::string url) : URL(std::move(url)) {}

void THttpReadThread::Execute() {
    LowerPriority();
    try {
        Body = FetchText(URL, Limits);
        Done = true;
    } catch (...) {
        // Out of memory while reading: no answer, as for a failed fetch.
        Body.clear();
    }
}
