#include <gtest/gtest.h>

#include <chrono>

#include "core/common/format_date_time.h"
#include "ical_test_support.h"

namespace planwarte {
namespace {

using ical_testing::At;
using ical_testing::Calendar;
using ical_testing::Event;
using ical_testing::IcalStoreTest;
using ical_testing::ReadFixture;

class IcalFindTest : public IcalStoreTest {
  protected:
    // Start times of a day's appointments, "dd.mm. hh:nn subject".
    std::vector<std::string> Timed(const std::string& collection, const std::string& day) {
        auto items = Collection(collection)->Items();
        items->Sort("[Start]", false);
        items->SetIncludeRecurrences(true);
        std::vector<std::string> found;
        for (auto item = items->Find(DayFilter(day)); item; item = items->FindNext()) {
            auto appointment = std::dynamic_pointer_cast<OlAppointmentItem>(item);
            found.push_back(FormatDateTime("dd.mm. hh:nn ", appointment->Start()) +
                            appointment->Subject());
        }
        return found;
    }
};

TEST_F(IcalFindTest, ASeriesShowsItsOccurrencesWithExclusionsAndOverrides) {
    WriteItem("chor", "serie.ics", ReadFixture("khal_weekly_series.ics"));
    const std::vector<std::pair<std::string, std::vector<std::string>>> days = {
        {"01.12.2004", {"01.12. 19:30 Chorprobe"}},
        {"08.12.2004", {"08.12. 19:30 Chorprobe"}},
        {"15.12.2004", {}},  // moved to the next day
        {"16.12.2004", {"16.12. 18:00 Chorprobe (Generalprobe)"}},
        {"22.12.2004", {}},  // excluded
        {"29.12.2004", {}},  // cancelled
        {"05.01.2005", {"05.01. 19:30 Chorprobe"}},
        {"24.11.2004", {}},  // before the series
        {"02.12.2099", {"02.12. 19:30 Chorprobe"}},
    };
    for (const auto& [day, expected] : days) {
        EXPECT_EQ(Timed("chor", day), expected) << day;
    }
}

TEST_F(IcalFindTest, OccurrencesKeepTheSeriesIdentityAndKnowTheirState) {
    WriteItem("chor", "serie.ics", ReadFixture("khal_weekly_series.ics"));
    auto folder = Collection("chor");
    auto items = folder->Items();
    ASSERT_EQ(items->Count(), 1);
    auto master = std::dynamic_pointer_cast<OlAppointmentItem>(items->Item(1));
    EXPECT_EQ(master->GetRecurrenceState(), RecurrenceState::Master);

    items->SetIncludeRecurrences(true);
    auto occurrence =
        std::dynamic_pointer_cast<OlAppointmentItem>(items->Find(DayFilter("08.12.2004")));
    auto exception =
        std::dynamic_pointer_cast<OlAppointmentItem>(items->Find(DayFilter("16.12.2004")));
    ASSERT_TRUE(occurrence && exception);
    EXPECT_EQ(occurrence->GetRecurrenceState(), RecurrenceState::Occurrence);
    EXPECT_EQ(exception->GetRecurrenceState(), RecurrenceState::Exception);
    EXPECT_TRUE(occurrence->IsRecurring());
    EXPECT_EQ(occurrence->EntryID(), master->EntryID());
    EXPECT_EQ(exception->EntryID(), master->EntryID());
    EXPECT_EQ(occurrence->Parent()->EntryID(), folder->EntryID());
    EXPECT_EQ(exception->Location(), "Stadtkirche");
    EXPECT_EQ(occurrence->Location(), "Gemeindehaus");

    auto pattern = occurrence->GetRecurrencePattern();
    ASSERT_NE(pattern, nullptr);
    EXPECT_EQ(pattern->PatternStartDate(), At(2004, 12, 1));
    EXPECT_TRUE(pattern->NoEndDate());
    EXPECT_NEAR(pattern->EndTime().value, 21.5 / 24, 1e-9);
    EXPECT_EQ(pattern->Parent()->GetRecurrenceState(), RecurrenceState::Master);
    EXPECT_EQ(pattern->Parent()->Start(), At(2004, 12, 1, 19, 30));
}

TEST_F(IcalFindTest, SeriesEndsAndExtraDates) {
    WriteItem("c", "count.ics",
              Calendar({Event("count", {"DTSTART:20041206T080000", "SUMMARY:Zählung",
                                        "RRULE:FREQ=DAILY;COUNT=3"})}));
    WriteItem("c", "until.ics",
              Calendar({Event("until", {"DTSTART;VALUE=DATE:20041201", "SUMMARY:Bis",
                                        "RRULE:FREQ=WEEKLY;UNTIL=20041215"})}));
    WriteItem("c", "rdate.ics",
              Calendar({Event("rdate", {"DTSTART:20041201T120000Z", "DURATION:PT1H",
                                        "SUMMARY:Extra", "RDATE:20041209T120000Z"})}));
    WriteItem("c", "exdates.ics",
              Calendar({Event(
                  "exdates",
                  {"DTSTART:20041210T070000Z", "SUMMARY:Lücken", "RRULE:FREQ=DAILY;COUNT=5",
                   "EXDATE:20041211T070000Z,20041212T070000Z", "EXDATE;VALUE=DATE:20041213"})}));
    WriteItem("c", "monthly.ics",
              Calendar({Event("monthly", {"DTSTART:20040131T090000", "SUMMARY:Monatsende",
                                          "RRULE:FREQ=MONTHLY;BYMONTHDAY=-1"})}));
    const std::vector<std::pair<std::string, std::vector<std::string>>> days = {
        {"08.12.2004", {"Bis", "Zählung"}},  // the day event starts at midnight
        {"09.12.2004", {"Extra"}},
        {"10.12.2004", {"Lücken"}},
        {"11.12.2004", {}},
        {"12.12.2004", {}},
        {"13.12.2004", {}},  // a date excludes the day's occurrence
        {"14.12.2004", {"Lücken"}},
        {"15.12.2004", {"Bis"}},
        {"22.12.2004", {}},
        {"31.12.2004", {"Monatsende"}},
        {"28.02.2005", {"Monatsende"}},
    };
    for (const auto& [day, expected] : days) {
        EXPECT_EQ(DayOf("c", day), expected) << day;
    }
    auto items = Collection("c")->Items();
    for (int i = 1; i <= items->Count(); ++i) {
        auto series = std::dynamic_pointer_cast<OlAppointmentItem>(items->Item(i));
        const bool open_ended = series->Subject() == "Monatsende";
        EXPECT_EQ(series->GetRecurrencePattern()->NoEndDate(), open_ended) << series->Subject();
    }
}

// The search looks only at the days a filter names; what it finds must be what a search
// over everything finds. A subject test makes the filter one that cannot be narrowed.
TEST_F(IcalFindTest, TheNarrowedSearchFindsWhatTheFullSearchFinds) {
    WriteItem("c", "serie.ics", ReadFixture("khal_weekly_series.ics"));
    WriteItem("c", "long.ics",
              Calendar({Event("long", {"DTSTART;VALUE=DATE:20041101", "DTEND;VALUE=DATE:20050201",
                                       "SUMMARY:Ausstellung"})}));
    WriteItem("c", "multi.ics",
              Calendar({Event("multi", {"DTSTART:20041207T220000", "DTEND:20041209T020000",
                                        "SUMMARY:Nachtschicht"})}));
    WriteItem("c", "yearly.ics",
              Calendar({Event("yearly", {"DTSTART;VALUE=DATE:19600229", "SUMMARY:Geburtstag",
                                         "RRULE:FREQ=YEARLY"})}));
    WriteItem("c", "single.ics",
              Calendar({Event("s", {"DTSTART:20041208T100000Z", "SUMMARY:Einzeln"})}));
    auto items = Collection("c")->Items();
    items->Sort("[Start]", false);
    items->SetIncludeRecurrences(true);
    for (const std::string day : {"29.11.2004", "01.12.2004", "08.12.2004", "09.12.2004",
                                  "16.12.2004", "31.01.2005", "29.02.2008"}) {
        const std::string narrowed = DayFilter(day);
        const std::string full = "(" + narrowed + ") AND [Subject] <> 'zzz'";
        EXPECT_EQ(FindAll(*items, narrowed), FindAll(*items, full)) << day;
        EXPECT_FALSE(FindAll(*items, narrowed).empty()) << day;
    }
}

TEST_F(IcalFindTest, ASeriesWithoutEndIsNotExpandedForever) {
    WriteItem("c", "minutely.ics",
              Calendar({Event(
                  "m", {"DTSTART:20000101T000000", "SUMMARY:Minütlich", "RRULE:FREQ=MINUTELY"})}));
    WriteItem(
        "c", "daily.ics",
        Calendar({Event("d", {"DTSTART:19000101T080000", "SUMMARY:Täglich", "RRULE:FREQ=DAILY"})}));
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(DayOf("c", "08.12.2090").size(), 1441u);  // every minute and the daily one
    // Without a date to go by, a search stops a while past the series' start.
    auto items = Collection("c")->Items();
    items->SetIncludeRecurrences(true);
    EXPECT_NE(items->Find("[Subject] = 'Täglich'"), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
}

TEST_F(IcalFindTest, SortOrderAndTheSearchOverTheListedItems) {
    WriteItem("c", "a.ics", Calendar({Event("a", {"DTSTART:20041208T100000", "SUMMARY:Zehn"})}));
    WriteItem("c", "b.ics", Calendar({Event("b", {"DTSTART:20041208T080000", "SUMMARY:Acht"})}));
    WriteItem("c", "c.ics", Calendar({Event("c", {"DTSTART:20041208T090000", "SUMMARY:neun"})}));
    auto items = Collection("c")->Items();
    EXPECT_EQ(FindAll(*items, DayFilter("08.12.2004")),
              (std::vector<std::string>{"Zehn", "Acht", "neun"}));  // file order
    items->Sort("[Start]", true);
    EXPECT_EQ(FindAll(*items, DayFilter("08.12.2004")),
              (std::vector<std::string>{"Zehn", "neun", "Acht"}));
    items->Sort("[Subject]", false);
    EXPECT_EQ(items->Item(1)->Subject(), "Acht");
    EXPECT_EQ(items->Item(3)->Subject(), "Zehn");
    EXPECT_THROW(items->Item(4), OutlookError);
    EXPECT_EQ(FindAll(*items, "[Subject] = 'NEUN'"), (std::vector<std::string>{"neun"}));
    EXPECT_EQ(items->FindNext(), nullptr);
    EXPECT_THROW(items->Sort("[DueDate]", false), OutlookError);
}

TEST_F(IcalFindTest, AFilterThatCannotBeEvaluatedIsAnErrorNamingIt) {
    WriteItem("c", "a.ics", Calendar({Event("a", {"DTSTART:20041208T100000"})}));
    auto items = Collection("c")->Items();
    EXPECT_THROW(items->FindNext(), OutlookError);
    for (const std::string filter : {"[Start] >= '#31.02.2004#'", "[Start] >=", "[Nix] = 1"}) {
        try {
            items->Find(filter);
            ADD_FAILURE() << filter;
        } catch (const OutlookError& error) {
            EXPECT_NE(std::string(error.what()).find(filter), std::string::npos) << error.what();
            EXPECT_EQ(std::string(error.what()).rfind("Find: ", 0), 0u) << error.what();
        }
    }
}

TEST_F(IcalFindTest, OpenTasksOfADay) {
    WriteItem("t", "a.ics",
              Calendar({"BEGIN:VTODO", "UID:a", "SUMMARY:Heute offen", "DUE;VALUE=DATE:20041208",
                        "END:VTODO"}));
    WriteItem("t", "b.ics",
              Calendar({"BEGIN:VTODO", "UID:b", "SUMMARY:Heute fertig", "DUE:20041208T150000Z",
                        "STATUS:COMPLETED", "END:VTODO"}));
    WriteItem("t", "c.ics", Calendar({"BEGIN:VTODO", "UID:c", "SUMMARY:Ohne Datum", "END:VTODO"}));
    WriteItem(
        "t", "d.ics",
        Calendar({"BEGIN:VTODO", "UID:d", "SUMMARY:Morgen", "DUE:20041209T070000Z", "END:VTODO"}));
    auto items = Collection("t")->Items();
    items->Sort("[DueDate]", false);
    EXPECT_EQ(FindAll(*items, "[DueDate] = '#08.12.2004#' AND [Complete] = False"),
              (std::vector<std::string>{"Heute offen"}));
    EXPECT_EQ(FindAll(*items, "[Complete] = False"),
              (std::vector<std::string>{"Heute offen", "Morgen", "Ohne Datum"}));
    auto task = std::dynamic_pointer_cast<OlTaskItem>(items->Item(4));
    ASSERT_NE(task, nullptr);
    EXPECT_EQ(task->DueDate(), DateTime(949998.0));
}

}  // namespace
}  // namespace planwarte
