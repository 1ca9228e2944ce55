#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace planwarte {

// One piece of a date format pattern as FormatDateTime reads it.
struct DatePatternToken {
    enum class Kind {
        kLiteral,        // text copied as it is
        kElement,        // a run of one element letter
        kDateSeparator,  // "/"
        kTimeSeparator,  // ":"
        kAmPm,           // "am/pm" in any case
        kAP,             // "a/p" in any case
    };
    Kind kind = Kind::kLiteral;
    // kElement: the letter in upper case, one of "CDHMNSTYZ". A month letter that follows an
    // hour element is read as minutes and given as 'N'.
    char letter = 0;
    int count = 0;     // kElement: how often the letter is repeated (in any mix of case)
    std::string text;  // kLiteral: the text; kAmPm and kAP: the marker as written
};

// Splits a pattern into its pieces. Text in single or double quotes is literal (an unclosed
// quote runs to the end); letters that are no element are literal but still count as the
// letter before a month element, so only an hour element directly before it (apart from
// non-letters and quoted text) turns "m" into minutes.
std::vector<DatePatternToken> ScanDatePattern(std::string_view pattern);

}  // namespace planwarte
