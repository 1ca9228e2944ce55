#pragma once

#include <string>

#include "core/common/date_time.h"
#include "core/page/day_text_sources.h"
#include "core/page/page_context.h"

// The page texts of the calendar's items: the entries of one day, and all open tasks. Each
// line of a text ends with CR LF.
namespace planwarte {

// The day's appointments from every used calendar, then the open tasks due that day.
std::string DayText(const DayTextSources& sources, DateTime day);

// Every open task of every used task folder, whatever its due date.
std::string AllOpenTasksText(const DayTextSources& sources);

// Writes the page's day texts from these sources while it lives: every day of one build
// reads the same sources, gathered once. Unbinds at its end, so that the page never reaches
// sources that are gone.
class DayTextsOfBuild {
  public:
    DayTextsOfBuild(PageContext& page, const DayTextSources& sources);
    ~DayTextsOfBuild();

    DayTextsOfBuild(const DayTextsOfBuild&) = delete;
    DayTextsOfBuild& operator=(const DayTextsOfBuild&) = delete;

  private:
    PageContext& page_;
};

}  // namespace planwarte
