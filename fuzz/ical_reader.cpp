// Feeds arbitrary bytes to the iCalendar reader and expands every series it reads over a few
// weeks: no input may crash either, and the occurrences found must lie in start order, each
// ending no earlier than it starts.
#include <stdlib.h>
#include <time.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "adapters/ical/ical_reader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ::setenv("TZ", "Europe/Berlin", 1);
    ::tzset();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const planwarte::ReadResult result =
        planwarte::ReadCalendarText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (result.error.empty() == result.items.empty()) {
        std::abort();  // either items or the reason why there are none
    }
    for (const planwarte::ItemRecord& item : result.items) {
        if (!item.event || !item.event->rule) {
            continue;
        }
        const planwarte::EventRecord& event = *item.event;
        const planwarte::DateTime from(event.fields.start.value + 30.0);
        const planwarte::DateTime to(from.value + 42.0);
        double last = -1e12;
        for (const planwarte::Occurrence& occurrence :
             event.occurrences->Between(event, from, to)) {
            if (occurrence.start.value < last || occurrence.end < occurrence.start) {
                std::abort();
            }
            last = occurrence.start.value;
        }
    }
    return 0;
}
