#include "core/outlook/item_properties.h"

#include <cstdint>

#include "core/outlook/item_sort_order.h"

namespace planwarte {

std::optional<Variant> AppointmentProperty(const OlAppointmentItem& item, const std::string& name) {
    const std::string key = PropertyKey(name);
    if (key == "start") {
        return item.Start();
    }
    if (key == "end") {
        return item.End();
    }
    if (key == "subject") {
        return item.Subject();
    }
    if (key == "location") {
        return item.Location();
    }
    if (key == "categories") {
        return item.Categories();
    }
    if (key == "body") {
        return item.Body();
    }
    if (key == "alldayevent") {
        return item.AllDayEvent();
    }
    if (key == "isrecurring") {
        return item.IsRecurring();
    }
    if (key == "recurrencestate") {
        return static_cast<std::int32_t>(item.GetRecurrenceState());
    }
    if (key == "importance") {
        return static_cast<std::int32_t>(item.Importance());
    }
    if (key == "entryid") {
        return item.EntryID();
    }
    if (key == "reminderset") {
        return item.ReminderSet();
    }
    if (key == "remindertime") {
        return item.ReminderTime();
    }
    return std::nullopt;
}

std::optional<Variant> TaskProperty(const OlTaskItem& item, const std::string& name) {
    const std::string key = PropertyKey(name);
    if (key == "duedate") {
        return item.DueDate();
    }
    if (key == "complete") {
        return item.Complete();
    }
    if (key == "subject") {
        return item.Subject();
    }
    if (key == "body") {
        return item.Body();
    }
    if (key == "importance") {
        return static_cast<std::int32_t>(item.Importance());
    }
    if (key == "entryid") {
        return item.EntryID();
    }
    if (key == "reminderset") {
        return item.ReminderSet();
    }
    if (key == "remindertime") {
        return item.ReminderTime();
    }
    return std::nullopt;
}

std::optional<Variant> MailProperty(const OlMailItem& item, const std::string& name) {
    const std::string key = PropertyKey(name);
    if (key == "receivedtime") {
        return item.ReceivedTime();
    }
    if (key == "unread") {
        return item.UnRead();
    }
    if (key == "subject") {
        return item.Subject();
    }
    if (key == "body") {
        return item.Body();
    }
    if (key == "entryid") {
        return item.EntryID();
    }
    return std::nullopt;
}

std::optional<Variant> ItemProperty(const OlItem& item, const std::string& name) {
    if (const auto* appointment = dynamic_cast<const OlAppointmentItem*>(&item)) {
        return AppointmentProperty(*appointment, name);
    }
    if (const auto* task = dynamic_cast<const OlTaskItem*>(&item)) {
        return TaskProperty(*task, name);
    }
    if (const auto* mail = dynamic_cast<const OlMailItem*>(&item)) {
        return MailProperty(*mail, name);
    }
    return std::nullopt;
}

}  // namespace planwarte
