// The update check on a worker thread. TCheckUpdate fetches and reads the
// answer; TReminderUpdate adds what the program's check needs (the running
// build, silent or asked for) and decides what the user is told. The
// verdict reaches the window through callbacks on the user-interface
// thread; the message boxes are the window's.
//
// One check at a time: a process-wide reference names the running check,
// and a request while it is set is ignored. It is read and written on the
// user-interface thread only.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "online/http_fetch.h"
#include "online/update_check.h"
#include "online/threads/online_thread.h"

class TCheckUpdate : public TOnlineThread {
public:
    // `defaultGetUrl`: the download page used when the answer names none.
    TCheckUpdate(std::string url, int32_t currentBuild, std::string defaultGetUrl);

    int32_t NewBuild;  // the caller's build until an answer names another
    std::atomic<bool> Busy{false};
    std::string URL;
    std::string NewGetUrl;
    std::vector<std::string> NewInfo;
    std::string DefaultGetUrl;
    TFetchLimits Limits;

    // Both run on the user-interface thread while the worker waits.
    std::function<void(TCheckUpdate* sender)> OnBegin;
    std::function<void(TCheckUpdate* sender, const TUpdateAnswer& answer)> OnEnd;

protected:
    void Execute() override;
};

// What the window does with a verdict: OnNewBuild asks whether to open
// answer.NewGetUrl (UpdatePromptFor tells the texts), OnNoNewBuild reports
// that nothing is newer (never for a silent check).
struct TUpdateHandlers {
    std::function<void(const TUpdateAnswer& answer)> OnNewBuild;
    std::function<void()> OnNoNewBuild;
};

class TReminderUpdate : public TCheckUpdate {
public:
    TReminderUpdate(std::string url, int32_t currentBuild, std::string defaultGetUrl, bool silent,
                    TUpdateHandlers handlers);
    ~TReminderUpdate() override;

    int32_t CurrentBuild;
    bool Silent;
    TUpdateHandlers Handlers;

private:
    void AnswerHandler(const TUpdateAnswer& answer);
};

// Starts a check against the server base (empty: the check runs without a
// request and ends as a failed fetch does). False, and nothing happens,
// while another check runs. `limits` only for tests.
bool StartUpdateCheck(bool silent, const std::string& serverBase, TUpdateHandlers handlers,
                      int32_t currentBuild = CurrentBuild(), const TFetchLimits& limits = {});

// The running check, or null.
TReminderUpdate* RunningUpdateCheck();
