#include "adapters/linux/system_event_loop.h"

#include <chrono>
#include <future>
#include <stdexcept>
#include <string>
#include <utility>

namespace planwarte {

std::int64_t SteadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

SystemEventLoop::SystemEventLoop() : main_thread_(std::this_thread::get_id()) {}

SystemEventLoop::~SystemEventLoop() {
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard lock(mutex_);
        dropped.swap(messages_);
    }
    // The dropped messages die here, outside the lock: a pending synchronised call's promise
    // breaks and its worker's wait ends with an error.
}

std::unique_ptr<Timer> SystemEventLoop::CreateTimer(int interval_ms,
                                                    std::function<void()> on_tick) {
    RequireMainThread("CreateTimer");
    return timers_.Create(interval_ms, std::move(on_tick));
}

void SystemEventLoop::Post(std::function<void()> message) {
    if (!message) {
        throw std::invalid_argument("posted message has no target");
    }
    // Notifies under the lock: once the lock is free a worker no longer touches the loop, so
    // the loop may end right after a worker's last post.
    std::lock_guard lock(mutex_);
    messages_.push_back(std::move(message));
    posted_.notify_one();
}

void SystemEventLoop::ProcessPendingMessages() {
    RequireMainThread("ProcessPendingMessages");
    while (DeliverOne()) {
    }
}

void SystemEventLoop::Synchronize(std::function<void()> call) {
    if (std::this_thread::get_id() == main_thread_) {
        call();
        return;
    }
    auto done = std::make_shared<std::promise<void>>();
    auto finished = done->get_future();
    // Only the message holds the promise, so that dropping the message unrun breaks it.
    Post([done = std::move(done), call = std::move(call)] {
        try {
            call();
            done->set_value();
        } catch (...) {
            done->set_exception(std::current_exception());
        }
    });
    finished.get();
}

void SystemEventLoop::Sleep(int milliseconds) {
    if (milliseconds > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
}

int SystemEventLoop::Run() {
    RequireMainThread("Run");
    while (!quit_code_) {
        if (!DeliverOne()) {
            WaitForWork();
        }
    }
    const int exit_code = *quit_code_;
    quit_code_.reset();
    return exit_code;
}

void SystemEventLoop::Quit(int exit_code) {
    RequireMainThread("Quit");
    quit_code_ = exit_code;
}

void SystemEventLoop::RequestQuit(int exit_code) {
    Post([this, exit_code] { Quit(exit_code); });
}

std::size_t SystemEventLoop::PendingMessages() const {
    std::lock_guard lock(mutex_);
    return messages_.size();
}

void SystemEventLoop::RequireMainThread(const char* operation) const {
    if (std::this_thread::get_id() != main_thread_) {
        throw std::logic_error(std::string(operation) + " called off the main thread");
    }
}

std::optional<std::function<void()>> SystemEventLoop::TakeMessage() {
    std::lock_guard lock(mutex_);
    if (messages_.empty()) {
        return std::nullopt;
    }
    auto message = std::move(messages_.front());
    messages_.pop_front();
    return message;
}

bool SystemEventLoop::DeliverOne() {
    if (auto message = TakeMessage()) {
        (*message)();
        return true;
    }
    return timers_.TickOneDue();
}

void SystemEventLoop::WaitForWork() {
    const auto next_due = timers_.NextDue();
    std::unique_lock lock(mutex_);
    const auto has_message = [this] { return !messages_.empty(); };
    if (next_due) {
        const std::chrono::steady_clock::time_point due{std::chrono::milliseconds(*next_due)};
        posted_.wait_until(lock, due, has_message);
    } else {
        posted_.wait(lock, has_message);
    }
}

}  // namespace planwarte
