#include "core/common/date_time.h"

#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

namespace planwarte {
namespace {

TEST(DateTimeCalendar, LeapYearsFollowTheGregorianRules) {
    struct Case {
        int year;
        bool leap;
    };
    const std::vector<Case> cases = {{1900, false}, {2000, true}, {2004, true}, {2100, false},
                                     {2001, false}, {1600, true}, {1, false},   {9996, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.year);
        EXPECT_EQ(IsLeapYear(c.year), c.leap);
    }
}

TEST(DateTimeCalendar, DaysInMonth) {
    struct Case {
        int year;
        int month;
        int days;
    };
    const std::vector<Case> cases = {{2004, 2, 29}, {2005, 2, 28}, {1900, 2, 28}, {2000, 2, 29},
                                     {2004, 1, 31}, {2004, 4, 30}, {2004, 12, 31}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month);
        EXPECT_EQ(DaysInMonth(c.year, c.month), c.days);
    }
    EXPECT_THROW(DaysInMonth(2004, 0), std::invalid_argument);
    EXPECT_THROW(DaysInMonth(2004, 13), std::invalid_argument);
}

TEST(DateTimeEncode, KnownDayNumbers) {
    struct Case {
        int year;
        int month;
        int day;
        double value;
    };
    const std::vector<Case> cases = {
        {1899, 12, 30, 0.0},    {1899, 12, 31, 1.0},  {1900, 1, 1, 2.0},
        {1899, 12, 29, -1.0},   {1900, 3, 1, 61.0},   {2000, 1, 1, 36526.0},
        {2004, 12, 8, 38329.0}, {1, 1, 1, -693593.0}, {9999, 12, 31, 2958465.0},
        {1800, 1, 1, -36522.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day);
        EXPECT_EQ(EncodeDate(c.year, c.month, c.day).value, c.value);
        EXPECT_EQ(DecodeDate(DateTime(c.value)), (CalendarDate{c.year, c.month, c.day}));
    }
}

TEST(DateTimeEncode, RejectsDatesThatDoNotExist) {
    struct Case {
        int year;
        int month;
        int day;
    };
    const std::vector<Case> cases = {{2005, 2, 29}, {1900, 2, 29}, {2004, 2, 30}, {2004, 4, 31},
                                     {2004, 13, 1}, {2004, 0, 1},  {2004, 1, 0},  {2004, 1, -1},
                                     {0, 1, 1},     {10000, 1, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day);
        EXPECT_THROW(EncodeDate(c.year, c.month, c.day), std::invalid_argument);
    }
}

TEST(DateTimeEncode, RejectsTimesThatDoNotExist) {
    struct Case {
        int hour;
        int minute;
        int second;
        int millisecond;
    };
    const std::vector<Case> cases = {{24, 0, 0, 0},   {0, 60, 0, 0}, {0, 0, 60, 0},
                                     {0, 0, 0, 1000}, {-1, 0, 0, 0}, {0, 0, 0, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.hour << ":" << c.minute << ":" << c.second << "." << c.millisecond);
        EXPECT_THROW(EncodeTime(c.hour, c.minute, c.second, c.millisecond), std::invalid_argument);
    }
    EXPECT_THROW(EncodeDateTime(2004, 2, 30, 12, 0), std::invalid_argument);
    EXPECT_THROW(EncodeDateTime(2004, 2, 3, 12, 60), std::invalid_argument);
}

TEST(DateTimeEncode, TimesAreFractionsOfADay) {
    EXPECT_EQ(EncodeTime(12, 0).value, 0.5);
    EXPECT_EQ(EncodeTime(6, 0).value, 0.25);
    EXPECT_EQ(EncodeTime(0, 0).value, 0.0);
    EXPECT_DOUBLE_EQ(EncodeTime(23, 59, 59, 999).value, 86'399'999.0 / 86'400'000.0);
    EXPECT_EQ(EncodeDateTime(2004, 12, 8, 18, 0).value, 38329.75);
}

TEST(DateTimeEncode, TimeBeforeTheEpochCountsForwardFromTheNegativeDay) {
    EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0).value, -1.25);
    EXPECT_EQ(EncodeDateTime(1899, 12, 30, 6, 0).value, 0.25);
    EXPECT_EQ(EncodeDateTime(1899, 12, 28, 18, 0).value, -2.75);
}

// Walks every day of the supported range: each day number must decode to the calendar
// successor of the day before, and encode back to itself.
TEST(DateTimeRoundTrip, EveryDayDecodesToTheNextCalendarDayAndBack) {
    const double first = EncodeDate(1, 1, 1).value;
    const double last = EncodeDate(9999, 12, 31).value;
    CalendarDate previous = DecodeDate(DateTime(first));
    ASSERT_EQ(previous, (CalendarDate{1, 1, 1}));
    for (double day = first + 1; day <= last; ++day) {
        const CalendarDate date = DecodeDate(DateTime(day));
        CalendarDate expected = previous;
        if (++expected.day > DaysInMonth(expected.year, expected.month)) {
            expected.day = 1;
            if (++expected.month > 12) {
                expected.month = 1;
                ++expected.year;
            }
        }
        ASSERT_EQ(date, expected) << "day number " << day;
        ASSERT_EQ(EncodeDate(date.year, date.month, date.day).value, day);
        previous = date;
    }
    EXPECT_EQ(previous, (CalendarDate{9999, 12, 31}));
}

TEST(DateTimeRoundTrip, EveryMinuteOfADayOnBothSidesOfTheEpoch) {
    const std::vector<CalendarDate> dates = {{2004, 12, 8}, {1899, 12, 30}, {1899, 12, 29},
                                             {1700, 3, 1},  {9999, 12, 31}, {1, 1, 1}};
    for (const CalendarDate& date : dates) {
        SCOPED_TRACE(testing::Message() << date.year << "-" << date.month << "-" << date.day);
        for (int minute_of_day = 0; minute_of_day < 24 * 60; ++minute_of_day) {
            const int hour = minute_of_day / 60;
            const int minute = minute_of_day % 60;
            const DateTime value =
                EncodeDateTime(date.year, date.month, date.day, hour, minute, minute % 60);
            ASSERT_EQ(DecodeDate(value), date) << hour << ":" << minute;
            ASSERT_EQ(DecodeTime(value), (TimeOfDay{hour, minute, minute % 60, 0}));
        }
    }
}

TEST(DateTimeDecode, TimeIsRoundedToTheMillisecond) {
    struct Case {
        double value;
        CalendarDate date;
        TimeOfDay time;
    };
    const double ms = 1.0 / 86'400'000.0;
    const std::vector<Case> cases = {
        {0.5, {1899, 12, 30}, {12, 0, 0, 0}},
        {38329.0 + EncodeTime(9, 5, 3, 7).value, {2004, 12, 8}, {9, 5, 3, 7}},
        {38329.0 + 0.4 * ms, {2004, 12, 8}, {0, 0, 0, 0}},
        {38329.0 + 0.6 * ms, {2004, 12, 8}, {0, 0, 0, 1}},
        {38329.0 + 1.0 - ms, {2004, 12, 8}, {23, 59, 59, 999}},
        // Less than half a millisecond before midnight is midnight of the next day.
        {38329.0 + 1.0 - 0.4 * ms, {2004, 12, 9}, {0, 0, 0, 0}},
        {-1.0 - (1.0 - 0.4 * ms), {1899, 12, 30}, {0, 0, 0, 0}},
        {0.99999999999, {1899, 12, 31}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hexfloat << c.value);
        EXPECT_EQ(DecodeDate(DateTime(c.value)), c.date);
        EXPECT_EQ(DecodeTime(DateTime(c.value)), c.time);
    }
}

TEST(DateTimeDecode, NegativeValuesCountTheFractionForward) {
    struct Case {
        double value;
        CalendarDate date;
        TimeOfDay time;
        double date_of;
        int weekday;
    };
    const std::vector<Case> cases = {
        {-1.25, {1899, 12, 29}, {6, 0, 0, 0}, -1.0, 6},
        {-1.75, {1899, 12, 29}, {18, 0, 0, 0}, -1.0, 6},
        {-2.0, {1899, 12, 28}, {0, 0, 0, 0}, -2.0, 5},
        // Between -1 and 0 the day is the epoch's own day.
        {-0.5, {1899, 12, 30}, {12, 0, 0, 0}, 0.0, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(DecodeDate(DateTime(c.value)), c.date);
        EXPECT_EQ(DecodeTime(DateTime(c.value)), c.time);
        EXPECT_EQ(DateOf(DateTime(c.value)).value, c.date_of);
        EXPECT_EQ(DayOfWeek(DateTime(c.value)), c.weekday);
    }
}

TEST(DateTimeDecode, DateOfCutsTheTime) {
    EXPECT_EQ(DateOf(DateTime(38329.75)).value, 38329.0);
    EXPECT_EQ(DateOf(DateTime(38329.0)).value, 38329.0);
    EXPECT_EQ(DateOf(DateTime(38329.99999999999)).value, 38330.0);
}

TEST(DateTimeDecode, DayOfWeekOfKnownDates) {
    struct Case {
        CalendarDate date;
        int weekday;  // 1 Sunday .. 7 Saturday
    };
    const std::vector<Case> cases = {
        {{2004, 12, 8}, 4},  {{1899, 12, 30}, 7}, {{1899, 12, 31}, 1}, {{1899, 12, 29}, 6},
        {{2000, 1, 1}, 7},   {{2004, 12, 5}, 1},  {{2004, 12, 11}, 7}, {{1, 1, 1}, 2},
        {{9999, 12, 31}, 6}, {{1800, 1, 1}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.date.year << "-" << c.date.month << "-" << c.date.day);
        const DateTime date = EncodeDate(c.date.year, c.date.month, c.date.day);
        EXPECT_EQ(DayOfWeek(date), c.weekday);
        EXPECT_EQ(DayOfWeek(DateTime(date.value + (date.value < 0 ? -0.9 : 0.9))), c.weekday);
    }
}

TEST(DateTimeDecode, ValuesOutsideTheSupportedYearsAreRejected) {
    const std::vector<double> values = {std::numeric_limits<double>::quiet_NaN(),
                                        std::numeric_limits<double>::infinity(),
                                        -std::numeric_limits<double>::infinity(),
                                        1e300,
                                        -1e300,
                                        EncodeDate(9999, 12, 31).value + 1.0,
                                        EncodeDate(1, 1, 1).value - 1.0};
    for (double value : values) {
        SCOPED_TRACE(value);
        EXPECT_THROW(DecodeDate(DateTime(value)), std::invalid_argument);
        EXPECT_THROW(DecodeTime(DateTime(value)), std::invalid_argument);
        EXPECT_THROW(DateOf(DateTime(value)), std::invalid_argument);
        EXPECT_THROW(DayOfWeek(DateTime(value)), std::invalid_argument);
    }
    // The last moment of the range and the first are still dates.
    EXPECT_EQ(
        DecodeDate(DateTime(EncodeDate(9999, 12, 31).value + EncodeTime(23, 59, 59, 999).value)),
        (CalendarDate{9999, 12, 31}));
    EXPECT_EQ(DecodeTime(DateTime(EncodeDate(1, 1, 1).value - EncodeTime(23, 59).value)),
              (TimeOfDay{23, 59, 0, 0}));
}

}  // namespace
}  // namespace planwarte
