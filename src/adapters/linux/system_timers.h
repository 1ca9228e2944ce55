#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/app/event_loop.h"

namespace planwarte {

struct SystemTimerState;

// Window timers on the monotonic clock; main thread only.
//
// A tick falls due one interval after the timer was enabled (or its interval changed while
// enabled) and re-arms at due time + interval. Ticks missed while the main thread was busy are
// not queued up: the late tick comes once and the timer keeps its schedule. A timer whose
// handler is running is not ticked again by nested message processing, and a destroyed timer
// (also one destroyed inside its own handler) never ticks again.
class SystemTimers {
  public:
    // Milliseconds of the monotonic clock the timers run on.
    static std::int64_t NowMs();

    std::unique_ptr<Timer> Create(int interval_ms, std::function<void()> on_tick);

    // Runs the handler of the timer due first (ties in creation order) if one is due now.
    bool TickOneDue();

    // The earliest due time among the timers that can tick.
    std::optional<std::int64_t> NextDue() const;

  private:
    std::vector<std::weak_ptr<SystemTimerState>> timers_;
};

}  // namespace planwarte
