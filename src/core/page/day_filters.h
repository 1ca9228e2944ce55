#pragma once

#include <string>

#include "core/common/date_time.h"

// The item filters of a day's lines, in the date format of the regional settings.
namespace planwarte {

// Appointments starting on the day, and those that started before it and still run after its
// midnight.
std::string AppointmentsOfDayFilter(DateTime day);

// Open tasks due on the day.
std::string OpenTasksDueFilter(DateTime day);

// Every open task, whatever its due date.
inline constexpr const char* kOpenTasksFilter = "[Complete] = False";

}  // namespace planwarte
