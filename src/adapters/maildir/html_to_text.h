#pragma once

#include <string>
#include <string_view>

namespace planwarte {

// The readable text of an HTML document: tags, comments, scripts and styles dropped,
// block ends as line breaks, the common character references decoded. UTF-8 in and out.
std::string TextOfHtml(std::string_view html);

}  // namespace planwarte
