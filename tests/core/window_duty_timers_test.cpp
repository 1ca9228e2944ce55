#include "core/app/window_duty_timers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapters/fake/virtual_clock.h"
#include "adapters/fake/virtual_event_loop.h"
#include "core/app/application_message_filter.h"
#include "core/common/date_time.h"

namespace planwarte {
namespace {

// The window's duties logged with the virtual milliseconds since the start.
class WindowDutyTimersTest : public ::testing::Test {
  protected:
    WindowTimerDuties Duties() {
        return WindowTimerDuties{
            .mouse_over_page = [this] { return mouse_over_page_; },
            .fade_in = [this] { Log("fade in"); },
            .fade_out = [this] { Log("fade out"); },
            .switch_frame_off = [this] { Log("frame off"); },
            .startup_complete = [this] { return startup_complete_; },
            .save_geometry = [this] { Log("save geometry"); },
            .rebuild_page_for_today = [this] { Log("rebuild"); },
        };
    }

    void Log(const std::string& duty) { log_.push_back(duty + "@" + std::to_string(elapsed_ms_)); }
    void Advance(int milliseconds) {
        for (int step = 0; step < milliseconds; step += 100) {
            elapsed_ms_ += 100;
            loop_.AdvanceBy(100);
        }
    }

    VirtualClock clock_{EncodeDateTime(2026, 12, 10, 10, 0)};
    VirtualEventLoop loop_{clock_};
    WindowDutyTimers timers_{loop_, Duties()};
    std::vector<std::string> log_;
    int elapsed_ms_ = 0;
    bool mouse_over_page_ = true;
    bool startup_complete_ = true;
};

TEST_F(WindowDutyTimersTest, MouseRestingOnThePageFadesInEverySecondUntilItLeaves) {
    timers_.MouseMoved();
    Advance(500);
    timers_.MouseMoved();  // a moving pointer does not postpone the check
    Advance(2500);
    mouse_over_page_ = false;
    Advance(1000);
    ASSERT_FALSE(timers_.MouseOverCheckRunning());
    Advance(3000);
    EXPECT_EQ(log_, (std::vector<std::string>{"fade in@1000", "fade in@2000", "fade in@3000",
                                              "fade out@4000"}));
}

TEST_F(WindowDutyTimersTest, FrameGoesOneSecondAfterTheRequestAndOnlyOnce) {
    timers_.RequestFrameOff();
    Advance(5000);
    EXPECT_EQ(log_, std::vector<std::string>{"frame off@1000"});
}

TEST_F(WindowDutyTimersTest, ResizingRebuildsOnceHalfASecondAfterTheLastChange) {
    for (int change = 0; change < 5; ++change) {
        timers_.WindowResized();
        Advance(300);
    }
    Advance(2000);
    EXPECT_EQ(log_, (std::vector<std::string>{"save geometry@1700", "rebuild@1700"}));
}

TEST_F(WindowDutyTimersTest, ResizeDuringStartUpOnlyStopsTheTimer) {
    startup_complete_ = false;
    timers_.WindowResized();
    Advance(2000);
    EXPECT_TRUE(log_.empty());
}

TEST_F(WindowDutyTimersTest, StopEndsEveryTimer) {
    timers_.MouseMoved();
    timers_.RequestFrameOff();
    timers_.WindowResized();
    timers_.Stop();
    Advance(3000);
    EXPECT_TRUE(log_.empty());
}

TEST(ApplicationMessageFilterTest, AssistantNumbersAreSwallowedMouseMovesSeenAndPassedOn) {
    int mouse_moves = 0;
    const ApplicationMessageHandlers handlers{.mouse_moved = [&] { ++mouse_moves; }};
    struct Case {
        std::uint32_t message;
        bool handled;
    };
    for (const Case& c :
         {Case{0x1080, true}, Case{0x1098, true}, Case{0x1099, true}, Case{0x109A, true},
          Case{0x0200, false}, Case{0x1081, false}, Case{0x000F, false}}) {
        EXPECT_EQ(FilterApplicationMessage(c.message, handlers), c.handled) << c.message;
    }
    EXPECT_EQ(mouse_moves, 1);
}

}  // namespace
}  // namespace planwarte
