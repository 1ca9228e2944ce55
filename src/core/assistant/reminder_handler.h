#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/assistant/cyclic_reminder.h"

// A reminder of the calendar program read out by the assistant: the reminder saying, the
// item's subject and its body, then again at the cycle its importance sets, each reminder by a
// worker of its own.
namespace planwarte {

class AgentHost;
class Clock;
class EventLoop;
class OlApplicationFactory;
class OlItem;
class SafeItemLibrary;
class SafeItemMessageFlags;
class SettingsStore;
class UserNotice;

struct ReminderServices {
    AgentHost& host;
    EventLoop& loop;
    const Clock& clock;
    SettingsStore& settings;
    SafeItemLibrary& safe_items;
    SafeItemMessageFlags& safe_item_messages;
    UserNotice& notice;
    // Where the workers open their own connections.
    OlApplicationFactory& calendars;
    // The time announcement, forced: the time is said before the reminder.
    std::function<void()> announce_time;
};

class ReminderHandler {
  public:
    static constexpr int kFallbackCycleMinutes = 5;
    // How long the close waits for running workers to hear that they are to stop.
    static constexpr int kCloseWaitMs = 2500;

    explicit ReminderHandler(ReminderServices services);
    // Stops every worker and waits until each has ended.
    ~ReminderHandler();

    ReminderHandler(const ReminderHandler&) = delete;
    ReminderHandler& operator=(const ReminderHandler&) = delete;

    // OutlookApplication1Reminder. An item that is neither an appointment nor a task (a
    // flagged mail) is not read.
    void OnReminder(const std::shared_ptr<OlItem>& item);
    // The close request: running workers are told to stop, and the close waits a moment.
    void CloseQuery();
    // Workers that have not ended yet.
    std::size_t RunningWorkers();

  private:
    void StopAllAndWait();
    void ForgetFinished();

    ReminderServices services_;
    std::vector<std::unique_ptr<CyclicReminder>> workers_;
};

}  // namespace planwarte
