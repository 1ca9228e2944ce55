#include "core/outlook/item_filter_range.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace planwarte {
namespace {

DateTime At(int day, int hour = 0, int minute = 0) {
    return EncodeDateTime(2004, 12, day, hour, minute);
}

constexpr const char* kDayFilter =
    "([Start] >= '#08.12.2004 0:00#' AND [Start] <= '#08.12.2004 23:59#') OR "
    "([Start] <= '#08.12.2004 0:00#' AND [End] > '#08.12.2004 0:00#')";

struct RangeCase {
    const char* name;
    const char* filter;
    std::optional<std::pair<DateTime, DateTime>> bounds;  // nullopt: not bounded
    std::optional<DateTime> latest;
};

TEST(ItemFilterRangeTest, TheTimeComparisonsBoundTheRange) {
    const std::vector<RangeCase> cases = {
        {"the page's day filter: the day itself", kDayFilter, {{At(8), At(9)}}, At(8, 23, 59)},
        {"the tasks of a day, with the open flag ANDed",
         "[DueDate] = '#08.12.2004#' AND [Complete] = False",
         {{At(8), At(9)}},
         At(8)},
        {"two days ORed take in both and what lies between",
         "[DueDate] = '#08.12.2004#' OR [DueDate] = '#10.12.2004#'",
         {{At(8), At(11)}},
         At(10)},
        {"a minute literal covers its minute",
         "[Start] = '#08.12.2004 9:30#'",
         {{At(8, 9, 30), At(8, 9, 31)}},
         At(8, 9, 30)},
        {"< and > leave out the literal's span, <= and >= take it in",
         "[Start] > '#07.12.2004#' AND [Start] < '#10.12.2004#'",
         {{At(8), At(10)}},
         At(10)},
        {"a start before one day and an end after another: either way round",
         "[Start] < '#08.12.2004#' AND [End] >= '#10.12.2004#'",
         {{At(8), At(10)}},
         At(10)},
        {"flags, importance and texts ANDed narrow nothing",
         "[Start] >= '#08.12.2004#' AND [Start] < '#09.12.2004#' AND [AllDayEvent] = True AND "
         "[Importance] = 2 AND [Subject] = 'x'",
         {{At(8), At(9)}},
         At(9)},
        {"property names in any case", "[duedate] = '#08.12.2004#'", {{At(8), At(9)}}, At(8)},
        {"bounded on one side only", "[Start] >= '#08.12.2004#'", std::nullopt, At(8)},
        {"<> says nothing about the times", "[DueDate] <> '#08.12.2004#'", std::nullopt, At(8)},
        {"an OR with a side that names no time", "[DueDate] = '#08.12.2004#' OR [Complete] = True",
         std::nullopt, At(8)},
        {"a date compared with another property",
         "[ReminderTime] >= '#08.12.2004#' AND [ReminderTime] < '#09.12.2004#'", std::nullopt,
         At(9)},
        {"a filter naming no dates", "[Complete] = False", std::nullopt, std::nullopt},
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ItemFilterRange range = RangeOf(ParseItemFilter(c.filter));
        ASSERT_EQ(range.bounded, c.bounds.has_value());
        if (c.bounds) {
            EXPECT_NEAR(range.from.value, c.bounds->first.value, 1e-9);
            EXPECT_NEAR(range.to.value, c.bounds->second.value, 1e-9);
        }
        ASSERT_EQ(range.latest.has_value(), c.latest.has_value());
        if (c.latest) {
            EXPECT_NEAR(range.latest->value, c.latest->value, 1e-9);
        }
    }
}

// Before 1900 the time of day counts forward from the negative day number.
TEST(ItemFilterRangeTest, DatesBeforeTheEpochKeepTheirTimeOfDay) {
    const ItemFilterRange range = RangeOf(ParseItemFilter("[Start] = '#29.12.1899 6:00#'"));
    ASSERT_TRUE(range.bounded);
    EXPECT_NEAR(range.from.value, -1.25, 1e-9);
    EXPECT_NEAR(range.to.value, -1.0 - (6 * 60 + 1) / 1440.0, 1e-9);
}

TEST(ItemFilterRangeTest, ATimeComparedWithWhatIsNoDateFailsAsTheEvaluatorDoes) {
    for (const std::string filter :
         {"[Start] = 5", "[Complete] = False AND [DueDate] = 'morgen'", "[End] <> True"}) {
        SCOPED_TRACE(filter);
        const ItemFilter parsed = ParseItemFilter(filter);
        std::string expected;
        try {
            parsed.Matches([](const std::string& name) {
                return name == "Complete" ? Variant(false) : Variant(At(8));
            });
        } catch (const ItemFilterError& error) {
            expected = error.what();
        }
        try {
            RangeOf(parsed);
            ADD_FAILURE() << "no error";
        } catch (const ItemFilterError& error) {
            EXPECT_EQ(error.what(), expected);
        }
    }
}

}  // namespace
}  // namespace planwarte
