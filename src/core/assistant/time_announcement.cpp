#include "core/assistant/time_announcement.h"

#include <cstdint>
#include <string_view>

#include "core/app/clock.h"
#include "core/assistant/agent_host.h"
#include "core/common/format_date_time.h"
#include "core/common/string_table.h"
#include "core/settings/setting_values.h"
#include "core/settings/settings_store.h"

namespace planwarte {

namespace {

constexpr std::string_view kTimePlaceholder = "<TIME>";
constexpr const char* kLateText = "Es ist schon spät geworden, es ist <TIME>";
constexpr const char* kVeryLateText = "Es ist schon ziemlich spät geworden, es ist <TIME>";

}  // namespace

std::string InsertTime(std::string text, DateTime now) {
    const std::string time = FormatDateTime(LoadStr(msg::kTimeAnnouncementPattern), now);
    // Left to right, after each inserted time, so a time never gives a placeholder anew.
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(kTimePlaceholder, from)) != std::string::npos;) {
        text.replace(at, kTimePlaceholder.size(), time);
        from = at + time.size();
    }
    return text;
}

TimeAnnouncement::TimeAnnouncement(AgentHost& host, SettingsStore& settings, const Clock& clock,
                                   const bool& english)
    : host_(host), settings_(settings), clock_(clock), english_(english) {}

int TimeAnnouncement::ReadPeriod() const {
    auto key = settings_.OpenKey(kSettingsKeyPath, false);
    // Kept as a 16-bit number; zero or less would make every minute a division by zero.
    const auto period =
        static_cast<std::int16_t>(key ? ReadIntegerOr(*key, "CharacterSayTimeAll", 1) : 1);
    return period < 1 ? 1 : period;
}

void TimeAnnouncement::Check(bool force) {
    {
        auto key = settings_.OpenKey(kSettingsKeyPath, false);
        if (key && !ReadBoolOr(*key, "CharacterSayTime", true)) {
            return;
        }
    }
    const TimeOfDay time = DecodeTime(clock_.Now());
    if (time.minute % ReadPeriod() != 0 && !force) {
        latch_ = true;
        return;
    }
    if (!latch_) {
        return;
    }
    latch_ = false;
    if (!host_.LoadAgent(0, 0, true)) {
        return;
    }
    host_.PlayAnimation("Wave");
    std::string text;
    if (auto key = settings_.OpenKey(kSettingsKeyPath, false)) {
        text = ReadStringOr(*key, "SPAgentTime", LoadStr(msg::kTimeAnnouncementText));
    }
    if (!english_) {
        if (time.hour == 22 && time.minute > 30) {
            host_.PlayAnimation("GetAtention");
            text = kLateText;
            host_.PlayAnimation("GetAtentionReturn");
        } else if (time.hour == 23 && time.minute > 45) {
            host_.PlayAnimation("Surprised");
            text = kVeryLateText;
        }
    }
    host_.PlayAnimation("GestureDown");
    // The time to the second as it is now, after the gestures.
    host_.SpeakText(InsertTime(std::move(text), clock_.Now()), {.no_gestures = true});
}

}  // namespace planwarte
