#include "adapters/ical/collection_snapshot.h"

#include <algorithm>

#include "core/outlook/object_model.h"

namespace planwarte {

std::shared_ptr<const CollectionSnapshot> MakeSnapshot(
    int item_type, const std::vector<std::shared_ptr<const ItemRecord>>& items,
    std::size_t* left_out) {
    auto snapshot = std::make_shared<CollectionSnapshot>();
    snapshot->item_type = item_type;
    std::size_t skipped = 0;
    for (const std::shared_ptr<const ItemRecord>& item : items) {
        const bool fits =
            item_type == kItemTypeTask ? item->task.has_value() : item->event.has_value();
        if (!fits) {
            ++skipped;
            continue;
        }
        if (item->event && item->event->fields.cancelled) {
            continue;  // a cancelled appointment or series does not take place
        }
        const std::size_t index = snapshot->listing.size();
        snapshot->listing.push_back(item);
        snapshot->by_entry_id.emplace(item->entry_id, index);
        if (item->task) {
            snapshot->tasks_by_due.push_back(index);
        } else if (item->event->rule) {
            snapshot->series.push_back(index);
        } else if (item->event->fields.end.value - item->event->fields.start.value >
                   kLongEventDays) {
            snapshot->long_singles.push_back(index);
        } else {
            snapshot->short_singles_by_start.push_back(index);
        }
    }
    const auto& listing = snapshot->listing;
    std::stable_sort(snapshot->short_singles_by_start.begin(),
                     snapshot->short_singles_by_start.end(), [&](std::size_t a, std::size_t b) {
                         return listing[a]->event->fields.start < listing[b]->event->fields.start;
                     });
    std::stable_sort(snapshot->tasks_by_due.begin(), snapshot->tasks_by_due.end(),
                     [&](std::size_t a, std::size_t b) {
                         return listing[a]->task->due < listing[b]->task->due;
                     });
    if (left_out != nullptr) {
        *left_out = skipped;
    }
    return snapshot;
}

}  // namespace planwarte
