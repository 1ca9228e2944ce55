#pragma once

#include <array>
#include <string>

#include "core/common/date_time.h"

namespace planwarte {

// The user's regional settings as far as date texts use them. The defaults are German.
struct FormatSettings {
    // Patterns in the same language as FormatDateTime's, without the elements "ddddd",
    // "dddddd", "c", "t" and "tt" (which stand for these patterns themselves).
    std::string short_date_format = "dd.mm.yyyy";
    std::string long_date_format = "dddd, d. mmmm yyyy";
    std::string short_time_format = "hh:nn";
    std::string long_time_format = "hh:nn:ss";
    char date_separator = '.';
    char time_separator = ':';
    // Indexed 0 = Sunday .. 6 = Saturday, and 0 = January .. 11 = December.
    std::array<std::string, 7> long_day_names{"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                                              "Donnerstag", "Freitag", "Samstag"};
    std::array<std::string, 7> short_day_names{"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
    std::array<std::string, 12> long_month_names{"Januar",    "Februar", "März",     "April",
                                                 "Mai",       "Juni",    "Juli",     "August",
                                                 "September", "Oktober", "November", "Dezember"};
    std::array<std::string, 12> short_month_names{"Jan", "Feb", "Mrz", "Apr", "Mai", "Jun",
                                                  "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
};

const FormatSettings& DefaultFormatSettings();

// Formats a date-time by a pattern: "d" "dd" "ddd" "dddd" "ddddd" "dddddd", "m" "mm" "mmm"
// "mmmm" (minutes when they follow an hour element), "yy" "yyyy", "h" "hh", "n" "nn",
// "s" "ss", "z" "zzz", "c", "t" "tt", "am/pm" "a/p" (which make the hour before them a
// 12-hour one), "/" and ":" as the regional separators, and text in single or double
// quotes copied literally. Any other character is copied as it is. Letters may be written
// in either case. Throws std::invalid_argument for a value DecodeDate does not accept.
std::string FormatDateTime(const std::string& pattern, DateTime value,
                           const FormatSettings& settings = DefaultFormatSettings());

}  // namespace planwarte
