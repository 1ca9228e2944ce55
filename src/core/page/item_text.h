#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The visible text of one appointment or task entry and the trimming its lines get.
namespace planwarte {

// The importance picture (low or high; none for normal) in the font's height, followed by the
// subject, escaped for the page, and a line break.
std::string EntryText(int importance, std::string_view subject, std::int16_t font_size,
                      const std::string& template_folder);

// The font size an entry is written in: a size below 6 is unreadable on the page and becomes 8.
std::int16_t ReadableFontSize(std::int16_t size);

// Without the blanks and control characters at the end.
std::string TrimRight(std::string_view text);
// Without the blanks and control characters at both ends.
std::string Trim(std::string_view text);

}  // namespace planwarte
