#pragma once

#include "core/page/page_context.h"
#include "core/page/template_expander.h"

namespace planwarte {

// The handler of the month view's day cell and the x-days view's day block. Their day is the
// one the expanding tag left in the context; these templates take no DATEOFFSET.
TagHandler DayTemplateTags(PageContext& context);

}  // namespace planwarte
