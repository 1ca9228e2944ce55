#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/common/date_time.h"
#include "core/outlook/item_filter.h"

// The span of time a filter can match in, so that a search looks only at the items and
// occurrences that lie in it. The filter is not read apart from its date literals: which
// items it can match outside the span is asked of the shared evaluator itself, on stand-in
// items that lie wholly before or wholly after every date it names.
namespace planwarte {

struct SearchWindow {
    // Items whose times all lie before `from`, or all at or after `to`, cannot match.
    bool bounded = false;
    DateTime from{};
    DateTime to{};
    // The latest date the filter names; nullopt when it names none.
    std::optional<DateTime> latest;
};

// Throws ItemFilterError as the evaluator does for a filter it cannot evaluate.
SearchWindow WindowOf(const ItemFilter& filter);

// The dates written as '#...#' literals in a filter text; nullopt when one of them does not
// read as a date.
std::optional<std::vector<DateTime>> DateLiterals(const std::string& text);

}  // namespace planwarte
