#include "core/page/page_layout.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/common/date_time.h"
#include "core/common/format_date_time.h"

namespace planwarte {
namespace {

constexpr int kSunday = 1;
constexpr int kMonday = 2;
constexpr int kSaturday = 7;

DateTime Day(int year, int month, int day) {
    return EncodeDate(year, month, day);
}

DateTime At(int year, int month, int day, int hour, int minute) {
    return EncodeDateTime(year, month, day, hour, minute);
}

std::string Text(DateTime value) {
    return FormatDateTime("yyyy-mm-dd hh:nn", value);
}

// Compares as text so that a failure names the dates.
void ExpectSameDateTime(DateTime actual, DateTime expected) {
    EXPECT_EQ(Text(actual), Text(expected));
    EXPECT_DOUBLE_EQ(actual.value, expected.value);
}

TEST(FirstWeekday, FromTheStoredFirstDayOfWeek) {
    struct Case {
        std::int32_t setting;
        int weekday;
    };
    const std::vector<Case> cases = {
        {0, kMonday},
        {1, 3},
        {4, 6},
        {5, kSaturday},
        {6, kSunday},
        {7, kSunday},
        {100, kSunday},
        {std::numeric_limits<std::int32_t>::max(), kSunday},
        {-1, kSunday},
        {-2, kMonday},
        {std::numeric_limits<std::int32_t>::min(), kMonday},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting);
        EXPECT_EQ(FirstWeekdayFromSetting(c.setting), c.weekday);
    }
}

TEST(MoveBackToWeekday, StepsBackToTheFirstDayOfTheWeek) {
    struct Case {
        DateTime day;
        int first_weekday;
        DateTime expected;
    };
    const std::vector<Case> cases = {
        {Day(2004, 12, 8), kMonday, Day(2004, 12, 6)},
        {Day(2004, 12, 6), kMonday, Day(2004, 12, 6)},
        {Day(2004, 12, 5), kMonday, Day(2004, 11, 29)},
        {Day(2004, 12, 8), kSunday, Day(2004, 12, 5)},
        {Day(2004, 12, 8), kSaturday, Day(2004, 12, 4)},
        {Day(2004, 12, 3), kSaturday, Day(2004, 11, 27)},
        {At(2004, 12, 8, 10, 30), kMonday, At(2004, 12, 6, 10, 30)},
        // Across the epoch the time of day still stays the same.
        {At(1899, 12, 31, 6, 0), kSaturday, At(1899, 12, 30, 6, 0)},
        {At(1899, 12, 31, 6, 0), 6, At(1899, 12, 29, 6, 0)},
        {At(1900, 1, 2, 18, 0), kMonday, At(1900, 1, 1, 18, 0)},
        {At(1899, 12, 28, 18, 0), kSunday, At(1899, 12, 24, 18, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Text(c.day) + " to weekday " + std::to_string(c.first_weekday));
        ExpectSameDateTime(MoveBackToWeekday(c.day, c.first_weekday), c.expected);
    }
}

TEST(MoveBackToWeekday, RejectsANumberThatIsNoWeekday) {
    for (int weekday : {0, 8, -1}) {
        SCOPED_TRACE(weekday);
        EXPECT_THROW(MoveBackToWeekday(Day(2004, 12, 8), weekday), std::invalid_argument);
    }
}

TEST(AddMonths, KeepsTheDayClampedAndTheTime) {
    struct Case {
        DateTime value;
        int months;
        DateTime expected;
    };
    const std::vector<Case> cases = {
        {Day(2004, 1, 31), 1, Day(2004, 2, 29)},
        {Day(2005, 1, 31), 1, Day(2005, 2, 28)},
        {Day(2004, 3, 31), -1, Day(2004, 2, 29)},
        {Day(2004, 12, 31), 2, Day(2005, 2, 28)},
        {Day(2004, 12, 15), 1, Day(2005, 1, 15)},
        {Day(2005, 1, 15), -1, Day(2004, 12, 15)},
        {Day(2004, 5, 31), 12, Day(2005, 5, 31)},
        {Day(2004, 2, 29), -25, Day(2002, 1, 29)},
        {Day(2004, 3, 1), 0, Day(2004, 3, 1)},
        {At(2004, 11, 30, 10, 30), 2, At(2005, 1, 30, 10, 30)},
        {At(1899, 12, 29, 6, 0), 1, At(1900, 1, 29, 6, 0)},
        {At(1900, 1, 29, 6, 0), -1, At(1899, 12, 29, 6, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Text(c.value) + " + " + std::to_string(c.months) + " months");
        ExpectSameDateTime(AddMonths(c.value, c.months), c.expected);
    }
}

TEST(AddMonths, RejectsAResultOutsideTheCalendar) {
    EXPECT_THROW(AddMonths(Day(9999, 12, 1), 1), std::invalid_argument);
    EXPECT_THROW(AddMonths(Day(1, 1, 31), -1), std::invalid_argument);
    EXPECT_THROW(AddMonths(Day(2004, 1, 1), std::numeric_limits<int>::min()),
                 std::invalid_argument);
    EXPECT_THROW(AddMonths(Day(2004, 1, 1), std::numeric_limits<int>::max()),
                 std::invalid_argument);
}

TEST(LayoutView, StartDayMonthAndBodyOfEachView) {
    struct Case {
        std::string name;
        int view_kind;
        DateTime build_date;
        int first_weekday;
        DateTime first_shown_day;
        int displayed_month;
        BodySlot body;
    };
    const DateTime wednesday = At(2004, 12, 8, 10, 30);
    const std::vector<Case> cases = {
        {"month, the 1st is a Monday", 0, Day(2004, 3, 15), kMonday, Day(2004, 3, 1), 3,
         BodySlot::kNone},
        {"month after a step forward", 0, Day(2004, 4, 1), kMonday, Day(2004, 3, 29), 4,
         BodySlot::kNone},
        {"month drops the time", 0, wednesday, kMonday, Day(2004, 11, 29), 12, BodySlot::kNone},
        {"month starting in the old year", 0, Day(2005, 1, 29), kMonday, Day(2004, 12, 27), 1,
         BodySlot::kNone},
        {"month, Sunday first", 0, Day(2009, 2, 20), kSunday, Day(2009, 2, 1), 2, BodySlot::kNone},
        {"week", 1, wednesday, kMonday, At(2004, 12, 6, 10, 30), 12, BodySlot::kWoche},
        {"week, Sunday first", 1, wednesday, kSunday, At(2004, 12, 5, 10, 30), 12,
         BodySlot::kWoche},
        {"week into the previous month", 1, Day(2004, 12, 2), kMonday, Day(2004, 11, 29), 12,
         BodySlot::kWoche},
        {"x days", 2, wednesday, kMonday, wednesday, 12, BodySlot::kXTage},
        {"today", 3, wednesday, kMonday, wednesday, 12, BodySlot::kHeute},
        {"two weeks", 4, wednesday, kMonday, At(2004, 12, 6, 10, 30), 12, BodySlot::kZweiWochen},
        {"three weeks", 5, wednesday, kSaturday, At(2004, 12, 4, 10, 30), 12,
         BodySlot::kDreiWochen},
        {"kind 6 lays out as the month", 6, wednesday, kMonday, Day(2004, 11, 29), 12,
         BodySlot::kNone},
        {"kind -1 lays out as the month", -1, wednesday, kMonday, Day(2004, 11, 29), 12,
         BodySlot::kNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ViewLayout layout = LayoutView(c.view_kind, c.build_date, c.first_weekday);
        ExpectSameDateTime(layout.first_shown_day, c.first_shown_day);
        EXPECT_EQ(layout.displayed_month, c.displayed_month);
        EXPECT_EQ(layout.body, c.body);
    }
}

TEST(LayoutView, WeekStartsOnTheConfiguredFirstDayOfWeek) {
    struct Case {
        std::int32_t first_day_of_week;
        DateTime first_shown_day;
        std::string first_day_name;
    };
    // Built for Wednesday 8 December 2004.
    const std::vector<Case> cases = {
        {0, Day(2004, 12, 6), "Montag"},   {6, Day(2004, 12, 5), "Sonntag"},
        {5, Day(2004, 12, 4), "Samstag"},  {7, Day(2004, 12, 5), "Sonntag"},
        {-1, Day(2004, 12, 5), "Sonntag"}, {-2, Day(2004, 12, 6), "Montag"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first_day_of_week);
        const ViewLayout layout =
            LayoutView(1, Day(2004, 12, 8), FirstWeekdayFromSetting(c.first_day_of_week));
        ExpectSameDateTime(layout.first_shown_day, c.first_shown_day);
        EXPECT_EQ(FormatDateTime("dddd", layout.first_shown_day), c.first_day_name);
    }
}

TEST(ViewNavigation, StepsOfEachView) {
    struct Case {
        std::string name;
        int view_kind;
        DateTime first_shown_day;
        int x_days;
        DateTime forward;
        DateTime back;
    };
    const DateTime monday = At(2004, 12, 6, 10, 30);
    const std::vector<Case> cases = {
        {"month from the 1st", 0, Day(2004, 3, 1), 5, Day(2004, 4, 1), Day(2004, 2, 1)},
        {"month from the previous month", 0, Day(2004, 11, 29), 5, Day(2005, 1, 29),
         Day(2004, 11, 29)},
        {"month from the last day of a year", 0, Day(2007, 12, 31), 5, Day(2008, 2, 29),
         Day(2007, 12, 31)},
        {"month from 1 January", 0, Day(2007, 1, 1), 5, Day(2007, 2, 1), Day(2006, 12, 1)},
        {"unknown kind steps as the month", 9, Day(2004, 3, 1), 5, Day(2004, 4, 1),
         Day(2004, 2, 1)},
        {"week", 1, monday, 5, At(2004, 12, 13, 10, 30), At(2004, 11, 29, 10, 30)},
        {"two weeks", 4, monday, 5, At(2004, 12, 20, 10, 30), At(2004, 11, 22, 10, 30)},
        {"three weeks", 5, monday, 5, At(2004, 12, 27, 10, 30), At(2004, 11, 15, 10, 30)},
        {"x days", 2, monday, 5, At(2004, 12, 11, 10, 30), At(2004, 12, 1, 10, 30)},
        {"today view, key not opened", 3, monday, 1, At(2004, 12, 7, 10, 30),
         At(2004, 12, 5, 10, 30)},
        {"x days, negative count", 2, monday, -3, At(2004, 12, 3, 10, 30), At(2004, 12, 9, 10, 30)},
        {"week across the epoch", 1, At(1900, 1, 1, 6, 0), 5, At(1900, 1, 8, 6, 0),
         At(1899, 12, 25, 6, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectSameDateTime(StepForwardDay(c.view_kind, c.first_shown_day, c.x_days), c.forward);
        ExpectSameDateTime(StepBackDay(c.view_kind, c.first_shown_day, c.x_days), c.back);
    }
}

TEST(ViewNavigation, StepPastTheCalendarIsAnError) {
    EXPECT_THROW(StepForwardDay(2, Day(9999, 12, 30), 5), std::invalid_argument);
    EXPECT_THROW(StepBackDay(2, Day(2004, 1, 1), std::numeric_limits<int>::min()),
                 std::invalid_argument);
    EXPECT_THROW(StepForwardDay(0, Day(9999, 12, 1), 5), std::invalid_argument);
}

TEST(ViewNavigation, MonthButtonsAfterABuild) {
    // 15 March 2004, Monday first: the page starts on the 1st; forward shows April.
    ViewLayout march = LayoutView(0, Day(2004, 3, 15), kMonday);
    ExpectSameDateTime(march.first_shown_day, Day(2004, 3, 1));
    const DateTime april_build = StepForwardDay(0, march.first_shown_day, 5);
    ExpectSameDateTime(april_build, Day(2004, 4, 1));
    const ViewLayout april = LayoutView(0, april_build, kMonday);
    EXPECT_EQ(april.displayed_month, 4);
    ExpectSameDateTime(april.first_shown_day, Day(2004, 3, 29));

    // December 2004 starts in November; forward lands in January, back returns to December.
    const ViewLayout december = LayoutView(0, Day(2004, 12, 8), kMonday);
    ExpectSameDateTime(december.first_shown_day, Day(2004, 11, 29));
    const ViewLayout january =
        LayoutView(0, StepForwardDay(0, december.first_shown_day, 5), kMonday);
    EXPECT_EQ(january.displayed_month, 1);
    ExpectSameDateTime(january.first_shown_day, Day(2004, 12, 27));
    const ViewLayout back = LayoutView(0, StepBackDay(0, january.first_shown_day, 5), kMonday);
    EXPECT_EQ(back.displayed_month, 12);
    ExpectSameDateTime(back.first_shown_day, Day(2004, 11, 29));
}

TEST(ViewNavigation, MonthButtonsAlwaysReachTheNeighbouringMonth) {
    for (int first_weekday = kSunday; first_weekday <= kSaturday; ++first_weekday) {
        for (int year = 2000; year <= 2012; ++year) {
            for (int month = 1; month <= 12; ++month) {
                SCOPED_TRACE(testing::Message()
                             << year << "-" << month << " weekday " << first_weekday);
                const ViewLayout shown = LayoutView(0, Day(year, month, 15), first_weekday);
                const ViewLayout next =
                    LayoutView(0, StepForwardDay(0, shown.first_shown_day, 5), first_weekday);
                const ViewLayout previous =
                    LayoutView(0, StepBackDay(0, shown.first_shown_day, 5), first_weekday);
                EXPECT_EQ(next.displayed_month, month % 12 + 1);
                EXPECT_EQ(previous.displayed_month, (month + 10) % 12 + 1);
                EXPECT_EQ(DecodeDate(DateTime(shown.first_shown_day.value + 7)).month, month);
            }
        }
    }
}

TEST(ViewNavigation, WeekViewsStayAlignedAfterAStep) {
    for (int view_kind : {1, 4, 5}) {
        for (int first_weekday = kSunday; first_weekday <= kSaturday; ++first_weekday) {
            SCOPED_TRACE(testing::Message()
                         << "view " << view_kind << " weekday " << first_weekday);
            const ViewLayout shown = LayoutView(view_kind, At(2004, 12, 8, 9, 0), first_weekday);
            const DateTime forward = StepForwardDay(view_kind, shown.first_shown_day, 5);
            const DateTime back = StepBackDay(view_kind, shown.first_shown_day, 5);
            ExpectSameDateTime(LayoutView(view_kind, forward, first_weekday).first_shown_day,
                               forward);
            ExpectSameDateTime(LayoutView(view_kind, back, first_weekday).first_shown_day, back);
        }
    }
}

std::vector<int> Offsets(int first, int last) {
    std::vector<int> offsets;
    for (int n = first; n <= last; ++n) {
        offsets.push_back(n);
    }
    return offsets;
}

// Expands the whole grid in ascending order, as a month template does.
std::vector<int> ShownOffsets(MonthGrid& grid, const ViewLayout& layout, bool full_weeks) {
    std::vector<int> shown;
    for (int n = 0; n <= 41; ++n) {
        if (grid.CellShown(layout.first_shown_day, layout.displayed_month, n, full_weeks)) {
            shown.push_back(n);
        }
    }
    return shown;
}

TEST(MonthGrid, CellsOfAWholeGrid) {
    struct Case {
        std::string name;
        DateTime build_date;
        int first_weekday;
        bool full_weeks;
        std::vector<int> shown;
    };
    const std::vector<Case> cases = {
        // 1 February 2010 is a Monday and the month has exactly four weeks.
        {"February 2010", Day(2010, 2, 10), kMonday, false, Offsets(0, 27)},
        {"February 2010, full weeks: March up to offset 34", Day(2010, 2, 10), kMonday, true,
         Offsets(0, 34)},
        {"February 2009, Sunday first", Day(2009, 2, 10), kSunday, true, Offsets(0, 34)},
        // Starts on 28 December 2009.
        {"January 2010", Day(2010, 1, 10), kMonday, false, Offsets(4, 34)},
        {"January 2010, full weeks: no February row", Day(2010, 1, 10), kMonday, true,
         Offsets(0, 34)},
        // Starts on 26 April 2010; offset 35 is 31 May.
        {"May 2010: sixth row for the 31st only", Day(2010, 5, 10), kMonday, false, Offsets(5, 35)},
        {"May 2010, full weeks: sixth row filled with June", Day(2010, 5, 10), kMonday, true,
         Offsets(0, 41)},
        // Starts on 29 November 2004; offset 35 is 3 January 2005.
        {"December 2004", Day(2004, 12, 10), kMonday, false, Offsets(2, 32)},
        {"December 2004, full weeks: a sixth row of January days", Day(2004, 12, 10), kMonday, true,
         Offsets(0, 41)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MonthGrid grid;
        EXPECT_EQ(ShownOffsets(grid, LayoutView(0, c.build_date, c.first_weekday), c.full_weeks),
                  c.shown);
    }
}

TEST(MonthGrid, NoDateOffsetGivesNoDayAndLeavesTheRowMark) {
    const ViewLayout february = LayoutView(0, Day(2010, 2, 10), kMonday);
    for (bool full_weeks : {false, true}) {
        SCOPED_TRACE(full_weeks);
        MonthGrid grid;
        EXPECT_FALSE(grid.CellShown(february.first_shown_day, 2, -1, full_weeks));
        EXPECT_FALSE(grid.RowMark());
        ASSERT_TRUE(grid.CellShown(february.first_shown_day, 2, 3, full_weeks));
        EXPECT_FALSE(grid.CellShown(february.first_shown_day, 2, -1, full_weeks));
        EXPECT_TRUE(grid.RowMark());
    }
}

TEST(MonthGrid, RowMarkIsCarriedIntoTheNextBuild) {
    // A template that asks for offset 35 alone: February 2010's offset 35 lies in March, so
    // the cell depends only on the mark left by whatever was built before.
    struct Case {
        std::string name;
        std::optional<DateTime> earlier_build;
        bool mark_after_earlier;
        bool shown;
    };
    const std::vector<Case> cases = {
        {"first build of the program", std::nullopt, false, true},
        {"after February 2010, which ends with the mark set", Day(2010, 2, 10), true, false},
        {"after December 2004, which ends with the mark cleared", Day(2004, 12, 10), false, true},
    };
    const ViewLayout february = LayoutView(0, Day(2010, 2, 10), kMonday);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MonthGrid grid;
        if (c.earlier_build) {
            ShownOffsets(grid, LayoutView(0, *c.earlier_build, kMonday), true);
        }
        EXPECT_EQ(grid.RowMark(), c.mark_after_earlier);
        EXPECT_EQ(grid.CellShown(february.first_shown_day, february.displayed_month, 35, true),
                  c.shown);
    }
}

TEST(XDaysRun, OffsetsWithTheirFallbacks) {
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    struct Case {
        std::string name;
        bool key_opened;
        std::optional<int> x_days;
        std::optional<int> days_back;
        int first;
        int last;
    };
    const std::vector<Case> cases = {
        {"key not opened", false, 3, 2, 0, 5},
        {"x days absent", true, std::nullopt, 2, -2, 4},
        {"days back absent", true, 3, std::nullopt, 0, 2},
        {"both absent", true, std::nullopt, std::nullopt, 0, 4},
        {"five days, two back", true, 5, 2, -2, 4},
        {"single day", true, 1, 0, 0, 0},
        {"only days back", true, -1, 2, -2, -2},
        {"huge count stops at the last day offset", true, kMax, 0, 0, 32767},
        {"huge days back stops at the first day offset", true, 1, kMax, -32768, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const XDaysRun run = XDaysRunFor(c.key_opened, c.x_days, c.days_back);
        EXPECT_EQ(run.first_offset, c.first);
        EXPECT_EQ(run.last_offset, c.last);
    }

    struct EmptyCase {
        std::string name;
        int x_days;
        int days_back;
    };
    const std::vector<EmptyCase> empty_cases = {
        {"no days", 0, 0},
        {"count cancels days back", -2, 2},
        {"negative count", -5, 0},
        {"negative days back beyond the count", 3, -3},
        {"most negative days back", 5, kMin},
        {"run beyond the day offsets", kMax, -40000},
    };
    for (const EmptyCase& c : empty_cases) {
        SCOPED_TRACE(c.name);
        const XDaysRun run = XDaysRunFor(true, c.x_days, c.days_back);
        EXPECT_LT(run.last_offset, run.first_offset);
    }
}

TEST(XDaysRun, FiveDaysTwoBackFromAWednesday) {
    const ViewLayout layout = LayoutView(2, At(2004, 12, 8, 14, 0), kMonday);
    const XDaysRun run = XDaysRunFor(true, 5, 2);
    std::vector<std::string> days;
    for (int k = run.first_offset; k <= run.last_offset; ++k) {
        days.push_back(FormatDateTime("ddddd", DateTime(layout.first_shown_day.value + k)));
    }
    EXPECT_EQ(days,
              (std::vector<std::string>{"06.12.2004", "07.12.2004", "08.12.2004", "09.12.2004",
                                        "10.12.2004", "11.12.2004", "12.12.2004"}));
}

TEST(WeekNumber, KnownWeeks) {
    struct Case {
        DateTime value;
        int week;
    };
    const std::vector<Case> cases = {
        {Day(2010, 1, 1), 53},         {Day(2010, 1, 4), 1},
        {Day(2008, 12, 29), 1},        {Day(2010, 1, 3), 53},
        {Day(2009, 12, 28), 53},       {Day(2005, 1, 2), 53},
        {Day(2005, 1, 3), 1},          {Day(2004, 12, 31), 53},
        {Day(2012, 12, 31), 1},        {Day(2004, 12, 8), 50},
        {At(2010, 1, 3, 23, 59), 53},  {At(2010, 1, 4, 0, 1), 1},
        {At(1899, 12, 25, 18, 0), 52}, {Day(1, 1, 1), 1},
        {Day(9999, 12, 31), 52},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Text(c.value));
        EXPECT_EQ(WeekNumber(c.value), c.week);
    }
}

// ISO weeks from the Monday of the week that holds 4 January.
std::int64_t MondayOfWeekOne(int year) {
    const DateTime january_4 = EncodeDate(year, 1, 4);
    const int days_since_monday = (DayOfWeek(january_4) + 5) % 7;
    return static_cast<std::int64_t>(january_4.value) - days_since_monday;
}

int IsoWeek(DateTime value) {
    const std::int64_t day = static_cast<std::int64_t>(DateOf(value).value);
    int year = DecodeDate(value).year;
    if (day < MondayOfWeekOne(year)) {
        --year;
    } else if (year < 9999 && day >= MondayOfWeekOne(year + 1)) {
        ++year;
    }
    return static_cast<int>((day - MondayOfWeekOne(year)) / 7) + 1;
}

TEST(WeekNumber, AgreesWithIsoWeeksOverManyYears) {
    // Before the epoch the time of day counts away from zero, so it is swept at two times.
    const auto first = static_cast<std::int64_t>(Day(1880, 1, 1).value);
    const auto last = static_cast<std::int64_t>(Day(2110, 12, 31).value);
    for (double time : {0.0, 0.75}) {
        for (std::int64_t n = first; n <= last; ++n) {
            const double day = static_cast<double>(n);
            const DateTime value(day < 0 ? day - time : day + time);
            const int expected = IsoWeek(value);
            const int actual = WeekNumber(value);
            if (actual != expected) {
                ADD_FAILURE() << Text(value) << ": week " << actual << ", ISO week " << expected;
                return;
            }
        }
    }
}

TEST(DayKinds, TodayComparesTheShortDateTexts) {
    struct Case {
        std::string name;
        DateTime day;
        DateTime now;
        bool same;
    };
    const std::vector<Case> cases = {
        {"same day, other time", Day(2004, 12, 8), At(2004, 12, 8, 23, 59), true},
        {"next midnight", At(2004, 12, 8, 23, 59), Day(2004, 12, 9), false},
        {"same day and month of another year", Day(2004, 12, 8), Day(2005, 12, 8), false},
        {"before the epoch", At(1899, 12, 29, 6, 0), Day(1899, 12, 29), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsSameDay(c.day, c.now), c.same);
    }

    // The regional short date decides: a format without the day joins a whole month.
    FormatSettings month_only;
    month_only.short_date_format = "mm/yyyy";
    EXPECT_TRUE(IsSameDay(Day(2004, 12, 1), Day(2004, 12, 31), month_only));
    EXPECT_FALSE(IsSameDay(Day(2004, 12, 31), Day(2005, 1, 1), month_only));
}

TEST(DayKinds, WeekendIsSaturdayAndSunday) {
    // 5 December 2004 is a Sunday.
    const std::vector<bool> weekend = {true, false, false, false, false, false, true, true};
    for (int i = 0; i < static_cast<int>(weekend.size()); ++i) {
        const DateTime day = At(2004, 12, 5 + i, 12, 0);
        SCOPED_TRACE(Text(day));
        EXPECT_EQ(IsWeekend(day), weekend[i]);
    }
}

}  // namespace
}  // namespace planwarte
