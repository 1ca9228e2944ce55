#pragma once

#include <memory>
#include <string>

#include "adapters/ical/search_window.h"
#include "core/outlook/item_filter.h"

// Every page build asks the same folders for the same days again, so each filter text is read
// once: the parsed filter and the span of time it can match in are kept by their text.
namespace planwarte {

struct CompiledFilter {
    ItemFilter filter;
    SearchWindow window;
};

// The filter read in the default short date format, shared by every caller that gives the
// same text. Throws ItemFilterError as ParseItemFilter and WindowOf do; a text that fails is
// not kept, so it fails again the next time. Thread-safe.
std::shared_ptr<const CompiledFilter> CompiledFilterOf(const std::string& text);

}  // namespace planwarte
