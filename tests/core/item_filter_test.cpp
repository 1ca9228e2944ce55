#include "core/outlook/item_filter.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace planwarte {
namespace {

using Properties = std::map<std::string, Variant>;

PropertyAccessor Accessor(const Properties& properties) {
    return [&properties](const std::string& name) -> std::optional<Variant> {
        const auto found = properties.find(name);
        if (found == properties.end()) {
            return std::nullopt;
        }
        return found->second;
    };
}

DateTime At(int day, int hour, int minute, int second = 0) {
    return EncodeDateTime(2004, 12, day, hour, minute, second);
}

constexpr const char* kDayFilter =
    "([Start] >= '#08.12.2004 0:00#' AND [Start] <= '#08.12.2004 23:59#') OR "
    "([Start] <= '#08.12.2004 0:00#' AND [End] > '#08.12.2004 0:00#')";
constexpr const char* kTasksOfDayFilter = "[DueDate] = '#08.12.2004#' AND [Complete] = False";
constexpr const char* kOpenTasksFilter = "[Complete] = False";
constexpr const char* kMailFilter =
    "[ReceivedTime] >= '#8.12.2004 9:05#' AND [ReceivedTime] <= '#8.12.2004 9:10#' AND "
    "[UnRead] = TRUE";

struct MatchCase {
    const char* name;
    const char* filter;
    Properties item;
    bool matches;
};

void ExpectMatches(const std::vector<MatchCase>& cases) {
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ParseItemFilter(c.filter).Matches(Accessor(c.item)), c.matches);
    }
}

Properties Appointment(DateTime start, DateTime end) {
    return {{"Start", start}, {"End", end}};
}

TEST(ItemFilterTest, DayFilterSelectsAppointmentsOfTheDay) {
    const DateTime dec9 = EncodeDate(2004, 12, 9);
    const DateTime dec8 = EncodeDate(2004, 12, 8);
    const DateTime dec7 = EncodeDate(2004, 12, 7);
    ExpectMatches({
        {"starts at midnight", kDayFilter, Appointment(At(8, 0, 0), At(8, 1, 0)), true},
        {"starts at 23:59", kDayFilter, Appointment(At(8, 23, 59), At(9, 0, 30)), true},
        {"starts at 23:59:30, inside the last minute", kDayFilter,
         Appointment(At(8, 23, 59, 30), At(8, 23, 59, 50)), true},
        {"starts the next midnight", kDayFilter, Appointment(At(9, 0, 0), At(9, 1, 0)), false},
        {"from the day before, ending at midnight exactly", kDayFilter,
         Appointment(At(7, 23, 0), At(8, 0, 0)), false},
        {"from the day before, ending within the first minute", kDayFilter,
         Appointment(At(7, 23, 0), At(8, 0, 0, 30)), false},
        {"from the day before, ending at 0:01", kDayFilter, Appointment(At(7, 23, 0), At(8, 0, 1)),
         true},
        {"over several days", kDayFilter, Appointment(At(7, 10, 0), At(9, 12, 0)), true},
        {"all day on the day", kDayFilter, Appointment(dec8, dec9), true},
        {"all day on the day before", kDayFilter, Appointment(dec7, dec8), false},
        {"all day on the next day", kDayFilter, Appointment(dec9, EncodeDate(2004, 12, 10)), false},
    });
}

TEST(ItemFilterTest, TaskFiltersCompareDueDatesByDay) {
    const auto task = [](DateTime due, bool complete) {
        return Properties{{"DueDate", due}, {"Complete", complete}};
    };
    const DateTime no_date = EncodeDate(4501, 1, 1);
    ExpectMatches({
        {"open, due at midnight", kTasksOfDayFilter, task(At(8, 0, 0), false), true},
        {"open, due in the afternoon", kTasksOfDayFilter, task(At(8, 17, 0), false), true},
        {"open, due the last second", kTasksOfDayFilter, task(At(8, 23, 59, 59), false), true},
        {"complete, due on the day", kTasksOfDayFilter, task(At(8, 0, 0), true), false},
        {"open, due the next day", kTasksOfDayFilter, task(At(9, 0, 0), false), false},
        {"open, due the day before", kTasksOfDayFilter, task(At(7, 23, 59, 59), false), false},
        {"open, without due date", kTasksOfDayFilter, task(no_date, false), false},
        {"open task of any date", kOpenTasksFilter, task(no_date, false), true},
        {"complete task", kOpenTasksFilter, task(At(8, 0, 0), true), false},
        {"keywords in any case", "[DueDate] = '#08.12.2004#' and [Complete] = fAlSe",
         task(At(8, 9, 0), false), true},
    });
}

TEST(ItemFilterTest, MailFilterTakesWholeMinutesAtBothBounds) {
    const auto mail = [](DateTime received, bool unread) {
        return Properties{{"ReceivedTime", received}, {"UnRead", unread}};
    };
    ExpectMatches({
        {"unread at the lower bound", kMailFilter, mail(At(8, 9, 5), true), true},
        {"unread late in the first minute", kMailFilter, mail(At(8, 9, 5, 40), true), true},
        {"unread just before", kMailFilter, mail(At(8, 9, 4, 59), true), false},
        {"unread late in the last minute", kMailFilter, mail(At(8, 9, 10, 59), true), true},
        {"unread just after", kMailFilter, mail(At(8, 9, 11), true), false},
        {"read inside the window", kMailFilter, mail(At(8, 9, 7), false), false},
    });
}

TEST(ItemFilterTest, LiteralsOfEveryKind) {
    const Properties item{{"Subject", std::string("Zahnarzt")}, {"Note", std::string("Max's")},
                          {"Importance", std::int32_t{2}},      {"Ratio", 0.5},
                          {"Start", At(8, 14, 30, 15)},         {"Categories", Variant()}};
    ExpectMatches({
        {"text ignores case", "[Subject] = 'zahnARZT'", item, true},
        {"text differs", "[Subject] <> 'Zahnarzt'", item, false},
        {"text orders", "[Subject] > 'Arzt' AND [Subject] < 'Zz'", item, true},
        {"doubled quote", "[Note] = 'Max''s'", item, true},
        {"integer", "[Importance] = 2", item, true},
        {"integer ordered", "[Importance] >= 3", item, false},
        {"negative number", "[Importance] > -1", item, true},
        {"decimal number", "[Ratio] < 0.75", item, true},
        {"seconds make a one-second span", "[Start] = '#08.12.2004 14:30:15#'", item, true},
        {"the next second", "[Start] = '#08.12.2004 14:30:16#'", item, false},
        {"a minute literal covers its seconds", "[Start] = '#08.12.2004 14:30#'", item, true},
        {"date not equal", "[Start] <> '#08.12.2004#'", item, false},
        {"date less", "[Start] < '#09.12.2004#'", item, true},
        {"empty value equals nothing", "[Categories] = 'x'", item, false},
        {"empty value differs from everything", "[Categories] <> 'x'", item, true},
        {"blanks around everything", "  ( [Importance]=2 )  ", item, true},
    });
}

TEST(ItemFilterTest, AndBindsTighterThanOr) {
    const Properties item{{"A", std::int32_t{1}}, {"B", std::int32_t{0}}, {"C", std::int32_t{0}}};
    ExpectMatches({
        {"A OR (B AND C)", "[A] = 1 OR [B] = 1 AND [C] = 1", item, true},
        {"(A OR B) AND C", "([A] = 1 OR [B] = 1) AND [C] = 1", item, false},
        {"nested parentheses", "(([A] = 1) AND ([B] = 0 OR [C] = 1))", item, true},
    });
}

TEST(ItemFilterTest, ReadsDatesInTheRegionalShortFormat) {
    FormatSettings settings;
    settings.short_date_format = "m/d/yyyy";
    settings.date_separator = '/';
    const ItemFilter filter = ParseItemFilter("[Start] = '#12/8/2004 14:30#'", settings);
    const Properties item = Appointment(At(8, 14, 30), At(8, 15, 0));
    EXPECT_TRUE(filter.Matches(Accessor(item)));
    EXPECT_THROW(ParseItemFilter("[Start] = '#08.12.2004#'", settings), ItemFilterError);
}

struct EvaluationFault {
    const char* name;
    const char* filter;
    const char* at;  // the text at the reported position
};

TEST(ItemFilterTest, EvaluationFaultsNameTheComparison) {
    const Properties item{
        {"Subject", std::string("Zahnarzt")}, {"Start", At(8, 9, 0)}, {"Complete", false}};
    const std::vector<EvaluationFault> faults{
        {"unknown property", "[Complete] = False AND [Colour] = 1", "[Colour]"},
        {"unknown property after a decided OR", "[Complete] = False OR [Colour] = 1", "[Colour]"},
        {"text against True", "[Subject] = True", "[Subject]"},
        {"date against a text", "[Start] = 'morgen'", "[Start]"},
        {"flag against a number", "[Complete] = 0", "[Complete]"},
        {"text against a date", "[Subject] >= '#08.12.2004#'", "[Subject]"},
    };
    for (const EvaluationFault& fault : faults) {
        SCOPED_TRACE(fault.name);
        const ItemFilter filter = ParseItemFilter(fault.filter);
        try {
            filter.Matches(Accessor(item));
            ADD_FAILURE() << "no error";
        } catch (const ItemFilterError& error) {
            EXPECT_EQ(error.Position(), std::string(fault.filter).find(fault.at));
            EXPECT_EQ(error.Filter(), fault.filter);
        }
    }
}

struct ParseFault {
    const char* name;
    std::string filter;
    std::string at;  // the text at the reported position; empty: the end of the filter
};

TEST(ItemFilterTest, ParseErrorsNameTheTextAndThePosition) {
    const std::vector<ParseFault> faults{
        {"empty", "", ""},
        {"only blanks", "   ", ""},
        {"ends after AND", "[Complete] = False AND", ""},
        {"no closing bracket", "[Complete = False", "[Complete"},
        {"empty property name", "[] = 1", "[]"},
        {"unknown operator", "[Importance] ~ 1", "~ 1"},
        {"no value", "[Importance] =", ""},
        {"unknown word as value", "[Complete] = Maybe", "Maybe"},
        {"True ordered", "[Complete] < False", "< False"},
        {"unterminated text", "[Subject] = 'abc", "'abc"},
        {"date that does not exist", "[Start] = '#32.12.2004#'", "32.12"},
        {"hour out of range", "[Start] = '#08.12.2004 25:00#'", "25:00"},
        {"minutes with one digit", "[Start] = '#08.12.2004 9:5#'", "9:5"},
        {"time with too many parts", "[Start] = '#08.12.2004 9:05:00:00#'", "9:05:00:00"},
        {"malformed number", "[Importance] = 1.2.3", "1.2.3"},
        {"missing closing parenthesis", "([Complete] = False", ""},
        {"text after the end", "[Complete] = False [Start]", "[Start]"},
        {"keyword glued to a word", "[A] = 1 ANDX [B] = 2", "ANDX"},
        {"stray closing parenthesis", "[A] = 1)", ")"},
    };
    for (const ParseFault& fault : faults) {
        SCOPED_TRACE(fault.name);
        const std::size_t expected =
            fault.at.empty() ? fault.filter.size() : fault.filter.find(fault.at);
        ASSERT_NE(expected, std::string::npos);
        try {
            ParseItemFilter(fault.filter);
            ADD_FAILURE() << "parsed";
        } catch (const ItemFilterError& error) {
            EXPECT_EQ(error.Position(), expected);
            EXPECT_EQ(error.Filter(), fault.filter);
            const std::string message = error.what();
            EXPECT_NE(message.find("\"" + fault.filter + "\""), std::string::npos) << message;
            EXPECT_NE(message.find("position " + std::to_string(expected)), std::string::npos)
                << message;
        }
    }
}

}  // namespace
}  // namespace planwarte
