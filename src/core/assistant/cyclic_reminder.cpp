#include "core/assistant/cyclic_reminder.h"

#include <exception>
#include <utility>

#include "core/app/clock.h"
#include "core/app/event_loop.h"
#include "core/assistant/agent_host.h"
#include "core/outlook/item_access.h"
#include "core/outlook/object_model.h"

namespace planwarte {

namespace {

// The character is unloaded at the next idle tick once no worker runs any more.
constexpr std::int16_t kIdleTicksBeforeUnload = 6;

// The worker's own connection, for one look at the item.
class WorkerConnection {
  public:
    explicit WorkerConnection(OlApplicationFactory& calendars)
        : application_(calendars.CreateApplication()) {
        application_->Connect();
        outlook_ = application_->GetNamespace("MAPI");
        if (!outlook_) {
            throw OutlookError("GetNamespace", "no MAPI namespace");
        }
    }
    ~WorkerConnection() {
        try {
            application_->Disconnect();
        } catch (const std::exception&) {
            // The look is over either way.
        }
    }
    WorkerConnection(const WorkerConnection&) = delete;
    WorkerConnection& operator=(const WorkerConnection&) = delete;

    OlNamespace& Namespace() { return *outlook_; }

  private:
    std::shared_ptr<OlApplication> application_;
    std::shared_ptr<OlNamespace> outlook_;
};

}  // namespace

CyclicReminder::CyclicReminder(AgentHost& host, EventLoop& loop, const Clock& clock,
                               OlApplicationFactory& calendars, CyclicReminderText text,
                               CyclicReminderItem item, int cycle_minutes)
    : host_(host),
      loop_(loop),
      clock_(clock),
      calendars_(calendars),
      text_(std::move(text)),
      item_(std::move(item)),
      cycle_minutes_(cycle_minutes < 1 ? 1 : cycle_minutes) {}

CyclicReminder::~CyclicReminder() {
    stop_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
}

void CyclicReminder::Start() {
    thread_ = std::thread([this] { Run(); });
}

void CyclicReminder::Run() {
    try {
        while (!stop_) {
            loop_.Synchronize([this] { Read(); });
            for (int step = 0; step < cycle_minutes_ * kStepsPerMinute && !stop_; ++step) {
                loop_.Sleep(kStepMs);
                if (ItemSaysStop()) {
                    stop_ = true;
                }
                loop_.Synchronize([this] {
                    if (host_.CyclicReminderCount() == 0) {
                        stop_ = true;
                    }
                    // The character stays loaded while a reminder is being repeated.
                    host_.SetIdleTicks(0);
                });
            }
        }
    } catch (const std::exception&) {
        // The reminder is no longer repeated; nothing to tell.
    }
    try {
        loop_.Synchronize([this] {
            if (host_.CyclicReminderCount() < 1) {
                host_.SetIdleTicks(kIdleTicksBeforeUnload);
            }
            if (host_.CyclicReminderCount() > 0) {
                host_.SetCyclicReminderCount(
                    static_cast<std::int16_t>(host_.CyclicReminderCount() - 1));
            }
        });
    } catch (const std::exception&) {
        // The main loop has gone: the program ends.
    }
    finished_ = true;
}

void CyclicReminder::Read() {
    if (!host_.Available()) {
        return;
    }
    host_.SpeakText(text_.intro, {.gesture_before = true});
    host_.SpeakText(text_.subject, {});
    host_.SpeakText(text_.body, {.gesture_after = true});
}

bool CyclicReminder::ItemSaysStop() {
    if (stop_) {
        return true;
    }
    try {
        WorkerConnection connection(calendars_);
        const DateTime now = clock_.Now();
        if (item_.is_appointment) {
            const auto appointment =
                GetAppointmentFromID(connection.Namespace(), item_.entry_id, item_.store_id);
            if (!appointment->ReminderSet()) {
                return true;
            }
            if (appointment->End().value < now.value) {
                if (!appointment->IsRecurring()) {
                    return true;
                }
                try {
                    const auto pattern = appointment->GetRecurrencePattern();
                    // A series without end is over for today once today's end time passed.
                    const DateTime end_time = pattern ? pattern->EndTime() : DateTime{};
                    const double time_of_day = end_time.value - DateOf(end_time).value;
                    if (pattern && pattern->NoEndDate() &&
                        DateOf(now).value + time_of_day < now.value) {
                        return true;
                    }
                } catch (const std::exception&) {
                    // A pattern that cannot be read does not end the reminder.
                }
            }
            return false;
        }
        const auto task = GetTaskFromID(connection.Namespace(), item_.entry_id, item_.store_id);
        const DateTime reminder_time = task->ReminderTime();
        if (!first_task_reminder_time_) {
            first_task_reminder_time_ = reminder_time;
        }
        // Postponed or changed by the user, or dismissed.
        return reminder_time.value != first_task_reminder_time_->value || !task->ReminderSet();
    } catch (const std::exception&) {
        return true;
    }
}

}  // namespace planwarte
