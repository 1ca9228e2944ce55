#pragma once

#include <libical/ical.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "adapters/ical/ical_records.h"

// A repeating to-do is shown as one task standing for its series, at its current occurrence:
// the earliest one that is not done yet, with what an override says of that occurrence.
namespace planwarte {

// The rule of a repeating to-do. Its occurrences are those of DTSTART, or of DUE when the
// to-do has no start; the rule's duration leads from an occurrence's start to its due time.
struct TodoRule {
    SeriesRule rule;
    bool has_start = false;
    bool has_due = false;
};

// One VTODO as read: a plain to-do, the master of a series or the override of one occurrence.
struct TodoComponent {
    std::string uid;
    std::optional<icaltimetype> recurrence_id;  // set for an override
    TaskRecord task;                            // as the component says of itself
    // What the component writes itself; an override takes what it leaves out from its
    // series, the dates from its occurrence.
    bool has_dates = false;  // DUE or DTSTART
    bool has_subject = false;
    bool has_body = false;
    bool has_importance = false;
    std::optional<TodoRule> rule;  // set for the master of a series
};

// A series whose occurrences are all done before this many have been looked at is left open,
// at the first occurrence not looked at: a rule without end would be searched forever.
inline constexpr std::size_t kMaxTodoOccurrencesSearched = 100000;

// The task standing for the series of `master` (which carries a rule) with its overrides.
// Complete when the master is (the whole series was completed) or every occurrence is done;
// then it shows the last occurrence. Faults and a search cut short go to the notes.
TaskRecord CurrentTaskOfSeries(const TodoComponent& master,
                               const std::vector<const TodoComponent*>& overrides,
                               std::vector<std::string>& notes,
                               std::size_t max_searched = kMaxTodoOccurrencesSearched);

}  // namespace planwarte
