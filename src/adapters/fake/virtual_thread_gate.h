#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <utility>

namespace planwarte {

// Everything of the virtual event loop that other threads touch: the queue of posted
// messages and the worker threads that sleep on virtual time or wait for a synchronised call.
//
// Worker threads take turns with the main thread, so that what they do interleaves the same
// way on every run. A worker's sleep lasts until the main thread's virtual time reaches its
// wake time; the main thread then releases the sleepers due, one after the other in order of
// wake time (ties in the order they went to sleep), and waits after each until every released
// worker has blocked again (in a sleep or a synchronised call) or its thread has ended. A
// synchronised call is a posted message; once the main thread has run it, it waits the same way
// for the worker it let go on. A worker released this way must not block on anything else than
// this gate, or the main thread reports it as stalled after a few seconds of real time.
class VirtualThreadGate : public std::enable_shared_from_this<VirtualThreadGate> {
  public:
    // Any thread. Messages posted after Close are dropped.
    void Post(std::function<void()> message);

    // Main thread: the oldest posted message, taken off the queue.
    std::optional<std::function<void()>> TakeMessage();

    // Worker threads.
    void WorkerSleepUntil(std::int64_t wake_ms);
    void WorkerSynchronize(std::function<void()> call);

    // Main thread: lets the sleeper due first at now run until it blocks again or ends.
    bool ReleaseOneDueWorker(std::int64_t now_ms);
    std::optional<std::int64_t> NextWake() const;
    // Waits (in real time) until this many workers sleep or wait for a synchronised call, so
    // that a test starts its workers from a known state.
    void AwaitBlockedWorkers(std::size_t count);

    std::size_t MessageCount() const;
    std::size_t SleepingCount() const;
    std::size_t SynchronizingCount() const;

    // Lets every sleeper go and drops the queue: a synchronised call that never ran fails in
    // its worker instead of blocking it forever.
    void Close();

  private:
    friend class VirtualThreadExitWatch;

    struct Sleeper {
        std::thread::id thread;
        bool* released;
    };
    // Sleepers by wake time, then by the order they went to sleep.
    using SleeperKey = std::pair<std::int64_t, std::uint64_t>;

    void WatchExitOfThisThread();
    void NoteThreadExit(std::thread::id thread);
    void WaitUntilNoneRunning(std::unique_lock<std::mutex>& lock);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> messages_;
    std::map<SleeperKey, Sleeper> sleepers_;
    std::uint64_t next_sleep_order_ = 0;
    // Workers the main thread let go and waits for.
    std::set<std::thread::id> running_;
    std::size_t synchronizing_ = 0;
    bool closed_ = false;
};

}  // namespace planwarte
