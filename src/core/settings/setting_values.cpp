#include "core/settings/setting_values.h"

#include <array>
#include <stdexcept>
#include <string>

#include "core/settings/key_names.h"

namespace planwarte {

namespace {

constexpr SettingValue Integer(std::string_view name, std::int32_t fallback,
                               bool written_when_absent = false) {
    return {name, SettingType::kInteger, fallback, {}, written_when_absent};
}

constexpr SettingValue Bool(std::string_view name, bool fallback,
                            bool written_when_absent = false) {
    return {name, SettingType::kBool, fallback ? 1 : 0, {}, written_when_absent};
}

constexpr SettingValue String(std::string_view name, std::string_view fallback) {
    return {name, SettingType::kString, 0, fallback, false};
}

constexpr std::int32_t kWhite = 0x00FFFFFF;
constexpr std::int32_t kRed = 0x000000FF;  // 0x00BBGGRR
constexpr std::int32_t kGrey = 8421504;    // 0x808080

// A text value that is absent reads as the empty text (see ReadStringSetting); its default
// replaces a value stored with another type, and is the built-in text a dialog field keeps
// while nothing is stored.
constexpr auto kSettingValues = std::to_array<SettingValue>({
    // Window and start-up.
    // Absent: start-up stores true but does not wait on that one start.
    Bool("UseDelay", true, true),
    Integer("Delay", 3),
    // Absent: the window uses the normal views' geometry; the geometry save stores 1 itself,
    // the settings dialog shows the month view.
    Integer("VORLAGE", 1),
    // The top edge falls back to 10; left, width and height have no fixed default, the window
    // placement computes them from the screen size when any of them is missing.
    Integer("FormPosTopMonth", 10),
    Integer("FormPosLeftMonth", 0),
    Integer("FormPosWidthMonth", 0),
    Integer("FormPosHeightMonth", 0),
    Integer("FormPosTopNormal", 10),
    Integer("FormPosLeftNormal", 0),
    Integer("FormPosWidthNormal", 0),
    Integer("FormPosHeightNormal", 0),
    Integer("divL", 3),
    Integer("divT", 5),
    // The fade worker uses its own pair (250 and 255) when either opacity is missing.
    Integer("Alpha", 240),
    Integer("AlphaAktive", 255),
    // The window reads false; the settings dialog stores true when it finds nothing.
    Bool("TransparenzOnActiveWindow", false),

    // Calendar page.
    // Absent reads as the empty text, which makes the design lookup pick "Standard" too.
    String("Design", "Standard"),
    // Absent reads as the empty font face; only a value of another type gives this face.
    String("Font", "Comic Sans Ms"),
    Integer("FontSize", 8),
    Integer("FontColor", 0),
    // Absent: the page gives the cells no colour and stores the transparency flag as true;
    // the colour picker starts with white.
    Integer("BackgroundColorDays", kWhite),
    Bool("BackgroundColorDaysTransparent", true, true),
    Integer("BackgroundColorToday", kWhite),
    Bool("BackgroundColorTodayTransparent", true, true),
    Integer("WeekendColor", kRed),
    Integer("BackgroundColor", kGrey),
    Bool("showFullWeeksInMonthView", false),
    Integer("FirstDayOfWeek", 0),
    Bool("vorHeute", true),
    Integer("xTage", 5),
    Integer("daysBack", 0),
    Bool("CreateHtmlFile", false),

    // Assistant.
    // Absent: the assistant stores false and still starts this one time.
    Bool("CharacterUsed", false, true),
    String("AgentFromFileSystem", ""),
    Bool("AgentZoom", false, true),
    Integer("AgentLastPositionX", 0),
    Integer("AgentLastPositionY", 0),
    String("AgentVoiceModeID", ""),
    Bool("CharacterSayTime", true),
    // The settings dialog shows 60 when nothing is stored.
    Integer("CharacterSayTimeAll", 1),
    Bool("AgentChecksMail", false, true),
    Bool("AgentReadsSubject", false, true),
    Bool("AgentRemindsMe", true),
    Bool("ReminderZyklisch", false),
    Integer("ReminderZyklusHigh", 5),
    Integer("ReminderZyklusNormal", 5),
    Integer("ReminderZyklusLow", 5),

    // Standard sayings; '|' separates alternative texts.
    String("SPAgentHallo", "Hallo|Guten Tag"),
    String("SPAgentHalloFrueh", "Guten Morgen"),
    String("SPAgentHalloMittag", "Mahlzeit"),
    String("SPAgentHalloAbend", "Guten Abend"),
    String("SPAgentTime", "Die Zeit, es ist <TIME>"),
    String("SPAgentCheckMail", "Sie haben Post!"),
    String("SBAgentAppointments", "Heute sind Termine vorhanden|Sie haben heute Termine!"),
    String("SBAgentReminder", "Sie haben einen Termin|Darf ich an den folgenden Termin erinnern ?"),
});

// A reader asking for a value under another type than the table's is a programming fault.
const SettingValue& EntryOfType(std::string_view name, SettingType type) {
    const SettingValue& entry = SettingValueOf(name);
    if (entry.type != type) {
        throw std::logic_error("setting " + std::string(name) + " read with the wrong type");
    }
    return entry;
}

}  // namespace

std::span<const SettingValue> SettingValues() {
    return kSettingValues;
}

const SettingValue& SettingValueOf(std::string_view name) {
    for (const SettingValue& entry : kSettingValues) {
        if (SameName(entry.name, name)) {
            return entry;
        }
    }
    throw std::out_of_range("unknown setting " + std::string(name));
}

std::int32_t ReadIntegerOr(SettingsKey& key, std::string_view name, std::int32_t fallback) {
    try {
        return key.ReadInteger(name);
    } catch (const SettingsError&) {
        return fallback;
    }
}

bool ReadBoolOr(SettingsKey& key, std::string_view name, bool fallback) {
    try {
        return key.ReadBool(name);
    } catch (const SettingsError&) {
        return fallback;
    }
}

std::string ReadStringOr(SettingsKey& key, std::string_view name, std::string_view fallback) {
    try {
        return key.ReadString(name);
    } catch (const SettingsError&) {
        return std::string(fallback);
    }
}

std::int32_t ReadIntegerSetting(SettingsKey& key, std::string_view name) {
    const SettingValue& entry = EntryOfType(name, SettingType::kInteger);
    try {
        return key.ReadInteger(name);
    } catch (const SettingsError&) {
        if (entry.written_when_absent) {
            key.WriteInteger(entry.name, entry.integer_default);
        }
        return entry.integer_default;
    }
}

bool ReadBoolSetting(SettingsKey& key, std::string_view name) {
    const SettingValue& entry = EntryOfType(name, SettingType::kBool);
    try {
        return key.ReadBool(name);
    } catch (const SettingsError&) {
        const bool fallback = entry.integer_default != 0;
        if (entry.written_when_absent) {
            key.WriteBool(entry.name, fallback);
        }
        return fallback;
    }
}

std::string ReadStringSetting(SettingsKey& key, std::string_view name) {
    return ReadStringOr(key, name, EntryOfType(name, SettingType::kString).string_default);
}

}  // namespace planwarte
