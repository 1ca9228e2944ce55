#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace planwarte {

// Splits the text between a tag's name and its ">" into parameter entries: parts separated by
// blanks and line breaks (a double-quoted stretch keeps its blanks), each decoded as a URL
// query ("+" is a blank, "%XX" the byte XX), then stripped of every ' and ". Parts left empty
// are dropped.
std::vector<std::string> SplitTagParameters(std::string_view text);

}  // namespace planwarte
