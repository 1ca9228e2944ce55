#pragma once

#include <string>
#include <vector>

#include "core/common/date_time.h"
#include "core/page/day_text_sources.h"

namespace planwarte {

enum class TaskSelection {
    kDueOnDay,  // the open tasks due on the day
    kAllOpen,   // every open task, whatever its due date; the day plays no part
};

// Adds a line break and then the entries of the selected open tasks from every used task
// folder, in list order, each folder's sorted by due date. A folder that fails is traced and
// the next one follows.
void AppendTasksOfDay(const DayTextSources& sources, DateTime day, TaskSelection selection,
                      std::vector<std::string>& lines);

}  // namespace planwarte
