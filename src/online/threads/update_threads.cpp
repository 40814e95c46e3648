// The update check's worker and its answer handler.
#include "online/threads/update_threads.h"

#include "online/server_address.h"

namespace {
TReminderUpdate* RunningUpdate = nullptr;
}

TCheckUpdate::TCheckUpdate(std::string url, int32_t currentBuild, std::string defaultGetUrl)
    : NewBuild(currentBuild), URL(std::move(url)), DefaultGetUrl(std::move(defaultGetUrl)) {
}

void TCheckUpdate::Execute() {
    LowerPriority();
    Busy = true;
    if (OnBegin) Synchronize([this] { OnBegin(this); });
    const TUpdateAnswer answer = ParseUpdateAnswer(FetchText(URL, Limits), NewBuild, DefaultGetUrl);
    NewBuild = answer.NewBuild;
    NewInfo = answer.NewInfo;
    NewGetUrl = answer.NewGetUrl;
    if (OnEnd) Synchronize([this, &answer] { OnEnd(this, answer); });
    Busy = false;
}

TReminderUpdate::TReminderUpdate(std::string url, int32_t currentBuild, std::string defaultGetUrl, bool silent,
                                 TUpdateHandlers handlers)
    : TCheckUpdate(std::move(url), currentBuild, std::move(defaultGetUrl)),
      CurrentBuild(currentBuild),
      Silent(silent),
      Handlers(std::move(handlers)) {
    OnEnd = [this](TCheckUpdate*, const TUpdateAnswer& answer) { AnswerHandler(answer); };
    // Whatever becomes of the thread, the next request must find no check
    // running once it is over.
    OnTerminate = [this](TThread*) {
        if (RunningUpdate == this) RunningUpdate = nullptr;
    };
}

TReminderUpdate::~TReminderUpdate() {
    if (RunningUpdate == this) RunningUpdate = nullptr;
}

void TReminderUpdate::AnswerHandler(const TUpdateAnswer& answer) {
    // The reference stays set while the window asks, so that a click on
    // "Check for Updates" meanwhile starts no second check. (Should a
    // handler throw, the termination handler clears it.)
    switch (DecideUpdate(answer.NewBuild, CurrentBuild, Silent)) {
        case TUpdateVerdict::OfferUpdate:
            if (Handlers.OnNewBuild) Handlers.OnNewBuild(answer);
            break;
        case TUpdateVerdict::ReportLatest:
            if (Handlers.OnNoNewBuild) Handlers.OnNoNewBuild();
            break;
        case TUpdateVerdict::Nothing: break;
    }
    RunningUpdate = nullptr;
}

bool StartUpdateCheck(bool silent, const std::string& serverBase, TUpdateHandlers handlers, int32_t currentBuild,
                      const TFetchLimits& limits) {
    if (RunningUpdate) return false;
    auto* check = new TReminderUpdate(ServerUrl(serverBase, UpdateInfoPath), currentBuild,
                                      ServerUrl(serverBase, DownloadPagePath), silent, std::move(handlers));
    check->Limits = limits;
    RunningUpdate = check;
    check->Start();
    return true;
}

TReminderUpdate* RunningUpdateCheck() { return RunningUpdate; }
