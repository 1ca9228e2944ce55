#include "core/common/date_time.h"

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace planwarte {

namespace {

constexpr std::int64_t kMsPerDay = 24LL * 60 * 60 * 1000;
constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;

// Days since 1 January 1970 of a date in the proleptic Gregorian calendar (the civil-date
// algorithm of eras of 400 years, exact for every year of the supported range).
constexpr std::int64_t DaysSinceUnixEpoch(int year, int month, int day) {
    const int y = year - (month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int year_of_era = y - era * 400;
    const int day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return static_cast<std::int64_t>(era) * 146097 + day_of_era - 719468;
}

constexpr CalendarDate DateFromDaysSinceUnixEpoch(std::int64_t days) {
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int day_of_era = static_cast<int>(z - era * 146097);
    const int year_of_era =
        (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const int day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const int shifted_month = (5 * day_of_year + 2) / 153;  // 0 = March .. 11 = February
    const int day = day_of_year - (153 * shifted_month + 2) / 5 + 1;
    const int month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
    const int year = static_cast<int>(year_of_era + era * 400) + (month <= 2 ? 1 : 0);
    return CalendarDate{year, month, day};
}

// Day number 0 is 30 December 1899.
constexpr std::int64_t kEpochSinceUnixEpoch = DaysSinceUnixEpoch(1899, 12, 30);
constexpr std::int64_t kFirstDay = DaysSinceUnixEpoch(kFirstYear, 1, 1) - kEpochSinceUnixEpoch;
constexpr std::int64_t kLastDay = DaysSinceUnixEpoch(kLastYear, 12, 31) - kEpochSinceUnixEpoch;

struct SplitValue {
    std::int64_t day;          // day number, 0 = 30 December 1899
    std::int64_t millisecond;  // of that day, 0 .. kMsPerDay - 1
};

// Splits a value into its day and the time of day rounded to the millisecond. Before the
// epoch the fraction counts forward from the negative day, so -1.25 is 29 December 06:00.
// A time that rounds up to 24:00 belongs to the following day.
SplitValue Split(DateTime value) {
    // Checked before any conversion to an integer: a value far out of range would overflow.
    if (!std::isfinite(value.value) || value.value < static_cast<double>(kFirstDay - 1) ||
        value.value > static_cast<double>(kLastDay + 1)) {
        throw std::invalid_argument("date-time value out of range: " + std::to_string(value.value));
    }
    const double whole = std::trunc(value.value);
    const double fraction = std::fabs(value.value - whole);
    SplitValue split{static_cast<std::int64_t>(whole),
                     std::llround(fraction * static_cast<double>(kMsPerDay))};
    if (split.millisecond == kMsPerDay) {
        split.millisecond = 0;
        ++split.day;
    }
    if (split.day < kFirstDay || split.day > kLastDay) {
        throw std::invalid_argument("date-time value out of range: " + std::to_string(value.value));
    }
    return split;
}

}  // namespace

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        throw std::invalid_argument("month out of range: " + std::to_string(month));
    }
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

DateTime EncodeDate(int year, int month, int day) {
    if (year < kFirstYear || year > kLastYear || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month)) {
        throw std::invalid_argument("no such date: " + std::to_string(year) + "-" +
                                    std::to_string(month) + "-" + std::to_string(day));
    }
    return DateTime(
        static_cast<double>(DaysSinceUnixEpoch(year, month, day) - kEpochSinceUnixEpoch));
}

DateTime EncodeTime(int hour, int minute, int second, int millisecond) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        millisecond < 0 || millisecond > 999) {
        throw std::invalid_argument("no such time: " + std::to_string(hour) + ":" +
                                    std::to_string(minute) + ":" + std::to_string(second) + "." +
                                    std::to_string(millisecond));
    }
    const std::int64_t ms = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
    return DateTime(static_cast<double>(ms) / static_cast<double>(kMsPerDay));
}

DateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second) {
    const DateTime date = EncodeDate(year, month, day);
    const DateTime time = EncodeTime(hour, minute, second);
    // Before the epoch the time counts forward from the (negative) day, away from zero.
    return DateTime(date.value < 0 ? date.value - time.value : date.value + time.value);
}

CalendarDate DecodeDate(DateTime value) {
    return DateFromDaysSinceUnixEpoch(Split(value).day + kEpochSinceUnixEpoch);
}

TimeOfDay DecodeTime(DateTime value) {
    const std::int64_t ms = Split(value).millisecond;
    return TimeOfDay{static_cast<int>(ms / 3'600'000), static_cast<int>(ms / 60'000 % 60),
                     static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000)};
}

DateTime DateOf(DateTime value) {
    return DateTime(static_cast<double>(Split(value).day));
}

int DayOfWeek(DateTime value) {
    // Day 0 (30 December 1899) was a Saturday, day 1 a Sunday.
    const std::int64_t day = Split(value).day;
    return static_cast<int>(((day - 1) % 7 + 7) % 7) + 1;
}

}  // namespace planwarte
