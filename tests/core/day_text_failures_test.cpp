#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "day_text_world.h"

namespace planwarte {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using testing_support::At;
using testing_support::DayTextWorld;

// The subjects that made it into the text.
std::vector<std::string> ShownSubjects(const std::string& text) {
    std::vector<std::string> shown;
    for (const char* subject : {"Geburtstag Erster", "Zweiter", "Aufgabe eins", "Aufgabe zwei"}) {
        if (text.find(std::string(subject) + "<br>") != std::string::npos) {
            shown.push_back(subject);
        }
    }
    return shown;
}

struct FailureCase {
    const char* member;  // the call that fails once
    int nth;             // which of its calls from the start of the day's text
    std::string trace;
    std::vector<std::string> shown;
};

// A calendar with two appointments and a task folder with two tasks due on the day; one call
// of the source fails, and the day's text goes on as far as that failure allows.
TEST(DayTextFailuresTest, EachFailureIsTracedWithItsMarkerAndSkipsOnlyItsPart) {
    const std::vector<std::string> all = {"Geburtstag Erster", "Zweiter", "Aufgabe eins",
                                          "Aufgabe zwei"};
    const std::vector<std::string> tasks_only = {"Aufgabe eins", "Aufgabe zwei"};
    const std::vector<FailureCase> cases = {
        {"Name", 1, "_19_Name: injected failure", tasks_only},
        {"Items", 1, "_8_Items: injected failure", tasks_only},
        {"SetColumns", 1, "_897_SetColumns: injected failure", all},
        {"Sort", 1, "_9_Sort: injected failure", tasks_only},
        {"SetIncludeRecurrences", 1, "_9_SetIncludeRecurrences: injected failure", tasks_only},
        {"Find", 1, "_9_Find: injected failure", tasks_only},
        {"Categories",
         1,
         "_11_Categories: injected failure",
         {"Zweiter", "Aufgabe eins", "Aufgabe zwei"}},
        {"IsRecurring", 1, "_10_IsRecurring: injected failure", all},
        {"FindNext",
         1,
         "_12_FindNext: injected failure",
         {"Geburtstag Erster", "Aufgabe eins", "Aufgabe zwei"}},
        {"Name", 2, "_20_:Name: injected failure", {"Geburtstag Erster", "Zweiter"}},
        {"Items", 2, "_13_Items: injected failure", {"Geburtstag Erster", "Zweiter"}},
        {"Sort", 2, "_13_Sort: injected failure", {"Geburtstag Erster", "Zweiter"}},
        {"Find", 2, "_13_Find: injected failure", {"Geburtstag Erster", "Zweiter"}},
        {"DueDate",
         1,
         "_14_DueDate: injected failure",
         {"Geburtstag Erster", "Zweiter", "Aufgabe zwei"}},
        {"FindNext",
         3,
         "_15_FindNext: injected failure",
         {"Geburtstag Erster", "Zweiter", "Aufgabe eins"}},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(std::string(c.member) + " #" + std::to_string(c.nth));
        DayTextWorld world;
        auto calendar = world.AddCalendar("Kalender");
        calendar->AddAppointment({.subject = "Geburtstag Erster",
                                  .start = At(2004, 12, 8, 10),
                                  .end = At(2004, 12, 8, 11)});
        calendar->AddAppointment(
            {.subject = "Zweiter", .start = At(2004, 12, 8, 12), .end = At(2004, 12, 8, 13)});
        auto tasks = world.AddTaskFolder("Aufgaben");
        tasks->AddTask({.subject = "Aufgabe eins", .due_date = At(2004, 12, 8)});
        tasks->AddTask({.subject = "Aufgabe zwei", .due_date = At(2004, 12, 8)});
        world.outlook->State().FailCall(c.member, c.nth);

        const std::string text = DayText(world.Sources(), At(2004, 12, 8));
        EXPECT_THAT(world.traces, ElementsAre(c.trace));
        EXPECT_THAT(ShownSubjects(text), ElementsAreArray(c.shown));
    }
}

TEST(DayTextFailuresTest, UnreadableBodyIsTracedAndLeavesTheTooltipWithoutIt) {
    DayTextWorld world;
    world.safe_items.SetReadsFail(true);
    world.AddCalendar("Kalender")
        ->AddAppointment({.subject = "Zahnarzt",
                          .start = At(2004, 12, 8, 14, 30),
                          .end = At(2004, 12, 8, 15),
                          .body = "geheim"});
    const auto lines = world.DayLines(At(2004, 12, 8));
    ASSERT_EQ(world.traces.size(), 1u);
    EXPECT_TRUE(world.traces[0].starts_with("_7_")) << world.traces[0];
    ASSERT_GE(lines.size(), 2u);
    EXPECT_THAT(lines[1], HasSubstr("15:00 Uhr\nkeine weiteren Informationen\" >"));
}

}  // namespace
}  // namespace planwarte
