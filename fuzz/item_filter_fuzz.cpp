// Feeds arbitrary text to the filter parser that every calendar source evaluates Find with: no
// input may crash it, and a filter it accepts must evaluate against items of every kind of
// value, answering or reporting ItemFilterError, never anything else.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/common/date_time.h"
#include "core/outlook/item_filter.h"

namespace {

// One property of each value kind the object model hands out, and one it lacks.
std::optional<planwarte::Variant> Property(const std::string& name) {
    if (name == "Subject") {
        return planwarte::Variant(std::string("Zahnarzt"));
    }
    if (name == "Start" || name == "ReceivedTime") {
        return planwarte::Variant(planwarte::EncodeDateTime(2004, 12, 8, 10, 30));
    }
    if (name == "Complete" || name == "UnRead") {
        return planwarte::Variant(true);
    }
    if (name == "Importance") {
        return planwarte::Variant(std::int32_t{2});
    }
    return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const planwarte::ItemFilter filter = planwarte::ParseItemFilter(text);
        filter.Matches(Property);
    } catch (const planwarte::ItemFilterError&) {
        // A refused filter is the expected answer to most inputs.
    }
    return 0;
}
