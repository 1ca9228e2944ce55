#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "adapters/ical/ical_records.h"
#include "adapters/ical/occurrence_cache.h"

// The occurrences of all series of one reading of a collection over a span of time, in start
// order. A page asks every folder for every day; with thousands of series, asking each series
// for each day costs more than the day's few occurrences, so a day's search looks them up here.
namespace planwarte {

class SeriesOccurrenceIndex {
  public:
    struct Entry {
        Occurrence occurrence;
        std::size_t listing_index = 0;  // the series' index in the reading's listing
    };

    // Every occurrence of the series (`series` indexes into `listing`) that starts before `to`
    // and ends at or after `from`; those of series repeating within a day come last. The caller
    // passes the same reading on every call: what is indexed belongs to it. Thread-safe.
    std::vector<Entry> Between(const std::vector<std::shared_ptr<const ItemRecord>>& listing,
                               const std::vector<std::size_t>& series, DateTime from, DateTime to);

  private:
    void Build(const std::vector<std::shared_ptr<const ItemRecord>>& listing,
               const std::vector<std::size_t>& series, DateTime from, DateTime to);

    std::mutex mutex_;
    bool built_ = false;
    DateTime covered_from_{};  // every occurrence overlapping [covered_from_, covered_to_)
    DateTime covered_to_{};
    double longest_days_ = 0.0;   // the longest indexed occurrence
    std::vector<Entry> entries_;  // in start order
    // Series repeating within a day: a margin of months would be thousands of their
    // occurrences, so each search asks them for its own span.
    std::vector<std::size_t> asked_directly_;
};

}  // namespace planwarte
