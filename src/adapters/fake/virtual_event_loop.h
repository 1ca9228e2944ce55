#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "adapters/fake/virtual_clock.h"
#include "adapters/fake/virtual_thread_gate.h"
#include "core/app/event_loop.h"
#include "core/app/window_timers.h"

namespace planwarte {

// The main thread's message loop on virtual time, for tests: two minutes of timers, a 50 ms
// polling wait or a worker's sleeps run in microseconds and in the same order on every run.
//
// The thread that constructs the loop is its main thread. Rules of time:
// - Time moves only in AdvanceBy, Run and a main-thread Sleep. A test may also move the clock
//   itself; workers whose sleep has ended by then wake at the next AdvanceBy (AdvanceBy(0) will
//   do).
// - AdvanceBy and Run move the clock from one due event to the next and deliver what is due at
//   each instant: first the worker threads whose sleep ends, then the posted messages in order,
//   then the timer ticks in order of due time (ties in creation order); messages posted by a
//   handler come before further timer ticks.
// - ProcessPendingMessages delivers what is due at the current time and never moves it.
// - Sleep on the main thread moves the clock without delivering messages or ticks; worker
//   threads whose sleep ends meanwhile do run, as they would beside a sleeping main thread.
// - Sleep on a worker thread lasts until the main thread's time reaches the wake time; worker
//   threads take turns with the main thread as VirtualThreadGate describes.
// - Synchronize from a worker is delivered as a posted message; on the main thread the call
//   runs directly.
// Timers follow the rules of WindowTimers; they may outlive the loop, not the clock.
class VirtualEventLoop : public EventLoop {
  public:
    struct PendingCounts {
        std::size_t messages = 0;
        std::size_t active_timers = 0;
        std::size_t sleeping_workers = 0;
        std::size_t synchronizing_workers = 0;
    };

    explicit VirtualEventLoop(VirtualClock& clock);
    ~VirtualEventLoop() override;

    std::unique_ptr<Timer> CreateTimer(int interval_ms, std::function<void()> on_tick) override;
    void Post(std::function<void()> message) override;
    void ProcessPendingMessages() override;
    void Synchronize(std::function<void()> call) override;
    void Sleep(int milliseconds) override;
    // Throws std::logic_error "event loop idle" when nothing can ever become due without a Quit.
    int Run() override;
    void Quit(int exit_code) override;

    // Moves virtual time forward by this much, delivering everything due on the way.
    void AdvanceBy(std::int64_t milliseconds);
    // See VirtualThreadGate::AwaitBlockedWorkers.
    void AwaitBlockedWorkers(std::size_t count);
    PendingCounts Pending() const;

  private:
    void RequireMainThread(const char* operation) const;
    // One posted message, or else one due timer tick.
    bool DeliverOne();
    void DeliverEverythingDueNow();
    std::optional<std::int64_t> NextEventMs() const;
    void MoveClockTo(std::int64_t elapsed_ms);

    VirtualClock& clock_;
    const std::thread::id main_thread_;
    WindowTimers timers_;
    // Shared, so that a worker still inside a sleep when the loop goes away is let go safely.
    std::shared_ptr<VirtualThreadGate> gate_;
    std::optional<int> quit_code_;
};

}  // namespace planwarte
