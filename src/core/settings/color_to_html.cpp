#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/settings/setting_values.h"

namespace planwarte {

namespace {

constexpr std::uint32_t Rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return red | (green << 8) | (blue << 16);
}

constexpr std::uint32_t kSystemColorFlag = 0x80000000u;

// The system colours by index, as 0x00BBGGRR: the default colour scheme of the desktop the
// stored values were made on, fixed here so that a page looks the same on every machine.
constexpr std::array<std::uint32_t, 31> kSystemColors = {
    Rgb(200, 200, 200),  // 0 scroll bar
    Rgb(0, 0, 0),        // 1 desktop background
    Rgb(153, 180, 209),  // 2 active caption
    Rgb(191, 205, 219),  // 3 inactive caption
    Rgb(240, 240, 240),  // 4 menu
    Rgb(255, 255, 255),  // 5 window
    Rgb(100, 100, 100),  // 6 window frame
    Rgb(0, 0, 0),        // 7 menu text
    Rgb(0, 0, 0),        // 8 window text
    Rgb(0, 0, 0),        // 9 caption text
    Rgb(180, 180, 180),  // 10 active border
    Rgb(244, 247, 252),  // 11 inactive border
    Rgb(171, 171, 171),  // 12 application workspace
    Rgb(51, 153, 255),   // 13 highlight
    Rgb(255, 255, 255),  // 14 highlight text
    Rgb(240, 240, 240),  // 15 button face
    Rgb(160, 160, 160),  // 16 button shadow
    Rgb(109, 109, 109),  // 17 grey text
    Rgb(0, 0, 0),        // 18 button text
    Rgb(0, 0, 0),        // 19 inactive caption text
    Rgb(255, 255, 255),  // 20 button highlight
    Rgb(105, 105, 105),  // 21 3D dark shadow
    Rgb(227, 227, 227),  // 22 3D light
    Rgb(0, 0, 0),        // 23 tooltip text
    Rgb(255, 255, 225),  // 24 tooltip background
    Rgb(0, 0, 0),        // 25 no colour has this index
    Rgb(0, 102, 204),    // 26 hot-tracked item
    Rgb(185, 209, 234),  // 27 active caption gradient
    Rgb(215, 228, 242),  // 28 inactive caption gradient
    Rgb(51, 153, 255),   // 29 menu highlight
    Rgb(240, 240, 240),  // 30 menu bar
};

std::uint32_t ResolveColor(std::uint32_t color) {
    if ((color & kSystemColorFlag) == 0) {
        // Only the three colour bytes count; a stray high byte must not shift the digits.
        return color & 0x00FFFFFFu;
    }
    const std::uint32_t index = color & ~kSystemColorFlag;
    return index < kSystemColors.size() ? kSystemColors[index] : 0;
}

}  // namespace

std::string ColorToHtml(std::int32_t color) {
    const std::uint32_t resolved = ResolveColor(static_cast<std::uint32_t>(color));
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", resolved & 0xFF, (resolved >> 8) & 0xFF,
                  (resolved >> 16) & 0xFF);
    return text;
}

}  // namespace planwarte
