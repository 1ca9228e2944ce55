#pragma once

#include <optional>
#include <string>

#include "core/common/date_time.h"
#include "core/common/format_date_time.h"

namespace planwarte {

// Reads a date written in the settings' short date format, as FormatDateTime("ddddd")
// writes it ("08.12.2004"). Day and month may be written without their leading zero; a year
// of one or two digits lies in 1930..2029. Blanks around the text are ignored. Gives nothing
// for a text that does not match, a date that does not exist, or a short date format with
// elements other than day, month and year numbers.
std::optional<DateTime> ParseShortDate(const std::string& text,
                                       const FormatSettings& settings = DefaultFormatSettings());

// The same, optionally followed by blanks and a time of day "h:nn" or "h:nn:ss" with the
// settings' time separator ("8.12.2004 23:59"); a date alone means its midnight.
std::optional<DateTime> ParseShortDateTime(
    const std::string& text, const FormatSettings& settings = DefaultFormatSettings());

}  // namespace planwarte
