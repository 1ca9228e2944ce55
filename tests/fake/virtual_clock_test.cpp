#include "adapters/fake/virtual_clock.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace planwarte {
namespace {

TEST(VirtualClockTest, NowIsStartPlusElapsedTime) {
    struct Case {
        std::int64_t elapsed_ms;
        double expected_days;
    };
    const Case cases[] = {
        {0, 45000.25},
        {90 * 60 * 1000, 45000.3125},
        {12 * 60 * 60 * 1000, 45000.75},
        {3LL * 24 * 60 * 60 * 1000, 45003.25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.elapsed_ms);
        VirtualClock clock(DateTime(45000.25));
        clock.Advance(c.elapsed_ms);
        EXPECT_NEAR(clock.Now().value, c.expected_days, 1e-9);
        EXPECT_EQ(clock.ElapsedMs(), c.elapsed_ms);
    }
}

TEST(VirtualClockTest, TickCountCountsFromItsStartValue) {
    VirtualClock clock(DateTime(45000.0));
    EXPECT_EQ(clock.TickCountMs(), VirtualClock::kDefaultStartTickMs);
    clock.Advance(1500);
    clock.AdvanceTo(4000);
    EXPECT_EQ(clock.TickCountMs(), VirtualClock::kDefaultStartTickMs + 4000);

    VirtualClock late_start(DateTime(45000.0), 5);
    late_start.Advance(10);
    EXPECT_EQ(late_start.TickCountMs(), 15u);
}

TEST(VirtualClockTest, RefusesToRunBackwards) {
    VirtualClock clock(DateTime(45000.0));
    clock.Advance(1000);
    EXPECT_THROW(clock.Advance(-1), std::invalid_argument);
    EXPECT_THROW(clock.AdvanceTo(999), std::invalid_argument);
    EXPECT_EQ(clock.ElapsedMs(), 1000);
}

}  // namespace
}  // namespace planwarte
