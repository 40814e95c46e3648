// The chained deactivation hooks of open menus and drop-downs.
#include "skin/orb_deactivation_watch.h"

#include "platform/gui/application.h"
#include "platform/gui/form.h"

struct TDeactivationWatch::TState {
    bool Live = true;
    std::function<void()> AppSeen, FormSeen;
    TNotifyEvent PreviousApp;
    TForm* WatchedForm = nullptr;
    std::weak_ptr<void> WatchedAlive;
    TNotifyEvent PreviousForm;
};

struct TDeactivationWatch::THook {
    std::shared_ptr<TState> State;
    bool OfApplication = true;
    void operator()(TComponent* sender) const {
        // Copies first: the call may stop the watch, which puts the previous
        // handler back and so frees this hook while it runs.
        std::shared_ptr<TState> state = State;
        const TNotifyEvent previous = OfApplication ? state->PreviousApp : state->PreviousForm;
        const auto seen = OfApplication ? state->AppSeen : state->FormSeen;
        if (state->Live && seen) seen();
        if (previous) previous(sender);
    }
};

void TDeactivationWatch::Start(TForm* watchedForm) {
    Stop();
    if (!Application) return;
    auto state = std::make_shared<TState>();
    state->AppSeen = OnApplicationDeactivate;
    state->FormSeen = OnFormDeactivate;
    state->PreviousApp = Application->OnDeactivate;
    Application->OnDeactivate = THook{state, true};
    if (watchedForm) {
        state->WatchedForm = watchedForm;
        state->WatchedAlive = watchedForm->Lifetime();
        state->PreviousForm = watchedForm->OnDeactivate;
        watchedForm->OnDeactivate = THook{state, false};
    }
    FState = std::move(state);
}

void TDeactivationWatch::Stop() {
    if (!FState) return;
    std::shared_ptr<TState> state = std::move(FState);
    FState.reset();
    state->Live = false;
    auto restore = [&state](TNotifyEvent& handler, const TNotifyEvent& previous) {
        const auto* hook = handler.target<THook>();
        if (hook && hook->State == state) handler = previous;
    };
    if (Application) restore(Application->OnDeactivate, state->PreviousApp);
    if (state->WatchedForm && !state->WatchedAlive.expired())
        restore(state->WatchedForm->OnDeactivate, state->PreviousForm);
}
