#include "core/page/day_text.h"

#include <vector>

#include "core/page/appointment_lines.h"
#include "core/page/task_lines.h"

namespace planwarte {

namespace {

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace

std::string DayText(const DayTextSources& sources, DateTime day) {
    std::vector<std::string> lines;
    AppendAppointmentsOfDay(sources, day, lines);
    AppendTasksOfDay(sources, day, TaskSelection::kDueOnDay, lines);
    return JoinLines(lines);
}

std::string AllOpenTasksText(const DayTextSources& sources) {
    std::vector<std::string> lines;
    AppendTasksOfDay(sources, DateTime{}, TaskSelection::kAllOpen, lines);
    return JoinLines(lines);
}

DayTextsOfBuild::DayTextsOfBuild(PageContext& page, const DayTextSources& sources) : page_(page) {
    page_.day_text = [&sources](DateTime day) { return DayText(sources, day); };
    page_.all_tasks = [&sources] { return AllOpenTasksText(sources); };
}

DayTextsOfBuild::~DayTextsOfBuild() {
    page_.day_text = nullptr;
    page_.all_tasks = nullptr;
}

}  // namespace planwarte
