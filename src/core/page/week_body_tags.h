#pragma once

#include "core/page/page_context.h"
#include "core/page/template_expander.h"

namespace planwarte {

// The handler of the week-like bodies (week, two and three weeks, x days, today). Every tag
// first takes its day from DATEOFFSET (0 when absent or not a number).
TagHandler WeekBodyTags(PageContext& context);

}  // namespace planwarte
