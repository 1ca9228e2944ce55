#pragma once

#include <string>

#include "core/page/page_context.h"

namespace planwarte {

// The tags every template of the page may use: the current date, the picture addresses, the
// button captions and the default calendar's settings for page scripts. A name it does not
// know gives the empty text, so an unknown tag vanishes from the page.
std::string CommonTag(const PageContext& context, const std::string& name);

}  // namespace planwarte
