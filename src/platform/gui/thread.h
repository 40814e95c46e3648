// TThread: a worker thread. Execute runs on its own thread and must not
// touch controls; it hands work to the user-interface thread through
// Synchronize (waits until the call ran) or Queue (does not wait). When
// Execute returns, OnTerminate runs on the user-interface thread. An
// exception thrown inside Execute or a handed-over call stays on the thread
// it was thrown on: it is caught and kept in FatalMessage.
// A running thread is freed only after WaitFor (or by FreeOnTerminate): by
// the time the base destructor could wait, the derived part that Execute
// uses is already gone. The application must outlive its threads.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class TThread {
public:
    TThread();
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    void Start();
    // Asks Execute to stop; Execute polls Terminated().
    void Terminate() { FTerminated = true; }
    bool Terminated() const { return FTerminated; }
    bool Finished() const { return FFinished; }
    // On the user-interface thread: runs handed-over calls while waiting.
    void WaitFor();
    std::string FatalMessage() const;

    // Frees the object on the user-interface thread after OnTerminate.
    bool FreeOnTerminate = false;
    std::function<void(TThread* sender)> OnTerminate;

protected:
    virtual void Execute() = 0;
    void Synchronize(std::function<void()> call);
    void Queue(std::function<void()> call);

private:
    void Run();

    std::thread FThread;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    bool FStarted = false;
    mutable std::mutex FFatalMutex;
    std::string FFatalMessage;
    // Cleared when the object goes: queued calls of a freed thread are dropped.
    std::shared_ptr<std::atomic<bool>> FAlive = std::make_shared<std::atomic<bool>>(true);
};
