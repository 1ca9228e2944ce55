#pragma once

#include <libical/ical.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/common/date_time.h"

// Time zones of iCalendar times and their conversion to the local time the object model
// answers in ("local" is the process's zone, so TZ is respected).
namespace planwarte {

// The time zones a file defines in its VTIMEZONE components, kept alive for as long as the
// items read from the file need them (a series expands its occurrences later).
class ZoneHolder {
  public:
    explicit ZoneHolder(icalcomponent* calendar);
    ~ZoneHolder();
    ZoneHolder(const ZoneHolder&) = delete;
    ZoneHolder& operator=(const ZoneHolder&) = delete;

    icaltimezone* FileZone(const std::string& tzid) const;

  private:
    std::vector<std::pair<std::string, icaltimezone*>> zones_;
};

// The IANA name of a Windows zone name ("W. Europe Standard Time"); nullopt for others.
std::optional<std::string> IanaNameForWindowsZone(const std::string& name);

// The system zone a TZID names: by its IANA name (also behind a "/vendor/version/" prefix)
// or by a Windows zone name; null for others.
icaltimezone* KnownZone(const std::string& tzid);

// The zone a TZID names: a system zone, else the file's own definition; null when none.
icaltimezone* ResolveZone(const std::string& tzid, const ZoneHolder& zones);

// A time of a property with its zone attached: UTC for a "Z" value, the TZID's zone, or none
// (floating). `unknown_tzid` receives a TZID that names no known zone.
icaltimetype PropertyTime(icalproperty* property, icaltimetype value, const ZoneHolder& zones,
                          std::string* unknown_tzid);

// The local date-time of a time: a date as that day, a floating time as written, any other
// through its zone. Throws std::invalid_argument outside the years 1..9999.
DateTime ToLocalDateTime(const icaltimetype& time);

// The local date-time of seconds since 1970 (UTC).
DateTime LocalDateTimeOfUnix(long long seconds);

// A comparable key of an instant: seconds since 1970 for a time with a zone, the written
// fields for a floating one, and the day for a date.
long long InstantKey(const icaltimetype& time);

}  // namespace planwarte
