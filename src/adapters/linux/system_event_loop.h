#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "core/app/event_loop.h"
#include "core/app/window_timers.h"

namespace planwarte {

// The main thread's message loop in real time, for a program without a desktop toolkit.
// The thread that constructs it is its main thread. Run waits on a condition variable until a
// message is posted or the next timer falls due. What is due is delivered in this order:
// posted messages in order, then timer ticks (see WindowTimers).
// Milliseconds of the monotonic clock the loop's timers run on.
std::int64_t SteadyMs();

class SystemEventLoop : public EventLoop {
  public:
    SystemEventLoop();
    // Drops undelivered messages: a worker still waiting in Synchronize gets an error.
    ~SystemEventLoop() override;

    std::unique_ptr<Timer> CreateTimer(int interval_ms, std::function<void()> on_tick) override;
    void Post(std::function<void()> message) override;
    void ProcessPendingMessages() override;
    void Synchronize(std::function<void()> call) override;
    void Sleep(int milliseconds) override;
    int Run() override;
    void Quit(int exit_code) override;

    // Ends Run with this code from any thread, e.g. one that waits for termination signals.
    // Not async-signal-safe: call it from a thread, not from inside a signal handler.
    void RequestQuit(int exit_code);

    // Messages posted and not yet delivered.
    std::size_t PendingMessages() const;

  private:
    void RequireMainThread(const char* operation) const;
    std::optional<std::function<void()>> TakeMessage();
    // One posted message, or else one due timer tick.
    bool DeliverOne();
    void WaitForWork();

    const std::thread::id main_thread_;
    WindowTimers timers_{&SteadyMs};
    mutable std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> messages_;
    std::optional<int> quit_code_;
};

}  // namespace planwarte
