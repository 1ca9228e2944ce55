#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/common/date_time.h"

// Writing iCalendar (RFC 5545) text.
namespace planwarte {

// A TEXT value with backslash, semicolon, comma and line breaks escaped.
std::string IcsEscapeText(std::string_view text);

// Content lines as a file: each folded to at most 75 octets without splitting a UTF-8
// character, each ended with CR LF.
std::string IcsLines(const std::vector<std::string>& lines);

// "20261210" and the floating local "20261210T143000" of a date-time.
std::string IcsDate(DateTime value);
std::string IcsLocalDateTime(DateTime value);

}  // namespace planwarte
