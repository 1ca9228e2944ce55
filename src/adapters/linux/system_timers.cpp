#include "adapters/linux/system_timers.h"

#include <chrono>
#include <stdexcept>
#include <utility>

namespace planwarte {

struct SystemTimerState {
    std::function<void()> on_tick;
    int interval_ms = 0;
    bool enabled = false;
    bool in_handler = false;
    std::int64_t due_ms = 0;

    bool CanTick() const { return enabled && interval_ms > 0 && !in_handler; }
};

namespace {

class SystemTimer : public Timer {
  public:
    explicit SystemTimer(std::shared_ptr<SystemTimerState> state) : state_(std::move(state)) {}

    // The loop may still hold the state while this timer's handler runs; disabling it makes
    // sure it never ticks again once the object is gone.
    ~SystemTimer() override { state_->enabled = false; }

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
    void Restart() { state_->due_ms = SystemTimers::NowMs() + state_->interval_ms; }

    std::shared_ptr<SystemTimerState> state_;
};

// Clears the running mark also when the handler throws.
class HandlerRunning {
  public:
    explicit HandlerRunning(SystemTimerState& state) : state_(state) { state_.in_handler = true; }
    ~HandlerRunning() { state_.in_handler = false; }
    HandlerRunning(const HandlerRunning&) = delete;
    HandlerRunning& operator=(const HandlerRunning&) = delete;

  private:
    SystemTimerState& state_;
};

}  // namespace

std::int64_t SystemTimers::NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::unique_ptr<Timer> SystemTimers::Create(int interval_ms, std::function<void()> on_tick) {
    std::erase_if(timers_, [](const auto& timer) { return timer.expired(); });
    auto state = std::make_shared<SystemTimerState>();
    state->on_tick = std::move(on_tick);
    auto timer = std::make_unique<SystemTimer>(state);
    timer->SetInterval(interval_ms);
    timers_.push_back(state);
    return timer;
}

bool SystemTimers::TickOneDue() {
    const std::int64_t now = NowMs();
    std::shared_ptr<SystemTimerState> first;
    for (const auto& entry : timers_) {
        auto state = entry.lock();
        // Timers are kept in creation order, so only a strictly earlier due time wins.
        if (state && state->CanTick() && state->due_ms <= now &&
            (!first || state->due_ms < first->due_ms)) {
            first = std::move(state);
        }
    }
    if (!first) {
        return false;
    }
    const std::int64_t missed = (now - first->due_ms) / first->interval_ms;
    first->due_ms += (missed + 1) * first->interval_ms;
    HandlerRunning running(*first);
    first->on_tick();
    return true;
}

std::optional<std::int64_t> SystemTimers::NextDue() const {
    std::optional<std::int64_t> next;
    for (const auto& entry : timers_) {
        auto state = entry.lock();
        if (state && state->CanTick() && (!next || state->due_ms < *next)) {
            next = state->due_ms;
        }
    }
    return next;
}

}  // namespace planwarte
