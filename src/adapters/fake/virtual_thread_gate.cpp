#include "adapters/fake/virtual_thread_gate.h"

#include <chrono>
#include <exception>
#include <future>
#include <stdexcept>
#include <vector>

namespace planwarte {

namespace {

// Real time after which a worker that neither blocks nor ends counts as stalled; generous,
// since a released worker normally blocks again within microseconds.
constexpr std::chrono::seconds kStallLimit{10};

}  // namespace

// Tells the gates a worker thread was released by that the thread has ended, so that the main
// thread stops waiting for it. Lives in the worker's thread-local storage.
class VirtualThreadExitWatch {
  public:
    void Add(const std::weak_ptr<VirtualThreadGate>& gate) {
        for (const auto& known : gates_) {
            if (!known.owner_before(gate) && !gate.owner_before(known)) {
                return;
            }
        }
        std::erase_if(gates_, [](const auto& known) { return known.expired(); });
        gates_.push_back(gate);
    }

    ~VirtualThreadExitWatch() {
        for (const auto& known : gates_) {
            if (auto gate = known.lock()) {
                gate->NoteThreadExit(thread_);
            }
        }
    }

  private:
    const std::thread::id thread_ = std::this_thread::get_id();
    std::vector<std::weak_ptr<VirtualThreadGate>> gates_;
};

void VirtualThreadGate::Post(std::function<void()> message) {
    if (!message) {
        throw std::invalid_argument("posted message has no target");
    }
    std::lock_guard lock(mutex_);
    if (closed_) {
        return;
    }
    messages_.push_back(std::move(message));
    changed_.notify_all();
}

std::optional<std::function<void()>> VirtualThreadGate::TakeMessage() {
    std::lock_guard lock(mutex_);
    if (messages_.empty()) {
        return std::nullopt;
    }
    auto message = std::move(messages_.front());
    messages_.pop_front();
    return message;
}

void VirtualThreadGate::WorkerSleepUntil(std::int64_t wake_ms) {
    WatchExitOfThisThread();
    const auto self = std::this_thread::get_id();
    bool released = false;
    std::unique_lock lock(mutex_);
    if (closed_) {
        return;
    }
    running_.erase(self);
    sleepers_.emplace(SleeperKey{wake_ms, next_sleep_order_++}, Sleeper{self, &released});
    changed_.notify_all();
    changed_.wait(lock, [&] { return released; });
}

void VirtualThreadGate::WorkerSynchronize(std::function<void()> call) {
    WatchExitOfThisThread();
    const auto self = std::this_thread::get_id();
    auto done = std::make_shared<std::promise<void>>();
    auto finished = done->get_future();
    {
        std::lock_guard lock(mutex_);
        if (closed_) {
            throw std::logic_error("synchronised call after the event loop ended");
        }
        running_.erase(self);
        ++synchronizing_;
        // Runs on the main thread. Should it be dropped unrun, the promise breaks and the
        // worker's wait ends with an error.
        messages_.push_back([this, self, done = std::move(done), call = std::move(call)] {
            {
                std::lock_guard count_lock(mutex_);
                --synchronizing_;
            }
            std::exception_ptr error;
            try {
                call();
            } catch (...) {
                error = std::current_exception();
            }
            std::unique_lock main_lock(mutex_);
            running_.insert(self);
            if (error) {
                done->set_exception(error);
            } else {
                done->set_value();
            }
            WaitUntilNoneRunning(main_lock);
        });
        changed_.notify_all();
    }
    finished.get();
}

bool VirtualThreadGate::ReleaseOneDueWorker(std::int64_t now_ms) {
    std::unique_lock lock(mutex_);
    if (sleepers_.empty() || sleepers_.begin()->first.first > now_ms) {
        return false;
    }
    auto sleeper = sleepers_.extract(sleepers_.begin()).mapped();
    *sleeper.released = true;
    running_.insert(sleeper.thread);
    changed_.notify_all();
    WaitUntilNoneRunning(lock);
    return true;
}

std::optional<std::int64_t> VirtualThreadGate::NextWake() const {
    std::lock_guard lock(mutex_);
    if (sleepers_.empty()) {
        return std::nullopt;
    }
    return sleepers_.begin()->first.first;
}

void VirtualThreadGate::AwaitBlockedWorkers(std::size_t count) {
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, kStallLimit,
                           [&] { return sleepers_.size() + synchronizing_ >= count; })) {
        throw std::logic_error("worker threads did not block on the event loop");
    }
}

std::size_t VirtualThreadGate::MessageCount() const {
    std::lock_guard lock(mutex_);
    return messages_.size();
}

std::size_t VirtualThreadGate::SleepingCount() const {
    std::lock_guard lock(mutex_);
    return sleepers_.size();
}

std::size_t VirtualThreadGate::SynchronizingCount() const {
    std::lock_guard lock(mutex_);
    return synchronizing_;
}

void VirtualThreadGate::Close() {
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        for (auto& [key, sleeper] : sleepers_) {
            *sleeper.released = true;
        }
        sleepers_.clear();
        running_.clear();
        dropped.swap(messages_);
        changed_.notify_all();
    }
    // The dropped messages die here, outside the lock: their promises break.
}

void VirtualThreadGate::WatchExitOfThisThread() {
    thread_local VirtualThreadExitWatch watch;
    watch.Add(weak_from_this());
}

void VirtualThreadGate::NoteThreadExit(std::thread::id thread) {
    std::lock_guard lock(mutex_);
    if (running_.erase(thread) > 0) {
        changed_.notify_all();
    }
}

void VirtualThreadGate::WaitUntilNoneRunning(std::unique_lock<std::mutex>& lock) {
    if (!changed_.wait_for(lock, kStallLimit, [&] { return running_.empty(); })) {
        throw std::logic_error("a released worker thread neither blocked nor ended");
    }
}

}  // namespace planwarte
