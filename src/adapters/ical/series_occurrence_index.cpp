#include "adapters/ical/series_occurrence_index.h"

#include <algorithm>

namespace planwarte {

namespace {

// As for one series: the pages before and after the one asked for are asked for next.
constexpr double kMarginBeforeDays = 45.0;
constexpr double kMarginAfterDays = 120.0;
// A span asked for next to the indexed one widens it, up to this length; a span far away
// starts a new index, so that paging to a distant year does not index the years between.
constexpr double kMaxCoveredDays = 200.0;

}  // namespace

void SeriesOccurrenceIndex::Build(const std::vector<std::shared_ptr<const ItemRecord>>& listing,
                                  const std::vector<std::size_t>& series, DateTime from,
                                  DateTime to) {
    entries_.clear();
    asked_directly_.clear();
    longest_days_ = 0.0;
    for (const std::size_t index : series) {
        const EventRecord& event = *listing[index]->event;
        if (RepeatsWithinADay(*event.rule)) {
            asked_directly_.push_back(index);
            continue;
        }
        for (const Occurrence& occurrence :
             event.occurrences->Between(event, from, to, /*with_margin=*/false)) {
            longest_days_ = std::max(longest_days_, occurrence.end.value - occurrence.start.value);
            entries_.push_back({occurrence, index});
        }
    }
    std::stable_sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
        return a.occurrence.start < b.occurrence.start;
    });
    covered_from_ = from;
    covered_to_ = to;
    built_ = true;
}

std::vector<SeriesOccurrenceIndex::Entry> SeriesOccurrenceIndex::Between(
    const std::vector<std::shared_ptr<const ItemRecord>>& listing,
    const std::vector<std::size_t>& series, DateTime from, DateTime to) {
    std::lock_guard lock(mutex_);
    if (!built_ || from < covered_from_ || to > covered_to_) {
        DateTime wanted_from(from.value - kMarginBeforeDays);
        DateTime wanted_to(to.value + kMarginAfterDays);
        if (built_ &&
            std::max(covered_to_, wanted_to).value - std::min(covered_from_, wanted_from).value <=
                kMaxCoveredDays) {
            wanted_from = std::min(covered_from_, wanted_from);
            wanted_to = std::max(covered_to_, wanted_to);
        }
        Build(listing, series, wanted_from, wanted_to);
    }
    const DateTime earliest(from.value - longest_days_);
    auto it = std::lower_bound(
        entries_.begin(), entries_.end(), earliest,
        [](const Entry& entry, DateTime value) { return entry.occurrence.start < value; });
    std::vector<Entry> found;
    for (; it != entries_.end() && it->occurrence.start < to; ++it) {
        if (it->occurrence.end >= from) {
            found.push_back(*it);
        }
    }
    for (const std::size_t index : asked_directly_) {
        const EventRecord& event = *listing[index]->event;
        for (const Occurrence& occurrence : event.occurrences->Between(event, from, to)) {
            found.push_back({occurrence, index});
        }
    }
    return found;
}

}  // namespace planwarte
