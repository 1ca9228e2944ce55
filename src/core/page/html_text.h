#pragma once

#include <string>
#include <string_view>

namespace planwarte {

// User text made safe for the page, inside element text as well as inside a quoted or
// unquoted attribute or a style: & < > " ' become character references.
std::string EscapeHtml(std::string_view text);

// A "file://" address of an absolute path (starting with "/"). Every byte other than letters,
// digits, "-", ".", "_", "~" and "/" is percent-encoded, so a folder with blanks, "#", quotes
// or non-ASCII letters still gives an address that loads, and one that cannot break out of
// the attribute it stands in.
std::string FileUrl(std::string_view absolute_path);

}  // namespace planwarte
