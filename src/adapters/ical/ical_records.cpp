#include "adapters/ical/ical_records.h"

namespace planwarte {

namespace {

// Times are fractions of days: a due time worked out as start minus the lead differs from the
// same moment read from a file in the last bits. An acknowledgement within half a second of
// the due time is one of it.
constexpr double kSameMomentDays = 0.5 / 86400.0;

}  // namespace

Reminder ReminderOf(const std::optional<AlarmDefinition>& alarm, DateTime start, DateTime end) {
    if (!alarm) {
        return {false, start};
    }
    const DateTime due =
        alarm->absolute ? alarm->absolute_time
                        : DateTime((alarm->related_end ? end : start).value + alarm->offset_days);
    Reminder reminder{true, due};
    if (alarm->acknowledged && alarm->acknowledged->value >= due.value - kSameMomentDays) {
        reminder.set = false;
    }
    // A snooze after the last acknowledgement rings again at its own time.
    if (alarm->snoozed_until &&
        (!alarm->acknowledged || *alarm->snoozed_until > *alarm->acknowledged)) {
        reminder = {true, *alarm->snoozed_until};
    }
    return reminder;
}

}  // namespace planwarte
