#include "core/page/script_text.h"

namespace planwarte {

namespace {

bool NeedsHexEscape(unsigned char c) {
    return c < 0x20 || c == 0x7F || c == '\\' || c == '\'' || c == '"' || c == '&' || c == '<' ||
           c == '>';
}

}  // namespace

std::string EscapeScriptStringInAttribute(std::string_view text) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    // U+2028 and U+2029 in UTF-8: a script string must not hold them unescaped.
    static constexpr std::string_view kLineSeparator = "\xE2\x80\xA8";
    static constexpr std::string_view kParagraphSeparator = "\xE2\x80\xA9";
    std::string escaped;
    escaped.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string_view rest = text.substr(i);
        if (rest.starts_with(kLineSeparator) || rest.starts_with(kParagraphSeparator)) {
            escaped += rest.starts_with(kLineSeparator) ? "\\u2028" : "\\u2029";
            i += kLineSeparator.size() - 1;
            continue;
        }
        const auto byte = static_cast<unsigned char>(text[i]);
        if (NeedsHexEscape(byte)) {
            escaped += "\\x";
            escaped += kHexDigits[byte >> 4];
            escaped += kHexDigits[byte & 0x0F];
        } else {
            escaped += text[i];
        }
    }
    return escaped;
}

}  // namespace planwarte
