#pragma once

#include <string>

#include "core/page/page_context.h"

namespace planwarte {

// The texts of the tags that describe the current tag's day, shared by the week-like bodies,
// the month cell and the x-days day block.

// Long weekday name, bold on today.
std::string DayOfWeekText(const PageContext& context);
// Day of month, decimal.
std::string DayOfMonthText(const PageContext& context);
// "bgcolor=" with today's colour on today, with the day colour on other days; empty when the
// chosen colour is transparent.
std::string BgColorDayText(const PageContext& context);
// The weekend colour on Saturday and Sunday, else the font colour.
std::string FontDateColorText(const PageContext& context);
// The day's appointments and tasks; nothing for a day before today when the user does not
// want to see past days.
std::string DayTextOfTagDay(const PageContext& context);

// The current date, time cut off, in the long pattern of the DATUM tag.
std::string CurrentDateText(const PageContext& context);

// "bgcolor=" + colour, or empty for a transparent (empty) colour.
std::string BgColorAttribute(const std::string& color);

}  // namespace planwarte
