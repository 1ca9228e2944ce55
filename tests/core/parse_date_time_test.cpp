#include "core/common/parse_date_time.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace planwarte {
namespace {

struct ParseCase {
    std::string text;
    std::optional<DateTime> expected;
};

void ExpectParsesShortDate(const std::vector<ParseCase>& cases,
                           const FormatSettings& settings = DefaultFormatSettings()) {
    for (const ParseCase& c : cases) {
        SCOPED_TRACE("text \"" + c.text + "\"");
        EXPECT_EQ(ParseShortDate(c.text, settings), c.expected);
    }
}

void ExpectParsesShortDateTime(const std::vector<ParseCase>& cases,
                               const FormatSettings& settings = DefaultFormatSettings()) {
    for (const ParseCase& c : cases) {
        SCOPED_TRACE("text \"" + c.text + "\"");
        EXPECT_EQ(ParseShortDateTime(c.text, settings), c.expected);
    }
}

TEST(ParseShortDate, GermanDates) {
    ExpectParsesShortDate({
        {"08.12.2004", EncodeDate(2004, 12, 8)},
        {"8.12.2004", EncodeDate(2004, 12, 8)},
        {"1.3.2004", EncodeDate(2004, 3, 1)},
        {"  08.12.2004 ", EncodeDate(2004, 12, 8)},
        {"29.02.2004", EncodeDate(2004, 2, 29)},
        {"29.12.1899", EncodeDate(1899, 12, 29)},
        {"01.01.0001", EncodeDate(1, 1, 1)},
        {"31.12.9999", EncodeDate(9999, 12, 31)},
    });
}

TEST(ParseShortDate, ShortYearsLieBetween1930And2029) {
    ExpectParsesShortDate({
        {"08.12.04", EncodeDate(2004, 12, 8)},
        {"08.12.4", EncodeDate(2004, 12, 8)},
        {"08.12.29", EncodeDate(2029, 12, 8)},
        {"08.12.30", EncodeDate(1930, 12, 8)},
        {"08.12.99", EncodeDate(1999, 12, 8)},
        {"08.12.100", EncodeDate(100, 12, 8)},
    });
}

TEST(ParseShortDate, RejectsTextsThatAreNoDate) {
    ExpectParsesShortDate({
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"29.02.2005", std::nullopt},
        {"32.12.2004", std::nullopt},
        {"00.12.2004", std::nullopt},
        {"08.13.2004", std::nullopt},
        {"08.00.2004", std::nullopt},
        {"08.12.0000", std::nullopt},
        {"08.12.12004", std::nullopt},
        {"123.12.2004", std::nullopt},
        {"08-12-2004", std::nullopt},
        {"08.12.", std::nullopt},
        {"08.12", std::nullopt},
        {"08.12.2004x", std::nullopt},
        {"08.12.2004 0:00", std::nullopt},
        {"a.b.c", std::nullopt},
        {"-8.12.2004", std::nullopt},
    });
}

TEST(ParseShortDate, FollowsTheRegionalOrderAndSeparator) {
    FormatSettings american;
    american.short_date_format = "m/d/yyyy";
    american.date_separator = '/';
    ExpectParsesShortDate({{"12/8/2004", EncodeDate(2004, 12, 8)},
                           {"12/08/2004", EncodeDate(2004, 12, 8)},
                           {"8/12/2004", EncodeDate(2004, 8, 12)},
                           {"12.8.2004", std::nullopt}},
                          american);

    FormatSettings iso;
    iso.short_date_format = "yyyy/mm/dd";
    iso.date_separator = '-';
    ExpectParsesShortDate({{"2004-12-08", EncodeDate(2004, 12, 8)}, {"2004/12/08", std::nullopt}},
                          iso);

    FormatSettings compact;
    compact.short_date_format = "yyyymmdd";
    ExpectParsesShortDate({{"20041208", EncodeDate(2004, 12, 8)}}, compact);
}

TEST(ParseShortDate, NameElementsInTheFormatAreNotRead) {
    FormatSettings named;
    named.short_date_format = "dd. mmm yyyy";
    ExpectParsesShortDate({{"08. Dez 2004", std::nullopt}}, named);
}

// Whatever the formatter writes as a short date must read back as the same day.
TEST(ParseShortDate, ReadsWhatTheFormatterWrites) {
    FormatSettings american;
    american.short_date_format = "m/d/yy";
    american.date_separator = '/';
    const std::vector<FormatSettings> all_settings = {DefaultFormatSettings(), american};
    for (const FormatSettings& settings : all_settings) {
        SCOPED_TRACE(settings.short_date_format);
        for (double day = EncodeDate(1930, 1, 1).value; day <= EncodeDate(2029, 12, 31).value;
             day += 3) {
            const std::string text = FormatDateTime("ddddd", DateTime(day), settings);
            ASSERT_EQ(ParseShortDate(text, settings), DateTime(day)) << text;
        }
    }
}

TEST(ParseShortDateTime, DateWithTime) {
    ExpectParsesShortDateTime({
        {"08.12.2004 0:00", EncodeDateTime(2004, 12, 8, 0, 0)},
        {"8.12.2004 23:59", EncodeDateTime(2004, 12, 8, 23, 59)},
        {"08.12.2004 09:05", EncodeDateTime(2004, 12, 8, 9, 5)},
        {"08.12.2004 23:59:30", EncodeDateTime(2004, 12, 8, 23, 59, 30)},
        {"08.12.2004   9:05 ", EncodeDateTime(2004, 12, 8, 9, 5)},
        {"08.12.2004", EncodeDate(2004, 12, 8)},
        {"29.12.1899 06:00", DateTime(-1.25)},
    });
}

TEST(ParseShortDateTime, RejectsBadTimes) {
    ExpectParsesShortDateTime({
        {"08.12.2004 24:00", std::nullopt},
        {"08.12.2004 12:60", std::nullopt},
        {"08.12.2004 12:00:60", std::nullopt},
        {"08.12.2004 12", std::nullopt},
        {"08.12.2004 12:", std::nullopt},
        {"08.12.2004 12:00:", std::nullopt},
        {"08.12.2004 123:00", std::nullopt},
        {"08.12.200412:00", std::nullopt},
        {"08.12.2004 12.00", std::nullopt},
        {"08.12.2004 12:00 Uhr", std::nullopt},
        {"30.02.2004 12:00", std::nullopt},
    });
}

TEST(ParseShortDateTime, UsesTheRegionalTimeSeparator) {
    FormatSettings dotted;
    dotted.time_separator = '.';
    ExpectParsesShortDateTime(
        {{"08.12.2004 9.05", EncodeDateTime(2004, 12, 8, 9, 5)}, {"08.12.2004 9:05", std::nullopt}},
        dotted);
}

// The object model's filters write their bounds as "#" + short date + " h:nn" + "#".
TEST(ParseShortDateTime, ReadsTheBoundsOfAFilter) {
    for (int minute_of_day = 0; minute_of_day < 24 * 60; minute_of_day += 7) {
        const DateTime value = EncodeDateTime(2004, 12, 8, minute_of_day / 60, minute_of_day % 60);
        const std::string bound = FormatDateTime("ddddd h:nn", value);
        ASSERT_EQ(ParseShortDateTime(bound), value) << bound;
    }
}

}  // namespace
}  // namespace planwarte
