// The news check's worker and its show handler.
#include "online/threads/news_threads.h"

#include "online/server_address.h"

namespace {
// A lock re-entrant for its holder, taken and tested on the same thread,
// would never keep a second check out; a flag owned by that thread does.
bool NewsRunning = false;
}  // namespace

TGetNews::TGetNews(std::string url, std::string defaultUrl) : URL(std::move(url)), DefaultUrl(std::move(defaultUrl)) {
}

void TGetNews::Execute() {
    // Normal priority: the news is the one check the user waits to see.
    Busy = true;
    if (OnBegin) Synchronize([this] { OnBegin(this); });
    const TNewsAnswer answer = ParseNewsAnswer(FetchText(URL, Limits), DefaultUrl);
    MsgID = answer.MsgID;
    ShowAll = answer.ShowAll;
    Url = answer.Url;
    FormWidth = answer.FormWidth;
    FormHeight = answer.FormHeight;
    if (OnEnd) Synchronize([this, &answer] { OnEnd(this, answer); });
    Busy = false;
}

TReminderNews::TReminderNews(std::string url, std::string defaultUrl, int32_t lastSeenId, TNewsHandlers handlers)
    : TGetNews(std::move(url), std::move(defaultUrl)), LastSeenId(lastSeenId), Handlers(std::move(handlers)) {
    OnEnd = [this](TGetNews*, const TNewsAnswer& answer) { ShowHandler(answer); };
    OnTerminate = [](TThread*) { NewsRunning = false; };
}

void TReminderNews::ShowHandler(const TNewsAnswer& answer) {
    if (!IsNewNews(answer.MsgID, LastSeenId)) return;
    if (Handlers.OnNewsReady) Handlers.OnNewsReady(answer);
}

bool StartNewsCheck(int32_t lastSeenId, const std::string& serverBase, TNewsHandlers handlers,
                    const TFetchLimits& limits) {
    if (NewsRunning) return false;
    auto* check = new TReminderNews(ServerUrl(serverBase, NewsInfoPath), ServerUrl(serverBase, NewsPagePath),
                                    lastSeenId, std::move(handlers));
    check->Limits = limits;
    NewsRunning = true;
    check->Start();
    return true;
}

bool NewsCheckRunning() { return NewsRunning; }
