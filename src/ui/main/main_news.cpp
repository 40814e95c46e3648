// TfrmORMMain's side of the news: the check started at creation, the news
// window shown with its answer, and the number of the page the user saw
// kept for the next run.
#include "online/news_form.h"
#include "online/server_address.h"
#include "online/threads/news_threads.h"
#include "platform/gui/application.h"
#include "ui/main/main_form.h"

void TfrmORMMain::StartNewsAtCreation() {
    if (!FStore->CheckNews) return;
    const std::string base = ServerBase(FStore.get());
    if (base.empty()) return;
    TNewsHandlers handlers;
    handlers.OnNewsReady = [this, alive = Lifetime()](const TNewsAnswer& answer) {
        // A check still fetching when the program ends hands its answer
        // over on its own thread, with no application left: nothing to show.
        if (!Application || !Application->IsUIThread() || alive.expired()) return;
        // The worker waits inside this hand-over: the window (and its web
        // engine) is made after it has returned.
        Application->Defer([this, alive, answer] {
            if (alive.expired()) return;
            ShowNewsWindow(answer, [this, alive](TFrmNews*, int32_t msgId) {
                if (!alive.expired()) FNewsShownId = msgId;
            });
        });
    };
    StartNewsCheck(FStore->NewsId, base, std::move(handlers));
}

void TfrmORMMain::KeepNewsId() {
    // Only a page that became visible counts as seen: news whose page
    // failed to load comes again with the next run.
    if (FNewsShownId > 0) FStore->NewsId = FNewsShownId;
    if (NewsWindow) NewsWindow->OnNewsShown = nullptr;
}
