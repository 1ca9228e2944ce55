#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "fake/virtual_loop_fixture.h"

namespace planwarte {
namespace {

using VirtualTimerTest = VirtualLoopTest;

TEST_F(VirtualTimerTest, TwoMinutesOfASecondAndAMinuteTimer) {
    for (const bool minute_first : {false, true}) {
        SCOPED_TRACE(minute_first ? "minute timer created first" : "second timer created first");
        VirtualClock clock(DateTime(45000.0));
        VirtualEventLoop loop(clock);
        std::vector<std::string> ticks;
        auto make = [&](const char* name, int interval) {
            return loop.CreateTimer(interval, [&ticks, &clock, name] {
                ticks.push_back(name + std::to_string(clock.ElapsedMs()));
            });
        };
        std::unique_ptr<Timer> seconds;
        std::unique_ptr<Timer> minutes;
        if (minute_first) {
            minutes = make("m", 60000);
            seconds = make("s", 1000);
        } else {
            seconds = make("s", 1000);
            minutes = make("m", 60000);
        }
        seconds->SetEnabled(true);
        minutes->SetEnabled(true);

        loop.AdvanceBy(120000);

        std::vector<std::string> expected;
        for (int second = 1; second <= 120; ++second) {
            const std::string at = std::to_string(second * 1000);
            const bool full_minute = second % 60 == 0;
            if (full_minute && minute_first) {
                expected.push_back("m" + at);
            }
            expected.push_back("s" + at);
            if (full_minute && !minute_first) {
                expected.push_back("m" + at);
            }
        }
        EXPECT_EQ(ticks, expected);
        EXPECT_EQ(clock.ElapsedMs(), 120000);
    }
}

// Drives one timer through enable, disable and interval changes at given times.
TEST_F(VirtualTimerTest, EnableDisableAndIntervalChanges) {
    struct Step {
        std::int64_t at_ms;
        std::optional<bool> enable;
        std::optional<int> interval;
    };
    struct Case {
        const char* name;
        int initial_interval;
        std::vector<Step> steps;
        std::int64_t until_ms;
        std::vector<std::int64_t> ticks;
    };
    const std::vector<Case> cases = {
        {"enabled ticks every interval", 1000, {{0, true, {}}}, 3500, {1000, 2000, 3000}},
        {"a new timer is disabled", 1000, {}, 5000, {}},
        {"disabling stops, enabling restarts from now",
         1000,
         {{0, true, {}}, {2500, false, {}}, {7300, true, {}}},
         9400,
         {1000, 2000, 8300, 9300}},
        {"an interval change restarts from now",
         1000,
         {{0, true, {}}, {2500, {}, 3000}},
         9000,
         {1000, 2000, 5500, 8500}},
        {"setting the same interval keeps the schedule",
         1000,
         {{0, true, {}}, {2500, {}, 1000}},
         4000,
         {1000, 2000, 3000, 4000}},
        {"enabling an enabled timer keeps the schedule",
         1000,
         {{0, true, {}}, {2500, true, {}}},
         3000,
         {1000, 2000, 3000}},
        {"an interval change while disabled waits for the enable",
         1000,
         {{0, {}, 500}, {1000, true, {}}},
         2000,
         {1500, 2000}},
        {"a zero interval never ticks until it gets one",
         0,
         {{0, true, {}}, {5000, {}, 700}},
         6500,
         {5700, 6400}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        VirtualClock clock(DateTime(45000.0));
        VirtualEventLoop loop(clock);
        std::vector<std::int64_t> ticks;
        auto timer =
            loop.CreateTimer(c.initial_interval, [&] { ticks.push_back(clock.ElapsedMs()); });
        for (const auto& step : c.steps) {
            loop.AdvanceBy(step.at_ms - clock.ElapsedMs());
            if (step.interval) {
                timer->SetInterval(*step.interval);
            }
            if (step.enable) {
                timer->SetEnabled(*step.enable);
            }
        }
        loop.AdvanceBy(c.until_ms - clock.ElapsedMs());
        EXPECT_EQ(ticks, c.ticks);
    }
}

TEST_F(VirtualTimerTest, NegativeIntervalIsRejected) {
    auto timer = loop_.CreateTimer(1000, [] {});
    EXPECT_THROW(timer->SetInterval(-1), std::invalid_argument);
    EXPECT_EQ(timer->Interval(), 1000);
    EXPECT_THROW(loop_.CreateTimer(-5, [] {}), std::invalid_argument);
}

// A minute timer that realigns itself once: its first tick shortens the interval, the next
// one sets the full minute again. Each change counts from the tick that made it.
TEST_F(VirtualTimerTest, HandlerChangingItsOwnInterval) {
    std::unique_ptr<Timer> timer;
    int tick = 0;
    timer = loop_.CreateTimer(60000, [&] {
        Record("tick");
        timer->SetInterval(60000);
        if (++tick == 1) {
            timer->SetInterval(28000);
        }
    });
    timer->SetEnabled(true);
    loop_.AdvanceBy(210000);
    EXPECT_EQ(Trace(),
              (std::vector<std::string>{"tick@60000", "tick@88000", "tick@148000", "tick@208000"}));
}

// The stop, change, start pattern of an idle timer: the first tick comes quickly, later ones
// at the long interval counted from each tick.
TEST_F(VirtualTimerTest, HandlerStoppingAndRestartingItself) {
    std::unique_ptr<Timer> timer;
    timer = loop_.CreateTimer(100, [&] {
        timer->SetInterval(10000);
        timer->SetEnabled(false);
        Record("idle");
        timer->SetEnabled(true);
    });
    timer->SetEnabled(true);
    loop_.AdvanceBy(30000);
    EXPECT_EQ(Trace(), (std::vector<std::string>{"idle@100", "idle@10100", "idle@20100"}));
}

TEST_F(VirtualTimerTest, TimerDestroyedInItsOwnHandlerNeverTicksAgain) {
    std::unique_ptr<Timer> timer;
    int ticks = 0;
    timer = loop_.CreateTimer(1000, [&] {
        ++ticks;
        timer.reset();
    });
    timer->SetEnabled(true);
    loop_.AdvanceBy(5000);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(loop_.Pending().active_timers, 0u);
}

TEST_F(VirtualTimerTest, TimerDestroyedByAnotherHandlerAtTheSameInstantDoesNotTick) {
    std::unique_ptr<Timer> victim;
    auto killer = loop_.CreateTimer(1000, [&] {
        Record("killer");
        victim.reset();
    });
    victim = loop_.CreateTimer(1000, [&] { Record("victim"); });
    killer->SetEnabled(true);
    victim->SetEnabled(true);
    loop_.AdvanceBy(1000);
    EXPECT_EQ(Trace(), (std::vector<std::string>{"killer@1000"}));
}

// A handler that sleeps past its next due time and then processes messages: the timer is not
// re-entered; afterwards the missed ticks arrive as one late tick and the timer keeps its grid.
TEST_F(VirtualTimerTest, NotReenteredAndLateTicksCollapse) {
    int depth = 0;
    int deepest = 0;
    int ticks = 0;
    auto timer = loop_.CreateTimer(1000, [&] {
        ++depth;
        deepest = std::max(deepest, depth);
        Record("tick");
        if (++ticks == 1) {
            loop_.Sleep(2500);
            loop_.ProcessPendingMessages();
        }
        --depth;
    });
    timer->SetEnabled(true);
    loop_.AdvanceBy(5000);
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(Trace(),
              (std::vector<std::string>{"tick@1000", "tick@3500", "tick@4000", "tick@5000"}));
}

TEST_F(VirtualTimerTest, HandlerErrorLeavesTheTimerTicking) {
    int ticks = 0;
    auto timer = loop_.CreateTimer(1000, [&] {
        if (++ticks == 1) {
            throw std::runtime_error("handler failed");
        }
    });
    timer->SetEnabled(true);
    EXPECT_THROW(loop_.AdvanceBy(1500), std::runtime_error);
    loop_.AdvanceBy(2500 - clock_.ElapsedMs());
    EXPECT_EQ(ticks, 2);
}

TEST_F(VirtualTimerTest, PendingCountsActiveTimers) {
    auto a = loop_.CreateTimer(1000, [] {});
    auto b = loop_.CreateTimer(0, [] {});
    EXPECT_EQ(loop_.Pending().active_timers, 0u);
    a->SetEnabled(true);
    b->SetEnabled(true);
    EXPECT_EQ(loop_.Pending().active_timers, 1u);
    a.reset();
    EXPECT_EQ(loop_.Pending().active_timers, 0u);
}

}  // namespace
}  // namespace planwarte
