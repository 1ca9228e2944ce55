#include "adapters/ical/ical_reader.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <stdexcept>

#include "adapters/ical/label_colours.h"
#include "adapters/ical/task_series.h"
#include "core/common/utf8.h"

namespace planwarte {

namespace {

// The object model's "no date" (1 January 4501): the due date of a task without one.
constexpr DateTime kNoDate{949998.0};

struct ComponentDeleter {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using ComponentPtr = std::unique_ptr<icalcomponent, ComponentDeleter>;

void QuietLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { icalerror_set_errors_are_fatal(0); });
}

std::string Text(const char* text) {
    return text ? std::string(text) : std::string();
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return std::string();
    }
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::vector<icalcomponent*> Children(icalcomponent* parent, icalcomponent_kind kind) {
    std::vector<icalcomponent*> children;
    for (icalcomponent* c = icalcomponent_get_first_component(parent, kind); c != nullptr;
         c = icalcomponent_get_next_component(parent, kind)) {
        children.push_back(c);
    }
    return children;
}

std::vector<icalproperty*> Properties(icalcomponent* component, icalproperty_kind kind) {
    std::vector<icalproperty*> properties;
    for (icalproperty* p = icalcomponent_get_first_property(component, kind); p != nullptr;
         p = icalcomponent_get_next_property(component, kind)) {
        properties.push_back(p);
    }
    return properties;
}

icalproperty* XProperty(icalcomponent* component, const char* name) {
    for (icalproperty* p : Properties(component, ICAL_X_PROPERTY)) {
        const char* x_name = icalproperty_get_x_name(p);
        if (x_name != nullptr && std::string(x_name) == name) {
            return p;
        }
    }
    return nullptr;
}

// Joins folded lines, so that a character split across a fold is whole again before the
// text is checked for UTF-8.
std::string Unfolded(std::string_view text) {
    std::string joined;
    joined.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool crlf_fold = text[i] == '\r' && i + 2 < text.size() && text[i + 1] == '\n' &&
                               (text[i + 2] == ' ' || text[i + 2] == '\t');
        const bool lf_fold =
            text[i] == '\n' && i + 1 < text.size() && (text[i + 1] == ' ' || text[i + 1] == '\t');
        if (crlf_fold) {
            i += 2;
        } else if (lf_fold) {
            i += 1;
        } else {
            joined += text[i];
        }
    }
    return joined;
}

std::string Latin1ToUtf8(std::string_view text) {
    std::string converted;
    converted.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            converted += c;
        } else {
            converted += static_cast<char>(0xC0 | (byte >> 6));
            converted += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return converted;
}

// Reads the properties of one component in the zones of its file, collecting notes.
class ComponentReader {
  public:
    ComponentReader(const std::shared_ptr<const ZoneHolder>& zones, std::vector<std::string>& notes)
        : zones_(zones), notes_(notes) {}

    std::optional<icaltimetype> Time(icalcomponent* component, icalproperty_kind kind) {
        icalproperty* property = icalcomponent_get_first_property(component, kind);
        if (property == nullptr) {
            return std::nullopt;
        }
        icalvalue* value = icalproperty_get_value(property);
        if (value == nullptr) {
            return std::nullopt;
        }
        const icalvalue_kind value_kind = icalvalue_isa(value);
        if (value_kind != ICAL_DATETIME_VALUE && value_kind != ICAL_DATE_VALUE) {
            return std::nullopt;
        }
        return Zoned(property, icalvalue_get_datetime(value));
    }

    icaltimetype Zoned(icalproperty* property, icaltimetype value) {
        std::string unknown;
        const icaltimetype zoned = PropertyTime(property, value, *zones_, &unknown);
        if (!unknown.empty()) {
            notes_.push_back("unknown time zone " + unknown + ", read as local time");
        }
        return zoned;
    }

    std::optional<DateTime> LocalXTime(icalcomponent* component, const char* name) {
        icalproperty* property = XProperty(component, name);
        if (property == nullptr) {
            return std::nullopt;
        }
        const icaltimetype time = icaltime_from_string(Text(icalproperty_get_x(property)).c_str());
        if (icaltime_is_null_time(time) || !icaltime_is_valid_time(time)) {
            return std::nullopt;
        }
        return Local(time);
    }

    std::optional<DateTime> Local(const icaltimetype& time) {
        try {
            return ToLocalDateTime(time);
        } catch (const std::invalid_argument&) {
            return std::nullopt;
        }
    }

    std::optional<AlarmDefinition> Alarm(icalcomponent* component) {
        std::optional<AlarmDefinition> alarm;
        for (icalcomponent* valarm : Children(component, ICAL_VALARM_COMPONENT)) {
            icalproperty* trigger = icalcomponent_get_first_property(valarm, ICAL_TRIGGER_PROPERTY);
            if (trigger == nullptr) {
                continue;
            }
            const icaltriggertype value = icalproperty_get_trigger(trigger);
            AlarmDefinition definition;
            if (!icaltime_is_null_time(value.time)) {
                const std::optional<DateTime> at = Local(Zoned(trigger, value.time));
                if (!at) {
                    continue;
                }
                definition.absolute = true;
                definition.absolute_time = *at;
            } else {
                definition.offset_days = icaldurationtype_as_int(value.duration) / 86400.0;
                icalparameter* related =
                    icalproperty_get_first_parameter(trigger, ICAL_RELATED_PARAMETER);
                definition.related_end =
                    related != nullptr && icalparameter_get_related(related) == ICAL_RELATED_END;
            }
            if (icalproperty* acknowledged =
                    icalcomponent_get_first_property(valarm, ICAL_ACKNOWLEDGED_PROPERTY)) {
                definition.acknowledged =
                    Local(Zoned(acknowledged, icalproperty_get_acknowledged(acknowledged)));
            }
            alarm = definition;
            break;
        }
        if (!alarm) {
            return alarm;
        }
        // What Thunderbird writes instead: the last acknowledgement and a snooze on the item.
        if (const std::optional<DateTime> last_ack = LocalXTime(component, "X-MOZ-LASTACK")) {
            if (!alarm->acknowledged || *alarm->acknowledged < *last_ack) {
                alarm->acknowledged = last_ack;
            }
        }
        alarm->snoozed_until = LocalXTime(component, "X-MOZ-SNOOZE-TIME");
        return alarm;
    }

  private:
    std::shared_ptr<const ZoneHolder> zones_;
    std::vector<std::string>& notes_;
};

int ImportanceOfPriority(icalcomponent* component) {
    icalproperty* priority = icalcomponent_get_first_property(component, ICAL_PRIORITY_PROPERTY);
    if (priority == nullptr) {
        return 1;
    }
    const int value = icalproperty_get_priority(priority);
    if (value >= 1 && value <= 4) {
        return 2;
    }
    if (value >= 6 && value <= 9) {
        return 0;
    }
    return 1;
}

// CATEGORIES may come as several properties and as comma lists; shown joined by "; ".
std::string CategoriesOf(icalcomponent* component) {
    std::string joined;
    for (icalproperty* property : Properties(component, ICAL_CATEGORIES_PROPERTY)) {
        std::string values = Text(icalproperty_get_categories(property));
        std::size_t begin = 0;
        while (begin <= values.size()) {
            std::size_t comma = values.find(',', begin);
            if (comma == std::string::npos) {
                comma = values.size();
            }
            const std::string category = Trimmed(values.substr(begin, comma - begin));
            if (!category.empty()) {
                joined += (joined.empty() ? "" : "; ") + category;
            }
            begin = comma + 1;
        }
    }
    return joined;
}

int LabelOf(icalcomponent* component) {
    icalproperty* colour = icalcomponent_get_first_property(component, ICAL_COLOR_PROPERTY);
    return colour ? LabelIndexForColour(Text(icalproperty_get_color(colour))) : 0;
}

bool IsCancelled(icalcomponent* component) {
    return icalcomponent_get_first_property(component, ICAL_STATUS_PROPERTY) != nullptr &&
           icalcomponent_get_status(component) == ICAL_STATUS_CANCELLED;
}

bool Repeats(icalcomponent* component) {
    return icalcomponent_get_first_property(component, ICAL_RRULE_PROPERTY) != nullptr ||
           icalcomponent_get_first_property(component, ICAL_RDATE_PROPERTY) != nullptr;
}

// How many steps a search for the next occurrence may take: about a tenth of a second.
constexpr long long kMaxSearchSteps = 100000;
// How far ahead the days of a rule repeating within a day are looked at.
constexpr int kYearsOfDaysLookedAt = 8;

// The largest number of days between two days on which a rule repeating within a day occurs
// (from its first day on), over the years looked at; -1 when it occurs on none of them.
long long LargestGapInDays(const icalrecurrencetype& recurrence, const icaltimetype& first) {
    const auto unset = [](const short* list) { return list[0] == ICAL_RECURRENCE_ARRAY_MAX; };
    if (unset(recurrence.by_day) && unset(recurrence.by_month_day) &&
        unset(recurrence.by_year_day) && unset(recurrence.by_week_no) &&
        unset(recurrence.by_month)) {
        return 1;  // no part of the rule picks days: it occurs every day
    }
    icalrecurrencetype days = recurrence;
    days.freq = ICAL_DAILY_RECURRENCE;
    days.interval = 1;
    days.count = 0;
    days.until = icaltime_null_time();
    days.by_hour[0] = ICAL_RECURRENCE_ARRAY_MAX;
    days.by_minute[0] = ICAL_RECURRENCE_ARRAY_MAX;
    days.by_second[0] = ICAL_RECURRENCE_ARRAY_MAX;
    days.by_set_pos[0] = ICAL_RECURRENCE_ARRAY_MAX;
    icaltimetype day = first;
    day.is_date = 1;
    day.zone = nullptr;
    icalrecur_iterator* iterator = icalrecur_iterator_new(days, day);
    if (iterator == nullptr) {
        return -1;
    }
    constexpr long long kSecondsPerDay = 24 * 60 * 60;
    const long long start = icaltime_as_timet(day) / kSecondsPerDay;
    const long long end = start + kYearsOfDaysLookedAt * 366;
    long long previous = start;
    long long largest = -1;
    for (;;) {
        const icaltimetype next = icalrecur_iterator_next(iterator);
        if (icaltime_is_null_time(next)) {
            break;
        }
        const long long number = icaltime_as_timet(next) / kSecondsPerDay;
        largest = std::max(largest, number - previous);
        previous = number;
        if (number > end) {
            break;
        }
    }
    icalrecur_iterator_free(iterator);
    return largest;
}

// Why a rule is not expanded, or null. The expansion searches step by step for the next
// occurrence, and a step of a rule repeating within a day is one repetition. A rule repeating
// every second would put more entries on one day than a page can show. A rule repeating every
// minute or hour whose days never come (the 30th of February) would be searched for ever, and
// one whose days lie far apart (every minute of the 29th of February) for seconds at each page.
const char* RefusedRule(const icalrecurrencetype& recurrence, const icaltimetype& first) {
    if (recurrence.freq == ICAL_SECONDLY_RECURRENCE) {
        return "repeats every second";
    }
    if (recurrence.freq != ICAL_MINUTELY_RECURRENCE && recurrence.freq != ICAL_HOURLY_RECURRENCE) {
        return nullptr;
    }
    const long long gap = LargestGapInDays(recurrence, first);
    if (gap < 0) {
        return "never occurs";
    }
    const long long per_day = recurrence.freq == ICAL_MINUTELY_RECURRENCE ? 24 * 60 : 24;
    const long long steps_per_day =
        std::max(1LL, per_day / std::max<short>(1, recurrence.interval));
    if (gap * steps_per_day > kMaxSearchSteps) {
        return "repeats within days too far apart";
    }
    return nullptr;
}

// The rule part of a series whose first occurrence starts at `first`: its RRULEs, RDATEs and
// EXDATEs.
SeriesRule RuleOf(icalcomponent* component, const icaltimetype& first, icaldurationtype duration,
                  const std::shared_ptr<const ZoneHolder>& zones, ComponentReader& reader,
                  const std::string& uid, std::vector<std::string>& notes) {
    SeriesRule rule;
    rule.dtstart = first;
    rule.zones = zones;
    rule.duration = duration;
    for (icalproperty* rrule : Properties(component, ICAL_RRULE_PROPERTY)) {
        const icalrecurrencetype recurrence = icalproperty_get_rrule(rrule);
        if (recurrence.freq == ICAL_NO_RECURRENCE) {
            notes.push_back("a recurrence rule that cannot be read (UID " + uid + ") is left out");
            continue;
        }
        if (const char* refusal = RefusedRule(recurrence, first)) {
            notes.push_back(std::string("a recurrence rule that ") + refusal + " (UID " + uid +
                            ") is left out");
            continue;
        }
        if (recurrence.count == 0 && icaltime_is_null_time(recurrence.until)) {
            rule.no_end = true;
        }
        char* text = icalrecurrencetype_as_string_r(const_cast<icalrecurrencetype*>(&recurrence));
        if (text != nullptr) {
            rule.rrules.emplace_back(text);
            free(text);
        }
    }
    for (icalproperty* rdate : Properties(component, ICAL_RDATE_PROPERTY)) {
        const icaldatetimeperiodtype value = icalproperty_get_rdate(rdate);
        const icaltimetype time =
            icaltime_is_null_time(value.time) ? value.period.start : value.time;
        if (!icaltime_is_null_time(time) && icaltime_is_valid_time(time)) {
            rule.rdates.push_back(reader.Zoned(rdate, time));
        }
    }
    for (icalproperty* exdate : Properties(component, ICAL_EXDATE_PROPERTY)) {
        const icaltimetype time = icalproperty_get_exdate(exdate);
        if (!icaltime_is_null_time(time)) {
            rule.exdates.push_back(reader.Zoned(exdate, time));
        }
    }
    return rule;
}

struct ReadEvent {
    std::string uid;
    std::optional<icaltimetype> recurrence_id;
    EventFields fields;
    std::optional<SeriesRule> rule;
};

// Nullopt for an event that cannot be shown (no start, a time out of range); the reason goes
// to the notes.
std::optional<ReadEvent> ReadVevent(icalcomponent* vevent,
                                    const std::shared_ptr<const ZoneHolder>& zones,
                                    std::vector<std::string>& notes) {
    ComponentReader reader(zones, notes);
    ReadEvent event;
    event.uid = Text(icalcomponent_get_uid(vevent));
    const std::optional<icaltimetype> dtstart = reader.Time(vevent, ICAL_DTSTART_PROPERTY);
    if (!dtstart || !icaltime_is_valid_time(*dtstart)) {
        notes.push_back("an event without a valid start (UID " + event.uid + ") is left out");
        return std::nullopt;
    }
    const icaltimetype start = *dtstart;
    icaldurationtype duration = icaldurationtype_null_duration();
    if (const std::optional<icaltimetype> dtend = reader.Time(vevent, ICAL_DTEND_PROPERTY)) {
        duration = icaldurationtype_from_int(
            static_cast<int>(std::max(0LL, InstantKey(*dtend) - InstantKey(start))));
    } else if (icalproperty* length =
                   icalcomponent_get_first_property(vevent, ICAL_DURATION_PROPERTY)) {
        duration = icalproperty_get_duration(length);
        if (duration.is_neg) {
            duration = icaldurationtype_null_duration();
        }
    }
    // A day event without a length lasts its day; a timed one without a length is a moment.
    if (start.is_date && icaldurationtype_as_int(duration) < 86400) {
        duration = icaldurationtype_from_int(86400);
    }

    EventFields& fields = event.fields;
    fields.subject = Text(icalcomponent_get_summary(vevent));
    fields.location = Text(icalcomponent_get_location(vevent));
    fields.body = Text(icalcomponent_get_description(vevent));
    fields.categories = CategoriesOf(vevent);
    fields.label_colour = LabelOf(vevent);
    fields.importance = ImportanceOfPriority(vevent);
    fields.cancelled = IsCancelled(vevent);
    fields.all_day = start.is_date != 0;
    fields.alarm = reader.Alarm(vevent);
    try {
        fields.start = ToLocalDateTime(start);
        fields.end = std::max(fields.start, ToLocalDateTime(icaltime_add(start, duration)));
    } catch (const std::invalid_argument&) {
        notes.push_back("an event outside the years 1 to 9999 (UID " + event.uid + ") is left out");
        return std::nullopt;
    }

    if (icalproperty* recurrence_id =
            icalcomponent_get_first_property(vevent, ICAL_RECURRENCEID_PROPERTY)) {
        event.recurrence_id =
            reader.Zoned(recurrence_id, icalproperty_get_recurrenceid(recurrence_id));
        return event;
    }
    if (!Repeats(vevent)) {
        return event;
    }
    event.rule = RuleOf(vevent, start, duration, zones, reader, event.uid, notes);
    // A snooze on a series names no occurrence; each occurrence rings at its own time.
    if (fields.alarm) {
        fields.alarm->snoozed_until.reset();
    }
    return event;
}

TodoComponent ReadVtodo(icalcomponent* vtodo, const std::shared_ptr<const ZoneHolder>& zones,
                        std::vector<std::string>& notes) {
    ComponentReader reader(zones, notes);
    TodoComponent todo;
    todo.uid = Text(icalcomponent_get_uid(vtodo));
    TaskRecord& task = todo.task;
    task.subject = Text(icalcomponent_get_summary(vtodo));
    task.body = Text(icalcomponent_get_description(vtodo));
    task.importance = ImportanceOfPriority(vtodo);
    todo.has_subject = icalcomponent_get_first_property(vtodo, ICAL_SUMMARY_PROPERTY) != nullptr;
    todo.has_body = icalcomponent_get_first_property(vtodo, ICAL_DESCRIPTION_PROPERTY) != nullptr;
    todo.has_importance =
        icalcomponent_get_first_property(vtodo, ICAL_PRIORITY_PROPERTY) != nullptr;
    task.due = kNoDate;
    // Only dates that can be shown count.
    const auto shown = [&](std::optional<icaltimetype> time) {
        return time && icaltime_is_valid_time(*time) && reader.Local(*time) ? time : std::nullopt;
    };
    const std::optional<icaltimetype> due = shown(reader.Time(vtodo, ICAL_DUE_PROPERTY));
    const std::optional<icaltimetype> start = shown(reader.Time(vtodo, ICAL_DTSTART_PROPERTY));
    if (due) {
        task.due = *reader.Local(*due);
    }
    const std::optional<DateTime> base = due     ? reader.Local(*due)
                                         : start ? reader.Local(*start)
                                                 : std::nullopt;
    todo.has_dates = base.has_value();
    const bool has_status = icalcomponent_get_first_property(vtodo, ICAL_STATUS_PROPERTY);
    const icalproperty_status status =
        has_status ? icalcomponent_get_status(vtodo) : ICAL_STATUS_NONE;
    icalproperty* percent = icalcomponent_get_first_property(vtodo, ICAL_PERCENTCOMPLETE_PROPERTY);
    // A cancelled to-do is no longer open either.
    task.complete = status == ICAL_STATUS_COMPLETED || status == ICAL_STATUS_CANCELLED ||
                    icalcomponent_get_first_property(vtodo, ICAL_COMPLETED_PROPERTY) != nullptr ||
                    (percent != nullptr && icalproperty_get_percentcomplete(percent) >= 100);
    task.alarm = reader.Alarm(vtodo);
    task.alarm_base = base.value_or(DateTime{});

    if (icalproperty* recurrence_id =
            icalcomponent_get_first_property(vtodo, ICAL_RECURRENCEID_PROPERTY)) {
        // An override without dates of its own takes its occurrence's; its alarm counts
        // from them.
        todo.recurrence_id =
            reader.Zoned(recurrence_id, icalproperty_get_recurrenceid(recurrence_id));
        return todo;
    }
    if (task.alarm && !task.alarm->absolute && !base) {
        task.alarm.reset();  // a relative alarm of a task without dates never rings
    }
    if (!Repeats(vtodo)) {
        return todo;
    }
    // The occurrences are those of the start, or of the due time for a to-do without start.
    const std::optional<icaltimetype> first = start ? start : due;
    if (!first) {
        notes.push_back("a repeating to-do without a start or due date (UID " + todo.uid +
                        ") is read as a single task");
        return todo;
    }
    icaldurationtype to_due = icaldurationtype_null_duration();
    if (start && due) {
        to_due = icaldurationtype_from_int(
            static_cast<int>(std::max(0LL, InstantKey(*due) - InstantKey(*start))));
    }
    todo.rule = TodoRule{RuleOf(vtodo, *first, to_due, zones, reader, todo.uid, notes),
                         start.has_value(), due.has_value()};
    // A snooze on a series names no occurrence; each occurrence rings at its own time.
    if (task.alarm) {
        task.alarm->snoozed_until.reset();
    }
    return todo;
}

std::vector<icalcomponent*> CalendarsOf(icalcomponent* root) {
    switch (icalcomponent_isa(root)) {
        case ICAL_VCALENDAR_COMPONENT:
        case ICAL_VEVENT_COMPONENT:
        case ICAL_VTODO_COMPONENT:
            return {root};
        case ICAL_XROOT_COMPONENT:
            return Children(root, ICAL_VCALENDAR_COMPONENT);
        default:
            return {};
    }
}

std::vector<icalcomponent*> ComponentsOf(icalcomponent* calendar, icalcomponent_kind kind) {
    if (icalcomponent_isa(calendar) == kind) {
        return {calendar};
    }
    return Children(calendar, kind);
}

std::string RecurrenceIdText(const icaltimetype& time) {
    return Text(icaltime_as_ical_string(time));
}

// Groups the events of a calendar by UID: each series takes its overrides; an override whose
// series is missing (an invitation to one occurrence only) stands as an appointment of its own.
void AddEvents(std::vector<ReadEvent> events, std::vector<ItemRecord>& items,
               std::vector<std::string>& notes) {
    std::map<std::string, std::size_t> master_of_uid;
    int unnamed = 0;
    for (ReadEvent& event : events) {
        // Events without a UID are told apart by their place in the file.
        if (event.uid.empty()) {
            event.uid = "#" + std::to_string(++unnamed);
        }
        if (event.recurrence_id) {
            continue;
        }
        if (master_of_uid.count(event.uid)) {
            notes.push_back("a second event with UID " + event.uid + " is left out");
            continue;
        }
        ItemRecord item;
        item.uid = event.uid;
        EventRecord record;
        record.fields = std::move(event.fields);
        record.rule = std::move(event.rule);
        if (record.rule) {
            record.occurrences = std::make_shared<OccurrenceCache>();
        }
        item.event = std::move(record);
        master_of_uid[item.uid] = items.size();
        items.push_back(std::move(item));
    }
    for (ReadEvent& event : events) {
        if (!event.recurrence_id) {
            continue;
        }
        const auto master = master_of_uid.find(event.uid);
        if (master != master_of_uid.end() && items[master->second].event->rule) {
            items[master->second].event->overrides.push_back(
                {*event.recurrence_id, std::move(event.fields)});
            continue;
        }
        notes.push_back("an occurrence of UID " + event.uid + " (" +
                        RecurrenceIdText(*event.recurrence_id) +
                        ") has no series here and is shown on its own");
        if (event.fields.cancelled) {
            continue;
        }
        ItemRecord item;
        item.uid = event.uid + "/" + RecurrenceIdText(*event.recurrence_id);
        EventRecord record;
        record.fields = std::move(event.fields);
        item.event = std::move(record);
        items.push_back(std::move(item));
    }
}

// Groups the to-dos of a calendar by UID: a repeating one takes its overrides and stands for
// its series at the current occurrence; an override whose series is missing stands as a task
// of its own. `seen_uids` holds the UIDs of the file so far, which number the unnamed ones.
void AddTodos(std::vector<TodoComponent> todos, std::set<std::string>& seen_uids,
              std::vector<ItemRecord>& items, std::vector<std::string>& notes) {
    std::map<std::string, std::size_t> master_of_uid;
    std::vector<std::size_t> masters;
    for (std::size_t i = 0; i < todos.size(); ++i) {
        TodoComponent& todo = todos[i];
        // To-dos without a UID are told apart by their place in the file; nothing is theirs.
        if (todo.uid.empty()) {
            todo.uid = "#todo" + std::to_string(seen_uids.size() + 1);
            todo.recurrence_id.reset();
        }
        seen_uids.insert(todo.uid);
        if (todo.recurrence_id) {
            continue;
        }
        if (!master_of_uid.emplace(todo.uid, i).second) {
            notes.push_back("a second to-do with UID " + todo.uid + " is left out");
            continue;
        }
        masters.push_back(i);
    }
    std::map<std::size_t, std::vector<const TodoComponent*>> overrides_of;
    std::vector<std::size_t> standing_alone;
    for (std::size_t i = 0; i < todos.size(); ++i) {
        if (!todos[i].recurrence_id) {
            continue;
        }
        const auto master = master_of_uid.find(todos[i].uid);
        if (master != master_of_uid.end() && todos[master->second].rule) {
            overrides_of[master->second].push_back(&todos[i]);
            continue;
        }
        notes.push_back("an occurrence of to-do UID " + todos[i].uid + " (" +
                        RecurrenceIdText(*todos[i].recurrence_id) +
                        ") has no series here and is shown on its own");
        standing_alone.push_back(i);
    }
    for (const std::size_t i : masters) {
        const TodoComponent& todo = todos[i];
        ItemRecord item;
        item.uid = todo.uid;
        item.task = todo.rule ? CurrentTaskOfSeries(todo, overrides_of[i], notes) : todo.task;
        items.push_back(std::move(item));
    }
    for (const std::size_t i : standing_alone) {
        TodoComponent& todo = todos[i];
        ItemRecord item;
        item.uid = todo.uid + "/" + RecurrenceIdText(*todo.recurrence_id);
        if (todo.task.alarm && !todo.task.alarm->absolute && !todo.has_dates) {
            todo.task.alarm.reset();  // without its series it has no dates to ring at
        }
        item.task = std::move(todo.task);
        items.push_back(std::move(item));
    }
}

}  // namespace

ReadResult ReadCalendarText(std::string_view text) {
    QuietLibrary();
    ReadResult result;
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        result.error = "the file is empty";
        return result;
    }
    if (text.find('\0') != std::string_view::npos) {
        result.error = "the file holds binary data";
        return result;
    }
    std::string owned = Unfolded(text);
    if (!IsValidUtf8(owned)) {
        // Older clients wrote their local code page; read as Latin-1 rather than lose the file.
        owned = Latin1ToUtf8(owned);
        result.notes.push_back("the text is not UTF-8; read as Latin-1");
    }
    ComponentPtr root(icalparser_parse_string(owned.c_str()));
    if (!root) {
        result.error = "no iCalendar data";
        return result;
    }
    bool found_any = false;
    std::set<std::string> seen_todo_uids;
    for (icalcomponent* calendar : CalendarsOf(root.get())) {
        auto zones = std::make_shared<const ZoneHolder>(calendar);
        std::vector<ReadEvent> events;
        for (icalcomponent* vevent : ComponentsOf(calendar, ICAL_VEVENT_COMPONENT)) {
            found_any = true;
            if (std::optional<ReadEvent> event = ReadVevent(vevent, zones, result.notes)) {
                events.push_back(std::move(*event));
            }
        }
        AddEvents(std::move(events), result.items, result.notes);
        std::vector<TodoComponent> todos;
        for (icalcomponent* vtodo : ComponentsOf(calendar, ICAL_VTODO_COMPONENT)) {
            found_any = true;
            todos.push_back(ReadVtodo(vtodo, zones, result.notes));
        }
        AddTodos(std::move(todos), seen_todo_uids, result.items, result.notes);
    }
    if (result.items.empty()) {
        if (!found_any) {
            result.error = "no event or to-do in the file";
        } else {
            result.error = result.notes.empty() ? "nothing to show" : result.notes.back();
        }
    }
    return result;
}

}  // namespace planwarte
