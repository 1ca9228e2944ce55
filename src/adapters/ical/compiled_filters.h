#pragma once

#include <memory>
#include <string>

#include "core/outlook/item_filter.h"
#include "core/outlook/item_filter_range.h"

// Every page build asks the same folders for the same days again, so each filter text is read
// once: the parsed filter and the span of time it can match in are kept by their text.
namespace planwarte {

struct CompiledFilter {
    ItemFilter filter;
    // The filter's range a day wider on each side: the indexes compare the stored day
    // numbers, which may be a rounding error off the filter's milliseconds and which before
    // 1900 run backwards within a day.
    ItemFilterRange range;
};

// The filter read in the default short date format, shared by every caller that gives the
// same text. Throws ItemFilterError as ParseItemFilter and RangeOf do; a text that fails is
// not kept, so it fails again the next time. Thread-safe.
std::shared_ptr<const CompiledFilter> CompiledFilterOf(const std::string& text);

}  // namespace planwarte
