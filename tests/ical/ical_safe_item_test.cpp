#include "adapters/ical/ical_safe_item_library.h"

#include <gtest/gtest.h>

#include "adapters/fake/fake_object_model.h"
#include "adapters/ical/label_colours.h"
#include "core/outlook/item_access.h"
#include "ical_test_support.h"

namespace planwarte {
namespace {

using ical_testing::At;
using ical_testing::Calendar;
using ical_testing::Event;
using ical_testing::IcalStoreTest;

TEST(IcalLabelColourTest, AColourGoesToTheNearestLabel) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"", 0},        {"none", 0},      {"#12345", 0},  {"#gg0000", 0},  {"red", 1},
        {"Tomato", 1},  {"#E4977F", 1},   {"blue", 2},    {"navy", 2},     {"green", 3},
        {"#a5de63", 3}, {"white", 4},     {"gray", 4},    {"black", 4},    {"orange", 5},
        {"#ffb59b", 5}, {"#84eff7", 6},   {"olive", 7},   {"#d6ce84", 7},  {"purple", 8},
        {"#c6a5f7", 8}, {"teal", 9},      {"#a5cec6", 9}, {"#ffe773", 10}, {"gold", 10},
        {"#f00", 1},    {"#ff0000ff", 1},
    };
    for (const auto& [colour, label] : cases) {
        EXPECT_EQ(LabelIndexForColour(colour), label) << colour;
    }
}

class IcalSafeItemTest : public IcalStoreTest {
  protected:
    void SetUp() override {
        WriteItem("c", "serie.ics",
                  Calendar({Event("s", {"DTSTART:20041201T090000", "DTEND:20041201T100000",
                                        "SUMMARY:Jour fixe", "RRULE:FREQ=WEEKLY",
                                        "DESCRIPTION:Protokoll reihum", "COLOR:green"}),
                            Event("s", {"RECURRENCE-ID:20041208T090000", "DTSTART:20041208T110000",
                                        "SUMMARY:Jour fixe spät", "DESCRIPTION:Diesmal mit Gästen",
                                        "COLOR:blue"}),
                            Event("s", {"RECURRENCE-ID:20041215T090000", "DTSTART:20041215T110000",
                                        "SUMMARY:ohne Text"})}));
        WriteItem("c", "single.ics",
                  Calendar({Event(
                      "e", {"DTSTART:20041202T090000", "SUMMARY:Einzeln", "DESCRIPTION:Text"})}));
        WriteItem("t", "task.ics",
                  Calendar({"BEGIN:VTODO", "UID:t", "SUMMARY:Aufgabe", "DESCRIPTION:Was zu tun ist",
                            "END:VTODO"}));
    }

    std::shared_ptr<OlAppointmentItem> OnDay(const std::string& day) {
        auto items = Collection("c")->Items();
        items->SetIncludeRecurrences(true);
        return std::dynamic_pointer_cast<OlAppointmentItem>(items->Find(DayFilter(day)));
    }

    IcalSafeItemLibrary library_;
};

TEST_F(IcalSafeItemTest, BodiesAsThePageReadsThem) {
    auto safe = library_.CreateSafeAppointmentItem();
    const std::vector<std::pair<std::string, std::string>> days = {
        {"02.12.2004", "Text"},              // a single appointment: its own text
        {"01.12.2004", "Protokoll reihum"},  // an occurrence: the series' text
        {"08.12.2004", "Protokoll reihum"},  // the page reads an exception's series' text
        {"15.12.2004", "Protokoll reihum"},
    };
    for (const auto& [day, body] : days) {
        auto appointment = OnDay(day);
        ASSERT_NE(appointment, nullptr) << day;
        safe->SetItem(appointment);
        EXPECT_EQ(ReadAppointmentBody(*appointment, *safe), body) << day;
        EXPECT_EQ(safe->Item(), appointment) << "pointed back at the item";
    }
    auto exception = OnDay("08.12.2004");
    safe->SetItem(exception);
    EXPECT_EQ(safe->Body(), "Diesmal mit Gästen") << "its own text when asked directly";
    safe->SetItem(OnDay("15.12.2004"));
    EXPECT_EQ(safe->Body(), "Protokoll reihum");

    auto listed = Collection("c")->Items();
    auto series =
        std::dynamic_pointer_cast<OlAppointmentItem>(listed->Find("[Subject] = 'Jour fixe'"));
    ASSERT_NE(series, nullptr);
    safe->SetItem(series);
    EXPECT_EQ(ReadAppointmentBody(*series, *safe), "") << "a master contributes none";
}

TEST_F(IcalSafeItemTest, LabelColoursFromTheItemsColour) {
    auto safe = library_.CreateSafeAppointmentItem();
    const std::vector<std::pair<std::string, int>> days = {
        {"02.12.2004", 0}, {"01.12.2004", 3}, {"08.12.2004", 2}, {"15.12.2004", 3}};
    for (const auto& [day, label] : days) {
        auto appointment = OnDay(day);
        safe->SetItem(appointment);
        EXPECT_EQ(ReadLabelColourIndex(*appointment, *safe), label) << day;
    }
    EXPECT_EQ(safe->GetIDsFromNames("{00000000-0000-0000-0000-000000000000}", 1), 0);
}

TEST_F(IcalSafeItemTest, TaskBodiesAndItemsOfOtherSources) {
    auto task = Collection("t")->Items()->Item(1);
    auto safe_task = library_.CreateSafeTaskItem();
    safe_task->SetItem(task);
    EXPECT_EQ(ReadTaskBody(*safe_task), "Was zu tun ist");

    auto safe = library_.CreateSafeAppointmentItem();
    EXPECT_THROW(safe->Body(), OutlookError) << "no item set";
    auto outlook = FakeOutlook::Create();
    safe->SetItem(outlook->AddCalendar("K")->AddAppointment({.subject = "fremd"}));
    EXPECT_THROW(safe->Body(), OutlookError);
    EXPECT_NO_THROW(library_.CreateMapiUtils()->Cleanup());
}

TEST_F(IcalSafeItemTest, TheSeriesStartComesFromThePattern) {
    auto occurrence = OnDay("15.12.2004");
    EXPECT_EQ(SeriesStartDate(*occurrence, *Collection("c"), [](const std::string&) {}),
              At(2004, 12, 1));
}

}  // namespace
}  // namespace planwarte
