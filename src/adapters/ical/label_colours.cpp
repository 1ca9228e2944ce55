#include "adapters/ical/label_colours.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <optional>

namespace planwarte {

namespace {

struct NamedColour {
    const char* name;
    std::uint32_t rgb;  // 0xRRGGBB
};

// The CSS3 colour names.
constexpr std::array<NamedColour, 148> kCssColours{{
    {"aliceblue", 0xF0F8FF},
    {"antiquewhite", 0xFAEBD7},
    {"aqua", 0x00FFFF},
    {"aquamarine", 0x7FFFD4},
    {"azure", 0xF0FFFF},
    {"beige", 0xF5F5DC},
    {"bisque", 0xFFE4C4},
    {"black", 0x000000},
    {"blanchedalmond", 0xFFEBCD},
    {"blue", 0x0000FF},
    {"blueviolet", 0x8A2BE2},
    {"brown", 0xA52A2A},
    {"burlywood", 0xDEB887},
    {"cadetblue", 0x5F9EA0},
    {"chartreuse", 0x7FFF00},
    {"chocolate", 0xD2691E},
    {"coral", 0xFF7F50},
    {"cornflowerblue", 0x6495ED},
    {"cornsilk", 0xFFF8DC},
    {"crimson", 0xDC143C},
    {"cyan", 0x00FFFF},
    {"darkblue", 0x00008B},
    {"darkcyan", 0x008B8B},
    {"darkgoldenrod", 0xB8860B},
    {"darkgray", 0xA9A9A9},
    {"darkgreen", 0x006400},
    {"darkgrey", 0xA9A9A9},
    {"darkkhaki", 0xBDB76B},
    {"darkmagenta", 0x8B008B},
    {"darkolivegreen", 0x556B2F},
    {"darkorange", 0xFF8C00},
    {"darkorchid", 0x9932CC},
    {"darkred", 0x8B0000},
    {"darksalmon", 0xE9967A},
    {"darkseagreen", 0x8FBC8F},
    {"darkslateblue", 0x483D8B},
    {"darkslategray", 0x2F4F4F},
    {"darkslategrey", 0x2F4F4F},
    {"darkturquoise", 0x00CED1},
    {"darkviolet", 0x9400D3},
    {"deeppink", 0xFF1493},
    {"deepskyblue", 0x00BFFF},
    {"dimgray", 0x696969},
    {"dimgrey", 0x696969},
    {"dodgerblue", 0x1E90FF},
    {"firebrick", 0xB22222},
    {"floralwhite", 0xFFFAF0},
    {"forestgreen", 0x228B22},
    {"fuchsia", 0xFF00FF},
    {"gainsboro", 0xDCDCDC},
    {"ghostwhite", 0xF8F8FF},
    {"gold", 0xFFD700},
    {"goldenrod", 0xDAA520},
    {"gray", 0x808080},
    {"green", 0x008000},
    {"greenyellow", 0xADFF2F},
    {"grey", 0x808080},
    {"honeydew", 0xF0FFF0},
    {"hotpink", 0xFF69B4},
    {"indianred", 0xCD5C5C},
    {"indigo", 0x4B0082},
    {"ivory", 0xFFFFF0},
    {"khaki", 0xF0E68C},
    {"lavender", 0xE6E6FA},
    {"lavenderblush", 0xFFF0F5},
    {"lawngreen", 0x7CFC00},
    {"lemonchiffon", 0xFFFACD},
    {"lightblue", 0xADD8E6},
    {"lightcoral", 0xF08080},
    {"lightcyan", 0xE0FFFF},
    {"lightgoldenrodyellow", 0xFAFAD2},
    {"lightgray", 0xD3D3D3},
    {"lightgreen", 0x90EE90},
    {"lightgrey", 0xD3D3D3},
    {"lightpink", 0xFFB6C1},
    {"lightsalmon", 0xFFA07A},
    {"lightseagreen", 0x20B2AA},
    {"lightskyblue", 0x87CEFA},
    {"lightslategray", 0x778899},
    {"lightslategrey", 0x778899},
    {"lightsteelblue", 0xB0C4DE},
    {"lightyellow", 0xFFFFE0},
    {"lime", 0x00FF00},
    {"limegreen", 0x32CD32},
    {"linen", 0xFAF0E6},
    {"magenta", 0xFF00FF},
    {"maroon", 0x800000},
    {"mediumaquamarine", 0x66CDAA},
    {"mediumblue", 0x0000CD},
    {"mediumorchid", 0xBA55D3},
    {"mediumpurple", 0x9370DB},
    {"mediumseagreen", 0x3CB371},
    {"mediumslateblue", 0x7B68EE},
    {"mediumspringgreen", 0x00FA9A},
    {"mediumturquoise", 0x48D1CC},
    {"mediumvioletred", 0xC71585},
    {"midnightblue", 0x191970},
    {"mintcream", 0xF5FFFA},
    {"mistyrose", 0xFFE4E1},
    {"moccasin", 0xFFE4B5},
    {"navajowhite", 0xFFDEAD},
    {"navy", 0x000080},
    {"oldlace", 0xFDF5E6},
    {"olive", 0x808000},
    {"olivedrab", 0x6B8E23},
    {"orange", 0xFFA500},
    {"orangered", 0xFF4500},
    {"orchid", 0xDA70D6},
    {"palegoldenrod", 0xEEE8AA},
    {"palegreen", 0x98FB98},
    {"paleturquoise", 0xAFEEEE},
    {"palevioletred", 0xDB7093},
    {"papayawhip", 0xFFEFD5},
    {"peachpuff", 0xFFDAB9},
    {"peru", 0xCD853F},
    {"pink", 0xFFC0CB},
    {"plum", 0xDDA0DD},
    {"powderblue", 0xB0E0E6},
    {"purple", 0x800080},
    {"rebeccapurple", 0x663399},
    {"red", 0xFF0000},
    {"rosybrown", 0xBC8F8F},
    {"royalblue", 0x4169E1},
    {"saddlebrown", 0x8B4513},
    {"salmon", 0xFA8072},
    {"sandybrown", 0xF4A460},
    {"seagreen", 0x2E8B57},
    {"seashell", 0xFFF5EE},
    {"sienna", 0xA0522D},
    {"silver", 0xC0C0C0},
    {"skyblue", 0x87CEEB},
    {"slateblue", 0x6A5ACD},
    {"slategray", 0x708090},
    {"slategrey", 0x708090},
    {"snow", 0xFFFAFA},
    {"springgreen", 0x00FF7F},
    {"steelblue", 0x4682B4},
    {"tan", 0xD2B48C},
    {"teal", 0x008080},
    {"thistle", 0xD8BFD8},
    {"tomato", 0xFF6347},
    {"turquoise", 0x40E0D0},
    {"violet", 0xEE82EE},
    {"wheat", 0xF5DEB3},
    {"white", 0xFFFFFF},
    {"whitesmoke", 0xF5F5F5},
    {"yellow", 0xFFFF00},
    {"yellowgreen", 0x9ACD32},
}};

// The hue each appointment label stands for (the labels are pastel shades of these), by
// label 1 to 10; label 4 is the grey one, label 7 the dark yellow (olive) one.
struct LabelHue {
    int label;
    double hue;  // degrees
};
constexpr std::array<LabelHue, 8> kLabelHues{{
    {1, 0.0},    // red
    {5, 30.0},   // orange
    {10, 55.0},  // yellow
    {3, 100.0},  // green
    {9, 170.0},  // teal
    {6, 190.0},  // cyan
    {2, 220.0},  // blue
    {8, 275.0},  // purple
}};
constexpr int kGreyLabel = 4;
constexpr int kOliveLabel = 7;

std::optional<std::uint32_t> HexColour(const std::string& text) {
    // "#rrggbb", also "#rrggbbaa" (the alpha is ignored) and "#rgb".
    const std::size_t digits = text.size() - 1;
    if (digits != 3 && digits != 6 && digits != 8) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else {
            return std::nullopt;
        }
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    if (digits == 8) {
        value >>= 8;
    } else if (digits == 3) {
        const std::uint32_t r = (value >> 8) & 0xF;
        const std::uint32_t g = (value >> 4) & 0xF;
        const std::uint32_t b = value & 0xF;
        value = (r * 17) << 16 | (g * 17) << 8 | (b * 17);
    }
    return value;
}

std::optional<std::uint32_t> RgbOf(const std::string& colour) {
    std::string text;
    for (char c : colour) {
        if (c != ' ' && c != '\t') {
            text += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    if (text.empty()) {
        return std::nullopt;
    }
    if (text.front() == '#') {
        return HexColour(text);
    }
    for (const NamedColour& named : kCssColours) {
        if (text == named.name) {
            return named.rgb;
        }
    }
    return std::nullopt;
}

double Channel(std::uint32_t rgb, int shift) {
    return static_cast<double>((rgb >> shift) & 0xFF) / 255.0;
}

double HueDistance(double a, double b) {
    const double d = std::fabs(a - b);
    return std::min(d, 360.0 - d);
}

}  // namespace

// By hue, as a person names colours: a grey goes to the grey label, a dark yellow to the
// olive one, every other colour to the label of the nearest hue.
int LabelIndexForColour(const std::string& colour) {
    const std::optional<std::uint32_t> rgb = RgbOf(colour);
    if (!rgb) {
        return 0;
    }
    const double r = Channel(*rgb, 16);
    const double g = Channel(*rgb, 8);
    const double b = Channel(*rgb, 0);
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    const double chroma = max - min;
    if (max == 0.0 || chroma / max < 0.15) {
        return kGreyLabel;
    }
    double hue = 0.0;
    if (max == r) {
        hue = 60.0 * std::fmod((g - b) / chroma + 6.0, 6.0);
    } else if (max == g) {
        hue = 60.0 * ((b - r) / chroma + 2.0);
    } else {
        hue = 60.0 * ((r - g) / chroma + 4.0);
    }
    int best = kGreyLabel;
    double best_distance = 361.0;
    for (const LabelHue& label : kLabelHues) {
        const double distance = HueDistance(hue, label.hue);
        if (distance < best_distance) {
            best_distance = distance;
            best = label.label;
        }
    }
    if (best == 10 && max < 0.85) {
        return kOliveLabel;
    }
    return best;
}

}  // namespace planwarte
