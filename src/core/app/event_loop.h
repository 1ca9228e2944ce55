#pragma once

#include <functional>
#include <memory>

namespace planwarte {

// A window timer: ticks on the main thread every interval while enabled. Enabling it, or
// changing the interval of an enabled timer, starts the interval anew. A tick is delivered
// only while the main thread processes messages.
class Timer {
  public:
    virtual ~Timer() = default;
    virtual void SetInterval(int milliseconds) = 0;
    virtual int Interval() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
};

// The main thread's message loop, as far as the core uses it. Everything but Post and
// Synchronize is called on the main thread only.
class EventLoop {
  public:
    virtual ~EventLoop() = default;

    // A new timer, disabled, with the given interval; on_tick runs on the main thread.
    virtual std::unique_ptr<Timer> CreateTimer(int interval_ms, std::function<void()> on_tick) = 0;

    // Queues a message for the main thread; callable from any thread.
    virtual void Post(std::function<void()> message) = 0;

    // Delivers what is due now: posted messages in order, then due timer ticks. Handlers may
    // call this again (nested message processing).
    virtual void ProcessPendingMessages() = 0;

    // From a worker thread: runs call on the main thread the next time it processes messages
    // and returns when it has run. An exception of call is rethrown in the worker.
    virtual void Synchronize(std::function<void()> call) = 0;

    // Blocks the calling thread without processing messages.
    virtual void Sleep(int milliseconds) = 0;

    // Runs until Quit; returns the exit code given to Quit.
    virtual int Run() = 0;
    virtual void Quit(int exit_code) = 0;
};

}  // namespace planwarte
