#pragma once

#include <libical/ical.h>

#include <mutex>
#include <vector>

#include "core/common/date_time.h"

// The occurrences of a series in the span of time the searches last asked about, plus a
// margin so that the neighbouring days of a page need no new expansion. A series without end
// is never expanded further than asked.
namespace planwarte {

struct EventRecord;
struct SeriesRule;

struct Occurrence {
    DateTime start{};
    DateTime end{};
    int override_index = -1;  // into EventRecord::overrides; -1 for the master's contents
};

class OccurrenceCache {
  public:
    // Every occurrence that starts before `to` and ends at or after `from`, in start order;
    // occurrences outside may be among them. Without margin, a new expansion covers just the
    // span asked for: the caller keeps what lies around it itself.
    std::vector<Occurrence> Between(const EventRecord& record, DateTime from, DateTime to,
                                    bool with_margin = true);

  private:
    void Expand(const EventRecord& record, DateTime from, DateTime to);

    std::mutex mutex_;
    bool expanded_ = false;
    DateTime covered_from_{};  // every occurrence starting in [covered_from_, covered_to_)
    DateTime covered_to_{};
    double max_duration_ = -1.0;           // -1: not yet known
    std::vector<Occurrence> occurrences_;  // in start order
};

// An expansion stops after this many occurrences, whatever the rule says.
inline constexpr std::size_t kMaxOccurrencesPerExpansion = 100000;

// Whether a series repeats by the hour, minute or second: such a series is expanded only
// over the span asked for, never with a margin.
bool RepeatsWithinADay(const SeriesRule& rule);

// Whether an EXDATE takes out the occurrence starting at `start` (whose InstantKey is `key`).
bool IsExcluded(const SeriesRule& rule, const icaltimetype& start, long long key);

// The longest occurrence of a series in days: its own length or an override's.
double LongestOccurrence(const EventRecord& record);

}  // namespace planwarte
