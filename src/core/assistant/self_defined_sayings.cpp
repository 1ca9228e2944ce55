#include "core/assistant/self_defined_sayings.h"

#include <charconv>
#include <cmath>
#include <exception>

#include "core/app/clock.h"
#include "core/app/file_system.h"
#include "core/assistant/agent_host.h"
#include "core/common/ini_file.h"

namespace planwarte {

namespace {

constexpr const char* kNamesSection = "Namen";
constexpr const char* kRemovedName = "empty";
constexpr int kMaxSayings = 100;
constexpr const char* kDefaultAnimation = "Blink";

}  // namespace

std::vector<std::string> SayingNames(const IniFile& sayings) {
    std::vector<std::string> names;
    for (int index = 0; index < kMaxSayings; ++index) {
        std::string name = sayings.Value(kNamesSection, "Tab" + std::to_string(index), "");
        if (name.empty()) {
            break;
        }
        if (name != kRemovedName) {
            names.push_back(std::move(name));
        }
    }
    return names;
}

TimeOfDay SayingTime(std::string_view zeit) {
    std::string number(zeit);
    for (char& c : number) {
        if (c == ',') {
            c = '.';
        }
    }
    double value = 0.0;
    const char* const end = number.data() + number.size();
    const auto [parsed_to, error] = std::from_chars(number.data(), end, value);
    if (error != std::errc{} || parsed_to != end || !std::isfinite(value)) {
        return TimeOfDay{};
    }
    // Only the time part counts, also of a date before the epoch.
    double whole = 0.0;
    const double fraction = std::abs(std::modf(value, &whole));
    return DecodeTime(DateTime(fraction));
}

void CheckSayings(AgentHost& host, const FileSystem& files, const std::string& program_folder,
                  const Clock& clock, const std::function<void(const std::string&)>& trace) {
    const TimeOfDay now = DecodeTime(clock.Now());
    // A missing file is an empty list.
    const IniFile sayings(files.ReadFile(program_folder + kSayingsFileName).value_or(""));
    for (const std::string& name : SayingNames(sayings)) {
        try {
            const TimeOfDay at = SayingTime(sayings.Value(name, "Zeit", "0"));
            if (at.hour != now.hour || at.minute != now.minute) {
                continue;
            }
            if (!host.LoadAgent(0, 0, true)) {
                continue;
            }
            host.PlayAnimation(sayings.Value(name, "Animation", kDefaultAnimation));
            host.SpeakText(sayings.Value(name, "Spruch", ""), {.no_gestures = true});
        } catch (const std::exception& error) {
            trace(error.what());
        }
    }
}

}  // namespace planwarte
