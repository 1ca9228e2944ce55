#include "adapters/ical/occurrence_cache.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>

#include "adapters/ical/ical_records.h"

namespace planwarte {

namespace {

// What an expansion covers beyond the span asked for: a page shows up to six weeks, and the
// pages next to it are asked for next.
constexpr double kMarginBeforeDays = 45.0;
constexpr double kMarginAfterDays = 120.0;
// A wall-clock time lies within a day of its local time, whatever the two zones.
constexpr double kZoneSlackDays = 1.0;

struct Candidate {
    icaltimetype start;
    long long key;
};

// Days since 30 December 1899 of the written fields, for quick comparisons.
double WrittenDays(const icaltimetype& time) {
    try {
        return EncodeDate(time.year, time.month, time.day).value +
               (time.hour * 3600 + time.minute * 60 + time.second) / 86400.0;
    } catch (const std::invalid_argument&) {
        return time.year < 1 ? -1e9 : 1e9;
    }
}

icaltimetype WithDate(icaltimetype time, DateTime day) {
    const CalendarDate date = DecodeDate(day);
    time.year = date.year;
    time.month = date.month;
    time.day = date.day;
    return time;
}

// The starts the rules and dates of a series produce whose written time lies in [from, to)
// give or take a day. When a rule gives more than an expansion may hold, `cut_at` is set to
// the written time where it was stopped: beyond it, the starts are not all there.
std::vector<Candidate> CollectStarts(const SeriesRule& rule, DateTime from, DateTime to,
                                     std::optional<double>& cut_at) {
    std::vector<Candidate> starts;
    std::set<long long> seen;
    const double low = from.value - kZoneSlackDays;
    const double high = to.value + kZoneSlackDays;
    const auto add = [&](const icaltimetype& start) {
        const double days = WrittenDays(start);
        if (days < low || days >= high) {
            return;
        }
        const long long key = InstantKey(start);
        if (seen.insert(key).second) {
            starts.push_back({start, key});
        }
    };
    add(rule.dtstart);
    for (const std::string& text : rule.rrules) {
        icalrecurrencetype recurrence = icalrecurrencetype_from_string(text.c_str());
        if (recurrence.freq == ICAL_NO_RECURRENCE) {
            continue;
        }
        icalrecur_iterator* iterator = icalrecur_iterator_new(recurrence, rule.dtstart);
        if (iterator == nullptr) {
            continue;
        }
        // Jump close to the span instead of stepping through the years before it; the
        // library cannot do that for a rule that counts its occurrences.
        if (recurrence.count == 0 && low - 1.0 > WrittenDays(rule.dtstart) && low - 1.0 > 1.0) {
            icalrecur_iterator_set_start(iterator, WithDate(rule.dtstart, DateTime(low - 1.0)));
        }
        std::size_t steps = 0;
        for (;;) {
            icaltimetype next = icalrecur_iterator_next(iterator);
            if (icaltime_is_null_time(next)) {
                break;
            }
            if (++steps > kMaxOccurrencesPerExpansion) {
                const double stopped = WrittenDays(next);
                cut_at = std::min(cut_at.value_or(stopped), stopped);
                break;
            }
            next.zone = rule.dtstart.zone;
            next.is_date = rule.dtstart.is_date;
            if (WrittenDays(next) >= high) {
                break;
            }
            add(next);
        }
        icalrecur_iterator_free(iterator);
    }
    for (const icaltimetype& date : rule.rdates) {
        add(date);
    }
    return starts;
}

}  // namespace

bool IsExcluded(const SeriesRule& rule, const icaltimetype& start, long long key) {
    for (const icaltimetype& excluded : rule.exdates) {
        if (excluded.is_date && !start.is_date) {
            // A date excludes the series' occurrence on that day, in the series' zone.
            if (excluded.year == start.year && excluded.month == start.month &&
                excluded.day == start.day) {
                return true;
            }
        } else if (InstantKey(excluded) == key) {
            return true;
        }
    }
    return false;
}

bool RepeatsWithinADay(const SeriesRule& rule) {
    for (const std::string& text : rule.rrules) {
        const icalrecurrencetype recurrence = icalrecurrencetype_from_string(text.c_str());
        if (recurrence.freq == ICAL_SECONDLY_RECURRENCE ||
            recurrence.freq == ICAL_MINUTELY_RECURRENCE ||
            recurrence.freq == ICAL_HOURLY_RECURRENCE) {
            return true;
        }
    }
    return false;
}

double LongestOccurrence(const EventRecord& record) {
    double longest = record.fields.end.value - record.fields.start.value;
    for (const EventOverride& override : record.overrides) {
        longest = std::max(longest, override.fields.end.value - override.fields.start.value);
    }
    return std::max(longest, 0.0);
}

void OccurrenceCache::Expand(const EventRecord& record, DateTime from, DateTime to) {
    occurrences_.clear();
    const SeriesRule& rule = *record.rule;
    std::set<long long> overridden;
    for (const EventOverride& override : record.overrides) {
        overridden.insert(InstantKey(override.recurrence_id));
    }
    std::optional<double> cut_at;
    for (const Candidate& candidate : CollectStarts(rule, from, to, cut_at)) {
        // An override stands for its occurrence, wherever it was moved to.
        if (overridden.count(candidate.key) || IsExcluded(rule, candidate.start, candidate.key)) {
            continue;
        }
        try {
            const DateTime start = ToLocalDateTime(candidate.start);
            if (start < from || start >= to) {
                continue;
            }
            const DateTime end = ToLocalDateTime(icaltime_add(candidate.start, rule.duration));
            occurrences_.push_back({start, std::max(start, end), -1});
        } catch (const std::invalid_argument&) {
            // An occurrence past the representable years does not exist for the program.
        }
    }
    // An override whose occurrence the rule does not produce is an occurrence of its own.
    for (std::size_t i = 0; i < record.overrides.size(); ++i) {
        const EventFields& fields = record.overrides[i].fields;
        if (!fields.cancelled && fields.start >= from && fields.start < to) {
            occurrences_.push_back({fields.start, fields.end, static_cast<int>(i)});
        }
    }
    std::stable_sort(occurrences_.begin(), occurrences_.end(),
                     [](const Occurrence& a, const Occurrence& b) { return a.start < b.start; });
    covered_from_ = from;
    // A cut expansion covers only up to where it was cut (less a day for the zones), so that a
    // later search beyond expands again instead of finding nothing there.
    covered_to_ = cut_at ? std::min(to, DateTime(*cut_at - kZoneSlackDays)) : to;
    expanded_ = true;
}

std::vector<Occurrence> OccurrenceCache::Between(const EventRecord& record, DateTime from,
                                                 DateTime to, bool with_margin) {
    std::lock_guard lock(mutex_);
    if (record.fields.cancelled || !record.rule) {
        return {};
    }
    if (max_duration_ < 0.0) {
        max_duration_ = LongestOccurrence(record);
    }
    const DateTime earliest(from.value - max_duration_);
    if (!expanded_ || earliest < covered_from_ || to > covered_to_) {
        // A series repeating within the day gets no margin: it would be thousands of
        // occurrences nobody asked for.
        const bool margin = with_margin && !RepeatsWithinADay(*record.rule);
        Expand(record, DateTime(earliest.value - (margin ? kMarginBeforeDays : 0.0)),
               DateTime(to.value + (margin ? kMarginAfterDays : 0.0)));
    }
    auto first = std::lower_bound(
        occurrences_.begin(), occurrences_.end(), earliest.value,
        [](const Occurrence& occurrence, double value) { return occurrence.start.value < value; });
    std::vector<Occurrence> found;
    for (auto it = first; it != occurrences_.end() && it->start < to; ++it) {
        if (it->end >= from) {
            found.push_back(*it);
        }
    }
    return found;
}

}  // namespace planwarte
