#include "adapters/ical/task_series.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "adapters/ical/occurrence_cache.h"
#include "adapters/ical/time_zones.h"

namespace planwarte {

namespace {

// The starts of a series in time order, each instant once: DTSTART (which always counts as
// the first), those of the rules and the RDATEs.
class OrderedStarts {
  public:
    explicit OrderedStarts(const SeriesRule& rule) : dtstart_(rule.dtstart), dates_(rule.rdates) {
        for (const std::string& text : rule.rrules) {
            icalrecurrencetype recurrence = icalrecurrencetype_from_string(text.c_str());
            if (recurrence.freq == ICAL_NO_RECURRENCE) {
                continue;
            }
            if (icalrecur_iterator* iterator = icalrecur_iterator_new(recurrence, rule.dtstart)) {
                rules_.push_back({iterator, std::nullopt});
                Advance(rules_.back());
            }
        }
        std::sort(dates_.begin(), dates_.end(), [](const icaltimetype& a, const icaltimetype& b) {
            return InstantKey(a) < InstantKey(b);
        });
    }
    ~OrderedStarts() {
        for (RuleSource& source : rules_) {
            icalrecur_iterator_free(source.iterator);
        }
    }
    OrderedStarts(const OrderedStarts&) = delete;
    OrderedStarts& operator=(const OrderedStarts&) = delete;

    std::optional<icaltimetype> Next() {
        // Every source runs forward in time, so the same instant from two of them comes out
        // twice in a row.
        for (;;) {
            const std::optional<icaltimetype> next = TakeEarliest();
            if (!next) {
                return std::nullopt;
            }
            const long long key = InstantKey(*next);
            if (!last_key_ || *last_key_ != key) {
                last_key_ = key;
                return next;
            }
        }
    }

  private:
    struct RuleSource {
        icalrecur_iterator* iterator;
        std::optional<icaltimetype> head;
    };

    void Advance(RuleSource& source) const {
        icaltimetype next = icalrecur_iterator_next(source.iterator);
        if (icaltime_is_null_time(next)) {
            source.head.reset();
            return;
        }
        next.zone = dtstart_.zone;
        next.is_date = dtstart_.is_date;
        source.head = next;
    }

    std::optional<icaltimetype> TakeEarliest() {
        std::optional<icaltimetype> earliest;
        const auto consider = [&](const icaltimetype& candidate) {
            if (!earliest || InstantKey(candidate) < InstantKey(*earliest)) {
                earliest = candidate;
                return true;
            }
            return false;
        };
        enum class From { kNone, kDtstart, kDate, kRule } from = From::kNone;
        std::size_t rule_index = 0;
        if (!dtstart_taken_ && consider(dtstart_)) {
            from = From::kDtstart;
        }
        if (next_date_ < dates_.size() && consider(dates_[next_date_])) {
            from = From::kDate;
        }
        for (std::size_t i = 0; i < rules_.size(); ++i) {
            if (rules_[i].head && consider(*rules_[i].head)) {
                from = From::kRule;
                rule_index = i;
            }
        }
        switch (from) {
            case From::kDtstart:
                dtstart_taken_ = true;
                break;
            case From::kDate:
                ++next_date_;
                break;
            case From::kRule:
                Advance(rules_[rule_index]);
                break;
            case From::kNone:
                break;
        }
        return earliest;
    }

    icaltimetype dtstart_;
    bool dtstart_taken_ = false;
    std::vector<icaltimetype> dates_;  // in time order
    std::size_t next_date_ = 0;
    std::vector<RuleSource> rules_;
    std::optional<long long> last_key_;
};

std::string OccurrenceText(const std::string& uid, const icaltimetype& time) {
    const char* text = icaltime_as_ical_string(time);
    return "to-do UID " + uid + " (" + (text ? text : "") + ")";
}

// The task of the occurrence starting at `start`: the master's moved to the occurrence, or
// its override's with what the override leaves out taken from the master. Nullopt for an
// occurrence beyond the representable years.
std::optional<TaskRecord> OccurrenceTask(const TodoComponent& master, const icaltimetype& start,
                                         const TodoComponent* override_of_it) {
    TaskRecord task = master.task;
    if (override_of_it != nullptr) {
        task = override_of_it->task;
        if (!override_of_it->has_subject) {
            task.subject = master.task.subject;
        }
        if (!override_of_it->has_body) {
            task.body = master.task.body;
        }
        if (!override_of_it->has_importance) {
            task.importance = master.task.importance;
        }
        if (override_of_it->has_dates) {
            return task;
        }
    }
    const TodoRule& rule = *master.rule;
    try {
        const DateTime first = ToLocalDateTime(start);
        if (rule.has_start && rule.has_due) {
            task.due = ToLocalDateTime(icaltime_add(start, rule.rule.duration));
        } else if (rule.has_due) {
            task.due = first;
        }
        // A relative alarm counts from the due time, else from the start.
        task.alarm_base = rule.has_due ? task.due : first;
    } catch (const std::invalid_argument&) {
        return std::nullopt;
    }
    return task;
}

}  // namespace

TaskRecord CurrentTaskOfSeries(const TodoComponent& master,
                               const std::vector<const TodoComponent*>& overrides,
                               std::vector<std::string>& notes, std::size_t max_searched) {
    if (master.task.complete) {
        return master.task;
    }
    std::map<long long, const TodoComponent*> override_at;
    for (const TodoComponent* override_of_one : overrides) {
        if (!override_at.emplace(InstantKey(*override_of_one->recurrence_id), override_of_one)
                 .second) {
            notes.push_back("a second override of " +
                            OccurrenceText(master.uid, *override_of_one->recurrence_id) +
                            " is left out");
        }
    }
    const SeriesRule& rule = master.rule->rule;
    OrderedStarts starts(rule);
    std::optional<TaskRecord> last_done;
    // Every occurrence is done: the series ends with its last one.
    const auto all_done = [&] {
        TaskRecord done = last_done.value_or(master.task);
        done.complete = true;
        return done;
    };
    for (std::size_t searched = 0;; ++searched) {
        const std::optional<icaltimetype> start = starts.Next();
        if (!start) {
            return all_done();
        }
        const long long key = InstantKey(*start);
        const auto found = override_at.find(key);
        const TodoComponent* override_of_it = found == override_at.end() ? nullptr : found->second;
        std::optional<TaskRecord> task = OccurrenceTask(master, *start, override_of_it);
        if (!task) {
            // As for events: an occurrence past the representable years does not exist.
            notes.push_back("the occurrences of to-do UID " + master.uid +
                            " after the year 9999 are left out");
            return all_done();
        }
        if (searched == max_searched) {
            notes.push_back("the first " + std::to_string(max_searched) +
                            " occurrences of to-do UID " + master.uid +
                            " are done or left out; the next one is shown");
            task->complete = false;
            return *task;
        }
        if (IsExcluded(rule, *start, key)) {
            continue;
        }
        if (!task->complete) {
            return *task;
        }
        last_done = std::move(task);
    }
}

}  // namespace planwarte
