#include <gtest/gtest.h>

#include <algorithm>

#include "ical_test_support.h"

namespace planwarte {
namespace {

using ical_testing::Calendar;
using ical_testing::Event;
using ical_testing::IcalStoreTest;

// The days of series as a user pages to them: next to each other, far away and back again.
class IcalSeriesDaysTest : public IcalStoreTest {
  protected:
    void SetUp() override {
        WriteItem("c", "weekly.ics",
                  Calendar({Event("w", {"DTSTART:20041201T193000", "DTEND:20041201T213000",
                                        "SUMMARY:Chor", "RRULE:FREQ=WEEKLY"})}));
        // Three days long, so that its occurrences reach into days after their start.
        WriteItem("c", "fair.ics",
                  Calendar({Event("f", {"DTSTART;VALUE=DATE:20041206", "DTEND;VALUE=DATE:20041209",
                                        "SUMMARY:Messe", "RRULE:FREQ=MONTHLY;COUNT=6"})}));
        WriteItem("c", "single.ics",
                  Calendar({Event("s", {"DTSTART:20041210T100000", "SUMMARY:Einzeln"})}));
    }
};

TEST_F(IcalSeriesDaysTest, PagingNearAndFarFindsWhatASearchOverEverythingFinds) {
    auto items = Collection("c")->Items();
    items->Sort("[Start]", false);
    items->SetIncludeRecurrences(true);
    const std::vector<std::pair<std::string, std::vector<std::string>>> days = {
        {"08.12.2004", {"Messe", "Chor"}},
        {"10.12.2004", {"Einzeln"}},
        {"07.03.2005", {"Messe"}},  // the fair's fourth time, begun the day before
        {"08.05.2005", {"Messe"}},
        {"11.05.2005", {"Chor"}},
        {"07.06.2005", {}},  // the fair's count is over
        {"08.12.2032", {"Chor"}},
        {"09.12.2004", {}},
        {"07.02.2005", {"Messe"}},
    };
    for (const auto& [day, expected] : days) {
        const std::string narrowed = DayFilter(day);
        // A subject test beside the dates makes a filter that no span of time bounds.
        const std::string everything = "(" + narrowed + ") OR [Subject] = 'nie'";
        EXPECT_EQ(FindAll(*items, narrowed), expected) << day;
        EXPECT_EQ(FindAll(*items, everything), expected) << day;
    }
}

TEST_F(IcalSeriesDaysTest, ASeriesRepeatingWithinADayShowsOnEveryDayPagedTo) {
    WriteItem("c", "minutely.ics",
              Calendar({Event("m", {"DTSTART:20041201T000000", "DURATION:PT1M", "SUMMARY:Minütlich",
                                    "RRULE:FREQ=MINUTELY"})}));
    // A search no date bounds runs first: it expands the series from its start, more than an
    // expansion may hold, which must not leave the later days empty.
    auto items = Collection("c")->Items();
    items->SetIncludeRecurrences(true);
    EXPECT_NE(items->Find("[Subject] = 'Minütlich'"), nullptr);
    for (const std::string day :
         {"08.12.2004", "20.03.2005", "08.12.2006", "08.12.2030", "09.12.2004"}) {
        const std::vector<std::string> found = DayOf("c", day);
        EXPECT_EQ(std::count(found.begin(), found.end(), "Minütlich"), 1440) << day;
    }
}

}  // namespace
}  // namespace planwarte
