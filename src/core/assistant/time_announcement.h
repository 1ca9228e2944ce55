#pragma once

#include <string>

#include "core/common/date_time.h"

namespace planwarte {

class AgentHost;
class Clock;
class SettingsStore;

// The text of the time announcement with every "<TIME>" replaced by the time ("22:45 Uhr").
std::string InsertTime(std::string text, DateTime now);

// The time announcement every N minutes (CharacterSayTimeAll), with its two late-evening
// variants. The latch makes each announcement minute announce once, however many checks
// fall into it: it opens at every examined minute that is no announcement minute and closes
// with an announcement.
class TimeAnnouncement {
  public:
    TimeAnnouncement(AgentHost& host, SettingsStore& settings, const Clock& clock,
                     const bool& english);

    // force announces outside the announcement minutes too (start-up, reminders), but
    // not a second time in a minute that has been announced already.
    void Check(bool force);

  private:
    // The period; a stored value below 1 counts as 1.
    int ReadPeriod() const;

    AgentHost& host_;
    SettingsStore& settings_;
    const Clock& clock_;
    const bool& english_;
    bool latch_ = true;
};

}  // namespace planwarte
