#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/common/date_time.h"
#include "core/page/page_geometry.h"
#include "core/page/page_layout.h"
#include "core/page/page_values.h"
#include "core/page/template_expander.h"
#include "core/page/template_set.h"

namespace planwarte {

class Clock;
class FileSystem;
class SettingsStore;

// Everything the tag handlers of one calendar page read and change. One context lives as long
// as the page it builds again and again: the first shown day and the month grid's row mark
// carry over from one build to the next.
struct PageContext {
    // What the page is built from.
    const FileSystem& files;
    SettingsStore& settings;
    const Clock& clock;
    TemplateSet templates{};
    bool english_edition = false;
    bool window_frame_shown = false;
    PixelSize window{};  // outer size of the window the page fills
    PixelSize screen{};
    // The appointments and tasks of one day, and all open tasks, as page text.
    std::function<std::string(DateTime day)> day_text{};
    std::function<std::string()> all_tasks{};

    // Refreshed at the start of every build; layout.first_shown_day is then kept for the
    // navigation steps.
    PageValues values{};
    DateTime now{};
    ViewLayout layout{};

    // Set by the tags while the page is expanded: the day a tag refers to is the first shown
    // day plus day_offset; the KAL values are the calendar's box inside the window.
    std::int16_t day_offset = 0;
    std::int16_t kal_x = 0;
    std::int16_t kal_y = 0;
    std::int16_t kal_w = 0;
    std::int16_t kal_h = 0;

    MonthGrid month_grid{};
};

// The day the current tag refers to.
DateTime TagDay(const PageContext& context);
bool TagDayIsToday(const PageContext& context);

// Sets the day offset from the tag's DATEOFFSET, or to the fallback when it is absent, not a
// number or outside the 16-bit range.
void TakeDayOffset(PageContext& context, const TagParameters& parameters, int fallback);

}  // namespace planwarte
