#pragma once

#include <string>

namespace planwarte {

class AgentHost;
class Clock;
class SettingsKey;
class SettingsStore;

// The user's greeting for the hour of the day: morning (2-11), noon (12), day (13-17) and
// evening (19-23); "Hallo" at the other hours and where the text is empty or unreadable.
std::string GreetingText(SettingsKey& key, int hour);

// Says the greeting and waits until it has been said. Nothing is said when the settings
// cannot be opened.
void SpeakGreeting(AgentHost& host, SettingsStore& settings, const Clock& clock);

}  // namespace planwarte
