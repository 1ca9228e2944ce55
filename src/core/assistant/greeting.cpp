#include "core/assistant/greeting.h"

#include "core/app/clock.h"
#include "core/assistant/agent_host.h"
#include "core/settings/setting_values.h"
#include "core/settings/settings_store.h"

namespace planwarte {

namespace {

constexpr const char* kPlainGreeting = "Hallo";

// The value that holds the greeting of the hour; null where the hour has none.
const char* GreetingValueName(int hour) {
    if (hour >= 2 && hour <= 11) {
        return "SPAgentHalloFrueh";
    }
    if (hour == 12) {
        return "SPAgentHalloMittag";
    }
    if (hour >= 13 && hour <= 17) {
        return "SPAgentHallo";
    }
    if (hour >= 19 && hour <= 23) {
        return "SPAgentHalloAbend";
    }
    return nullptr;
}

}  // namespace

std::string GreetingText(SettingsKey& key, int hour) {
    const char* name = GreetingValueName(hour);
    if (!name) {
        return kPlainGreeting;
    }
    const std::string text = ReadStringOr(key, name, "");
    return text.empty() ? kPlainGreeting : text;
}

void SpeakGreeting(AgentHost& host, SettingsStore& settings, const Clock& clock) {
    auto key = settings.OpenKey(kSettingsKeyPath, true);
    if (!key) {
        return;
    }
    const std::string greeting = GreetingText(*key, DecodeTime(clock.Now()).hour);
    host.SpeakText(greeting, {.no_gestures = true});
}

}  // namespace planwarte
