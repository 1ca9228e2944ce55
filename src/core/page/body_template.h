#pragma once

#include <string>

#include "core/page/page_layout.h"
#include "core/page/template_set.h"

namespace planwarte {

// The design's file for a view's body; empty for kNone (the month view has its own pair of
// templates, and a view kind the program does not know has no body).
std::string BodyTemplatePath(const TemplateSet& templates, BodySlot body);

}  // namespace planwarte
