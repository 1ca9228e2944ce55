#pragma once

#include <string>
#include <vector>

#include "core/common/date_time.h"
#include "core/page/day_text_sources.h"

namespace planwarte {

// Adds a line break and then the entries of the day's appointments from every used calendar,
// in list order, each calendar's sorted by start. Occurrences of a series count as
// appointments of their own; holidays, birthdays and the label colours are shown as the
// calendar's style says. A calendar that fails is traced and the next one follows.
void AppendAppointmentsOfDay(const DayTextSources& sources, DateTime day,
                             std::vector<std::string>& lines);

}  // namespace planwarte
