#pragma once

#include <functional>
#include <string>

#include "core/outlook/object_model.h"

// Jumping from the program into the calendar program: its calendar, a new item of a kind, and
// the item behind an entry of the page.
namespace planwarte {

class SettingsStore;
class ShellLauncher;

// What the calendar program is started with for each of its new-item commands.
struct CalendarProgramStart {
    const char* parameters;
    int show_state;
};
inline constexpr const char* kCalendarProgramFile = "outlook.exe";
CalendarProgramStart NewAppointmentStart();
CalendarProgramStart NewTaskStart();
CalendarProgramStart NewMailStart();
CalendarProgramStart SelectCalendarStart();

// Starts the calendar program; nothing happens without a launcher.
void StartCalendarProgram(ShellLauncher* launcher, const CalendarProgramStart& start);

// Opens the item's own window and brings it to the front. The used-folder entries of the
// settings tell the store and whether the item is a task; an entry of neither list (the
// default calendar's) is looked up as an appointment of the default store. Never reports:
// an item that cannot be found, or is of the other kind, opens nothing. IDs that the object
// model cannot have made are refused before they reach the settings store, and traced.
void OpenOutlookItem(SettingsStore& settings, OlApplication* application, OlNamespace* outlook,
                     const std::string& folder_entry_id, const std::string& item_entry_id,
                     const std::function<void(const std::string&)>& trace);
inline constexpr const char* kRefusedEntryIdTrace = "OpenOutlookItem: ungueltige ID verworfen";

// Whether an ID handed in by the page's script is one the object model could have made:
// hexadecimal digits only (the default calendar's line name for a folder). Anything else
// would reach the settings store as part of a key path.
bool IsItemEntryId(const std::string& text);
bool IsFolderEntryId(const std::string& text);

}  // namespace planwarte
