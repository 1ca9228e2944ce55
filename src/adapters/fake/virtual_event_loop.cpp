#include "adapters/fake/virtual_event_loop.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

namespace planwarte {

VirtualEventLoop::VirtualEventLoop(VirtualClock& clock)
    : clock_(clock),
      main_thread_(std::this_thread::get_id()),
      timers_([&clock] { return clock.ElapsedMs(); }),
      gate_(std::make_shared<VirtualThreadGate>()) {}

VirtualEventLoop::~VirtualEventLoop() {
    gate_->Close();
}

std::unique_ptr<Timer> VirtualEventLoop::CreateTimer(int interval_ms,
                                                     std::function<void()> on_tick) {
    RequireMainThread("CreateTimer");
    return timers_.Create(interval_ms, std::move(on_tick));
}

void VirtualEventLoop::Post(std::function<void()> message) {
    gate_->Post(std::move(message));
}

void VirtualEventLoop::ProcessPendingMessages() {
    RequireMainThread("ProcessPendingMessages");
    while (DeliverOne()) {
    }
}

void VirtualEventLoop::Synchronize(std::function<void()> call) {
    if (std::this_thread::get_id() == main_thread_) {
        call();
        return;
    }
    const auto gate = gate_;
    gate->WorkerSynchronize(std::move(call));
}

void VirtualEventLoop::Sleep(int milliseconds) {
    if (milliseconds <= 0) {
        return;
    }
    const std::int64_t wake = clock_.ElapsedMs() + milliseconds;
    if (std::this_thread::get_id() != main_thread_) {
        const auto gate = gate_;
        gate->WorkerSleepUntil(wake);
        return;
    }
    for (;;) {
        while (gate_->ReleaseOneDueWorker(clock_.ElapsedMs())) {
        }
        const auto next_wake = gate_->NextWake();
        if (!next_wake || *next_wake > wake) {
            break;
        }
        MoveClockTo(*next_wake);
    }
    MoveClockTo(wake);
}

int VirtualEventLoop::Run() {
    RequireMainThread("Run");
    while (!quit_code_) {
        if (gate_->ReleaseOneDueWorker(clock_.ElapsedMs()) || DeliverOne()) {
            continue;
        }
        const auto next = NextEventMs();
        if (!next) {
            throw std::logic_error("event loop idle: nothing can become due and nobody quits");
        }
        MoveClockTo(*next);
    }
    const int exit_code = *quit_code_;
    quit_code_.reset();
    return exit_code;
}

void VirtualEventLoop::Quit(int exit_code) {
    RequireMainThread("Quit");
    quit_code_ = exit_code;
}

void VirtualEventLoop::AdvanceBy(std::int64_t milliseconds) {
    RequireMainThread("AdvanceBy");
    if (milliseconds < 0) {
        throw std::invalid_argument("virtual time cannot run backwards");
    }
    const std::int64_t target = clock_.ElapsedMs() + milliseconds;
    for (;;) {
        DeliverEverythingDueNow();
        const auto next = NextEventMs();
        if (!next || *next > target) {
            break;
        }
        MoveClockTo(*next);
    }
    MoveClockTo(target);
}

void VirtualEventLoop::AwaitBlockedWorkers(std::size_t count) {
    gate_->AwaitBlockedWorkers(count);
}

VirtualEventLoop::PendingCounts VirtualEventLoop::Pending() const {
    return PendingCounts{
        .messages = gate_->MessageCount(),
        .active_timers = timers_.ActiveCount(),
        .sleeping_workers = gate_->SleepingCount(),
        .synchronizing_workers = gate_->SynchronizingCount(),
    };
}

void VirtualEventLoop::RequireMainThread(const char* operation) const {
    if (std::this_thread::get_id() != main_thread_) {
        throw std::logic_error(std::string(operation) + " called off the main thread");
    }
}

bool VirtualEventLoop::DeliverOne() {
    if (auto message = gate_->TakeMessage()) {
        (*message)();
        return true;
    }
    return timers_.TickOneDue();
}

void VirtualEventLoop::DeliverEverythingDueNow() {
    while (gate_->ReleaseOneDueWorker(clock_.ElapsedMs()) || DeliverOne()) {
    }
}

std::optional<std::int64_t> VirtualEventLoop::NextEventMs() const {
    if (gate_->MessageCount() > 0) {
        return clock_.ElapsedMs();
    }
    const auto timer_due = timers_.NextDue();
    const auto wake = gate_->NextWake();
    if (timer_due && wake) {
        return std::min(*timer_due, *wake);
    }
    return timer_due ? timer_due : wake;
}

// A handler that slept on the main thread may have carried the clock past the next event;
// time then simply stays where it is.
void VirtualEventLoop::MoveClockTo(std::int64_t elapsed_ms) {
    clock_.AdvanceTo(std::max(elapsed_ms, clock_.ElapsedMs()));
}

}  // namespace planwarte
