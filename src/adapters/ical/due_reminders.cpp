#include "adapters/ical/due_reminders.h"

#include <algorithm>
#include <exception>
#include <string>

#include "core/common/format_date_time.h"

namespace planwarte {

namespace {

bool DueIn(bool reminder_set, DateTime reminder_time, DateTime after, DateTime until) {
    return reminder_set && reminder_time.value > after.value && reminder_time.value <= until.value;
}

// The appointments whose start lies where an alarm of the span can belong to: a day after
// the span's end for alarms set after the start, the longest lead before it.
std::string AppointmentWindowFilter(DateTime after, DateTime until) {
    const auto literal = [](double value) {
        return "'" + FormatDateTime("'#'ddddd hh:nn'#'", DateTime{value}) + "'";
    };
    return "[Start] >= " + literal(after.value - 1.0) +
           " AND [Start] <= " + literal(until.value + kLongestReminderLeadDays);
}

void AddDue(OlFolder& folder, DateTime after, DateTime until,
            std::vector<std::pair<DateTime, std::shared_ptr<OlItem>>>& due) {
    const std::shared_ptr<OlItems> items = folder.Items();
    if (folder.DefaultItemType() == kItemTypeAppointment) {
        items->Sort("[Start]", false);
        items->SetIncludeRecurrences(true);
        for (auto item = items->Find(AppointmentWindowFilter(after, until)); item;
             item = items->FindNext()) {
            auto appointment = std::dynamic_pointer_cast<OlAppointmentItem>(item);
            if (appointment &&
                DueIn(appointment->ReminderSet(), appointment->ReminderTime(), after, until)) {
                due.emplace_back(appointment->ReminderTime(), item);
            }
        }
    } else if (folder.DefaultItemType() == kItemTypeTask) {
        for (int index = 1; index <= items->Count(); ++index) {
            auto item = items->Item(index);
            auto task = std::dynamic_pointer_cast<OlTaskItem>(item);
            if (task && !task->Complete() &&
                DueIn(task->ReminderSet(), task->ReminderTime(), after, until)) {
                due.emplace_back(task->ReminderTime(), item);
            }
        }
    }
}

void Walk(OlFolder& folder, DateTime after, DateTime until,
          std::vector<std::shared_ptr<OlItem>>& found) {
    std::vector<std::pair<DateTime, std::shared_ptr<OlItem>>> due;
    try {
        AddDue(folder, after, until, due);
    } catch (const std::exception&) {
        due.clear();
    }
    std::stable_sort(due.begin(), due.end(),
                     [](const auto& a, const auto& b) { return a.first.value < b.first.value; });
    for (auto& entry : due) {
        found.push_back(std::move(entry.second));
    }
    const std::shared_ptr<OlFolders> children = folder.Folders();
    for (int index = 1; children && index <= children->Count(); ++index) {
        if (auto child = children->Item(index)) {
            Walk(*child, after, until, found);
        }
    }
}

}  // namespace

std::vector<std::shared_ptr<OlItem>> DueReminders(OlNamespace& outlook, DateTime after,
                                                  DateTime until) {
    std::vector<std::shared_ptr<OlItem>> found;
    const std::shared_ptr<OlFolders> stores = outlook.Folders();
    for (int index = 1; stores && index <= stores->Count(); ++index) {
        if (auto store = stores->Item(index)) {
            Walk(*store, after, until, found);
        }
    }
    return found;
}

}  // namespace planwarte
