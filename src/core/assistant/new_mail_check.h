#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/common/date_time.h"

namespace planwarte {

class AgentHost;
class Clock;
class OlItem;
class OlItems;
class OlMailItem;
class OutlookSession;
class SettingsStore;

// The filter for the unread mail of the inbox received between the last check (to the
// minute) and a little after now.
std::string NewMailFilter(DateTime last_check, DateTime now);

// Says that mail has come and reads the subjects of the new unread messages, each message
// once: an announced message carries the announced mark. Nothing waits for the speech.
class NewMailCheck {
  public:
    // How far the search window reaches into the future: 7 minutes 12 seconds.
    static constexpr double kLookAheadDays = 0.005;

    NewMailCheck(AgentHost& host, SettingsStore& settings, const Clock& clock,
                 std::function<void(const std::string&)> trace);

    void Run(OutlookSession& session);

    // The end of the last check that ran; the first check looks one day back.
    std::optional<DateTime> LastCheckTime() const { return last_check_; }

  private:
    struct MailSettings {
        std::string text;
        bool reads_subject = false;
        bool checks_mail = false;
    };
    // False when the settings cannot be opened.
    bool ReadMailSettings(MailSettings& settings);
    // False when the character could not be started: the same mail is then looked for again.
    bool AnnounceFound(OlItems& items, const std::string& filter, const MailSettings& settings);

    AgentHost& host_;
    SettingsStore& settings_;
    const Clock& clock_;
    std::function<void(const std::string&)> trace_;
    std::optional<DateTime> last_check_;
};

}  // namespace planwarte
