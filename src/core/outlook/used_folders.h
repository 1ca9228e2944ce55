#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/outlook/change_detection.h"
#include "core/outlook/object_model.h"

// The calendar and task folders the user chose to show, each with the text style of its item
// lines. The choice lives in the settings store, one sub-key per folder named by the folder's
// EntryID, below "UsedCalendars" and "UsedTasks" of the settings key.
namespace planwarte {

class SettingsStore;

// Sub-key names below the settings key.
inline constexpr const char* kUsedCalendarsKeyName = "UsedCalendars";
inline constexpr const char* kUsedTasksKeyName = "UsedTasks";
// The line name of the default calendar, shown when no calendar is ticked.
inline constexpr const char* kDefaultCalendarLineName = "Default";
// What a folder reads when its stored font face has a type other than text.
inline constexpr const char* kFallbackFolderFont = "Comic Sans Ms";
// What a folder uses this time when its sub-key has no FontSize.
inline constexpr std::int16_t kFolderFontSizeWhenAbsent = 8;

// The text style of one folder's item lines. The main window holds the current one, set from
// the main settings at every page build; each used folder gets a copy with its own values put
// in. In the main window's style show_clock and holiday_in_use are always true.
struct FolderStyle {
    bool show_clock = true;  // list-item form of the lines
    std::string font;
    bool use_ol_font_color = false;  // colour appointments by their label, not font_color
    std::int16_t font_size = kFolderFontSizeWhenAbsent;
    bool holiday_in_use = true;   // the folder holds holidays, shown in the holiday style
    std::int32_t font_color = 0;  // 0x00BBGGRR or a system colour
    std::string font_color_html;  // font_color as "#RRGGBB"
    std::string font_color_text;  // font_color as a decimal number
};

// One used folder: the opened folder and its style.
struct TMAPIFolderObject {
    // Null when the source answered no folder for the IDs; the renderers then check the
    // session and skip the folder.
    std::shared_ptr<OlFolder> folder;
    std::string entry_id;  // the line's name: the folder's EntryID, or "Default"
    std::string store_id;  // the stored SID; empty for the default calendar
    FolderStyle style;
    // Watches the folder's items for changes while it exists; null when not watched.
    std::unique_ptr<CItemsEvents> items_events = nullptr;
};

// A line of a used-folder list: a sub-key name and, when the folder could be loaded, its
// object. Every user skips lines without object.
struct UsedFolderLine {
    std::string name;
    std::unique_ptr<TMAPIFolderObject> object;
};

// In the store's order of the sub-keys, with the default calendar (if any) last.
using UsedFolderList = std::vector<UsedFolderLine>;

// Called once for every ticked folder found, so the splash bar gets a step per folder.
using RaiseProgressMaximum = std::function<void()>;

// Rebuild the list from the settings store. A folder whose values cannot be read keeps its
// line without object, silently. Values the store lacks are written with their defaults
// (FontSize with current.font_size). When no calendar is ticked (or none is stored at all),
// the default calendar is shown with the current style; tasks have no such fallback.
void LoadUsedCalendars(SettingsStore& settings, OlNamespace& outlook, const FolderStyle& current,
                       const RaiseProgressMaximum& raise_progress_maximum, UsedFolderList& list);
void LoadUsedTasks(SettingsStore& settings, OlNamespace& outlook, const FolderStyle& current,
                   const RaiseProgressMaximum& raise_progress_maximum, UsedFolderList& list);

// One line of the settings dialog's check lists.
struct FolderChoice {
    std::string caption;  // "<parent name> => <folder name>"
    std::string entry_id;
    std::string store_id;
    bool used = false;  // the check state
};

struct FolderChoices {
    std::vector<FolderChoice> calendars;
    std::vector<FolderChoice> tasks;
};

// Walks every folder below the stores' top folders and lists the calendar and task folders,
// ticked as their sub-keys say. Every listed folder gets a sub-key (maybe empty). An error
// for one folder is traced with its bare text and the walk goes on.
FolderChoices EnumerateOutlookFolders(SettingsStore& settings, OlNamespace& outlook,
                                      const std::function<void(const std::string&)>& trace);

// The dialog's OK: writes isUsed and SID of every listed folder.
void SaveFolderChoices(SettingsStore& settings, const FolderChoices& choices);

}  // namespace planwarte
