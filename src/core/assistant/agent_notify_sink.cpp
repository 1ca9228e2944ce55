#include "core/assistant/agent_notify_sink.h"

#include <utility>

#include "core/app/event_loop.h"

namespace planwarte {

AgentNotifySink::AgentNotifySink(EventLoop& loop) : loop_(loop) {}

void AgentNotifySink::Attach(std::weak_ptr<const MainWindow> main_window, int character_id) {
    std::lock_guard lock(mutex_);
    main_window_ = std::move(main_window);
    character_id_ = character_id;
    attached_ = true;
}

void AgentNotifySink::VisibleState(int character_id, bool visible) {
    bool ours = false;
    {
        std::lock_guard lock(mutex_);
        ours = attached_ && character_id == character_id_;
    }
    if (!visible && ours) {
        Post(ApplicationMessage::AssistantHidden);
    }
}

void AgentNotifySink::DoubleClick(int /*character_id*/) {
    Post(ApplicationMessage::AssistantDoubleClick);
}

// Any client's character counts: the service reports the idle state of all of them alike.
void AgentNotifySink::Idle(int /*character_id*/, bool started) {
    Post(started ? ApplicationMessage::AssistantIdleStarted
                 : ApplicationMessage::AssistantIdleEnded);
}

void AgentNotifySink::Post(ApplicationMessage message) {
    std::weak_ptr<const MainWindow> main_window;
    {
        std::lock_guard lock(mutex_);
        if (!attached_) {
            return;
        }
        main_window = main_window_;
    }
    loop_.Post([main_window = std::move(main_window), message] {
        if (const auto window = main_window.lock()) {
            (*window)(message);
        }
    });
}

}  // namespace planwarte
