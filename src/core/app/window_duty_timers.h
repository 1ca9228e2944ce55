#pragma once

#include <functional>
#include <memory>

#include "core/app/event_loop.h"

// The one-shot and watching timers of the desktop window: the mouse-over check that fades the
// see-through window in while the pointer rests on the page, the delayed frame switch-off of
// the system menu and the close command, and the settling time after the user resized the
// framed window. The duties belong to the window and come in as callbacks; an empty callback
// is skipped (answering false for the mouse question).
namespace planwarte {

struct WindowTimerDuties {
    std::function<bool()> mouse_over_page{};
    std::function<void()> fade_in{};
    std::function<void()> fade_out{};
    std::function<void()> switch_frame_off{};
    // Answers whether start-up has finished; before that a resize only moves the window.
    std::function<bool()> startup_complete{};
    std::function<void()> save_geometry{};
    std::function<void()> rebuild_page_for_today{};
};

class WindowDutyTimers {
  public:
    static constexpr int kMouseOverCheckMs = 1000;
    static constexpr int kWindowCloseDelayMs = 1000;
    static constexpr int kResizeSettleMs = 500;

    // Creates the timers stopped.
    WindowDutyTimers(EventLoop& loop, WindowTimerDuties duties);

    WindowDutyTimers(const WindowDutyTimers&) = delete;
    WindowDutyTimers& operator=(const WindowDutyTimers&) = delete;

    // Every mouse move of the application: the check starts unless it runs already, so a
    // moving pointer does not keep postponing it.
    void MouseMoved();
    // The system menu's frame entry and the system close command.
    void RequestFrameOff();
    // Every size change of the framed window: the page is rebuilt once the user has stopped
    // dragging for the settling time.
    void WindowResized();
    // Shutdown.
    void Stop();

    bool MouseOverCheckRunning() const { return mouse_over_check_->Enabled(); }

  private:
    void MouseOverTick();
    void WindowCloseTick();
    void ResizeTick();

    WindowTimerDuties duties_;
    std::unique_ptr<Timer> mouse_over_check_;
    std::unique_ptr<Timer> window_close_;
    std::unique_ptr<Timer> resize_;
};

}  // namespace planwarte
