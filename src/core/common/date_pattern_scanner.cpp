#include "core/common/date_pattern_scanner.h"

#include <cctype>

namespace planwarte {

namespace {

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Upper(text[i]) != Upper(prefix[i])) {
            return false;
        }
    }
    return true;
}

bool IsElementLetter(char upper) {
    return std::string_view("CDHMNSTYZ").find(upper) != std::string_view::npos;
}

void AppendLiteral(std::vector<DatePatternToken>& tokens, std::string_view text) {
    if (!tokens.empty() && tokens.back().kind == DatePatternToken::Kind::kLiteral) {
        tokens.back().text += text;
        return;
    }
    tokens.push_back({DatePatternToken::Kind::kLiteral, 0, 0, std::string(text)});
}

}  // namespace

std::vector<DatePatternToken> ScanDatePattern(std::string_view pattern) {
    std::vector<DatePatternToken> tokens;
    char last_letter = ' ';
    std::size_t pos = 0;
    while (pos < pattern.size()) {
        const char c = pattern[pos];
        if (c == '\'' || c == '"') {
            const std::size_t close = pattern.find(c, pos + 1);
            const std::size_t end = close == std::string_view::npos ? pattern.size() : close;
            AppendLiteral(tokens, pattern.substr(pos + 1, end - pos - 1));
            pos = close == std::string_view::npos ? pattern.size() : close + 1;
            continue;
        }
        if (c == '/') {
            tokens.push_back({DatePatternToken::Kind::kDateSeparator, 0, 0, {}});
            ++pos;
            continue;
        }
        if (c == ':') {
            tokens.push_back({DatePatternToken::Kind::kTimeSeparator, 0, 0, {}});
            ++pos;
            continue;
        }
        if (!IsAsciiLetter(c)) {
            AppendLiteral(tokens, pattern.substr(pos, 1));
            ++pos;
            continue;
        }
        char letter = Upper(c);
        if (letter == 'A') {
            last_letter = 'A';
            const std::string_view rest = pattern.substr(pos);
            if (StartsWithIgnoringCase(rest, "am/pm")) {
                tokens.push_back(
                    {DatePatternToken::Kind::kAmPm, 0, 0, std::string(rest.substr(0, 5))});
                pos += 5;
            } else if (StartsWithIgnoringCase(rest, "a/p")) {
                tokens.push_back(
                    {DatePatternToken::Kind::kAP, 0, 0, std::string(rest.substr(0, 3))});
                pos += 3;
            } else {
                AppendLiteral(tokens, rest.substr(0, 1));
                ++pos;
            }
            continue;
        }
        if (!IsElementLetter(letter)) {
            last_letter = letter;
            AppendLiteral(tokens, pattern.substr(pos, 1));
            ++pos;
            continue;
        }
        int count = 0;
        while (pos < pattern.size() && Upper(pattern[pos]) == letter) {
            ++count;
            ++pos;
        }
        if (letter == 'M' && last_letter == 'H') {
            letter = 'N';
        }
        last_letter = letter;
        tokens.push_back({DatePatternToken::Kind::kElement, letter, count, {}});
    }
    return tokens;
}

}  // namespace planwarte
