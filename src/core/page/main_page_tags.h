#pragma once

#include "core/page/page_context.h"
#include "core/page/template_expander.h"

namespace planwarte {

// The handler of the page's frame template. Its KALENDER tag expands the view's body.
TagHandler MainPageTags(PageContext& context);

}  // namespace planwarte
