#include "core/common/parse_date_time.h"

#include <cstddef>
#include <string_view>

#include "core/common/date_pattern_scanner.h"

namespace planwarte {

namespace {

using Token = DatePatternToken;

// Years written with one or two digits: 30..99 are 1930..1999, 00..29 are 2000..2029.
constexpr int kTwoDigitYearPivot = 30;

class TextReader {
  public:
    explicit TextReader(std::string_view text) : text_(text) {}

    bool AtEnd() const { return pos_ == text_.size(); }

    bool Skip(std::string_view expected) {
        if (text_.substr(pos_, expected.size()) != expected) {
            return false;
        }
        pos_ += expected.size();
        return true;
    }

    std::size_t SkipBlanks() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] == ' ') {
            ++pos_;
        }
        return pos_ - start;
    }

    // Reads 1..max_digits decimal digits; *digits tells how many were read.
    std::optional<int> Number(int max_digits, int* digits = nullptr) {
        int value = 0;
        int read = 0;
        while (read < max_digits && pos_ < text_.size() && text_[pos_] >= '0' &&
               text_[pos_] <= '9') {
            value = value * 10 + (text_[pos_] - '0');
            ++pos_;
            ++read;
        }
        if (digits != nullptr) {
            *digits = read;
        }
        return read == 0 ? std::nullopt : std::optional<int>(value);
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SkipSeparator(TextReader& reader, char separator) {
    return separator == '\0' || reader.Skip(std::string_view(&separator, 1));
}

// Reads the date by walking the short date format, element by element.
std::optional<CalendarDate> ReadShortDate(TextReader& reader, const FormatSettings& settings) {
    std::optional<int> day;
    std::optional<int> month;
    std::optional<int> year;
    for (const Token& token : ScanDatePattern(settings.short_date_format)) {
        bool matched = false;
        switch (token.kind) {
            case Token::Kind::kLiteral:
                matched = reader.Skip(token.text);
                break;
            case Token::Kind::kDateSeparator:
                matched = SkipSeparator(reader, settings.date_separator);
                break;
            case Token::Kind::kTimeSeparator:
                matched = SkipSeparator(reader, settings.time_separator);
                break;
            case Token::Kind::kElement:
                if (token.letter == 'D' && token.count <= 2) {
                    day = reader.Number(2);
                    matched = day.has_value();
                } else if (token.letter == 'M' && token.count <= 2) {
                    month = reader.Number(2);
                    matched = month.has_value();
                } else if (token.letter == 'Y') {
                    int digits = 0;
                    year = reader.Number(4, &digits);
                    if (year && digits <= 2) {
                        year = *year + (*year < kTwoDigitYearPivot ? 2000 : 1900);
                    }
                    matched = year.has_value();
                }
                break;
            case Token::Kind::kAmPm:
            case Token::Kind::kAP:
                break;
        }
        if (!matched) {
            return std::nullopt;
        }
    }
    if (!day || !month || !year || *year < 1 || *year > 9999 || *month < 1 || *month > 12 ||
        *day < 1 || *day > DaysInMonth(*year, *month)) {
        return std::nullopt;
    }
    return CalendarDate{*year, *month, *day};
}

}  // namespace

std::optional<DateTime> ParseShortDate(const std::string& text, const FormatSettings& settings) {
    TextReader reader(TrimBlanks(text));
    const std::optional<CalendarDate> date = ReadShortDate(reader, settings);
    if (!date || !reader.AtEnd()) {
        return std::nullopt;
    }
    return EncodeDate(date->year, date->month, date->day);
}

std::optional<DateTime> ParseShortDateTime(const std::string& text,
                                           const FormatSettings& settings) {
    TextReader reader(TrimBlanks(text));
    const std::optional<CalendarDate> date = ReadShortDate(reader, settings);
    if (!date) {
        return std::nullopt;
    }
    if (reader.AtEnd()) {
        return EncodeDate(date->year, date->month, date->day);
    }
    if (reader.SkipBlanks() == 0) {
        return std::nullopt;
    }
    const std::optional<int> hour = reader.Number(2);
    if (!hour || !SkipSeparator(reader, settings.time_separator)) {
        return std::nullopt;
    }
    const std::optional<int> minute = reader.Number(2);
    std::optional<int> second = 0;
    if (minute && !reader.AtEnd()) {
        second = SkipSeparator(reader, settings.time_separator) ? reader.Number(2) : std::nullopt;
    }
    if (!minute || !second || !reader.AtEnd() || *hour > 23 || *minute > 59 || *second > 59) {
        return std::nullopt;
    }
    return EncodeDateTime(date->year, date->month, date->day, *hour, *minute, *second);
}

}  // namespace planwarte
