#include "core/app/window_timers.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace planwarte {

struct WindowTimerState {
    std::function<void()> on_tick;
    int interval_ms = 0;
    bool enabled = false;
    bool in_handler = false;
    std::int64_t due_ms = 0;

    bool CanTick() const { return enabled && interval_ms > 0 && !in_handler; }
};

namespace {

class WindowTimer : public Timer {
  public:
    WindowTimer(const std::function<std::int64_t()>& now_ms,
                std::shared_ptr<WindowTimerState> state)
        : now_ms_(now_ms), state_(std::move(state)) {}

    // The loop may still hold the state while this timer's handler runs; disabling it makes
    // sure it never ticks again once the object is gone.
    ~WindowTimer() override { state_->enabled = false; }

    void SetInterval(int milliseconds) override {
        if (milliseconds < 0) {
            throw std::invalid_argument("timer interval must not be negative");
        }
        if (milliseconds == state_->interval_ms) {
            return;
        }
        state_->interval_ms = milliseconds;
        if (state_->enabled) {
            Restart();
        }
    }

    int Interval() const override { return state_->interval_ms; }

    void SetEnabled(bool enabled) override {
        if (enabled == state_->enabled) {
            return;
        }
        state_->enabled = enabled;
        if (enabled) {
            Restart();
        }
    }

    bool Enabled() const override { return state_->enabled; }

  private:
    void Restart() { state_->due_ms = now_ms_() + state_->interval_ms; }

    // The set's clock; timers may outlive their loop but not what this reads.
    std::function<std::int64_t()> now_ms_;
    std::shared_ptr<WindowTimerState> state_;
};

// Clears the running mark also when the handler throws.
class HandlerRunning {
  public:
    explicit HandlerRunning(WindowTimerState& state) : state_(state) { state_.in_handler = true; }
    ~HandlerRunning() { state_.in_handler = false; }
    HandlerRunning(const HandlerRunning&) = delete;
    HandlerRunning& operator=(const HandlerRunning&) = delete;

  private:
    WindowTimerState& state_;
};

}  // namespace

std::unique_ptr<Timer> WindowTimers::Create(int interval_ms, std::function<void()> on_tick) {
    std::erase_if(timers_, [](const auto& timer) { return timer.expired(); });
    auto state = std::make_shared<WindowTimerState>();
    state->on_tick = std::move(on_tick);
    auto timer = std::make_unique<WindowTimer>(now_ms_, state);
    timer->SetInterval(interval_ms);
    timers_.push_back(state);
    return timer;
}

std::shared_ptr<WindowTimerState> WindowTimers::FirstDue(std::int64_t now) const {
    std::shared_ptr<WindowTimerState> first;
    for (const auto& entry : timers_) {
        auto state = entry.lock();
        if (!state || !state->CanTick() || state->due_ms > now) {
            continue;
        }
        // Timers are kept in creation order, so only a strictly earlier due time wins.
        if (!first || state->due_ms < first->due_ms) {
            first = std::move(state);
        }
    }
    return first;
}

bool WindowTimers::TickOneDue() {
    const std::int64_t now = now_ms_();
    auto state = FirstDue(now);
    if (!state) {
        return false;
    }
    const std::int64_t missed = (now - state->due_ms) / state->interval_ms;
    state->due_ms += (missed + 1) * state->interval_ms;
    HandlerRunning running(*state);
    state->on_tick();
    return true;
}

std::optional<std::int64_t> WindowTimers::NextDue() const {
    std::optional<std::int64_t> next;
    for (const auto& entry : timers_) {
        auto state = entry.lock();
        if (state && state->CanTick() && (!next || state->due_ms < *next)) {
            next = state->due_ms;
        }
    }
    return next;
}

std::size_t WindowTimers::ActiveCount() const {
    return static_cast<std::size_t>(std::count_if(timers_.begin(), timers_.end(), [](auto& entry) {
        auto state = entry.lock();
        return state && state->enabled && state->interval_ms > 0;
    }));
}

}  // namespace planwarte
