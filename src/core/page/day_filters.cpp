#include "core/page/day_filters.h"

#include "core/common/format_date_time.h"

namespace planwarte {

std::string AppointmentsOfDayFilter(DateTime day) {
    const std::string midnight = FormatDateTime("'#'ddddd '0:00#'", day);
    const std::string last_minute = FormatDateTime("'#'ddddd '23:59#'", day);
    return "([Start] >= '" + midnight + "' AND [Start] <= '" + last_minute + "') OR ([Start] <= '" +
           midnight + "' AND [End] > '" + midnight + "')";
}

std::string OpenTasksDueFilter(DateTime day) {
    return "[DueDate] = '" + FormatDateTime("'#'ddddd'#'", day) + "' AND " + kOpenTasksFilter;
}

}  // namespace planwarte
