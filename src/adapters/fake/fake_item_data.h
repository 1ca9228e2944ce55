#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/common/date_time.h"
#include "core/outlook/object_model.h"

// The contents of the fake items, written by tests with designated initialisers in the
// order of the members, e.g. folder->AddAppointment({.subject = "Zahnarzt", .start = s,
// .end = e}).
namespace planwarte {

// The object model's "no date" (1 January 4501), e.g. the due date of a task without one.
inline constexpr DateTime kFakeNoDate{949998.0};

enum class FakeRecurrenceKind { Daily, Weekly, Monthly, Yearly };

// A series repeats its appointment every `interval` days, weeks, months or years from the
// appointment's own start (monthly and yearly on the same day number, on the last day of
// shorter months). It ends with the last occurrence starting on or before `until`, after
// `count` occurrences, or never when both are left zero; a series without end is expanded
// to its first kFakeMaxOccurrences occurrences.
struct FakeRecurrence {
    FakeRecurrenceKind kind = FakeRecurrenceKind::Daily;
    int interval = 1;
    DateTime until{};
    int count = 0;
};

inline constexpr int kFakeMaxOccurrences = 1000;

struct FakeAppointmentData {
    std::string subject{};
    DateTime start{};
    DateTime end{};
    std::string location{};
    std::string categories{};
    std::string body{};
    bool all_day = false;
    int importance = kImportanceNormal;
    bool reminder_set = false;
    DateTime reminder_time{};
    std::optional<int> label_colour{};  // the label named property; none when not set
    std::optional<FakeRecurrence> recurrence{};
    std::string entry_id{};  // empty: one is made up
};

struct FakeTaskData {
    std::string subject{};
    DateTime due_date = kFakeNoDate;
    bool complete = false;
    std::string body{};
    int importance = kImportanceNormal;
    bool reminder_set = false;
    DateTime reminder_time{};
    std::string entry_id{};  // empty: one is made up
};

struct FakeUserPropertyData {
    std::string name{};
    int type = 1;  // the object model's property type: 1 text, 6 Yes/No, ...
    Variant value{};
};

struct FakeMailData {
    std::string subject{};
    DateTime received_time{};
    bool unread = true;
    std::string body{};
    std::vector<FakeUserPropertyData> user_properties{};
    std::string entry_id{};  // empty: one is made up
};

}  // namespace planwarte
