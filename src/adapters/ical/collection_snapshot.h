#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "adapters/ical/ical_records.h"
#include "adapters/ical/series_occurrence_index.h"

// The items of one collection as they stood at one reading, arranged for the searches:
// single appointments by start, series apart, tasks by due date. A snapshot never changes;
// a new reading makes a new one, so a search runs on one consistent state.
namespace planwarte {

struct CollectionSnapshot {
    int item_type = 1;
    // Every item of the folder's kind, in file order: what Count and Item list.
    std::vector<std::shared_ptr<const ItemRecord>> listing;
    // Indexes into `listing`.
    std::vector<std::size_t> short_singles_by_start;  // lasting at most kLongEventDays
    std::vector<std::size_t> long_singles;
    std::vector<std::size_t> series;
    std::vector<std::size_t> tasks_by_due;
    std::map<std::string, std::size_t> by_entry_id;
    // The occurrences of `series` around the days searched last; filled by the searches.
    std::shared_ptr<SeriesOccurrenceIndex> series_occurrences =
        std::make_shared<SeriesOccurrenceIndex>();
};

// Single appointments longer than this are searched apart from the others.
inline constexpr double kLongEventDays = 2.0;

// `items` in file order; items of the other kind are left out (counted in `left_out`).
std::shared_ptr<const CollectionSnapshot> MakeSnapshot(
    int item_type, const std::vector<std::shared_ptr<const ItemRecord>>& items,
    std::size_t* left_out);

}  // namespace planwarte
