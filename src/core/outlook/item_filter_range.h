#pragma once

#include <optional>

#include "core/common/date_time.h"
#include "core/outlook/item_filter.h"

// The span of time a filter can match in, read from its comparisons of the time properties
// (Start, End, DueDate) with dates, so that a source need look only at the items and
// occurrences that lie in it. A comparison of anything else, and one with <>, says nothing
// about the times; AND narrows the span, OR widens it to take in both sides.
namespace planwarte {

struct ItemFilterRange {
    // Items whose times all lie before `from`, or all at or after `to`, cannot match. Only a
    // filter bounded on both sides is bounded; `from` is never after `to`.
    bool bounded = false;
    DateTime from{};
    DateTime to{};
    // The latest date the filter names (the start of its span); nullopt when it names none.
    std::optional<DateTime> latest;
};

// Throws ItemFilterError, as the evaluator does for every item, when a time property is
// compared with a value that is not a date.
ItemFilterRange RangeOf(const ItemFilter& filter);

}  // namespace planwarte
