#pragma once

#include <functional>
#include <memory>
#include <mutex>

#include "core/app/application_message_filter.h"
#include "core/assistant/speech_service.h"

namespace planwarte {

class EventLoop;

// Receives the speech service's reports, on whatever thread the service calls, and posts the
// three that matter to the main window as its private messages: our character hidden, a
// double click on a character, and a character's idle start and end. Everything else has no
// effect; in particular the end of a single request is not observed.
class AgentNotifySink : public SpeechNotificationSink {
  public:
    // Where the posted messages go: the main window's message filter. The main window owns
    // it; messages still queued when it has gone are dropped.
    using MainWindow = std::function<void(ApplicationMessage)>;

    explicit AgentNotifySink(EventLoop& loop);

    // Reports are posted from now on, to this window and about this character. Before, they
    // are dropped.
    void Attach(std::weak_ptr<const MainWindow> main_window, int character_id);

    void VisibleState(int character_id, bool visible) override;
    void DoubleClick(int character_id) override;
    void Idle(int character_id, bool started) override;

  private:
    void Post(ApplicationMessage message);

    EventLoop& loop_;
    std::mutex mutex_;
    std::weak_ptr<const MainWindow> main_window_;
    int character_id_ = 0;
    bool attached_ = false;
};

}  // namespace planwarte
