#include "core/app/window_duty_timers.h"

#include <utility>

namespace planwarte {

namespace {

void RunIfSet(const std::function<void()>& duty) {
    if (duty) {
        duty();
    }
}

bool AskIfSet(const std::function<bool()>& question) {
    return question && question();
}

}  // namespace

WindowDutyTimers::WindowDutyTimers(EventLoop& loop, WindowTimerDuties duties)
    : duties_(std::move(duties)),
      mouse_over_check_(loop.CreateTimer(kMouseOverCheckMs, [this] { MouseOverTick(); })),
      window_close_(loop.CreateTimer(kWindowCloseDelayMs, [this] { WindowCloseTick(); })),
      resize_(loop.CreateTimer(kResizeSettleMs, [this] { ResizeTick(); })) {}

void WindowDutyTimers::MouseMoved() {
    if (!mouse_over_check_->Enabled()) {
        mouse_over_check_->SetEnabled(true);
    }
}

void WindowDutyTimers::RequestFrameOff() {
    window_close_->SetEnabled(true);
}

void WindowDutyTimers::WindowResized() {
    resize_->SetEnabled(false);
    resize_->SetEnabled(true);
}

void WindowDutyTimers::Stop() {
    mouse_over_check_->SetEnabled(false);
    window_close_->SetEnabled(false);
    resize_->SetEnabled(false);
}

void WindowDutyTimers::MouseOverTick() {
    if (AskIfSet(duties_.mouse_over_page)) {
        RunIfSet(duties_.fade_in);
        return;
    }
    mouse_over_check_->SetEnabled(false);
    RunIfSet(duties_.fade_out);
}

void WindowDutyTimers::WindowCloseTick() {
    window_close_->SetEnabled(false);
    RunIfSet(duties_.switch_frame_off);
}

void WindowDutyTimers::ResizeTick() {
    resize_->SetEnabled(false);
    if (!AskIfSet(duties_.startup_complete)) {
        return;
    }
    RunIfSet(duties_.save_geometry);
    RunIfSet(duties_.rebuild_page_for_today);
}

}  // namespace planwarte
