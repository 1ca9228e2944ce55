#include "core/outlook/outlook_commands.h"

#include <algorithm>
#include <exception>
#include <memory>

#include "core/app/shell_launcher.h"
#include "core/outlook/item_access.h"
#include "core/outlook/used_folders.h"
#include "core/settings/setting_values.h"
#include "core/settings/settings_store.h"

namespace planwarte {

namespace {

// Longer than any ID the calendar program hands out; a longer text is not one of its IDs.
constexpr std::size_t kMaxEntryIdLength = 1024;

enum class ItemKind { Appointment, Task };

struct ItemPlace {
    std::string store_id;
    ItemKind kind = ItemKind::Appointment;
};

// The calendar list wins over the task list for a folder found in both.
ItemPlace FindItemPlace(SettingsStore& settings, const std::string& folder_entry_id) {
    const auto stored_place = [&](const char* list_name) -> std::unique_ptr<SettingsKey> {
        return settings.OpenKey(
            std::string(kSettingsKeyPath) + "\\" + list_name + "\\" + folder_entry_id, false);
    };
    try {
        if (auto key = stored_place(kUsedCalendarsKeyName)) {
            return {key->ReadString("SID"), ItemKind::Appointment};
        }
        if (auto key = stored_place(kUsedTasksKeyName)) {
            return {key->ReadString("SID"), ItemKind::Task};
        }
    } catch (const SettingsError&) {
        // A SID of another type: looked up in the default store.
    }
    return {};
}

bool IsHexText(const std::string& text) {
    return !text.empty() && text.size() <= kMaxEntryIdLength &&
           std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
           });
}

}  // namespace

CalendarProgramStart NewAppointmentStart() {
    return {"/c ipm.appointment", kShowNormal};
}
CalendarProgramStart NewTaskStart() {
    return {"/c ipm.task", kShowNormal};
}
CalendarProgramStart NewMailStart() {
    return {"/c ipm.mail", kShowHidden};
}
CalendarProgramStart SelectCalendarStart() {
    return {"/select outlook:Kalender", kShowNormal};
}

void StartCalendarProgram(ShellLauncher* launcher, const CalendarProgramStart& start) {
    if (launcher) {
        launcher->Open(kCalendarProgramFile, start.parameters, start.show_state);
    }
}

void OpenOutlookItem(SettingsStore& settings, OlApplication* application, OlNamespace* outlook,
                     const std::string& folder_entry_id, const std::string& item_entry_id,
                     const std::function<void(const std::string&)>& trace) {
    if (!IsFolderEntryId(folder_entry_id) || !IsItemEntryId(item_entry_id)) {
        if (trace) {
            trace(kRefusedEntryIdTrace);
        }
        return;
    }
    if (!outlook) {
        return;
    }
    try {
        const ItemPlace place = FindItemPlace(settings, folder_entry_id);
        std::shared_ptr<OlItem> item;
        if (place.kind == ItemKind::Task) {
            item = GetTaskFromID(*outlook, item_entry_id, place.store_id);
        } else {
            item = GetAppointmentFromID(*outlook, item_entry_id, place.store_id);
        }
        if (!item) {
            return;
        }
        item->Display();
        try {
            if (application) {
                if (const auto inspector = application->ActiveInspector()) {
                    inspector->Activate();
                }
            }
        } catch (const std::exception&) {
            // The window is open; it only stays behind the others.
        }
    } catch (const std::exception&) {
        // Nothing opens; the page stays as it is.
    }
}

bool IsItemEntryId(const std::string& text) {
    return IsHexText(text);
}

bool IsFolderEntryId(const std::string& text) {
    return text == kDefaultCalendarLineName || IsHexText(text);
}

}  // namespace planwarte
