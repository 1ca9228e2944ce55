#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "core/common/date_time.h"

// One reminder being read out again and again: a worker thread that waits out the cycle and
// watches the item through a calendar connection of its own, while every reading happens on
// the main thread. It ends when the reminder is dismissed or moved, the appointment is over,
// the running-worker count was set to 0 (a double click on the character, the close), or an
// error occurs.
namespace planwarte {

class AgentHost;
class Clock;
class EventLoop;
class OlApplicationFactory;

struct CyclicReminderText {
    std::string intro;
    std::string subject;
    std::string body;
};

struct CyclicReminderItem {
    std::string entry_id;
    std::string store_id;  // empty: the default store
    bool is_appointment = true;
};

class CyclicReminder {
  public:
    static constexpr int kStepMs = 1200;
    static constexpr int kStepsPerMinute = 60;

    CyclicReminder(AgentHost& host, EventLoop& loop, const Clock& clock,
                   OlApplicationFactory& calendars, CyclicReminderText text,
                   CyclicReminderItem item, int cycle_minutes);
    // Waits for the thread; Finished must be true by then, or the thread is asked to end and
    // this waits for it.
    ~CyclicReminder();

    CyclicReminder(const CyclicReminder&) = delete;
    CyclicReminder& operator=(const CyclicReminder&) = delete;

    void Start();
    // Asks the worker to end at its next step.
    void RequestStop() { stop_ = true; }
    bool Finished() const { return finished_; }

  private:
    void Run();
    void Read();
    // One step's look at the item; true when the worker is to end.
    bool ItemSaysStop();

    AgentHost& host_;
    EventLoop& loop_;
    const Clock& clock_;
    OlApplicationFactory& calendars_;
    const CyclicReminderText text_;
    const CyclicReminderItem item_;
    const int cycle_minutes_;
    std::optional<DateTime> first_task_reminder_time_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};
    std::thread thread_;
};

}  // namespace planwarte
