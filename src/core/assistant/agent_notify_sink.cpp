#include "core/assistant/agent_notify_sink.h"

#include <utility>

#include "core/app/event_loop.h"

namespace planwarte {

AgentNotifySink::AgentNotifySink(EventLoop& loop) : loop_(loop) {}

void AgentNotifySink::Attach(std::weak_ptr<const Receiver> receiver, int character_id) {
    std::lock_guard lock(mutex_);
    receiver_ = std::move(receiver);
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
        Post(AgentNotification::Hidden);
    }
}

void AgentNotifySink::DoubleClick(int /*character_id*/) {
    Post(AgentNotification::DoubleClick);
}

// Any client's character counts: the service reports the idle state of all of them alike.
void AgentNotifySink::Idle(int /*character_id*/, bool started) {
    Post(started ? AgentNotification::IdleStarted : AgentNotification::IdleEnded);
}

void AgentNotifySink::Post(AgentNotification notification) {
    std::weak_ptr<const Receiver> receiver;
    {
        std::lock_guard lock(mutex_);
        if (!attached_) {
            return;
        }
        receiver = receiver_;
    }
    loop_.Post([receiver = std::move(receiver), notification] {
        if (const auto alive = receiver.lock()) {
            (*alive)(notification);
        }
    });
}

}  // namespace planwarte
