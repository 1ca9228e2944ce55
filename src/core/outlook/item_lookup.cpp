#include <algorithm>
#include <exception>

#include "core/outlook/item_access.h"

// Finding items again, the start of a series, and the announced mark of mails.
namespace planwarte {

namespace {

template <typename Kind>
std::shared_ptr<Kind> ItemOfKind(std::shared_ptr<OlItem> item, const char* kind) {
    auto typed = std::dynamic_pointer_cast<Kind>(std::move(item));
    if (!typed) {
        throw OutlookError("GetItemFromID", std::string("the item is not ") + kind);
    }
    return typed;
}

}  // namespace

std::shared_ptr<OlItem> GetItemFromID(OlNamespace& outlook, const std::string& entry_id,
                                      const std::string& store_id) {
    return outlook.GetItemFromID(entry_id, store_id);
}

std::shared_ptr<OlAppointmentItem> GetAppointmentFromID(OlNamespace& outlook,
                                                        const std::string& entry_id,
                                                        const std::string& store_id) {
    return ItemOfKind<OlAppointmentItem>(GetItemFromID(outlook, entry_id, store_id),
                                         "an appointment");
}

std::shared_ptr<OlTaskItem> GetTaskFromID(OlNamespace& outlook, const std::string& entry_id,
                                          const std::string& store_id) {
    return ItemOfKind<OlTaskItem>(GetItemFromID(outlook, entry_id, store_id), "a task");
}

DateTime SeriesStartDate(OlAppointmentItem& appointment, OlFolder& folder,
                         const std::function<void(const std::string&)>& trace) {
    DateTime start = appointment.Start();
    try {
        if (auto pattern = appointment.GetRecurrencePattern()) {
            return pattern->PatternStartDate();
        }
    } catch (const std::exception&) {
        // Without a readable pattern the folder is searched for the series' earliest item.
    }
    const std::string entry_id = appointment.EntryID();
    const std::string subject = appointment.Subject();
    auto items = folder.Items();
    if (!items) {
        return start;
    }
    const auto trace_unavailable = [&trace] {
        if (trace) {
            trace(kSeriesItemUnavailableTrace);
        }
    };
    for (int index = 1; index <= items->Count(); ++index) {
        std::shared_ptr<OlItem> item;
        try {
            item = items->Item(index);
        } catch (const std::exception&) {
            // One damaged entry must not end the search, wherever it lies in the folder.
            trace_unavailable();
            continue;
        }
        auto other = std::dynamic_pointer_cast<OlAppointmentItem>(item);
        if (!other) {
            trace_unavailable();
            break;
        }
        if (other->Subject() == subject && other->EntryID() == entry_id) {
            start = std::min(start, other->Start());
        }
    }
    return start;
}

bool HasAnnouncedMark(OlMailItem& mail) {
    auto properties = mail.UserProperties();
    if (!properties) {
        return false;
    }
    for (int index = 1; index <= properties->Count(); ++index) {
        auto property = properties->Item(index);
        if (property && property->Name() == kAnnouncedMarkName) {
            return true;
        }
    }
    return false;
}

void SetAnnouncedMark(OlMailItem& mail) {
    auto properties = mail.UserProperties();
    if (!properties) {
        throw OutlookError("UserProperties", "the mail has no user properties");
    }
    properties->Add(kAnnouncedMarkName, kUserPropertyYesNo, false, 0);
}

}  // namespace planwarte
