#include "adapters/linux/system_event_loop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace planwarte {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

TEST(SystemEventLoopTest, TimerTicksUntilItsHandlerQuits) {
    SystemEventLoop loop;
    int ticks = 0;
    auto timer = loop.CreateTimer(20, [&] {
        if (++ticks == 3) {
            loop.Quit(5);
        }
    });
    timer->SetEnabled(true);
    const auto start = steady_clock::now();
    EXPECT_EQ(loop.Run(), 5);
    EXPECT_EQ(ticks, 3);
    // Three intervals, less the millisecond the timers round to.
    EXPECT_GE(steady_clock::now() - start, milliseconds(57));
}

TEST(SystemEventLoopTest, DisabledAndDestroyedTimersStayQuiet) {
    SystemEventLoop loop;
    int disabled_ticks = 0;
    int self_destroying_ticks = 0;
    auto disabled = loop.CreateTimer(5, [&] { ++disabled_ticks; });
    std::unique_ptr<Timer> self_destroying;
    self_destroying = loop.CreateTimer(5, [&] {
        ++self_destroying_ticks;
        self_destroying.reset();
    });
    self_destroying->SetEnabled(true);
    auto end = loop.CreateTimer(60, [&] { loop.Quit(0); });
    end->SetEnabled(true);
    EXPECT_EQ(loop.Run(), 0);
    EXPECT_EQ(disabled_ticks, 0);
    EXPECT_EQ(self_destroying_ticks, 1);
}

TEST(SystemEventLoopTest, QuitFromOtherThreadsEndsRun) {
    struct Case {
        const char* name;
        void (*quit)(SystemEventLoop&, int);
    };
    const Case cases[] = {
        {"posted message",
         [](SystemEventLoop& loop, int code) { loop.Post([&loop, code] { loop.Quit(code); }); }},
        {"quit request", [](SystemEventLoop& loop, int code) { loop.RequestQuit(code); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SystemEventLoop loop;
        std::thread other([&] {
            std::this_thread::sleep_for(milliseconds(30));
            c.quit(loop, 9);
        });
        EXPECT_EQ(loop.Run(), 9);
        other.join();
    }
}

TEST(SystemEventLoopTest, QuitBeforeRunEndsItAtOnce) {
    SystemEventLoop loop;
    loop.Quit(4);
    EXPECT_EQ(loop.Run(), 4);
}

TEST(SystemEventLoopTest, ProcessingDeliversPostedMessagesInOrderThenTicks) {
    SystemEventLoop loop;
    std::vector<std::string> trace;
    auto timer = loop.CreateTimer(50, [&] { trace.push_back("tick"); });
    timer->SetEnabled(true);
    // Past the first tick, well before the second.
    std::this_thread::sleep_for(milliseconds(60));
    loop.Post([&] {
        trace.push_back("outer begins");
        loop.ProcessPendingMessages();
        trace.push_back("outer ends");
    });
    loop.Post([&] { trace.push_back("second"); });
    loop.ProcessPendingMessages();
    EXPECT_EQ(trace, (std::vector<std::string>{"outer begins", "second", "tick", "outer ends"}));
}

TEST(SystemEventLoopTest, SynchronizeRunsOnTheMainThread) {
    SystemEventLoop loop;
    const auto main_id = std::this_thread::get_id();
    std::thread::id ran_on;
    std::string worker_saw;
    std::thread worker([&] {
        loop.Synchronize([&] { ran_on = std::this_thread::get_id(); });
        try {
            loop.Synchronize([] { throw std::runtime_error("failed on main"); });
        } catch (const std::runtime_error& error) {
            worker_saw = error.what();
        }
        loop.RequestQuit(0);
    });
    EXPECT_EQ(loop.Run(), 0);
    worker.join();
    EXPECT_EQ(ran_on, main_id);
    EXPECT_EQ(worker_saw, "failed on main");

    bool ran_directly = false;
    loop.Synchronize([&] { ran_directly = true; });
    EXPECT_TRUE(ran_directly);
}

TEST(SystemEventLoopTest, EndingTheLoopFailsAWaitingSynchronize) {
    auto loop = std::make_unique<SystemEventLoop>();
    bool failed = false;
    std::thread worker([&, raw = loop.get()] {
        try {
            raw->Synchronize([] {});
        } catch (const std::exception&) {
            failed = true;
        }
    });
    while (loop->PendingMessages() == 0) {
        std::this_thread::sleep_for(milliseconds(1));
    }
    loop.reset();
    worker.join();
    EXPECT_TRUE(failed);
}

}  // namespace
}  // namespace planwarte
