#include "adapters/profile/ics_text.h"

#include <cstdio>

namespace planwarte {

std::string IcsEscapeText(std::string_view text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
            case '\\':
            case ';':
            case ',':
                escaped += '\\';
                escaped += c;
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\r':
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string IcsLines(const std::vector<std::string>& lines) {
    constexpr std::size_t kMaxOctets = 75;
    std::string out;
    for (const std::string& line : lines) {
        std::size_t pos = 0;
        bool first = true;
        while (line.size() - pos > (first ? kMaxOctets : kMaxOctets - 1)) {
            // A continuation line starts with a space, which counts.
            std::size_t cut = pos + (first ? kMaxOctets : kMaxOctets - 1);
            while (cut > pos && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) {
                --cut;
            }
            out += line.substr(pos, cut - pos);
            out += "\r\n ";
            pos = cut;
            first = false;
        }
        out += line.substr(pos);
        out += "\r\n";
    }
    return out;
}

std::string IcsDate(DateTime value) {
    const CalendarDate date = DecodeDate(value);
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", date.year, date.month, date.day);
    return text;
}

std::string IcsLocalDateTime(DateTime value) {
    const TimeOfDay time = DecodeTime(value);
    char text[16];
    std::snprintf(text, sizeof text, "T%02d%02d%02d", time.hour, time.minute, time.second);
    return IcsDate(value) + text;
}

}  // namespace planwarte
