#pragma once

#include <string>
#include <string_view>

namespace planwarte {

// Text made safe as the contents of a quoted script string that stands inside an HTML
// attribute, e.g. the argument of OnClick="Open('...')". Backslash, both quotes, & < > and the
// control characters become \xHH escapes, the line separators U+2028 and U+2029 \u escapes;
// so the text can neither end the string nor the attribute, and the script still sees the
// text unchanged. Other characters, non-ASCII letters included, stay as they are.
std::string EscapeScriptStringInAttribute(std::string_view text);

}  // namespace planwarte
