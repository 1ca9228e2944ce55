#include "core/assistant/reminder_options.h"

#include <algorithm>
#include <charconv>

#include "core/settings/setting_values.h"
#include "core/settings/settings_store.h"

namespace planwarte {

namespace {

// The whole text as a number of minutes, else the fallback. A typed 0 would read a reminder
// out without pause, so the up-downs' range holds for typed values too.
int CycleOfText(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || at != end) {
        return TfrmReminderOptions::kFallbackCycle;
    }
    return std::clamp(value, TfrmReminderOptions::kShortestCycle,
                      TfrmReminderOptions::kLongestCycle);
}

// An up-down shows a stored value outside its range at the nearest end of it.
int StoredCycle(SettingsKey& key, const char* value_name) {
    return std::clamp(ReadIntegerOr(key, value_name, TfrmReminderOptions::kFallbackCycle),
                      TfrmReminderOptions::kShortestCycle, TfrmReminderOptions::kLongestCycle);
}

}  // namespace

void TfrmReminderOptions::FormCreate() {
    if (auto key = settings_.OpenKey(kSettingsKeyPath, false)) {
        controls_.cycle_high = StoredCycle(*key, "ReminderZyklusHigh");
        controls_.cycle_normal = StoredCycle(*key, "ReminderZyklusNormal");
        controls_.cycle_low = StoredCycle(*key, "ReminderZyklusLow");
        controls_.cyclic = ReadBoolOr(*key, "ReminderZyklisch", false);
    }
    chbReminderZyklischClick(controls_.cyclic);
}

void TfrmReminderOptions::chbReminderZyklischClick(bool ticked) {
    controls_.cyclic = ticked;
    controls_.cycles_enabled = ticked;
    if (auto key = settings_.OpenKey(kSettingsKeyPath, false)) {
        key->WriteBool("ReminderZyklisch", ticked);
    }
}

void TfrmReminderOptions::CycleLowChange(const std::string& text) {
    StoreCycle("ReminderZyklusLow", text, controls_.cycle_low);
}

void TfrmReminderOptions::CycleNormalChange(const std::string& text) {
    StoreCycle("ReminderZyklusNormal", text, controls_.cycle_normal);
}

void TfrmReminderOptions::CycleHighChange(const std::string& text) {
    StoreCycle("ReminderZyklusHigh", text, controls_.cycle_high);
}

void TfrmReminderOptions::StoreCycle(const char* value_name, const std::string& text, int& shown) {
    shown = CycleOfText(text);
    if (auto key = settings_.OpenKey(kSettingsKeyPath, false)) {
        try {
            key->WriteInteger(value_name, shown);
        } catch (const std::exception&) {
            key->WriteInteger(value_name, kFallbackCycle);
        }
    }
}

}  // namespace planwarte
