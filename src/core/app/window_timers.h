#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/app/event_loop.h"

namespace planwarte {

struct WindowTimerState;

// The window timers of an event loop, on the loop's own millisecond clock; main thread only.
// The virtual loop runs them on virtual time, the system loop on the monotonic clock.
//
// A tick falls due one interval after the timer was enabled (or its interval changed while
// enabled) and re-arms at due time + interval. Ticks that fall due while nobody processes
// messages are not queued up: the late tick is delivered once and the timer keeps its schedule.
// A timer whose handler is running is not ticked again by nested message processing, and a
// timer object destroyed (also inside its own handler) never ticks again.
class WindowTimers {
  public:
    // now_ms: the current time in milliseconds of the clock the timers run on.
    explicit WindowTimers(std::function<std::int64_t()> now_ms) : now_ms_(std::move(now_ms)) {}

    std::unique_ptr<Timer> Create(int interval_ms, std::function<void()> on_tick);

    // Runs the handler of the timer due first (ties in creation order) if one is due now.
    bool TickOneDue();

    // The earliest due time among the timers that can tick.
    std::optional<std::int64_t> NextDue() const;

    // Timers that are enabled with an interval that lets them tick.
    std::size_t ActiveCount() const;

  private:
    std::shared_ptr<WindowTimerState> FirstDue(std::int64_t now) const;

    std::function<std::int64_t()> now_ms_;
    std::vector<std::weak_ptr<WindowTimerState>> timers_;
};

}  // namespace planwarte
