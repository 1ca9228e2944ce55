#include "adapters/ical/task_series.h"

#include <gtest/gtest.h>

#include "ical_test_support.h"

namespace planwarte {
namespace {

using ical_testing::At;
using ical_testing::ScopedTimeZone;

// A daily to-do from 7 December 2026, 9:00, without end; due at 18:00 each day.
TodoComponent DailyWithoutEnd() {
    TodoComponent master;
    master.uid = "taeglich";
    master.task.subject = "Post holen";
    master.has_dates = true;
    TodoRule rule;
    rule.rule.dtstart = icaltime_from_string("20261207T090000");
    rule.rule.rrules = {"FREQ=DAILY"};
    rule.rule.no_end = true;
    rule.rule.duration = icaldurationtype_from_int(9 * 3600);
    rule.has_start = true;
    rule.has_due = true;
    master.rule = rule;
    return master;
}

// Overrides marking the first `count` days done.
std::vector<TodoComponent> DoneDays(int count) {
    std::vector<TodoComponent> overrides;
    for (int day = 0; day < count; ++day) {
        TodoComponent done;
        done.uid = "taeglich";
        icaltimetype start = icaltime_from_string("20261207T090000");
        icaltime_adjust(&start, day, 0, 0, 0);
        done.recurrence_id = start;
        done.task.complete = true;
        overrides.push_back(done);
    }
    return overrides;
}

std::vector<const TodoComponent*> Pointers(const std::vector<TodoComponent>& components) {
    std::vector<const TodoComponent*> pointers;
    for (const TodoComponent& component : components) {
        pointers.push_back(&component);
    }
    return pointers;
}

TEST(TaskSeriesTest, TheSearchOfARuleWithoutEndIsBounded) {
    ScopedTimeZone zone;
    const std::vector<TodoComponent> overrides = DoneDays(5);
    std::vector<std::string> notes;
    const TaskRecord task =
        CurrentTaskOfSeries(DailyWithoutEnd(), Pointers(overrides), notes, /*max_searched=*/3);
    EXPECT_FALSE(task.complete) << "a series without end goes on past the search";
    EXPECT_NEAR(task.due.value, At(2026, 12, 10, 18).value, 1e-6)
        << "the first occurrence not looked at stands for it";
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("taeglich"), std::string::npos) << notes[0];
}

TEST(TaskSeriesTest, WithinTheBoundTheFirstOpenOccurrenceIsFound) {
    ScopedTimeZone zone;
    const std::vector<TodoComponent> overrides = DoneDays(5);
    std::vector<std::string> notes;
    const TaskRecord task =
        CurrentTaskOfSeries(DailyWithoutEnd(), Pointers(overrides), notes, /*max_searched=*/6);
    EXPECT_FALSE(task.complete);
    EXPECT_NEAR(task.due.value, At(2026, 12, 12, 18).value, 1e-6);
    EXPECT_TRUE(notes.empty());
}

TEST(TaskSeriesTest, ASecondOverrideOfTheSameOccurrenceIsNotedAndTheFirstCounts) {
    ScopedTimeZone zone;
    std::vector<TodoComponent> overrides = DoneDays(1);
    TodoComponent reopened = overrides[0];
    reopened.task.complete = false;
    overrides.push_back(reopened);
    std::vector<std::string> notes;
    const TaskRecord task = CurrentTaskOfSeries(DailyWithoutEnd(), Pointers(overrides), notes);
    EXPECT_NEAR(task.due.value, At(2026, 12, 8, 18).value, 1e-6);
    EXPECT_EQ(notes.size(), 1u);
}

}  // namespace
}  // namespace planwarte
