// TApplication: the one application object. It holds the forms, the timer
// queue and one queue of calls (posted messages, deferred calls, calls from
// worker threads) that the user-interface thread runs in order, the tooltip
// logic, and the key hook that sees every key-down before any form does.
// `Application` points at it while it exists.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/gui/component.h"
#include "platform/gui/control.h"
#include "platform/gui/host.h"

class TForm;
class TTimer;

class TApplication : public TComponent {
public:
    explicit TApplication(THost& host);
    ~TApplication() override;

    THost& Host() const { return FHost; }

    // Creates a form owned by the application; the first becomes MainForm.
    template <class T, class... Args>
    T* CreateForm(Args&&... args) {
        auto form = std::make_unique<T>(this, std::forward<Args>(args)...);
        T* raw = form.get();
        AddForm(std::move(form));
        return raw;
    }
    TForm* MainForm() const { return FMainForm; }
    const std::vector<TForm*>& Forms() const { return FFormList; }
    bool IsForm(const TForm* form) const;
    void FreeForm(TForm* form);     // now
    void ReleaseForm(TForm* form);  // after the current event

    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // Handles waiting input and everything due, then returns.
    void ProcessMessages();
    void Minimize();
    void Restore();
    bool Active() const { return FActive; }

    TNotifyEvent OnActivate, OnDeactivate, OnMinimize, OnRestore;
    std::function<TKeyHookResult(TForm* form, int key, TShiftState shift)> OnKeyHook;
    // Sees every mouse press a form is about to handle, before the form
    // does (an open menu closes on a press in another window of the program).
    std::function<void(TForm* form)> OnFormPress;

    // Any thread: runs in posting order on the user-interface thread.
    void PostMessage(uint64_t formHandle, uint32_t msg, intptr_t wParam = 0, intptr_t lParam = 0);
    void PostMessage(const TForm* form, uint32_t msg, intptr_t wParam = 0, intptr_t lParam = 0);
    void Defer(std::function<void()> call);
    bool IsUIThread() const { return std::this_thread::get_id() == FUIThread; }

    // Tooltips.
    int HintPause = 500;       // ms before a hint shows
    int HintHidePause = 2500;  // ms it stays
    bool ShowHint = true;
    const std::string& CurrentHint() const { return FHintText; }
    void CancelHint();

    // What the host calls when woken: queued calls, due timers, released
    // forms, then the paint passes.
    void DispatchPending();
    void HostActivated(bool active);
    void RequestPaint(TForm& form);

    // Timer queue (TTimer's side).
    void ScheduleTimer(TTimer& timer, int64_t dueMs);
    void CancelTimer(TTimer& timer);
    // Worker threads wait on this for queued calls to run or for each other.
    std::mutex& QueueMutex() { return FQueueMutex; }
    std::condition_variable& QueueSignal() { return FQueueSignal; }
    bool HasQueuedCalls();

private:
    friend class TForm;
    friend class TThread;
    void AddForm(std::unique_ptr<TForm> form);
    TForm* FindForm(uint64_t handle) const;
    void RunQueuedCalls();
    void RunDueTimers();
    void PaintForms();
    void ScheduleNextWake();
    void HoverChanged(TControl* control, TPoint screenPoint);
    void ControlRemoving(TControl* control);
    void ShowHintNow();

    THost& FHost;
    std::thread::id FUIThread;
    std::vector<std::unique_ptr<TForm>> FForms;
    std::vector<TForm*> FFormList;
    TForm* FMainForm = nullptr;
    bool FTerminated = false;
    bool FActive = false;

    struct TQueued {
        uint64_t FormHandle = 0;  // 0: a plain call
        TMessage Message;
        std::function<void()> Call;
    };
    std::mutex FQueueMutex;
    std::condition_variable FQueueSignal;
    std::deque<TQueued> FQueue;

    std::map<std::pair<int64_t, uint64_t>, TTimer*> FTimers;
    uint64_t FTimerSeq = 0;
    std::vector<TForm*> FPaintRequests;

    TTimer* FHintShowTimer = nullptr;
    TTimer* FHintHideTimer = nullptr;
    TControl* FHintControl = nullptr;
    std::weak_ptr<void> FHintAlive;
    TPoint FHintPoint;
    std::string FHintText;
};

extern TApplication* Application;
