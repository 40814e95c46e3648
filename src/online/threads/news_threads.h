// The news check on a worker thread. TGetNews fetches and reads the answer;
// TReminderNews adds the number the user saw last and hands news that is
// new to the window through a callback on the user-interface thread. The
// news window itself (and its check of what it showed in this run) is the
// window's.
//
// One check at a time: a process-wide flag, set when a check starts and
// cleared when its thread ends, both on the user-interface thread.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "online/http_fetch.h"
#include "online/news_check.h"
#include "online/threads/online_thread.h"

class TGetNews : public TOnlineThread {
public:
    // `defaultUrl`: the page shown when the answer names none.
    TGetNews(std::string url, std::string defaultUrl);

    std::atomic<bool> Busy{false};
    std::string Url;  // the page to show, from the answer
    std::string URL;  // the answer's address
    int32_t MsgID = 0;
    bool ShowAll = false;
    int32_t FormWidth = 0;
    int32_t FormHeight = 0;
    std::string DefaultUrl;
    TFetchLimits Limits;

    // Both run on the user-interface thread while the worker waits.
    std::function<void(TGetNews* sender)> OnBegin;
    std::function<void(TGetNews* sender, const TNewsAnswer& answer)> OnEnd;

protected:
    void Execute() override;
};

// What the window does with news the user has not seen: show answer.Url in
// the news window, at NewsPageSize(answer.FormWidth, answer.FormHeight)
// when that gives a size, unless the window showed answer.MsgID already.
struct TNewsHandlers {
    std::function<void(const TNewsAnswer& answer)> OnNewsReady;
};

class TReminderNews : public TGetNews {
public:
    TReminderNews(std::string url, std::string defaultUrl, int32_t lastSeenId, TNewsHandlers handlers);

    int32_t LastSeenId;
    TNewsHandlers Handlers;

private:
    void ShowHandler(const TNewsAnswer& answer);
};

// Starts a check against the server base (empty: no request; nothing is
// shown). `lastSeenId`: the configuration's NEWSID. False, and nothing
// happens, while another check runs. `limits` only for tests.
bool StartNewsCheck(int32_t lastSeenId, const std::string& serverBase, TNewsHandlers handlers,
                    const TFetchLimits& limits = {});

bool NewsCheckRunning();
