#pragma once

#include <functional>
#include <memory>

#include "core/app/clock.h"
#include "core/app/event_loop.h"
#include "core/common/date_time.h"

// The duties the main window runs by itself, without a user action: the tray and assistant
// idle timer and the minute timer. The duties belong to other parts of the program and come
// in as callbacks; an empty callback is skipped, so a duty not wired up yet costs nothing.
namespace planwarte {

struct PeriodicDuties {
    // Tray timer, first tick only, in this order.
    std::function<void()> check_new_mail{};
    // Answers whether the icon was added; a failed add is tried once more a second later.
    std::function<bool()> add_tray_icon{};
    std::function<void()> set_tray_icon_picture_and_tip{};
    // Tray timer, every tick.
    std::function<void()> assistant_idle_tick{};

    // Minute timer, every tick, in this order.
    std::function<void()> time_announcement_check{};
    std::function<void()> sayings_check{};
    // Minute timer, on the first tick of a new day.
    std::function<void(DateTime now)> rebuild_page{};
    std::function<void()> set_appointment_intro_pending{};
};

class PeriodicTimers {
  public:
    static constexpr int kTrayFirstTickMs = 100;
    static constexpr int kTrayIntervalMs = 10000;
    static constexpr int kTrayRetryDelayMs = 1000;
    static constexpr int kMinuteIntervalMs = 60000;
    // The minute ticks fall this long after each full minute once realigned.
    static constexpr int kMinuteOffsetSeconds = 5;

    // Creates both timers stopped.
    PeriodicTimers(EventLoop& loop, const Clock& clock, PeriodicDuties duties);

    PeriodicTimers(const PeriodicTimers&) = delete;
    PeriodicTimers& operator=(const PeriodicTimers&) = delete;

    // With the creation of the main window: the first minute tick a minute later.
    void StartMinuteTimer();
    // Once start-up has loaded everything: the first tray tick 100 ms later.
    void StartTrayTimer();
    // Shutdown; also from inside a duty.
    void Stop();

  private:
    void TrayTick();
    void MinuteTick();
    void AddTrayIcon();

    EventLoop& loop_;
    const Clock& clock_;
    PeriodicDuties duties_;
    std::unique_ptr<Timer> tray_timer_;
    std::unique_ptr<Timer> minute_timer_;
    bool tray_first_tick_pending_ = true;
    bool tray_stopped_ = false;
    bool minute_alignment_pending_ = true;
    // The date of the last day-change check.
    DateTime remembered_date_;
};

}  // namespace planwarte
