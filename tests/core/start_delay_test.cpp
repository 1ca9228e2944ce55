#include "core/app/start_delay.h"

#include <gtest/gtest.h>

#include "adapters/fake/memory_settings_store.h"
#include "adapters/fake/virtual_clock.h"
#include "adapters/fake/virtual_event_loop.h"
#include "core/common/date_time.h"
#include "core/settings/setting_values.h"

namespace planwarte {
namespace {

TEST(StartDelayTest, DelayFollowsUseDelayAndAbsentUseDelayIsStoredWithoutWaiting) {
    struct Case {
        const char* name;
        std::optional<int> use_delay;
        std::optional<int> delay;
        int expected_seconds;
    };
    const std::vector<Case> cases = {
        {"both absent", std::nullopt, std::nullopt, 0},
        {"UseDelay absent, Delay 9", std::nullopt, 9, 0},
        {"UseDelay on, Delay absent", 1, std::nullopt, 3},
        {"UseDelay on, Delay 5", 1, 5, 5},
        {"UseDelay off, Delay 5", 0, 5, 0},
        {"UseDelay any non-zero", 7, 2, 2},
        {"Delay beyond the dialog's range", 1, 100000, 60},
        {"Delay negative", 1, -5, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemorySettingsStore settings;
        settings.CreateKey(kSettingsKeyPath);
        if (c.use_delay) {
            settings.SetInteger(kSettingsKeyPath, "UseDelay", *c.use_delay);
        }
        if (c.delay) {
            settings.SetInteger(kSettingsKeyPath, "Delay", *c.delay);
        }
        EXPECT_EQ(ReadStartDelaySeconds(settings), c.expected_seconds);
        const std::int32_t stored_use_delay = c.use_delay ? *c.use_delay : 1;
        EXPECT_EQ(settings.IntegerValue(kSettingsKeyPath, "UseDelay"), stored_use_delay);
    }
}

TEST(StartDelayTest, WronglyTypedUseDelayIsTreatedAsAbsent) {
    MemorySettingsStore settings;
    settings.SetString(kSettingsKeyPath, "UseDelay", "yes");
    settings.SetInteger(kSettingsKeyPath, "Delay", 5);
    EXPECT_EQ(ReadStartDelaySeconds(settings), 0);
    EXPECT_EQ(settings.IntegerValue(kSettingsKeyPath, "UseDelay"), 1);
}

TEST(StartDelayTest, UnreachableStoreMeansNoDelay) {
    MemorySettingsStore settings;
    settings.SetUnavailable(true);
    EXPECT_EQ(ReadStartDelaySeconds(settings), 0);
}

TEST(StartDelayTest, WaitEndsAtTheFirstWholeSecondCheckAfterTheDelay) {
    for (const int seconds : {0, 1, 5, 60}) {
        SCOPED_TRACE(seconds);
        VirtualClock clock(EncodeDateTime(2004, 12, 8, 9, 0));
        VirtualEventLoop loop(clock);
        WaitStartDelay(clock, loop, seconds);
        EXPECT_EQ(clock.ElapsedMs(), seconds * 1000);
    }
}

TEST(StartDelayTest, NegativeDelayDoesNotWait) {
    VirtualClock clock(EncodeDateTime(2004, 12, 8, 9, 0));
    VirtualEventLoop loop(clock);
    WaitStartDelay(clock, loop, -3);
    EXPECT_EQ(clock.ElapsedMs(), 0);
}

}  // namespace
}  // namespace planwarte
