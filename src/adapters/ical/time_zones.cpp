#include "adapters/ical/time_zones.h"

#include <array>
#include <ctime>
#include <stdexcept>

namespace planwarte {

namespace {

struct WindowsZone {
    const char* windows;
    const char* iana;
};

// The zones Exchange and older clients write by their Windows names.
constexpr std::array<WindowsZone, 44> kWindowsZones{{
    {"W. Europe Standard Time", "Europe/Berlin"},
    {"Central Europe Standard Time", "Europe/Budapest"},
    {"Central European Standard Time", "Europe/Warsaw"},
    {"Romance Standard Time", "Europe/Paris"},
    {"GMT Standard Time", "Europe/London"},
    {"Greenwich Standard Time", "Atlantic/Reykjavik"},
    {"E. Europe Standard Time", "Europe/Chisinau"},
    {"FLE Standard Time", "Europe/Kiev"},
    {"GTB Standard Time", "Europe/Bucharest"},
    {"Russian Standard Time", "Europe/Moscow"},
    {"Turkey Standard Time", "Europe/Istanbul"},
    {"Israel Standard Time", "Asia/Jerusalem"},
    {"South Africa Standard Time", "Africa/Johannesburg"},
    {"Egypt Standard Time", "Africa/Cairo"},
    {"Arabian Standard Time", "Asia/Dubai"},
    {"India Standard Time", "Asia/Kolkata"},
    {"China Standard Time", "Asia/Shanghai"},
    {"Singapore Standard Time", "Asia/Singapore"},
    {"Tokyo Standard Time", "Asia/Tokyo"},
    {"Korea Standard Time", "Asia/Seoul"},
    {"AUS Eastern Standard Time", "Australia/Sydney"},
    {"E. Australia Standard Time", "Australia/Brisbane"},
    {"W. Australia Standard Time", "Australia/Perth"},
    {"New Zealand Standard Time", "Pacific/Auckland"},
    {"Eastern Standard Time", "America/New_York"},
    {"Central Standard Time", "America/Chicago"},
    {"Mountain Standard Time", "America/Denver"},
    {"US Mountain Standard Time", "America/Phoenix"},
    {"Pacific Standard Time", "America/Los_Angeles"},
    {"Alaskan Standard Time", "America/Anchorage"},
    {"Hawaiian Standard Time", "Pacific/Honolulu"},
    {"Atlantic Standard Time", "America/Halifax"},
    {"Newfoundland Standard Time", "America/St_Johns"},
    {"Canada Central Standard Time", "America/Regina"},
    {"Mexico Standard Time", "America/Mexico_City"},
    {"Central Standard Time (Mexico)", "America/Mexico_City"},
    {"SA Pacific Standard Time", "America/Bogota"},
    {"E. South America Standard Time", "America/Sao_Paulo"},
    {"Argentina Standard Time", "America/Argentina/Buenos_Aires"},
    {"Pacific SA Standard Time", "America/Santiago"},
    {"UTC", "UTC"},
    {"Coordinated Universal Time", "UTC"},
    {"GMT", "UTC"},
    {"Morocco Standard Time", "Africa/Casablanca"},
}};

icaltimezone* BuiltinZone(const std::string& name) {
    if (name == "UTC" || name == "Etc/UTC" || name == "GMT" || name == "Z") {
        return icaltimezone_get_utc_timezone();
    }
    return icaltimezone_get_builtin_timezone(name.c_str());
}

// "/mozilla.org/20050126_1/Europe/Berlin" and "/freeassociation.sourceforge.net/Europe/Berlin"
// end in the zone's name: the last one or two segments.
icaltimezone* BuiltinZoneBehindPrefix(const std::string& tzid) {
    if (tzid.empty() || tzid.front() != '/') {
        return nullptr;
    }
    const std::size_t last = tzid.rfind('/');
    if (last == std::string::npos || last == 0) {
        return nullptr;
    }
    const std::size_t before = tzid.rfind('/', last - 1);
    if (before != std::string::npos) {
        if (icaltimezone* zone = BuiltinZone(tzid.substr(before + 1))) {
            return zone;
        }
    }
    return BuiltinZone(tzid.substr(last + 1));
}

long long DaysFromCivil(int year, int month, int day) {
    // Days since 1970-01-01 of a proleptic Gregorian date.
    year -= month <= 2 ? 1 : 0;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yoe = year - era * 400;
    const long long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

}  // namespace

ZoneHolder::ZoneHolder(icalcomponent* calendar) {
    if (calendar == nullptr) {
        return;
    }
    for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_VTIMEZONE_COMPONENT);
         c != nullptr; c = icalcomponent_get_next_component(calendar, ICAL_VTIMEZONE_COMPONENT)) {
        icalproperty* tzid = icalcomponent_get_first_property(c, ICAL_TZID_PROPERTY);
        const char* name = tzid ? icalproperty_get_tzid(tzid) : nullptr;
        if (name == nullptr || KnownZone(name) != nullptr) {
            continue;
        }
        icaltimezone* zone = icaltimezone_new();
        if (icaltimezone_set_component(zone, icalcomponent_new_clone(c)) == 0) {
            icaltimezone_free(zone, 1);
            continue;
        }
        zones_.emplace_back(name, zone);
    }
}

ZoneHolder::~ZoneHolder() {
    for (auto& [name, zone] : zones_) {
        icaltimezone_free(zone, 1);
    }
}

icaltimezone* ZoneHolder::FileZone(const std::string& tzid) const {
    for (const auto& [name, zone] : zones_) {
        if (name == tzid) {
            return zone;
        }
    }
    return nullptr;
}

std::optional<std::string> IanaNameForWindowsZone(const std::string& name) {
    for (const WindowsZone& zone : kWindowsZones) {
        if (name == zone.windows) {
            return std::string(zone.iana);
        }
    }
    return std::nullopt;
}

// A zone the system knows by the TZID's name is taken from the system: it is the same zone,
// shared by every file, and its transitions are worked out once instead of once per file.
icaltimezone* KnownZone(const std::string& tzid) {
    if (icaltimezone* builtin = BuiltinZone(tzid)) {
        return builtin;
    }
    if (icaltimezone* prefixed = BuiltinZoneBehindPrefix(tzid)) {
        return prefixed;
    }
    if (const std::optional<std::string> iana = IanaNameForWindowsZone(tzid)) {
        return BuiltinZone(*iana);
    }
    return nullptr;
}

icaltimezone* ResolveZone(const std::string& tzid, const ZoneHolder& zones) {
    if (icaltimezone* known = KnownZone(tzid)) {
        return known;
    }
    return zones.FileZone(tzid);
}

icaltimetype PropertyTime(icalproperty* property, icaltimetype value, const ZoneHolder& zones,
                          std::string* unknown_tzid) {
    if (value.is_date || icaltime_is_utc(value)) {
        return value;
    }
    icalparameter* parameter = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    const char* tzid = parameter ? icalparameter_get_tzid(parameter) : nullptr;
    if (tzid == nullptr) {
        value.zone = nullptr;
        return value;
    }
    icaltimezone* zone = ResolveZone(tzid, zones);
    if (zone == nullptr && unknown_tzid != nullptr) {
        *unknown_tzid = tzid;
    }
    value.zone = zone;
    return value;
}

DateTime LocalDateTimeOfUnix(long long seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) {
        throw std::invalid_argument("time out of range");
    }
    return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                          local.tm_min, local.tm_sec);
}

DateTime ToLocalDateTime(const icaltimetype& time) {
    if (time.year < 1 || time.year > 9999) {
        throw std::invalid_argument("year out of range");
    }
    if (time.is_date) {
        return EncodeDate(time.year, time.month, time.day);
    }
    if (time.zone == nullptr) {
        return EncodeDateTime(time.year, time.month, time.day, time.hour, time.minute, time.second);
    }
    return LocalDateTimeOfUnix(
        static_cast<long long>(icaltime_as_timet_with_zone(time, time.zone)));
}

long long InstantKey(const icaltimetype& time) {
    const long long days = DaysFromCivil(time.year, time.month, time.day);
    if (time.is_date) {
        return days * 86400;
    }
    if (time.zone == nullptr) {
        return days * 86400 + time.hour * 3600 + time.minute * 60 + time.second;
    }
    return static_cast<long long>(icaltime_as_timet_with_zone(time, time.zone));
}

}  // namespace planwarte
