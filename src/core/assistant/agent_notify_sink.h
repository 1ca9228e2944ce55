#pragma once

#include <functional>
#include <memory>
#include <mutex>

#include "core/assistant/agent_notification.h"
#include "core/assistant/speech_service.h"

namespace planwarte {

class EventLoop;

// Receives the speech service's reports, on whatever thread the service calls, and posts the
// three that matter through the event loop to the main thread, in the order they came: our
// character hidden, a double click on a character, and a character's idle start and end.
// Everything else has no effect; in particular the end of a single request is not observed.
class AgentNotifySink : public SpeechNotificationSink {
  public:
    // Where the posted reports go on the main thread. Its owner keeps it; reports still queued
    // when it has gone are dropped.
    using Receiver = std::function<void(AgentNotification)>;

    explicit AgentNotifySink(EventLoop& loop);

    // Reports are posted from now on, to this receiver and about this character. Before, they
    // are dropped.
    void Attach(std::weak_ptr<const Receiver> receiver, int character_id);

    void VisibleState(int character_id, bool visible) override;
    void DoubleClick(int character_id) override;
    void Idle(int character_id, bool started) override;

  private:
    void Post(AgentNotification notification);

    EventLoop& loop_;
    std::mutex mutex_;
    std::weak_ptr<const Receiver> receiver_;
    int character_id_ = 0;
    bool attached_ = false;
};

}  // namespace planwarte
