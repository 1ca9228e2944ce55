#pragma once

#include <string>
#include <string_view>

namespace planwarte {

// Appends the code point in UTF-8. What UTF-8 cannot hold (a surrogate, a value beyond
// U+10FFFF) becomes the replacement character U+FFFD.
void AppendUtf8(std::string& out, char32_t code);

// Whether the bytes are well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing beyond U+10FFFF, no character cut off at the end.
bool IsValidUtf8(std::string_view text);

}  // namespace planwarte
