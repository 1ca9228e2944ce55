#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/settings/settings_store.h"

namespace planwarte {

// The settings key every reader and writer opens.
inline constexpr std::string_view kSettingsKeyPath = "\\Software\\Tarvolen\\Merkfalter\\Kalender";

enum class SettingType { kInteger, kBool, kString };

// One value of the settings key: its stored type and what a reader uses when it is absent
// (or of another type). Where the reader also stores that value, written_when_absent is set.
struct SettingValue {
    std::string_view name;
    SettingType type;
    std::int32_t integer_default;     // integer and bool values (bool: 0 or 1)
    std::string_view string_default;  // string values
    bool written_when_absent;
};

// Every value of the settings key, one entry per name.
std::span<const SettingValue> SettingValues();

// The entry of a name (letter case does not matter); throws std::out_of_range for a name
// the table does not know, so a misspelt name fails in the tests, not silently at a user.
const SettingValue& SettingValueOf(std::string_view name);

// Reads with the caller's fallback: a missing or wrongly typed value gives the fallback.
std::int32_t ReadIntegerOr(SettingsKey& key, std::string_view name, std::int32_t fallback);
bool ReadBoolOr(SettingsKey& key, std::string_view name, bool fallback);
std::string ReadStringOr(SettingsKey& key, std::string_view name, std::string_view fallback);

// Reads with the table's default; for values written when absent the default is stored too.
// A text follows the store's reading rule: absent reads as the empty text, and the default
// replaces only a value stored with another type.
std::int32_t ReadIntegerSetting(SettingsKey& key, std::string_view name);
bool ReadBoolSetting(SettingsKey& key, std::string_view name);
std::string ReadStringSetting(SettingsKey& key, std::string_view name);

// A stored colour (0x00BBGGRR, or 0x80000000 + index for a system colour) as "#RRGGBB".
std::string ColorToHtml(std::int32_t color);

}  // namespace planwarte
