#include "core/outlook/used_folders.h"

#include <exception>
#include <limits>
#include <string_view>

#include "core/settings/setting_values.h"
#include "core/settings/settings_store.h"

namespace planwarte {

namespace {

enum class FolderKind { kCalendar, kTask };

std::string ListKeyPath(FolderKind kind) {
    return std::string(kSettingsKeyPath) + "\\" +
           (kind == FolderKind::kCalendar ? kUsedCalendarsKeyName : kUsedTasksKeyName);
}

// An absent value reads as `when_absent` and `written` is stored in its place; a value of
// another type throws SettingsError.
std::int32_t ReadIntegerOrStore(SettingsKey& key, std::string_view name, std::int32_t when_absent,
                                std::int32_t written) {
    if (!key.ValueExists(name)) {
        key.WriteInteger(name, written);
        return when_absent;
    }
    return key.ReadInteger(name);
}

bool ReadBoolOrStore(SettingsKey& key, std::string_view name, bool when_absent) {
    if (!key.ValueExists(name)) {
        key.WriteBool(name, when_absent);
        return when_absent;
    }
    return key.ReadBool(name);
}

void ReadFontColor(SettingsKey& key, FolderStyle& style) {
    style.font_color = ReadIntegerOrStore(key, "FontColor", 0, 0);
    style.font_color_html = ColorToHtml(style.font_color);
    style.font_color_text = std::to_string(style.font_color);
}

// A stored size that does not fit the style's 16 bits is as unusable as an absent one; taking
// it modulo 2^16 would give a nonsense or negative size.
void ReadFontSize(SettingsKey& key, const FolderStyle& current, FolderStyle& style) {
    const std::int32_t size =
        ReadIntegerOrStore(key, "FontSize", kFolderFontSizeWhenAbsent, current.font_size);
    const bool fits = size >= std::numeric_limits<std::int16_t>::min() &&
                      size <= std::numeric_limits<std::int16_t>::max();
    style.font_size = fits ? static_cast<std::int16_t>(size) : kFolderFontSizeWhenAbsent;
}

// An absent face is the empty text; only a face stored as another type is replaced, by the
// fallback face for this time and by the current face in the store.
void ReadFont(SettingsKey& key, const FolderStyle& current, FolderStyle& style) {
    try {
        style.font = key.ReadString("Font");
    } catch (const SettingsError&) {
        style.font = kFallbackFolderFont;
        key.WriteString("Font", current.font);
    }
}

void ReadCalendarStyle(SettingsKey& key, const FolderStyle& current, FolderStyle& style) {
    ReadFontColor(key, style);
    style.use_ol_font_color = ReadBoolOrStore(key, "UseOLFontColor", false);
    ReadFontSize(key, current, style);
    ReadFont(key, current, style);
    style.holiday_in_use = ReadBoolOrStore(key, "HolidayInUse", false);
    style.show_clock = ReadBoolOrStore(key, "ShowClock", true);
}

// Tasks keep the current style's label colouring and holiday flag.
void ReadTaskStyle(SettingsKey& key, const FolderStyle& current, FolderStyle& style) {
    ReadFontColor(key, style);
    style.show_clock = ReadBoolOrStore(key, "ShowClock", true);
    ReadFontSize(key, current, style);
    ReadFont(key, current, style);
}

struct LoadContext {
    SettingsStore& settings;
    OlNamespace& outlook;
    const FolderStyle& current;
    const RaiseProgressMaximum& raise_progress_maximum;
    FolderKind kind;
};

enum class LineOutcome { kNotUsed, kUsed, kUnreadable };

// Loads the folder of one ticked line. The folder counts as used as soon as its isUsed reads
// true, even when a later read fails and the line stays without object.
LineOutcome LoadLine(const LoadContext& context, UsedFolderLine& line) {
    auto key = context.settings.OpenKey(ListKeyPath(context.kind) + "\\" + line.name, false);
    if (!key) {
        return LineOutcome::kUnreadable;
    }
    bool counted = false;
    try {
        if (!key->ReadBool("isUsed")) {
            return LineOutcome::kNotUsed;
        }
        auto object = std::make_unique<TMAPIFolderObject>();
        if (context.raise_progress_maximum) {
            context.raise_progress_maximum();
        }
        counted = true;
        object->entry_id = line.name;
        object->style = context.current;
        if (context.kind == FolderKind::kCalendar) {
            ReadCalendarStyle(*key, context.current, object->style);
        } else {
            ReadTaskStyle(*key, context.current, object->style);
        }
        object->store_id = key->ReadString("SID");
        object->folder = context.outlook.GetFolderFromID(line.name, object->store_id);
        line.object = std::move(object);
    } catch (const std::exception&) {
        // A folder that cannot be loaded is left out without telling the user: it may well
        // be gone from the source while its sub-key stays behind.
    }
    return counted ? LineOutcome::kUsed : LineOutcome::kUnreadable;
}

// A failing source leaves the line without object, as it does for any other folder.
void AddDefaultCalendar(OlNamespace& outlook, const FolderStyle& current, UsedFolderList& list) {
    UsedFolderLine line{kDefaultCalendarLineName, nullptr};
    try {
        auto object = std::make_unique<TMAPIFolderObject>();
        object->entry_id = kDefaultCalendarLineName;
        object->style = current;
        object->folder = outlook.GetDefaultFolder(kDefaultFolderCalendar);
        line.object = std::move(object);
    } catch (const std::exception&) {
    }
    list.push_back(std::move(line));
}

void LoadUsedFolders(const LoadContext& context, UsedFolderList& list) {
    list.clear();
    if (auto key = context.settings.OpenKey(ListKeyPath(context.kind), false)) {
        for (std::string& name : key->SubKeyNames()) {
            list.push_back(UsedFolderLine{std::move(name), nullptr});
        }
    }
    const bool with_default = context.kind == FolderKind::kCalendar;
    if (list.empty()) {
        if (with_default) {
            AddDefaultCalendar(context.outlook, context.current, list);
        }
        return;
    }
    bool none_used = true;
    for (std::size_t index = 0; index < list.size();) {
        switch (LoadLine(context, list[index])) {
            case LineOutcome::kNotUsed:
                // The next line moves up into this index and is looked at next.
                list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
                continue;
            case LineOutcome::kUsed:
                none_used = false;
                break;
            case LineOutcome::kUnreadable:
                break;
        }
        ++index;
    }
    if (none_used && with_default) {
        AddDefaultCalendar(context.outlook, context.current, list);
    }
}

}  // namespace

void LoadUsedCalendars(SettingsStore& settings, OlNamespace& outlook, const FolderStyle& current,
                       const RaiseProgressMaximum& raise_progress_maximum, UsedFolderList& list) {
    LoadUsedFolders({settings, outlook, current, raise_progress_maximum, FolderKind::kCalendar},
                    list);
}

void LoadUsedTasks(SettingsStore& settings, OlNamespace& outlook, const FolderStyle& current,
                   const RaiseProgressMaximum& raise_progress_maximum, UsedFolderList& list) {
    LoadUsedFolders({settings, outlook, current, raise_progress_maximum, FolderKind::kTask}, list);
}

}  // namespace planwarte
