#include "core/app/periodic_timers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "adapters/fake/virtual_clock.h"
#include "adapters/fake/virtual_event_loop.h"
#include "core/common/date_time.h"

namespace planwarte {
namespace {

// Runs the timers on virtual time and logs every duty with the wall-clock time it ran at.
class PeriodicTimersTest : public ::testing::Test {
  protected:
    // Starts the virtual clock at the given time of 10 December 2026.
    void StartAt(int hour, int minute, int second, PeriodicDuties duties) {
        clock_ = std::make_unique<VirtualClock>(EncodeDateTime(2026, 12, 10, hour, minute, second));
        loop_ = std::make_unique<VirtualEventLoop>(*clock_);
        timers_ = std::make_unique<PeriodicTimers>(*loop_, *clock_, std::move(duties));
    }
    void StartAt(int hour, int minute, int second) { StartAt(hour, minute, second, Duties()); }

    PeriodicDuties Duties() {
        return PeriodicDuties{
            .check_new_mail = [this] { Log("mail"); },
            .add_tray_icon =
                [this] {
                    Log("add tray icon");
                    return tray_adds_failing_-- <= 0;
                },
            .set_tray_icon_picture_and_tip = [this] { Log("tray picture"); },
            .assistant_idle_tick =
                [this] {
                    Log("idle");
                    if (idle_failing_) {
                        idle_failing_ = false;
                        throw std::runtime_error("assistant gone");
                    }
                },
            .time_announcement_check = [this] { Log("announce"); },
            .sayings_check = [this] { Log("sayings"); },
            .rebuild_page =
                [this](DateTime now) {
                    rebuilt_for_.push_back(now);
                    Log("rebuild");
                },
            .set_appointment_intro_pending = [this] { Log("intro pending"); },
        };
    }

    // "duty@D HH:MM:SS.mmm", D the day of the month.
    void Log(const std::string& duty) {
        const DateTime now = clock_->Now();
        const CalendarDate d = DecodeDate(now);
        const TimeOfDay t = DecodeTime(now);
        char text[32];
        std::snprintf(text, sizeof text, "@%d %02d:%02d:%02d.%03d", d.day, t.hour, t.minute,
                      t.second, t.millisecond);
        log_.push_back(duty + text);
    }

    std::vector<std::string> EntriesOf(const std::string& duty) const {
        std::vector<std::string> entries;
        for (const std::string& entry : log_) {
            if (entry.starts_with(duty + "@")) {
                entries.push_back(entry);
            }
        }
        return entries;
    }

    std::unique_ptr<VirtualClock> clock_;
    std::unique_ptr<VirtualEventLoop> loop_;
    std::unique_ptr<PeriodicTimers> timers_;
    std::vector<std::string> log_;
    std::vector<DateTime> rebuilt_for_;
    int tray_adds_failing_ = 0;
    bool idle_failing_ = false;
};

TEST_F(PeriodicTimersTest, MinuteTicksRealignToFiveSecondsAfterTheFullMinute) {
    struct Case {
        int created_second;
        std::vector<std::string> announcements;
    };
    const std::vector<Case> cases = {
        {37,
         {"announce@10 10:01:37.000", "announce@10 10:02:05.000", "announce@10 10:03:05.000",
          "announce@10 10:04:05.000"}},
        {0,
         {"announce@10 10:01:00.000", "announce@10 10:02:05.000", "announce@10 10:03:05.000",
          "announce@10 10:04:05.000"}},
        {59,
         {"announce@10 10:01:59.000", "announce@10 10:02:05.000", "announce@10 10:03:05.000",
          "announce@10 10:04:05.000"}},
        {5,
         {"announce@10 10:01:05.000", "announce@10 10:02:05.000", "announce@10 10:03:05.000",
          "announce@10 10:04:05.000"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.created_second);
        log_.clear();
        StartAt(10, 0, c.created_second);
        timers_->StartMinuteTimer();
        loop_->AdvanceBy((4 * 60 + 10 - c.created_second) * 1000);  // to 10:04:10
        EXPECT_EQ(EntriesOf("announce"), c.announcements);
        EXPECT_EQ(EntriesOf("sayings").size(), c.announcements.size());
        EXPECT_TRUE(EntriesOf("rebuild").empty());
    }
}

TEST_F(PeriodicTimersTest, DayChangeRebuildsOnceAtTheFirstTickAfterMidnight) {
    StartAt(23, 57, 30);
    timers_->StartMinuteTimer();
    loop_->AdvanceBy(30 * 60 * 1000);  // to 00:27:30

    EXPECT_EQ(EntriesOf("rebuild"), std::vector<std::string>{"rebuild@11 00:00:05.000"});
    EXPECT_EQ(EntriesOf("intro pending"),
              std::vector<std::string>{"intro pending@11 00:00:05.000"});
    ASSERT_EQ(rebuilt_for_.size(), 1u);
    EXPECT_EQ(DecodeDate(rebuilt_for_[0]), (CalendarDate{2026, 12, 11}));

    // Inside a tick: the checks first, the rebuild and the flag after them.
    const std::vector<std::string> midnight_tick = {
        "announce@11 00:00:05.000", "sayings@11 00:00:05.000", "rebuild@11 00:00:05.000",
        "intro pending@11 00:00:05.000"};
    const auto first = std::find(log_.begin(), log_.end(), midnight_tick[0]);
    ASSERT_NE(first, log_.end());
    EXPECT_EQ(std::vector<std::string>(first, first + 4), midnight_tick);
}

TEST_F(PeriodicTimersTest, WindowCreatedJustBeforeMidnightGetsTheNewDayAtItsFirstTick) {
    StartAt(23, 59, 30);
    timers_->StartMinuteTimer();
    loop_->AdvanceBy(5 * 60 * 1000);
    EXPECT_EQ(EntriesOf("rebuild"), std::vector<std::string>{"rebuild@11 00:00:30.000"});
}

TEST_F(PeriodicTimersTest, FailedDayChangeRebuildIsTriedAgainAtTheNextTick) {
    int builds = 0;
    PeriodicDuties duties;
    duties.rebuild_page = [&builds](DateTime) {
        if (++builds == 1) {
            throw std::runtime_error("page build refused");
        }
    };
    StartAt(23, 59, 0, std::move(duties));
    timers_->StartMinuteTimer();
    EXPECT_THROW(loop_->AdvanceBy(60 * 1000), std::runtime_error);  // 00:00:00
    loop_->AdvanceBy(10 * 60 * 1000);
    EXPECT_EQ(builds, 2);
}

TEST_F(PeriodicTimersTest, TrayTimerRunsTheStartDutiesOnceThenTheIdleTickEveryTenSeconds) {
    StartAt(9, 0, 0);
    timers_->StartTrayTimer();
    loop_->AdvanceBy(20200);
    EXPECT_EQ(log_,
              (std::vector<std::string>{"mail@10 09:00:00.100", "add tray icon@10 09:00:00.100",
                                        "tray picture@10 09:00:00.100", "idle@10 09:00:00.100",
                                        "idle@10 09:00:10.100", "idle@10 09:00:20.100"}));
}

TEST_F(PeriodicTimersTest, FailedTrayIconIsAddedOnceMoreASecondLater) {
    struct Case {
        int failing_adds;
        std::vector<std::string> first_tick;
    };
    const std::vector<Case> cases = {
        {1,
         {"mail@10 09:00:00.100", "add tray icon@10 09:00:00.100", "add tray icon@10 09:00:01.100",
          "tray picture@10 09:00:01.100", "idle@10 09:00:01.100"}},
        // A second failure is not retried; the picture is set all the same.
        {2,
         {"mail@10 09:00:00.100", "add tray icon@10 09:00:00.100", "add tray icon@10 09:00:01.100",
          "tray picture@10 09:00:01.100", "idle@10 09:00:01.100"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing_adds);
        log_.clear();
        tray_adds_failing_ = c.failing_adds;
        StartAt(9, 0, 0);
        timers_->StartTrayTimer();
        loop_->AdvanceBy(1200);
        EXPECT_EQ(log_, c.first_tick);
        loop_->AdvanceBy(10000);
        EXPECT_EQ(EntriesOf("idle").back(), "idle@10 09:00:11.100");
        EXPECT_EQ(EntriesOf("add tray icon").size(), 2u);
    }
}

TEST_F(PeriodicTimersTest, TrayTimerKeepsTickingAfterAFailingDuty) {
    idle_failing_ = true;
    StartAt(9, 0, 0);
    timers_->StartTrayTimer();
    EXPECT_THROW(loop_->AdvanceBy(100), std::runtime_error);
    loop_->AdvanceBy(10000);
    EXPECT_EQ(EntriesOf("idle"),
              (std::vector<std::string>{"idle@10 09:00:00.100", "idle@10 09:00:10.100"}));
}

TEST_F(PeriodicTimersTest, DutiesNotWiredUpAreSkipped) {
    StartAt(23, 59, 50, PeriodicDuties{});
    timers_->StartTrayTimer();
    timers_->StartMinuteTimer();
    EXPECT_NO_THROW(loop_->AdvanceBy(5 * 60 * 1000));
}

TEST_F(PeriodicTimersTest, StopEndsBothTimers) {
    StartAt(9, 0, 0);
    timers_->StartTrayTimer();
    timers_->StartMinuteTimer();
    loop_->AdvanceBy(200);
    const std::size_t logged = log_.size();
    timers_->Stop();
    loop_->AdvanceBy(10 * 60 * 1000);
    EXPECT_EQ(log_.size(), logged);
}

TEST_F(PeriodicTimersTest, StopFromInsideATrayDutyIsNotUndoneByTheTick) {
    PeriodicDuties duties;
    int idle_ticks = 0;
    duties.assistant_idle_tick = [this, &idle_ticks] {
        ++idle_ticks;
        timers_->Stop();
    };
    StartAt(9, 0, 0, std::move(duties));
    timers_->StartTrayTimer();
    loop_->AdvanceBy(60 * 1000);
    EXPECT_EQ(idle_ticks, 1);
}

}  // namespace
}  // namespace planwarte
