#pragma once

#include <memory>
#include <vector>

#include "core/common/date_time.h"
#include "core/outlook/object_model.h"

// The alarms of the calendar files that come due: the appointments (every occurrence of a
// series) and tasks of every calendar and task folder whose reminder is set and whose reminder
// time lies in a span of time.
namespace planwarte {

// How far before its start an appointment's alarm is looked for. An alarm set earlier than
// this before its appointment is not raised.
inline constexpr double kLongestReminderLeadDays = 31.0;

// In order of the folders, then of the reminder times; a span of after < time <= until.
// A folder that fails to hand out its items is skipped.
std::vector<std::shared_ptr<OlItem>> DueReminders(OlNamespace& outlook, DateTime after,
                                                  DateTime until);

}  // namespace planwarte
