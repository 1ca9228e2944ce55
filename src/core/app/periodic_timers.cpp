#include "core/app/periodic_timers.h"

#include <utility>

namespace planwarte {
namespace {

void RunIfSet(const std::function<void()>& duty) {
    if (duty) {
        duty();
    }
}

// Enables the tray timer again when the tick ends, also when a duty throws, so that an error
// in one tick does not end the periodic duties for good; not when a duty stopped the timers.
class RestartOnExit {
  public:
    RestartOnExit(Timer& timer, const bool& stopped) : timer_(timer), stopped_(stopped) {}
    ~RestartOnExit() {
        if (!stopped_) {
            timer_.SetEnabled(true);
        }
    }
    RestartOnExit(const RestartOnExit&) = delete;
    RestartOnExit& operator=(const RestartOnExit&) = delete;

  private:
    Timer& timer_;
    const bool& stopped_;
};

}  // namespace

PeriodicTimers::PeriodicTimers(EventLoop& loop, const Clock& clock, PeriodicDuties duties)
    : loop_(loop),
      clock_(clock),
      duties_(std::move(duties)),
      tray_timer_(loop.CreateTimer(kTrayFirstTickMs, [this] { TrayTick(); })),
      minute_timer_(loop.CreateTimer(kMinuteIntervalMs, [this] { MinuteTick(); })) {}

void PeriodicTimers::StartMinuteTimer() {
    // Remembered from the start, not from the first tick: a window created shortly before
    // midnight would otherwise keep the old day's page until the next midnight.
    remembered_date_ = DateOf(clock_.Now());
    minute_timer_->SetEnabled(true);
}

void PeriodicTimers::StartTrayTimer() {
    tray_stopped_ = false;
    tray_timer_->SetEnabled(true);
}

void PeriodicTimers::Stop() {
    tray_stopped_ = true;
    tray_timer_->SetEnabled(false);
    minute_timer_->SetEnabled(false);
}

void PeriodicTimers::TrayTick() {
    // Stopped while the duties run: they may process messages (the new-mail check speaks),
    // and a nested tick must not start them a second time.
    tray_timer_->SetInterval(kTrayIntervalMs);
    tray_timer_->SetEnabled(false);
    RestartOnExit restart(*tray_timer_, tray_stopped_);
    if (tray_first_tick_pending_) {
        tray_first_tick_pending_ = false;
        RunIfSet(duties_.check_new_mail);
        AddTrayIcon();
        RunIfSet(duties_.set_tray_icon_picture_and_tip);
    }
    RunIfSet(duties_.assistant_idle_tick);
}

void PeriodicTimers::AddTrayIcon() {
    if (!duties_.add_tray_icon) {
        return;
    }
    // Early in a session the tray may not be ready yet.
    if (!duties_.add_tray_icon()) {
        loop_.Sleep(kTrayRetryDelayMs);
        duties_.add_tray_icon();
    }
}

void PeriodicTimers::MinuteTick() {
    RunIfSet(duties_.time_announcement_check);
    RunIfSet(duties_.sayings_check);
    minute_timer_->SetInterval(kMinuteIntervalMs);

    const DateTime now = clock_.Now();
    const DateTime today = DateOf(now);
    if (today != remembered_date_) {
        // Remembered only once the page shows the new day, so a failed build is tried again
        // at the next tick.
        if (duties_.rebuild_page) {
            duties_.rebuild_page(now);
        }
        remembered_date_ = today;
        RunIfSet(duties_.set_appointment_intro_pending);
    }
    if (minute_alignment_pending_) {
        minute_alignment_pending_ = false;
        const int seconds = DecodeTime(now).second;
        minute_timer_->SetInterval((60 - seconds + kMinuteOffsetSeconds) * 1000);
    }
}

}  // namespace planwarte
