#pragma once

#include <stdexcept>
#include <string>

#include "core/common/date_time.h"
#include "core/page/page_context.h"

namespace planwarte {

// The chosen view's body template does not exist; the design is incomplete (message 1205).
class MissingBodyTemplate : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Builds the calendar page for the date: reads the page settings and the clock afresh, lays
// the view out (the first shown day stays in the context for the navigation steps) and expands
// the design. Every line of the result ends with CR LF; a page without text stays empty.
// Throws MissingBodyTemplate, and TemplateError for a template that cannot be expanded.
std::string RenderCalendarPage(PageContext& context, DateTime build_date);

// The text as lines, each followed by CR LF. A line ends at CR LF, LF or CR; a last line
// without its end counts as a line, an empty text has none.
std::string WithCrLfLineEnds(const std::string& text);

}  // namespace planwarte
