#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/item_source_contract.h"
#include "core/common/date_time.h"
#include "core/outlook/object_model.h"

// What every calendar source must do with Find, FindNext, Sort, the recurrence switch and
// the item events on calendar and task folders, checked the same way for each
// implementation. A source under test makes a calendar or a task folder holding given items,
// in the given order, and changes the calendar folder it made last so that its sinks hear
// of it.
namespace planwarte::testing_support {

struct SourceAppointment {
    std::string subject;
    DateTime start{};
    DateTime end{};
    bool all_day = false;
    int weekly_count = 0;  // a weekly series of that many occurrences; 0 for one appointment
};

struct SourceTask {
    std::string subject;
    std::optional<DateTime> due{};
    bool complete = false;
};

class CalendarSourceUnderTest : public ChangingSourceUnderTest {
  public:
    virtual std::shared_ptr<OlItems> CalendarItems(const std::vector<SourceAppointment>& items) = 0;
    virtual std::shared_ptr<OlItems> TaskItems(const std::vector<SourceTask>& items) = 0;
    virtual void AddAppointment(const SourceAppointment& item) = 0;
};

inline std::string ContractDayFilter(const std::string& day) {
    return "([Start] >= '#" + day + " 0:00#' AND [Start] <= '#" + day + " 23:59#') OR " +
           "([Start] <= '#" + day + " 0:00#' AND [End] > '#" + day + " 0:00#')";
}

// Two appointments start at ten, so that the sort shows which of them it keeps first.
inline std::vector<SourceAppointment> ContractWeek() {
    const auto at = [](int day, int hour, int minute = 0) {
        return EncodeDateTime(2004, 12, day, hour, minute);
    };
    return {
        {"Zahnarzt", at(8, 10), at(8, 11)},
        {"Frühstück", at(8, 8), at(8, 9)},
        {"Chor", at(1, 19, 30), at(1, 21, 30), false, 3},
        {"Auch zehn", at(8, 10), at(8, 10, 30)},
        {"Feiertag", EncodeDate(2004, 12, 8), EncodeDate(2004, 12, 9), true},
        {"Morgen", at(9, 9), at(9, 10)},
    };
}

inline void CheckFindAndSort(CalendarSourceUnderTest& source) {
    auto items = source.CalendarItems(ContractWeek());
    items->SetIncludeRecurrences(true);
    CheckSearchAndSort(*items,
                       {.filter = ContractDayFilter("08.12.2004"),
                        .found = {"Zahnarzt", "Frühstück", "Chor", "Auch zehn", "Feiertag"},
                        .sort_by = "Start",
                        .ascending = {"Feiertag", "Frühstück", "Zahnarzt", "Auch zehn", "Chor"},
                        .descending = {"Chor", "Zahnarzt", "Auch zehn", "Frühstück", "Feiertag"},
                        .lacking = "[DueDate]",
                        .first_by_subject = "Auch zehn",
                        .last_by_subject = "Zahnarzt"});
}

inline void CheckRecurrences(CalendarSourceUnderTest& source) {
    auto items = source.CalendarItems(ContractWeek());
    items->Sort("[Start]", false);
    struct Case {
        const char* day;
        bool include;
        bool finds_series;
    };
    const std::vector<Case> cases = {
        {"01.12.2004", false, true}, {"08.12.2004", false, false}, {"15.12.2004", false, false},
        {"01.12.2004", true, true},  {"08.12.2004", true, true},   {"15.12.2004", true, true},
        {"22.12.2004", true, false}, {"24.11.2004", true, false},
    };
    for (const Case& c : cases) {
        items->SetIncludeRecurrences(c.include);
        const std::vector<std::string> found = ContractFindAll(*items, ContractDayFilter(c.day));
        const bool has_series = std::find(found.begin(), found.end(), "Chor") != found.end();
        EXPECT_EQ(has_series, c.finds_series) << c.day << (c.include ? " with" : " without");
    }
    items->SetIncludeRecurrences(true);
    auto occurrence = std::dynamic_pointer_cast<OlAppointmentItem>(
        items->Find("[Subject] = 'Chor' AND " + ContractDayFilter("15.12.2004")));
    ASSERT_NE(occurrence, nullptr);
    EXPECT_EQ(occurrence->GetRecurrenceState(), RecurrenceState::Occurrence);
    EXPECT_EQ(occurrence->Start(), EncodeDateTime(2004, 12, 15, 19, 30));
    EXPECT_EQ(items->Count(), 6) << "Count lists a series once";
}

inline void CheckFaultyFilters(CalendarSourceUnderTest& source) {
    auto items = source.CalendarItems(ContractWeek());
    items->SetIncludeRecurrences(true);
    // The second names days with no item, so that the fault shows without one to test.
    CheckRejectedFilters(
        *items, {"[Nix] = 1", "[Nix] = 1 AND " + ContractDayFilter("08.12.2090"), "[Start] >="});
}

inline void CheckTasks(CalendarSourceUnderTest& source) {
    auto items = source.TaskItems({
        {"Ohne Datum", std::nullopt},
        {"Morgen", EncodeDate(2004, 12, 9)},
        {"Heute fertig", EncodeDate(2004, 12, 8), true},
        {"Heute offen", EncodeDate(2004, 12, 8)},
    });
    items->Sort("[DueDate]", false);
    EXPECT_EQ(ContractFindAll(*items, "[DueDate] = '#08.12.2004#' AND [Complete] = False"),
              std::vector<std::string>{"Heute offen"});
    EXPECT_EQ(ContractFindAll(*items, "[Complete] = False"),
              (std::vector<std::string>{"Heute offen", "Morgen", "Ohne Datum"}));
    EXPECT_EQ(ContractFindAll(*items, "[DueDate] = '#08.12.2004#' OR [DueDate] = '#09.12.2004#'"),
              (std::vector<std::string>{"Heute fertig", "Heute offen", "Morgen"}));
    EXPECT_THROW(items->Sort("[Start]", false), OutlookError);
}

inline void CheckEvents(CalendarSourceUnderTest& source) {
    auto items = source.CalendarItems({ContractWeek().front()});
    CheckItemEvents(*items, source, [&] {
        source.AddAppointment(
            {"Neu", EncodeDateTime(2004, 12, 10, 9, 0), EncodeDateTime(2004, 12, 10, 10, 0)});
    });
}

}  // namespace planwarte::testing_support
