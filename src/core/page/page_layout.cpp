#include "core/page/page_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

#include "core/common/format_date_time.h"

namespace planwarte {

namespace {

constexpr int kSunday = 1;
constexpr int kSaturday = 7;
constexpr int kDaysPerWeek = 7;
// The month grid's sixth row starts at this offset.
constexpr int kSixthRowOffset = 35;

// A value as its midnight and its time of day. Before the epoch the time counts forward from
// the negative day, so plain addition of days would run the time the wrong way across the
// epoch; the arithmetic below works on the day and puts the time back afterwards.
struct DayAndTime {
    double day;
    double time;
};

DayAndTime SplitDay(DateTime value) {
    const double day = DateOf(value).value;  // also rejects values outside the calendar
    const double whole = std::trunc(value.value);
    // A time that rounds up to 24:00 already counts as the next day's midnight.
    const double time = day == whole ? std::fabs(value.value - whole) : 0.0;
    return {day, time};
}

DateTime JoinDay(double day, double time) {
    const DateTime joined(day < 0 ? day - time : day + time);
    DateOf(joined);  // a result beyond the calendar is an error, not a silent value
    return joined;
}

DateTime AddDays(DateTime value, std::int64_t days) {
    const DayAndTime split = SplitDay(value);
    return JoinDay(split.day + static_cast<double>(days), split.time);
}

bool IsFirstOfMonth(DateTime value) {
    return DecodeDate(value).day == 1;
}

}  // namespace

int FirstWeekdayFromSetting(std::int32_t first_day_of_week) {
    // Values below -1 would give no weekday at all; they count as Monday. Everything from 6 on
    // (Sunday and beyond the list) wraps to Sunday, as does -1.
    if (first_day_of_week < -1) {
        first_day_of_week = 0;
    }
    if (first_day_of_week > kSaturday - 2) {
        return kSunday;
    }
    return first_day_of_week + 2;
}

DateTime MoveBackToWeekday(DateTime day, int first_weekday) {
    if (first_weekday < kSunday || first_weekday > kSaturday) {
        throw std::invalid_argument("no such weekday: " + std::to_string(first_weekday));
    }
    const int days_back = (DayOfWeek(day) - first_weekday + kDaysPerWeek) % kDaysPerWeek;
    return AddDays(day, -days_back);
}

DateTime AddMonths(DateTime value, int months) {
    const CalendarDate date = DecodeDate(value);
    const std::int64_t month_index = static_cast<std::int64_t>(date.year) * 12 + date.month - 1 +
                                     static_cast<std::int64_t>(months);
    constexpr std::int64_t kMonthsPerYear = 12;
    // Years 1 to 9999, as the date type knows them.
    if (month_index < 1 * kMonthsPerYear || month_index >= 10000 * kMonthsPerYear) {
        throw std::invalid_argument("month step leaves the calendar: " + std::to_string(months));
    }
    const int target_year = static_cast<int>(month_index / 12);
    const int month = static_cast<int>(month_index % 12) + 1;
    const int day = std::min(date.day, DaysInMonth(target_year, month));
    return JoinDay(EncodeDate(target_year, month, day).value, SplitDay(value).time);
}

ViewLayout LayoutView(int view_kind, DateTime build_date, int first_weekday) {
    const CalendarDate date = DecodeDate(build_date);
    ViewLayout layout;
    layout.displayed_month = date.month;
    switch (view_kind) {
        case static_cast<int>(ViewKind::kWeek):
            layout.first_shown_day = MoveBackToWeekday(build_date, first_weekday);
            layout.body = BodySlot::kWoche;
            return layout;
        case static_cast<int>(ViewKind::kXDays):
            layout.first_shown_day = build_date;
            layout.body = BodySlot::kXTage;
            return layout;
        case static_cast<int>(ViewKind::kToday):
            layout.first_shown_day = build_date;
            layout.body = BodySlot::kHeute;
            return layout;
        case static_cast<int>(ViewKind::kTwoWeeks):
            layout.first_shown_day = MoveBackToWeekday(build_date, first_weekday);
            layout.body = BodySlot::kZweiWochen;
            return layout;
        case static_cast<int>(ViewKind::kThreeWeeks):
            layout.first_shown_day = MoveBackToWeekday(build_date, first_weekday);
            layout.body = BodySlot::kDreiWochen;
            return layout;
        default:
            // The month view has its own producer rather than a body; unknown kinds share its
            // dates and, having no body template, show an empty page.
            layout.first_shown_day =
                MoveBackToWeekday(EncodeDate(date.year, date.month, 1), first_weekday);
            layout.body = BodySlot::kNone;
            return layout;
    }
}

bool MonthGrid::CellShown(DateTime first_shown_day, int displayed_month, int offset,
                          bool show_full_weeks) {
    if (offset == -1) {
        return false;
    }
    // Month numbers only: the year is deliberately not part of the comparison.
    const int month = DecodeDate(AddDays(first_shown_day, offset)).month;
    if (month != displayed_month && !show_full_weeks) {
        return false;
    }
    if (displayed_month <= month && offset < kSixthRowOffset) {
        row_mark_ = true;
        return true;
    }
    if (displayed_month < month && row_mark_) {
        return false;
    }
    row_mark_ = false;
    return true;
}

XDaysRun XDaysRunFor(bool key_opened, std::optional<int> x_days, std::optional<int> days_back) {
    const std::int64_t days = key_opened ? x_days.value_or(5) : 6;
    const std::int64_t back = key_opened ? days_back.value_or(0) : 0;
    // Day offsets are 16-bit; a run reaching past that range keeps only the days it can
    // name, instead of wrapping round to wrong dates.
    const std::int64_t first =
        std::max<std::int64_t>(-back, std::numeric_limits<std::int16_t>::min());
    const std::int64_t last =
        std::min<std::int64_t>(days - 1, std::numeric_limits<std::int16_t>::max());
    if (last < first) {
        return XDaysRun{};
    }
    return XDaysRun{static_cast<int>(first), static_cast<int>(last)};
}

int WeekNumber(DateTime value) {
    // Works on the day number: the time of day must not shift the division below, which
    // it would for values before the epoch, where the time counts away from zero.
    const std::int64_t day = static_cast<std::int64_t>(DateOf(value).value);
    const int weekday = DayOfWeek(value);
    const int to_sunday = (8 - weekday) % kDaysPerWeek;
    const DateTime thursday(static_cast<double>(day + to_sunday - 3));
    const DateTime new_year = EncodeDate(DecodeDate(thursday).year, 1, 1);
    const std::int64_t new_year_day = static_cast<std::int64_t>(new_year.value);
    // The day is never before the Monday of week 1 of the Thursday's year, so the
    // dividend is not negative and the division truncates like a floor.
    const std::int64_t days_since_week_one =
        day - new_year_day - 3 + (DayOfWeek(new_year) + 1) % kDaysPerWeek;
    return static_cast<int>(days_since_week_one / kDaysPerWeek) + 1;
}

DateTime StepForwardDay(int view_kind, DateTime first_shown_day, int x_days) {
    switch (view_kind) {
        case static_cast<int>(ViewKind::kWeek):
            return AddDays(first_shown_day, 7);
        case static_cast<int>(ViewKind::kTwoWeeks):
            return AddDays(first_shown_day, 14);
        case static_cast<int>(ViewKind::kThreeWeeks):
            return AddDays(first_shown_day, 21);
        case static_cast<int>(ViewKind::kXDays):
        case static_cast<int>(ViewKind::kToday):
            return AddDays(first_shown_day, x_days);
        default:
            // A month page usually starts in the previous month's last week; two months on
            // from there is a day of the next month.
            return AddMonths(first_shown_day, IsFirstOfMonth(first_shown_day) ? 1 : 2);
    }
}

DateTime StepBackDay(int view_kind, DateTime first_shown_day, int x_days) {
    switch (view_kind) {
        case static_cast<int>(ViewKind::kWeek):
            return AddDays(first_shown_day, -7);
        case static_cast<int>(ViewKind::kTwoWeeks):
            return AddDays(first_shown_day, -14);
        case static_cast<int>(ViewKind::kThreeWeeks):
            return AddDays(first_shown_day, -21);
        case static_cast<int>(ViewKind::kXDays):
        case static_cast<int>(ViewKind::kToday):
            return AddDays(first_shown_day, -static_cast<std::int64_t>(x_days));
        default:
            // A first shown day before the 1st already lies in the previous month.
            return IsFirstOfMonth(first_shown_day) ? AddMonths(first_shown_day, -1)
                                                   : first_shown_day;
    }
}

bool IsSameDay(DateTime day, DateTime now, const FormatSettings& settings) {
    return FormatDateTime("ddddd", day, settings) == FormatDateTime("ddddd", now, settings);
}

bool IsWeekend(DateTime day) {
    const int weekday = DayOfWeek(day);
    return weekday == kSunday || weekday == kSaturday;
}

}  // namespace planwarte
