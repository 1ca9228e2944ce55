#pragma once

#include "core/page/page_context.h"
#include "core/page/template_expander.h"

namespace planwarte {

// The handler of the month view's body. Every tag takes its day from DATEOFFSET; without one
// (or with one that is not a number) the offset is -1, which leaves the month cell empty.
TagHandler MonthBodyTags(PageContext& context);

}  // namespace planwarte
