#pragma once

#include <optional>
#include <string>
#include <vector>

#include "adapters/profile/data_profile.h"
#include "core/common/date_time.h"

// The demo data a newcomer sees: calendars, holidays, birthdays, task lists and a Maildir,
// dated around the day of the first start.
namespace planwarte {

struct DemoFile {
    std::string path;  // relative to the demo folder; ending in "/" for a folder
    std::string content;
};

// Every file of the demo, dated from `now` (a local date-time): appointments in this and
// the next week, the mails shortly before `now` on its day.
std::vector<DemoFile> DemoFiles(DateTime now);

struct DemoData {
    std::string collections;       // the folder of the demo's calendar and task collections
    std::string default_calendar;  // its "Demo-Kalender" collection
    std::string maildir;           // the "Demo-Post" Maildir
};

// The demo in <data_home>/planwarte/demo, generated there when it is missing. It is written
// into a temporary folder first and renamed into place, so that a half-written demo never
// stays; nullopt, traced, when it cannot be written.
std::optional<DemoData> EnsureDemoData(const std::string& data_home, DateTime now,
                                       const ProfileTrace& trace);

}  // namespace planwarte
