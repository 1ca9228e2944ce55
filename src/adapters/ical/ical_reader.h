#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "adapters/ical/ical_records.h"

// Reads the events and to-dos of one .ics file's text.
namespace planwarte {

struct ReadResult {
    // One record per UID: a single event, a series with its overrides, or a to-do. The
    // records' file_path and entry_id are left for the caller.
    std::vector<ItemRecord> items;
    // What was read with a fault or left out while the rest of the file stands.
    std::vector<std::string> notes;
    // Set when the file yields nothing usable; it is skipped then.
    std::string error;
};

ReadResult ReadCalendarText(std::string_view text);

}  // namespace planwarte
