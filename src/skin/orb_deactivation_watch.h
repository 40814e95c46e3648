// Watches, while a menu or drop-down is open, for the application or the
// window that had the focus losing activation, without taking the handlers
// from whoever had them: each hook runs its own call, then the previous
// handler. Stop puts the previous handler back, unless someone chained over
// the hook meanwhile: then the hook stays in their chain and from then on
// only passes calls on. A hook called after its watch is gone does the same.
#pragma once

#include <functional>
#include <memory>

class TForm;

class TDeactivationWatch {
public:
    TDeactivationWatch() = default;
    ~TDeactivationWatch() { Stop(); }
    TDeactivationWatch(const TDeactivationWatch&) = delete;
    TDeactivationWatch& operator=(const TDeactivationWatch&) = delete;

    // Called when the application loses activation, and when the watched
    // form does (a click on another window of the program leaves the
    // application active). Taken at Start.
    std::function<void()> OnApplicationDeactivate;
    std::function<void()> OnFormDeactivate;

    // Hooks the application and, when given, `watchedForm`; a watch already
    // running is stopped first.
    void Start(TForm* watchedForm);
    void Stop();
    bool Running() const { return FState != nullptr; }

private:
    struct TState;
    struct THook;
    std::shared_ptr<TState> FState;
};
