#include "core/assistant/reminder_handler.h"

#include <algorithm>
#include <exception>

#include "core/app/event_loop.h"
#include "core/assistant/agent_host.h"
#include "core/outlook/item_access.h"
#include "core/outlook/object_model.h"
#include "core/settings/setting_values.h"
#include "core/settings/settings_store.h"

namespace planwarte {

namespace {

// A worker asked to stop ends within a step; the shutdown looks this often and this long.
constexpr int kShutdownPollMs = 50;
constexpr int kShutdownPolls = 200;

int CycleOfImportance(SettingsStore& settings, int importance) {
    auto key = settings.OpenKey(kSettingsKeyPath, false);
    if (!key) {
        return 0;  // taken as one minute by the worker
    }
    const char* name = importance == kImportanceLow    ? "ReminderZyklusLow"
                       : importance == kImportanceHigh ? "ReminderZyklusHigh"
                                                       : "ReminderZyklusNormal";
    return ReadIntegerOr(*key, name, ReminderHandler::kFallbackCycleMinutes);
}

}  // namespace

ReminderHandler::ReminderHandler(ReminderServices services) : services_(std::move(services)) {}

ReminderHandler::~ReminderHandler() {
    StopAllAndWait();
}

void ReminderHandler::OnReminder(const std::shared_ptr<OlItem>& item) {
    ForgetFinished();
    std::string intro;
    {
        auto key = services_.settings.OpenKey(kSettingsKeyPath, false);
        if (!key || !ReadBoolOr(*key, "AgentRemindsMe", true)) {
            return;
        }
        try {
            intro = key->ReadString("SBAgentReminder");
        } catch (const SettingsError&) {
            intro.clear();
        }
    }
    if (!services_.host.LoadAgent(0, 0, true)) {
        return;
    }
    CyclicReminderText text{.intro = intro, .subject = {}, .body = {}};
    CyclicReminderItem place;
    int importance = kImportanceNormal;
    if (auto appointment = std::dynamic_pointer_cast<OlAppointmentItem>(item)) {
        auto safe =
            CreateSafeAppointment(services_.safe_items, appointment, SafeItemUser::kReminder,
                                  services_.safe_item_messages, services_.notice);
        if (!safe) {
            return;
        }
        text.subject = appointment->Subject();
        place.is_appointment = true;
        place.entry_id = appointment->EntryID();
        text.body = ReadAppointmentBody(*appointment, *safe);
        std::shared_ptr<OlFolder> folder;
        if (appointment->IsRecurring()) {
            // An occurrence's store is that of its series; the series itself gives none.
            if (appointment->GetRecurrenceState() != RecurrenceState::Master) {
                if (const auto pattern = appointment->GetRecurrencePattern()) {
                    if (const auto series = pattern->Parent()) {
                        folder = series->Parent();
                    }
                }
            }
        } else {
            folder = appointment->Parent();
        }
        if (folder) {
            place.store_id = folder->StoreID();
        }
        importance = appointment->Importance();
    } else if (auto task = std::dynamic_pointer_cast<OlTaskItem>(item)) {
        auto safe = CreateSafeTask(services_.safe_items, task);
        if (!safe) {
            return;
        }
        text.subject = task->Subject();
        text.body = ReadTaskBody(*safe);
        place.is_appointment = false;
        place.entry_id = task->EntryID();
        if (const auto folder = task->Parent()) {
            place.store_id = folder->StoreID();
        }
        importance = task->Importance();
    } else {
        return;
    }
    const int cycle = CycleOfImportance(services_.settings, importance);
    if (services_.announce_time) {
        services_.announce_time();
    }
    services_.host.SetCyclicReminderCount(
        static_cast<std::int16_t>(services_.host.CyclicReminderCount() + 1));
    workers_.push_back(std::make_unique<CyclicReminder>(services_.host, services_.loop,
                                                        services_.clock, services_.calendars,
                                                        std::move(text), std::move(place), cycle));
    workers_.back()->Start();
}

void ReminderHandler::CloseQuery() {
    if (services_.host.CyclicReminderCount() > 0) {
        services_.host.SetCyclicReminderCount(0);
        services_.loop.Sleep(kCloseWaitMs);
    }
}

std::size_t ReminderHandler::RunningWorkers() {
    ForgetFinished();
    return workers_.size();
}

void ReminderHandler::ForgetFinished() {
    std::erase_if(workers_, [](const auto& worker) { return worker->Finished(); });
}

void ReminderHandler::StopAllAndWait() {
    services_.host.SetCyclicReminderCount(0);
    for (const auto& worker : workers_) {
        worker->RequestStop();
    }
    // A worker may be waiting for the main thread, or sleeping out a step.
    for (int poll = 0; poll < kShutdownPolls && RunningWorkers() > 0; ++poll) {
        services_.loop.ProcessPendingMessages();
        services_.loop.Sleep(kShutdownPollMs);
    }
    workers_.clear();
}

}  // namespace planwarte
