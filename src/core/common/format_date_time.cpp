#include "core/common/format_date_time.h"

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <vector>

#include "core/common/date_pattern_scanner.h"

namespace planwarte {

namespace {

using Token = DatePatternToken;

// "ddddd", "c" and "t" expand the regional patterns; a regional pattern that names one of
// them again is not expanded a second time, so a bad setting cannot recurse without end.
constexpr int kMaxPatternDepth = 2;

struct DecodedValue {
    CalendarDate date;
    TimeOfDay time;
    int weekday_index;  // 0 = Sunday .. 6 = Saturday
};

void AppendNumber(std::string& out, int number, int min_digits) {
    std::string digits = std::to_string(number);
    if (static_cast<int>(digits.size()) < min_digits) {
        out.append(static_cast<std::size_t>(min_digits) - digits.size(), '0');
    }
    out += digits;
}

void AppendSeparator(std::string& out, char separator) {
    if (separator != '\0') {
        out += separator;
    }
}

// An hour element shows 12-hour time when an am/pm marker follows it before the next hour.
bool UsesTwelveHourClock(const std::vector<Token>& tokens, std::size_t hour_index) {
    for (std::size_t i = hour_index + 1; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        if (token.kind == Token::Kind::kAmPm || token.kind == Token::Kind::kAP) {
            return true;
        }
        if (token.kind == Token::Kind::kElement && token.letter == 'H') {
            return false;
        }
    }
    return false;
}

void AppendPattern(std::string& out, std::string_view pattern, const DecodedValue& value,
                   const FormatSettings& settings, int depth);

void AppendHour(std::string& out, const std::vector<Token>& tokens, std::size_t index,
                const DecodedValue& value) {
    int hour = value.time.hour;
    if (UsesTwelveHourClock(tokens, index)) {
        hour = hour % 12 == 0 ? 12 : hour % 12;
    }
    AppendNumber(out, hour, std::min(tokens[index].count, 2));
}

void AppendElement(std::string& out, const std::vector<Token>& tokens, std::size_t index,
                   const DecodedValue& value, const FormatSettings& settings, int depth) {
    const Token& token = tokens[index];
    const int count = token.count;
    const auto month_index = static_cast<std::size_t>(value.date.month - 1);
    const auto weekday_index = static_cast<std::size_t>(value.weekday_index);
    switch (token.letter) {
        case 'D':
            if (count <= 2) {
                AppendNumber(out, value.date.day, count);
            } else if (count == 3) {
                out += settings.short_day_names[weekday_index];
            } else if (count == 4) {
                out += settings.long_day_names[weekday_index];
            } else if (count == 5) {
                AppendPattern(out, settings.short_date_format, value, settings, depth + 1);
            } else {
                AppendPattern(out, settings.long_date_format, value, settings, depth + 1);
            }
            break;
        case 'M':
            if (count <= 2) {
                AppendNumber(out, value.date.month, count);
            } else if (count == 3) {
                out += settings.short_month_names[month_index];
            } else {
                out += settings.long_month_names[month_index];
            }
            break;
        case 'Y':
            if (count <= 2) {
                AppendNumber(out, value.date.year % 100, 2);
            } else {
                AppendNumber(out, value.date.year, 4);
            }
            break;
        case 'H':
            AppendHour(out, tokens, index, value);
            break;
        case 'N':
            AppendNumber(out, value.time.minute, std::min(count, 2));
            break;
        case 'S':
            AppendNumber(out, value.time.second, std::min(count, 2));
            break;
        case 'Z':
            AppendNumber(out, value.time.millisecond, count < 3 ? 1 : 3);
            break;
        case 'T':
            AppendPattern(out, count == 1 ? settings.short_time_format : settings.long_time_format,
                          value, settings, depth + 1);
            break;
        case 'C':
            // The time of a value at midnight is left out; milliseconds alone do not count.
            AppendPattern(out, settings.short_date_format, value, settings, depth + 1);
            if (value.time.hour != 0 || value.time.minute != 0 || value.time.second != 0) {
                out += ' ';
                AppendPattern(out, settings.long_time_format, value, settings, depth + 1);
            }
            break;
        default:
            break;
    }
}

void AppendPattern(std::string& out, std::string_view pattern, const DecodedValue& value,
                   const FormatSettings& settings, int depth) {
    if (depth >= kMaxPatternDepth) {
        return;
    }
    const std::vector<Token> tokens = ScanDatePattern(pattern);
    const bool afternoon = value.time.hour >= 12;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        switch (token.kind) {
            case Token::Kind::kLiteral:
                out += token.text;
                break;
            case Token::Kind::kElement:
                AppendElement(out, tokens, i, value, settings, depth);
                break;
            case Token::Kind::kDateSeparator:
                AppendSeparator(out, settings.date_separator);
                break;
            case Token::Kind::kTimeSeparator:
                AppendSeparator(out, settings.time_separator);
                break;
            case Token::Kind::kAmPm:
                // The marker keeps the case it is written in: "am/pm" gives "pm", "AM/PM" "PM".
                out += token.text.substr(afternoon ? 3 : 0, 2);
                break;
            case Token::Kind::kAP:
                out += token.text[afternoon ? 2 : 0];
                break;
        }
    }
}

}  // namespace

const FormatSettings& DefaultFormatSettings() {
    static const FormatSettings kSettings;
    return kSettings;
}

std::string FormatDateTime(const std::string& pattern, DateTime value,
                           const FormatSettings& settings) {
    const DecodedValue decoded{DecodeDate(value), DecodeTime(value), DayOfWeek(value) - 1};
    std::string out;
    AppendPattern(out, pattern, decoded, settings, 0);
    return out;
}

}  // namespace planwarte
