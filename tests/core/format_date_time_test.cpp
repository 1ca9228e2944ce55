#include "core/common/format_date_time.h"

#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace planwarte {
namespace {

struct FormatCase {
    std::string pattern;
    DateTime value;
    std::string expected;
};

void ExpectFormats(const std::vector<FormatCase>& cases,
                   const FormatSettings& settings = DefaultFormatSettings()) {
    for (const FormatCase& c : cases) {
        SCOPED_TRACE("pattern \"" + c.pattern + "\"");
        EXPECT_EQ(FormatDateTime(c.pattern, c.value, settings), c.expected);
    }
}

DateTime At(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    return DateTime(EncodeDate(year, month, day).value +
                    EncodeTime(hour, minute, second, millisecond).value);
}

// A Wednesday morning with every time field set, and a Monday just before midnight.
const DateTime kWednesday = At(2004, 12, 8, 9, 5, 3, 7);
const DateTime kMonday = At(2004, 3, 1, 23, 59, 0, 0);
const DateTime kMidnight = EncodeDate(2004, 12, 8);

TEST(FormatDateTime, DayElements) {
    ExpectFormats({
        {"d", kWednesday, "8"},
        {"dd", kWednesday, "08"},
        {"d", kMonday, "1"},
        {"ddd", kWednesday, "Mi"},
        {"dddd", kWednesday, "Mittwoch"},
        {"dddd", kMonday, "Montag"},
        {"ddddd", kWednesday, "08.12.2004"},
        {"dddddd", kWednesday, "Mittwoch, 8. Dezember 2004"},
        {"ddddddd", kWednesday, "Mittwoch, 8. Dezember 2004"},
    });
}

TEST(FormatDateTime, MonthAndYearElements) {
    ExpectFormats({
        {"m", kWednesday, "12"},
        {"m", kMonday, "3"},
        {"mm", kMonday, "03"},
        {"mmm", kWednesday, "Dez"},
        {"mmm", kMonday, "Mrz"},
        {"mmmm", kMonday, "März"},
        {"mmmmm", kWednesday, "Dezember"},
        {"y", kWednesday, "04"},
        {"yy", kWednesday, "04"},
        {"yyy", kWednesday, "2004"},
        {"yyyy", kWednesday, "2004"},
        {"yy", EncodeDate(5, 1, 1), "05"},
        {"yyyy", EncodeDate(5, 1, 1), "0005"},
        {"mmmm yyyy", kWednesday, "Dezember 2004"},
    });
}

TEST(FormatDateTime, TimeElements) {
    ExpectFormats({
        {"h", kWednesday, "9"},
        {"hh", kWednesday, "09"},
        {"hhh", kWednesday, "09"},
        {"h", kMonday, "23"},
        {"n", kWednesday, "5"},
        {"nn", kWednesday, "05"},
        {"nnn", kWednesday, "05"},
        {"s", kWednesday, "3"},
        {"ss", kWednesday, "03"},
        {"z", kWednesday, "7"},
        {"zz", kWednesday, "7"},
        {"zzz", kWednesday, "007"},
        {"hh:nn:ss", kMonday, "23:59:00"},
        {"h:nn", kMidnight, "0:00"},
        {"t", kWednesday, "09:05"},
        {"tt", kWednesday, "09:05:03"},
    });
}

TEST(FormatDateTime, MonthLetterAfterAnHourMeansMinutes) {
    ExpectFormats({
        {"hh:mm", kWednesday, "09:05"},
        {"h:m", kWednesday, "9:5"},
        {"hh:mm:ss", kMonday, "23:59:00"},
        // Quoted text and other non-letters between them keep the rule.
        {"hh 'Uhr' mm", kWednesday, "09 Uhr 05"},
        // Before the hour, or after another letter, it stays the month.
        {"mm hh", kWednesday, "12 09"},
        {"d.m.yy hh:mm", kWednesday, "8.12.04 09:05"},
        {"hh:nn mm", kWednesday, "09:05 12"},
        {"h x m", kWednesday, "9 x 12"},
        {"HH:MM", kWednesday, "09:05"},
    });
}

TEST(FormatDateTime, CombinedDateAndTime) {
    ExpectFormats({
        {"c", kWednesday, "08.12.2004 09:05:03"},
        {"c", kMonday, "01.03.2004 23:59:00"},
        // At midnight the time is left out.
        {"c", kMidnight, "08.12.2004"},
        {"c", DateTime(kMidnight.value + EncodeTime(0, 0, 0, 500).value), "08.12.2004"},
        {"c", DateTime(kMidnight.value + EncodeTime(0, 0, 1).value), "08.12.2004 00:00:01"},
        {"C", kWednesday, "08.12.2004 09:05:03"},
    });
}

TEST(FormatDateTime, PatternsOfThePage) {
    ExpectFormats({
        {"hh:mm 'Uhr'", kWednesday, "09:05 Uhr"},
        {"hh:mm 'Uhr'", kMonday, "23:59 Uhr"},
        {"d.m.yy hh:mm 'Uhr'", kWednesday, "8.12.04 09:05 Uhr"},
        {"' bis: 'd.m.yy hh:mm 'Uhr'", kMonday, " bis: 1.3.04 23:59 Uhr"},
        {"dddd, 'der' d mmmm yyyy", kWednesday, "Mittwoch, der 8 Dezember 2004"},
        {"dddd, 'der' d mmmm yyyy", kMonday, "Montag, der 1 März 2004"},
        {"'#'ddddd '0:00#'", kWednesday, "#08.12.2004 0:00#"},
        {"'#'ddddd '23:59#'", kWednesday, "#08.12.2004 23:59#"},
        {"'#'ddddd'#'", kWednesday, "#08.12.2004#"},
        {"'#'ddddd h:nn'#'", kWednesday, "#08.12.2004 9:05#"},
        {"'#'ddddd h:nn'#'", kMonday, "#01.03.2004 23:59#"},
    });
}

TEST(FormatDateTime, LettersInEitherCase) {
    ExpectFormats({
        {"DD.MM.YYYY", kWednesday, "08.12.2004"},
        {"D", kWednesday, "8"},
        {"DDDD", kWednesday, "Mittwoch"},
        {"Dd", kWednesday, "08"},
        {"hH:Nn:sS", kWednesday, "09:05:03"},
        {"MMMM", kWednesday, "Dezember"},
    });
}

TEST(FormatDateTime, LiteralText) {
    ExpectFormats({
        {"'d'", kWednesday, "d"},
        {"\"Heute\" d", kWednesday, "Heute 8"},
        {"'it''s'", kWednesday, "its"},
        {"\"it's\"", kWednesday, "it's"},
        {"''", kWednesday, ""},
        {"", kWednesday, ""},
        // An unclosed quote runs to the end.
        {"d 'und mm", kWednesday, "8 und mm"},
        {"'März' d", kWednesday, "März 8"},
        {"[d]", kWednesday, "[8]"},
        {"d-m", kWednesday, "8-12"},
        {"x", kWednesday, "x"},
        // Unquoted, the h inside a word is an hour element.
        {"Uhr", kWednesday, "U9r"},
    });
}

TEST(FormatDateTime, TwelveHourClockWithAMarker) {
    const DateTime noon = DateTime(kMidnight.value + 0.5);
    ExpectFormats({
        {"h:nn am/pm", kWednesday, "9:05 am"},
        {"h:nn am/pm", kMonday, "11:59 pm"},
        {"hh AM/PM", kMidnight, "12 AM"},
        {"h a/p", noon, "12 p"},
        {"h:nn A/P", kWednesday, "9:05 A"},
        {"h:nn Am/Pm", kMonday, "11:59 Pm"},
        // Without a marker after it, an hour is on the 24-hour clock.
        {"am/pm h", kMonday, "pm 23"},
        {"h am/pm h", kMonday, "11 pm 23"},
        {"'am/pm' h", kMonday, "am/pm 23"},
    });
}

TEST(FormatDateTime, ValuesBeforeTheEpoch) {
    ExpectFormats({
        {"dd.mm.yyyy hh:nn", DateTime(-1.25), "29.12.1899 06:00"},
        {"dddd", DateTime(-1.25), "Freitag"},
        {"c", DateTime(-0.5), "30.12.1899 12:00:00"},
        {"dd.mm.yyyy", EncodeDate(1, 1, 1), "01.01.0001"},
    });
}

TEST(FormatDateTime, RegionalSettings) {
    FormatSettings english;
    english.short_date_format = "mm/dd/yyyy";
    english.long_date_format = "dddd, mmmm d, yyyy";
    english.short_time_format = "h:nn";
    english.long_time_format = "h:nn:ss";
    english.date_separator = '-';
    english.time_separator = '.';
    english.long_day_names = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                              "Thursday", "Friday", "Saturday"};
    english.short_day_names = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    english.long_month_names = {"January",   "February", "March",    "April",
                                "May",       "June",     "July",     "August",
                                "September", "October",  "November", "December"};
    english.short_month_names = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    ExpectFormats(
        {
            {"ddddd", kWednesday, "12-08-2004"},
            {"dddddd", kWednesday, "Wednesday, December 8, 2004"},
            {"ddd mmm", kMonday, "Mon Mar"},
            {"c", kWednesday, "12-08-2004 9.05.03"},
            {"t", kWednesday, "9.05"},
            {"dd/mm hh:nn", kWednesday, "08-12 09.05"},
            // Quoted separators are not regional.
            {"dd'/'mm hh':'nn", kWednesday, "08/12 09:05"},
        },
        english);
}

TEST(FormatDateTime, RegionalPatternNamingItselfDoesNotRecurse) {
    FormatSettings looping;
    looping.short_date_format = "dd.ddddd";
    looping.long_time_format = "hh tt";
    ExpectFormats({{"ddddd", kWednesday, "08."}, {"c", kWednesday, "08. 09 "}}, looping);
}

TEST(FormatDateTime, AnEmptySeparatorWritesNothing) {
    FormatSettings settings;
    settings.date_separator = '\0';
    settings.time_separator = '\0';
    ExpectFormats({{"dd/mm/yyyy hh:nn", kWednesday, "08122004 0905"}}, settings);
}

TEST(FormatDateTime, ValueOutsideTheSupportedYearsIsAnError) {
    EXPECT_THROW(FormatDateTime("dd.mm.yyyy", DateTime(1e12)), std::invalid_argument);
    EXPECT_THROW(FormatDateTime("hh:nn", DateTime(-1e12)), std::invalid_argument);
}

}  // namespace
}  // namespace planwarte
