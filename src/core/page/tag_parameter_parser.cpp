#include "core/page/tag_parameter_parser.h"

#include <algorithm>

namespace planwarte {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// "+" and "%XX" as in a URL query; a "%" without two hexadecimal digits stays as it is.
std::string DecodeQueryText(std::string_view part) {
    std::string decoded;
    for (std::size_t i = 0; i < part.size(); ++i) {
        const char c = part[i];
        if (c == '+') {
            decoded += ' ';
            continue;
        }
        if (c == '%' && i + 2 < part.size()) {
            const int high = HexDigitValue(part[i + 1]);
            const int low = HexDigitValue(part[i + 2]);
            if (high >= 0 && low >= 0) {
                decoded += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        decoded += c;
    }
    return decoded;
}

std::string WithoutQuotes(std::string text) {
    text.erase(
        std::remove_if(text.begin(), text.end(), [](char c) { return c == '"' || c == '\''; }),
        text.end());
    return text;
}

}  // namespace

std::vector<std::string> SplitTagParameters(std::string_view text) {
    std::vector<std::string> entries;
    std::string part;
    auto finish_part = [&] {
        std::string entry = WithoutQuotes(DecodeQueryText(part));
        if (!entry.empty()) {
            entries.push_back(std::move(entry));
        }
        part.clear();
    };
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') {
            quoted = !quoted;
        }
        if (!quoted && IsBlank(c)) {
            finish_part();
            continue;
        }
        part += c;
    }
    finish_part();
    return entries;
}

}  // namespace planwarte
