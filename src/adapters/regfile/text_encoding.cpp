#include "adapters/regfile/text_encoding.h"

#include <array>
#include <cstdint>

#include "core/common/utf8.h"

namespace planwarte {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

std::optional<std::string> DecodeUtf16Le(std::string_view bytes) {
    if (bytes.size() % 2 != 0) {
        return std::nullopt;
    }
    std::string out;
    out.reserve(bytes.size() / 2);
    const auto unit_at = [&](std::size_t i) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                     (static_cast<unsigned char>(bytes[i + 1]) << 8));
    };
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const char16_t unit = unit_at(i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 2 < bytes.size()) {
            const char16_t low = unit_at(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        // A lone surrogate cannot be written as UTF-8; it becomes the replacement character.
        AppendUtf8(out, (unit >= 0xD800 && unit <= 0xDFFF) ? kReplacement : char32_t{unit});
    }
    return out;
}

// Windows-1252 characters 0x80..0x9F; the five unassigned bytes keep their code point.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::string DecodeCp1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        AppendUtf8(out, (b >= 0x80 && b < 0xA0) ? char32_t{kCp1252High[b - 0x80]} : char32_t{b});
    }
    return out;
}

}  // namespace

std::optional<std::string> DecodeRegFileText(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE")) {
        return DecodeUtf16Le(bytes.substr(2));
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    if (IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    return DecodeCp1252(bytes);
}

}  // namespace planwarte
