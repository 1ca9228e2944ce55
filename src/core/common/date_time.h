#pragma once

#include <compare>
#include <cstdint>

namespace planwarte {

// A local date-time as the calendar object model counts it: days since 30 December 1899,
// the time of day as the fraction of a day. Weekdays are numbered 1 (Sunday) to 7 (Saturday).
struct DateTime {
    double value = 0.0;

    constexpr DateTime() = default;
    constexpr explicit DateTime(double days) : value(days) {}

    friend constexpr auto operator<=>(const DateTime&, const DateTime&) = default;
};

struct CalendarDate {
    int year = 1899;
    int month = 12;  // 1..12
    int day = 30;    // 1..31
    friend constexpr bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    friend constexpr bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);  // throws std::invalid_argument for a month outside 1..12

// Throws std::invalid_argument for a date or time that does not exist.
DateTime EncodeDate(int year, int month, int day);
DateTime EncodeTime(int hour, int minute, int second = 0, int millisecond = 0);
DateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second = 0);

// The date part of a value, also for values before the epoch (whose fraction counts
// forward from the negative day, as the object model stores them).
// The time is rounded to the millisecond; a time that rounds to 24:00 is midnight of the
// next day, for the date part as well. The decoders, DateOf and DayOfWeek throw
// std::invalid_argument for a value that is not finite or lies outside the years 1..9999.
CalendarDate DecodeDate(DateTime value);
TimeOfDay DecodeTime(DateTime value);

DateTime DateOf(DateTime value);  // midnight of the value's day
int DayOfWeek(DateTime value);    // 1 Sunday .. 7 Saturday

}  // namespace planwarte
