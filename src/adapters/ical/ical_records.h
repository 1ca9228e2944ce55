#pragma once

#include <libical/ical.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "adapters/ical/occurrence_cache.h"
#include "adapters/ical/time_zones.h"
#include "core/common/date_time.h"

// What the reader keeps of an event or a to-do: the members the object model answers, in
// local time, and for a series what its occurrences are made from.
namespace planwarte {

// The first alarm of an item, relative to the item's start or end or at a fixed time.
struct AlarmDefinition {
    bool absolute = false;
    DateTime absolute_time{};
    double offset_days = 0.0;  // relative alarms: negative before the start (or end)
    bool related_end = false;
    std::optional<DateTime> acknowledged;  // the latest acknowledgement, local time
    std::optional<DateTime> snoozed_until;
};

struct Reminder {
    bool set = false;
    DateTime time{};
};

// The alarm of an item that runs from start to end; no alarm: not set, at the start.
Reminder ReminderOf(const std::optional<AlarmDefinition>& alarm, DateTime start, DateTime end);

struct EventFields {
    std::string subject;
    std::string location;
    std::string categories;  // joined with "; "
    std::string body;
    int label_colour = 0;  // 1..10, 0 for none
    DateTime start{};
    DateTime end{};
    bool all_day = false;
    int importance = 1;
    bool cancelled = false;
    std::optional<AlarmDefinition> alarm;
};

// The rule part of a series, in the time zone of its DTSTART.
struct SeriesRule {
    icaltimetype dtstart{};
    std::shared_ptr<const ZoneHolder> zones;  // keeps the file's time zones alive
    icaldurationtype duration{};
    std::vector<std::string> rrules;
    std::vector<icaltimetype> rdates;
    std::vector<icaltimetype> exdates;
    bool no_end = false;
};

struct EventOverride {
    icaltimetype recurrence_id{};
    EventFields fields;
};

struct EventRecord {
    EventFields fields;  // the single appointment, or the series' master
    std::optional<SeriesRule> rule;
    std::vector<EventOverride> overrides;
    // Filled on demand, shared by every snapshot that holds this record.
    std::shared_ptr<OccurrenceCache> occurrences;
};

struct TaskRecord {
    std::string subject;
    std::string body;
    int importance = 1;
    DateTime due{};  // the "no date" when there is none
    bool complete = false;
    std::optional<AlarmDefinition> alarm;
    DateTime alarm_base{};  // what a relative alarm counts from: the due date, else the start
};

// One item of a collection: an event (single or series with its overrides) or a to-do.
struct ItemRecord {
    std::string uid;
    std::string file_path;
    std::string entry_id;
    std::optional<EventRecord> event;
    std::optional<TaskRecord> task;
};

}  // namespace planwarte
