#include "core/page/html_text.h"

namespace planwarte {

std::string EscapeHtml(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            case '\'':
                escaped += "&#39;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

namespace {

bool KeptInFileUrl(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

}  // namespace

std::string FileUrl(std::string_view absolute_path) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const char c : absolute_path) {
        const auto byte = static_cast<unsigned char>(c);
        if (KeptInFileUrl(byte)) {
            url += c;
        } else {
            url += '%';
            url += kHexDigits[byte >> 4];
            url += kHexDigits[byte & 0x0F];
        }
    }
    return url;
}

}  // namespace planwarte
