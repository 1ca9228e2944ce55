#include "core/page/page_context.h"

#include <limits>

namespace planwarte {

DateTime TagDay(const PageContext& context) {
    return DateTime(context.layout.first_shown_day.value + context.day_offset);
}

bool TagDayIsToday(const PageContext& context) {
    return IsSameDay(TagDay(context), context.now);
}

void TakeDayOffset(PageContext& context, const TagParameters& parameters, int fallback) {
    // The offset is a 16-bit value. A number beyond that range counts as no number at all
    // rather than wrapping round to a day the template never asked for.
    int offset = parameters.IntegerValue("DATEOFFSET", fallback);
    if (offset < std::numeric_limits<std::int16_t>::min() ||
        offset > std::numeric_limits<std::int16_t>::max()) {
        offset = fallback;
    }
    context.day_offset = static_cast<std::int16_t>(offset);
}

}  // namespace planwarte
