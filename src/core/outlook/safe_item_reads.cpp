#include <charconv>
#include <cmath>
#include <exception>
#include <limits>

#include "core/app/host_services.h"
#include "core/common/string_table.h"
#include "core/outlook/item_access.h"

// Creating safe items and reading the guarded parts of appointments and tasks through them.
namespace planwarte {

namespace {

// The master of an occurrence or exception, which holds the series' body and label.
std::shared_ptr<OlAppointmentItem> MasterOf(OlAppointmentItem& appointment) {
    auto pattern = appointment.GetRecurrencePattern();
    if (!pattern) {
        throw OutlookError("Parent", "the appointment has no recurrence pattern");
    }
    auto master = pattern->Parent();
    if (!master) {
        throw OutlookError("Parent", "the series has no master appointment");
    }
    return master;
}

// Runs `read` with the safe item pointed at the master and points it back at the item it
// had before, also when the read fails, so that the caller's later reads see its own item.
template <typename Read>
auto ReadFromMaster(OlAppointmentItem& appointment, SafeItem& safe, Read read) {
    auto master = MasterOf(appointment);
    auto remembered = safe.Item();
    safe.SetItem(master);
    try {
        auto value = read();
        safe.SetItem(remembered);
        return value;
    } catch (...) {
        safe.SetItem(remembered);
        throw;
    }
}

bool IsOccurrenceOrException(OlAppointmentItem& appointment) {
    return appointment.IsRecurring() && appointment.GetRecurrenceState() != RecurrenceState::Master;
}

std::int32_t ToInt32(const Variant& value) {
    if (std::holds_alternative<std::monostate>(value)) {
        return 0;
    }
    if (const auto* integer = std::get_if<std::int32_t>(&value)) {
        return *integer;
    }
    if (const auto* real = std::get_if<double>(&value)) {
        const double rounded = std::nearbyint(*real);
        if (rounded >= std::numeric_limits<std::int32_t>::min() &&
            rounded <= std::numeric_limits<std::int32_t>::max()) {
            return static_cast<std::int32_t>(rounded);
        }
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        std::int32_t parsed = 0;
        const char* end = text->data() + text->size();
        if (auto [ptr, error] = std::from_chars(text->data(), end, parsed);
            error == std::errc() && ptr == end) {
            return parsed;
        }
    }
    throw OutlookError("Fields", "the label colour is not an integer");
}

std::int32_t ReadLabelProperty(SafeAppointmentItem& safe) {
    const std::int32_t tag = safe.GetIDsFromNames(kLabelColourPropertySet, kLabelColourPropertyId);
    if (tag == 0) {
        return 0;
    }
    // The tag is used exactly as given: named property tags carry no type bits here.
    return ToInt32(safe.Fields(tag));
}

bool IsLabelIndex(std::int32_t index) {
    return index >= 1 && index <= 10;
}

}  // namespace

bool SafeItemMessageFlags::TakeTurn(SafeItemUser user) {
    bool& shown = user == SafeItemUser::kPageBuild ? page_build_shown_ : reminder_shown_;
    const bool first = !shown;
    shown = true;
    return first;
}

std::unique_ptr<SafeAppointmentItem> CreateSafeAppointment(SafeItemLibrary& library,
                                                           std::shared_ptr<OlItem> item,
                                                           SafeItemUser user,
                                                           SafeItemMessageFlags& flags,
                                                           UserNotice& notice) {
    std::unique_ptr<SafeAppointmentItem> safe;
    try {
        safe = library.CreateSafeAppointmentItem();
    } catch (const SafeItemUnavailable&) {
        if (flags.TakeTurn(user)) {
            notice.ShowMessage(LoadStr(msg::kSafeItemLibraryMissing));
        }
        return nullptr;
    }
    safe->SetItem(std::move(item));
    return safe;
}

std::unique_ptr<SafeTaskItem> CreateSafeTask(SafeItemLibrary& library,
                                             std::shared_ptr<OlItem> item) {
    std::unique_ptr<SafeTaskItem> safe;
    try {
        safe = library.CreateSafeTaskItem();
    } catch (const SafeItemUnavailable&) {
        return nullptr;
    }
    safe->SetItem(std::move(item));
    return safe;
}

std::string ReadAppointmentBody(OlAppointmentItem& appointment, SafeAppointmentItem& safe,
                                const std::function<void(const std::string&)>& on_error) {
    try {
        if (!appointment.IsRecurring()) {
            return safe.Body();
        }
        // The series' text belongs to its occurrences; the master itself shows none.
        if (appointment.GetRecurrenceState() == RecurrenceState::Master) {
            return std::string();
        }
        return ReadFromMaster(appointment, safe, [&safe] { return safe.Body(); });
    } catch (const std::exception& error) {
        if (on_error) {
            on_error(error.what());
        }
        return std::string();
    }
}

std::string ReadTaskBody(SafeTaskItem& safe) {
    try {
        return safe.Body();
    } catch (const std::exception&) {
        return std::string();
    }
}

std::int32_t ReadLabelColourIndex(OlAppointmentItem& appointment, SafeAppointmentItem& safe) {
    try {
        const std::int32_t own = ReadLabelProperty(safe);
        if (IsLabelIndex(own) || !IsOccurrenceOrException(appointment)) {
            return own;
        }
        return ReadFromMaster(appointment, safe, [&safe] { return ReadLabelProperty(safe); });
    } catch (const std::exception&) {
        return 0;
    }
}

void CleanUpSafeItemLibrary(SafeItemLibrary& library) {
    std::unique_ptr<MapiUtils> utils;
    try {
        utils = library.CreateMapiUtils();
    } catch (const SafeItemUnavailable&) {
        return;
    }
    utils->Cleanup();
}

}  // namespace planwarte
