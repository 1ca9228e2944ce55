#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "fake/virtual_loop_fixture.h"

namespace planwarte {
namespace {

using VirtualWorkerTest = VirtualLoopTest;

// A wait that polls in 50 ms steps runs its two seconds at once and delivers nothing meanwhile.
TEST_F(VirtualWorkerTest, MainThreadSleepMovesTimeWithoutDelivering) {
    auto timer = loop_.CreateTimer(100, [&] { Record("tick"); });
    timer->SetEnabled(true);
    loop_.Post([&] { Record("message"); });

    const auto until = clock_.TickCountMs() + 2000;
    int steps = 0;
    while (clock_.TickCountMs() < until) {
        loop_.Sleep(50);
        ++steps;
    }

    EXPECT_EQ(steps, 40);
    EXPECT_EQ(clock_.ElapsedMs(), 2000);
    EXPECT_TRUE(Trace().empty());
    loop_.ProcessPendingMessages();
    EXPECT_EQ(Trace(), (std::vector<std::string>{"message@2000", "tick@2000"}));
}

TEST_F(VirtualWorkerTest, WorkerSleepEndsWhenMainTimeReachesIt) {
    std::thread worker([&] {
        for (int i = 0; i < 3; ++i) {
            loop_.Sleep(1000);
            Record("worker");
        }
    });
    loop_.AwaitBlockedWorkers(1);
    loop_.AdvanceBy(999);
    EXPECT_TRUE(Trace().empty());
    loop_.AdvanceBy(2501);
    worker.join();
    EXPECT_EQ(Trace(), (std::vector<std::string>{"worker@1000", "worker@2000", "worker@3000"}));
}

// Two workers and a main-thread timer interleave by due time: at one instant the workers whose
// sleep ends go first, in the order they fell asleep, then the timer. Repeated, since a race
// would show as a different order now and then.
TEST_F(VirtualWorkerTest, WorkersAndTimersInterleaveTheSameWayEveryTime) {
    const std::vector<std::string> expected = {"b@200", "a@300", "b@400", "tick@500", "a@600",
                                               "b@600", "b@800", "a@900", "b@1000",   "tick@1000"};
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        VirtualClock clock(DateTime(45000.0));
        VirtualEventLoop loop(clock);
        std::mutex mutex;
        std::vector<std::string> trace;
        auto record = [&](const char* what) {
            std::lock_guard lock(mutex);
            trace.push_back(what + ("@" + std::to_string(clock.ElapsedMs())));
        };
        auto sleeper = [&](const char* name, int step, int count) {
            return std::thread([&, name, step, count] {
                for (int i = 0; i < count; ++i) {
                    loop.Sleep(step);
                    record(name);
                }
            });
        };
        auto timer = loop.CreateTimer(500, [&] { record("tick"); });
        timer->SetEnabled(true);
        std::thread a = sleeper("a", 300, 3);
        std::thread b = sleeper("b", 200, 5);
        loop.AwaitBlockedWorkers(2);

        loop.AdvanceBy(1000);

        a.join();
        b.join();
        EXPECT_EQ(trace, expected);
    }
}

TEST_F(VirtualWorkerTest, SynchronizeRunsOnTheMainThreadAtItsNextProcessing) {
    const auto main_id = std::this_thread::get_id();
    std::thread::id ran_on;
    std::thread worker([&] {
        loop_.Synchronize([&] {
            ran_on = std::this_thread::get_id();
            Record("synchronised");
        });
        loop_.Post([&] { Record("posted after"); });
        loop_.Sleep(100);
        Record("worker woke");
    });
    loop_.AwaitBlockedWorkers(1);
    EXPECT_EQ(loop_.Pending().synchronizing_workers, 1u);
    EXPECT_TRUE(Trace().empty());

    // The worker goes on once the call has run; the main thread waits until it sleeps, so the
    // worker's post is delivered in the same round.
    loop_.ProcessPendingMessages();
    EXPECT_EQ(ran_on, main_id);
    EXPECT_EQ(Trace(), (std::vector<std::string>{"synchronised@0", "posted after@0"}));
    EXPECT_EQ(loop_.Pending().sleeping_workers, 1u);

    loop_.AdvanceBy(100);
    worker.join();
    EXPECT_EQ(Trace().back(), "worker woke@100");
}

TEST_F(VirtualWorkerTest, SynchronizedErrorIsRethrownInTheWorker) {
    std::string worker_saw;
    std::thread worker([&] {
        try {
            loop_.Synchronize([] { throw std::runtime_error("no count"); });
        } catch (const std::runtime_error& error) {
            worker_saw = error.what();
        }
    });
    loop_.AwaitBlockedWorkers(1);
    EXPECT_NO_THROW(loop_.ProcessPendingMessages());
    worker.join();
    EXPECT_EQ(worker_saw, "no count");
}

TEST_F(VirtualWorkerTest, SynchronizeOnTheMainThreadRunsDirectly) {
    bool ran = false;
    loop_.Synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_EQ(loop_.Pending().messages, 0u);
}

// Ending the loop must not leave a worker blocked for good: a sleep ends and a synchronised
// call that never ran fails.
TEST_F(VirtualWorkerTest, EndingTheLoopReleasesWaitingWorkers) {
    auto loop = std::make_unique<VirtualEventLoop>(clock_);
    std::promise<bool> sleep_ended;
    std::promise<bool> call_failed;
    std::thread sleeper([&] {
        loop->Sleep(60000);
        sleep_ended.set_value(true);
    });
    std::thread caller([&] {
        try {
            loop->Synchronize([] {});
            call_failed.set_value(false);
        } catch (const std::exception&) {
            call_failed.set_value(true);
        }
    });
    loop->AwaitBlockedWorkers(2);
    loop.reset();
    sleeper.join();
    caller.join();
    EXPECT_TRUE(sleep_ended.get_future().get());
    EXPECT_TRUE(call_failed.get_future().get());
}

}  // namespace
}  // namespace planwarte
